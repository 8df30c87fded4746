#include "model/Preferences.h"

#include "../core/TestSupport.h"

#include "core/FileSystem.h"
#include "core/Json.h"

#include <QJsonDocument>

#include <functional>

namespace quillor {
// Failures show settings as their JSON.
static void PrintTo(const Preferences& preferences, std::ostream* out) { *out << preferences.encode().toStdString(); }
} // namespace quillor

using namespace quillor;
using Location = AttachmentPolicy::Location;

namespace {

const QUuid idD = QUuid::fromString(QStringLiteral("0b5e2a8c-1d3f-4e6a-9b7c-2d4e6f8a0b1c"));
const QUuid idE = QUuid::fromString(QStringLiteral("7a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d"));

Destination destinationD()
{
    return Destination(idD, QStringLiteral("Notes"), QStringLiteral("n"), QStringLiteral("/V"), DeliveryMode::newNote,
                       QStringLiteral("Inbox"), QStringLiteral("Attachments/Quillor"));
}

// D with a policy of its own, which no migration may touch.
Destination destinationE()
{
    Destination e(idE, QStringLiteral("Journal"), QString(), QStringLiteral("/V"), DeliveryMode::dailyNote,
                  QStringLiteral("Daily"), QString());
    e.attachmentPolicy = AttachmentPolicy{Location::subfolder, QStringLiteral("img")};
    e.useObsidianAttachments = true;
    return e;
}

QString json(const Destination& destination)
{
    return QString::fromUtf8(QJsonDocument(destination.toJson()).toJson(QJsonDocument::Compact));
}

// A settings object whose "destinations" is [D] unless the members say
// otherwise; `members` are appended verbatim.
QByteArray settingsText(const QString& members)
{
    QString text = members;
    text.replace(QStringLiteral("%D"), json(destinationD())).replace(QStringLiteral("%E"), json(destinationE()));
    if (!text.contains(QStringLiteral("\"destinations\"")))
        text.prepend(QStringLiteral("\"destinations\":[%1]%2").arg(json(destinationD()), text.isEmpty() ? "" : ","));
    return (u'{' + text + u'}').toUtf8();
}

// What a file holding only "destinations":[D] decodes to.
Preferences onlyDestinationsDecoded()
{
    Preferences expected;
    Destination d = destinationD();
    d.attachmentPolicy = AttachmentPolicy{Location::specifiedFolder, QStringLiteral("Attachments/Quillor")};
    d.useObsidianAttachments = false;
    expected.destinations = {d};
    expected.defaultDestinationID = idD;
    expected.hotkeyDisplay = QStringLiteral("⌃Space");
    return expected;
}

} // namespace

