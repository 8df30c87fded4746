// What indexing a vault costs over reading its notes: a synthetic vault of
// 10,000 and of 100,000 notes (about 2 KB each, with headings, tags, wiki
// links, code blocks and a few images), scanned by VaultIndex and read by a
// plain walk that opens and reads the same files on the same single thread
// (the I/O floor), in the same run. The notes share a handful of tags, as a
// vault's notes do, and the index does not look twice at a tag it already
// has; a third vault of 10,000 notes that each also hold a tag of their own
// (a date, say) shows the cost when every note goes through the whole
// analysis. Also the indexing time of one note that is a single line of
// unclosed "*", "_" and "#" just under the tag size limit, a rescan of an
// unchanged vault (as every showing of the panel asks for) against a full
// scan, and the memory the index of 100,000 notes holds per note.

#include "vault/VaultIndex.h"

#include <QFile>

#include "MeanTimes.h"
#include "SyntheticVault.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>

using namespace quillor;
using bench::SyntheticVault;

namespace {

constexpr int iterations = 3;

const SyntheticVault& vaultOf(int count, bool ownTag = false)
{
    static std::map<std::pair<int, bool>, std::unique_ptr<SyntheticVault>> vaults;
    auto& vault = vaults[{count, ownTag}];
    if (!vault)
        vault = std::make_unique<SyntheticVault>(count, ownTag);
    return *vault;
}

// The floor: find the notes the way the scan does (the same walk, hidden
// folders skipped, the entry's type as the folder listing gives it) and read
// each one whole into a reused buffer, with nothing else done.
qint64 readEveryNote(const QString& root)
{
    namespace fs = std::filesystem;
    qint64 total = 0;
    std::error_code error;
    static thread_local std::string buffer(1 << 20, '\0');
    for (fs::recursive_directory_iterator it(QFile::encodeName(root).toStdString(), error), end; it != end;
         it.increment(error)) {
        const std::string& path = it->path().native();
        const std::string_view name = std::string_view(path).substr(path.rfind('/') + 1);
        if (name.starts_with('.')) {
            it.disable_recursion_pending();
            continue;
        }
        if (!name.ends_with(".md") || it->is_symlink(error) || !it->is_regular_file(error))
            continue;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        ssize_t got;
        while ((got = ::read(fd, buffer.data(), buffer.size())) > 0)
            total += got;
        ::close(fd);
    }
    return total;
}

void indexVault(benchmark::State& state, const SyntheticVault& vault)
{
    for (auto _ : state) {
        try {
            const VaultIndex index = VaultIndex::scan(vault.path());
            state.counters["notes"] = double(index.notes.size());
            state.counters["tags"] = double(index.tags.size());
        } catch (const std::exception& error) {
            state.SkipWithError(error.what());
        }
    }
}

// Every note is as the previous scan left it.
void rescanning(benchmark::State& state)
{
    const SyntheticVault& vault = vaultOf(int(state.range(0)));
    try {
        const VaultIndex previous = VaultIndex::scan(vault.path());
        for (auto _ : state)
            benchmark::DoNotOptimize(VaultIndex::scan(vault.path(), {}, previous));
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

void readVault(benchmark::State& state, const SyntheticVault& vault)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(readEveryNote(vault.path()));
    state.counters["MB"] = double(vault.bytes()) / 1e6;
}

void indexing(benchmark::State& state) { indexVault(state, vaultOf(int(state.range(0)))); }
void readingFloor(benchmark::State& state) { readVault(state, vaultOf(int(state.range(0)))); }
void indexingOwnTag(benchmark::State& state) { indexVault(state, vaultOf(int(state.range(0)), true)); }
void readingFloorOwnTag(benchmark::State& state) { readVault(state, vaultOf(int(state.range(0)), true)); }

void pathologicalNote(benchmark::State& state)
{
    QTemporaryDir dir;
    QByteArray line;
    // Opens with "#_" so that it holds a tag and goes through the whole analysis.
    const char markers[] = {'#', '_', '*', '*', '_', '#', '*', '#', '#', '_', '*'};
    line.reserve(VaultIndex::tagSizeLimit);
    for (qsizetype i = 0; i < VaultIndex::tagSizeLimit - 1; ++i)
        line += markers[i % qsizetype(sizeof markers)];
    bench::writeFile(dir.path() + QStringLiteral("/long.md"), line);
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(VaultIndex::scan(dir.path()));
        } catch (const std::exception& error) {
            state.SkipWithError(error.what());
        }
    }
}

