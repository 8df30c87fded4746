// Typing into the real capture panel (its model, chrome, destination button,
// notice and fitting to the text) whose destination is a folder of an
// Obsidian vault, beside a plain QTextEdit window, in turn, in the same run:
//   - a key at the end of a 20,000-character capture, timed to its painted
//     frame (aim: at most 1.5 times the plain editor);
//   - a key in the middle of a 1 MB Markdown capture, just after a list
//     marker (each key turns the item into plain text and back), inside a
//     plain word and inside a word of a line holding code, timed to its painted frame (aim: at most 1.5 times);
//   - a key and a backtick inside a word of a line holding code spans, and a
//     key in a fenced block, in a 1 MB capture made of code (aim: at most 1.5 times);
//   - a paste of 5,000 lines into an empty editor, timed to its painted frame
//     with the panel grown to the text (aim: at most 2 times);
//   - the file-system calls an ordinary key makes on the UI thread (aim: none),
//     counted by running this program again under strace between two marker
//     calls; skipped when strace is missing.
//
//   panel_typing_bench [rounds] [large|code]
// ("large": the keys in the 1 MB captures only, to run under a profiler;
// "code": those in the capture made of code only)
#include "editor/CaptureTextView.h"
#include "model/AppModel.h"
#include "model/VaultAccess.h"
#include "shell/CapturePanel.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>

#include "Median.h"
#include "MixedCapture.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <vector>