TEST(PreferencesTest, DecodesWithDefaultsMigrationAndRepair)
{
    const struct {
        const char* name;
        QString members;
        std::function<void(Preferences&)> adjust;   // applied to onlyDestinationsDecoded()
    } cases[] = {
        {"only destinations", "", [](Preferences&) {}},
        {"null counts as missing",
         R"("defaultDestinationID":null,"language":null,"automaticallyCheckUpdates":null,"routePrefix":null,)"
         R"("hotkeyCode":null,"hotkeyModifiers":null,"hotkeyDisplay":null,"attachmentSettingsVersion":null,)"
         R"("attachmentPolicy":null)",
         [](Preferences&) {}},
        {"no destinations, no default", R"("destinations":[],"defaultDestinationID":")" + Json::uuidText(idD) + "\"",
         [](Preferences& p) { p.destinations.clear(), p.defaultDestinationID = std::nullopt; }},
        {"legacy policy copied, own policies kept",
         R"("destinations":[%D,%E],"attachmentPolicy":{"location":"vaultRoot","folder":""})",
         [](Preferences& p) {
             p.destinations.first().attachmentPolicy = AttachmentPolicy{Location::vaultRoot, QString()};
             p.destinations.append(destinationE());
         }},
        {"legacy key ignored once versioned",
         R"("attachmentSettingsVersion":1,"attachmentPolicy":{"location":"nowhere"})",
         [](Preferences& p) { p.destinations = {destinationD()}; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Preferences expected = onlyDestinationsDecoded();
        c.adjust(expected);
        EXPECT_EQ(Preferences::decode(settingsText(c.members)), expected);
    }
}

TEST(PreferencesTest, RejectsAnyBadKeyAsAWhole)
{
    // One per kind of fault: wrong type, bad member of a destination, number
    // out of range, malformed id, bad legacy policy.
    const char* const members[] = {
        R"("destinations":{})",
        R"("destinations":[{"id":"0B5E2A8C-1D3F-4E6A-9B7C-2D4E6F8A0B1C"}])",
        R"("hotkeyCode":4294967296)", R"("defaultDestinationID":"{0B5E2A8C-1D3F-4E6A-9B7C-2D4E6F8A0B1C}")",
        R"("attachmentPolicy":{"location":"vaultRoot"})",
    };
    for (const char* member : members)
        EXPECT_THROW(Preferences::decode(settingsText(QString::fromUtf8(member))), JsonDecodingError) << member;
    for (const char* bytes : {"[]", "{\"destinations\":[]", "{\"language\":\"fr\"}"})
        EXPECT_THROW(Preferences::decode(bytes), JsonDecodingError) << bytes;
}

TEST(PreferencesTest, EverythingAFileCanHoldSurvivesARoundTrip)
{
    // An empty prefix, the smallest and largest hot-key numbers, a bookmark.
    Preferences full;
    Destination d = destinationD();
    d.vaultBookmark = QByteArray("\x00\xff" "bookmark", 10);
    full.destinations = {d, destinationE()};
    full.defaultDestinationID = idE;
    full.language = QStringLiteral("fr-CA");
    full.automaticallyCheckUpdates = false;
    full.routePrefix = QString();
    full.hotkeyCode = 0;
    full.hotkeyModifiers = 4294967295u;
    full.hotkeyDisplay = QStringLiteral("⌥⌘K");
    EXPECT_EQ(Preferences::decode(full.encode()), full);
}

TEST(PreferencesTest, LoadTellsMissingFromUnreadable)
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("preferences.json"));
    using Outcome = LoadedPreferences::Outcome;
    EXPECT_EQ(Preferences::load(path).outcome, Outcome::missing);

    Preferences saved;
    saved.routePrefix = QStringLiteral("#");
    saved.save(path);
    const LoadedPreferences loaded = Preferences::load(path);
    EXPECT_EQ(loaded.outcome, Outcome::loaded);
    EXPECT_EQ(loaded.preferences, saved);

    FileSystem::writeAtomically(path, R"({"destinations":[],"hotkeyCode":"49"})");
    const LoadedPreferences undecodable = Preferences::load(path);
    EXPECT_EQ(undecodable.outcome, Outcome::unreadable);
    EXPECT_FALSE(undecodable.problem.isEmpty());
    EXPECT_EQ(undecodable.preferences.destinations.size(), 1);   // a fresh value stands in

    // A file where the data directory should be: there is no settings file.
    EXPECT_EQ(Preferences::load(path + QStringLiteral("/preferences.json")).outcome, Outcome::missing);
}

TEST(PreferencesTest, AttachmentPolicyPrecedence)
{
    QTemporaryDir directory;
    const QString vault = directory.filePath(QStringLiteral("Vault"));
    const QString plain = directory.filePath(QStringLiteral("Plain"));
    ASSERT_TRUE(QDir().mkpath(vault + QStringLiteral("/.obsidian")));
    ASSERT_TRUE(QDir().mkpath(vault + QStringLiteral("/Inbox")));
    ASSERT_TRUE(QDir().mkpath(plain));
    const AttachmentPolicy obsidian{Location::obsidian, QStringLiteral("Attachments")};
    const AttachmentPolicy sameFolder{Location::sameFolder, QStringLiteral("Attachments")};
    const AttachmentPolicy own{Location::subfolder, QStringLiteral("img")};
    const struct {
        const char* name;
        QString vaultPath;
        std::optional<bool> useObsidian;
        std::optional<AttachmentPolicy> policy;
        AttachmentPolicy expected;
    } cases[] = {
        {"in a vault, following it over its own", vault, true, own, obsidian},
        {"in a vault, not following", vault + QStringLiteral("/Inbox"), false, std::nullopt, sameFolder},
        {"no vault, own", plain, std::nullopt, own, own},
    };
    const Preferences preferences;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Destination d(QUuid::createUuid(), QStringLiteral("N"), QString(), c.vaultPath, DeliveryMode::newNote,
                      QString(), QStringLiteral("x"));
        d.useObsidianAttachments = c.useObsidian;
        d.attachmentPolicy = c.policy;
        EXPECT_EQ(preferences.attachmentPolicy(d), c.expected);
    }
}
