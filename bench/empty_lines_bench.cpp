// Opening a draft of many empty lines (1,000,000 line feeds by default, 1 MB)
// in the real panel (model start-up, the panel built, shown and painted, and
// whatever work it left for the event loop) beside a plain QTextEdit given
// the same text, shown and painted, each in a process of its own so that the
// peak memory of one is not the other's. They alternate in the same run.
//
// Two moments are measured. The painted frame: a plain QTextEdit shows the
// top of the text and leaves the rest of its layout for later, chunk by chunk
// on a timer, while the panel shows the caret at the end and so lays the
// whole text out first. Then a key typed as soon as the text shows: the time
// it lands, and the time and peak memory once the GUI thread is free, Qt's
// deferred layout of the plain QTextEdit included. Prints the medians and
// their ratios (aim: at most 1.5× the time and 2× the memory), the ratios to
// a plain QTextEdit whose caret is shown at the end of the text as the
// panel's is, and those of the panel shown only once the draft is read, as
// when the hot key comes later.
//
//   empty_lines_bench [rounds] [lines]
#include "core/Capture.h"
#include "core/Json.h"
#include "model/AppModel.h"
#include "model/VaultAccess.h"
#include "editor/CaptureTextView.h"
#include "panel/CaptureView.h"
#include "shell/CapturePanel.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QThread>
#include <QTimer>

#include "DraftFile.h"
#include "Median.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace quillor;
using Clock = std::chrono::steady_clock;

double secondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// A field of /proc/self/status in kB.
long statusKilobytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0)
            return std::stol(line.substr(field.size() + 1));
    }
    return 0;
}

// Runs the event loop until the frame is painted and the work queued for
// right after it (posted events, queued calls) is done, and returns when
// that work ended. Qt's own lazy layout of a plain QTextEdit, on a timer a
// chunk at a time, is not waited for here.
Clock::time_point settled()
{
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
    for (int round = 0; round < 100; ++round)
        QCoreApplication::sendPostedEvents();
    return Clock::now();
}

