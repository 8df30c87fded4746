#include "editor/TypingEdit.h"

#include "editor/EditorDocument.h"

#include <QTextDocument>

#include <algorithm>

namespace quillor {

namespace {

bool sameAt(const EditorContent& a, qsizetype i, const EditorContent& b, qsizetype j)
{
    if (a.text[i] != b.text[j])
        return false;
    const InlineImage* left = a.imageAt(i);
    const InlineImage* right = b.imageAt(j);
    if (!left || !right)
        return left == right;
    return left->fileName == right->fileName && left->contents == right->contents
           && left->displaySize == right->displaySize;
}

} // namespace

std::optional<TypingEdit> TypingEdit::from(const EditorContent& before, const QTextDocument& after, int position,
                                           int removed, int added)
{
    const qsizetype oldLength = before.text.size();
    const qsizetype newLength = std::max(after.characterCount() - 1, 0);
    qsizetype start = std::clamp<qsizetype>(position, 0, std::min(oldLength, newLength));
    qsizetype addedLength = std::clamp<qsizetype>(added, 0, newLength - start);
    qsizetype removedLength = oldLength - newLength + addedLength;
    if (removedLength < 0 || removedLength > oldLength - start || removed < 0) {
        // A report that does not add up: take everything from its start.
        addedLength = newLength - start;
        removedLength = oldLength - start;
    }
    EditorContent old = EditorDocument::slice(before, TextRange{start, removedLength});
    EditorContent now = EditorDocument::extract(after, TextRange{start, addedLength});

    qsizetype prefix = 0;
    while (prefix < old.text.size() && prefix < now.text.size() && sameAt(old, prefix, now, prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < old.text.size() - prefix && suffix < now.text.size() - prefix
           && sameAt(old, old.text.size() - 1 - suffix, now, now.text.size() - 1 - suffix))
        ++suffix;
    if (prefix == old.text.size() && prefix == now.text.size())
        return std::nullopt;
    TypingEdit edit;
    edit.position = start + prefix;
    edit.removed = EditorDocument::slice(old, TextRange::fromBounds(prefix, old.text.size() - suffix));
    edit.added = EditorDocument::slice(now, TextRange::fromBounds(prefix, now.text.size() - suffix));
    return edit;
}

} // namespace quillor
