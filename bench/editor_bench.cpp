// The capture editor as the program runs it (a model attached, saving the
// draft and offering completions, the view painted after each key) against a
// plain QTextEdit holding the same text and painted the same way, in the same
// run. Each keystroke types "x" in the middle of the text or deletes it again;
// each paste puts a long text into an empty editor with Ctrl+V. Prints the
// median of each side and their ratio: the aim is at most 3 times the plain
// editor (1.2 times on a single line of 1 MB, where Qt's own layout is the
// cost), and a keystroke under 4 ms on 5,000 lines.
#include "editing/GlyphPresentation.h"
#include "editing/MarkdownAnalysis.h"
#include "editing/MarkdownDecorations.h"
#include "editor/CaptureEditor.h"
#include "editor/CaptureTextView.h"
#include "model/AppModel.h"
#include "model/VaultAccess.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextEdit>

#include "MixedCapture.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Median.h"

namespace {

using namespace quillor;

using bench::mixedCapture;

// The texts the editors hold, and what each may cost beside the plain editor.
struct Sample {
    std::string name;
    std::function<QString()> make;
    double aim = 3;
    double seconds = 2;   // measured at least this long, for a stable median
};

QString mixedLines(int lines)
{
    QString text = mixedCapture(200 * lines);
    qsizetype end = -1;
    for (int line = 0; line < lines; ++line)
        end = text.indexOf(u'\n', end + 1);
    return text.left(end);
}

// About 1 MB of a server's log: 9,400 lines of a little over 100 characters.
QString megabyteLog()
{
    QString text;
    text.reserve(1'000'100);
    for (int line = 0; text.size() < 1'000'000; ++line) {
        text += QStringLiteral("2026-12-07 05:%1:%2.%3 INFO  [worker-%4] GET /api/notes?id=%5&tag=#suivi took %6 ms "
                               "(cache %7)\n")
                    .arg(line / 600 % 60, 2, 10, QLatin1Char('0'))
                    .arg(line / 10 % 60, 2, 10, QLatin1Char('0'))
                    .arg(line % 1000, 3, 10, QLatin1Char('0'))
                    .arg(line % 8)
                    .arg(line * 7919 % 100000)
                    .arg(line % 97)
                    .arg(line % 3 ? QStringLiteral("hit") : QStringLiteral("miss"));
    }
    return text;
}

QString megabyteLine()
{
    QString text;
    text.reserve(1'000'100);
    while (text.size() < 1'000'000)
        text += QStringLiteral("une ligne sans fin de mots ordinaires, ");
    return text.left(1'000'000);
}

const std::vector<Sample>& keystrokeSamples()
{
    static const std::vector<Sample> samples{
        {"20,000 characters", [] { return mixedCapture(20'000); }},
        {"100,000 characters", [] { return mixedCapture(100'000); }},
        {"5,000 lines", [] { return mixedLines(5000); }},
        {"1 MB log", megabyteLog},
        {"1 MB single line", megabyteLine, 1.2, 10},
    };
    return samples;
}

const std::vector<Sample>& pasteSamples()
{
    static const std::vector<Sample> samples{
        {"5,000 lines", [] { return mixedLines(5000); }},
        {"1 MB log", megabyteLog},
    };
    return samples;
}

// Each measured step, in seconds, by what was measured and which side.
struct Times {
    std::vector<double> plain;
    std::vector<double> editor;
};
std::map<std::string, Times> keystrokes;
std::map<std::string, Times> pastes;
std::vector<double> editingRuleTimes;

// The capture editor with a model of its own, as the panel holds it.
struct ModelEditor {
    QTemporaryDir data;
    VaultAccess access{false};
    AppModel model{data.path(), access};
    QWidget host;
    CaptureEditor editor{model, &host};
    CaptureTextView& view = *editor.textView();

    ModelEditor()
    {
        host.resize(480, 600);
        view.resize(480, 600);
        host.show();
        QCoreApplication::processEvents();
    }
    void setText(const QString& text)
    {
        model.updateContent(EditorContent::plain(text));
        view.setContent(model.content());
    }
};

struct PlainEditor {
    QTextEdit edit;

    PlainEditor()
    {
        edit.setAcceptRichText(false);
        edit.resize(480, 600);
        edit.show();
        QCoreApplication::processEvents();
    }
    void setText(const QString& text) { edit.setPlainText(text); }
};

void placeCaret(QTextEdit& edit, qsizetype position)
{
    QTextCursor caret = edit.textCursor();
    caret.setPosition(int(position));
    edit.setTextCursor(caret);
    edit.ensureCursorVisible();
    QCoreApplication::processEvents();
}

// A key sent as the window system would, the viewport painted at once, and
// the document's size known, as the scroll bars need it; in seconds.
double timedKey(QTextEdit& edit, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    const auto start = std::chrono::steady_clock::now();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(&edit, &press);
    edit.viewport()->repaint();
    benchmark::DoNotOptimize(edit.document()->documentLayout()->documentSize());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // What the event loop does between keys (timers, queued work) is not the key's.
    QCoreApplication::processEvents();
    return seconds;
}

double keystroke(QTextEdit& edit, bool typed)
{
    return typed ? timedKey(edit, Qt::Key_Backspace, Qt::NoModifier, QString())
                 : timedKey(edit, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
}

// Both editors take their keystrokes in turn, so that a busy machine slows
// them alike and the ratio holds.
void keystrokesInTurn(benchmark::State& state, const Sample& sample)
{
    const QString text = sample.make();
    // A word of a plain sentence in the middle of the text.
    const qsizetype sentence = text.indexOf(QStringLiteral("prises"), text.size() / 2);
    const qsizetype caret = sentence >= 0 ? sentence : text.indexOf(u' ', text.size() / 2) + 1;
    PlainEditor plain;
    plain.setText(text);
    ModelEditor view;
    view.setText(text);
    placeCaret(plain.edit, caret);
    placeCaret(view.view, caret);
    Times& times = keystrokes[sample.name];
    bool typed = false;
    for (auto _ : state) {
        times.plain.push_back(keystroke(plain.edit, typed));
        times.editor.push_back(keystroke(view.view, typed));
        state.SetIterationTime(times.plain.back() + times.editor.back());
        typed = !typed;
    }
}

// Ctrl+V of the sample into an empty editor, in turn; each editor is emptied
// again, untimed, after each paste.
void pastesInTurn(benchmark::State& state, const Sample& sample)
{
    const QString text = sample.make();
    PlainEditor plain;
    ModelEditor view;
    Times& times = pastes[sample.name];
    for (auto _ : state) {
        QApplication::clipboard()->setText(text);
        plain.edit.setFocus();
        times.plain.push_back(timedKey(plain.edit, Qt::Key_V, Qt::ControlModifier, QString()));
        view.view.setFocus();
        times.editor.push_back(timedKey(view.view, Qt::Key_V, Qt::ControlModifier, QString()));
        state.SetIterationTime(times.plain.back() + times.editor.back());
        if (view.view.text().size() != text.size() || plain.edit.document()->characterCount() != text.size() + 1)
            state.SkipWithError("the paste did not reach an editor");
        plain.setText(QString());
        view.setText(QString());
        QCoreApplication::processEvents();
    }
}

// The part of the pass the editing rules take for one keystroke: the text's
// analysis carried over the edit, then the concealment and decorations for
// the caret.
void editingRules(benchmark::State& state)
{
    const QString capture = mixedCapture();
    const qsizetype caret = capture.indexOf(QStringLiteral("prises"), 10000);
    QString typed = capture;
    typed.insert(caret, u'x');
    MarkdownLayoutManager layoutManager;
    MarkdownGlyphPresentation glyphs;
    MarkdownAnalysis analysis = MarkdownAnalysis::of(capture);
    bool isTyped = false;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        isTyped = !isTyped;
        const QString& text = isTyped ? typed : capture;
        analysis = MarkdownAnalysis::afterEdit(std::move(analysis), text, caret, isTyped ? 0 : 1, isTyped ? 1 : 0);
        glyphs.update(&layoutManager, text, analysis, {TextRange{caret + (isTyped ? 1 : 0), 0}}, false);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        editingRuleTimes.push_back(seconds);
    }
}

void registerBenchmarks()
{
    benchmark::RegisterBenchmark("editingRules/20,000 characters", editingRules)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
    for (const Sample& sample : keystrokeSamples()) {
        benchmark::RegisterBenchmark(("keystroke/" + sample.name).c_str(), keystrokesInTurn, sample)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->MinTime(sample.seconds);
    }
    for (const Sample& sample : pasteSamples()) {
        benchmark::RegisterBenchmark(("paste/" + sample.name).c_str(), pastesInTurn, sample)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
    }
}

using quillor::bench::median;

void printRatios(const char* what, const std::vector<Sample>& samples, std::map<std::string, Times>& measured)
{
    for (const Sample& sample : samples) {
        const auto found = measured.find(sample.name);
        if (found == measured.end())
            continue;
        const double plain = median(found->second.plain);
        const double editor = median(found->second.editor);
        std::printf("%-9s %-19s plain QTextEdit %9.3f ms   CaptureTextView %9.3f ms   %5.2f× (aim ≤ %.1f×)\n", what,
                    sample.name.c_str(), plain * 1000, editor * 1000, plain > 0 ? editor / plain : 0.0, sample.aim);
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    registerBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nMedians, each side painted after each key (aim for a keystroke on 5,000 lines: < 4 ms)\n");
    printRatios("keystroke", keystrokeSamples(), keystrokes);
    printRatios("paste", pasteSamples(), pastes);
    if (!editingRuleTimes.empty())
        std::printf("the editing rules' analysis and concealment of one keystroke on 20,000 characters: %.3f ms\n",
                    median(editingRuleTimes) * 1000);
    return 0;
}
