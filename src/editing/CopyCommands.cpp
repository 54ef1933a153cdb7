// The editor's copy commands, apart from its other commands: "copy >>" with the delete of
// the selected DEST entries that starts it (and Delete, which is that delete alone), SRC lines
// dropped on DEST, and the per-entry routines both copies go through. They decide with the
// copy rules (CopyRules.h) and end as every command does, through the editor's one step.
#include "PatchSetEditor.h"

#include "CopyRules.h"
#include "LineMarks.h"

#include <QSet>

#include <algorithm>

void PatchSetEditor::copyIntoDest()
{
    SideListing &src = m_sides.left.listing;
    SideListing &dest = m_sides.right.listing;
    if (src.selectedLines().isEmpty() && dest.selectedLines().isEmpty()) {
        return;
    }
    if (refusesPastLimit(src.selectedRecords(), dest.selectedRecords())) {
        return; // as a whole: nothing deleted either
    }
    const EditState before = currentState();
    removeSelectedDest();

    // Taken before the first question, so the answers cannot change what gets copied.
    const QList<int> sources = src.selectedRecords();
    if (sources.isEmpty()) {
        finishStep(before);
        return; // a delete-only press: "save" keeps its state
    }
    // The delete rebuilt DEST's lines without marks, and the user reads the questions below
    // against the lists. The change handler waits for the end of the command.
    handOutMarks();

    // The delete left the user's place current; it is taken by record, since the refresh
    // below makes line 0 current.
    const int placeRecord = dest.currentRecord();
    CopyRun run;
    const std::optional<int> landing = copyRecords(sources, run).constLast();

    // DEST was refreshed without selection by the delete above; this refresh lists the
    // copies. SRC's table is unchanged and gets its one, deselecting, refresh at the end,
    // unless a Cancel keeps its lines as they are.
    RefreshSide(Side::Right);
    // Copies only append or overwrite, so the place's record keeps its position.
    landOnDest(landing ? *landing : placeRecord);
    if (!run.cancelled) {
        DeselectSide(Side::Left); // after a Cancel the selection stays, to be copied again
    }
    finishStep(before);
}

void PatchSetEditor::deleteSelectedDest()
{
    if (m_sides.right.listing.selectedLines().isEmpty()) {
        return;
    }
    const EditState before = currentState();
    removeSelectedDest();
    finishStep(before);
}

int PatchSetEditor::identicalNamesakes(const QList<int> &srcLines,
                                       const QList<int> &destLines) const
{
    const SideListing &src = m_sides.left.listing;
    QList<int> identical;
    for (const int line : srcLines) {
        const int record = src.recordOfLine(line);
        // The copy meets DEST's first record of the name, which may be one without a line
        // before the namesake the mark was made against: that one is asked about.
        if (src.markOfLine(line) == LineMark::Identical && record >= 0
            && !m_marks.unlistedFirst(Side::Right, m_sets.SrcTable.at(record).Name)) {
            identical.append(line);
        }
    }
    if (identical.isEmpty() || destLines.isEmpty()) {
        return int(identical.size());
    }
    // A deleted namesake leaves a later one of its name, or none, to meet the copy; neither
    // is known to be identical, so such a line is not counted.
    QSet<QByteArray> deleted;
    for (const int record : m_sides.right.listing.recordsOfLines(destLines)) {
        deleted.insert(m_sets.DestTable.at(record).Name);
    }
    return int(std::count_if(identical.cbegin(), identical.cend(), [&](int line) {
        return !deleted.contains(m_sets.SrcTable.at(src.recordOfLine(line)).Name);
    }));
}

void PatchSetEditor::removeSelectedDest()
{
    SideListing &dest = m_sides.right.listing;
    const int place = dest.placeWithoutSelected();
    for (const int record : dest.selectedRecords()) {
        KillRiteEntry(record);
    }
    // One refresh, the deselecting one, removes the killed records: every selected line's
    // record is among them, so a plain refresh before it would have left nothing selected.
    DeselectSide(Side::Right);
    dest.returnToPlace(place);
}

void PatchSetEditor::KillRiteEntry(int record)
{
    Q_ASSERT(record >= 0 && record < m_sets.DestTable.size());
    PatchEntry &entry = m_sets.DestTable[record];
    entry.Omnipresence = 0;
    entry.Name.clear();
}

