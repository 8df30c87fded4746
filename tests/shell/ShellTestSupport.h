#pragma once

// Readable failures for the shell tests' geometry.

#include <QRectF>

#include <ostream>

inline void PrintTo(const QRectF& r, std::ostream* out)
{
    *out << "(" << r.x() << ", " << r.y() << ", " << r.width() << " × " << r.height() << ")";
}
