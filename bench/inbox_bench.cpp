// What the capture inbox's lists cost over reading their files: 100,000
// queued captures and 10,000 drafts with edits, listed as summaries and as the
// recovery snapshot, against reading the same files raw on one thread in the
// same run (aim: at most 2×). And one draft edit saved against a snapshot that
// holds 20 MB of images and against one without images (aim: at most 1.5×
// apart). Prints the medians and their ratios.
//
//   inbox_bench [benchmark options]   the measurements
//   inbox_bench --show <folder>       the recovery snapshot of an inbox folder

#include "core/DateFormats.h"
#include "core/FileSystem.h"
#include "core/Json.h"
#include "inbox/CaptureInbox.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Median.h"

using namespace quillor;

namespace {

constexpr int queuedCount = 100000;
constexpr int draftCount = 10000;
constexpr int imageCount = 10;
constexpr qsizetype imageSize = 2 * 1024 * 1024;

// Each measured call, in seconds, by name.
std::map<std::string, std::vector<double>> samples;

template <typename F>
double timed(const std::string& name, F&& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    samples[name].push_back(seconds);
    return seconds;
}

using quillor::bench::median;

QString bodyText(int i)
{
    return QStringLiteral("Idée n° %1 : relire les notes de la réunion, répondre à Léa et #suivre le "
                          "[[Projet Atlas]] avant vendredi.\n- [ ] appeler le fournisseur\n- [x] envoyer le devis")
        .arg(i);
}

Capture sampleCapture(int i)
{
    Capture capture(QUuid::createUuid(), ReferenceDate{700000000.0 + i * 37.25}, bodyText(i), {}, QUuid::createUuid());
    return capture;
}

void writeRecord(const QString& folder, const QUuid& id, const QJsonObject& record)
{
    FileSystem::writeAtomically(folder + QLatin1Char('/') + Json::uuidText(id) + QStringLiteral(".json"),
                                QJsonDocument(record).toJson(QJsonDocument::Compact), FileSystem::Durability::cached);
}

// The large inbox, built once: queued captures, and drafts each with its
// revision record and an edit of that revision.
struct LargeInbox {
    QTemporaryDir dir;
    QString root = dir.path() + QStringLiteral("/IN");

    LargeInbox()
    {
        for (const char* folder : {"Captures", "Drafts", "DraftRevisions", "DraftEdits"})
            QDir().mkpath(root + QLatin1Char('/') + QLatin1String(folder));
        for (int i = 0; i < queuedCount; ++i) {
            const Capture capture = sampleCapture(i);
            writeRecord(root + QStringLiteral("/Captures"), capture.id, capture.toJson());
        }
        for (int i = 0; i < draftCount; ++i) {
            Capture capture = sampleCapture(i);
            const QUuid revision = QUuid::createUuid();
            writeRecord(root + QStringLiteral("/Drafts"), capture.id, DraftSnapshot{capture, revision}.toJson());
            writeRecord(root + QStringLiteral("/DraftRevisions"), capture.id,
                        Revision{revision, attachmentIDs(capture)}.toJson());
            capture.body += QStringLiteral("\nune ligne de plus");
            writeRecord(root + QStringLiteral("/DraftEdits"), capture.id, DraftEdit::of(capture, revision).toJson());
        }
    }
};

LargeInbox& largeInbox()
{
    static LargeInbox inbox;
    return inbox;
}

// The baseline: every file of the folders read whole, one after the other.
qint64 readRaw(const QString& root, std::initializer_list<const char*> folders)
{
    namespace fs = std::filesystem;
    qint64 total = 0;
    for (const char* folder : folders) {
        const QString path = root + QLatin1Char('/') + QLatin1String(folder);
        if (!QFile::exists(path))
            continue;
        for (const auto& entry : fs::directory_iterator(QFile::encodeName(path).toStdString()))
            total += FileSystem::read(QFile::decodeName(entry.path().c_str())).size();
    }
    return total;
}

// The list and its raw baseline take turns, so that a busy machine slows them
// alike and the ratio holds.
template <typename List>
void listAgainstRaw(benchmark::State& state, const std::string& name, std::initializer_list<const char*> folders,
                    List&& list)
{
    const LargeInbox& fixture = largeInbox();
    const CaptureInbox inbox(fixture.root);
    readRaw(fixture.root, folders);   // the page cache, warm for both
    for (auto _ : state) {
        const double raw = timed(name + " raw", [&] { benchmark::DoNotOptimize(readRaw(fixture.root, folders)); });
        const double listed = timed(name, [&] { benchmark::DoNotOptimize(list(inbox)); });
        state.SetIterationTime(raw + listed);
    }
}

void captureSummaries(benchmark::State& state)
{
    listAgainstRaw(state, "captureSummaries", {"Captures"}, [](const CaptureInbox& inbox) { return inbox.captureSummaries(); });
}

void draftSummaries(benchmark::State& state)
{
    listAgainstRaw(state, "draftSummaries", {"Drafts", "DraftEdits"},
                   [](const CaptureInbox& inbox) { return inbox.draftSummaries(); });
}

void recoverySnapshot(benchmark::State& state)
{
    listAgainstRaw(state, "recoverySnapshot", {"Drafts", "DraftEdits", "Captures", "Receipts", "Failures"},
                   [](const CaptureInbox& inbox) { return inbox.recoverySnapshot(); });
}

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    generator.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / qsizetype(sizeof(quint32)));
    return bytes;
}

