// How long the UI thread stalls when a 20 MB image is pasted by its file's
// address, until its thumbnail shows in the capture view, beside a plain-text
// paste measured in the same run (the baseline). The stall is the largest gap
// between the ticks of a 1 ms timer; the image's is split into its insertion,
// the thumbnail's decoding and the draft's write. Also the longest stall while
// a wiki-note preview scans a vault of 100,000 notes. Medians of 10 runs.

#include "model/AppModel.h"
#include "model/VaultAccess.h"
#include "panel/AttachmentStrip.h"
#include "panel/CaptureView.h"
#include "panel/NotePreviewWindow.h"
#include "editor/CaptureTextView.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Median.h"

using namespace quillor;

namespace {

constexpr int runs = 10;
constexpr int vaultNotes = 100'000;

std::map<std::string, std::vector<double>> figures;   // milliseconds

using quillor::bench::median;

bool write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(path.section(u'/', 0, -2));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A photo-like PNG of about 20 MB: noise does not compress.
QByteArray largePng()
{
    QImage image(2600, 2000, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = random.generate() | 0xFF000000u;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG", 0);
    return bytes;
}

// The UI thread's pauses, seen as gaps between the ticks of a 1 ms timer,
// with the moments named events happened.
class StallClock {
public:
    StallClock()
    {
        m_clock.start();
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
        m_timer.start();
        m_last = now();
    }
    double now() const { return m_clock.nsecsElapsed() / 1e6; }
    void tick()
    {
        const double t = now();
        m_longest = std::max(m_longest, t - m_last);
        m_ticks.push_back(t);
        m_last = t;
    }
    // The gap that held the moment: from the tick before it to the one after.
    // The longest pause from the moment on.
    double longestAfter(double moment) const
    {
        double longest = 0;
        double previous = moment;
        for (auto tick = std::upper_bound(m_ticks.begin(), m_ticks.end(), moment); tick != m_ticks.end(); ++tick) {
            longest = std::max(longest, *tick - previous);
            previous = *tick;
        }
        return longest;
    }
    double lastTickBefore(double moment) const
    {
        const auto after = std::upper_bound(m_ticks.begin(), m_ticks.end(), moment);
        return after == m_ticks.begin() ? 0 : *(after - 1);
    }
    double longest() const { return m_longest; }

private:
    QElapsedTimer m_clock;
    QTimer m_timer;
    std::vector<double> m_ticks;
    double m_last = 0;
    double m_longest = 0;
};

// A capture view on a real model whose destination writes into a vault.
struct CaptureSession {
    QTemporaryDir root;
    VaultAccess access{false};
    std::unique_ptr<AppModel> model;
    std::unique_ptr<CaptureView> view;

    explicit CaptureSession(const QString& vault = {})
    {
        const QString folder = vault.isEmpty() ? root.path() + QStringLiteral("/Vault") : vault;
        QDir().mkpath(folder);
        Preferences preferences;
        preferences.destinations = {Destination(QUuid::createUuid(), QStringLiteral("Notes"), QStringLiteral("n"),
                                                folder, DeliveryMode::newNote, QStringLiteral("Inbox"),
                                                QStringLiteral("Attachments"))};
        preferences.ensureDefaultDestination();
        write(root.path() + QStringLiteral("/Data/preferences.json"), preferences.encode());
        model = std::make_unique<AppModel>(root.path() + QStringLiteral("/Data"), access);
        view = std::make_unique<CaptureView>(*model);
        view->resize(480, 320);
        view->show();
        settle(100);
    }
    static void settle(int milliseconds)
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < milliseconds)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    void paste(QMimeData* mime) const
    {
        QApplication::clipboard()->setMimeData(mime);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
        QCoreApplication::sendEvent(view->editor(), &press);
    }
    // The tile is there and no decoding is left to do.
    bool thumbnailShown() const
    {
        const auto* strip = view->findChild<AttachmentStrip*>();
        return strip && !strip->tileIDs().isEmpty() && QThreadPool::globalInstance()->activeThreadCount() == 0;
    }
};

template <typename Done>
bool runUntil(Done&& done, int timeoutMilliseconds = 60'000)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > timeoutMilliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

void imagePastedByUrl(benchmark::State& state)
{
    QTemporaryDir files;
    const QString image = files.path() + QStringLiteral("/photo.png");
    if (!write(image, largePng())) {
        state.SkipWithError("cannot write the image");
        return;
    }
    for (auto _ : state) {
        CaptureSession capture;
        double inserted = -1;
        double written = -1;
        StallClock clock;
        QObject::connect(capture.model.get(), &AppModel::contentChanged, [&] {
            if (inserted < 0)
                inserted = clock.now();
        });
        QObject::connect(capture.model.get(), &AppModel::draftWritten, [&] {
            if (written < 0 && inserted > 0)
                written = clock.now();
        });
        auto* mime = new QMimeData;
        mime->setUrls({QUrl::fromLocalFile(image)});
        const double start = clock.now();
        capture.paste(mime);
        if (!runUntil([&] { return written > 0 && capture.thumbnailShown(); })) {
            state.SkipWithError("the thumbnail never showed");
            return;
        }
        // The decoded thumbnail reaches the tile on a later turn.
        CaptureSession::settle(20);
        state.SetIterationTime((clock.now() - start) / 1000);
        const double applied = clock.lastTickBefore(inserted);
        figures["image/longest"].push_back(clock.longest());
        figures["image/insertion"].push_back(inserted - applied);
        figures["image/draft write"].push_back(written - inserted);
        figures["image/thumbnail"].push_back(clock.longestAfter(written));
    }
}

void textPasted(benchmark::State& state)
{
    for (auto _ : state) {
        CaptureSession capture;
        StallClock clock;
        auto* mime = new QMimeData;
        mime->setText(QStringLiteral("Une ligne collée,\r\npuis une autre, et une troisième.\n"));
        const double start = clock.now();
        capture.paste(mime);
        CaptureSession::settle(50);
        state.SetIterationTime((clock.now() - start) / 1000);
        figures["text/longest"].push_back(clock.longest());
    }
}

void notePreviewScan(benchmark::State& state)
{
    QTemporaryDir vault;
    QRandomGenerator random(3);
    for (int i = 0; i < vaultNotes; ++i) {
        QByteArray text = "# Note " + QByteArray::number(i) + "\n\n";
        while (text.size() < 1024 + qsizetype(random.bounded(2048)))
            text += "Le projet avance, voir [[Note " + QByteArray::number(random.bounded(5000)) + "]] #projet.\n";
        write(vault.path() + QStringLiteral("/Dossier %1/Note %2.md").arg(i / 200).arg(i), text);
    }
    write(vault.path() + QStringLiteral("/Projet.md"), "Bonjour\n");
    CaptureSession capture(vault.path());
    for (auto _ : state) {
        StallClock clock;
        const double start = clock.now();
        NotePreviewWindow* window = NotePreviewWindow::open(QStringLiteral("Projet"), *capture.model);
        if (!runUntil([&] { return !window->isBusy(); }, 300'000)) {
            state.SkipWithError("the scan never finished");
            return;
        }
        state.SetIterationTime((clock.now() - start) / 1000);
        figures["preview/longest"].push_back(clock.longest());
        delete window;
    }
}

BENCHMARK(textPasted)->UseManualTime()->Iterations(runs)->Unit(benchmark::kMillisecond);
BENCHMARK(imagePastedByUrl)->UseManualTime()->Iterations(runs)->Unit(benchmark::kMillisecond);
BENCHMARK(notePreviewScan)->UseManualTime()->Iterations(runs)->Unit(benchmark::kMillisecond);

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
    const double text = median(figures["text/longest"]);
    const auto ratio = [text](double value) { return text > 0 ? value / text : 0.0; };
    std::printf("longest UI stall, medians of %d runs (one frame: 16 ms)\n", runs);
    std::printf("  plain-text paste                 %8.2f ms (baseline)\n", text);
    for (const char* part : {"image/longest", "image/insertion", "image/thumbnail", "image/draft write"}) {
        const double value = median(figures[part]);
        std::printf("  20 MB image by URL: %-12s %8.2f ms (%.1f× the text paste)\n", part + 6, value, ratio(value));
    }
    const double preview = median(figures["preview/longest"]);
    std::printf("  note preview, %d notes:     %8.2f ms (%.1f× the text paste)\n", vaultNotes, preview, ratio(preview));
    return 0;
}
