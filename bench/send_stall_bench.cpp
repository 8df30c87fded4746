// How long the UI thread stalls while a capture holding large images is sent,
// from the send until the panel would close (saving over, the next draft
// started and written) and a moment after, for deferred work. The stall is
// the largest gap between the ticks of a 1 ms timer. Baselines from the same
// run: the UI thread's longest pause with nothing to do, and the time it takes
// to encode and write the capture's history copy, which the UI thread used to
// do itself once the note was written. Two sends: with the draft already on
// disk (the autosave ran), and right after a last key (the send saves it
// first). Medians of 3 runs each, a fresh data folder and vault per run.
//
//   send_stall_bench [image MB, default 48] [images, default 4]
//
// The images are random bytes (they do not compress); everything is written
// in a temporary folder that goes with the run.

#include "core/Capture.h"
#include "core/FileSystem.h"
#include "core/Json.h"
#include "model/AppModel.h"
#include "model/VaultAccess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "Median.h"
#include "UiStalls.h"

using namespace quillor;
using quillor::bench::noise;
using quillor::bench::runFor;
using quillor::bench::sinceStart;
using quillor::bench::StallClock;

namespace {

constexpr int runs = 3;

// A draft whose text embeds every image, as pasting them leaves it.
Capture draftWithImages(const QUuid& destination, qsizetype imageBytes, int images)
{
    Capture draft(QUuid::createUuid(), ReferenceDate::now(), QStringLiteral("Photos du chantier\n"), {}, destination);
    QList<ImageReference> references;
    for (int index = 0; index < images; ++index) {
        const CaptureAttachment image(QUuid::createUuid(), noise(imageBytes, quint32(index + 1)),
                                      QStringLiteral("jpg"));
        const ImageReference reference{image.id, QStringLiteral("Attachments/Quillor/") + Json::uuidText(image.id)
                                                     + QStringLiteral(".jpg"),
                                       std::nullopt};
        draft.attachments.append(image);
        references.append(reference);
        draft.body += reference.source() + QLatin1Char('\n');
    }
    draft.imageReferences = references;
    draft.usesExplicitDestination = true;
    return draft;
}

struct Send {
    double stall = 0;     // ms, the longest pause from the send on
    double waited = 0;    // ms, from the send until saving is over
    double history = 0;   // ms, the history copy written on this thread
    bool delivered = false;
};

Send sendOnce(qsizetype imageBytes, int images, bool keyBeforeSend, const QElapsedTimer& clock)
{
    QTemporaryDir root;
    const QString data = root.path() + QStringLiteral("/Data");
    const QString vault = root.path() + QStringLiteral("/Vault");
    QDir().mkpath(data);
    QDir().mkpath(vault);
    Preferences preferences;
    const Destination inbox(QUuid::createUuid(), QStringLiteral("Inbox"), QStringLiteral("in"), vault,
                            DeliveryMode::newNote, QStringLiteral("Inbox"), QStringLiteral("Attachments/Quillor"));
    preferences.destinations = {inbox};
    preferences.save(data + QStringLiteral("/preferences.json"));
    const Capture draft = draftWithImages(inbox.id, imageBytes, images);
    const QByteArray file = Json::serialize(draft.toJson());
    FileSystem::writeAtomically(data + QStringLiteral("/draft.json"), file);

    Send send;
    // What the UI thread did itself before: encode the copy and write it.
    {
        const double start = sinceStart(clock);
        FileSystem::writeAtomically(data + QStringLiteral("/history-baseline.json"), Json::serialize(draft.toJson()));
        send.history = sinceStart(clock) - start;
        QFile::remove(data + QStringLiteral("/history-baseline.json"));
    }

    VaultAccess access(false);
    AppModel model(data, access);
    runFor(300);
    if (keyBeforeSend)
        model.updateContent(EditorContent::plain(model.content().text + QStringLiteral("!")));

    StallClock stalls(clock);
    stalls.start();
    const double start = sinceStart(clock);
    model.submit();
    while (model.saving())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    send.waited = sinceStart(clock) - start;
    runFor(200);
    send.stall = stalls.longest();
    send.delivered = !model.error() && model.latestReceipt()
        && QFile::exists(data + QStringLiteral("/History/") + model.latestReceipt()->captureID
                         + QStringLiteral(".json"));
    if (model.error())
        std::printf("  error: %s\n", qPrintable(*model.error()));
    return send;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const qsizetype imageBytes = (argc > 1 ? QByteArray(argv[1]).toLongLong() : 48) * 1000 * 1000;
    const int images = argc > 2 ? QByteArray(argv[2]).toInt() : 4;

    QElapsedTimer clock;
    clock.start();
    StallClock idleClock(clock);
    idleClock.start();
    runFor(1000);
    const double idle = idleClock.longest();

    std::printf("sending %d images of %.0f MB, medians of %d runs\n", images, imageBytes / 1e6, runs);
    std::printf("  UI thread idle, longest pause                 %8.1f ms (baseline)\n", idle);
    for (const bool key : {false, true}) {
        std::vector<double> stalls, waits, histories;
        bool delivered = true;
        for (int run = 0; run < runs; ++run) {
            const Send send = sendOnce(imageBytes, images, key, clock);
            stalls.push_back(send.stall);
            waits.push_back(send.waited);
            histories.push_back(send.history);
            delivered = delivered && send.delivered;
        }
        const double stall = quillor::bench::median(stalls), history = quillor::bench::median(histories);
        std::printf("%s\n", key ? "sent right after a key (the send saves the draft first)"
                                : "sent with the draft on disk");
        std::printf("  history copy encoded and written, this thread %8.1f ms (baseline: the old stall)\n", history);
        std::printf("  longest pause from the send on                %8.1f ms (worst %.1f; %.1f× idle, %.2f× the "
                    "history copy; goal 100 ms)%s\n",
                    stall, *std::max_element(stalls.begin(), stalls.end()), idle > 0 ? stall / idle : 0.0,
                    history > 0 ? stall / history : 0.0, delivered ? "" : " NOT DELIVERED");
        std::printf("  send to saving over                           %8.1f ms\n", quillor::bench::median(waits));
    }
    return 0;
}
