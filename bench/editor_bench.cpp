// The capture editor as the program runs it (a model attached, saving the
// draft and offering completions) against a plain QTextEdit holding the same
// text, in the same run, each timed from the key to its painted frame: the
// work the key queued done and what it marked for repainting painted. Each
// keystroke types "x" in the middle or at the end of the text, or deletes it
// again; each paste puts a long text into an empty editor with Ctrl+V; each
// erasure deletes the whole selected text with Backspace. Prints the median of
// each side and their ratio: the aim is at most 1.5 times the plain editor for
// a keystroke (1.2 times on a single line of 1 MB, where Qt's own layout is
// the cost) and under 4 ms on 5,000 lines, 2 times for a paste, 3 times for
// an erasure.
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
    double aim = 1.5;
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

// The end of a text falls anywhere between two of the layout's checkpoints
// (one every 2,000 px): a key there moves every paragraph since the last one
// again, in both editors, so that one length measures where its end happens
// to fall as much as the key. These lengths, a screen of text in steps of 25
// characters, measure the key wherever the end falls.
const std::vector<Sample>& endSweepSamples()
{
    static const std::vector<Sample> samples = [] {
        std::vector<Sample> result;
        for (int less = 0; less < 450; less += 25)
            result.push_back({"20,000 characters less " + std::to_string(less),
                              [less] { return mixedCapture(20'000 - less); }, 1.5, 0.5});
        return result;
    }();
    return samples;
}

const std::vector<Sample>& pasteSamples()
{
    static const std::vector<Sample> samples{
        {"5,000 lines", [] { return mixedLines(5000); }, 2},
        {"1 MB log", megabyteLog, 2},
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
std::map<std::string, Times> erasures;
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
    // Laid out to the end, as it is once its layout timer has run: typed into
    // before, an edit in the middle marks the layout finished with the rest
    // of the text never laid out, and each key then moves empty paragraphs.
    void setText(const QString& text)
    {
        edit.setPlainText(text);
        edit.document()->documentLayout()->documentSize();
    }
};

void placeCaret(QTextEdit& edit, qsizetype position)
{
    QTextCursor caret = edit.textCursor();
    caret.setPosition(int(position));
    edit.setTextCursor(caret);
    edit.ensureCursorVisible();
    QCoreApplication::processEvents();
}

// What follows a key before the user sees its effect: the work it queued
// (the deferred styling pass) and the repaint of what it marked, as the event
// loop runs them, and the document's size, as the scroll bars need it.
void untilPainted(QTextEdit& edit)
{
    // Work queued by queued work waits for the next round.
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
    benchmark::DoNotOptimize(edit.document()->documentLayout()->documentSize());
}

// A key sent as the window system would, timed up to its painted frame; in
// seconds.
double timedKey(QTextEdit& edit, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    const auto start = std::chrono::steady_clock::now();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(&edit, &press);
    untilPainted(edit);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // What the event loop does between keys (timers) is not the key's.
    QCoreApplication::processEvents();
    return seconds;
}

double keystroke(QTextEdit& edit, bool typed)
{
    return typed ? timedKey(edit, Qt::Key_Backspace, Qt::NoModifier, QString())
                 : timedKey(edit, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
}

// Where the keys are typed: a word of a plain sentence in the middle of the
// text, or after its last character.
enum class Caret { middle, end };

qsizetype caretIn(const QString& text, Caret caret)
{
    if (caret == Caret::end)
        return text.size();
    const qsizetype sentence = text.indexOf(QStringLiteral("prises"), text.size() / 2);
    return sentence >= 0 ? sentence : text.indexOf(u' ', text.size() / 2) + 1;
}

std::string keystrokeName(const Sample& sample, Caret caret)
{
    return sample.name + (caret == Caret::end ? ", at the end" : ", in the middle");
}

// Both editors take their keystrokes in turn, so that a busy machine slows
// them alike and the ratio holds. Both have the focus, as the panel's editor
// has: the caret is painted too.
void keystrokesInTurn(benchmark::State& state, const Sample& sample, Caret where)
{
    const QString text = sample.make();
    const qsizetype caret = caretIn(text, where);
    PlainEditor plain;
    plain.setText(text);
    ModelEditor view;
    view.setText(text);
    placeCaret(plain.edit, caret);
    placeCaret(view.view, caret);
    Times& times = keystrokes[keystrokeName(sample, where)];
    bool typed = false;
    for (auto _ : state) {
        plain.edit.setFocus();
        times.plain.push_back(keystroke(plain.edit, typed));
        view.view.setFocus();
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

// Ctrl+A then Backspace, both timed, in turn; each editor gets the text back,
// untimed, before each erasure.
void erasuresInTurn(benchmark::State& state, const Sample& sample)
{
    const QString text = sample.make();
    PlainEditor plain;
    ModelEditor view;
    Times& times = erasures[sample.name];
    const auto erase = [](QTextEdit& edit) {
        edit.setFocus();
        return timedKey(edit, Qt::Key_A, Qt::ControlModifier, QString())
               + timedKey(edit, Qt::Key_Backspace, Qt::NoModifier, QString());
    };
    for (auto _ : state) {
        plain.setText(text);
        view.setText(text);
        QCoreApplication::processEvents();
        times.plain.push_back(erase(plain.edit));
        times.editor.push_back(erase(view.view));
        state.SetIterationTime(times.plain.back() + times.editor.back());
        if (!view.view.text().isEmpty() || !plain.edit.document()->isEmpty())
            state.SkipWithError("the text was not erased");
    }
}

const std::vector<Sample>& erasureSamples()
{
    static const std::vector<Sample> samples{
        {"1 MB capture", [] { return mixedCapture(1'000'000); }, 3},
        {"1 MB log", megabyteLog, 3},
    };
    return samples;
}

// The part of the pass the editing rules take for one keystroke: the text's
// analysis carried over the edit, then the concealment and decorations for
// the caret, decided again around the edit as the editor does.
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
        glyphs.update(&layoutManager, text, analysis, {TextRange{caret + (isTyped ? 1 : 0), 0}}, false,
                      TextChange{caret, isTyped ? 0 : 1, isTyped ? 1 : 0});
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
        for (const Caret caret : {Caret::middle, Caret::end}) {
            benchmark::RegisterBenchmark(("keystroke/" + keystrokeName(sample, caret)).c_str(), keystrokesInTurn,
                                         sample, caret)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond)
                ->MinTime(sample.seconds);
        }
    }
    for (const Sample& sample : endSweepSamples()) {
        benchmark::RegisterBenchmark(("keystroke sweep/" + keystrokeName(sample, Caret::end)).c_str(),
                                     keystrokesInTurn, sample, Caret::end)
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
    for (const Sample& sample : erasureSamples()) {
        benchmark::RegisterBenchmark(("erase/" + sample.name).c_str(), erasuresInTurn, sample)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
    }
}

using quillor::bench::median;

// Each measured name with what it may cost beside the plain editor.
using Aims = std::vector<std::pair<std::string, double>>;

Aims keystrokeAims()
{
    Aims aims;
    for (const Sample& sample : keystrokeSamples()) {
        for (const Caret caret : {Caret::middle, Caret::end})
            aims.emplace_back(keystrokeName(sample, caret), sample.aim);
    }
    return aims;
}

Aims aimsOf(const std::vector<Sample>& samples)
{
    Aims aims;
    for (const Sample& sample : samples)
        aims.emplace_back(sample.name, sample.aim);
    return aims;
}

void printRatios(const char* what, const Aims& aims, std::map<std::string, Times>& measured)
{
    for (const auto& [name, aim] : aims) {
        const auto found = measured.find(name);
        if (found == measured.end())
            continue;
        const double plain = median(found->second.plain);
        const double editor = median(found->second.editor);
        std::printf("%-9s %-35s plain QTextEdit %9.3f ms   CaptureTextView %9.3f ms   %5.2f× (aim ≤ %.1f×)\n", what,
                    name.c_str(), plain * 1000, editor * 1000, plain > 0 ? editor / plain : 0.0, aim);
    }
}

void printEndSweep()
{
    std::vector<double> ratios;
    for (const Sample& sample : endSweepSamples()) {
        const auto found = keystrokes.find(keystrokeName(sample, Caret::end));
        if (found != keystrokes.end())
            ratios.push_back(median(found->second.editor) / median(found->second.plain));
    }
    if (ratios.empty())
        return;
    const auto [least, most] = std::minmax_element(ratios.begin(), ratios.end());
    std::printf("keystroke 20,000 characters, at the end of %zu lengths down to 19,575: median %.2f× (%.2f× to %.2f×)\n",
                ratios.size(), median(ratios), *least, *most);
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
    std::printf("\nMedians, each side timed to its painted frame (aim for a keystroke on 5,000 lines: < 4 ms)\n");
    printRatios("keystroke", keystrokeAims(), keystrokes);
    printEndSweep();
    printRatios("paste", aimsOf(pasteSamples()), pastes);
    printRatios("erase", aimsOf(erasureSamples()), erasures);
    if (!editingRuleTimes.empty())
        std::printf("the editing rules' analysis and concealment of one keystroke on 20,000 characters: %.3f ms\n",
                    median(editingRuleTimes) * 1000);
    return 0;
}
