#pragma once

#include "vault/TagNameSet.h"

#include <QByteArrayView>
#include <QList>
#include <QStringView>

#include <vector>

namespace quillor {

// The tags of a note as the index collects them: exactly the tags
// MarkdownPresentation::tagStyles finds (a "#" after white space or at the
// start, outside code and links), found for a whole vault at a fraction of the
// cost. Only what a tag needs is analysed: the code structure and the links
// only once a candidate needs them, and links only on the candidates' lines.
// Working memory is kept per thread from note to note.
namespace NoteTags {

// Appends the names (without "#") of the text's tags, in text order, as views
// into the text. A candidate whose name is in `skip` is left out without being
// checked: a vault's notes share a few tags, and a tag already indexed needs
// no second look. `skipped`, when given, receives the numbers in `skip` of the
// names so left out (once per candidate, in text order).
void collect(QStringView text, QList<QStringView>& names, const TagNameSet* skip = nullptr,
             std::vector<qsizetype>* skipped = nullptr);

// Whether a note's bytes, if they are valid UTF-8, may hold a tag whose name
// is not in `known`; false means collect() would find nothing new, so the
// note need not even be decoded. Only the characters around each "#" are
// read, in place; for bytes that are not UTF-8, which give no tags anyway,
// the answer means nothing. When the answer is false, `met`, when given, has
// received the numbers in `known` of every candidate's name.
bool mayHoldNewTags(QByteArrayView utf8, const TagNameSet& known, std::vector<qsizetype>* met = nullptr);

} // namespace NoteTags
} // namespace quillor
