#pragma once

#include <QString>

namespace quillor {

// Help paragraphs of the usage guide, localised each time they are read.
namespace CaptureGuide {

QString links();
QString recovery();
QString language();

} // namespace CaptureGuide
} // namespace quillor
