// A folder that holds several Obsidian vaults chosen as a destination's vault
// path: the links the program writes, checks and offers must resolve as
// Obsidian resolves them, from the folder holding ".obsidian".

#include "ProgramTest.h"

#include <thread>

using namespace quillor::e2e;
using namespace std::chrono_literals;

namespace {

// A picture the size of one pixel, as an image viewer puts it on the clipboard.
const QByteArray onePixelPng = QByteArray::fromBase64(
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==");

class VaultLinkRoadTest : public ProgramTest {
protected:
    void put(const QString& file, const QByteArray& bytes)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size()) << text(file);
    }

    // The destination as a rebind onto the folder of several vaults leaves
    // it: that folder as its vault path, the Obsidian vault in its path.
    void putDestinationIntoAVaultBelow(const QString& path)
    {
        QJsonObject preferences = readJson(dataPath(QStringLiteral("preferences.json")));
        QJsonObject destination = preferences.value("destinations").toArray().first().toObject();
        ASSERT_EQ(destination.value("vaultPath").toString(), vaultPath());
        destination.insert("path", path);
        preferences.insert("destinations", QJsonArray{destination});
        put(dataPath(QStringLiteral("preferences.json")), QJsonDocument(preferences).toJson(QJsonDocument::Compact));
    }

    QString draftBody() const { return readJson(dataPath(QStringLiteral("draft.json"))).value("body").toString(); }
};

} // namespace

