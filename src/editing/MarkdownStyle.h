#pragma once

#include "core/TextRange.h"

namespace quillor {

// One inline style the editor draws: a heading line, an emphasis, a tag or an
// image embed. Several flags may be set by different rules on the same stretch,
// but each value comes from one rule.
struct MarkdownStyle {
    TextRange range;
    int headingLevel = 0;   // 1 to 6 for a heading line, else 0
    bool bold = false;
    bool italic = false;
    bool tag = false;       // a "#tag", its "#" included
    bool image = false;     // an image embed "![[...]]"
    bool strike = false;
    bool highlight = false;

    bool operator==(const MarkdownStyle&) const = default;
};

} // namespace quillor
