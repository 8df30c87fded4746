// Opening the capture history over a large History folder: how long the UI
// thread pauses (gaps between the ticks of a 1 ms timer) from the moment the
// history view is shown until its list is complete, and when the list is
// complete, beside baselines measured in the same run on the same files: one
// reading of the entries' summaries alone, and one reading of the entries
// whole (what listing them cost when every image was decoded).
//
//   settings_history_bench [total MB, default 1200] [entries, default 40]
//
// Half the entries carry one photo-sized image; the files are written into a
// temporary folder that goes with the run (as much disk as the total asked).

#include "core/CaptureArchive.h"
#include "core/Json.h"
#include "model/AppModel.h"
#include "model/VaultAccess.h"
#include "settings/HistoryView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace quillor;

namespace {

double milliseconds(const QElapsedTimer& clock) { return clock.nsecsElapsed() / 1e6; }

// A history file in the form the program writes, its image's Base64 text
// streamed from one shared block so that writing 1 GB takes seconds.
bool writeEntry(const QString& path, const Capture& capture, const QByteArray& base64Block, qsizetype imageBase64)
{
    Capture outline = capture;
    if (imageBase64 > 0)
        outline.attachments = {CaptureAttachment(QUuid::createUuid(), QByteArray("\xAB\xCD\xEF", 3),
                                                 QStringLiteral("jpg"))};
    const QByteArray json = Json::serialize(outline.toJson());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (imageBase64 <= 0)
        return file.write(json) == json.size();
    const QByteArray standIn = "\"" + QByteArray("\xAB\xCD\xEF", 3).toBase64() + "\"";
    const qsizetype at = json.indexOf(standIn);
    file.write(json.left(at + 1));
    for (qsizetype written = 0; written < imageBase64; written += base64Block.size())
        file.write(base64Block.constData(), std::min(base64Block.size(), imageBase64 - written));
    file.write(json.mid(at + standIn.size() - 1));
    return file.error() == QFileDevice::NoError;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const qint64 totalBytes = (argc > 1 ? QByteArray(argv[1]).toLongLong() : 1200) * 1000 * 1000;
    const int entries = std::max(2, argc > 2 ? QByteArray(argv[2]).toInt() : 40);

    QTemporaryDir root;
    const QString data = root.path() + QStringLiteral("/Data");
    QDir().mkpath(data + QStringLiteral("/History"));
    QDir().mkpath(data + QStringLiteral("/Receipts"));
    QByteArray noise(3 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator(5).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    const QByteArray base64Block = noise.toBase64();   // a multiple of 3 bytes: no padding inside
    const int photos = entries / 2;
    const qsizetype photoBase64 = (totalBytes / photos) / 4 * 4;
    for (int index = 0; index < entries; ++index) {
        Capture capture(QUuid::createUuid(), ReferenceDate(700'000'000 + index * 86'400.0),
                        QStringLiteral("Capture %1 : réunion, idées et photo du tableau.").arg(index), {},
                        QUuid::createUuid());
        const QString id = Json::uuidText(capture.id);
        if (!writeEntry(data + QStringLiteral("/History/") + id + QStringLiteral(".json"), capture, base64Block,
                        index % 2 == 0 ? photoBase64 : 0)) {
            std::fprintf(stderr, "cannot write the history\n");
            return 1;
        }
        const DeliveryReceipt receipt{id, QStringLiteral("/nowhere/note %1.md").arg(index), "2026-01-02T10:00:00Z",
                                      QStringLiteral("Carnet")};
        QFile receiptFile(data + QStringLiteral("/Receipts/") + id + QStringLiteral(".json"));
        receiptFile.open(QIODevice::WriteOnly);
        receiptFile.write(Json::serialize(receipt.toJson()));
    }
    qint64 onDisk = 0;
    for (const QFileInfo& file : QDir(data + QStringLiteral("/History")).entryInfoList(QDir::Files))
        onDisk += file.size();

    QElapsedTimer clock;
    clock.start();
    // Baselines, each after one untimed pass so all three read from the same
    // warm cache.
    (void)CaptureArchive{data}.summaries();
    double start = milliseconds(clock);
    const qsizetype summarised = CaptureArchive{data}.summaries().size();
    const double summaries = milliseconds(clock) - start;
    start = milliseconds(clock);
    const qsizetype whole = CaptureArchive{data}.entries().size();
    const double wholeEntries = milliseconds(clock) - start;

    VaultAccess access(false);
    AppModel model(data, access);
    double longest = 0;
    double last = 0;
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    ticks.setInterval(1);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const double now = milliseconds(clock);
        longest = std::max(longest, now - last);
        last = now;
    });
    HistoryView view(model, {});
    view.resize(760, 500);
    last = milliseconds(clock);
    ticks.start();
    start = milliseconds(clock);
    view.show();
    while (view.isListing() || view.entries().size() != entries)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double listed = milliseconds(clock) - start;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ticks.stop();

    std::printf("history of %d entries, %.0f MB on disk (%zd summaries, %zd whole entries read)\n", entries,
                onDisk / 1e6, size_t(summarised), size_t(whole));
    std::printf("  summaries read once                 %8.1f ms (baseline)\n", summaries);
    std::printf("  entries read whole (images decoded) %8.1f ms (%.1f× the summaries)\n", wholeEntries,
                summaries > 0 ? wholeEntries / summaries : 0.0);
    std::printf("  history shown to its list complete  %8.1f ms (%.2f× the summaries)\n", listed,
                summaries > 0 ? listed / summaries : 0.0);
    std::printf("  longest UI pause meanwhile          %8.1f ms (goal 100 ms)\n", longest);
    return 0;
}
