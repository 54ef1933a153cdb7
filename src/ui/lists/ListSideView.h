// One side of the window as the editing routines see it: a multi-select list whose
// selection is kept apart from its current line, the side's count label and its status
// label. Form1 owns two of them (SRC and DEST) and hands them to the PatchSetEditor, whose
// side listing hands itself over: the view shows it through a SideListModel, marks in the
// colours of WindowLook::markColours(), and turns the listing's news into the model's resets
// and changes. The selection stays in the list's selection model, where the user's clicks and
// keys act, and the program moves it in runs of adjacent lines. Changes made through this view
// never run the list's click handling: only the user's clicks and keys do, through the
// signals Form1 connects. The window's CopyPreview has it show what "copy >>" would do.
#pragma once

#include "SideView.h"

#include <Qt>

class AnchoredLabel;
class QAbstractItemView;
class QListView;
class SideListModel;

class ListSideView : public SideView
{
public:
    // What a press of "copy >>" would do to a selected line, shown while the user looks at the
    // button (CopyPreview): a line it would delete is struck through, one it would copy outlined.
    enum class CopyEffect { None, Deleted, Copied };
    // A line's CopyEffect as an int, while the list shows one and only on its selected lines.
    // Clear of the roles of SideListModel, which the lines' model answers too.
    static constexpr int CopyEffectRole = Qt::UserRole + 100;

    // Installs on `list` the painting of selected marked lines.
    ListSideView(QListView *list, AnchoredLabel *countLabel, AnchoredLabel *statusLabel);

    // Gives the list a model over `listing`.
    void showListing(const SideListing &listing) override;
    void linesReset() override;
    // A marked line gets its mark's colours, and lineMarkText() as its tooltip and accessible
    // description; an unmarked line has neither.
    void marksChanged() override;

    QList<int> selectedLines() const override;
    void selectLines(const QList<int> &lines) override;
    int currentLine() const override;
    // A line out of sight comes to the middle of the list, with the lines around it, rather
    // than to an edge as Qt would put it: after a delete in a long list the user sees where
    // they were. A line in sight stays where it is.
    void setCurrentLine(int line) override;

    void setCountText(const QString &text) override;
    void setStatusText(const QString &text) override;
    // The status label's tooltip, shown as written whatever markup the path holds.
    void setFileText(const QString &text) override;

    // Shows `effect` on every selected line, as the selection changes, until it is None. What
    // the list shows is painted again, and nothing else changes: no line, no selection.
    void previewCopy(CopyEffect effect);

    // The number of selected lines, from the selection's runs rather than line by line, so
    // the window can keep a tooltip current on every change of the largest list.
    int selectedLineCount() const;

    // The selected lines of `list`, ascending, read from the selection's runs.
    static QList<int> selectedLines(const QAbstractItemView *list);

private:
    QListView *m_list;
    AnchoredLabel *m_count;
    AnchoredLabel *m_status;
    SideListModel *m_model = nullptr; // a child of the list, once the listing is handed over
};
