// Tooltips the control table does not give: what the lists and "quit" do, the note on the
// buttons whose steps the undo keys take back, and tooltips for passive controls. Form1 sets
// them up once its controls and keys exist.
#pragma once

#include "PatchSets.h"

#include <QKeySequence>
#include <QList>
#include <QString>

class QWidget;

namespace ToolTips {

// What a click and the keys do on the list of `side`.
QString listTip(Side side);

// A second tooltip line for the buttons whose steps `undo` takes back and `redo` takes again:
// "\nCtrl+Z undoes it, Ctrl+Shift+Z or Ctrl+Y redoes it".
QString undoNote(const QList<QKeySequence> &undo, const QList<QKeySequence> &redo);

// A passive control lets the mouse through to the window, so Qt would never show its
// tooltip; this shows, for a tooltip event of `window`, the tooltip of the topmost visible
// passive child under the pointer. A child of `window`.
void relayPassiveToolTips(QWidget *window);

} // namespace ToolTips
