// Opening a draft of many empty lines (1,000,000 line feeds by default, 1 MB)
// in the real panel (model start-up, the panel built, shown and painted, and
// whatever work it left for the event loop) beside a plain QTextEdit given
// the same text, shown and painted, each in a process of its own so that the
// peak memory of one is not the other's. The two alternate in the same run.
// Prints the medians of the time to the settled, painted frame and of the
// peak resident memory (VmHWM), with their ratios (aim: at most 1.5× the time
// and 2× the memory), the memory each grew by while opening, and the ratios
// to a plain QTextEdit whose caret is then shown at the end of the text, as
// the panel shows it. Also the panel shown only once the draft is read, as
// when the hot key comes later.
//
//   empty_lines_bench [rounds] [lines]
#include "core/Capture.h"
#include "core/Json.h"
#include "model/AppModel.h"
#include "model/VaultAccess.h"
#include "shell/CapturePanel.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QThread>

#include "Median.h"

#include <chrono>
#include <cstdio>
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
// chunk at a time, is not waited for.
Clock::time_point settled()
{
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
    for (int round = 0; round < 100; ++round)
        QCoreApplication::sendPostedEvents();
    return Clock::now();
}

QString emptyLines(int count)
{
    return QString(count, u'\n');
}

void writeDraft(const QString& folder, const QString& body)
{
    Capture draft(QUuid::createUuid(), ReferenceDate{700000000}, body, {}, std::nullopt);
    draft.usesExplicitDestination = true;
    QFile file(QDir(folder).filePath(QStringLiteral("draft.json")));
    if (!file.open(QIODevice::WriteOnly) || file.write(Json::serialize(draft.toJson())) < 0)
        std::fprintf(stderr, "the draft could not be written\n");
}

struct Figures {
    double seconds = 0;
    double peakMegabytes = 0;
    double grownMegabytes = 0;
};

void report(Clock::time_point start, long residentBefore)
{
    const auto end = settled();
    const long peak = statusKilobytes("VmHWM");
    std::printf("%.6f %ld %ld\n", secondsBetween(start, end), peak, peak - residentBefore);
    std::fflush(stdout);
}

// With `atEnd`, the caret is then put at the end of the text and shown, as
// the panel shows a draft: Qt lays the whole text out to place it.
int openInPlainEditor(int lines, bool atEnd)
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
    if (atEnd) {
        plain.moveCursor(QTextCursor::End);
        plain.repaint();
    }
    report(start, before);
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
    report(start, before);
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
    if (fields.size() != 3)
        return std::nullopt;
    return Figures{fields[0].toDouble(), fields[1].toDouble() / 1024, fields[2].toDouble() / 1024};
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--plain"))
        return openInPlainEditor(arguments[2].toInt(), false);
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--plain-at-end"))
        return openInPlainEditor(arguments[2].toInt(), true);
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--panel"))
        return openInPanel(arguments[3], false);
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--panel-after-read"))
        return openInPanel(arguments[3], true);

    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int lines = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1'000'000;
    QTemporaryDir data;
    writeDraft(data.path(), emptyLines(lines));

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
    const double plainTime = median(plain, &Figures::seconds);
    const double panelTime = median(panel, &Figures::seconds);
    const double plainPeak = median(plain, &Figures::peakMegabytes);
    const double panelPeak = median(panel, &Figures::peakMegabytes);
    std::printf("%d empty lines, median of %d\n", lines, rounds);
    std::printf("  time to the settled frame   plain QTextEdit %8.1f ms   capture panel %8.1f ms   %5.2f×"
                " (aim ≤ 1.5×)\n",
                plainTime * 1000, panelTime * 1000, panelTime / plainTime);
    std::printf("  peak resident memory        plain QTextEdit %8.1f MB   capture panel %8.1f MB   %5.2f×"
                " (aim ≤ 2×)\n",
                plainPeak, panelPeak, panelPeak / plainPeak);
    std::printf("  grown while opening         plain QTextEdit %8.1f MB   capture panel %8.1f MB   %5.2f×\n",
                median(plain, &Figures::grownMegabytes), median(panel, &Figures::grownMegabytes),
                median(panel, &Figures::grownMegabytes) / median(plain, &Figures::grownMegabytes));
    // What the panel cannot do without: Qt laying out the whole text to show
    // the caret at its end.
    std::printf("  beside a plain QTextEdit with its caret shown at the end: time %5.2f×, peak memory %5.2f×\n",
                panelTime / median(plainAtEnd, &Figures::seconds),
                panelPeak / median(plainAtEnd, &Figures::peakMegabytes));
    std::printf("  the draft read before the panel shows: time %5.2f×, peak memory %5.2f× the plain QTextEdit\n",
                median(panelAfterRead, &Figures::seconds) / plainTime,
                median(panelAfterRead, &Figures::peakMegabytes) / plainPeak);
    return 0;
}
