// How a draft holding large images behaves while the user types: the longest
// pause of the UI thread (gaps between the ticks of a 1 ms timer) through
// bursts of typing and their autosaves, and how long after its last key each
// burst is in draft.json on disk. Baselines from the same run: the UI
// thread's longest pause with nothing to do, and one plain durable write of
// a file as large as the draft. Then the saves that need no outcome (Escape,
// hiding the panel, an image put in or taken out) with their longest pause
// until the draft is on disk, and how long a wait for the draft (quit,
// archiving) takes when the file already holds it and after one more key.
//
//   draft_autosave_bench [image MB, default 48] [images, default 3]
//
// The images are random bytes kept in the draft's store (deleted from its
// text, as undo keeps them); the draft lives in a temporary folder that goes
// with the run.

#include "core/Capture.h"
#include "core/FileSystem.h"
#include "core/Json.h"
#include "model/AppModel.h"
#include "model/VaultAccess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "Median.h"
#include "UiStalls.h"

using namespace quillor;
using quillor::bench::noise;
using quillor::bench::runFor;
using quillor::bench::sinceStart;
using quillor::bench::StallClock;

namespace {

constexpr int bursts = 6;
constexpr int keysPerBurst = 12;
constexpr int keyInterval = 60;    // ms, a quick typist
constexpr int pauseAfterBurst = 1200;   // ms

// Watches the end of draft.json (where the body lies, after the images) from
// its own thread, and notes when each burst's marker first shows there.
class DiskWatcher {
public:
    DiskWatcher(QString path, const QElapsedTimer& clock) : m_path(std::move(path)), m_clock(clock)
    {
        m_thread = std::thread([this] { run(); });
    }
    ~DiskWatcher()
    {
        m_stop = true;
        m_thread.join();
    }
    std::vector<double> seen() const
    {
        const std::lock_guard lock(m_mutex);
        return m_seen;
    }

private:
    void run()
    {
        while (!m_stop) {
            QFile file(m_path);
            if (file.open(QIODevice::ReadOnly)) {
                file.seek(std::max<qint64>(0, file.size() - 64 * 1024));
                const QByteArray tail = file.readAll();
                const std::lock_guard lock(m_mutex);
                while (int(m_seen.size()) < bursts
                       && tail.contains("[fin " + QByteArray::number(qsizetype(m_seen.size())) + "]"))
                    m_seen.push_back(sinceStart(m_clock));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    const QString m_path;
    const QElapsedTimer& m_clock;
    mutable std::mutex m_mutex;
    std::vector<double> m_seen;
    std::atomic_bool m_stop = false;
    std::thread m_thread;
};

// The longest pause of the UI thread from a change saved as the editor saves
// it without waiting, until the draft is on disk.
double pauseOfSave(AppModel& model, StallClock& stalls, const std::function<void()>& change)
{
    bool written = false;
    const QMetaObject::Connection connection =
        QObject::connect(&model, &AppModel::draftWritten, [&] { written = true; });
    stalls.start();
    change();
    model.saveDraftInBackground();
    while (!written)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    runFor(50);
    QObject::disconnect(connection);
    return stalls.longest();
}

double timeOfWait(AppModel& model)
{
    QElapsedTimer waited;
    waited.start();
    model.persistDraft();
    return waited.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const qsizetype imageBytes = (argc > 1 ? QByteArray(argv[1]).toLongLong() : 48) * 1000 * 1000;
    const int images = argc > 2 ? QByteArray(argv[2]).toInt() : 3;

    QTemporaryDir root;
    const QString data = root.path() + QStringLiteral("/Data");
    QDir().mkpath(data);
    Capture stored(QUuid::createUuid(), ReferenceDate(800'000'000), QStringLiteral("Photos du chantier"), {},
                   std::nullopt);
    for (int index = 0; index < images; ++index)
        stored.attachments.append(CaptureAttachment(QUuid::createUuid(), noise(imageBytes, quint32(index + 1)),
                                                    QStringLiteral("jpg")));
    stored.imageReferences = QList<ImageReference>();
    const QByteArray file = Json::serialize(stored.toJson());
    stored = Capture();

    // Baseline: one plain durable write of as many bytes.
    QElapsedTimer clock;
    clock.start();
    std::vector<double> plainWrites;
    for (int run = 0; run < 3; ++run) {
        const double start = sinceStart(clock);
        FileSystem::writeAtomically(data + QStringLiteral("/plain.json"), file);
        plainWrites.push_back(sinceStart(clock) - start);
    }
    QFile::remove(data + QStringLiteral("/plain.json"));
    FileSystem::writeAtomically(data + QStringLiteral("/draft.json"), file);

    VaultAccess access(false);
    AppModel model(data, access);
    StallClock stalls(clock);
    stalls.start();
    runFor(1000);
    const double idle = stalls.longest();

    DiskWatcher watcher(data + QStringLiteral("/draft.json"), clock);
    std::vector<double> lastKeys;
    QString text = model.content().text;
    stalls.start();
    for (int burst = 0; burst < bursts; ++burst) {
        for (int key = 0; key < keysPerBurst; ++key) {
            text += key + 1 == keysPerBurst ? QStringLiteral(" [fin %1]").arg(burst) : QStringLiteral("x");
            model.updateContent(EditorContent::plain(text));
            if (key + 1 == keysPerBurst)
                lastKeys.push_back(sinceStart(clock));
            runFor(keyInterval);
        }
        runFor(pauseAfterBurst);
    }
    const double typing = stalls.longest();
    const std::vector<double> seen = watcher.seen();

    const double escape = pauseOfSave(model, stalls, [&] { model.updateContent(EditorContent::plain(text += u'e')); });
    const CaptureAttachment photo(QUuid::createUuid(), noise(imageBytes, quint32(images + 1)), QStringLiteral("jpg"));
    const double imageIn = pauseOfSave(model, stalls, [&] {
        EditorContent withPhoto = EditorContent::plain(text);
        withPhoto.append(AppModel::attachmentString(photo));
        model.updateContent(withPhoto);
    });
    const double imageOut = pauseOfSave(model, stalls, [&] { model.updateContent(EditorContent::plain(text)); });
    const double waitOnDisk = timeOfWait(model);
    model.updateContent(EditorContent::plain(text += u'q'));
    const double waitNewer = timeOfWait(model);

    std::vector<double> latencies;
    for (size_t burst = 0; burst < lastKeys.size(); ++burst)
        latencies.push_back(burst < seen.size() ? seen[burst] - lastKeys[burst] : -1);
    const double plain = quillor::bench::median(plainWrites);
    const double latency = quillor::bench::median(latencies);
    const double worstLatency = *std::max_element(latencies.begin(), latencies.end());
    std::printf("draft of %.0f MB (%d images of %.0f MB), %d bursts of %d keys\n", file.size() / 1e6, images,
                imageBytes / 1e6, bursts, keysPerBurst);
    std::printf("  UI thread idle, longest pause          %8.1f ms (baseline)\n", idle);
    std::printf("  typing and autosaves, longest pause    %8.1f ms (%.1f× idle; goal 50 ms)\n", typing,
                idle > 0 ? typing / idle : 0.0);
    std::printf("  one plain durable write of the file    %8.1f ms (baseline)\n", plain);
    std::printf("  last key of a burst to disk, median    %8.1f ms (%.2f× the plain write; goal 1500 ms)\n", latency,
                plain > 0 ? latency / plain : 0.0);
    std::printf("  last key of a burst to disk, worst     %8.1f ms%s\n", worstLatency,
                seen.size() < lastKeys.size() ? " (a burst never reached the disk)" : "");
    const auto printPause = [&](const char* what, double pause) {
        std::printf("  %-38s %8.1f ms (%.1f× idle; goal 50 ms)\n", what, pause, idle > 0 ? pause / idle : 0.0);
    };
    printPause("Escape or hiding, longest pause", escape);
    printPause("an image put in, longest pause", imageIn);
    printPause("the image taken out, longest pause", imageOut);
    std::printf("  a wait (quit) with the file up to date %8.1f ms (%.3f× the plain write)\n", waitOnDisk,
                plain > 0 ? waitOnDisk / plain : 0.0);
    std::printf("  a wait (quit) after one more key       %8.1f ms (%.2f× the plain write)\n", waitNewer,
                plain > 0 ? waitNewer / plain : 0.0);
    return 0;
}
