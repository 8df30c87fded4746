#pragma once

#include <QFont>

namespace quillor {

// The line height L from which the capture panel's minimum height derives.
namespace CaptureTypography {

// ceil(default line height + 2) of the application's body font. Measured on
// every call, so a font or resolution change takes effect at the next fit.
double lineHeight();
double lineHeight(const QFont& body);

} // namespace CaptureTypography
} // namespace quillor
