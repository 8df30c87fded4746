// The settings window's history and search, offscreen, in one run: opening
// the history section over 10,000 archived captures (a tenth with a backup)
// and its reload after a new delivery, against reading the archive alone; one
// keystroke in the search field while typing "raccourci clavier"; a switch
// between the shortcut and guide sections. Prints the medians and the ratios;
// the aims are at most 1.3× the archive for the history and under 16 ms (one
// frame) for the others.
#include "core/CaptureArchive.h"
#include "core/DeliveryReceipt.h"
#include "core/Json.h"
#include "model/AppModel.h"
#include "model/VaultAccess.h"
#include "settings/HistorySettingsPage.h"
#include "settings/HistoryView.h"
#include "settings/SettingsForm.h"
#include "settings/SettingsNavigation.h"
#include "settings/SettingsView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include "MeanTimes.h"
#include "Samples.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace quillor;
using quillor::bench::Clock;

constexpr int archived = 10'000;

quillor::bench::Samples samples;

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// A data directory holding `count` delivered captures, with the settings
// window on it.
struct Workspace {
    QTemporaryDir root;
    QString data = root.filePath(QStringLiteral("Data"));
    QString notes = root.filePath(QStringLiteral("Notes"));
    VaultAccess access{false};
    std::unique_ptr<AppModel> model;
    SettingsNavigation navigation;
    QWidget window;
    SettingsView* view = nullptr;
    int delivered = 0;

    explicit Workspace(int count)
    {
        for (const QString& folder : {QStringLiteral("History"), QStringLiteral("Receipts"), QStringLiteral("Backups")})
            QDir().mkpath(data + u'/' + folder);
        QDir().mkpath(notes);
        for (int i = 0; i < count; ++i)
            deliver();
        model = std::make_unique<AppModel>(data, access);
        auto* layout = new QVBoxLayout(&window);
        view = new SettingsView(*model, navigation, {});
        layout->addWidget(view);
        window.resize(1000, 700);
        window.show();
        QCoreApplication::processEvents();
    }

    void deliver()
    {
        const int i = delivered++;
        const Capture capture(QUuid::createUuid(), ReferenceDate{700'000'000.0 + i},
                              QStringLiteral("Capture %1 : une idée notée en passant, avec assez de texte pour remplir "
                                             "deux lignes de la liste de l’historique.")
                                  .arg(i),
                              {}, {});
        const QString id = Json::uuidText(capture.id);
        const QString note = notes + QStringLiteral("/Note %1.md").arg(i);
        write(note, "# Note\n");
        write(data + QStringLiteral("/History/") + id + QStringLiteral(".json"), Json::serialize(capture.toJson()));
        const DeliveryReceipt receipt{id, note, QStringLiteral("2026-01-02T10:00:00Z"), QStringLiteral("Carnet")};
        write(data + QStringLiteral("/Receipts/") + id + QStringLiteral(".json"), Json::serialize(receipt.toJson()));
        if (i % 10 == 0)
            write(data + QStringLiteral("/Backups/") + id + QStringLiteral(".md"), "# Avant\n");
    }

    HistoryView* history() const
    {
        auto* page = qobject_cast<HistorySettingsPage*>(view->form()->page());
        return page ? page->history() : nullptr;
    }
};

// The three measures in turn, so a busy machine slows them alike.
void history(benchmark::State& state)
{
    Workspace workspace(archived);
    for (auto _ : state) {
        auto start = Clock::now();
        const qsizetype listed = CaptureArchive{workspace.data}.entries().size();
        benchmark::DoNotOptimize(listed);
        const double archive = samples.record("archive", start);

        start = Clock::now();
        workspace.navigation.setSection(SettingsSection::history);
        QCoreApplication::processEvents();
        const double open = samples.record("open", start);

        workspace.deliver();
        start = Clock::now();
        workspace.history()->reload();
        QCoreApplication::processEvents();
        const double reload = samples.record("reload", start);

        workspace.navigation.setSection(SettingsSection::about);
        QCoreApplication::processEvents();
        state.SetIterationTime(archive + open + reload);
    }
}

void searchKeystroke(benchmark::State& state)
{
    Workspace workspace(0);
    QLineEdit* search = workspace.view->searchField();
    search->setFocus();
    const QString query = QStringLiteral("raccourci clavier");
    int next = 0;
    for (auto _ : state) {
        if (next == query.size()) {
            state.PauseTiming();
            workspace.navigation.setQuery(QString());
            QCoreApplication::processEvents();
            next = 0;
            state.ResumeTiming();
        }
        const QString letter = query.mid(next++, 1);
        const auto start = Clock::now();
        QKeyEvent press(QEvent::KeyPress, letter == QLatin1String(" ") ? Qt::Key_Space : Qt::Key_A, Qt::NoModifier,
                        letter);
        QCoreApplication::sendEvent(search, &press);
        QCoreApplication::processEvents();
        state.SetIterationTime(samples.record("search", start));
    }
}

void referenceSwitch(benchmark::State& state)
{
    Workspace workspace(0);
    bool toGuide = true;
    for (auto _ : state) {
        const auto start = Clock::now();
        workspace.navigation.setSection(toGuide ? SettingsSection::guide : SettingsSection::shortcuts);
        QCoreApplication::processEvents();
        state.SetIterationTime(samples.record("reference", start));
        toGuide = !toGuide;
    }
}

BENCHMARK(history)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(searchKeystroke)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(68);
BENCHMARK(referenceSwitch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    quillor::bench::MeanTimes times;
    if (!quillor::bench::runBenchmarks(argc, argv, times))
        return 1;
    const double archive = samples.median("archive");
    const double open = samples.median("open");
    const double reload = samples.median("reload");
    std::printf("archive entries, %d captures   median %.2f ms\n", archived, archive * 1000);
    std::printf("history section opening           median %.2f ms (%.2f× the archive; aim ≤ 1.3×)\n", open * 1000,
                archive > 0 ? open / archive : 0.0);
    std::printf("history reload after a delivery   median %.2f ms (%.2f× the archive; aim ≤ 1.3×)\n", reload * 1000,
                archive > 0 ? reload / archive : 0.0);
    std::printf("search keystroke                  median %.2f ms (aim < 16 ms)\n", samples.median("search") * 1000);
    std::printf("shortcuts / guide switch          median %.2f ms (aim < 16 ms)\n",
                samples.median("reference") * 1000);
    return 0;
}
