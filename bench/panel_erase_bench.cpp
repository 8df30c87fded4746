// Select-all then Backspace on a large capture in the real panel (its model,
// draft saving, completions, attachment strip and fitting to the text), timed
// up to the painted frame, beside a plain QTextEdit window doing the same, in
// turn, in the same run. Prints the medians and their ratio (aim: at most 3
// times the plain editor).
#include "editor/CaptureTextView.h"
#include "model/AppModel.h"
#include "model/VaultAccess.h"
#include "shell/CapturePanel.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextEdit>

#include "Median.h"
#include "MixedCapture.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace quillor;
using Clock = std::chrono::steady_clock;

// The work a key queued, and the repaint, as the event loop runs them.
void untilPainted()
{
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
}

double timedKey(QWidget& target, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    const auto start = Clock::now();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, QString());
    QCoreApplication::sendEvent(&target, &press);
    untilPainted();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Select-all and Backspace, each timed to its painted frame.
struct Erasure {
    double selectAll = 0;
    double backspace = 0;
};

Erasure erase(QWidget& target)
{
    target.setFocus();
    Erasure erasure;
    erasure.selectAll = timedKey(target, Qt::Key_A, Qt::ControlModifier);
    erasure.backspace = timedKey(target, Qt::Key_Backspace, Qt::NoModifier);
    return erasure;
}

void paste(QWidget& target, const QString& text)
{
    QApplication::clipboard()->setText(text);
    target.setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QString());
    QCoreApplication::sendEvent(&target, &press);
    for (int round = 0; round < 10; ++round)
        QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const QString text = bench::mixedCapture(1'000'000);

    QTemporaryDir data;
    VaultAccess access{false};
    AppModel model{data.path(), access};
    CapturePanel panel{model};
    panel.captureScreen = QRectF(panel.screen()->availableGeometry());
    panel.setFrame(QRectF(100, 100, 480, 560));
    panel.show();
    untilPainted();
    auto* view = panel.findChild<CaptureTextView*>();

    QTextEdit plain;
    plain.setAcceptRichText(false);
    plain.resize(480, 560);
    plain.show();
    untilPainted();

    std::vector<Erasure> plainTimes;
    std::vector<Erasure> panelTimes;
    for (int round = 0; round < rounds; ++round) {
        plain.setPlainText(text);
        // Laid out to the end, as it is once its layout timer has run: the
        // select-all would otherwise be timed finishing that layout.
        plain.document()->documentLayout()->documentSize();
        untilPainted();
        plainTimes.push_back(erase(plain));
        paste(*view, text);
        if (view->text().size() != text.size()) {
            std::fprintf(stderr, "the paste did not reach the panel\n");
            return 1;
        }
        panelTimes.push_back(erase(*view));
        if (!view->text().isEmpty()) {
            std::fprintf(stderr, "the panel's text was not erased\n");
            return 1;
        }
    }
    const auto print = [&](const char* what, auto part) {
        std::vector<double> plainPart;
        std::vector<double> panelPart;
        for (const Erasure& erasure : plainTimes)
            plainPart.push_back(part(erasure));
        for (const Erasure& erasure : panelTimes)
            panelPart.push_back(part(erasure));
        const double plainMedian = bench::median(plainPart);
        const double panelMedian = bench::median(panelPart);
        std::printf("%-30s plain QTextEdit %9.3f ms   capture panel %9.3f ms   %5.2f×\n", what, plainMedian * 1000,
                    panelMedian * 1000, panelMedian / plainMedian);
    };
    print("select-all", [](const Erasure& e) { return e.selectAll; });
    print("Backspace", [](const Erasure& e) { return e.backspace; });
    print("both (aim ≤ 3.0×)", [](const Erasure& e) { return e.selectAll + e.backspace; });
    return 0;
}
