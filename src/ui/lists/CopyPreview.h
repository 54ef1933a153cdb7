// Shows on both lists what "copy >>" would do while the user looks at it: while the pointer
// rests on the button or it has the keyboard focus, the selected DEST lines, which a press would
// delete, are struck through, and the selected SRC lines, which it would copy, are outlined.
// It follows the selections, which keys may change meanwhile, and shows nothing while the
// button is disabled. The window makes one for its "copy >>" and its two side views.
#pragma once

#include <QObject>

class ListSideView;
class QAbstractButton;

class CopyPreview : public QObject
{
public:
    // Watches `copy`'s pointer, focus and switch; both views must outlive the preview, which
    // is why it is no child of the window: the window's children go after its members.
    CopyPreview(QAbstractButton *copy, ListSideView &src, ListSideView &dest);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractButton *m_copy;
    ListSideView &m_src;
    ListSideView &m_dest;
    bool m_pointerOn = false;
    bool m_focused = false;
};
