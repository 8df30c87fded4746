#pragma once

#include <QByteArrayView>

namespace quillor::Utf8Validation {

// Whether the bytes are valid UTF-8, as QByteArrayView::isValidUtf8 answers
// (no overlong forms, surrogates, code points above U+10FFFF, stray or
// missing continuation bytes), checking 16 bytes at a time without a branch
// per character where the processor allows: a note with an accent every few
// words is checked several times faster.
bool isValid(QByteArrayView bytes);

} // namespace quillor::Utf8Validation
