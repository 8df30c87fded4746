// What a delivery costs over the plain durable writes it cannot avoid: a new
// note with ten 2 MB images against writing the same files with QSaveFile, and
// an append to a 5 MB note against one atomic rewrite of that note.

#include "core/CaptureFileWriter.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include "MeanTimes.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <utility>

#include <cstdio>
#include <exception>
#include <map>
#include <string>

using namespace quillor;

namespace {

constexpr int imageCount = 10;
constexpr qsizetype imageSize = 2 * 1024 * 1024;
constexpr qsizetype noteSize = 5 * 1024 * 1024;
constexpr int iterations = 5;

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    generator.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / qsizetype(sizeof(quint32)));
    return bytes;
}

QByteArray largeNote()
{
    const QByteArray line = "- a line of an ordinary journal, long enough to look like prose, é and ü\n";
    QByteArray note;
    note.reserve(noteSize + line.size());
    while (note.size() < noteSize)
        note += line;
    return note;
}

struct Fixture {
    QTemporaryDir dir;
    QString vault = dir.path() + QStringLiteral("/Vault");
    QString backups = dir.path() + QStringLiteral("/Backups");

    Fixture() { QDir().mkpath(vault); }

    Destination destination(DeliveryMode mode, const QString& path) const
    {
        return Destination(QUuid::createUuid(), QStringLiteral("Notes"), {}, vault, mode, path,
                           QStringLiteral("Attachments/Quillor"));
    }
    CaptureFileWriter writer() const
    {
        return CaptureFileWriter(backups, CaptureFileWriter::Publication::hardLink, QTimeZone::utc());
    }
};

Capture captureWithImages()
{
    Capture capture(QUuid::createUuid(), ReferenceDate::now(), QStringLiteral("Photos of the day:\n"), {},
                    std::nullopt);
    for (int i = 0; i < imageCount; ++i) {
        const CaptureAttachment image(QUuid::createUuid(), randomBytes(imageSize, quint32(i + 1)),
                                      QStringLiteral("png"));
        capture.attachments.append(image);
        capture.body += image.token() + QLatin1Char('\n');
    }
    return capture;
}

// The baseline writes with QSaveFile (which flushes the file's data with
// fdatasync before its rename); with `flushed` it also fsyncs the file once it
// is in place, metadata included, as the writer does for what it publishes.
bool saveFile(const QString& path, const QByteArray& bytes, bool flushed = false)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return false;
    if (!flushed)
        return true;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return synced;
}

void newNoteWithImagesDelivery(benchmark::State& state)
{
    const Capture capture = captureWithImages();
    for (auto _ : state) {
        state.PauseTiming();
        {
            Fixture fixture;
            const CaptureFileWriter writer = fixture.writer();
            const Destination destination = fixture.destination(DeliveryMode::newNote, QStringLiteral("Inbox"));
            state.ResumeTiming();
            try {
                benchmark::DoNotOptimize(writer.save(capture, destination));
            } catch (const std::exception& error) {
                state.SkipWithError(error.what());
            }
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}

void newNoteWithImagesQSaveFile(benchmark::State& state)
{
    const Capture capture = captureWithImages();
    const QByteArray note = capture.body.toUtf8();
    for (auto _ : state) {
        state.PauseTiming();
        {
            Fixture fixture;
            state.ResumeTiming();
            const QString folder = fixture.vault + QStringLiteral("/Attachments/Quillor");
            QDir().mkpath(folder);
            QDir().mkpath(fixture.vault + QStringLiteral("/Inbox"));
            bool written = true;
            for (const CaptureAttachment& image : capture.attachments)
                written = written && saveFile(folder + QLatin1Char('/') + image.id.toString(QUuid::WithoutBraces)
                                                  + QStringLiteral(".png"),
                                              image.data, state.range(0) == 1);
            written = written && saveFile(fixture.vault + QStringLiteral("/Inbox/note.md"), note, state.range(0) == 1);
            if (!written)
                state.SkipWithError("QSaveFile failed");
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}

void appendToLargeNoteDelivery(benchmark::State& state)
{
    const QByteArray existing = largeNote();
    for (auto _ : state) {
        state.PauseTiming();
        {
            Fixture fixture;
            saveFile(fixture.vault + QStringLiteral("/Journal.md"), existing);
            const CaptureFileWriter writer = fixture.writer();
            const Destination destination = fixture.destination(DeliveryMode::appendNote, QStringLiteral("Journal"));
            const Capture capture(QUuid::createUuid(), ReferenceDate::now(), QStringLiteral("A new thought."), {},
                                  std::nullopt);
            state.ResumeTiming();
            try {
                benchmark::DoNotOptimize(writer.save(capture, destination));
            } catch (const std::exception& error) {
                state.SkipWithError(error.what());
            }
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}

void appendToLargeNoteQSaveFile(benchmark::State& state)
{
    const QByteArray existing = largeNote();
    const QByteArray section =
        "\n\n## 12:00:00\n\nA new thought.\n\n<!-- quillor:00000000-0000-0000-0000-000000000000 -->\n";
    for (auto _ : state) {
        state.PauseTiming();
        {
            Fixture fixture;
            const QString path = fixture.vault + QStringLiteral("/Journal.md");
            saveFile(path, existing);
            state.ResumeTiming();
            if (!saveFile(path, existing + section, state.range(0) == 1))
                state.SkipWithError("QSaveFile failed");
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}

BENCHMARK(newNoteWithImagesDelivery)->Iterations(iterations)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(newNoteWithImagesQSaveFile)->Arg(0)->Arg(1)->Iterations(iterations)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(appendToLargeNoteDelivery)->Iterations(iterations)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(appendToLargeNoteQSaveFile)->Arg(0)->Arg(1)->Iterations(iterations)->Unit(benchmark::kMillisecond)->UseRealTime();

void printRatio(const bench::MeanTimes& times, const char* label, const std::string& delivery,
                const std::string& baseline, const char* baselineLabel)
{
    const double measured = times.of(delivery), reference = times.of(baseline);
    if (measured <= 0 || reference <= 0) {
        std::printf("%s: not measured\n", label);
        return;
    }
    std::printf("%s: %.2f× %s\n", label, measured / reference, baselineLabel);
}

} // namespace

int main(int argc, char** argv)
{
    bench::MeanTimes times;
    if (!bench::runBenchmarks(argc, argv, times))
        return 1;

    for (const auto& [suffix, baselineLabel] : {std::pair{"/0", "QSaveFile"}, std::pair{"/1", "QSaveFile + fsync"}}) {
        printRatio(times, "new note with 10×2 MB images", "newNoteWithImagesDelivery",
                   std::string("newNoteWithImagesQSaveFile") + suffix, baselineLabel);
        printRatio(times, "append to a 5 MB note", "appendToLargeNoteDelivery",
                   std::string("appendToLargeNoteQSaveFile") + suffix, baselineLabel);
    }
    return 0;
}
