#include "core/ImageReferences.h"

#include "TestSupport.h"

using namespace quillor;

namespace {

const QUuid attachmentID(QStringLiteral("{1a2b3c4d-0000-4000-8000-00000000abcd}"));
const QString base = QStringLiteral("Attachments/Quillor/1A2B3C4D-0000-4000-8000-00000000ABCD");
const QString abcHash = QStringLiteral("ba7816bf8f01cfea");   // SHA-256 of "abc", first 8 bytes

CaptureAttachment attachment(const QByteArray& data, const QString& extension, std::optional<bool> isFile = {})
{
    return CaptureAttachment(attachmentID, data, extension, isFile);
}

std::optional<CaptureError> refusal(const CaptureAttachment& attachment, const QString& root, const QString& folder,
                                    const std::optional<QString>& preferred = {})
{
    return test::thrown<CaptureError>([&] { ImageReferences::resolve(attachment, root, folder, preferred); });
}

} // namespace

TEST(ImageReferencesTest, AcceptedAndRefusedAttachments)
{
    const QTemporaryDir root;
    const QString id = base.section('/', -1);
    const std::tuple<CaptureAttachment, QString, QString> cases[] = {   // attachment, folder, path (none: refused)
        {attachment("abc", "PNG"), "Attachments/Quillor", base + ".png"}, {attachment("abc", "bmp"), "", ""},
        {attachment("abc", "e\u0301", true), "", id + ".e\u0301"},      {attachment("abc", "tar.gz", true), "", ""},
        {attachment("abc", QString(20, 'a'), true), "", id + "." + QString(20, 'a')},
        {attachment("abc", QString(21, 'a'), true), "", ""}, {attachment("", "png"), "", ""},
    };
    for (const auto& [attachment, folder, path] : cases) {
        SCOPED_TRACE(attachment.fileExtension.toStdString());
        if (path.isEmpty())
            EXPECT_EQ(refusal(attachment, root.path(), folder), CaptureError::invalidAttachment());
        else
            EXPECT_EQ(ImageReferences::resolve(attachment, root.path(), folder, {}),
                      (ImageReference{attachmentID, path, attachment.isFile}));
    }
}

TEST(ImageReferencesTest, OccupiedNamesFallBackToHashedNames)
{
    const QTemporaryDir dir;
    const QString root = dir.path() + '/';
    const auto resolve = [&](const std::optional<QString>& preferred = std::nullopt) {
        return ImageReferences::resolve(attachment("abc", "png"), root, "Attachments/Quillor", preferred).path;
    };
    test::put(root + base + ".png", "other");
    EXPECT_EQ(resolve(), base + "-" + abcHash + ".png");
    test::put(root + base + "-" + abcHash + ".png", "other too");
    EXPECT_EQ(resolve(), base + "-" + abcHash + "-1.png");
    // A folder in the way cannot be read: it counts as other bytes.
    QDir().mkpath(root + base + "-" + abcHash + "-1.png");
    EXPECT_EQ(resolve(), base + "-" + abcHash + "-2.png");
    // Once written, the same attachment finds its own file again.
    test::put(root + base + "-" + abcHash + "-2.png", "abc");
    EXPECT_EQ(resolve(), base + "-" + abcHash + "-2.png");

    // A preferred path is kept when free or identical; otherwise the fallbacks come from the base name.
    test::put(root + "Elsewhere/same.png", "abc");
    test::put(root + "Elsewhere/taken.png", "other");
    EXPECT_EQ(resolve("Elsewhere/free.png"), "Elsewhere/free.png");
    EXPECT_EQ(resolve("Elsewhere/same.png"), "Elsewhere/same.png");
    EXPECT_EQ(resolve("Elsewhere/taken.png"), base + "-" + abcHash + "-2.png");
}

TEST(ImageReferencesTest, AHugeFileInTheWayIsComparedWithoutBeingRead)
{
    const QTemporaryDir dir;
    const QString root = dir.path() + '/';
    // A sparse file of a terabyte: reading it whole could never succeed.
    test::put(root + "Elsewhere/huge.png", {});
    ASSERT_TRUE(QFile::resize(root + "Elsewhere/huge.png", qint64(1) << 40));
    // The same size as the attachment but other bytes.
    test::put(root + "Elsewhere/twin.png", "abd");
    const auto resolve = [&](const QString& preferred) {
        return ImageReferences::resolve(attachment("abc", "png"), root, "Attachments/Quillor", preferred).path;
    };
    EXPECT_EQ(resolve("Elsewhere/huge.png"), base + "-" + abcHash + ".png");
    EXPECT_EQ(resolve("Elsewhere/twin.png"), base + "-" + abcHash + ".png");
}

TEST(ImageReferencesTest, UnsafeLocationsAreRefused)
{
    const QTemporaryDir dir;
    const QString root = dir.path() + "/vault";
    QDir().mkpath(root + "/Real");
    QFile::link(root + "/Real", root + "/Linked");
    const std::pair<QString, std::optional<QString>> cases[] = {
        {"Linked", {}}, {"Linked/Quillor", {}}, {"../outside", {}}, {".hidden", {}}, {"", "Linked/x.png"}, {"", "/etc/x.png"},
    };
    for (const auto& [folder, preferred] : cases)
        EXPECT_EQ(refusal(attachment("abc", "png"), root, folder, preferred), CaptureError::invalidPath())
            << folder.toStdString() << preferred.value_or("").toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/outside"));
}
