// The list commands of the window on the largest sides, each from its key to both lists
// painted, with what the window does once the command is over: on sides of 32768 small entries
// of the same names, every second one differing, and on sides of 1000 maximal entries, DEST's
// every second one differing from SRC's. Delete, a copy, a move, a block move, undo and redo;
// and the commands that work through the differences: selecting the differing lines, the next
// difference (from the first line to the only difference, on the last, on the small sides), a
// keystroke in the find box, showing only the differing lines, and a delete while they are
// shown. Those that read every line's mark start with marks no command has asked for yet.
#include "FilterBar.h"
#include "MaximalSet.h"
#include "WindowLook.h"
#include "WindowRigs.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QListView>

#include <functional>
#include <memory>

namespace {

using Window = LargeSetsWindow;

std::unique_ptr<Window> smallSides()
{
    return std::make_unique<Window>();
}

// The small sides equal but for their last entry, so the only difference is the last line.
std::unique_ptr<Window> oneDifference()
{
    const QByteArray src = smallSetBytes(Window::Count, "in SRC");
    QByteArray dest = src;
    const QByteArray last = "entry " + QByteArray::number(Window::Count - 1) + " in SRC";
    dest.replace(last, "entry " + QByteArray::number(Window::Count - 1) + " in DEST");
    return std::make_unique<Window>(src, dest);
}

std::unique_ptr<Window> maximalSides()
{
    const PatchTable src = maximal::table('E');
    PatchTable dest = src;
    for (int position = 1; position < dest.size(); position += 2) {
        dest[position].Description += " in DEST";
    }
    return std::make_unique<Window>(maximal::fileBytes(src), maximal::fileBytes(dest));
}

int middle(const Window &window)
{
    return window.destLines() / 2;
}

FilterBar *destBar(const Window &window)
{
    return window.dest->findChild<FilterBar *>();
}

// A change of DEST and its undo: both sides' marks are to be worked out again.
void forgetMarks(Window &window)
{
    window.selectDestLine(middle(window));
    window.press(QKeyCombination(Qt::Key_Delete));
    window.press(Qt::CTRL | Qt::Key_Z);
}

// What a command does each time, and what readies it untimed; `ranBefore` tells that the
// command ran once already, so that a change it made can be undone first.
struct Command
{
    const char *name;
    std::function<void(Window &, bool ranBefore)> ready;
    std::function<void(Window &)> run;
};

void timeCommand(benchmark::State &state, const std::function<std::unique_ptr<Window>()> &make,
                 const Command &command)
{
    const std::unique_ptr<Window> window = make();
    const auto entries = [&window] { return int(window->form.sets().DestTable.size()); };
    const int before = entries();
    bool ranBefore = false;
    for (auto _ : state) {
        state.PauseTiming();
        window->dest->setFocus();
        command.ready(*window, ranBefore);
        window->paint();
        state.ResumeTiming();

        command.run(*window);
        window->paint();
        ranBefore = true;
    }
    if (entries() > before || entries() < before - 1) {
        state.SkipWithError("DEST lost or gained more than one entry");
    }
}

QList<Command> commands()
{
    const auto press = [](QKeyCombination key) {
        return [key](Window &window) { window.press(key); };
    };
    // A command that changes DEST: the last run's change undone, the middle line selected.
    const auto fresh = [](Window &window, bool ranBefore) {
        if (ranBefore) {
            window.press(Qt::CTRL | Qt::Key_Z);
        }
        window.selectDestLine(middle(window));
    };
    const auto deleted = [](Window &window, bool ranBefore) {
        if (ranBefore) {
            window.press(Qt::CTRL | Qt::Key_Z); // the redone delete
        }
        window.selectDestLine(middle(window));
        window.press(QKeyCombination(Qt::Key_Delete));
    };
    return {
        {"Delete", fresh, press(QKeyCombination(Qt::Key_Delete))},
        {"Undo", [deleted](Window &window, bool) { deleted(window, false); },
         press(Qt::CTRL | Qt::Key_Z)},
        {"Redo",
         [deleted](Window &window, bool ranBefore) {
             deleted(window, ranBefore);
             window.press(Qt::CTRL | Qt::Key_Z);
         },
         press(Qt::CTRL | Qt::Key_Y)},
        {"MoveDown", fresh, press(Qt::CTRL | Qt::Key_Down)},
        {"BlockToTop", fresh, press(Qt::CTRL | Qt::SHIFT | Qt::Key_Up)},
        // DEST's first line deleted and SRC's first copied: a delete and an append.
        {"Copy",
         [fresh](Window &window, bool ranBefore) {
             fresh(window, ranBefore);
             window.selectDestLine(0);
             window.src->selectionModel()->select(window.src->model()->index(0, 0),
                                                  QItemSelectionModel::ClearAndSelect);
         },
         press(Qt::ALT | Qt::Key_Right)},
        {"SelectDiffering",
         [](Window &window, bool) {
             forgetMarks(window);
             window.press(Qt::CTRL | Qt::SHIFT | Qt::Key_A);
         },
         press(Qt::CTRL | Qt::SHIFT | Qt::Key_D)},
        {"NextDifference",
         [](Window &window, bool) {
             forgetMarks(window);
             window.selectDestLine(0);
             window.press(Qt::CTRL | Qt::SHIFT | Qt::Key_A);
         },
         press(QKeyCombination(Qt::Key_F7))},
        // One keystroke in the find box: "1" typed, or taken back, in turn.
        {"FindKeystroke",
         [](Window &window, bool) {
             if (destBar(window)->isHidden()) {
                 window.press(Qt::CTRL | Qt::Key_F);
             }
         },
         [](Window &window) {
             auto *box = destBar(window)->findChild<QLineEdit *>();
             QTest::keyClick(box, box->text().isEmpty() ? Qt::Key_1 : Qt::Key_Backspace);
         }},
        {"ShowOnlyDiffering",
         [](Window &window, bool) {
             destBar(window)->end();
             forgetMarks(window);
         },
         [](Window &window) { destBar(window)->showOnly(MarkState::Differing); }},
        {"DeleteShowingDiffering",
         [fresh](Window &window, bool ranBefore) {
             fresh(window, ranBefore);
             destBar(window)->showOnly(MarkState::Differing);
             window.selectDestLine(middle(window));
         },
         press(QKeyCombination(Qt::Key_Delete))},
    };
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    WindowLook::registerFonts();
    using Make = std::function<std::unique_ptr<Window>()>;
    const std::pair<const char *, Make> sides[] = {{"Small", smallSides},
                                                   {"Maximal", maximalSides}};
    for (const Command &command : commands()) {
        for (const auto &[name, make] : sides) {
            // The next difference is farthest where there is only one, on the last line.
            const bool farthest =
                QByteArray(command.name) == "NextDifference" && QByteArray(name) == "Small";
            const Make rig = farthest ? Make(oneDifference) : make;
            benchmark::RegisterBenchmark(
                (QByteArray("BM_") + command.name + '/' + name).constData(),
                [command, rig](benchmark::State &state) { timeCommand(state, rig, command); })
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
