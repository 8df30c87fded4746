#include "UpdatesTestSupport.h"
#include "core/Json.h"
#include "updates/UpdateError.h"

#include <QSysInfo>

#include <variant>

using namespace quillor;
using namespace quillor::test;

namespace {

// The rules as first written: a 14.0.0 system on an "arm64" machine taking
// ".pkg" installers.
const UpdatePlatform referencePlatform{std::array<qint64, 3>{14, 0, 0}, "arm64", ".pkg"};
const UpdatePlatform linuxPlatform = UpdatePlatform::running();

PublishedRelease release(const QString& version, const QString& architecture = "universal",
                         const QString& minimum = "14.0")
{
    return {version, "2025-01-31", {}, "Quillor.pkg", true, architecture, minimum};
}

QByteArray document(const QJsonValue& release, const QJsonValue& latest = "1.2.0")
{
    return QJsonDocument(QJsonObject{{"latest", latest}, {"releases", QJsonArray{release}}}).toJson();
}

} // namespace

TEST(ReleaseCatalogTest, DecodingTakesEveryKeyAndFailsTheWholeDocumentOnAnyMissingOrMistyped)
{
    QJsonObject object = releaseJson("1.2.0");
    object.insert("sha256", "abc");   // unknown keys are ignored
    EXPECT_EQ(ReleaseCatalog::decode(document(object)),
              (ReleaseCatalog{"1.2.0", {{"1.2.0", "2025-01-31", {"Un", "Deux"}, "Quillor-1.2.0.AppImage", true,
                                         "universal", "14.0"}}}));

    // Json::Reader's own type checks are tested with it; here every key must
    // be required, and the notes be strings only.
    std::vector<std::pair<QString, QJsonValue>> edits = {{"notes", "Un"}, {"notes", QJsonArray{"Un", 2}}};
    for (const QString& key : releaseJson("1.2.0").keys())   // inserting Undefined removes the key
        edits.insert(edits.end(), {{key, QJsonValue::Undefined}, {key, QJsonValue::Null}});
    // Whole documents: latest a number or missing, releases missing, not objects
    // or an object, a top-level array, broken JSON, nothing.
    std::vector<QByteArray> documents = {document(releaseJson("1.2.0"), 1), R"({"releases": []})",
                                         R"({"latest": "1.2.0"})", document("1.2.0"),
                                         R"({"latest": "1.2.0", "releases": {}})", "[]",
                                         document(releaseJson("1.2.0")).chopped(2), ""};
    for (const auto& [key, value] : edits) {
        QJsonObject edited = releaseJson("1.2.0");
        edited.insert(key, value);
        documents.push_back(document(edited));
    }
    for (const QByteArray& bytes : documents)
        EXPECT_THROW(ReleaseCatalog::decode(bytes), JsonDecodingError) << bytes.data();
}

TEST(ReleaseCatalogTest, Newer)
{
    const ReleaseCatalog reference{"1.2.0", {release("1.1.0"), release("1.2.0"), release("1.3.0"),
                                             release("1.2.0-beta.1"), release("next")}};
    const ReleaseCatalog betas{"1.2.0", {release("1.2.0-beta.2"), release("1.2.0"), release("1.2.0-beta.1")}};
    const ReleaseCatalog mixed{"1.3.0", {release("1.1.0", "x86_64"), release("1.2.0", "arm64", "15"),
                                         release("1.2.1", "arm64", "13.6"), release("1.3.0")}};
    // Equal versions keep catalog order (stable sort), whatever their text.
    const ReleaseCatalog duplicates{"1.2.0",
                                    {release("1.2.0+a"), release("1.1.0"), release("1.2.0"), release("1.2.0+b")}};
    const auto invalid = UpdateError::Kind::invalidCatalog;
    const struct {
        const char* label;
        ReleaseCatalog catalog;
        const char* installed;
        std::variant<QStringList, UpdateError::Kind> expected;
    } cases[] = {
        {"reference", reference, "1.0.0", QStringList{"1.2.0", "1.1.0"}},
        {"up to date", reference, "1.2.0", QStringList{}},
        {"installed above latest", reference, "1.3.0", QStringList{}},
        {"installed pre-release", betas, "1.2.0-beta.1", QStringList{"1.2.0", "1.2.0-beta.2"}},
        {"installed release", betas, "1.1.0", QStringList{"1.2.0"}},
        {"compatibility", mixed, "1.0.0", QStringList{"1.3.0", "1.2.1"}},
        {"stable", duplicates, "1.0.0", QStringList{"1.2.0+a", "1.2.0", "1.2.0+b", "1.1.0"}},
        // A hyphen in build metadata does not make a pre-release.
        {"build metadata", {"1.2.0+build-7", {release("1.2.0+build-7")}}, "1.0.0", QStringList{"1.2.0+build-7"}},
        {"latest missing", {"2.0.0", {release("1.1.0"), release("1.2.0")}}, "1.0.0", invalid},
        {"latest matched only as a version", {"1.2.0", {release("1.2.0+build.1")}}, "1.0.0", invalid},
        {"latest unparsable", {"next", {release("next"), release("1.2.0")}}, "1.0.0", invalid},
        {"installed unparsable", reference, "x", invalid},
    };
    for (const auto& c : cases) {
        std::variant<QStringList, UpdateError::Kind> offered;
        try {
            offered = versions(c.catalog.newer(c.installed, referencePlatform));
        } catch (const UpdateError& error) {
            offered = error.kind();
        }
        EXPECT_EQ(offered, c.expected) << c.label;
    }
}

