// What the capture panel draws beyond the text, against a baseline measured in
// the same run:
// - a caret blink in the capture editor repaints the caret's own pixels: the
//   share of the viewport one blink repaints (aim: under 5 %);
// - one step of a panel drag (the snapping, the move, the guides redrawn and
//   painted) against the same window move without snapping or guides, median
//   over 200 moves (aim: under one frame, 16 ms).
#include "editor/CaptureTextView.h"
#include "model/AppModel.h"
#include "model/VaultAccess.h"
#include "shell/CaptureDragHandle.h"
#include "shell/CapturePanel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTextCursor>

#include "MeanTimes.h"
#include "Median.h"
#include "MixedCapture.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace quillor;
using Clock = std::chrono::steady_clock;

std::map<std::string, std::vector<double>> samples;

using quillor::bench::median;

double seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Adds up the area each paint event of a widget covers.
class PaintedArea : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            for (const QRect& rect : static_cast<QPaintEvent*>(event)->region())
                area += qint64(rect.width()) * rect.height();
            ++paints;
        }
        return false;
    }
    qint64 area = 0;
    int paints = 0;
};

template <typename Done>
void spinUntil(const Done& done, int milliseconds = 1000)
{
    const auto start = Clock::now();
    while (!done() && seconds(start) * 1000 < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Each iteration waits for one blink and measures what it repainted.
void caretBlink(benchmark::State& state)
{
    QGuiApplication::styleHints()->setCursorFlashTime(40);
    CaptureTextView view;
    view.setContent(EditorContent::plain(bench::mixedCapture()));
    view.resize(480, 600);
    view.show();
    view.activateWindow();
    view.setFocus();
    spinUntil([&] { return view.hasFocus(); });
    QTextCursor caret = view.textCursor();
    caret.setPosition(200);
    view.setTextCursor(caret);
    spinUntil([] { return false; }, 100);
    PaintedArea painted;
    view.viewport()->installEventFilter(&painted);
    const double viewport = double(view.viewport()->width()) * view.viewport()->height();
    for (auto _ : state) {
        painted.area = 0;
        painted.paints = 0;
        spinUntil([&] { return painted.paints > 0; });
        samples["blinkShare"].push_back(double(painted.area) / viewport);
    }
    view.viewport()->removeEventFilter(&painted);
}

// A model on an empty data folder, and its panel on screen.
struct ShownPanel {
    QTemporaryDir data;
    VaultAccess access{false};
    AppModel model{data.path(), access};
    CapturePanel panel{model};

    ShownPanel()
    {
        panel.captureScreen = QRectF(panel.screen()->availableGeometry());
        panel.setFrame(QRectF(100, 100, 480, 120));
        panel.show();
        spinUntil([] { return false; }, 100);
    }
};

// The pointer's path: back and forth across the screen's middle and across
// its upper quarter line, so that snapping comes and goes.
QPointF step(int index)
{
    return QPointF(200 + (index * 7) % 240, 60 + (index * 3) % 90);
}

constexpr int moves = 200;

void dragStep(benchmark::State& state)
{
    ShownPanel shown;
    auto* handle = shown.panel.findChild<CaptureDragHandle*>();
    const QPointF start = handle->mapToGlobal(QPointF(2, 2));
    const auto send = [&](QEvent::Type type, QPointF global, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(2, 2), global, Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(handle, &event);
    };
    for (auto _ : state) {
        send(QEvent::MouseButtonPress, start, Qt::LeftButton);
        for (int i = 0; i < moves; ++i) {
            const auto begun = Clock::now();
            send(QEvent::MouseMove, start + step(i), Qt::LeftButton);
            QCoreApplication::processEvents();   // the guides paint
            samples["withGuides"].push_back(seconds(begun));
        }
        send(QEvent::MouseButtonRelease, start + step(moves), Qt::NoButton);
        QCoreApplication::processEvents();
    }
}

void plainMoveStep(benchmark::State& state)
{
    ShownPanel shown;
    const QPoint origin = shown.panel.pos();
    for (auto _ : state) {
        for (int i = 0; i < moves; ++i) {
            const auto begun = Clock::now();
            shown.panel.move(origin + step(i).toPoint());
            QCoreApplication::processEvents();
            samples["plainMove"].push_back(seconds(begun));
        }
    }
}

BENCHMARK(caretBlink)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(plainMoveStep)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(dragStep)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    bench::MeanTimes times;
    if (!bench::runBenchmarks(argc, argv, times))
        return 1;
    const std::vector<double>& shares = samples["blinkShare"];
    std::printf("caret blink repaints         at most %.2f %% of the viewport (median %.2f %%; aim < 5 %%)\n",
                shares.empty() ? 0.0 : *std::max_element(shares.begin(), shares.end()) * 100,
                median(shares) * 100);
    const double plain = median(samples["plainMove"]);
    const double dragged = median(samples["withGuides"]);
    std::printf("window move step             median %.3f ms\n", plain * 1000);
    std::printf("drag step with guides        median %.3f ms (%.1f× the plain move; aim < 16 ms)\n", dragged * 1000,
                plain > 0 ? dragged / plain : 0.0);
    // The guides are drawn again only when the line snapped to changes.
    const std::vector<double>& steps = samples["withGuides"];
    std::printf("  slowest step, a snap that redraws the guides: %.3f ms\n",
                steps.empty() ? 0.0 : *std::max_element(steps.begin(), steps.end()) * 1000);
    return 0;
}