double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Types one key into `editor` and runs the event loop until it is in
// `document`; returns when it landed.
Clock::time_point keyLanded(QWidget& editor, const QTextDocument& document)
{
    const int before = document.characterCount();
    QCoreApplication::postEvent(&editor, new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x")));
    QCoreApplication::postEvent(&editor,
                                new QKeyEvent(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x")));
    while (document.characterCount() == before)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return Clock::now();
}

// Runs the event loop until the GUI thread has spent under a tenth of a
// second's time working for a whole second, and returns when it last worked;
// gives up after `limit`.
Clock::time_point freeAgain(std::chrono::seconds limit)
{
    using namespace std::chrono_literals;
    const auto start = Clock::now();
    auto lastBusy = start;
    double lastCpu = threadSeconds();
    auto lastTick = start;
    QTimer tick;
    tick.start(100);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        const double cpu = threadSeconds();
        if (cpu - lastCpu > 0.1 * std::chrono::duration<double>(now - lastTick).count())
            lastBusy = now;
        lastCpu = cpu;
        lastTick = now;
    });
    while (Clock::now() - lastBusy < 1s && Clock::now() - start < limit)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return lastBusy;
}

QString emptyLines(int count)
{
    return QString(count, u'\n');
}

struct Figures {
    double seconds = 0;
    double peakMegabytes = 0;
    double grownMegabytes = 0;
    double keySeconds = 0;
    double freeSeconds = 0;
    double freePeakMegabytes = 0;
};

void report(Clock::time_point start, long residentBefore, QWidget& editor, const QTextDocument& document)
{
    using namespace std::chrono_literals;
    const auto painted = settled();
    const long peak = statusKilobytes("VmHWM");
    const auto key = keyLanded(editor, document);
    const auto free = freeAgain(60s);
    std::printf("%.6f %ld %ld %.6f %.6f %ld\n", secondsBetween(start, painted), peak, peak - residentBefore,
                secondsBetween(start, key), secondsBetween(start, free), statusKilobytes("VmHWM"));
    std::fflush(stdout);
}

enum class PlainUse { keyAtTop, keyAtEnd };

// With `keyAtEnd`, the caret is put at the end of the text and shown, as the
// panel shows a draft: Qt lays the whole text out to place it.
int openInPlainEditor(int lines, PlainUse use)
{
    const QString text = emptyLines(lines);
    const long before = statusKilobytes("VmRSS");
    const auto start = Clock::now();
    QTextEdit plain;
    plain.setAcceptRichText(false);
    plain.resize(480, 560);
    plain.setPlainText(text);
    plain.show();
    plain.repaint();
    if (use == PlainUse::keyAtEnd) {
        plain.moveCursor(QTextCursor::End);
        plain.repaint();
    }
    report(start, before, plain, *plain.document());
    return 0;
}

// `shownAfterRead`: the draft is read while the panel is hidden, the panel
// prepared for its first showing, then shown, as when the hot key comes
// after the read; otherwise the panel shows while the draft is read.
int openInPanel(const QString& data, bool shownAfterRead)
{
    const long before = statusKilobytes("VmRSS");
    const auto start = Clock::now();
    VaultAccess access{false};
    // As the program starts: the panel is there, and shown, when the draft
    // read on a worker thread arrives.
    AppModelEnvironment environment;
    environment.readsDraftInBackground = true;
    AppModel model{data, access, environment};
    bool read = false;
    QObject::connect(&model, &AppModel::draftReadFinished, [&read] { read = true; });
    CapturePanel panel{model};
    const auto waitForRead = [&read] {
        while (!read)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    };
    if (shownAfterRead) {
        waitForRead();
        panel.prepareFirstShowing();
    }
    panel.captureScreen = QRectF(panel.screen()->availableGeometry());
    panel.setFrame(QRectF(100, 100, 480, 560));
    panel.show();
    panel.repaint();
    waitForRead();
    panel.repaint();
    CaptureTextView& editor = *panel.captureView()->editor();
    report(start, before, editor, *editor.document());
    return 0;
}

std::optional<Figures> measured(const QStringList& arguments)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(600'000) || child.exitCode() != 0)
        return std::nullopt;
    const QStringList fields = QString::fromUtf8(child.readAllStandardOutput()).trimmed().split(u' ');
    if (fields.size() != 6)
        return std::nullopt;
    return Figures{fields[0].toDouble(), fields[1].toDouble() / 1024, fields[2].toDouble() / 1024,
                   fields[3].toDouble(),   fields[4].toDouble(),        fields[5].toDouble() / 1024};
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--plain"))
        return openInPlainEditor(arguments[2].toInt(), PlainUse::keyAtTop);
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--plain-at-end"))
        return openInPlainEditor(arguments[2].toInt(), PlainUse::keyAtEnd);
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--panel"))
        return openInPanel(arguments[3], false);
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--panel-after-read"))
        return openInPanel(arguments[3], true);

    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int lines = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1'000'000;
    QTemporaryDir data;
    bench::writeDraft(data.path(), emptyLines(lines));

    std::vector<Figures> plain;
    std::vector<Figures> plainAtEnd;
    std::vector<Figures> panel;
    std::vector<Figures> panelAfterRead;
    for (int round = 0; round < rounds; ++round) {
        const QString count = QString::number(lines);
        const auto plainFigures = measured({QStringLiteral("--plain"), count, data.path()});
        const auto atEndFigures = measured({QStringLiteral("--plain-at-end"), count, data.path()});
        const auto panelFigures = measured({QStringLiteral("--panel"), count, data.path()});
        const auto afterReadFigures = measured({QStringLiteral("--panel-after-read"), count, data.path()});
        if (!plainFigures || !atEndFigures || !panelFigures || !afterReadFigures) {
            std::fprintf(stderr, "a measuring process failed\n");
            return 1;
        }
        plain.push_back(*plainFigures);
        plainAtEnd.push_back(*atEndFigures);
        panel.push_back(*panelFigures);
        panelAfterRead.push_back(*afterReadFigures);
    }

    const auto median = [](const std::vector<Figures>& figures, double Figures::*field) {
        std::vector<double> values;
        for (const Figures& figure : figures)
            values.push_back(figure.*field);
        return bench::median(values);
    };
    const auto ratio = [&](const std::vector<Figures>& figures, double Figures::*field) {
        return median(figures, field) / median(plain, field);
    };
    const auto row = [&](const char* what, double Figures::*field, double scale, const char* unit, const char* aim) {
        std::printf("  %-38s plain QTextEdit %8.1f %s   capture panel %8.1f %s   %5.2f×%s\n", what,
                    median(plain, field) * scale, unit, median(panel, field) * scale, unit, ratio(panel, field), aim);
    };
    std::printf("%d empty lines, median of %d\n", lines, rounds);
    std::printf(" at the painted frame\n");
    row("time", &Figures::seconds, 1000, "ms", "");
    row("peak resident memory", &Figures::peakMegabytes, 1, "MB", "");
    row("grown while opening", &Figures::grownMegabytes, 1, "MB", "");
    std::printf(" a key typed as soon as the text shows\n");
    row("time until it lands", &Figures::keySeconds, 1000, "ms", " (aim ≤ 1.5×)");
    row("time until the GUI thread is free", &Figures::freeSeconds, 1000, "ms", "");
    row("peak resident memory by then", &Figures::freePeakMegabytes, 1, "MB", " (aim ≤ 2×)");
    // What the panel cannot do without: Qt laying out the whole text to show
    // the caret at its end.
    std::printf(" beside a plain QTextEdit with its caret shown at the end: painted frame %5.2f×, key %5.2f×,"
                " peak memory %5.2f×\n",
                median(panel, &Figures::seconds) / median(plainAtEnd, &Figures::seconds),
                median(panel, &Figures::keySeconds) / median(plainAtEnd, &Figures::keySeconds),
                median(panel, &Figures::freePeakMegabytes) / median(plainAtEnd, &Figures::freePeakMegabytes));
    std::printf(" the panel shown once the draft is read: painted frame %5.2f×, key %5.2f×, peak memory %5.2f×"
                " the plain QTextEdit\n",
                ratio(panelAfterRead, &Figures::seconds), ratio(panelAfterRead, &Figures::keySeconds),
                ratio(panelAfterRead, &Figures::freePeakMegabytes));
    return 0;
}
