// Plain-value stand-ins for the window's side lists and command buttons, so the editing
// commands can be driven and inspected without a display. Members are public on purpose:
// a test arranges and checks them directly.
#pragma once

#include "SetOrigin.h"
#include "SideListing.h"
#include "SideView.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>

class FakeSideView : public SideView
{
public:
    QStringList lines;
    QList<bool> selected;
    int current = -1;
    QString countText;
    QString status;
    QString fileText;
    QList<LineMark> marks;
    // How many lines, from the first, have their marks read when they change: every line,
    // unless a benchmark reads a screenful, as a list does, to weigh the editor and not this.
    int marksRead = -1;

    int lineCount() const { return int(lines.size()); }
    void showListing(const SideListing &listing) override { m_listing = &listing; }
    void linesReset() override
    {
        lines.clear();
        for (int line = 0; line < m_listing->lineCount(); ++line) {
            lines.append(m_listing->lineText(line));
        }
        selected = QList<bool>(lines.size(), false);
        marks.clear();
        current = -1;
    }
    void marksChanged() override
    {
        marks.clear();
        const int count = marksRead < 0 ? lineCount() : std::min(marksRead, lineCount());
        for (int line = 0; line < count; ++line) {
            marks.append(m_listing->markOfLine(line));
        }
    }
    int currentLine() const override { return current; }
    void setCurrentLine(int line) override
    {
        if (line >= -1 && line < lines.size()) {
            current = line;
        }
    }
    void setCountText(const QString &text) override { countText = text; }
    void setStatusText(const QString &text) override { status = text; }
    void setFileText(const QString &text) override { fileText = text; }

    // Selects exactly the given lines.
    void select(const QList<int> &selectedLines)
    {
        selected = QList<bool>(lines.size(), false);
        for (const int line : selectedLines) {
            if (line >= 0 && line < selected.size()) {
                selected[line] = true;
            }
        }
    }
    void selectLines(const QList<int> &selectedLines) override { select(selectedLines); }
    QList<int> selectedLines() const override
    {
        QList<int> result;
        for (int line = 0; line < selected.size(); ++line) {
            if (selected.at(line)) {
                result.append(line);
            }
        }
        return result;
    }

private:
    const SideListing *m_listing = nullptr;
};

class FakeSwitches : public CommandSwitches
{
public:
    bool copyEnabled = false;
    bool saveEnabled = false;

    void setCopyEnabled(bool enabled) override { copyEnabled = enabled; }
    void setSaveEnabled(bool enabled) override { saveEnabled = enabled; }
};

// The marks beside a side's status label, as the editor last gave them.
class FakeSideMarks : public SideMarksView
{
public:
    QString changed;
    SetNotes notes;

    void setChangedText(const QString &text) override { changed = text; }
    void setNotes(const SetNotes &given) override { notes = given; }
};

#include "PatchSetEditor.h"

#include <QByteArrayList>
#include <QDateTime>

// Listed entries with the given names, each described `about` + name, so a test can tell
// two records of the same name apart: "src " tells a copy from SRC.
inline PatchTable entriesNamed(const QByteArrayList &names, const QByteArray &about = "about ")
{
    PatchTable table;
    for (const QByteArray &name : names) {
        PatchEntry entry;
        entry.Omnipresence = 1;
        entry.Name = name;
        entry.Description = about + name;
        table.append(entry);
    }
    return table;
}

inline QByteArrayList namesOf(const PatchTable &table)
{
    QByteArrayList names;
    for (const PatchEntry &entry : table) {
        names.append(entry.Name);
    }
    return names;
}

// An editor on two fake sides. Overwrite questions are recorded as "title|text|detail" and
// answered from `answers` (No once it runs out); each run of the detail handler records the
// name of the current DEST entry, or "<none>"; `changes` counts the runs of the change
// handler, and `messages` holds every text the editor showed.
struct EditorRig
{
    PatchSets sets;
    FakeSideView left;
    FakeSideView right;
    FakeSwitches switches;
    BySide<FakeSideMarks> marks;
    PatchSetEditor editor;
    QList<OverwriteAnswer> answers;
    QStringList questions;
    QByteArrayList details;
    int changes = 0;
    QStringList messages;

    // `historyBudget` lets a test weigh the undo history against a few tables, not 256 MB.
    explicit EditorRig(qint64 historyBudget = EditHistory::MemoryBudget)
        : editor(sets, left, right, switches, historyBudget)
    {
        editor.setOverwriteQuestion(
            [this](const QString &title, const QString &text, const QString &detail) {
                questions.append(title + QLatin1Char('|') + text + QLatin1Char('|') + detail);
                return answers.isEmpty() ? OverwriteAnswer::No : answers.takeFirst();
            });
        editor.setDestDetailHandler([this] {
            const PatchEntry *entry = editor.currentEntry(Side::Right);
            details.append(entry ? entry->Name : QByteArray("<none>"));
        });
        editor.setChangeHandler([this] { ++changes; });
        editor.setMessage([this](const QString &text) { messages.append(text); });
        editor.setMarksViews(marks.left, marks.right);
    }

    FakeSideView &view(Side side) { return side == Side::Left ? left : right; }
    // Both views read the marks of the first 40 lines only, as a list shows a screenful.
    void readScreenfuls() { left.marksRead = right.marksRead = 40; }

    // A successful load of `table`, from a file changed at a fixed time.
    void load(Side side, const PatchTable &table)
    {
        editor.installLoadedSet(side, table, "0.3", QStringLiteral("test.tvr"),
                                QDateTime(QDate(2026, 1, 1), QTime(12, 0)));
    }
};
