#pragma once

// Files, links and the errors of the vault's operations, on real folders.

#include "core/CaptureError.h"
#include "core/FileSystemError.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>
#include <optional>
#include <unistd.h>

namespace quillor::test {

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

inline void makeLink(const QString& target, const QString& at)
{
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(at).constData()), 0);
}

inline std::optional<CaptureError::Kind> captureErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CaptureError& error) {
        return error.kind();
    }
    return std::nullopt;
}

// The errno of the file-system error the action throws, 0 without one.
inline int errnoOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const FileSystemError& error) {
        return error.errnoValue();
    }
    return 0;
}

} // namespace quillor::test
