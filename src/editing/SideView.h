// What the editing routines need of the window: for each side a list with a selection
// kept apart from its current line, a count label and a status label; and the two command
// buttons whose enabled state the commands switch. The window implements these with its
// widgets; tests implement them with plain values, so no editing test needs a display.
// Labels are only written, never read back: the window shows other texts in them too
// ("LOADING"), so the editor keeps what it wrote itself.
#pragma once

#include "LineMarks.h"

#include <QList>
#include <QString>
#include <QStringList>

class SideView
{
public:
    virtual ~SideView() = default;

    virtual int lineCount() const = 0;
    virtual bool isLineSelected(int line) const = 0;
    virtual void setLineSelected(int line, bool selected) = 0;
    // Replaces every line; afterwards no line is selected or marked and there is no
    // current line.
    virtual void setLines(const QStringList &texts) = 0;
    // -1 when there is no current line.
    virtual int currentLine() const = 0;
    // -1 clears the current line; a line outside the list is ignored. A new current line
    // is scrolled into view. Never changes the selection and never runs the click handling
    // of the list.
    virtual void setCurrentLine(int line) = 0;

    virtual void setCountText(const QString &text) = 0;

    // One mark per line, in line order, telling whether the other side lists an entry of
    // the same name and whether it is equal. Given after every rebuild of the lines and
    // every change of the other side's table; a view that shows no marks ignores it.
    virtual void setLineMarks(const QList<LineMark> & /*marks*/) {}

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
