#pragma once

#include "core/TextRange.h"

#include <QString>

namespace quillor {

enum class CompletionKind { destination, note, tag };

// What the completion list offers at the caret, and the text a chosen row
// replaces.
struct CompletionContext {
    CompletionKind kind = CompletionKind::destination;
    TextRange range;
    // What was typed so far, to filter the rows.
    QString query;

    bool operator==(const CompletionContext&) const = default;
};

} // namespace quillor
