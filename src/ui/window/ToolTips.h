// Tooltips of the controls that let the mouse through to the window, so the window can be
// dragged by them: Qt would never show those. Form1's control table sets it up once its
// controls exist.
#pragma once

class QWidget;

namespace ToolTips {

// Shows, for a tooltip event of `window`, the tooltip of the topmost visible passive child
// under the pointer. A child of `window`.
void relayPassiveToolTips(QWidget *window);

} // namespace ToolTips
