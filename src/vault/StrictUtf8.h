#pragma once

#include <QByteArrayView>
#include <QString>

namespace quillor {

// Decoding of note files, which the index reads by the thousand: the text
// QString::fromUtf8 gives for bytes QByteArrayView::isValidUtf8 accepts (one
// leading byte order mark dropped), in one pass and into a string whose
// storage is reused from note to note.
namespace StrictUtf8 {

// Replaces `text` with the decoded bytes and returns true, or returns false
// (leaving `text` unspecified) when the bytes are not valid UTF-8: overlong
// forms, surrogates, code points above U+10FFFF, stray or missing
// continuation bytes.
bool decode(QByteArrayView utf8, QString& text);

} // namespace StrictUtf8
} // namespace quillor
