// The cost of the undo history and of the shared-entry marks on maximal sets: the memory a
// hundred moves add to the history, one undo and one redo after them (with the refreshes
// and marks the editor works out on fake views, which read the marks of a screenful of lines
// as a list does); the memory forty loads add, of one file
// reloaded and of forty different sets, and an undo after them; and the marks of two sets
// whose names are all shared, once with entries sharing their storage and once built apart.
#include "FakeSideView.h"
#include "LineMarks.h"
#include "MaximalSet.h"
#include "PatchSetReader.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QDateTime>

#include <malloc.h>

#include <memory>

namespace {

constexpr int MoveCount = 100;

// Both sides loaded as the window loads them, every name on both sides, DEST's first line
// current.
std::unique_ptr<EditorRig> loadedRig(const PatchTable &src, const PatchTable &dest)
{
    auto rig = std::make_unique<EditorRig>();
    rig->readScreenfuls();
    rig->editor.installLoadedSet(Side::Left, src, "0.3", QStringLiteral("src.tvr"),
                                 QDateTime::currentDateTime());
    rig->editor.installLoadedSet(Side::Right, dest, "0.3", QStringLiteral("dest.tvr"),
                                 QDateTime::currentDateTime());
    rig->right.current = 0;
    return rig;
}

// DEST's current entry walked down a hundred places: a hundred steps in the history.
void moveHundred(EditorRig &rig)
{
    for (int move = 0; move < MoveCount; ++move) {
        rig.editor.moveDown(Side::Right);
    }
}

std::unique_ptr<EditorRig> movedRig(const PatchTable &src, const PatchTable &dest)
{
    auto rig = loadedRig(src, dest);
    moveHundred(*rig);
    return rig;
}

// Heap and mapped chunks both: large tables' lists may be mapped rather than on the heap.
std::size_t allocatedBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

constexpr double Megabyte = 1024.0 * 1024.0;

void BM_HundredMovesMemory(benchmark::State &state)
{
    const PatchTable src = maximal::table('D');
    const PatchTable dest = maximal::table('D');
    double addedBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto rig = loadedRig(src, dest);
        const std::size_t before = allocatedBytes();
        state.ResumeTiming();

        moveHundred(*rig);

        state.PauseTiming();
        addedBytes = double(allocatedBytes()) - double(before);
        if (rig->sets.DestTable.at(MoveCount).Name != dest.at(0).Name) {
            state.SkipWithError("the moves went wrong");
        }
        rig.reset();
        state.ResumeTiming();
    }
    // The views' lines and marks are rebuilt, not added to, so what stays is the history's.
    state.counters["added_MB"] = addedBytes / Megabyte;
}
BENCHMARK(BM_HundredMovesMemory)->Unit(benchmark::kMillisecond);

void BM_UndoAfterHundredMoves(benchmark::State &state)
{
    const auto rig = movedRig(maximal::table('D'), maximal::table('D'));
    for (auto _ : state) {
        rig->editor.undo();

        state.PauseTiming();
        rig->editor.redo();
        state.ResumeTiming();
    }
    if (rig->sets.DestTable.at(MoveCount).Name != "D000000" || rig->right.current != 0) {
        state.SkipWithError("undo went wrong");
    }
}
BENCHMARK(BM_UndoAfterHundredMoves)->Unit(benchmark::kMillisecond);

void BM_RedoAfterHundredMoves(benchmark::State &state)
{
    const auto rig = movedRig(maximal::table('D'), maximal::table('D'));
    for (auto _ : state) {
        state.PauseTiming();
        rig->editor.undo();
        state.ResumeTiming();

        rig->editor.redo();
    }
    if (rig->sets.DestTable.at(MoveCount).Name != "D000000" || rig->editor.canRedo()) {
        state.SkipWithError("redo went wrong");
    }
}
BENCHMARK(BM_RedoAfterHundredMoves)->Unit(benchmark::kMillisecond);

constexpr int LoadCount = 40;

// A DEST load as the window makes it: the file read afresh into storage of its own, then
// handed to the editor.
void loadDest(EditorRig &rig, const QByteArray &bytes, const QString &path)
{
    QBuffer file;
    file.setData(bytes);
    file.open(QIODevice::ReadOnly);
    const ReadResult result = readPatchSet(file, path);
    if (!result.ok()) {
        std::abort();
    }
    rig.editor.installLoadedSet(Side::Right, result.entries, result.version, path,
                                QDateTime(QDate(2026, 1, 1), QTime(12, 0)));
}

// A maximal DEST loaded, then reloaded forty times from four copies of its file, as a user
// alternating between them would: every load is a step, each holding the same set.
void reloadForty(EditorRig &rig, const QByteArray &bytes)
{
    for (int load = 0; load < LoadCount; ++load) {
        loadDest(rig, bytes, QStringLiteral("copy%1.tvr").arg(load % 4));
    }
}

