// What the editing routines need of the window: for each side a list with a selection
// kept apart from its current line, a count label and a status label; and the two command
// buttons whose enabled state the commands switch. The window implements these with its
// widgets; tests implement them with plain values, so no editing test needs a display.
// A view reads its lines, their texts and their marks from the side's SideListing and is told
// when they change, so a change costs the view what changed rather than a copy of every line.
// Labels are only written, never read back: the window shows other texts in them too
// ("LOADING"), so the editor keeps what it wrote itself.
#pragma once

#include <QList>
#include <QString>

class SideListing;

class SideView
{
public:
    virtual ~SideView() = default;

    // The listing whose lines the view shows, handed over once by the listing as it is made,
    // before any other call; it lives as long as the view is used.
    virtual void showListing(const SideListing &listing) = 0;
    // The listing rebuilt its lines: their number, records and texts may all have changed.
    // Afterwards no line is selected and there is no current line.
    virtual void linesReset() = 0;
    // The marks the listing gives its lines may have changed; nothing else did. A view that
    // shows no marks ignores it.
    virtual void marksChanged() {}

    // The selected lines, ascending.
    virtual QList<int> selectedLines() const = 0;
    // Selects exactly `lines` (ascending) in one change; lines the list does not have are left
    // out, and the current line stays.
    virtual void selectLines(const QList<int> &lines) = 0;
    // -1 when there is no current line.
    virtual int currentLine() const = 0;
    // -1 clears the current line; a line outside the list is ignored. A new current line
    // is scrolled into view. Never changes the selection and never runs the click handling
    // of the list.
    virtual void setCurrentLine(int line) = 0;

    virtual void setCountText(const QString &text) = 0;

    // Empty while the side holds no set.
    virtual void setStatusText(const QString &text) = 0;
    // The file the side holds, as sideFileText() words it, given with every status text and
    // after a save; a view shows it where the user asks about the status, or ignores it.
    virtual void setFileText(const QString & /*text*/) {}
};

class CommandSwitches
{
public:
    virtual ~CommandSwitches() = default;

    virtual void setCopyEnabled(bool enabled) = 0; // "copy >>"
    virtual void setSaveEnabled(bool enabled) = 0; // "save"
};