namespace {

using namespace quillor;
using Clock = std::chrono::steady_clock;

const char* const countingMode = "--count-file-calls";
const char* const beginMarker = "/quillor-panel-typing-bench/keys-begin";
const char* const endMarker = "/quillor-panel-typing-bench/keys-end";

// The work a key queued and the repaint, as the event loop runs them.
void untilPainted()
{
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
}

double timedKey(QWidget& target, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    const auto start = Clock::now();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(&target, &press);
    untilPainted();
    if (auto* plain = qobject_cast<QTextEdit*>(&target))
        plain->document()->documentLayout()->documentSize();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    // What the event loop does between keys (timers) is not the key's.
    QCoreApplication::processEvents();
    return seconds;
}

// 5,000 lines of the mixed capture.
QString mixedLines(int lines)
{
    QString text;
    while (text.count(u'\n') < lines)
        text += bench::mixedCapture(20'000);
    qsizetype end = -1;
    for (int line = 0; line < lines; ++line)
        end = text.indexOf(u'\n', end + 1);
    return text.left(end);
}

// A vault with its ".obsidian" folder, the destination a folder of it, and a
// second destination to route to.
void writeSettings(const QString& data, const QString& vault)
{
    QDir().mkpath(data);
    QDir().mkpath(vault + QStringLiteral("/.obsidian"));
    QDir().mkpath(vault + QStringLiteral("/Projets/Inbox"));
    const QString first = QStringLiteral("0B5E8C1D-2F3A-4B6C-9D7E-8F9A0B1C2D3E");
    const QString second = QStringLiteral("1C6F9D2E-3A4B-5C7D-8E9F-0A1B2C3D4E5F");
    const QString destination = QStringLiteral(
        R"({"id":"%1","name":"%2","alias":"%3","vaultPath":"%4","mode":"newNote","path":"Inbox",)"
        R"("attachmentFolder":"Attachments/Quillor"})");
    QFile file(data + QStringLiteral("/preferences.json"));
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(QStringLiteral(R"({"destinations":[%1,%2],"defaultDestinationID":"%3","language":"fr",)"
                              R"("automaticallyCheckUpdates":false,"routePrefix":"@","hotkeyCode":49,)"
                              R"("hotkeyModifiers":4096,"hotkeyDisplay":"⌃Space","attachmentSettingsVersion":1})")
                   .arg(destination.arg(first, QStringLiteral("Inbox"), QStringLiteral("inbox"),
                                        vault + QStringLiteral("/Projets")),
                        destination.arg(second, QStringLiteral("Aide"), QStringLiteral("aide"), vault), first)
                   .toUtf8());
}

// The panel on a model of its own, in a scratch data folder and vault.
struct Panel {
    QTemporaryDir scratch;
    bool settingsWritten = [this] {
        writeSettings(scratch.filePath(QStringLiteral("data")), scratch.filePath(QStringLiteral("Vault")));
        return true;
    }();
    VaultAccess access{false};
    AppModel model{scratch.filePath(QStringLiteral("data")), access};
    CapturePanel panel{model};
    CaptureTextView* view = nullptr;

    Panel()
    {
        panel.captureScreen = QRectF(panel.screen()->availableGeometry());
        panel.setFrame(QRectF(100, 100, 480, 300));
        panel.show();
        untilPainted();
        view = panel.findChild<CaptureTextView*>();
    }
    void setText(const QString& text)
    {
        model.updateContent(EditorContent::plain(text));
        view->setContent(model.content());
        view->moveCursor(QTextCursor::End);
        untilPainted();
    }
};

struct Plain {
    QTextEdit edit;
    Plain()
    {
        edit.setAcceptRichText(false);
        edit.resize(480, 600);
        edit.show();
        untilPainted();
    }
    // Laid out to the end, as it is once its layout timer has run.
    void setText(const QString& text)
    {
        edit.setPlainText(text);
        edit.document()->documentLayout()->documentSize();
        edit.moveCursor(QTextCursor::End);
        untilPainted();
    }
};

void printRatio(const char* what, const std::vector<double>& plain, const std::vector<double>& panel, double aim)
{
    const double plainMedian = bench::median(plain);
    const double panelMedian = bench::median(panel);
    std::printf("%-44s plain QTextEdit %8.3f ms   capture panel %8.3f ms   %5.2f× (aim ≤ %.1f×)\n", what,
                plainMedian * 1000, panelMedian * 1000, panelMedian / plainMedian, aim);
}

void measureEndKeys(Plain& plain, Panel& panel, int rounds)
{
    const QString capture = bench::mixedCapture(20'000);
    plain.setText(capture);
    panel.setText(capture);
    std::vector<double> plainKeys;
    std::vector<double> panelKeys;
    for (int key = 0; key < 40 * rounds; ++key) {
        const bool erase = key % 2 == 1;
        const Qt::Key code = erase ? Qt::Key_Backspace : Qt::Key_X;
        const QString text = erase ? QString() : QStringLiteral("x");
        plain.edit.setFocus();
        plainKeys.push_back(timedKey(plain.edit, code, Qt::NoModifier, text));
        panel.view->setFocus();
        panelKeys.push_back(timedKey(*panel.view, code, Qt::NoModifier, text));
    }
    printRatio("key at the end of 20,000 characters", plainKeys, panelKeys, 1.5);
}

// A key at a place of a large capture, and the key that undoes it: "x" and
// Backspace, a backtick and Backspace, or Return at the end of a list item
// (a new item) and Ctrl+Z.
struct Place {
    enum Key { Letter, Backtick, NewItem };
    const char* what;
    qsizetype caret;
    Key key = Letter;
};

void measureKeysAt(Plain& plain, Panel& panel, int rounds, const QString& large, std::initializer_list<Place> places)
{
    plain.setText(large);
    panel.setText(large);
    for (const Place& place : places) {
        for (QTextEdit* edit : {&plain.edit, static_cast<QTextEdit*>(panel.view)}) {
            QTextCursor caret = edit->textCursor();
            caret.setPosition(int(place.caret));
            edit->setTextCursor(caret);
            edit->ensureCursorVisible();
            untilPainted();
        }
        std::vector<double> plainMiddle;
        std::vector<double> panelMiddle;
        for (int key = 0; key < 20 * rounds; ++key) {
            const bool erase = key % 2 == 1;
            Qt::Key code = erase ? Qt::Key_Backspace : Qt::Key_X;
            Qt::KeyboardModifiers modifiers = Qt::NoModifier;
            QString text = erase ? QString() : QStringLiteral("x");
            if (place.key == Place::NewItem) {
                code = erase ? Qt::Key_Z : Qt::Key_Return;
                modifiers = erase ? Qt::ControlModifier : Qt::NoModifier;
                text = erase ? QString() : QStringLiteral("\r");
            } else if (place.key == Place::Backtick && !erase) {
                code = Qt::Key_QuoteLeft;
                text = QStringLiteral("`");
            }
            plain.edit.setFocus();
            plainMiddle.push_back(timedKey(plain.edit, code, modifiers, text));
            panel.view->setFocus();
            panelMiddle.push_back(timedKey(*panel.view, code, modifiers, text));
        }
        printRatio(place.what, plainMiddle, panelMiddle, 1.5);
        if (panel.view->text() != large)
            std::fprintf(stderr, "the keys did not leave the panel's text as it was\n");
    }
}

void measureLargeCaptureKeys(Plain& plain, Panel& panel, int rounds)
{
    // The middle of a large capture: what a key changes there moves every
    // paragraph below it.
    const QString large = bench::mixedCapture(1'000'000);
    const qsizetype middle = large.size() / 2;
    measureKeysAt(plain, panel, rounds, large,
                  {
                      {"key after a list marker, 1 MB", large.indexOf(QStringLiteral("\n- [ ] relire"), middle) + 2},
                      {"key inside a word, 1 MB", large.indexOf(QStringLiteral("prises"), middle) + 2},
                      {"key inside a word beside code, 1 MB", large.indexOf(QStringLiteral("relire la `"), middle) + 2},
                      {"Return after a list item, 1 MB", large.indexOf(QStringLiteral("==\n"), middle) + 2,
                       Place::NewItem},
                      {"key at the end, 1 MB", large.size()},
                  });
}

// A large capture made of code: every line holds code spans, and a fenced
// block follows every few lines. A key in a line holding code has the code
// read again; a backtick pairs the spans after it anew.
void measureCodeCaptureKeys(Plain& plain, Panel& panel, int rounds)
{
    const QString block = QStringLiteral(
        "## Étape `build`\n"
        "Lancer `cmake -S . -B build` puis `ctest -R editor` et lire `build/log.txt`.\n"
        "```sh\ncmake --build build --target `quillor_editor_tests` ~/src\n```\n"
        "- [ ] vérifier `setContent` et `afterEdit` avec `git diff`\n\n");
    QString large;
    while (large.size() < 1'000'000)
        large += block;
    const qsizetype middle = large.size() / 2;
    const qsizetype line = large.indexOf(QStringLiteral("` puis `"), middle) + 4;
    measureKeysAt(plain, panel, rounds, large,
                  {
                      {"key inside a word beside code, 1 MB of code", line},
                      {"backtick inside a word, 1 MB of code", line, Place::Backtick},
                      {"key in a fenced block, 1 MB of code", large.indexOf(QStringLiteral("--target"), middle) + 4},
                  });
}

void measurePastes(Plain& plain, Panel& panel, int rounds)
{
    const QString lines = mixedLines(5000);
    std::vector<double> plainPastes;
    std::vector<double> panelPastes;
    for (int round = 0; round < rounds; ++round) {
        plain.setText(QString());
        panel.setText(QString());
        QApplication::clipboard()->setText(lines);
        plain.edit.setFocus();
        plainPastes.push_back(timedKey(plain.edit, Qt::Key_V, Qt::ControlModifier, QString()));
        panel.view->setFocus();
        panelPastes.push_back(timedKey(*panel.view, Qt::Key_V, Qt::ControlModifier, QString()));
        if (panel.view->text().size() != lines.size()) {
            std::fprintf(stderr, "the paste did not reach the panel\n");
            return;
        }
    }
    printRatio("paste of 5,000 lines", plainPastes, panelPastes, 2.0);
}

void measureTimes(int rounds, bool largeOnly, bool codeOnly)
{
    Plain plain;
    Panel panel;
    if (!largeOnly && !codeOnly)
        measureEndKeys(plain, panel, rounds);
    if (!codeOnly)
        measureLargeCaptureKeys(plain, panel, rounds);
    measureCodeCaptureKeys(plain, panel, rounds);
    if (!largeOnly && !codeOnly)
        measurePastes(plain, panel, rounds);
}

// Run under strace: ordinary keys at the end of the capture between two
// marker calls, which strace shows with the UI thread's id.
int typeBetweenMarkers(int keys)
{
    Panel panel;
    panel.setText(bench::mixedCapture(20'000));
    panel.view->setFocus();
    // The first keys load what typing needs once (fonts, input method).
    for (int key = 0; key < 4; ++key)
        timedKey(*panel.view, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    ::access(beginMarker, F_OK);
    for (int key = 0; key < keys; ++key)
        timedKey(*panel.view, Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
    ::access(endMarker, F_OK);
    return 0;
}

void countFileCalls(const QString& self, int keys)
{
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    if (strace.isEmpty()) {
        std::printf("file-system calls per key: not counted (strace missing)\n");
        return;
    }
    QTemporaryDir scratch;
    const QString log = scratch.filePath(QStringLiteral("strace.log"));
    QProcess run;
    run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    run.start(strace, {QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-e"),
                       QStringLiteral("trace=%file,getdents64"), QStringLiteral("-o"), log, self,
                       QString::fromLatin1(countingMode), QString::number(keys)});
    if (!run.waitForFinished(120'000) || run.exitCode() != 0) {
        std::printf("file-system calls per key: not counted (the run under strace failed)\n");
        return;
    }
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QString uiThread;
    bool inside = false;
    std::map<QString, int> uiCalls;
    int otherThreads = 0;
    // Each line: the thread's id, spaces, the call's name and its arguments.
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString text = QString::fromUtf8(raw);
        const qsizetype space = text.indexOf(u' ');
        const qsizetype parenthesis = text.indexOf(u'(');
        // A call that another thread's interrupted is shown again as resumed.
        if (space <= 0 || parenthesis <= space || text.contains(QLatin1String("resumed>")))
            continue;
        const QString thread = text.left(space);
        const QString call = text.mid(space, parenthesis - space).trimmed();
        if (text.contains(QLatin1String(beginMarker))) {
            uiThread = thread;
            inside = true;
            continue;
        }
        if (text.contains(QLatin1String(endMarker)))
            break;
        if (!inside)
            continue;
        if (thread == uiThread)
            ++uiCalls[call];
        else
            ++otherThreads;
    }
    int total = 0;
    QString byName;
    for (const auto& [name, count] : uiCalls) {
        total += count;
        byName += QStringLiteral(" %1 %2").arg(name).arg(double(count) / keys, 0, 'g', 3);
    }
    std::printf("file-system calls per ordinary key on the UI thread: %.2f (aim: 0)%s; on other threads: %.2f\n",
                double(total) / keys, qPrintable(byName), double(otherThreads) / keys);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc > 2 && qstrcmp(argv[1], countingMode) == 0)
        return typeBetweenMarkers(std::max(1, std::atoi(argv[2])));
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const bool largeOnly = argc > 2 && qstrcmp(argv[2], "large") == 0;
    const bool codeOnly = argc > 2 && qstrcmp(argv[2], "code") == 0;
    measureTimes(rounds, largeOnly, codeOnly);
    if (!largeOnly && !codeOnly)
        countFileCalls(QCoreApplication::applicationFilePath(), 20);
    return 0;
}
