#include "updates/ReleaseCatalog.h"

#include "core/Json.h"
#include "updates/UpdateError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSysInfo>

#include <gtest/gtest.h>

#include <variant>

using namespace quillor;

namespace {

// The rules as first written: a 14.0.0 system on an "arm64" machine taking
// ".pkg" installers.
const UpdatePlatform referencePlatform{std::array<qint64, 3>{14, 0, 0}, QStringLiteral("arm64"), QStringLiteral(".pkg")};

PublishedRelease release(const QString& version, const QString& architecture = QStringLiteral("universal"),
                         const QString& minimum = QStringLiteral("14.0"))
{
    return PublishedRelease{version, QStringLiteral("2025-01-31"), {}, QStringLiteral("Quillor.pkg"),
                            true, architecture, minimum};
}

QJsonObject releaseObject()
{
    return QJsonObject{{"version", "1.2.0"},  {"date", "2025-01-31"},     {"notes", QJsonArray{"Un", "Deux"}},
                       {"asset", "Quillor-1.2.0.AppImage"}, {"notarized", true}, {"architecture", "universal"},
                       {"minimum_macos", "14.0"}};
}

QByteArray document(const QJsonObject& release, const QJsonValue& latest = QStringLiteral("1.2.0"))
{
    return QJsonDocument(QJsonObject{{"latest", latest}, {"releases", QJsonArray{release}}}).toJson();
}

QStringList versions(const QList<PublishedRelease>& releases)
{
    QStringList result;
    for (const PublishedRelease& r : releases)
        result.append(r.version);
    return result;
}

// The versions offered, or the UpdateError kind thrown.
std::variant<QStringList, UpdateError::Kind> newer(const ReleaseCatalog& catalog, const QString& installed)
{
    try {
        return versions(catalog.newer(installed, referencePlatform));
    } catch (const UpdateError& error) {
        return error.kind();
    }
}

} // namespace

TEST(ReleaseCatalogTest, DecodesEveryFieldAndIgnoresUnknownKeys)
{
    QJsonObject object = releaseObject();
    object.insert("sha256", "abc");
    const ReleaseCatalog catalog = ReleaseCatalog::decode(document(object));
    EXPECT_EQ(catalog.latest, "1.2.0");
    ASSERT_EQ(catalog.releases.size(), 1);
    EXPECT_EQ(catalog.releases[0],
              (PublishedRelease{"1.2.0", "2025-01-31", {"Un", "Deux"}, "Quillor-1.2.0.AppImage", true, "universal",
                                "14.0"}));
}

TEST(ReleaseCatalogTest, AnyMissingKeyOrWrongTypeFailsTheWholeDocument)
{
    std::vector<std::pair<const char*, QByteArray>> cases;
    for (const QString& key : releaseObject().keys()) {
        QJsonObject missing = releaseObject();
        missing.remove(key);
        cases.emplace_back("missing", document(missing));
        QJsonObject null = releaseObject();
        null.insert(key, QJsonValue::Null);
        cases.emplace_back("null", document(null));
    }
    const std::pair<const char*, QJsonValue> wrongTypes[] = {
        {"version", 1.2}, {"date", 20250131}, {"notes", "Un"}, {"notes", QJsonArray{"Un", 2}},
        {"asset", QJsonArray{}}, {"notarized", "true"}, {"notarized", 1}, {"architecture", false},
        {"minimum_macos", 14},
    };
    for (const auto& [key, value] : wrongTypes) {
        QJsonObject wrong = releaseObject();
        wrong.insert(key, value);
        cases.emplace_back(key, document(wrong));
    }
    cases.emplace_back("latest number", document(releaseObject(), 1));
    cases.emplace_back("latest missing", QJsonDocument(QJsonObject{{"releases", QJsonArray{releaseObject()}}}).toJson());
    cases.emplace_back("releases missing", QByteArray(R"({"latest": "1.2.0"})"));
    cases.emplace_back("release not an object", QByteArray(R"({"latest": "1.2.0", "releases": ["1.2.0"]})"));
    cases.emplace_back("releases an object", QByteArray(R"({"latest": "1.2.0", "releases": {}})"));
    cases.emplace_back("top level array", QByteArray("[]"));
    cases.emplace_back("broken JSON", document(releaseObject()).chopped(2));
    cases.emplace_back("empty", QByteArray());
    for (const auto& [label, bytes] : cases)
        EXPECT_THROW(ReleaseCatalog::decode(bytes), JsonDecodingError) << label << ": " << bytes.toStdString();
}