TEST(ReleaseCatalogTest, Compatibility)
{
    const QString machine = QSysInfo::currentCpuArchitecture();
    const UpdatePlatform& ref = referencePlatform;
    const UpdatePlatform on14_5_1{std::array<qint64, 3>{14, 5, 1}, "arm64", ".pkg"};
    const struct {
        const char* minimum;
        QString architecture;
        const UpdatePlatform& platform;
        bool compatible;
    } cases[] = {
        {"14", "universal", ref, true}, {"14.0.0.9", "arm64", ref, true}, {"13.9", "arm64", ref, true},
        {"14.0.1", "universal", ref, false}, {"14.6", "universal", on14_5_1, false},
        {"14.5.1", "universal", on14_5_1, true}, {"..14..x.6", "universal", on14_5_1, false},   // reads as 14.6
        {"+14", "universal", ref, true}, {"", "universal", ref, false}, {"abc", "universal", ref, false},
        {"x. .y", "universal", ref, false}, {"14", "Universal", ref, false}, {"14", "x86_64", ref, false},
        {"14", "arm64 ", ref, false},
        // On Linux any minimum with a number passes, a numberless one never.
        {"99.0", "universal", linuxPlatform, true}, {"99.0", machine, linuxPlatform, true},
        {"", "universal", linuxPlatform, false}, {"macOS", machine, linuxPlatform, false},
        {"14", machine == "arm64" ? "x86_64" : "arm64", linuxPlatform, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(release("1.0.0", c.architecture, c.minimum).isCompatible(c.platform), c.compatible)
            << c.minimum << " " << c.architecture.toStdString();
}

TEST(ReleaseCatalogTest, DownloadURL)
{
    const QString base = "https://updates.example.org/downloads/";
    const auto url = [&](const QString& asset, const UpdatePlatform& platform, bool notarized = true) {
        PublishedRelease r = release("1.2.0");
        r.asset = asset;
        r.notarized = notarized;
        return r.downloadURL(QUrl("https://updates.example.org"), platform);
    };
    for (const QString asset : {"Setup-1.2.0.pkg", "Setup_1.2.0.pkg"})
        EXPECT_EQ(url(asset, referencePlatform), QUrl(base + asset));
    EXPECT_EQ(url("Quillor-1.2.0-x86_64.AppImage", linuxPlatform), QUrl(base + "Quillor-1.2.0-x86_64.AppImage"));
    EXPECT_EQ(url("Setup-1.2.0.pkg", referencePlatform, false), std::nullopt) << "not notarized";
    for (const QString asset : {"Setup 1.2.0.pkg", "Setup.PKG", "../Setup.pkg", "..Setup.pkg", "dir/Setup.pkg",
                                "dir\\Setup.pkg", "Setup%2F.pkg", "Séance.pkg", "Setup.dmg", "Setup.pkg.zip"})
        EXPECT_EQ(url(asset, referencePlatform), std::nullopt) << asset.toStdString();
    for (const QString asset : {"Setup-1.2.0.pkg", "Quillor.appimage"})
        EXPECT_EQ(url(asset, linuxPlatform), std::nullopt) << asset.toStdString();
}
