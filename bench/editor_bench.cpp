// One keystroke in the capture editor on a 20,000-character capture of mixed
// Markdown (the key event, the styling pass, the layout of what changed),
// against the same keystroke in a plain QTextEdit holding the same text,
// measured in the same run. Prints the median of each and their ratio; the
// aim is at most 3 times the plain editor and under 4 ms.
#include "editing/GlyphPresentation.h"
#include "editing/MarkdownAnalysis.h"
#include "editing/MarkdownDecorations.h"
#include "editor/CaptureTextView.h"
#include "editor/PresentationFormats.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextEdit>

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

using bench::mixedCapture;

// Each measured keystroke, in seconds, by benchmark.
std::map<std::string, std::vector<double>> keystrokes;

qsizetype caretPosition()
{
    return mixedCapture().indexOf(QStringLiteral("prises"), 10000);
}

// The caret inside a plain sentence in the middle of the capture.
void prepare(QTextEdit& edit)
{
    edit.resize(480, 600);
    edit.show();
    QTextCursor caret = edit.textCursor();
    caret.setPosition(int(caretPosition()));
    edit.setTextCursor(caret);
    QCoreApplication::processEvents();
}

// Types "x" or deletes it again, so that the text keeps its size; in seconds.
double keystroke(QTextEdit& edit, bool typed)
{
    const auto start = std::chrono::steady_clock::now();
    QKeyEvent press(QEvent::KeyPress, typed ? Qt::Key_Backspace : Qt::Key_X, Qt::NoModifier,
                    typed ? QString() : QStringLiteral("x"));
    QCoreApplication::sendEvent(&edit, &press);
    // The layout the next paint would need.
    const QTextBlock block = edit.textCursor().block();
    benchmark::DoNotOptimize(edit.document()->documentLayout()->blockBoundingRect(block));
    benchmark::DoNotOptimize(edit.document()->documentLayout()->documentSize());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Both editors take their keystrokes in turn, so that a busy machine slows
// them alike and the ratio holds.
void keystrokesInTurn(benchmark::State& state)
{
    QTextEdit plain;
    plain.setAcceptRichText(false);
    plain.setPlainText(mixedCapture());
    CaptureTextView view;
    view.setContent(EditorContent::plain(mixedCapture()));
    prepare(plain);
    prepare(view);
    std::vector<double>& plainTimes = keystrokes["plainTextEdit"];
    std::vector<double>& viewTimes = keystrokes["captureTextView"];
    bool typed = false;
    for (auto _ : state) {
        plainTimes.push_back(keystroke(plain, typed));
        viewTimes.push_back(keystroke(view, typed));
        state.SetIterationTime(plainTimes.back() + viewTimes.back());
        typed = !typed;
    }
}

// The part of the pass the editing rules take for one keystroke: the text's
// analysis carried over the edit, then the concealment and decorations for
// the caret.
void editingRules(benchmark::State& state)
{
    const QString capture = mixedCapture();
    const qsizetype caret = caretPosition();
    QString typed = capture;
    typed.insert(caret, u'x');
    MarkdownLayoutManager layoutManager;
    MarkdownGlyphPresentation glyphs;
    MarkdownAnalysis analysis = MarkdownAnalysis::of(capture);
    std::vector<double>& times = keystrokes["editingRules"];
    bool isTyped = false;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        isTyped = !isTyped;
        const QString& text = isTyped ? typed : capture;
        analysis = MarkdownAnalysis::afterEdit(std::move(analysis), text, caret, isTyped ? 0 : 1, isTyped ? 1 : 0);
        glyphs.update(&layoutManager, text, analysis, {TextRange{caret + (isTyped ? 1 : 0), 0}}, false);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        times.push_back(seconds);
    }
}

BENCHMARK(editingRules)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(keystrokesInTurn)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(4.0);

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double plain = median(keystrokes["plainTextEdit"]);
    const double editor = median(keystrokes["captureTextView"]);
    std::printf("plain QTextEdit keystroke   median %.3f ms\n", plain * 1000);
    std::printf("CaptureTextView keystroke   median %.3f ms (%.1f× the plain editor; aim ≤ 3× and < 4 ms)\n",
                editor * 1000, plain > 0 ? editor / plain : 0.0);
    std::printf("  of which the editing rules' analysis and concealment: median %.3f ms\n",
                median(keystrokes["editingRules"]) * 1000);
    return 0;
}
