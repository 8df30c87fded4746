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
    std::vector<QByteArray> documents = {document(releaseJson("1.2.0"), 1), R"({"latest": "1.2.0"})",
                                         document("1.2.0"), "[]", document(releaseJson("1.2.0")).chopped(2)};
    QJsonObject edited = releaseJson("1.2.0");
    edited.insert("notes", QJsonArray{"Un", 2});
    documents.push_back(document(edited));
    for (const QString& key : releaseJson("1.2.0").keys()) {   // removed
        edited = releaseJson("1.2.0");
        edited.remove(key);
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
    const std::tuple<ReleaseCatalog, const char*, std::variant<QStringList, UpdateError::Kind>> cases[] = {
        {reference, "1.0.0", QStringList{"1.2.0", "1.1.0"}},
        {reference, "1.3.0", QStringList{}},
        {betas, "1.2.0-beta.1", QStringList{"1.2.0", "1.2.0-beta.2"}},
        {mixed, "1.0.0", QStringList{"1.3.0", "1.2.1"}},
        {duplicates, "1.0.0", QStringList{"1.2.0+a", "1.2.0", "1.2.0+b", "1.1.0"}},
        // A hyphen in build metadata does not make a pre-release.
        {{"1.2.0+build-7", {release("1.2.0+build-7")}}, "1.0.0", QStringList{"1.2.0+build-7"}},
        {{"2.0.0", {release("1.1.0"), release("1.2.0")}}, "1.0.0", invalid},   // latest missing
        {{"1.2.0", {release("1.2.0+build.1")}}, "1.0.0", invalid},              // matched only as a version
        {reference, "x", invalid},
    };
    for (const auto& [catalog, installed, expected] : cases) {
        std::variant<QStringList, UpdateError::Kind> offered;
        try {
            offered = versions(catalog.newer(installed, referencePlatform));
        } catch (const UpdateError& error) {
            offered = error.kind();
        }
        EXPECT_EQ(offered, expected) << catalog.latest.toStdString() << " from " << installed;
    }
}

TEST(ReleaseCatalogTest, Compatibility)
{
    const QString machine = QSysInfo::currentCpuArchitecture();
    const UpdatePlatform& ref = referencePlatform;
    const UpdatePlatform on14_5_1{std::array<qint64, 3>{14, 5, 1}, "arm64", ".pkg"};
    const std::tuple<const char*, QString, const UpdatePlatform&, bool> cases[] = {
        {"14.0.0.9", "arm64", ref, true}, {"14.0.1", "universal", ref, false},
        {"..14..x.6", "universal", on14_5_1, false},   // reads as 14.6
        {"", "universal", ref, false}, {"14", "Universal", ref, false}, {"14", "x86_64", ref, false},
        // On Linux any minimum with a number passes, a numberless one never.
        {"99.0", machine, linuxPlatform, true}, {"macOS", machine, linuxPlatform, false},
        {"14", machine == "arm64" ? "x86_64" : "arm64", linuxPlatform, false},
    };
    for (const auto& [minimum, architecture, platform, compatible] : cases)
        EXPECT_EQ(release("1.0.0", architecture, minimum).isCompatible(platform), compatible)
            << minimum << " " << architecture.toStdString();
}

TEST(ReleaseCatalogTest, DownloadURL)
{
    // The Linux link is checked end to end with the update checker.
    const auto url = [&](const QString& asset, const UpdatePlatform& platform, bool notarized = true) {
        PublishedRelease r = release("1.2.0");
        r.asset = asset;
        r.notarized = notarized;
        return r.downloadURL(QUrl("https://updates.example.org"), platform);
    };
    EXPECT_EQ(url("Setup_1.2.0.pkg", referencePlatform), QUrl("https://updates.example.org/downloads/Setup_1.2.0.pkg"));
    EXPECT_EQ(url("Setup-1.2.0.pkg", referencePlatform, false), std::nullopt) << "not notarized";
    for (const QString asset : {"Setup 1.2.0.pkg", "Setup.PKG", "../Setup.pkg", "dir/Setup.pkg", "dir\\Setup.pkg",
                                "Setup%2F.pkg", "Séance.pkg", "Setup.pkg.zip"})
        EXPECT_EQ(url(asset, referencePlatform), std::nullopt) << asset.toStdString();
    EXPECT_EQ(url("Quillor.appimage", linuxPlatform), std::nullopt);
}