// One edit saved against a draft with 20 MB of images and one against a draft
// without, in turn.
void saveDraftEdit(benchmark::State& state)
{
    QTemporaryDir dir;
    const CaptureInbox inbox(dir.path());
    Capture withImages = sampleCapture(1);
    for (int i = 0; i < imageCount; ++i) {
        const CaptureAttachment image(QUuid::createUuid(), randomBytes(imageSize, quint32(i + 1)), QStringLiteral("png"));
        withImages.attachments.append(image);
        withImages.body += QLatin1Char('\n') + image.token();
    }
    const Capture plain = sampleCapture(2);
    const QUuid withImagesRevision = inbox.saveDraft(withImages);
    const QUuid plainRevision = inbox.saveDraft(plain);
    int edits = 0;
    for (auto _ : state) {
        Capture editedWithImages = withImages;
        Capture editedPlain = plain;
        editedWithImages.body += QString::number(++edits);
        editedPlain.body += QString::number(edits);
        const double heavy = timed("saveDraftEdit 20 MB", [&] { inbox.saveDraftEdit(editedWithImages, withImagesRevision); });
        const double light = timed("saveDraftEdit plain", [&] { inbox.saveDraftEdit(editedPlain, plainRevision); });
        state.SetIterationTime(heavy + light);
    }
}

BENCHMARK(captureSummaries)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(draftSummaries)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(recoverySnapshot)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(saveDraftEdit)->Iterations(31)->UseManualTime()->Unit(benchmark::kMillisecond);

void printAgainst(const char* label, const std::string& measured, const std::string& baseline, const char* aim)
{
    const double value = median(samples[measured]), reference = median(samples[baseline]);
    if (value <= 0 || reference <= 0) {
        std::printf("%-20s not measured\n", label);
        return;
    }
    std::printf("%-20s median %9.2f ms   baseline %9.2f ms   %.2f× (%s)\n", label, value * 1000, reference * 1000,
                value / reference, aim);
}

// MARK: --show

QString firstLine(const QString& text)
{
    const QString line = text.section(QLatin1Char('\n'), 0, 0);
    return line.size() > 60 ? line.left(59) + QStringLiteral("…") : line;
}

void printLine(const QString& line)
{
    std::printf("  %s\n", line.toUtf8().constData());
}

void printSummaries(const char* title, const QList<CaptureSummary>& summaries)
{
    std::printf("%s (%lld)\n", title, qlonglong(summaries.size()));
    for (const CaptureSummary& summary : summaries) {
        const QString revision = summary.draftRevision ? QStringLiteral("  revision ") + Json::uuidText(*summary.draftRevision)
                                                       : QString();
        printLine(Json::uuidText(summary.id) + QStringLiteral("  ") + DateFormats::iso8601(summary.createdAt) + revision
                  + QStringLiteral("  «") + firstLine(summary.body) + QStringLiteral("»"));
    }
}

int show(const QString& folder)
{
    const InboxRecoverySnapshot snapshot = CaptureInbox(folder).recoverySnapshot();
    printSummaries("drafts", snapshot.drafts);
    printSummaries("captures", snapshot.captures);
    std::printf("receipts (%lld)\n", qlonglong(snapshot.receipts.size()));
    for (const DeliveryReceipt& receipt : snapshot.receipts)
        printLine(receipt.captureID + QStringLiteral("  ") + receipt.date + QStringLiteral("  ") + receipt.path
                  + (receipt.destinationName ? QStringLiteral("  → ") + *receipt.destinationName : QString()));
    std::printf("failures (%lld)\n", qlonglong(snapshot.failures.size()));
    for (const DeliveryFailure& failure : snapshot.failures)
        printLine(Json::uuidText(failure.id) + QStringLiteral("  ") + DateFormats::iso8601(failure.date)
                  + QStringLiteral("  ") + failure.message);
    std::printf("issues (%lld)\n", qlonglong(snapshot.issues.size()));
    for (const InboxReadIssue& issue : snapshot.issues)
        printLine(issue.path + QStringLiteral(": ") + issue.message);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--show")
        return show(QFile::decodeName(argv[2]));

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\n%d queued captures, %d drafts with edits; baseline: the same files read raw, one thread\n",
                queuedCount, draftCount);
    printAgainst("captureSummaries()", "captureSummaries", "captureSummaries raw", "aim ≤ 2×");
    printAgainst("draftSummaries()", "draftSummaries", "draftSummaries raw", "aim ≤ 2×");
    printAgainst("recoverySnapshot()", "recoverySnapshot", "recoverySnapshot raw", "aim ≤ 2×");
    printAgainst("saveDraftEdit()", "saveDraftEdit 20 MB", "saveDraftEdit plain",
                 "20 MB of images against none; aim ≤ 1.5×");
    return 0;
}
