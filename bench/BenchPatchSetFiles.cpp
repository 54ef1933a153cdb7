// Speed and memory of reading and writing patch set files, on both shapes of the maximal set
// (1000 entries with every slot in use, about 18 MB; see MaximalSet.h): loads from memory and
// from a file, saves into memory and to a file, freeing a loaded table, a file whose only
// block is "/bgn 32767", and a file of a million lines that each give a load note, which
// must cost about what the same lines cost without notes. A memchr line count of the same
// bytes is the baseline a reader cannot beat; every load reports its ratio to it, measured in
// the same run. Peak memory is measured in a child process that does nothing but the load, so
// what the benchmark itself allocated does not count. Benchmarks print figures; they never
// fail on a number.
#include "InMemoryIo.h"
#include "MaximalSet.h"
#include "PatchSetReader.h"
#include "PatchSetWriter.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

enum class Shape { Uniform, Random };

const QByteArray &maximalBytes(Shape shape)
{
    static const QByteArray uniform = maximal::fileBytes();
    static const QByteArray random = maximal::fileBytes(maximal::randomTable());
    return shape == Shape::Uniform ? uniform : random;
}

const char *shapeName(Shape shape)
{
    return shape == Shape::Uniform ? "uniform" : "random";
}

// A million mistyped keys: every line gives a note, and all but the first thousand are only
// counted.
const QByteArray &millionNotesBytes()
{
    static const QByteArray bytes = "TAVRO=0.3\r\n/bgn 000\r\nOmnipresence=1\r\n"
        + QByteArray("Nmae=x\r\n").repeated(1000000) + "/end 000\r\n";
    return bytes;
}

const QByteArray lastBlockOnlyBytes =
    "TAVRO=0.3\r\n\r\n/bgn 32767\r\nOmnipresence=1\r\nName=far away\r\n/end 32767\r\n";

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

// The file is on the disk before any timing starts, so that loads do not meet the system
// still writing it back.
QString writeToFolder(const QString &name, const QByteArray &bytes)
{
    const QString path = folder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()
        || ::fsync(file.handle()) != 0) {
        std::abort();
    }
    return path;
}

QString maximalFile(Shape shape)
{
    return writeToFolder(QLatin1String(shapeName(shape)) + QLatin1String(".tvr"),
                         maximalBytes(shape));
}

qsizetype countLines(const QByteArray &bytes)
{
    qsizetype lines = 0;
    const char *at = bytes.constData();
    const char *end = at + bytes.size();
    while ((at = static_cast<const char *>(std::memchr(at, '\n', size_t(end - at)))) != nullptr) {
        ++lines;
        ++at;
    }
    return lines;
}

void setMegabytes(benchmark::State &state, qsizetype size)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
    state.counters["file_MB"] = double(size) / 1e6;
}

void BM_CountLinesMemchr(benchmark::State &state, Shape shape)
{
    const QByteArray &bytes = maximalBytes(shape);
    for (auto _ : state) {
        benchmark::DoNotOptimize(countLines(bytes));
    }
    setMegabytes(state, bytes.size());
}
BENCHMARK_CAPTURE(BM_CountLinesMemchr, uniform, Shape::Uniform)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CountLinesMemchr, random, Shape::Random)->Unit(benchmark::kMillisecond);

// Times `load` on a maximal set; freeing each loaded table is not part of loading it, so it
// happens outside the timing. Before each load, outside the timing too, a memchr scan of the
// same bytes runs, so the ratio compares the two under the same conditions of the machine.
template<typename Load>
void timeMaximalLoads(benchmark::State &state, Shape shape, Load load)
{
    const QByteArray &bytes = maximalBytes(shape);
    double loading = 0;
    double scanning = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const Clock::time_point scanStart = Clock::now();
        benchmark::DoNotOptimize(countLines(bytes));
        scanning += std::chrono::duration<double>(Clock::now() - scanStart).count();
        state.ResumeTiming();

        const Clock::time_point start = Clock::now();
        ReadResult result = load();
        loading += std::chrono::duration<double>(Clock::now() - start).count();
        if (!result.ok() || result.entries.size() != maximal::EntryCount) {
            state.SkipWithError("the maximal set did not load");
            break;
        }
        benchmark::DoNotOptimize(result.entries.constData());
        state.PauseTiming();
        result = ReadResult();
        state.ResumeTiming();
    }
    setMegabytes(state, bytes.size());
    const double runs = double(std::max<int64_t>(state.iterations(), 1));
    state.counters["memchr_ms"] = scanning / runs * 1e3;
    state.counters["x_memchr"] = loading / scanning;
}

void BM_LoadMaximalSet(benchmark::State &state, Shape shape)
{
    timeMaximalLoads(state, shape, [shape] { return readBytes(maximalBytes(shape)); });
}
BENCHMARK_CAPTURE(BM_LoadMaximalSet, uniform, Shape::Uniform)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadMaximalSet, random, Shape::Random)->Unit(benchmark::kMillisecond);

void BM_LoadMaximalSetFromFile(benchmark::State &state, Shape shape)
{
    const QString path = maximalFile(shape);
    timeMaximalLoads(state, shape, [&path] { return LoadPatchSet(path); });
}
BENCHMARK_CAPTURE(BM_LoadMaximalSetFromFile, uniform, Shape::Uniform)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadMaximalSetFromFile, random, Shape::Random)->Unit(benchmark::kMillisecond);

