// One side of the window as the editing routines see it: a multi-select list whose
// selection is kept apart from its current line, the side's count label and its status
// label. Form1 owns two of them (SRC and DEST) and hands them to the PatchSetEditor.
// Changes made through this view never run the list's click handling: only the user's
// clicks and keys do, through the signals Form1 connects.
#pragma once

#include "SideView.h"

class AnchoredLabel;
class QListWidget;

class ListSideView : public SideView
{
public:
    ListSideView(QListWidget *list, AnchoredLabel *countLabel, AnchoredLabel *statusLabel);

    int lineCount() const override;
    bool isLineSelected(int line) const override;
    void setLineSelected(int line, bool selected) override;
    void setLines(const QStringList &texts) override;
    int currentLine() const override;
    void setCurrentLine(int line) override;

    void setCountText(const QString &text) override;

    QString statusText() const override;
    void setStatusText(const QString &text) override;

private:
    QListWidget *m_list;
    AnchoredLabel *m_count;
    AnchoredLabel *m_status;
};
