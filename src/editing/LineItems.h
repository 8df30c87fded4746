#pragma once

#include "core/RangeIndex.h"
#include "core/TextRange.h"
#include "editing/ListSyntax.h"

#include <QString>

#include <optional>
#include <unordered_map>

namespace quillor {

// The list items of single lines of one text, each read from its own line:
// the commands and list moves look at a few lines around the caret, and
// building every item of a long note on each key press would cost more than
// the whole rule may take. An item found here is exactly the one
// ListSyntax::items gives for that line. The text must outlive the value and
// stay unchanged.
class LineItems {
public:
    explicit LineItems(const QString& text);

    // The item whose marker follows the leading blanks of the line starting at
    // `lineStart`; none for a position that starts no line, for a line without
    // a marker, or inside code. The reference stays valid as long as the value.
    const std::optional<ListSyntax::Item>& opening(qsizetype lineStart) const;

    // At least one unit in common with the text's code.
    bool overlapsCode(const TextRange& range) const;

private:
    const RangeIndex& code() const;

    const QString& m_text;
    mutable std::optional<RangeIndex> m_code;
    mutable std::unordered_map<qsizetype, std::optional<ListSyntax::Item>> m_items;
};

} // namespace quillor