QList<std::optional<int>> PatchSetEditor::copyRecords(const QList<int> &records, CopyRun &run)
{
    QList<std::optional<int>> landings;
    run.planned = plannedQuestions(m_sets.SrcTable, records, m_sets.DestTable);
    for (qsizetype index = 0; index < records.size(); ++index) {
        const int record = records.at(index);
        const int asked = run.asked;
        landings.append(CopyMassive(record, m_sets.SrcTable.at(record).Name, run));
        if (run.cancelled) {
            break;
        }
        // The plan took every answer for a Yes. A No keeps the namesake, which a later copy
        // of the same name then meets instead of this one: the rest is counted again.
        if (run.asked > asked && !landings.constLast() && !run.overwriteAll) {
            run.planned =
                run.asked + plannedQuestions(m_sets.SrcTable, records, m_sets.DestTable, index + 1);
        }
    }
    return landings;
}

bool PatchSetEditor::refusesPastLimit(const QList<int> &sources, const QList<int> &deleted)
{
    const QString refusal = pastLimitRefusal(m_sets.SrcTable, sources, m_sets.DestTable, deleted);
    if (!refusal.isEmpty() && m_message) {
        m_message(refusal);
    }
    return !refusal.isEmpty();
}

void PatchSetEditor::landOnDest(int record)
{
    // A record the filter hides leaves the place to the next line shown.
    m_sides.right.listing.setCurrentNear(record);
    if (m_destDetail) {
        m_destDetail();
    }
}

std::optional<int> PatchSetEditor::CopyMassive(int record, const QByteArray &ID, CopyRun &run)
{
    Q_ASSERT(record >= 0 && record < m_sets.SrcTable.size());
    if (run.cancelled) {
        return std::nullopt;
    }
    PatchTable &dest = m_sets.DestTable;
    // Only the first entry of that name is ever offered: later ones stay as they are.
    const auto match = std::find_if(dest.cbegin(), dest.cend(),
                                    [&ID](const PatchEntry &entry) { return entry.Name == ID; });
    if (match == dest.cend()) {
        dest.append(m_sets.SrcTable.at(record));
        return int(dest.size() - 1);
    }
    const int position = int(match - dest.cbegin());
    const PatchEntry &copy = m_sets.SrcTable.at(record);
    if (*match == copy) {
        return position; // it holds the copy already: as after a Yes, with nothing to ask
    }
    bool overwrite = run.overwriteAll.value_or(false); // asked no more once it holds
    if (!run.overwriteAll) {
        ++run.asked;
        // A run counted without this copy (or a caller's own run) still reads "n of n".
        const QString detail =
            overwriteDetail(run.asked, std::max(run.asked, run.planned), copy, *match);
        overwrite =
            run.overwrites(m_question ? m_question(overwriteTitle(), overwriteText(ID), detail)
                                      : OverwriteAnswer::No);
    }
    if (!overwrite) {
        return std::nullopt; // a No, a No to all (now or earlier in the run) or a Cancel
    }
    dest[position] = copy;
    return position;
}

bool PatchSetEditor::acceptsDrop(Side from, Side onto) const
{
    if (from == onto) {
        return !m_sides[onto].listing.hidesLines(); // a move among hidden lines is no move
    }
    return onto == Side::Right && m_switches.copyEnabled;
}

void PatchSetEditor::dropLines(Side from, Side onto, const QList<int> &lines, int before)
{
    if (!acceptsDrop(from, onto)) {
        return;
    }
    if (from == onto) {
        moveLines(onto, lines, before);
    } else {
        copyIntoDestAt(lines, before);
    }
}

void PatchSetEditor::copyIntoDestAt(const QList<int> &srcLines, int before)
{
    SideListing &dest = m_sides.right.listing;
    if (before < 0 || before > dest.lineCount()) {
        return;
    }
    const QList<int> sources = m_sides.left.listing.recordsOfLines(srcLines);
    if (refusesPastLimit(sources, {})) {
        return;
    }
    const EditState state = currentState();
    // The place is held as a record: a Yes over an unlisted entry gives it a line, which
    // moves the lines after it down by one.
    const int placeRecord = dest.recordOfLine(before); // -1: after the last line
    const int oldSize = int(m_sets.DestTable.size());
    std::optional<int> replaced; // or found identical
    bool landed = false;
    CopyRun run;
    for (const std::optional<int> &landing : copyRecords(sources, run)) {
        landed = landed || landing.has_value();
        if (landing && *landing < oldSize) {
            replaced = landing;
        }
    }
    if (!landed) {
        return; // every answer was No, or the first was Cancel: DEST is as it was
    }

    // Appended records follow every older one, so they end the table; the filter may hide
    // some of them, but they all go to the place the user dropped them on.
    RefreshSide(Side::Right);
    QList<int> appended;
    for (int record = oldSize; record < m_sets.DestTable.size(); ++record) {
        appended.append(record);
    }
    dest.moveRecords(appended, placeRecord);
    // The block starts where the place's record was, or stays at the end.
    landOnDest(appended.isEmpty() ? *replaced : placeRecord >= 0 ? placeRecord : oldSize);
    finishStep(state);
}
