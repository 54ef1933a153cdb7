// How long the window takes to show a large set: "LOAD SRC" with the maximal set (1000
// entries with every slot in use), from the click to the painted list of 1000 lines; and a
// "copy >>" of all of them into a new DEST set, which marks 2000 lines as shared, from the
// click to both lists painted. And what one frame of the marquee costs the window, from the
// ticks that lead to it to the strip painted, which is most of what an idle window spends.
#include "Dialogs.h"
#include "Form1.h"
#include "Marquee.h"
#include "MaximalSet.h"
#include "WindowLook.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

// Every open dialog answers with the same file; nothing else is expected.
class FixedDialogs : public Dialogs
{
public:
    explicit FixedDialogs(QString path) : m_path(std::move(path)) {}

    QString openFileName(QWidget *, const QString &, const QString &) override { return m_path; }
    QString saveFileName(QWidget *, const QString &, const QString &) override { return {}; }
    void message(QWidget *, const QString &) override { std::abort(); }
    bool askYesNo(QWidget *, const QString &, const QString &) override { return false; }

private:
    QString m_path;
};

// A shown window whose open dialog always picks the maximal set, written as a file.
struct MaximalWindow
{
    MaximalWindow()
    {
        const QByteArray bytes = maximal::fileBytes();
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::abort();
        }
        file.close();
        form.show();
        QApplication::processEvents();
    }

    template<typename Control>
    Control *control(const char *name)
    {
        return form.findChild<Control *>(QLatin1String(name));
    }

    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("maximal.tvr"));
    FixedDialogs dialogs{path};
    Form1 form{dialogs};
};

void BM_LoadMaximalSetIntoWindow(benchmark::State &state)
{
    MaximalWindow window;
    auto *load = window.control<QPushButton>("Command2");
    auto *list = window.control<QListWidget>("List1");
    for (auto _ : state) {
        load->click();
        list->repaint();
        if (list->count() != maximal::EntryCount) {
            state.SkipWithError("the maximal set did not reach the list");
            return;
        }
    }
}
BENCHMARK(BM_LoadMaximalSetIntoWindow)->Unit(benchmark::kMillisecond);

void BM_CopyMaximalSetThroughWindow(benchmark::State &state)
{
    MaximalWindow window;
    const auto button = [&window](const char *name) { return window.control<QPushButton>(name); };
    auto *src = window.control<QListWidget>("List1");
    auto *dest = window.control<QListWidget>("List2");
    button("Command2")->click();
    for (auto _ : state) {
        state.PauseTiming();
        button("Command13")->click(); // DEST back to the placeholder alone
        src->selectAll();
        state.ResumeTiming();

        button("Command1")->click();
        src->repaint();
        dest->repaint();

        state.PauseTiming();
        const QListWidgetItem *last = dest->item(dest->count() - 1);
        if (dest->count() != maximal::EntryCount + 1 || last->toolTip().isEmpty()) {
            state.SkipWithError("the copy did not reach the DEST list with its marks");
            return;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CopyMaximalSetThroughWindow)->Unit(benchmark::kMillisecond);

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
