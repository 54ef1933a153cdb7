// One side of the window as the editing routines see it: a multi-select list whose
// selection is kept apart from its current line, the side's count label and its status
// label. Form1 owns two of them (SRC and DEST) and hands them to the PatchSetEditor.
// Changes made through this view never run the list's click handling: only the user's
// clicks and keys do, through the signals Form1 connects. It shows the marks of entries the
// other side lists too, in the colours of WindowLook::markColours().
#pragma once

#include "SideView.h"

class AnchoredLabel;
class QListWidget;

class ListSideView : public SideView
{
public:
    // Installs on `list` the painting of selected marked lines.
    ListSideView(QListWidget *list, AnchoredLabel *countLabel, AnchoredLabel *statusLabel,
                 Side side);

    int lineCount() const override;
    bool isLineSelected(int line) const override;
    void setLineSelected(int line, bool selected) override;
    void setLines(const QStringList &texts) override;
    int currentLine() const override;
    // A line out of sight comes to the middle of the list, with the lines around it, rather
    // than to an edge as Qt would put it: after a delete in a long list the user sees where
    // they were. A line in sight stays where it is.
    void setCurrentLine(int line) override;

    void setCountText(const QString &text) override;
    // A marked line gets its mark's colours, and lineMarkText() as its tooltip and accessible
    // description; an unmarked line has neither. Lines beyond `marks` keep what they have.
    void setLineMarks(const QList<LineMark> &marks) override;

    void setStatusText(const QString &text) override;
    // The status label's tooltip, shown as written whatever markup the path holds.
    void setFileText(const QString &text) override;

    // The number of selected lines, from the selection's runs rather than line by line, so
    // the window can keep a tooltip current on every change of a thousand-line list.
    int selectedLineCount() const;

private:
    QListWidget *m_list;
    AnchoredLabel *m_count;
    AnchoredLabel *m_status;
    Side m_side;
};
