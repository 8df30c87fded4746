#pragma once

#include <QString>

class QObject;

namespace quillor {

// Speaks a short text to screen-reader users on behalf of a widget.
//
// Qt gained an announcement event in 6.8. Before it, the text becomes the
// widget's accessible description and its change is reported, which screen
// readers may or may not speak.
namespace Announcer {

enum class Priority {
    medium,   // waits for the speech under way
    high,     // interrupts it
};

void announce(QObject* source, const QString& text, Priority priority = Priority::medium);

} // namespace Announcer
} // namespace quillor
