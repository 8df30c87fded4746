// What a vault's own files cost the UI thread: a keystroke in the capture
// view, up to its painted frame, when the destination lies in an Obsidian
// vault whose settings file is ordinary, nearly as large as is read (900 KB),
// or a sparse file of 5 GB, and whose attachment setting names a folder as
// deep as the system allows (its folders made, as an earlier delivery made
// them) or deeper (2,500 components); beside the same keystroke in a plain
// folder (the baseline). Also the choice of an image's file when the name it
// prefers holds a sparse 5 GB file, beside one holding a 1 KB file (both end
// with the image's hashed name). Each side takes its
// turn in every round; medians of the rounds with their ratios.

#include "core/FileSystem.h"
#include "core/ImageReferences.h"
#include "model/AppModel.h"
#include "model/VaultAccess.h"
#include "panel/CaptureView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <climits>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Samples.h"

using namespace quillor;
using quillor::bench::Clock;

namespace {

constexpr int rounds = 21;
constexpr int keystrokesPerRound = 20;
constexpr qint64 sparseSize = qint64(5) << 30;

bool write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(path.section(u'/', 0, -2));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray settingsWithFolder(const QString& folder)
{
    return R"({"attachmentFolderPath": ")" + folder.toUtf8() + "\"}";
}

// A capture view on a real model whose one destination is `vault`.
struct CaptureSession {
    QTemporaryDir data;
    VaultAccess access{false};
    std::unique_ptr<AppModel> model;
    std::unique_ptr<CaptureView> view;
    int typed = 0;

    explicit CaptureSession(const QString& vault)
    {
        Preferences preferences;
        preferences.destinations = {Destination(QUuid::createUuid(), QStringLiteral("Notes"), QStringLiteral("n"),
                                                vault, DeliveryMode::newNote, QStringLiteral("Inbox"),
                                                QStringLiteral("Attachments"))};
        preferences.ensureDefaultDestination();
        write(data.path() + QStringLiteral("/preferences.json"), preferences.encode());
        model = std::make_unique<AppModel>(data.path(), access);
        view = std::make_unique<CaptureView>(*model);
        view->resize(480, 320);
        view->show();
        QCoreApplication::processEvents();
    }
    // One more letter, up to the painted frame.
    void keystroke()
    {
        ++typed;
        model->updateContent(EditorContent::plain(QString(typed, u'a')));
        QCoreApplication::processEvents();
        view->repaint();
    }
};

struct Vault {
    std::string name;
    QString path;
    std::unique_ptr<CaptureSession> session;
};

// The vaults of the comparison, the plain folder first.
std::vector<Vault> makeVaults(const QString& root)
{
    std::vector<Vault> vaults;
    const auto add = [&](const std::string& name, const QString& folder, const std::optional<QByteArray>& settings) {
        QDir().mkpath(root + u'/' + folder);
        if (settings)
            write(root + u'/' + folder + QStringLiteral("/.obsidian/app.json"), *settings);
        vaults.push_back({name, root + u'/' + folder, nullptr});
    };
    add("plain folder (baseline)", QStringLiteral("Plain"), std::nullopt);
    add("Obsidian, \"/\"", QStringLiteral("Root"), settingsWithFolder(QStringLiteral("/")));
    add("Obsidian, 900 KB app.json", QStringLiteral("Large"),
        settingsWithFolder(QStringLiteral("Assets")).chopped(1) + R"(, "padding": ")"
            + QByteArray(900 * 1024, 'x') + "\"}");
    add("Obsidian, 5 GB sparse app.json", QStringLiteral("Sparse"), QByteArray());
    QFile::resize(root + QStringLiteral("/Sparse/.obsidian/app.json"), sparseSize);
    const qsizetype room = (PATH_MAX - 1 - (root.size() + 6)) / 2;
    const QString deepest = QStringList(room, QStringLiteral("a")).join(u'/');
    add("Obsidian, deepest folder (made)", QStringLiteral("Deep"), settingsWithFolder(deepest));
    const QString tooDeep = QStringList(2500, QStringLiteral("a")).join(u'/');
    add("Obsidian, 2,500 components (made)", QStringLiteral("Deeper"), settingsWithFolder(tooDeep));
    for (const QString& folder : {QStringLiteral("Deep"), QStringLiteral("Deeper")}) {
        try {
            FileSystem::createDirectories(root + u'/' + folder + u'/' + tooDeep);
        } catch (const Error&) {
            // Stops where the system does, as a delivery would have.
        }
    }
    return vaults;
}

void keystrokes(const QString& root, bench::Samples& samples)
{
    std::vector<Vault> vaults = makeVaults(root);
    for (Vault& vault : vaults)
        vault.session = std::make_unique<CaptureSession>(vault.path);
    for (int round = 0; round < rounds; ++round) {
        for (Vault& vault : vaults) {
            const auto start = Clock::now();
            for (int i = 0; i < keystrokesPerRound; ++i)
                vault.session->keystroke();
            samples.record(vault.name, start);
        }
    }
    std::printf("a keystroke up to its painted frame, medians of %d rounds of %d keystrokes\n", rounds, keystrokesPerRound);
    const double baseline = samples.median(vaults.front().name) / keystrokesPerRound;
    for (const Vault& vault : vaults) {
        const double each = samples.median(vault.name) / keystrokesPerRound;
        std::printf("  %-36s %8.3f ms  %6.2f×\n", vault.name.c_str(), each * 1000, baseline > 0 ? each / baseline : 0);
    }
}

void imageChoice(const QString& root, bench::Samples& samples)
{
    const QString vault = root + QStringLiteral("/Images");
    write(vault + QStringLiteral("/Attachments/small.png"), QByteArray(1024, 's'));
    write(vault + QStringLiteral("/Attachments/huge.png"), {});
    QFile::resize(vault + QStringLiteral("/Attachments/huge.png"), sparseSize);
    const CaptureAttachment image(QUuid::createUuid(), QByteArray(200 * 1024, 'i'), QStringLiteral("png"));
    const std::pair<std::string, QString> sides[] = {
        {"name holding a 1 KB file (baseline)", QStringLiteral("Attachments/small.png")},
        {"name holding a 5 GB file", QStringLiteral("Attachments/huge.png")},
    };
    for (int round = 0; round < rounds; ++round) {
        for (const auto& [name, preferred] : sides) {
            const auto start = Clock::now();
            ImageReferences::resolve(image, vault, QStringLiteral("Attachments"), preferred);
            samples.record(name, start);
        }
    }
    std::printf("choosing a 200 KB image's file at delivery, medians of %d rounds\n", rounds);
    const double baseline = samples.median(sides[0].first);
    for (const auto& [name, preferred] : sides) {
        const double each = samples.median(name);
        std::printf("  %-36s %8.3f ms  %6.2f×\n", name.c_str(), each * 1000, baseline > 0 ? each / baseline : 0);
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir root;
    bench::Samples samples;
    keystrokes(QDir(root.path()).canonicalPath(), samples);
    imageChoice(QDir(root.path()).canonicalPath(), samples);
    return 0;
}