// Dropping a loaded table: what a second load or a new set costs besides its own work.
void BM_FreeMaximalSet(benchmark::State &state, Shape shape)
{
    for (auto _ : state) {
        state.PauseTiming();
        ReadResult result = readBytes(maximalBytes(shape));
        state.ResumeTiming();
        result.entries = PatchTable();
        benchmark::DoNotOptimize(result.entries.constData());
    }
}
BENCHMARK_CAPTURE(BM_FreeMaximalSet, uniform, Shape::Uniform)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FreeMaximalSet, random, Shape::Random)->Unit(benchmark::kMillisecond);

void BM_SaveMaximalSet(benchmark::State &state, Shape shape)
{
    const PatchTable table = readBytes(maximalBytes(shape)).entries;
    QByteArray bytes;
    bytes.reserve(maximalBytes(shape).size());
    // Touched once before timing: the first pages of a fresh array are the system's cost.
    bytes.fill('\0', maximalBytes(shape).size());
    for (auto _ : state) {
        if (!writeInto(bytes, table).ok()) {
            state.SkipWithError("writing to memory failed");
            break;
        }
        benchmark::DoNotOptimize(bytes.constData());
    }
    if (bytes != maximalBytes(shape)) {
        state.SkipWithError("the saved bytes differ from the generated file");
    }
    setMegabytes(state, maximalBytes(shape).size());
}
BENCHMARK_CAPTURE(BM_SaveMaximalSet, uniform, Shape::Uniform)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveMaximalSet, random, Shape::Random)->Unit(benchmark::kMillisecond);

// Writing a new file without flushing it to the disk: what the writer itself costs. A save
// writes a new file too (beside the target, then renamed); removing the last one is the file
// system's work and happens outside the timing.
void BM_WriteMaximalSetToFile(benchmark::State &state, Shape shape)
{
    const PatchTable table = readBytes(maximalBytes(shape)).entries;
    const QString path = folder().filePath(QStringLiteral("written.tvr"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !writePatchSet(file, table, path).ok()) {
            state.SkipWithError("writing the file failed");
            break;
        }
        file.close();
    }
    setMegabytes(state, maximalBytes(shape).size());
}
BENCHMARK_CAPTURE(BM_WriteMaximalSetToFile, uniform, Shape::Uniform)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriteMaximalSetToFile, random, Shape::Random)->Unit(benchmark::kMillisecond);

// Through a temporary file beside the target, flushed to the disk and renamed, as the
// "save" button does.
void BM_SaveMaximalSetToFile(benchmark::State &state, Shape shape)
{
    const PatchTable table = readBytes(maximalBytes(shape)).entries;
    const QString path = folder().filePath(QStringLiteral("saved.tvr"));
    for (auto _ : state) {
        if (!SaveDestSet(table, path).ok()) {
            state.SkipWithError("saving failed");
            break;
        }
    }
    setMegabytes(state, maximalBytes(shape).size());
}
BENCHMARK_CAPTURE(BM_SaveMaximalSetToFile, uniform, Shape::Uniform)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveMaximalSetToFile, random, Shape::Random)->Unit(benchmark::kMillisecond);

void BM_LoadMillionNotes(benchmark::State &state)
{
    const QByteArray &bytes = millionNotesBytes();
    for (auto _ : state) {
        const ReadResult result = readBytes(bytes);
        if (!result.ok() || result.entries.size() != 1) {
            state.SkipWithError("the million-note set did not load");
            break;
        }
        benchmark::DoNotOptimize(result.entries.constData());
    }
    setMegabytes(state, bytes.size());
}
BENCHMARK(BM_LoadMillionNotes)->Unit(benchmark::kMillisecond);

void BM_LoadLastBlockOnly(benchmark::State &state)
{
    const QString path = writeToFolder(QStringLiteral("32767.tvr"), lastBlockOnlyBytes);
    for (auto _ : state) {
        const ReadResult result = LoadPatchSet(path);
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

// A "Vm..." figure of /proc/self/status in megabytes: VmRSS is what the process holds now,
// VmHWM the most it ever held. Both count from the start of this program, unlike getrusage's
// peak, which a child may inherit from the process that started it.
double statusMegabytes(const char *field)
{
    double kilobytes = 0;
    if (FILE *status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        const size_t length = std::strlen(field);
        while (std::fgets(line, sizeof line, status)) {
            if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
                kilobytes = std::atof(line + length + 1);
                break;
            }
        }
        std::fclose(status);
    }
    return kilobytes * 1024.0 / 1e6;
}

// The child: load one file, print how far the peak rose above what was resident before.
int measurePeakLoad(const char *path)
{
    const double before = statusMegabytes("VmRSS");
    const ReadResult result = LoadPatchSet(QString::fromLocal8Bit(path));
    if (!result.ok()) {
        return 1;
    }
    const double peak = statusMegabytes("VmHWM");
    std::printf("%f %f\n", peak - before, peak);
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

void BM_PeakMemoryMaximalSet(benchmark::State &state, Shape shape)
{
    peakLoad(state, maximalBytes(shape),
             QLatin1String("peak-") + QLatin1String(shapeName(shape)) + QLatin1String(".tvr"));
}
BENCHMARK_CAPTURE(BM_PeakMemoryMaximalSet, uniform, Shape::Uniform)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PeakMemoryMaximalSet, random, Shape::Random)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

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