// Both sizes' floors and scans alternate, so the page cache is as warm for one
// as for the other.
BENCHMARK(readingFloor)->Arg(10000)->Iterations(iterations)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(indexing)->Arg(10000)->Iterations(iterations)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(rescanning)->Arg(10000)->Iterations(iterations)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(readingFloor)->Arg(100000)->Iterations(iterations)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(indexing)->Arg(100000)->Iterations(iterations)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(rescanning)->Arg(100000)->Iterations(iterations)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(readingFloorOwnTag)->Arg(10000)->Iterations(iterations)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(indexingOwnTag)->Arg(10000)->Iterations(iterations)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(pathologicalNote)->Iterations(iterations)->Unit(benchmark::kMillisecond)->UseRealTime();

void printRatio(const bench::MeanTimes& times, int notes, const std::string& variant = {}, const char* label = "")
{
    const std::string size = variant + "/" + std::to_string(notes);
    const double scan = times.of("indexing" + size);
    const double floor = times.of("readingFloor" + size);
    if (scan <= 0 || floor <= 0) {
        std::printf("%d notes%s: not measured\n", notes, label);
        return;
    }
    std::printf("%d notes%s: indexing %.0f ms, reading %.0f ms: %.2f× the I/O floor (one thread each)\n", notes,
                label, scan * 1e3, floor * 1e3, scan / floor);
}

void printRescan(const bench::MeanTimes& times, int notes)
{
    const std::string size = "/" + std::to_string(notes);
    const double rescan = times.of("rescanning" + size);
    const double scan = times.of("indexing" + size);
    if (rescan <= 0 || scan <= 0) {
        std::printf("%d notes, unchanged: rescan not measured\n", notes);
        return;
    }
    std::printf("%d notes, unchanged: rescan %.0f ms, full scan %.0f ms: %.2f× the full scan\n", notes, rescan * 1e3,
                scan * 1e3, rescan / scan);
}

size_t heapInUse()
{
    const struct mallinfo2 info = ::mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The heap the index holds once the scan's working storage is gone: its
// notes and tags, and the memo a rescan reuses.
void printMemory(int notes)
{
    const SyntheticVault& vault = vaultOf(notes);
    VaultIndex::scan(vault.path());   // the scan's per-thread working storage, kept from then on
    ::malloc_trim(0);
    const size_t before = heapInUse();
    VaultIndex index = VaultIndex::scan(vault.path());
    const size_t whole = heapInUse() - before;
    index.memo.reset();
    const size_t memo = whole - (heapInUse() - before);
    std::printf("%d notes: the index holds %.0f bytes per note (%.0f of them for the rescan's memo)\n", notes,
                double(whole) / notes, double(memo) / notes);
}

} // namespace

int main(int argc, char** argv)
{
    bench::MeanTimes times;
    if (!bench::runBenchmarks(argc, argv, times))
        return 1;

    printRatio(times, 10000);
    printRatio(times, 100000);
    printRatio(times, 10000, "OwnTag", ", each with a tag of its own");
    printRescan(times, 10000);
    printRescan(times, 100000);
    if (times.of("indexing/100000") > 0)
        printMemory(100000);
    if (const double pathological = times.of("pathologicalNote"); pathological > 0)
        std::printf("single-line note of 999,999 unclosed markers: indexed in %.1f ms\n", pathological * 1e3);
    else
        std::printf("single-line note: not measured\n");
    return 0;
}
