#include "core/ImageReferences.h"

#include "core/CaptureError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace quillor;

namespace {

const QUuid attachmentID(QStringLiteral("{1a2b3c4d-0000-4000-8000-00000000abcd}"));
const QString id = QStringLiteral("1A2B3C4D-0000-4000-8000-00000000ABCD");
const QString folder = QStringLiteral("Attachments/Quillor");
// SHA-256 of "abc", first 8 bytes.
const QString abcHash = QStringLiteral("ba7816bf8f01cfea");

CaptureAttachment attachment(const QByteArray& data, const QString& extension, std::optional<bool> isFile = {})
{
    return CaptureAttachment(attachmentID, data, extension, isFile);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

CaptureError::Kind errorKind(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CaptureError& error) {
        return error.kind();
    }
    ADD_FAILURE() << "no CaptureError thrown";
    return CaptureError::Kind::empty;
}

} // namespace

TEST(ImageReferencesTest, AcceptedAndRefusedAttachments)
{
    const QTemporaryDir root;
    const struct {
        const char* name;
        CaptureAttachment attachment;
        QString folder;
        QString path;   // empty: invalidAttachment expected
    } cases[] = {
        {"image in capitals", attachment("abc", "PNG"), folder, folder + "/" + id + ".png"},
        {"image at the root", attachment("abc", "png"), "", id + ".png"},
        {"image marked false", attachment("abc", "jpeg", false), "", id + ".jpeg"},
        {"bmp image", attachment("abc", "bmp"), folder, ""},
        {"image without extension", attachment("abc", ""), folder, ""},
        {"bmp file", attachment("abc", "bmp", true), folder, folder + "/" + id + ".bmp"},
        {"file with a combining accent", attachment("abc", "e\u0301", true), "", id + ".e\u0301"},
        {"file of 20 characters", attachment("abc", QString(20, 'a'), true), "", id + "." + QString(20, 'a')},
        {"file of 21 characters", attachment("abc", QString(21, 'a'), true), "", ""},
        {"file with a point", attachment("abc", "tar.gz", true), "", ""},
        {"file without extension", attachment("abc", "", true), "", ""},
        {"file with a stray surrogate", attachment("abc", QString(QChar(0xD800)), true), "", ""},
        {"empty data", attachment("", "png"), "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.path.isEmpty()) {
            EXPECT_EQ(errorKind([&] { ImageReferences::resolve(c.attachment, root.path(), c.folder, std::nullopt); }),
                      CaptureError::Kind::invalidAttachment);
        } else {
            const ImageReference reference = ImageReferences::resolve(c.attachment, root.path(), c.folder, std::nullopt);
            EXPECT_EQ(reference, (ImageReference{attachmentID, c.path, c.attachment.isFile}));
        }
    }
}

TEST(ImageReferencesTest, OccupiedNamesFallBackToHashedNames)
{
    const QTemporaryDir dir;
    const QString root = dir.path();
    const CaptureAttachment image = attachment("abc", "png");
    const auto resolve = [&](const std::optional<QString>& preferred = std::nullopt) {
        return ImageReferences::resolve(image, root, folder, preferred).path;
    };
    const QString base = folder + "/" + id;

    writeFile(root + "/" + base + ".png", "other");
    EXPECT_EQ(resolve(), base + "-" + abcHash + ".png");

    writeFile(root + "/" + base + "-" + abcHash + ".png", "other too");
    EXPECT_EQ(resolve(), base + "-" + abcHash + "-1.png");

    // A folder in the way cannot be read: it counts as other bytes.
    QDir().mkpath(root + "/" + base + "-" + abcHash + "-1.png");
    EXPECT_EQ(resolve(), base + "-" + abcHash + "-2.png");

    // Once written, the same attachment finds its own file again.
    writeFile(root + "/" + base + "-" + abcHash + "-2.png", "abc");
    EXPECT_EQ(resolve(), base + "-" + abcHash + "-2.png");

    // Preferred paths: free or identical is kept; otherwise the fallbacks are
    // built from the base name, not from the preferred path.
    EXPECT_EQ(resolve(QStringLiteral("Elsewhere/picture.png")), "Elsewhere/picture.png");
    writeFile(root + "/Elsewhere/same.png", "abc");
    EXPECT_EQ(resolve(QStringLiteral("Elsewhere/same.png")), "Elsewhere/same.png");
    writeFile(root + "/Elsewhere/taken.png", "other");
    EXPECT_EQ(resolve(QStringLiteral("Elsewhere/taken.png")), base + "-" + abcHash + "-2.png");
}

TEST(ImageReferencesTest, UnsafeLocationsAreRefused)
{
    const QTemporaryDir dir;
    const QString root = dir.path() + "/vault";
    QDir().mkpath(root + "/Real");
    ASSERT_TRUE(QFile::link(root + "/Real", root + "/Linked"));
    const CaptureAttachment image = attachment("abc", "png");

    const struct {
        QString folder;
        std::optional<QString> preferred;
    } cases[] = {
        {"Linked", std::nullopt},
        {"Linked/Quillor", std::nullopt},
        {"../outside", std::nullopt},
        {".hidden", std::nullopt},
        {"", QStringLiteral("Linked/x.png")},
        {"", QStringLiteral("/etc/x.png")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString() + " " + c.preferred.value_or("").toStdString());
        EXPECT_EQ(errorKind([&] { ImageReferences::resolve(image, root, c.folder, c.preferred); }),
                  CaptureError::Kind::invalidPath);
    }
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/outside"));
}
