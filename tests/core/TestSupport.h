#pragma once

#include "core/CaptureError.h"
#include "core/FileSystemError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

// Readable failure messages for Qt's texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace quillor {

inline std::ostream& operator<<(std::ostream& out, const Error& error) { return out << error.what(); }

namespace test {

// The error of type E that `action` throws, or nothing.
template <typename E, typename F>
std::optional<E> thrown(F&& action)
{
    try {
        action();
    } catch (const E& error) {
        return error;
    }
    return std::nullopt;
}

// The errno of the FileSystemError that `action` throws, or 0.
template <typename F>
int errnoOf(F&& action)
{
    const auto error = thrown<FileSystemError>(action);
    return error ? error->errnoValue() : 0;
}

// Writes the file, creating its missing folders.
inline void put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

inline std::optional<QByteArray> contents(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace test
} // namespace quillor
