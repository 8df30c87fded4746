// What the completion list and a list drag cost the capture editor.
//
// "[[" typed in a capture view over a model that indexed a synthetic vault of
// 100,000 notes (the vault of vault_index_bench): from the key to the
// suggestions window shown and painted with its first page, beside the
// model's own share (computing the rows) and a plain keystroke in the same
// view. And one move of a list drag over the mixed 20,000-character capture
// (the plan, the drop indicator and the repaint) beside a bare repaint of
// the same editor. Medians of 20 runs each, measured in one run.

#include "editing/EditorLayout.h"
#include "editing/ListSyntax.h"
#include "editor/CaptureTextView.h"
#include "model/AppModel.h"
#include "model/Preferences.h"
#include "model/VaultAccess.h"
#include "panel/CaptureView.h"

#include "Median.h"
#include "MeanTimes.h"
#include "MixedCapture.h"
#include "SyntheticVault.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

using namespace quillor;

namespace {

constexpr int notes = 100000;
constexpr int runs = 20;

std::map<std::string, std::vector<double>> samples;

double median(const std::string& name)
{
    return quillor::bench::median(samples[name]);
}

void settle()
{
    QCoreApplication::processEvents();
}

// A shown capture view over a model whose one destination is the synthetic
// vault, once the model has indexed it.
struct CaptureBench {
    QTemporaryDir data;
    VaultAccess access{false};
    std::unique_ptr<AppModel> model;
    std::unique_ptr<CaptureView> view;

    explicit CaptureBench(const QString& vault)
    {
        Preferences preferences;
        preferences.destinations = {Destination(QUuid::createUuid(), QStringLiteral("Notes"), QStringLiteral("n"),
                                                vault, DeliveryMode::newNote, QStringLiteral("Inbox"),
                                                QStringLiteral("Attachments"))};
        preferences.ensureDefaultDestination();
        QFile file(data.filePath(QStringLiteral("preferences.json")));
        file.open(QIODevice::WriteOnly);
        file.write(preferences.encode());
        file.close();
        model = std::make_unique<AppModel>(data.path(), access);
        model->refreshIndex(true);
        const QDeadlineTimer deadline(std::chrono::minutes(5));
        while (model->indexCount() < notes && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        view = std::make_unique<CaptureView>(*model);
        view->resize(480, 320);
        view->show();
        view->activateWindow();
        QApplication::setActiveWindow(view.get());
        settle();
    }

    CaptureTextView& editor() const { return *view->editor(); }

    void start(const QString& text, qsizetype caret)
    {
        editor().dismissAuxiliaryWindows();
        editor().setContent(EditorContent::plain(text));
        editor().setSelectionRange(TextRange{caret, 0});
        editor().setFocus();
        settle();
    }

    void type(Qt::Key key, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&editor(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&editor(), &release);
        settle();
    }
};

// Made on first use, gone before the application.
std::unique_ptr<bench::SyntheticVault> vault;
std::unique_ptr<CaptureBench> captureBench;

CaptureBench& capture()
{
    if (!captureBench) {
        vault = std::make_unique<bench::SyntheticVault>(notes, false);
        captureBench = std::make_unique<CaptureBench>(vault->path());
    }
    return *captureBench;
}

// Times one step per iteration into `name`, the preparation left out.
template <typename Prepare, typename Step>
void measure(benchmark::State& state, const std::string& name, Prepare prepare, Step step)
{
    for (auto _ : state) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        step();
        const double seconds = double(timer.nsecsElapsed()) * 1e-9;
        state.SetIterationTime(seconds);
        samples[name].push_back(seconds);
    }
}

void suggestionsShown(benchmark::State& state)
{
    CaptureBench& bench = capture();
    measure(
        state, "suggestions", [&] { bench.start(QStringLiteral("[]"), 1); },
        [&] {
            bench.type(Qt::Key_BracketLeft, QStringLiteral("["));
            if (QWidget* panel = bench.editor().suggestionsPanel(); panel && panel->isVisible())
                panel->repaint();
        });
    if (!bench.editor().suggestionsPanel() || !bench.editor().suggestionsPanel()->isVisible())
        state.SkipWithError("no suggestions shown");
}

void modelShare(benchmark::State& state)
{
    CaptureBench& bench = capture();
    measure(
        state, "model",
        [&] {
            bench.start(QStringLiteral("[[]]"), 2);
            // Away from the link: the list the view asked for is freed
            // before the clock runs, as the key's own list found none.
            bench.model->suggestions(TextRange{0, 0});
        },
        [&] { bench.model->suggestions(TextRange{2, 0}); });
}

void plainKeystroke(benchmark::State& state)
{
    CaptureBench& bench = capture();
    measure(
        state, "keystroke", [&] { bench.start(QStringLiteral("abc"), 3); },
        [&] { bench.type(Qt::Key_X, QStringLiteral("x")); });
}

// The mixed capture in a shown editor, its first item's handle pressed and
// dragged past the threshold.
struct DragBench {
    CaptureTextView view;
    QPointF handle;