TEST(ReleaseCatalogTest, Newer)
{
    const ReleaseCatalog reference{"1.2.0",
                                   {release("1.1.0"), release("1.2.0"), release("1.3.0"), release("1.2.0-beta.1"),
                                    release("next")}};
    const ReleaseCatalog betas{"1.2.0", {release("1.2.0-beta.2"), release("1.2.0"), release("1.2.0-beta.1")}};
    const ReleaseCatalog mixed{"1.3.0",
                               {release("1.1.0", "x86_64"), release("1.2.0", "arm64", "15"),
                                release("1.2.1", "arm64", "13.6"), release("1.3.0")}};
    // Equal versions keep catalog order (stable sort), whatever their text.
    const ReleaseCatalog duplicates{"1.2.0", {release("1.2.0+a"), release("1.1.0"), release("1.2.0"), release("1.2.0+b")}};
    // A hyphen in build metadata does not make a pre-release.
    const ReleaseCatalog metadata{"1.2.0+build-7", {release("1.2.0+build-7")}};
    const ReleaseCatalog latestMissing{"2.0.0", {release("1.1.0"), release("1.2.0")}};
    const ReleaseCatalog latestUnparsable{"next", {release("next"), release("1.2.0")}};
    const ReleaseCatalog latestEqualOnlyAsVersion{"1.2.0", {release("1.2.0+build.1")}};

    struct Case {
        const char* label;
        const ReleaseCatalog& catalog;
        const char* installed;
        std::variant<QStringList, UpdateError::Kind> expected;
    };
    const Case cases[] = {
        {"reference", reference, "1.0.0", QStringList{"1.2.0", "1.1.0"}},
        {"from zero", reference, "0.0.0", QStringList{"1.2.0", "1.1.0"}},
        {"up to date", reference, "1.2.0", QStringList{}},
        {"installed above latest", reference, "1.3.0", QStringList{}},
        {"installed pre-release", betas, "1.2.0-beta.1", QStringList{"1.2.0", "1.2.0-beta.2"}},
        {"installed release", betas, "1.1.0", QStringList{"1.2.0"}},
        {"compatibility", mixed, "1.0.0", QStringList{"1.3.0", "1.2.1"}},
        {"stable", duplicates, "1.0.0", QStringList{"1.2.0+a", "1.2.0", "1.2.0+b", "1.1.0"}},
        {"build metadata", metadata, "1.0.0", QStringList{"1.2.0+build-7"}},
        {"latest missing", latestMissing, "1.0.0", UpdateError::Kind::invalidCatalog},
        {"latest matched only as a version", latestEqualOnlyAsVersion, "1.0.0", UpdateError::Kind::invalidCatalog},
        {"latest unparsable", latestUnparsable, "1.0.0", UpdateError::Kind::invalidCatalog},
        {"installed unparsable", reference, "x", UpdateError::Kind::invalidCatalog},
        {"installed empty", reference, "", UpdateError::Kind::invalidCatalog},
    };
    for (const Case& c : cases)
        EXPECT_EQ(newer(c.catalog, QString::fromUtf8(c.installed)), c.expected) << c.label;
}

