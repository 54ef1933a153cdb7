// The cost of the undo history and of the shared-entry marks on maximal sets: the memory a
// hundred moves add to the history, one undo and one redo after them (with the refreshes
// and marks the editor works out on fake views), and the marks of two sets whose names are
// all shared, once with entries sharing their storage and once built apart.
#include "FakeSideView.h"
#include "LineMarks.h"
#include "MaximalSet.h"

#include <benchmark/benchmark.h>

#include <QDateTime>

#include <malloc.h>

#include <memory>

namespace {

constexpr int MoveCount = 100;

// Both sides loaded as the window loads them, every name on both sides, DEST's first
// entry walked down a hundred places: a hundred steps in the history.
std::unique_ptr<EditorRig> movedRig(const PatchTable &src, const PatchTable &dest)
{
    auto rig = std::make_unique<EditorRig>();
    rig->editor.installLoadedSet(Side::Left, src, "0.3", QStringLiteral("src.tvr"),
                                 QDateTime::currentDateTime());
    rig->editor.installLoadedSet(Side::Right, dest, "0.3", QStringLiteral("dest.tvr"),
                                 QDateTime::currentDateTime());
    rig->right.current = 0;
    for (int move = 0; move < MoveCount; ++move) {
        rig->editor.moveDown(Side::Right);
    }
    return rig;
}

std::size_t allocatedBytes()
{
    return mallinfo2().uordblks;
}

void BM_HundredMovesMemory(benchmark::State &state)
{
    const PatchTable src = maximal::table('D');
    const PatchTable dest = maximal::table('D');
    double addedBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto rig = std::make_unique<EditorRig>();
        rig->editor.installLoadedSet(Side::Left, src, "0.3", QString(),
                                     QDateTime::currentDateTime());
        rig->editor.installLoadedSet(Side::Right, dest, "0.3", QString(),
                                     QDateTime::currentDateTime());
        rig->right.current = 0;
        const std::size_t before = allocatedBytes();
        state.ResumeTiming();

        for (int move = 0; move < MoveCount; ++move) {
            rig->editor.moveDown(Side::Right);
        }

        state.PauseTiming();
        addedBytes = double(allocatedBytes()) - double(before);
        if (rig->sets.DestTable.at(MoveCount).Name != dest.at(0).Name) {
            state.SkipWithError("the moves went wrong");
        }
        rig.reset();
        state.ResumeTiming();
    }
    // The views' lines and marks are rebuilt, not added to, so what stays is the history's.
    state.counters["added_MB"] = addedBytes / (1024.0 * 1024.0);
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

// Both sides' marks, as the editor works them out after a change of either table.
void marksOfBothSides(benchmark::State &state, const PatchTable &src, const PatchTable &dest)
{
    for (auto _ : state) {
        const SharedEntryMarks marks = sharedEntryMarks(src, dest);
        benchmark::DoNotOptimize(marks.src.constData());
        if (marks.src.count(LineMark::Identical) != src.size()
            || marks.dest.count(LineMark::Identical) != dest.size()) {
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
