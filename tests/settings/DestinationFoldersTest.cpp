#include "../model/AppModelTestSupport.h"

#include "settings/DestinationFolders.h"

#include <QFile>

namespace quillor::test {
namespace {

class DestinationFoldersTest : public ::testing::Test {
protected:
    Destination at(const QString& vaultPath, DeliveryMode mode = DeliveryMode::newNote, const QString& path = {})
    {
        Destination destination = makeDestination(QStringLiteral("D"), QString(), vaultPath);
        destination.vaultBookmark = vaultPath.toUtf8();
        destination.mode = mode;
        destination.path = path;
        return destination;
    }
    Destination configure(const QString& folder, const Destination& destination, const QList<Destination>& known)
    {
        return DestinationFolders::configure(folder, destination, known, access);
    }

    DataFolder data;
    VaultAccess access{false};
    QString notes = data.folder(QStringLiteral("Notes"));
    QString work = data.folder(QStringLiteral("Notes/Work"));
};

TEST_F(DestinationFoldersTest, AFolderInsideAKnownNotesFolderSharesIt)
{
    const Destination outer = at(notes);
    const Destination inner = at(work);
    const QString inbox = data.folder(QStringLiteral("Notes/Work/Inbox"));
    const QString projects = data.folder(QStringLiteral("Notes/Projets/2024"));
    const Destination fresh = at(QString());

    const Destination exact = configure(notes, fresh, {outer});
    EXPECT_EQ(exact.vaultPath, notes);
    EXPECT_EQ(exact.vaultBookmark, outer.vaultBookmark);
    EXPECT_EQ(exact.path, QString());
    EXPECT_EQ(exact.name, QStringLiteral("Notes"));

    EXPECT_EQ(configure(projects, fresh, {outer}).path, QStringLiteral("Projets/2024"));
    // The innermost notes folder wins whatever the order of the list.
    for (const QList<Destination>& known : {QList{outer, inner}, QList{inner, outer}}) {
        const Destination result = configure(inbox, fresh, known);
        EXPECT_EQ(result.vaultBookmark, inner.vaultBookmark);
        EXPECT_EQ(result.path, QStringLiteral("Inbox"));
    }
}

TEST_F(DestinationFoldersTest, AnUnknownFolderBecomesANotesFolderOfItsOwn)
{
    const QString sibling = data.folder(QStringLiteral("Notes2"));
    const Destination result = configure(sibling, at(QString()), {at(notes)});
    EXPECT_EQ(result.vaultPath, sibling);
    EXPECT_EQ(result.path, QString());
    ASSERT_TRUE(result.vaultBookmark.has_value());
    EXPECT_NE(*result.vaultBookmark, notes.toUtf8());
}

TEST_F(DestinationFoldersTest, ALinkIntoAKnownNotesFolderIsRecognised)
{
    const QString link = data.folder(QStringLiteral("Links")) + QStringLiteral("/work");
    ASSERT_TRUE(QFile::link(work, link));
    const Destination result = configure(link, at(QString()), {at(notes)});
    EXPECT_EQ(result.vaultPath, notes);
    EXPECT_EQ(result.path, QStringLiteral("Work"));
}

TEST_F(DestinationFoldersTest, AnAppendingDestinationKeepsItsNoteName)
{
    const QString daily = data.folder(QStringLiteral("Notes/Daily"));
    const QString other = data.folder(QStringLiteral("Other"));
    const Destination log = at(notes, DeliveryMode::appendNote, QStringLiteral("Journal/Log.md"));
    const struct {
        QString folder;
        Destination destination;
        QString path;
    } cases[] = {
        {notes, log, QStringLiteral("Log.md")},
        {daily, log, QStringLiteral("Daily/Log.md")},
        {other, log, QStringLiteral("Log.md")},
        {daily, at(notes, DeliveryMode::appendNote, QString()), QStringLiteral("Daily/Captures.md")},
        {daily, at(notes, DeliveryMode::dailyNote, QStringLiteral("Journal")), QStringLiteral("Daily")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(configure(c.folder, c.destination, {log}).path, c.path) << c.folder.toStdString();
}

} // namespace
} // namespace quillor::test
