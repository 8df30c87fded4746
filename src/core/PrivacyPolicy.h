#pragma once

#include <QStringList>

namespace quillor {

// The privacy text of the "À propos" section.
namespace PrivacyPolicy {

// Seven paragraphs, localised each time they are read; the first names the
// publisher and how to reach it.
QStringList paragraphs();

} // namespace PrivacyPolicy
} // namespace quillor
