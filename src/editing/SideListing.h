// One side's listing: which record of the side's table each line of its list shows, which
// lines are selected and which one is current, and the text and mark of each line. PatchSetEditor
// holds one per side, speaks to it in records, and has it rebuild the lines after every change
// of the table; the side's view reads the lines from it when it shows them, is told when they
// change, and keeps the selection and the current line for it. What the listing keeps is ints,
// rebuilt in one pass over the table, so a list of the largest set costs little to rebuild;
// names stay in the table and marks in SharedMarks, read only for the lines a view shows.
// Lines map to records explicitly, so a record that is kept but not listed (Omnipresence
// other than 0 and 1) never makes a command act on the wrong entry; shows() alone decides
// which records get a line: the listed ones (Omnipresence 1) that the side's filter keeps.
// Every command acts on the lines, so it acts on what the filter shows.
#pragma once

#include "LineMarks.h"
#include "PatchSets.h"
#include "SideFilter.h"
#include "SideView.h"

#include <QList>
#include <QString>

#include <vector>

class SideListing
{
public:
    // `table`, `view` and `marks` live as long as the listing: the editor's sets and marks
    // and the window's list. The listing hands itself to the view, so it stays where it is
    // made. A filter by state has the marks follow the tables before it reads them.
    SideListing(Side side, PatchTable &table, SideView &view, SharedMarks &marks);
    SideListing(const SideListing &) = delete;
    SideListing &operator=(const SideListing &) = delete;

    Side side() const { return m_side; }
    // The lines as the last fill left them: what a list shows, and what a list model reads.
    int lineCount() const { return int(m_records.size()); }
    // The number of listed records as the last fill or filter counted them, whatever the
    // filter keeps: what the side's count shows.
    int listedCount() const { return m_listedCount; }
    // Whether the filter hides some listed records, so that the lines are not the whole side.
    bool hidesLines() const { return lineCount() < m_listedCount; }
    // The table position of the record shown on `line`; -1 when the line does not exist, or
    // when the table was replaced by a shorter one since the last fill.
    int recordOfLine(int line) const;
    // The line showing table position `record`, or -1 when the record has no line.
    int lineOfRecord(int record) const;
    // The first line whose record is at table position `record` or after it; lineCount() when
    // there is none. Records appended behind `record` have their lines from there on.
    int firstLineFrom(int record) const;
    // The text of `line`: its record's Name, decoded. Empty for a line outside the list.
    QString lineText(int line) const;
    // The mark of `line`, as the marks stood at the last showMarks(); LineMark::None from a
    // fill until the next showMarks().
    LineMark markOfLine(int line) const;
    // What a differing line's tooltip says: "also in DEST, differs in Description, Data slot
    // 11", worked out as it is asked for. Empty for a line not marked LineMark::Differs.
    QString differenceOfLine(int line) const;
    // What `line` says of a name on the other side that is nearly its own (see
    // SharedMarks::nearNameText()), as the marks stood at the last showMarks(); empty from a
    // fill until the next showMarks(), and for a line with no such name.
    QString nearNameText(int line) const;

    // The current line, -1 for none, and the selection, as the view keeps them.
    int currentLine() const;
    // Makes `line` current and brings it into sight; a line outside the list is ignored.
    void setCurrentLine(int line);
    // The record of the current line, or -1 when there is none.
    int currentRecord() const;
    // Makes current the line of `record` or, when the filter hides it, of the next record
    // shown after it, or the last line when none is; nothing when there are no lines.
    void setCurrentNear(int record);
    // The selected lines, in line order.
    QList<int> selectedLines() const;
    // The table positions of the selected lines, in line order.
    QList<int> selectedRecords() const;
    // The records of `lines`, each once, in line order; lines outside the list are left out.
    QList<int> recordsOfLines(const QList<int> &lines) const;
    // The lines a block move of the keys carries: the selected lines, or the current line
    // alone when none is selected; none when there is neither.
    QList<int> blockLines() const;
    void selectAll();
    // Selects exactly `lines`, ascending; lines the list does not have are left out.
    void select(const QList<int> &lines) { m_view.selectLines(lines); }
    // Unselects every line and rebuilds nothing.
    void deselectAll();

    // The list-building step of a refresh, under its fixed name: rebuilds the lines from the
    // table, one for each record shows() takes, in table order, and tells the view. No line is
    // selected, marked or current after it.
    void FillSideList();

    const SideFilter &filter() const { return m_filter; }
    // Shows the records `filter` keeps from now on: the lines are made again, a selected line
    // stays selected while it is shown and comes back unselected, and the current line goes
    // to the line of the current record, or of the next one shown (see setCurrentNear()).
    // With no current line before, the first line becomes current. Changes no table.
    void setFilter(const SideFilter &filter);
    // The selection held per table position, as refresh() takes it.
    std::vector<bool> selectionByRecord() const;
    // Removes every record whose Omnipresence is 0 from the table (in one stable pass, the
    // last position included, so the table may become empty), fills, selects the lines of the
    // records `selected` flags by table position (records past its end come unselected) and
    // makes the first line current.
    void refresh(std::vector<bool> selected);

    // Moves the records of `lines` as one block, in their order, to just before line `before`
    // (lineCount(): after the last line). Lines outside the list are left out; a `before`
    // outside the list moves nothing, and neither does a list whose filter hides lines. See
    // moveRecords().
    bool moveLines(const QList<int> &lines, int before);
    // Moves the listed `records` (ascending) as one block, in their order, to just before
    // listed record `beforeRecord` (-1: after the last listed record), whatever the filter
    // shows of them. Listed records change places only among the table positions listed
    // records hold, so a record that is kept but not listed never moves. Each selection stays
    // with its record, the lines are refreshed and the block's first line becomes current (or
    // the next one shown). False, with nothing changed, when no record changed places.
    bool moveRecords(const QList<int> &records, int beforeRecord);

    // Where the user's place is once the selected lines are gone: the current line, moved up
    // by the selected lines above it, or, when the current line goes too, the line that takes
    // the first selected line's place. -1 with neither a selection nor a current line.
    int placeWithoutSelected() const;
    // After the refresh that removed the selected lines, makes `place` (as
    // placeWithoutSelected() gave it before) current, or the last line when the list got
    // shorter than that; the first line stays current for a place of 0 or none.
    void returnToPlace(int place);

    // The marks followed the tables: from now on each line has the mark of its record, and
    // the view is told. A filter by state is applied again first, as setFilter() does.
    void showMarks();

private:
    // Whether the record at `record` gets a line: a listed one that the filter keeps.
    bool shows(int record) const;
    // Makes the line map from the table as it is, through shows(), and counts the listed.
    void collectLines();
    // Selects the lines whose records `selected` flags by table position; records past its
    // end stay unselected. Selects nothing when it flags no line.
    void selectByRecord(const std::vector<bool> &selected);
    // Applies the filter to the table as it is, keeping the selection and the current record
    // as setFilter() says; tells the view only when other records are shown.
    void applyFilter();

    Side m_side;
    PatchTable &m_table;
    SideView &m_view;
    SharedMarks &m_marks;
    PatchTable m_filledFrom; // the table as the lines were last made from it, sharing storage
    SideFilter m_filter;
    SideFilter m_filledWith; // the filter the lines were last made with
    QList<int> m_records;    // line -> table position, ascending, rebuilt by every fill
    int m_listedCount = 0;
    bool m_marked = false; // the marks were shown since the last fill
};
