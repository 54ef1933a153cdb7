// The undo history's weight against a recount from scratch, over a few hundred random steps
// of the kinds the editor records: deletes and inserts that shift long stretches, entries
// copied twice, empty entries, changed texts and slots, moves, takes, undo and redo.
#include "EditHistory.h"
#include "LimitSets.h"
#include "SlotEdits.h"

#include <QTest>

#include <deque>
#include <random>
#include <unordered_map>
#include <variant>

namespace {

// The storage a table's pieces weigh, each piece once, as the history counts it.
class PieceCount
{
public:
    void addEntry(const PatchEntry &entry)
    {
        for (const QByteArray *text : {&entry.Name, &entry.Description, &entry.Dependencies}) {
            if (text->capacity() > 0) {
                add(text->constData(), text->capacity());
            }
        }
        if (entry.slotTexts().blockBytes() > 0) {
            add(entry.slotTexts().blockIdentity(), entry.slotTexts().blockBytes());
        }
    }
    void addTable(const PatchTable &table)
    {
        // A list seen once brings the same entries again.
        if (table.capacity() > 0 && add(table.constData(), table.capacity() * sizeof(PatchEntry))) {
            for (const PatchEntry &entry : table) {
                addEntry(entry);
            }
        }
    }
    void addSets(const PatchSets &sets)
    {
        addTable(sets.SrcTable);
        addTable(sets.DestTable);
    }
    // The bytes of the pieces counted here that `shown` does not count.
    qint64 bytesNotIn(const PieceCount &shown) const
    {
        qint64 total = 0;
        for (const auto &[identity, bytes] : m_bytes) {
            total += shown.m_bytes.count(identity) ? 0 : bytes;
        }
        return total;
    }

private:
    // False for a piece counted already.
    bool add(const void *identity, qint64 bytes) { return m_bytes.emplace(identity, bytes).second; }
    std::unordered_map<const void *, qint64> m_bytes;
};

struct Change
{
    int position;
    PatchEntry before;
};
struct Swap
{
    int first;
};
// A list change keeps its before-state; every step keeps the sets right after it beside it.
using Step = std::variant<EditState, Change, Swap>;
using KeptStep = std::pair<Step, PatchSets>;

// What undo (redo when `forward`) of `kept` puts back on the sides.
void returnTo(PatchSets &shown, const KeptStep &kept, bool forward)
{
    const auto &[step, after] = kept;
    if (const auto *change = std::get_if<Change>(&step)) {
        shown.DestTable[change->position] =
            forward ? after.DestTable.at(change->position) : change->before;
    } else if (const auto *swap = std::get_if<Swap>(&step)) {
        std::swap(shown.DestTable[swap->first], shown.DestTable[swap->first + 1]);
    } else {
        shown = forward ? after : std::get<EditState>(step).sets;
    }
}

PatchEntry entryOf(std::mt19937 &random)
{
    PatchEntry entry;
    entry.Omnipresence = 1;
    switch (random() % 4) {
    case 0:
        break; // empty texts, all on Qt's shared empty data
    case 1:
        entry.Name = "n" + QByteArray::number(random() % 50);
        break;
    default:
        entry.Name = "n" + QByteArray::number(random() % 50);
        entry.Description = QByteArray(int(random() % 300), 'd');
        setDataSlot(entry, int(random() % 100), {"10", "aa", "bb", QByteArray(200, 'r')});
    }
    return entry;
}

} // namespace

class TestHistoryTally : public QObject
{
    Q_OBJECT

private slots:
    void weighsWhatARecountFinds_data();
    void weighsWhatARecountFinds();
};

void TestHistoryTally::weighsWhatARecountFinds_data()
{
    QTest::addColumn<bool>("thousand"); // DEST starts with the thousand entries of a limit set
    QTest::addColumn<int>("rounds");
    QTest::addColumn<int>("every"); // weighed steps between two recounts
    QTest::newRow("recounted every step") << false << 400 << 1;
    QTest::newRow("a thousand entries") << true << 150 << 15;
}

