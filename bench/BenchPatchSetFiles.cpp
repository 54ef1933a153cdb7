// Speed and memory of reading and writing patch set files: the maximal set (1000 entries
// with every slot in use, about 18 MB) loaded and saved in memory and through files, a
// memchr line count of the same bytes as the baseline a line reader cannot beat, and a
// file whose only block is "/bgn 32767". Peak memory is measured in a child process that
// does nothing but the load, so what the benchmark itself allocated does not count.
#include "MaximalSet.h"
#include "PatchSetReader.h"
#include "PatchSetWriter.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const QByteArray &maximalBytes()
{
    static const QByteArray bytes = maximal::fileBytes();
    return bytes;
}

const QByteArray lastBlockOnlyBytes =
    "TAVRO=0.3\r\n\r\n/bgn 32767\r\nOmnipresence=1\r\nName=far away\r\n/end 32767\r\n";

ReadResult readFromMemory(const QByteArray &bytes)
{
    QByteArray copy = bytes; // shares the data; QBuffer wants a mutable array
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return readPatchSet(buffer, QStringLiteral("bench.tvr"));
}

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString writeToFolder(const QString &name, const QByteArray &bytes)
{
    const QString path = folder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::abort();
    }
    return path;
}

void setMegabytes(benchmark::State &state, qsizetype size)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
    state.counters["file_MB"] = double(size) / 1e6;
}

void BM_CountLinesMemchr(benchmark::State &state)
{
    const QByteArray &bytes = maximalBytes();
    for (auto _ : state) {
        qsizetype lines = 0;
        const char *at = bytes.constData();
        const char *end = at + bytes.size();
        while ((at = static_cast<const char *>(std::memchr(at, '\n', size_t(end - at)))) != nullptr) {
            ++lines;
            ++at;
        }
        benchmark::DoNotOptimize(lines);
    }
    setMegabytes(state, bytes.size());
}
BENCHMARK(BM_CountLinesMemchr)->Unit(benchmark::kMillisecond);

// Times `load` on the maximal set; freeing each loaded table is not part of loading it, so
// it happens outside the timing.
template<typename Load> void timeMaximalLoads(benchmark::State &state, Load load)
{
    for (auto _ : state) {
        ReadResult result = load();
        if (!result.ok() || result.entries.size() != maximal::EntryCount) {
            state.SkipWithError("the maximal set did not load");
            break;
        }
        benchmark::DoNotOptimize(result.entries.constData());
        state.PauseTiming();
        result = ReadResult();
        state.ResumeTiming();
    }
    setMegabytes(state, maximalBytes().size());
}

void BM_LoadMaximalSet(benchmark::State &state)
{
    timeMaximalLoads(state, [] { return readFromMemory(maximalBytes()); });
}
BENCHMARK(BM_LoadMaximalSet)->Unit(benchmark::kMillisecond);

void BM_LoadMaximalSetFromFile(benchmark::State &state)
{
    const QString path = writeToFolder(QStringLiteral("maximal.tvr"), maximalBytes());
    timeMaximalLoads(state, [&path] { return LoadPatchSet(path); });
}
BENCHMARK(BM_LoadMaximalSetFromFile)->Unit(benchmark::kMillisecond);

void BM_SaveMaximalSet(benchmark::State &state)
{
    const PatchTable table = readFromMemory(maximalBytes()).entries;
    QByteArray bytes;
    bytes.reserve(maximalBytes().size());
    for (auto _ : state) {
        bytes.resize(0);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!writePatchSet(buffer, table, QStringLiteral("bench.tvr")).ok()) {
            state.SkipWithError("writing to memory failed");
            break;
        }
        benchmark::DoNotOptimize(bytes.constData());
    }
    if (bytes != maximalBytes()) {
        state.SkipWithError("the saved bytes differ from the generated file");
    }
    setMegabytes(state, maximalBytes().size());
}
BENCHMARK(BM_SaveMaximalSet)->Unit(benchmark::kMillisecond);

// Through a temporary file beside the target and a rename, as the "save" button does.
void BM_SaveMaximalSetToFile(benchmark::State &state)
{
    const PatchTable table = readFromMemory(maximalBytes()).entries;
    const QString path = folder().filePath(QStringLiteral("saved.tvr"));
    for (auto _ : state) {
        if (!SaveDestSet(table, path).ok()) {
            state.SkipWithError("saving failed");
            break;
        }
    }
    setMegabytes(state, maximalBytes().size());
}
BENCHMARK(BM_SaveMaximalSetToFile)->Unit(benchmark::kMillisecond);

void BM_LoadLastBlockOnly(benchmark::State &state)
{
    for (auto _ : state) {
        const ReadResult result = readFromMemory(lastBlockOnlyBytes);
        if (!result.ok() || result.entries.size() != 32768) {
            state.SkipWithError("the /bgn 32767 set did not load");
            break;
        }
        benchmark::DoNotOptimize(result.entries.constData());
    }
}
BENCHMARK(BM_LoadLastBlockOnly)->Unit(benchmark::kMillisecond);

// --- peak memory, measured in a child process -------------------------------------------

const char peakOption[] = "--peak-load=";

double residentMegabytes()
{
    long pages = 0;
    long resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / 1e6;
}

double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) * 1024.0 / 1e6;
}

// The child: load one file, print how far the peak rose above what was resident before.
int measurePeakLoad(const char *path)
{
    const double before = residentMegabytes();
    const ReadResult result = LoadPatchSet(QString::fromLocal8Bit(path));
    if (!result.ok()) {
        return 1;
    }
    std::printf("%f %f\n", peakResidentMegabytes() - before, peakResidentMegabytes());
    return 0;
}

void peakLoad(benchmark::State &state, const QByteArray &bytes, const QString &name)
{
    const QString path = writeToFolder(name, bytes);
    const std::string command = std::string("/proc/") + std::to_string(getpid()) + "/exe "
                                + peakOption + "'" + path.toStdString() + "'";
    double growth = 0;
    double peak = 0;
    for (auto _ : state) {
        FILE *child = popen(command.c_str(), "r");
        const bool read = child != nullptr && std::fscanf(child, "%lf %lf", &growth, &peak) == 2;
        if (child == nullptr || pclose(child) != 0 || !read) {
            state.SkipWithError("the measuring child failed");
            return;
        }
    }
    state.counters["load_peak_MB"] = growth; // above the child's resident size before loading
    state.counters["process_peak_MB"] = peak;
    state.counters["file_bytes"] = double(bytes.size());
    state.counters["peak_per_file_size"] = growth / (double(bytes.size()) / 1e6);
}

void BM_PeakMemoryMaximalSet(benchmark::State &state)
{
    peakLoad(state, maximalBytes(), QStringLiteral("peak-maximal.tvr"));
}
BENCHMARK(BM_PeakMemoryMaximalSet)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_PeakMemoryLastBlockOnly(benchmark::State &state)
{
    peakLoad(state, lastBlockOnlyBytes, QStringLiteral("peak-32767.tvr"));
}
BENCHMARK(BM_PeakMemoryLastBlockOnly)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && std::strncmp(argv[1], peakOption, sizeof peakOption - 1) == 0) {
        return measurePeakLoad(argv[1] + sizeof peakOption - 1);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