// The note's wiki link comes from the completions, one embed is typed by hand
// (checked at send), one is pasted: each names a file from the Obsidian vault.
TEST_F(VaultLinkRoadTest, LinksIntoAnObsidianVaultBelowTheVaultPathResolveFromThatVault)
{
    if (!onPath("xclip"))
        GTEST_SKIP() << "xclip is not installed";
    const QString obsidianVault = vaultPath() + QStringLiteral("/aide-fr");
    put(obsidianVault + QStringLiteral("/.obsidian/app.json"), R"({"attachmentFolderPath": "assets"})");
    put(obsidianVault + QStringLiteral("/assets/carte.png"), onePixelPng);
    put(obsidianVault + QStringLiteral("/Carnet de route.md"), "Une note.\n");
    put(vaultPath() + QStringLiteral("/kepano/.obsidian/app.json"), "{}");
    putDestinationIntoAVaultBelow(QStringLiteral("aide-fr/Inbox"));
    const QString picture = QString::fromStdString(path("home")) + QStringLiteral("/pixel.png");
    put(picture, onePixelPng);

    ASSERT_TRUE(startHoldingHotKey());
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel());
    // The vault is read when the panel shows; the list fills once it is.
    ASSERT_TRUE(waitUntil(
        [&] {
            if (m_probe->viewableWindowNamed("Quillor suggestions"))
                return true;
            xdotool({"key", "ctrl+a", "BackSpace"});
            xdotool({"type", "--delay", "25", "--", "[[Carnet"});
            std::this_thread::sleep_for(300ms);
            return m_probe->viewableWindowNamed("Quillor suggestions").has_value();
        },
        10s))
        << "no suggestions for the vault's note: " << text(draftBody());
    ASSERT_EQ(xdotool({"key", "Return"}).exitCode, 0);
    ASSERT_TRUE(waitUntil([&] { return draftBody().contains(QStringLiteral("Carnet de route")); }, 5s))
        << text(draftBody());
    // The closing brackets come with the opening ones; End steps past them.
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", " voir ![[assets/carte.png"}).exitCode, 0);
    ASSERT_EQ(xdotool({"key", "End", "space"}).exitCode, 0);
    ASSERT_TRUE(copyToClipboard("image/png", picture));
    ASSERT_EQ(xdotool({"key", "ctrl+v"}).exitCode, 0);
    ASSERT_TRUE(waitUntil(
        [&] { return !readJson(dataPath(QStringLiteral("draft.json"))).value("attachments").toArray().isEmpty(); },
        10s))
        << "the pasted image is not in the draft: " << text(draftBody());
    ASSERT_EQ(xdotool({"key", "ctrl+Return"}).exitCode, 0);

    const QString receipts = dataPath(QStringLiteral("Receipts"));
    ASSERT_TRUE(waitUntil([&] { return !jsonFiles(receipts).isEmpty(); }, 15s))
        << "nothing delivered: " << text(draftBody());
    const QString notePath = readJson(receipts + u'/' + jsonFiles(receipts).first()).value("path").toString();
    EXPECT_TRUE(notePath.startsWith(obsidianVault + QStringLiteral("/Inbox/"))) << text(notePath);
    QFile noteFile(notePath);
    ASSERT_TRUE(noteFile.open(QIODevice::ReadOnly)) << text(notePath);
    const QString note = QString::fromUtf8(noteFile.readAll());

    static const QRegularExpression links(QStringLiteral("(!?)\\[\\[([^\\]|]+)(?:\\|[^\\]]*)?\\]\\]"));
    QStringList embeds;
    int wikiLinks = 0;
    for (auto match = links.globalMatch(note); match.hasNext();) {
        const QRegularExpressionMatch link = match.next();
        const QString target = link.captured(2);
        if (link.captured(1).isEmpty()) {
            ++wikiLinks;
            const QString file = target.endsWith(QStringLiteral(".md")) ? target : target + QStringLiteral(".md");
            EXPECT_TRUE(QFile::exists(obsidianVault + u'/' + file)) << text(target) << "\n" << text(note);
        } else {
            embeds.append(target);
            QFile image(obsidianVault + u'/' + target);
            EXPECT_TRUE(image.open(QIODevice::ReadOnly) && image.readAll() == onePixelPng)
                << text(target) << "\n" << text(note);
        }
    }
    EXPECT_EQ(wikiLinks, 1) << text(note);
    ASSERT_EQ(embeds.size(), 2) << text(note);
    EXPECT_EQ(embeds.first(), QStringLiteral("assets/carte.png"));
    // The pasted image went where the vault's setting puts it, as before.
    EXPECT_TRUE(embeds.last().startsWith(QStringLiteral("assets/"))) << text(embeds.last());
    // Settings as stored are left as they were.
    const QJsonObject stored = readJson(dataPath(QStringLiteral("preferences.json")))
                                   .value("destinations")
                                   .toArray()
                                   .first()
                                   .toObject();
    EXPECT_EQ(stored.value("vaultPath").toString(), vaultPath());
    EXPECT_EQ(stored.value("path").toString(), QStringLiteral("aide-fr/Inbox"));
}

// The folder that would become the root of the delivery is a link, which could
// be pointed anywhere: the send is refused as any link in a path is, nothing
// is written, and the words stay in the draft.
TEST_F(VaultLinkRoadTest, AnObsidianVaultReachedThroughALinkIsNotWrittenTo)
{
    const QString elsewhere = QString::fromStdString(path("elsewhere")) + QStringLiteral("/vault");
    put(elsewhere + QStringLiteral("/.obsidian/app.json"), R"({"attachmentFolderPath": "assets"})");
    // As `ln -s ../elsewhere/vault aide-fr` makes it, in the vault path.
    ASSERT_TRUE(QFile::link(QStringLiteral("../elsewhere/vault"), vaultPath() + QStringLiteral("/aide-fr")));
    ASSERT_TRUE(QFileInfo(vaultPath() + QStringLiteral("/aide-fr/.obsidian")).isDir());
    putDestinationIntoAVaultBelow(QStringLiteral("aide-fr/Inbox"));

    ASSERT_TRUE(startHoldingHotKey());
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel());
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", "note par le lien"}).exitCode, 0);
    ASSERT_TRUE(waitUntil([&] { return draftBody() == QStringLiteral("note par le lien"); }, 5s)) << text(draftBody());
    ASSERT_EQ(xdotool({"key", "ctrl+Return"}).exitCode, 0);

    const QString receipts = dataPath(QStringLiteral("Receipts"));
    EXPECT_FALSE(waitUntil([&] { return !jsonFiles(receipts).isEmpty(); }, 5s)) << "delivered through the link";
    EXPECT_FALSE(QFileInfo::exists(elsewhere + QStringLiteral("/Inbox")));
    EXPECT_TRUE(waitForActivePanel()) << "the panel went away";
    EXPECT_EQ(draftBody(), QStringLiteral("note par le lien"));
}
