// How long the window takes to show a large set: "LOAD SRC" with the maximal set (1000
// entries with every slot in use), from the click to the painted list of 1000 lines; a
// "copy >>" of all of them into a new DEST set, which marks 2000 lines as shared, from the
// click to both lists painted; the same copy as a drag of every SRC line onto DEST, and a
// drag of 500 DEST lines within DEST, from the drop to the painted lists. And the entry view
// on two such sets whose namesakes differ in nearly every text: opening it, following a move
// of the current line, and a take of every row, each until the view is painted. And what one
// frame of the marquee costs the window, from the ticks that lead to it to the strip painted,
// which is most of what an idle window spends. And LOAD DEST of a set of the largest size a
// set may have, 32768 small entries that SRC names too, so every line is marked, beside the
// read of its file alone; the commands on such sets are BenchDifferences' table.
#include "EntryView.h"
#include "FakeSideView.h"
#include "Form1.h"
#include "ListGestures.h"
#include "Marquee.h"
#include "MaximalSet.h"
#include "PatchSetReader.h"
#include "WindowLook.h"
#include "WindowRigs.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <memory>

namespace {

void BM_LoadMaximalSetIntoWindow(benchmark::State &state)
{
    MaximalWindow window;
    auto *load = window.control<QPushButton>("Command2");
    auto *list = window.control<QListView>("List1");
    for (auto _ : state) {
        load->click();
        list->repaint();
        if (lineCount(list) != maximal::EntryCount) {
            state.SkipWithError("the maximal set did not reach the list");
            return;
        }
    }
}
BENCHMARK(BM_LoadMaximalSetIntoWindow)->Unit(benchmark::kMillisecond);

// Lines of `from` entered, moved and dropped before line `place` of `onto`, as a drag of
// them would end; the drop acts once the event loop turns.
bool dropLines(QListView *onto, Side from, const QList<int> &lines, int place)
{
    const std::unique_ptr<QMimeData> data(ListGestures::dragData(from, lines));
    const int count = lineCount(onto);
    const QRect line = onto->visualRect(onto->model()->index(std::min(place, count - 1), 0));
    const QPoint point =
        place < count ? line.topLeft() + QPoint(4, 1) : line.bottomLeft() + QPoint(4, -1);
    const Qt::DropActions offered = Qt::MoveAction | Qt::CopyAction;
    QDragEnterEvent enter(point, offered, data.get(), Qt::LeftButton, Qt::NoModifier);
    QDragMoveEvent move(point, offered, data.get(), Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(point, offered, data.get(), Qt::LeftButton, Qt::NoModifier);
    bool accepted = true;
    for (QDropEvent *event :
         {static_cast<QDropEvent *>(&enter), static_cast<QDropEvent *>(&move), &drop}) {
        QApplication::sendEvent(onto->viewport(), event);
        accepted = accepted && event->isAccepted();
    }
    QApplication::processEvents();
    return accepted;
}

// The whole SRC copied into a new DEST set, which holds the placeholder alone: with "copy >>",
// or by dragging every SRC line onto DEST before the placeholder, so that the copies are
// moved there as a block too.
void copyMaximalSet(benchmark::State &state, bool byDrag)
{
    MaximalWindow window;
    const auto button = [&window](const char *name) { return window.control<QPushButton>(name); };
    auto *src = window.control<QListView>("List1");
    auto *dest = window.control<QListView>("List2");
    button("Command2")->click();
    QList<int> every;
    for (int line = 0; line < maximal::EntryCount; ++line) {
        every.append(line);
    }
    for (auto _ : state) {
        state.PauseTiming();
        button("Command13")->click(); // DEST back to the placeholder alone
        if (!byDrag) {
            src->selectAll();
        }
        state.ResumeTiming();

        bool copied = true;
        if (byDrag) {
            copied = dropLines(dest, Side::Left, every, 0);
        } else {
            button("Command1")->click();
        }
        src->repaint();
        dest->repaint();

        state.PauseTiming();
        const int placeholder = byDrag ? lineCount(dest) - 1 : 0;
        const int copy = byDrag ? 0 : lineCount(dest) - 1;
        if (!copied || lineCount(dest) != maximal::EntryCount + 1
            || lineData(dest, placeholder) != QLatin1String("Empty patch entry")
            || lineData(dest, copy, Qt::ToolTipRole).isEmpty()) {
            state.SkipWithError("the copy did not reach the DEST list with its marks");
            return;
        }
        state.ResumeTiming();
    }
}

void BM_CopyMaximalSetThroughWindow(benchmark::State &state)
{
    copyMaximalSet(state, false);
}
BENCHMARK(BM_CopyMaximalSetThroughWindow)->Unit(benchmark::kMillisecond);

void BM_DragCopyMaximalSetOntoDest(benchmark::State &state)
{
    copyMaximalSet(state, true);
}
BENCHMARK(BM_DragCopyMaximalSetOntoDest)->Unit(benchmark::kMillisecond);

void BM_DragHalfOfDestWithinDest(benchmark::State &state)
{
    MaximalWindow window;
    auto *dest = window.control<QListView>("List2");
    window.control<QPushButton>("Command3")->click();
    QList<int> everySecond;
    for (int line = 0; line < maximal::EntryCount; line += 2) {
        everySecond.append(line);
    }
    const QString firstMoved = lineData(dest, 2);
    for (auto _ : state) {
        state.PauseTiming();
        window.form.loadPath(Side::Right, window.path); // the set as the file has it
        state.ResumeTiming();

        const bool accepted = dropLines(dest, Side::Right, everySecond, maximal::EntryCount);
        dest->repaint();

        state.PauseTiming();
        if (!accepted || lineData(dest, maximal::EntryCount / 2 + 1) != firstMoved) {
            state.SkipWithError("the drag did not move the lines to the end");
            return;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DragHalfOfDestWithinDest)->Unit(benchmark::kMillisecond);

// LOAD DEST with a set of 32768 entries, from the click to both lists painted; beside it the
// read of the same file alone, which the window's part adds to.
void BM_LoadLargeSetIntoDest(benchmark::State &state)
{
    LargeSetsWindow window;
    auto *load = window.form.findChild<QPushButton *>(QStringLiteral("Command3"));
    load->click(); // so that each iteration undoes one first
    for (auto _ : state) {
        state.PauseTiming();
        window.press(Qt::CTRL | Qt::Key_Z); // back to the first DEST
        window.paint();
        state.ResumeTiming();

        load->click();
        window.paint();
    }
    if (window.destText(1) != QLatin1String("entry 00001")
        || window.form.sets().DestTable.at(1).Description != "entry 00001 in another DEST") {
        state.SkipWithError("the set did not reach the DEST list");
    }
}
BENCHMARK(BM_LoadLargeSetIntoDest)->Unit(benchmark::kMillisecond);

void BM_ReadLargeSetFile(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("other.tvr"));
    writeFile(path, smallSetBytes(LargeSetsWindow::Count, "in another DEST"));
    for (auto _ : state) {
        const ReadResult result = LoadPatchSet(path);
        benchmark::DoNotOptimize(result.entries.size());
    }
}
BENCHMARK(BM_ReadLargeSetFile)->Unit(benchmark::kMillisecond);

// SRC is the uniform maximal set; DEST holds an entry of the same name for each, with the
// texts of the random shape. The view follows SRC, on its last line.
struct NamesakesRig
{
    NamesakesRig()
    {
        rig.sets.SrcTable = maximal::table('S');
        PatchTable dest = maximal::randomTable();
        for (int position = 0; position < dest.size(); ++position) {
            dest[position].Name = rig.sets.SrcTable.at(position).Name;
        }
        rig.sets.DestTable = dest;
        rig.editor.RefreshSide(Side::Left);
        rig.editor.RefreshSide(Side::Right);
        rig.left.current = maximal::EntryCount - 1;
    }

    EditorRig rig;
};

// The view shown and painted, as its window would be.
void paint(EntryView &view)
{
    view.repaint();
    QApplication::processEvents();
}

bool showsEveryRow(EntryView &view)
{
    return view.findChild<QTableView *>("rows")->model()->rowCount() == 139;
}

void BM_OpenEntryViewOnMaximalNamesakes(benchmark::State &state)
{
    NamesakesRig namesakes;
    for (auto _ : state) {
        EntryView view(namesakes.rig.editor);
        view.follow(Side::Left);
        view.show();
        paint(view);
        if (!showsEveryRow(view)) {
            state.SkipWithError("the view did not show the maximal entry");
            return;
        }
    }
}
BENCHMARK(BM_OpenEntryViewOnMaximalNamesakes)->Unit(benchmark::kMillisecond);

void BM_EntryViewFollowsTheCurrentLine(benchmark::State &state)
{
    NamesakesRig namesakes;
    EntryView view(namesakes.rig.editor);
    view.follow(Side::Left);
    view.show();
    paint(view);
    int line = 0;
    for (auto _ : state) {
        // As the window does when a list's current line moves.
        namesakes.rig.left.current = line;
        view.refresh();
        paint(view);
        line = (line + 1) % maximal::EntryCount;
    }
    if (!showsEveryRow(view)) {
        state.SkipWithError("the view did not follow the line");
    }
}
BENCHMARK(BM_EntryViewFollowsTheCurrentLine)->Unit(benchmark::kMillisecond);

void BM_TakeEveryRowInEntryView(benchmark::State &state)
{
    NamesakesRig namesakes;
    PatchSetEditor &editor = namesakes.rig.editor;
    EntryView view(editor);
    editor.setChangeHandler([&view] { view.refresh(); });
    view.follow(Side::Left);
    view.show();
    paint(view);
    auto *rows = view.findChild<QTableView *>("rows");
    auto *take = view.findChild<QPushButton *>("takeFromSrc");
    for (auto _ : state) {
        state.PauseTiming();
        editor.undo(); // the last take, if any
        rows->selectAll();
        state.ResumeTiming();

        take->click();
        paint(view);
    }
    const PatchTable &src = namesakes.rig.sets.SrcTable;
    if (namesakes.rig.sets.DestTable.at(src.size() - 1) != src.last()) {
        state.SkipWithError("the take did not make the namesakes equal");
    }
}
BENCHMARK(BM_TakeEveryRowInEntryView)->Unit(benchmark::kMillisecond);

// The strip's frames in the shown window as the marquee's wake runs them: the ticks up to
// the next frame, the frame composed on the buffer and the strip painted.
void BM_MarqueeFrame(benchmark::State &state)
{
    MaximalWindow window;
    auto *buffer = window.control<PictureBox>("Picture2");
    auto *strip = window.control<PictureBox>("Picture1");
    const QFont font = window.control<QLabel>("Label3")->font();
    MarqueeState marquee;
    startMarquee(marquee);
    for (int tick = 0; tick < 100; ++tick) { // into the strip, where frames show text
        marqueeTick(marquee, font, *buffer, *strip);
    }
    for (auto _ : state) {
        const int ticks = ticksUntilNextFrame(marquee, *buffer);
        for (int tick = 0; tick < ticks; ++tick) {
            marqueeTick(marquee, font, *buffer, *strip);
        }
    }
}
BENCHMARK(BM_MarqueeFrame)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    WindowLook::registerFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
