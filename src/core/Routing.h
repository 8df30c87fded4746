#pragma once

#include "core/Destination.h"
#include "core/Route.h"

#include <QList>
#include <QString>

namespace quillor {

// Picks the destination a capture names in its first word, after the route prefix.
namespace Routing {

// A text that does not start with the prefix (or an empty prefix) goes to the
// fallback unchanged. Otherwise the word after the prefix must equal, ignoring
// case, a routing token of exactly one destination; the route's body is the
// rest of the text without its leading spaces and tabs. Throws
// CaptureError::unknownDestination(word) for a word that names no destination
// or more than one.
Route resolve(const QString& text, const QString& prefix, const QList<Destination>& destinations,
              const Destination& fallback);

// Where the word that names a destination ends when `text` opens with the
// prefix ("@aide" in "@aide un"), else 0.
qsizetype prefixWordEnd(const QString& text, const QString& prefix);

// Whether a prefix can start routes: one user-perceived character that cannot
// begin a word (not a letter, number or white space), so that a route never
// swallows the first word of an ordinary capture.
bool isUsablePrefix(const QString& prefix);

} // namespace Routing
} // namespace quillor
