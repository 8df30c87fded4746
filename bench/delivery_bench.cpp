// What a delivery costs over the durable writes it cannot avoid: a new note
// with ten 2 MB images, and an append to a 5 MB note, each beside the same
// files written with plain QSaveFile and written with the writer's own
// durability (each file flushed with fsync before it is renamed into place,
// each folder whose entries changed flushed once at the end). The sides take
// turns within every round, so a change in the machine's load falls on all of
// them; medians of wall and CPU time are printed with their ratios.

#include "core/CaptureFileWriter.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Median.h"

using namespace quillor;

namespace {

constexpr int imageCount = 10;
constexpr qsizetype imageSize = 2 * 1024 * 1024;
constexpr qsizetype noteSize = 5 * 1024 * 1024;
constexpr int rounds = 31;

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

// Each side of a comparison, one at a time.
enum class Side { delivery, qSaveFile, sameDurability };
constexpr Side sides[] = {Side::delivery, Side::qSaveFile, Side::sameDurability};

const char* nameOf(Side side)
{
    switch (side) {
    case Side::delivery:
        return "delivery";
    case Side::qSaveFile:
        return "QSaveFile";
    case Side::sameDurability:
        return "same durability";
    }
    return "";
}

struct Sample {
    double wall = 0;   // seconds
    double cpu = 0;
};

// Per comparison, per side.
std::map<std::string, std::map<Side, std::vector<Sample>>>& samples()
{
    static std::map<std::string, std::map<Side, std::vector<Sample>>> all;
    return all;
}

double secondsOf(clockid_t clock)
{
    timespec now {};
    ::clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

Sample measure(const std::function<bool()>& work, bool& succeeded)
{
    const double wall = secondsOf(CLOCK_MONOTONIC), cpu = secondsOf(CLOCK_PROCESS_CPUTIME_ID);
    succeeded = work();
    return {secondsOf(CLOCK_MONOTONIC) - wall, secondsOf(CLOCK_PROCESS_CPUTIME_ID) - cpu};
}

bool saveFile(const QString& path, const QList<QByteArrayView>& parts)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const QByteArrayView part : parts) {
        if (file.write(part.data(), part.size()) != part.size())
            return false;
    }
    return file.commit();
}

bool writeAll(int fd, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(fd, bytes.data(), size_t(bytes.size()));
        if (written < 0 && errno != EINTR)
            return false;
        if (written > 0)
            bytes = bytes.sliced(written);
    }
    return true;
}

// The file written beside its place, flushed with fsync, then renamed in.
bool writeDurably(const QString& path, const QList<QByteArrayView>& parts)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = target + ".tmp";
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool written = true;
    for (const QByteArrayView part : parts)
        written = written && writeAll(fd, part);
    written = written && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    return written && ::rename(temporary.constData(), target.constData()) == 0;
}

bool syncFolders(const QStringList& folders)
{
    bool synced = true;
    for (const QString& folder : folders) {
        const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        synced = synced && fd >= 0 && ::fsync(fd) == 0;
        if (fd >= 0)
            ::close(fd);
    }
    return synced;
}

// Runs the sides once each per round, starting with another one each round;
// the setup and the clean-up of each side are not timed. The table shows the
// delivery's wall time; its CPU column also counts every side and setup.
void compare(benchmark::State& state, const std::string& comparison,
             const std::function<std::function<bool()>(Side, const Fixture&)>& prepare)
{
    auto& measured = samples()[comparison];
    int round = 0;
    for (auto _ : state) {
        for (int turn = 0; turn < 3; ++turn) {
            const Side side = sides[(round + turn) % 3];
            bool succeeded = false;
            Sample sample;
            {
                const Fixture fixture;
                const std::function<bool()> work = prepare(side, fixture);
                sample = measure(work, succeeded);
            }
            if (!succeeded) {
                state.SkipWithError((std::string(nameOf(side)) + " failed").c_str());
                return;
            }
            measured[side].push_back(sample);
            if (side == Side::delivery)
                state.SetIterationTime(sample.wall);
        }
        ++round;
    }
}

