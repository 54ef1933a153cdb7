#include "DragForm.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <cstdlib>

namespace {

// One axis of placeWindow(); `farEdge` is exclusive. 64-bit so no screen value can overflow.
int placeAxis(int wanted, int length, int nearEdge, int farEdge, int snapDistance)
{
    if (std::llabs(qint64(wanted) - nearEdge) < snapDistance) {
        return nearEdge;
    }
    const qint64 overhang = qint64(wanted) + length - farEdge;
    if (std::llabs(overhang) > snapDistance) {
        return wanted;
    }
    return farEdge - length;
}

} // namespace

QPoint placeWindow(const QPoint &wanted, const QSize &windowSize, const QRect &workArea,
                   int snapDistance)
{
    return QPoint(placeAxis(wanted.x(), windowSize.width(), workArea.x(),
                            workArea.x() + workArea.width(), snapDistance),
                  placeAxis(wanted.y(), windowSize.height(), workArea.y(),
                            workArea.y() + workArea.height(), snapDistance));
}

void DragForm::mouseMove(QWidget *form, const QPoint &posInForm, Qt::MouseButtons buttons)
{
    if (buttons != Qt::LeftButton) {
        m_dragging = false;
        return;
    }
    if (!m_dragging) {
        m_grabOffset = posInForm;
        m_dragging = true;
        m_systemMove = windowSystemMovesWindows();
        if (m_systemMove) {
            // The compositor follows the pointer from here; our own moves would be ignored.
            startSystemMove(form);
            return;
        }
        m_workArea = workAreaAt(form, cursorPosition());
    }
    if (m_systemMove) {
        return;
    }
    const QPoint wanted = cursorPosition() - m_grabOffset;
    // Without a known work area there is nothing to snap to; the drag still follows the cursor.
    form->move(m_workArea.isValid() ? placeWindow(wanted, form->size(), m_workArea, SnapDistance)
                                    : wanted);
}

void DragForm::mouseRelease()
{
    m_dragging = false;
}

QPoint DragForm::cursorPosition() const
{
    return QCursor::pos();
}

QRect DragForm::workAreaAt(const QWidget *form, const QPoint &cursor) const
{
    QScreen *screen = QGuiApplication::screenAt(cursor);
    if (!screen) {
        screen = form->screen();
    }
    return screen ? screen->availableGeometry() : QRect();
}

bool DragForm::windowSystemMovesWindows() const
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool DragForm::startSystemMove(QWidget *form)
{
    QWindow *window = form->window()->windowHandle();
    return window && window->startSystemMove();
}
