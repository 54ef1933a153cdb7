#include "SetOrigin.h"

#include "CommandTexts.h"
#include "PatchSetFormat.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// Notes a tooltip shows before the "…": enough to tell what kind of file it is, few enough
// that the tooltip stays beside the mark.
constexpr int NotesSummarised = 3;
// Characters of a note a tooltip shows: a note may quote a long key, and a tooltip wider than
// the window would leave the screen.
constexpr qsizetype SummarisedLength = 80;

// Whether two paths name one file, through links too. QFileInfo's own comparison takes any
// two files that are gone for the same one.
bool sameFile(const QString &first, const QString &second)
{
    const QFileInfo one(first);
    const QFileInfo other(second);
    const QString canonical = one.canonicalFilePath();
    const QString otherCanonical = other.canonicalFilePath();
    if (canonical.isEmpty() || otherCanonical.isEmpty()) {
        return one.absoluteFilePath() == other.absoluteFilePath();
    }
    return canonical == otherCanonical;
}

} // namespace

std::shared_ptr<SetOrigin> SetOrigins::loaded(Side side, const QString &path,
                                              const QByteArray &version, const QDateTime &modified,
                                              const QList<LoadNote> &notes, int notesNotKept,
                                              quint64 revision)
{
    auto origin = std::make_shared<SetOrigin>();
    origin->kind = SetOrigin::Kind::Loaded;
    origin->path = path;
    origin->version = version;
    origin->status = loadedSetStatus(version, modified);
    origin->revision = revision;
    origin->notes = SetNotes{notes, notesNotKept, path};
    if (side == Side::Right) {
        keep(origin);
    }
    return origin;
}

std::shared_ptr<SetOrigin> SetOrigins::started()
{
    auto origin = std::make_shared<SetOrigin>();
    origin->kind = SetOrigin::Kind::New;
    origin->version = PatchSetFormat::WrittenVersion;
    origin->status = newSetStatus();
    keep(origin);
    return origin;
}

void SetOrigins::save(SetOrigin &saved, const QString &path, const QDateTime &modified,
                      quint64 revision)
{
    const auto onFile = [&](SetOrigin &origin) {
        origin.kind = SetOrigin::Kind::Saved;
        origin.path = path;
        origin.version = PatchSetFormat::WrittenVersion;
        origin.status = loadedSetStatus(origin.version, modified);
        origin.revision = revision;
    };
    for (const std::weak_ptr<SetOrigin> &kept : m_destOrigins) {
        const std::shared_ptr<SetOrigin> origin = kept.lock();
        if (origin != nullptr && origin.get() != &saved && !origin->path.isEmpty()
            && sameFile(origin->path, path)) {
            onFile(*origin);
        }
    }
    onFile(saved);
}

void SetOrigins::keep(const std::shared_ptr<SetOrigin> &origin)
{
    m_destOrigins.erase(std::remove_if(m_destOrigins.begin(), m_destOrigins.end(),
                                       [](const std::weak_ptr<SetOrigin> &kept) {
                                           return kept.expired();
                                       }),
                        m_destOrigins.end());
    m_destOrigins.push_back(origin);
}

QString changedMarkText(const SetOrigin *origin, quint64 revision)
{
    if (origin == nullptr) {
        return {};
    }
    switch (origin->kind) {
    case SetOrigin::Kind::New:
        return QStringLiteral("new set, not saved");
    case SetOrigin::Kind::Loaded:
        return revision == origin->revision ? QString() : QStringLiteral("changed since loaded");
    case SetOrigin::Kind::Saved:
        return revision == origin->revision ? QString() : QStringLiteral("changed since saved");
    }
    return {};
}

QString notesSummary(const SetNotes &notes)
{
    const int count = notes.count();
    if (count == 0) {
        return {};
    }
    const QString file = QFileInfo(notes.file).fileName();
    QStringList lines;
    lines.append(count == 1 ? QStringLiteral("1 load note on %1 (click to see it):").arg(file)
                            : QStringLiteral("%1 load notes on %2 (click to see them all):")
                                  .arg(count)
                                  .arg(file));
    for (qsizetype index = 0; index < notes.kept.size() && index < NotesSummarised; ++index) {
        const QString note = notes.kept.at(index).toString();
        lines.append(note.size() <= SummarisedLength
                         ? note
                         : note.left(SummarisedLength - 1) + QStringLiteral("\u2026"));
    }
    if (count > NotesSummarised) {
        lines.append(QStringLiteral("\u2026"));
    }
    return lines.join(QLatin1Char('\n'));
}

QStringList notesListing(const SetNotes &notes)
{
    QStringList lines;
    lines.reserve(notes.kept.size() + 1);
    for (const LoadNote &note : notes.kept) {
        lines.append(note.toString());
    }
    if (notes.notKept > 0) {
        lines.append(QStringLiteral("and %1 more not kept").arg(notes.notKept));
    }
    return lines;
}
