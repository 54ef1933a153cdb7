// Where the set a side holds came from and what its file holds now: the file it was read from
// or last written to, the status label's words for that file, the notes of the read, and the
// side's revision that the file holds. A load or NEW makes one; every state of the undo
// history in which the side holds that set shares it, and a save changes it in place. So undo
// and redo within a set show its file as a save left it, and undo or redo of a load brings
// back the set with its own file, status and notes. PatchSetEditor makes them through its
// SetOrigins and tells each side's SideMarksView what to show beside the status label: whether
// the set differs from its file, and the notes. The words are worked out here, so the editing
// tests pin them.
#pragma once

#include "PatchSetReader.h"
#include "Side.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// What the reader noted about the lines of one file: the kept notes, in line order, and how
// many more it only counted.
struct SetNotes
{
    QList<LoadNote> kept;
    int notKept = 0;
    QString file; // the file they are about

    int count() const { return int(kept.size()) + notKept; }
    bool isEmpty() const { return count() == 0; }
    friend bool operator==(const SetNotes &a, const SetNotes &b)
    {
        return a.notKept == b.notKept && a.file == b.file && a.kept == b.kept;
    }
};

struct SetOrigin
{
    enum class Kind { Loaded, Saved, New };
    Kind kind = Kind::New;
    QString path;       // empty while the set is on no file
    QByteArray version; // the version its status shows
    QString status;     // the status label's text, never empty
    // The side's revision that the file holds: the one the load made, or the one saved last.
    // A set started with NEW is on no file until it is saved, whatever its revision.
    quint64 revision = 0;
    SetNotes notes; // of the load that made the set; none for NEW, kept by a save
};

// Makes the origins of one editor's sets and the revisions of its sides, and keeps DEST's
// origins for the saves to come.
class SetOrigins
{
public:
    // A revision that no state of either side had before.
    quint64 newRevision() { return ++m_lastRevision; }
    // The origin of a set just read into `side` from `path` (whose contents last changed at
    // `modified`), with the reader's notes, holding the side's `revision`.
    std::shared_ptr<SetOrigin> loaded(Side side, const QString &path, const QByteArray &version,
                                      const QDateTime &modified, const QList<LoadNote> &notes,
                                      int notesNotKept, quint64 revision);
    // The origin of a DEST set started with NEW: on no file, "v.0.3 / [new]".
    std::shared_ptr<SetOrigin> started();
    // `saved` was just written to `path`, whose contents last changed at `modified`, holding
    // DEST's `revision`: it is on that file now, with the written version. Every other DEST
    // origin still in use that was on that file is on it too, and holds none of its states.
    void save(SetOrigin &saved, const QString &path, const QDateTime &modified, quint64 revision);

private:
    void keep(const std::shared_ptr<SetOrigin> &origin);

    quint64 m_lastRevision = 0;
    // Those no state holds any more are left out as new ones come.
    std::vector<std::weak_ptr<SetOrigin>> m_destOrigins;
};

// The changed mark of a side that holds the set of `origin` (nullptr: no set) at `revision`:
// empty while the side holds no set, or the one its file holds; otherwise "changed since
// loaded" or "changed since saved", and "new set, not saved" for a set that is on no file.
QString changedMarkText(const SetOrigin *origin, quint64 revision);

// The notes mark's tooltip and accessible description: how many notes there are, then the
// first few, each cut to a tooltip's width, e.g. "2 load notes on dest.tvr (click to see them
// all):\nline 6: ...\nline 13: ...", and a last line "…" when there are more; empty when
// there are none.
QString notesSummary(const SetNotes &notes);
// The lines of the notes window: every kept note as "line N: ...", then "and N more not kept"
// when the reader only counted some.
QStringList notesListing(const SetNotes &notes);

// What the editor tells the marks beside one side's status label, after every command, undo,
// redo and save. The window shows them beside Label6 and Label7; tests keep plain values.
class SideMarksView
{
public:
    virtual ~SideMarksView() = default;

    // changedMarkText() of the side; empty for no mark.
    virtual void setChangedText(const QString &text) = 0;
    // The notes of the load that made the side's set; none for a clean file, a set started
    // with NEW, or a side without a set.
    virtual void setNotes(const SetNotes &notes) = 0;
};