void TestHistoryTally::weighsWhatARecountFinds()
{
    QFETCH(bool, thousand);
    QFETCH(int, rounds);
    QFETCH(int, every);
    std::mt19937 random(20261208);
    EditHistory history(qint64(1) << 40); // only the depth drops steps
    PatchSets shown;
    for (int at = 0; at < 150; ++at) {
        shown.SrcTable.append(entryOf(random));
    }
    // Every text at its longest, every slot in use, among the entries that move about.
    shown.SrcTable.insert(20, limits::fullEntry(PatchSetFormat::MaxValueLength));
    shown.SrcTable.insert(40, limits::entryWithLong(PatchSetFormat::KeyDescription, 60001));
    shown.DestTable = thousand ? limits::thousandEntries().loaded : shown.SrcTable;
    int weighed = 0;
    // The steps as the history keeps them: before-states, changed entries, moved positions.
    std::deque<KeptStep> kept;
    std::size_t done = 0;
    const auto state = [&shown] {
        EditState now;
        now.sets = shown;
        return now;
    };

    for (int round = 0; round < rounds; ++round) {
        PatchTable &table = random() % 3 == 0 ? shown.SrcTable : shown.DestTable;
        const int size = int(table.size());
        const int at = size == 0 ? 0 : int(random() % size);
        const EditState before = state();
        const unsigned kind = random() % 10;
        if (kind == 0 && done > 0) {
            history.undo();
            returnTo(shown, kept[--done], false);
            continue;
        }
        if (kind == 1 && done < kept.size()) {
            history.redo();
            returnTo(shown, kept[done++], true);
            continue;
        }
        Step step = before;
        if (kind == 2 && shown.DestTable.size() > 1) {
            const int first = int(random() % (shown.DestTable.size() - 1));
            std::swap(shown.DestTable[first], shown.DestTable[first + 1]);
            if (shown.DestTable.at(first) == shown.DestTable.at(first + 1)) {
                continue; // equal entries: no step
            }
            history.recordSwap(Side::Right, first, first + 1, 0, 0);
            step = Swap{first};
        } else if (kind == 3 && !shown.DestTable.isEmpty()) {
            const int position = int(random() % shown.DestTable.size());
            const PatchEntry was = shown.DestTable.at(position);
            shown.DestTable[position].Dependencies = QByteArray::number(round);
            history.recordEntryChange(Side::Right, position, was, shown, 0, 0);
            step = Change{position, was};
        } else if (kind == 4 && size > 0) {
            table.insert(at, table.at(random() % size)); // the same pieces twice
        } else if (kind == 5) {
            table.insert(at, entryOf(random));
        } else if (kind == 6 && size > 0) {
            table.removeAt(at);
        } else if (kind == 7 && size > 0) {
            table.remove(at, std::min<qsizetype>(size - at, 70 + random() % 40));
            table.append(entryOf(random)); // a long shift, then an append
        } else if (kind == 8 && size > 0) {
            table[at].Description = QByteArray(int(random() % 500), 'c');
        } else {
            table.append(entryOf(random));
            table.append(table.last());
        }
        if (std::holds_alternative<EditState>(step)) {
            if (shown == before.sets) {
                continue;
            }
            history.record(before, state());
        }
        kept.erase(kept.begin() + std::ptrdiff_t(done), kept.end());
        kept.emplace_back(std::move(step), shown);
        if (kept.size() > EditHistory::Depth) {
            kept.pop_front();
        }
        done = kept.size();
        if (std::holds_alternative<Swap>(kept.back().first)) {
            continue; // a move is weighed with the next step that is not one
        }
        if (++weighed % every != 0) {
            continue;
        }

        PieceCount held;
        for (const auto &[recorded, after] : kept) {
            if (const auto *change = std::get_if<EditState>(&recorded)) {
                held.addSets(change->sets);
                held.addSets(after);
            } else if (const auto *entry = std::get_if<Change>(&recorded)) {
                held.addEntry(entry->before);
                held.addEntry(after.DestTable.at(entry->position));
            }
        }
        PieceCount onSides;
        onSides.addSets(shown);
        QCOMPARE(history.heldBytes(), held.bytesNotIn(onSides));
    }
}

QTEST_GUILESS_MAIN(TestHistoryTally)
#include "TestHistoryTally.moc"