bool deliver(const CaptureFileWriter& writer, const Capture& capture, const Destination& destination)
{
    try {
        writer.save(capture, destination);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void newNoteWithImages(benchmark::State& state)
{
    const Capture capture = captureWithImages();
    const QByteArray note = capture.body.toUtf8();
    compare(state, "new note with 10×2 MB images", [&](Side side, const Fixture& fixture) -> std::function<bool()> {
        const Destination destination = fixture.destination(DeliveryMode::newNote, QStringLiteral("Inbox"));
        const QString attachments = fixture.vault + QStringLiteral("/Attachments");
        const QString images = attachments + QStringLiteral("/Quillor");
        const QString inbox = fixture.vault + QStringLiteral("/Inbox");
        const auto write = [=, &capture](const std::function<bool(const QString&, const QList<QByteArrayView>&)>& save) {
            bool written = QDir().mkpath(images) && QDir().mkpath(inbox);
            for (const CaptureAttachment& image : capture.attachments)
                written = written
                    && save(images + QLatin1Char('/') + image.id.toString(QUuid::WithoutBraces) + QStringLiteral(".png"),
                            {image.data});
            return written && save(inbox + QStringLiteral("/note.md"), {note});
        };
        switch (side) {
        case Side::delivery:
            return [&capture, writer = fixture.writer(), destination] { return deliver(writer, capture, destination); };
        case Side::qSaveFile:
            return [=] { return write(saveFile); };
        case Side::sameDurability:
            return [=, vault = fixture.vault] {
                return write(writeDurably) && syncFolders({images, attachments, inbox, vault});
            };
        }
        return {};
    });
}

void appendToLargeNote(benchmark::State& state)
{
    const QByteArray existing = largeNote();
    const QByteArray section =
        "\n\n## 12:00:00\n\nA new thought.\n\n<!-- quillor:00000000-0000-0000-0000-000000000000 -->\n";
    compare(state, "append to a 5 MB note", [&](Side side, const Fixture& fixture) -> std::function<bool()> {
        const QString path = fixture.vault + QStringLiteral("/Journal.md");
        saveFile(path, {existing});
        switch (side) {
        case Side::delivery: {
            const Destination destination = fixture.destination(DeliveryMode::appendNote, QStringLiteral("Journal"));
            const Capture capture(QUuid::createUuid(), ReferenceDate::now(), QStringLiteral("A new thought."), {},
                                  std::nullopt);
            return [writer = fixture.writer(), destination, capture] { return deliver(writer, capture, destination); };
        }
        case Side::qSaveFile:
            return [&, path] { return saveFile(path, {existing, section}); };
        case Side::sameDurability:
            return [&, path, vault = fixture.vault] {
                return writeDurably(path, {existing, section}) && syncFolders({vault});
            };
        }
        return {};
    });
}

BENCHMARK(newNoteWithImages)->Iterations(rounds)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(appendToLargeNote)->Iterations(rounds)->Unit(benchmark::kMillisecond)->UseManualTime();

using quillor::bench::median;

void printComparison(const std::string& comparison, const std::map<Side, std::vector<Sample>>& bySide)
{
    std::map<Side, Sample> medians;
    for (const Side side : sides) {
        const auto found = bySide.find(side);
        if (found == bySide.end() || found->second.empty()) {
            std::printf("%s: not measured\n", comparison.c_str());
            return;
        }
        std::vector<double> wall, cpu;
        for (const Sample& sample : found->second) {
            wall.push_back(sample.wall);
            cpu.push_back(sample.cpu);
        }
        medians[side] = {median(wall), median(cpu)};
    }
    std::printf("%s, medians of %zu rounds (wall / CPU):", comparison.c_str(), bySide.at(Side::delivery).size());
    for (const Side side : sides)
        std::printf(" %s %.1f / %.1f ms;", nameOf(side), medians[side].wall * 1e3, medians[side].cpu * 1e3);
    const Sample& delivery = medians[Side::delivery];
    std::printf("\n  delivery: %.2f× the same durability (CPU %.2f×), %.2f× plain QSaveFile (CPU %.2f×)\n",
                delivery.wall / medians[Side::sameDurability].wall, delivery.cpu / medians[Side::sameDurability].cpu,
                delivery.wall / medians[Side::qSaveFile].wall, delivery.cpu / medians[Side::qSaveFile].cpu);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& [comparison, bySide] : samples())
        printComparison(comparison, bySide);
    return 0;
}
