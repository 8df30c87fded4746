// Opening a draft of one long line (N × "é", no line break) in the real panel
// (model start-up, the panel built, shown and painted) beside a plain
// QTextEdit given the same text, shown and painted, in turn, in the same run.
// A plain QTextEdit's layout of one paragraph grows with the square of its
// length, so the lengths stay within what it opens in seconds; the output
// shows the growth. Prints the medians and their ratio (aim: at most 1×).
//
//   draft_opening_bench [rounds] [length…]
#include "core/Capture.h"
#include "core/Json.h"
#include "model/AppModel.h"
#include "model/VaultAccess.h"
#include "shell/CapturePanel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextEdit>

#include "DraftFile.h"
#include "Median.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using namespace quillor;
using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void untilPainted()
{
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
}

double openInPlainEditor(const QString& text)
{
    const auto start = Clock::now();
    QTextEdit plain;
    plain.setAcceptRichText(false);
    plain.resize(480, 560);
    plain.setPlainText(text);
    plain.show();
    plain.repaint();
    untilPainted();
    return seconds(start);
}

double openInPanel(const QString& data)
{
    const auto start = Clock::now();
    VaultAccess access{false};
    AppModel model{data, access};
    model.waitForDraft();
    CapturePanel panel{model};
    panel.captureScreen = QRectF(panel.screen()->availableGeometry());
    panel.setFrame(QRectF(100, 100, 480, 560));
    panel.show();
    panel.repaint();
    untilPainted();
    return seconds(start);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::vector<int> lengths;
    for (int i = 2; i < argc; ++i)
        lengths.push_back(std::atoi(argv[i]));
    if (lengths.empty())
        lengths = {50'000, 100'000, 200'000};

    for (const int length : lengths) {
        const QString text(length, QChar(0xe9));
        QTemporaryDir data;
        bench::writeDraft(data.path(), text);
        std::vector<double> plainTimes;
        std::vector<double> panelTimes;
        for (int round = 0; round < rounds; ++round) {
            plainTimes.push_back(openInPlainEditor(text));
            panelTimes.push_back(openInPanel(data.path()));
        }
        const double plain = bench::median(plainTimes);
        const double panel = bench::median(panelTimes);
        std::printf("one line of %9d × é   plain QTextEdit %9.1f ms   capture panel %9.1f ms   %5.2f× (aim ≤ 1×)\n",
                    length, plain * 1000, panel * 1000, panel / plain);
        std::fflush(stdout);
    }
    return 0;
}
