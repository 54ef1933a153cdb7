// Speed of the editing commands on large sets: a deletion press, a copy of a thousand
// entries, a single move and a block of half the set moved to the top, each with the
// refreshes it runs, on fake side views that read a screenful of marks, as a list does; and
// two maximal namesakes compared row by row, as the entry view asks for them. And the marks
// of two sides of 32768 small entries of the same names, every second one differing, so every
// line of both sides is marked: all of them at once, what a change of one side costs them,
// with a screenful of lines asked for, a line's near name, and the count's breakdown of a side
// by its marks.
#include "EntryComparison.h"
#include "FakeSideView.h"
#include "LineMarks.h"
#include "MaximalSet.h"

#include <benchmark/benchmark.h>

namespace {

using maximal::EntryCount;

void allLines(FakeSideView &view, int step)
{
    QList<int> lines;
    for (int line = 0; line < view.lineCount(); line += step) {
        lines.append(line);
    }
    view.select(lines);
}

// Times `command` on a DEST that holds a table of its own with the maximal set, every second
// line selected: half the set, and no two selected lines side by side.
template<typename Command>
void timeOnEverySecond(benchmark::State &state, EditorRig &rig, Command command)
{
    const PatchTable dest = maximal::table('D');
    for (auto _ : state) {
        state.PauseTiming();
        rig.sets.DestTable = dest;
        rig.sets.DestTable.detach();
        rig.editor.RefreshSide(Side::Right);
        allLines(rig.right, 2);
        state.ResumeTiming();

        command();
        benchmark::DoNotOptimize(rig.sets.DestTable.size());
    }
}

void BM_DeleteEverySecond(benchmark::State &state)
{
    EditorRig rig;
    rig.readScreenfuls();
    timeOnEverySecond(state, rig, [&rig] { rig.editor.copyIntoDest(); });
    if (rig.sets.DestTable.size() != EntryCount / 2) {
        state.SkipWithError("wrong number of entries left");
    }
}
BENCHMARK(BM_DeleteEverySecond)->Unit(benchmark::kMillisecond);

void BM_CopyThousandNewNames(benchmark::State &state)
{
    const PatchTable dest = maximal::table('D');
    EditorRig rig;
    rig.readScreenfuls();
    rig.sets.SrcTable = maximal::table('S');
    for (auto _ : state) {
        state.PauseTiming();
        rig.sets.DestTable = dest;
        rig.sets.DestTable.detach();
        rig.editor.RefreshSide(Side::Right);
        rig.editor.RefreshSide(Side::Left);
        allLines(rig.left, 1);
        state.ResumeTiming();

        rig.editor.copyIntoDest();
        benchmark::DoNotOptimize(rig.sets.DestTable.size());
    }
    if (rig.sets.DestTable.size() != 2 * EntryCount || !rig.questions.isEmpty()) {
        state.SkipWithError("copy went wrong");
    }
}
BENCHMARK(BM_CopyThousandNewNames)->Unit(benchmark::kMillisecond);

void BM_MoveLastUp(benchmark::State &state)
{
    EditorRig rig;
    rig.readScreenfuls();
    rig.sets.DestTable = maximal::table('D');
    rig.editor.RefreshSide(Side::Right);
    for (auto _ : state) {
        // Each move swaps the last two entries back, so every iteration does the same work.
        rig.right.current = EntryCount - 1;
        rig.editor.moveUp(Side::Right);
        benchmark::DoNotOptimize(rig.right.current);
    }
    if (rig.right.current != EntryCount - 2) {
        state.SkipWithError("move went wrong");
    }
}
BENCHMARK(BM_MoveLastUp)->Unit(benchmark::kMillisecond);

void BM_MoveHalfToTop(benchmark::State &state)
{
    EditorRig rig;
    rig.readScreenfuls();
    timeOnEverySecond(state, rig, [&rig] { rig.editor.moveBlockToTop(Side::Right); });
    if (rig.right.selectedLines().size() != EntryCount / 2 || rig.right.selected.at(0) != true
        || rig.right.selected.at(EntryCount / 2) != false) {
        state.SkipWithError("move went wrong");
    }
}
BENCHMARK(BM_MoveHalfToTop)->Unit(benchmark::kMillisecond);

// Every slot of both entries in use and nearly every text different, so every row carries
// its differing stretches.
void BM_CompareMaximalNamesakes(benchmark::State &state)
{
    const PatchEntry src = maximal::table('A', 1).at(0);
    PatchEntry dest = maximal::randomTable(20240611, 1).at(0);
    dest.Name = src.Name;
    for (auto _ : state) {
        const EntryComparison comparison(&src, &dest);
        benchmark::DoNotOptimize(comparison.rows().data());
    }
    const EntryComparison comparison(&src, &dest);
    if (comparison.rows().size() != 139 || comparison.differingRows() < 130) {
        state.SkipWithError("the maximal entries did not compare row by row");
    }
}
BENCHMARK(BM_CompareMaximalNamesakes)->Unit(benchmark::kMicrosecond);

constexpr int LargeCount = 32768;

// Small entries, a name and a description each, named as on the other side; every second
// one's description ends in `about`.
PatchTable smallNamesakes(const QByteArray &about)
{
    PatchTable table;
    table.reserve(LargeCount);
    for (int position = 0; position < LargeCount; ++position) {
        PatchEntry entry;
        entry.Omnipresence = 1;
        entry.Name = "entry " + QByteArray::number(position).rightJustified(5, '0');
        entry.Description = entry.Name + (position % 2 == 0 ? QByteArray(" as loaded") : about);
        table.append(entry);
    }
    return table;
}

constexpr int ScreenLines = 40;

// Both sides of small namesakes, every second pair differing, with their marks taken.
struct LargeMarks
{
    PatchSets sets;
    SharedMarks marks{sets};