    DragBench()
    {
        view.resize(480, 600);
        view.show();
        view.setContent(EditorContent::plain(bench::mixedCapture()));
        view.setSelectionRange(TextRange{0, 0});
        view.refreshPresentation();
        settle();
        const ListSyntax::Item first = ListSyntax::items(view.text()).first();
        handle = EditorLayout::listHandleRect(view.markerRect(TextRange{first.marker.location, 1})).center()
                 - QPointF(0, view.verticalScrollBar()->value());
    }

    void send(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, at, view.viewport()->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(view.viewport(), &event);
    }
};

void dragMove(benchmark::State& state)
{
    DragBench bench;
    bench.send(QEvent::MouseButtonPress, bench.handle, Qt::LeftButton, Qt::LeftButton);
    bench.send(QEvent::MouseMove, bench.handle + QPointF(0, 10), Qt::NoButton, Qt::LeftButton);
    int step = 0;
    measure(
        state, "drag", [] {},
        [&] {
            // Down and up over the next lines, so that the drop point moves.
            const qreal y = 20 + 25 * (step++ % 12);
            bench.send(QEvent::MouseMove, bench.handle + QPointF(step % 2 ? 30 : 0, y), Qt::NoButton, Qt::LeftButton);
        });
    if (!bench.view.listDropY())
        state.SkipWithError("no drag under way");
    bench.send(QEvent::MouseButtonRelease, bench.handle, Qt::LeftButton, Qt::NoButton);
}

void bareRepaint(benchmark::State& state)
{
    DragBench bench;
    measure(state, "repaint", [] {}, [&] { bench.view.viewport()->repaint(); });
}

BENCHMARK(plainKeystroke)->Iterations(runs)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(suggestionsShown)->Iterations(runs)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(modelShare)->Iterations(runs)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(bareRepaint)->Iterations(runs)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(dragMove)->Iterations(runs)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    bench::MeanTimes times;
    const bool ran = bench::runBenchmarks(argc, argv, times);
    captureBench.reset();
    if (!ran)
        return 1;

    const double suggestions = median("suggestions");
    const double model = median("model");
    const double keystroke = median("keystroke");
    if (suggestions > 0 && keystroke > 0)
        std::printf("\"[[\" with %d notes: %.2f ms to the shown first page (target 16), of which the model %.2f ms "
                    "(%.0f%%); %.1f× a plain keystroke (%.2f ms)\n",
                    notes, suggestions * 1e3, model * 1e3, 100 * model / suggestions, suggestions / keystroke,
                    keystroke * 1e3);
    else
        std::printf("\"[[\": not measured\n");
    const double drag = median("drag");
    const double repaint = median("repaint");
    if (drag > 0 && repaint > 0)
        std::printf("list drag over the mixed capture: %.2f ms a move (target 16); %.1f× a bare repaint (%.2f ms)\n",
                    drag * 1e3, drag / repaint, repaint * 1e3);
    else
        std::printf("list drag: not measured\n");
    return 0;
}