TEST(ReleaseCatalogTest, Compatibility)
{
    const UpdatePlatform linuxPlatform = UpdatePlatform::running();
    const QString machine = QSysInfo::currentCpuArchitecture();
    const UpdatePlatform onSystem14_5_1{std::array<qint64, 3>{14, 5, 1}, "arm64", ".pkg"};
    struct Case {
        const char* minimum;
        QString architecture;
        const UpdatePlatform& platform;
        bool compatible;
    };
    const Case cases[] = {
        {"14", "universal", referencePlatform, true},
        {"14.0.0.9", "arm64", referencePlatform, true},
        {"13.9", "arm64", referencePlatform, true},
        {"14.0.1", "universal", referencePlatform, false},
        {"14.6", "universal", onSystem14_5_1, false},
        {"14.5.1", "universal", onSystem14_5_1, true},
        {"..14..x.6", "universal", onSystem14_5_1, false},   // reads as 14.6
        {"+14", "universal", referencePlatform, true},
        {"", "universal", referencePlatform, false},
        {"abc", "universal", referencePlatform, false},
        {"x. .y", "universal", referencePlatform, false},
        {"14", "Universal", referencePlatform, false},
        {"14", "x86_64", referencePlatform, false},
        {"14", "arm64 ", referencePlatform, false},
        // On Linux any minimum with a number passes, a numberless one never.
        {"99.0", "universal", linuxPlatform, true},
        {"99.0", machine, linuxPlatform, true},
        {"", "universal", linuxPlatform, false},
        {"macOS", machine, linuxPlatform, false},
        {"14", machine == "arm64" ? "x86_64" : "arm64", linuxPlatform, false},
    };
    for (const Case& c : cases) {
        PublishedRelease r = release("1.0.0", c.architecture, QString::fromUtf8(c.minimum));
        EXPECT_EQ(r.isCompatible(c.platform), c.compatible) << c.minimum << " " << c.architecture.toStdString();
    }
}

TEST(ReleaseCatalogTest, DownloadURL)
{
    const QUrl website(QStringLiteral("https://updates.example.org"));
    struct Case {
        const char* asset;
        bool notarized;
        const UpdatePlatform& platform;
        std::optional<QUrl> expected;
    };
    const UpdatePlatform linuxPlatform = UpdatePlatform::running();
    const Case cases[] = {
        {"Setup-1.2.0.pkg", true, referencePlatform, QUrl("https://updates.example.org/downloads/Setup-1.2.0.pkg")},
        {"Setup_1.2.0.pkg", true, referencePlatform, QUrl("https://updates.example.org/downloads/Setup_1.2.0.pkg")},
        {"Setup-1.2.0.pkg", false, referencePlatform, std::nullopt},
        {"Setup 1.2.0.pkg", true, referencePlatform, std::nullopt},
        {"Setup.PKG", true, referencePlatform, std::nullopt},
        {"../Setup.pkg", true, referencePlatform, std::nullopt},
        {"..Setup.pkg", true, referencePlatform, std::nullopt},
        {"dir/Setup.pkg", true, referencePlatform, std::nullopt},
        {"dir\\Setup.pkg", true, referencePlatform, std::nullopt},
        {"Setup%2F.pkg", true, referencePlatform, std::nullopt},
        {"Séance.pkg", true, referencePlatform, std::nullopt},
        {"Setup.dmg", true, referencePlatform, std::nullopt},
        {"Setup.pkg.zip", true, referencePlatform, std::nullopt},
        {"Quillor-1.2.0-x86_64.AppImage", true, linuxPlatform,
         QUrl("https://updates.example.org/downloads/Quillor-1.2.0-x86_64.AppImage")},
        {"Setup-1.2.0.pkg", true, linuxPlatform, std::nullopt},
        {"Quillor.appimage", true, linuxPlatform, std::nullopt},
    };
    for (const Case& c : cases) {
        PublishedRelease r = release("1.2.0");
        r.asset = QString::fromUtf8(c.asset);
        r.notarized = c.notarized;
        EXPECT_EQ(r.downloadURL(website, c.platform), c.expected) << c.asset;
    }
    // The build's own server and the running platform by default.
    PublishedRelease r = release("1.2.0");
    r.asset = QStringLiteral("Quillor.AppImage");
    EXPECT_EQ(r.downloadURL(), UpdateServer::configured().website().resolved(QUrl("/downloads/Quillor.AppImage")));
}
