// Dragging the borderless main window by its surface, with its edges snapping to the work
// area (the screen without its panels) of the screen under the cursor.
// Form1 forwards every mouse move of its own surface to DragForm::mouseMove() and every
// release to mouseRelease(). placeWindow() is the pure placement rule; everything is in
// logical pixels, the units Qt gives positions in, so no twips conversion is involved.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

class QWidget;

// Where the window's top-left corner goes when its wanted corner (cursor minus grab offset)
// is `wanted`. Per axis, the first rule that applies:
// 1. the near edge is less than `snapDistance` from the work area's near edge: flush with it;
// 2. the far edge is more than `snapDistance` from the work area's far edge: free, `wanted`;
// 3. otherwise flush with the far edge.
// The far edge of the work area is exclusive (x() + width()), as screen rectangles of the
// window system are. A window larger than the work area therefore snaps left and top.
QPoint placeWindow(const QPoint &wanted, const QSize &windowSize, const QRect &workArea,
                   int snapDistance);

class DragForm
{
public:
    // How close, in logical pixels, an edge must come to the work area's edge to snap to it.
    static constexpr int SnapDistance = 10;

    virtual ~DragForm() = default;

    // One mouse move over the form's surface. Any button state other than the left button
    // alone ends a drag and moves nothing. The first move with the left button alone starts
    // a drag: the grab offset is `posInForm` and the work area is read once for the whole
    // drag. Every move of a drag keeps the grabbed point under the cursor, snapped to the
    // work area within SnapDistance. Where the window system places windows itself
    // (Wayland), the drag start hands the move to it instead, without snapping.
    void mouseMove(QWidget *form, const QPoint &posInForm, Qt::MouseButtons buttons);
    // The button went up: the drag is over.
    void mouseRelease();

    bool isDragging() const { return m_dragging; }
    QPoint grabOffset() const { return m_grabOffset; }

protected:
    // Seams for tests; the defaults ask the window system.
    virtual QPoint cursorPosition() const;
    // The available geometry of the screen under `cursor`, or of the form's screen.
    virtual QRect workAreaAt(const QWidget *form, const QPoint &cursor) const;
    // True where a program cannot place its own top-level window.
    virtual bool windowSystemMovesWindows() const;
    // Hands the move to the window system; false when it declined.
    virtual bool startSystemMove(QWidget *form);

private:
    bool m_dragging = false;
    bool m_systemMove = false;
    QPoint m_grabOffset;
    QRect m_workArea;
};
