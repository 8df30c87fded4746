// The settings window, offscreen, in one run: its first opening against the
// opening of a bare QWidget window of the same size, a switch between two
// sections, and one keystroke in a destination's alias field with thirty
// destinations listed. Prints the medians and the ratio; the aims are under
// 100 ms for the first opening and under 16 ms (one frame) for the others.
#include "model/AppModel.h"
#include "model/VaultAccess.h"
#include "settings/DestinationRow.h"
#include "settings/DestinationsSettingsPage.h"
#include "settings/SettingsForm.h"
#include "settings/SettingsNavigation.h"
#include "settings/SettingsView.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
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

quillor::bench::Samples samples;

// A data directory whose settings hold `count` destinations, each on a
// folder of its own.
struct Workspace {
    QTemporaryDir root;
    VaultAccess access{false};
    std::unique_ptr<AppModel> model;

    explicit Workspace(int count)
    {
        Preferences preferences;
        preferences.destinations.clear();
        preferences.automaticallyCheckUpdates = false;
        for (int i = 0; i < count; ++i) {
            const QString vault = root.filePath(QStringLiteral("Vault%1").arg(i));
            QDir().mkpath(vault);
            preferences.destinations.append(Destination(QUuid::createUuid(), QStringLiteral("Carnet %1").arg(i),
                                                        QString(), vault, DeliveryMode::newNote,
                                                        QStringLiteral("Inbox"), QStringLiteral("Attachments")));
        }
        preferences.ensureDefaultDestination();
        const QString data = root.filePath(QStringLiteral("Data"));
        QDir().mkpath(data);
        preferences.save(data + QStringLiteral("/preferences.json"));
        model = std::make_unique<AppModel>(data, access);
    }
};

// A window shown and laid out, as the first frame needs it.
void showAndLayOut(QWidget& window)
{
    window.resize(1000, 700);
    window.show();
    QCoreApplication::processEvents();
}

// Both windows open in turn, so a busy machine slows them alike.
void firstOpening(benchmark::State& state)
{
    Workspace workspace(3);
    for (auto _ : state) {
        auto start = Clock::now();
        double bare = 0, settings = 0;
        {
            QWidget window;
            showAndLayOut(window);
            bare = samples.record("bare", start);
        }
        start = Clock::now();
        {
            SettingsNavigation navigation;
            QWidget window;
            auto* layout = new QVBoxLayout(&window);
            layout->setContentsMargins(0, 0, 0, 0);
            layout->addWidget(new SettingsView(*workspace.model, navigation, {}));
            showAndLayOut(window);
            settings = samples.record("settings", start);
        }
        state.SetIterationTime(bare + settings);
    }
}

void sectionSwitch(benchmark::State& state)
{
    Workspace workspace(3);
    SettingsNavigation navigation;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new SettingsView(*workspace.model, navigation, {}));
    showAndLayOut(window);
    bool toDestinations = true;
    for (auto _ : state) {
        const auto start = Clock::now();
        navigation.setSection(toDestinations ? SettingsSection::destinations : SettingsSection::general);
        QCoreApplication::processEvents();
        state.SetIterationTime(samples.record("switch", start));
        toDestinations = !toDestinations;
    }
}

void aliasKeystroke(benchmark::State& state)
{
    Workspace workspace(30);
    SettingsNavigation navigation;
    navigation.setSection(SettingsSection::destinations);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* view = new SettingsView(*workspace.model, navigation, {});
    layout->addWidget(view);
    showAndLayOut(window);
    auto* page = qobject_cast<DestinationsSettingsPage*>(view->form()->page());
    QLineEdit* alias = page->rows().first()->aliasField();
    if (!page->rows().first()->content()->isVisible())
        page->rows().first()->header()->click();
    alias->setFocus();
    QCoreApplication::processEvents();
    bool typed = false;
    for (auto _ : state) {
        const auto start = Clock::now();
        QKeyEvent press(QEvent::KeyPress, typed ? Qt::Key_Backspace : Qt::Key_X, Qt::NoModifier,
                        typed ? QString() : QStringLiteral("x"));
        QCoreApplication::sendEvent(alias, &press);
        QCoreApplication::processEvents();
        state.SetIterationTime(samples.record("alias", start));
        typed = !typed;
    }
}

BENCHMARK(firstOpening)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(sectionSwitch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(aliasKeystroke)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(60);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    quillor::bench::MeanTimes times;
    if (!quillor::bench::runBenchmarks(argc, argv, times))
        return 1;
    const double bare = samples.median("bare");
    const double settings = samples.median("settings");
    std::printf("bare QWidget window opening   median %.2f ms\n", bare * 1000);
    std::printf("settings window first opening median %.2f ms (%.1f× the bare window; aim < 100 ms)\n",
                settings * 1000, bare > 0 ? settings / bare : 0.0);
    std::printf("section switch                median %.2f ms (aim < 16 ms)\n", samples.median("switch") * 1000);
    std::printf("alias keystroke, 30 rows      median %.2f ms (aim < 16 ms)\n", samples.median("alias") * 1000);
    return 0;
}