// Forty maximal DEST sets, each with names of its own, so none shares an entry with another.
void loadFortyDifferent(EditorRig &rig)
{
    for (int load = 0; load < LoadCount; ++load) {
        const PatchTable table = maximal::table(char('A' + load));
        rig.editor.installLoadedSet(Side::Right, table, "0.3",
                                    QStringLiteral("set%1.tvr").arg(load),
                                    QDateTime(QDate(2026, 1, 1), QTime(12, 0)));
    }
}

// Times `loads` on an editor that `first` prepared, and reports what they added to the
// process and what the history holds of tables no side shows.
template<typename First, typename Loads>
void measureLoads(benchmark::State &state, First first, Loads loads)
{
    for (auto _ : state) {
        state.PauseTiming();
        EditorRig rig;
        rig.readScreenfuls();
        first(rig);
        const std::size_t before = allocatedBytes();
        state.ResumeTiming();

        loads(rig);

        state.PauseTiming();
        state.counters["added_MB"] = (double(allocatedBytes()) - double(before)) / Megabyte;
        state.counters["history_MB"] = double(rig.editor.history().heldBytes()) / Megabyte;
        state.ResumeTiming();
    }
}

void BM_FortyReloadsMemory(benchmark::State &state)
{
    const QByteArray bytes = maximal::fileBytes();
    measureLoads(
        state, [&bytes](EditorRig &rig) { loadDest(rig, bytes, QStringLiteral("copy3.tvr")); },
        [&bytes](EditorRig &rig) { reloadForty(rig, bytes); });
}
BENCHMARK(BM_FortyReloadsMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_FortyDifferentSetsMemory(benchmark::State &state)
{
    measureLoads(
        state, [](EditorRig &) {}, loadFortyDifferent);
}
BENCHMARK(BM_FortyDifferentSetsMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// Undo of the last load, after the forty; the redo that puts it back is not timed.
void undoLastLoad(benchmark::State &state, EditorRig &rig)
{
    const QByteArray shown = rig.sets.DestTable.first().Name;
    for (auto _ : state) {
        rig.editor.undo();

        state.PauseTiming();
        rig.editor.redo();
        state.ResumeTiming();
    }
    if (rig.sets.DestTable.first().Name != shown || rig.editor.canRedo()) {
        state.SkipWithError("undo went wrong");
    }
}

// SRC holds a maximal set built apart whose names are those of the reloaded DEST, so the
// marks of the lines shown compare entries byte for byte, as after loading two copies of one
// set.
void loadComparedSrc(EditorRig &rig)
{
    rig.editor.installLoadedSet(Side::Left, maximal::table('E'), "0.3", QStringLiteral("src.tvr"),
                                QDateTime(QDate(2026, 1, 1), QTime(12, 0)));
}

void BM_UndoAfterFortyReloads(benchmark::State &state)
{
    EditorRig rig;
    rig.readScreenfuls();
    loadComparedSrc(rig);
    reloadForty(rig, maximal::fileBytes());
    undoLastLoad(state, rig);
}
BENCHMARK(BM_UndoAfterFortyReloads)->Unit(benchmark::kMillisecond);

void BM_UndoAfterFortyDifferentSets(benchmark::State &state)
{
    EditorRig rig;
    rig.readScreenfuls();
    loadComparedSrc(rig);
    loadFortyDifferent(rig);
    undoLastLoad(state, rig);
}
BENCHMARK(BM_UndoAfterFortyDifferentSets)->Unit(benchmark::kMillisecond);

// Both sides' marks, every record's, worked out from nothing.
void marksOfBothSides(benchmark::State &state, const PatchTable &src, const PatchTable &dest)
{
    PatchSets sets;
    sets.SrcTable = src;
    sets.DestTable = dest;
    for (auto _ : state) {
        SharedMarks marks(sets);
        marks.follow();
        int identical = 0;
        for (const Side side : {Side::Left, Side::Right}) {
            for (int position = 0; position < sets.table(side).size(); ++position) {
                identical += marks.markOf(side, position) == LineMark::Identical;
            }
        }
        if (identical != src.size() + dest.size()) {
            state.SkipWithError("wrong marks");
        }
    }
}

void BM_MarksSharedStorage(benchmark::State &state)
{
    const PatchTable src = maximal::table('D');
    PatchTable dest = src; // copied entries: every text shared with SRC
    dest.detach();
    marksOfBothSides(state, src, dest);
}
BENCHMARK(BM_MarksSharedStorage)->Unit(benchmark::kMillisecond);

void BM_MarksBuiltApart(benchmark::State &state)
{
    marksOfBothSides(state, maximal::table('D'), maximal::table('D'));
}
BENCHMARK(BM_MarksBuiltApart)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