    LargeMarks()
    {
        sets.SrcTable = smallNamesakes(" in SRC");
        sets.DestTable = smallNamesakes(" in DEST");
        marks.follow();
    }
    // One DEST entry changed, as a take or a delete changes it: it detaches DEST from the
    // marks, which work out DEST afresh on their next follow().
    void changeOneDest() { sets.DestTable[LargeCount / 2].Description += '.'; }
};

bool marksRight(const SharedMarks &marks)
{
    return marks.markOf(Side::Right, 0) == LineMark::Identical
        && marks.markOf(Side::Right, 1) == LineMark::Differs;
}

void BM_MarkLargeSets(benchmark::State &state)
{
    const LargeMarks large;
    for (auto _ : state) {
        SharedMarks marks(large.sets);
        marks.follow();
        for (const Side side : {Side::Left, Side::Right}) {
            for (int position = 0; position < LargeCount; ++position) {
                benchmark::DoNotOptimize(marks.markOf(side, position));
            }
        }
        if (!marksRight(marks)) {
            state.SkipWithError("the marks went wrong");
        }
    }
}
BENCHMARK(BM_MarkLargeSets)->Unit(benchmark::kMillisecond);

// One DEST entry changed, then a screenful of DEST lines.
void BM_MarksFollowOneSide(benchmark::State &state)
{
    LargeMarks large;
    for (auto _ : state) {
        state.PauseTiming();
        large.changeOneDest();
        state.ResumeTiming();

        large.marks.follow();
        for (int position = LargeCount / 2; position < LargeCount / 2 + ScreenLines; ++position) {
            benchmark::DoNotOptimize(large.marks.markOf(Side::Right, position));
        }
    }
    if (!marksRight(large.marks)) {
        state.SkipWithError("the marks went wrong");
    }
}
BENCHMARK(BM_MarksFollowOneSide)->Unit(benchmark::kMillisecond);

// The same change, then the tooltip of a SRC line whose name DEST has but for letter case: the
// first such question after a change folds every DEST name.
void BM_NearNameAfterOneSideChanged(benchmark::State &state)
{
    LargeMarks large;
    constexpr int Last = LargeCount - 1;
    large.sets.SrcTable[Last].Name = large.sets.SrcTable[Last].Name.toUpper();
    for (auto _ : state) {
        state.PauseTiming();
        large.changeOneDest();
        large.marks.follow();
        state.ResumeTiming();

        benchmark::DoNotOptimize(large.marks.nearNameText(Side::Left, Last));
    }
    if (large.marks.nearNameText(Side::Left, Last)
        != QLatin1String("nearly the name of DEST's 'entry 32767'")) {
        state.SkipWithError("the near name went wrong");
    }
}
BENCHMARK(BM_NearNameAfterOneSideChanged)->Unit(benchmark::kMillisecond);

// What the count's tooltip says of DEST once an entry changed: every line's mark, worked out
// afresh, and counted.
void BM_BreakdownOfLargeSide(benchmark::State &state)
{
    LargeMarks large;
    QString breakdown;
    for (auto _ : state) {
        state.PauseTiming();
        large.changeOneDest();
        state.ResumeTiming();

        large.marks.follow();
        breakdown = marksBreakdown(Side::Right, large.marks.listedMarks(Side::Right));
    }
    if (breakdown
        != QLatin1String("32768 entries: 32768 also in SRC (16385 differ, 16383 "
                         "identical)")) {
        state.SkipWithError("the breakdown went wrong");
    }
}
BENCHMARK(BM_BreakdownOfLargeSide)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
