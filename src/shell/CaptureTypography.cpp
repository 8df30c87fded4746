#include "shell/CaptureTypography.h"

#include <QFontMetricsF>
#include <QGuiApplication>

#include <cmath>

namespace quillor::CaptureTypography {

double lineHeight()
{
    return lineHeight(QGuiApplication::font());
}

double lineHeight(const QFont& body)
{
    return std::ceil(QFontMetricsF(body).lineSpacing() + 2);
}

} // namespace quillor::CaptureTypography
