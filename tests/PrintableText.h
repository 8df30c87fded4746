#pragma once

#include <QString>

#include <cstdio>
#include <string>

// Texts in failure messages with their line breaks and other invisible units
// spelled out.
inline std::string printable(const QString& text)
{
    std::string out;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            out += char(c.unicode());
        } else {
            char buffer[12];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", c.unicode());
            out += buffer;
        }
    }
    return out;
}
