#pragma once

#include <QCollatorSortKey>
#include <QString>
#include <QStringView>

namespace quillor {

// Comparisons and foldings of text, one function per rule the program uses.
namespace TextFolding {

// Removes diacritics and folds full- and half-width forms to their ordinary
// form; letter case is kept ("Boîte" gives "Boite", "ＡＢ" gives "AB").
QString foldDiacriticsAndWidth(const QString& text);

// Identities (route words, aliases): case-insensitive, no locale rules.
bool equalsIgnoringCase(QStringView a, QStringView b);
bool containsIgnoringCase(QStringView haystack, QStringView needle);

// Identities that also ignore diacritics (wiki-link targets).
bool equalsIgnoringCaseAndDiacritics(const QString& a, const QString& b);

// What users see sorted (note titles, destinations): locale-aware,
// case-insensitive, digit runs compared by value ("Note 2" before "Note 10").
int localizedStandardCompare(const QString& a, const QString& b);

// A key whose order (QCollatorSortKey::compare) is the order of
// localizedStandardCompare between non-empty texts (that comparison alone puts
// "" before a text made only of characters it ignores): sorting many texts by
// keys made once each is much cheaper than comparing the texts.
QCollatorSortKey localizedSortKey(const QString& text);

// Locale-aware, case-insensitive containment (destination queries).
bool localizedContainsIgnoringCase(const QString& haystack, const QString& needle);

} // namespace TextFolding
} // namespace quillor
