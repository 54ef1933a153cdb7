#include "LoadNotes.h"

#include "AnsiText.h"
#include "PatchSetFormat.h"

#include <algorithm>

using namespace PatchSetFormat;

namespace {

// A piece of the file as a note shows it: short, since keys and lines may run to thousands
// of characters, and decoded as the lists decode names. Spaces stay, so "Name " shows why
// it is no key.
QString shown(QByteArrayView text)
{
    constexpr qsizetype shownLength = 40;
    QString decoded = decodeAnsi(text.first(std::min(text.size(), shownLength)).toByteArray());
    if (text.size() > shownLength) {
        decoded += QStringLiteral("...");
    }
    return decoded;
}

} // namespace

QString LoadNote::toString() const
{
    return QStringLiteral("line %1: %2").arg(line).arg(text);
}

QStringList ReadResult::noteLines() const
{
    QStringList lines;
    lines.reserve(notes.size() + 1);
    for (const LoadNote &note : notes) {
        lines.append(note.toString());
    }
    if (notesNotKept > 0) {
        lines.append(notesNotKept == 1 ? QStringLiteral("... and 1 more note")
                                       : QStringLiteral("... and %1 more notes").arg(notesNotKept));
    }
    return lines;
}

QString LoadNotes::unknownKey(QByteArrayView key)
{
    return QStringLiteral("\"%1\" is not a key of a patch entry, so this line is ignored")
        .arg(shown(key));
}

QString LoadNotes::beginInsideBlock(int block)
{
    return QStringLiteral("this /bgn line comes before block %1 has its /end line, so it is "
                          "ignored and the lines after it still go into block %1")
        .arg(block);
}

QString LoadNotes::dataSlotReadAs(QByteArrayView key, int slot)
{
    return QStringLiteral("%1 is read as data slot %2").arg(shown(key)).arg(slot);
}

QString LoadNotes::dataWithoutOffset(int slot)
{
    return QStringLiteral("this block gives data slot %1 data but no offset (%2%3), and a slot "
                          "without an offset is left out of every save")
        .arg(slot)
        .arg(QLatin1String(keyOffffset))
        .arg(slot, 2, 10, QLatin1Char('0'));
}

QString LoadNotes::parameterKeyNotRead(QByteArrayView key, QByteArrayView version)
{
    return QStringLiteral("%1 is ignored, since a file of version \"%2\" does not read it")
        .arg(shown(key), shown(version));
}

QString LoadNotes::pipeWithoutBar(QByteArrayView key)
{
    return QStringLiteral("%1 has no \"|\" after a slot number, so this line is ignored")
        .arg(shown(key));
}

QString LoadNotes::valueCut(QByteArrayView key)
{
    return QStringLiteral("the value of %1 is cut to %2 characters")
        .arg(shown(key))
        .arg(maxValueLength);
}

QString LoadNotes::parameterTextCut(QByteArrayView key)
{
    return QStringLiteral("the text of %1 is cut to %2 characters")
        .arg(shown(key))
        .arg(maxPipeTextLength);
}

QString LoadNotes::keyGivenAgain(QByteArrayView key)
{
    return QStringLiteral("%1 is given again in this block; this later value is the one kept")
        .arg(shown(key));
}

QString LoadNotes::keyOutsideBlock(QByteArrayView key)
{
    return QStringLiteral("%1 stands outside any block, so this line is ignored (a block "
                          "starts with a /bgn line)")
        .arg(shown(key));
}

QString LoadNotes::blockNumberReadAs(QByteArrayView beginLine, int block)
{
    return QStringLiteral("\"%1\" is read as block %2").arg(shown(beginLine)).arg(block);
}

QString LoadNotes::blockAgain(int block, int firstLine)
{
    return QStringLiteral("block %1 was begun before, at line %2: this block adds to that "
                          "entry, and its values win")
        .arg(block)
        .arg(firstLine);
}

QString LoadNotes::entriesDropped(int block, int previousBlock, int dropped)
{
    return dropped == 1
        ? QStringLiteral("block %1 comes after block %2, so the entry read under a higher "
                         "number is dropped")
              .arg(block)
              .arg(previousBlock)
        : QStringLiteral("block %1 comes after block %2, so the %3 entries read under higher "
                         "numbers are dropped")
              .arg(block)
              .arg(previousBlock)
              .arg(dropped);
}

QString LoadNotes::notListed(int block, QByteArrayView name, quint8 omnipresence)
{
    const QString entry = name.isEmpty()
        ? QStringLiteral("block %1").arg(block)
        : QStringLiteral("block %1 (\"%2\")").arg(block).arg(shown(name));
    const QString why =
        QStringLiteral("only an entry whose Omnipresence is 1 is listed, and this one's is %1")
            .arg(omnipresence);
    return omnipresence == 0
        ? QStringLiteral("%1 is dropped: %2").arg(entry, why)
        : QStringLiteral("%1 is not listed, yet kept and saved back: %2").arg(entry, why);
}

QString LoadNotes::sameName(QByteArrayView name, int firstLine)
{
    return QStringLiteral("\"%1\" is also the name of the entry at line %2; copying and the "
                          "\"also in\" marks use only that first one")
        .arg(shown(name))
        .arg(firstLine);
}

void LoadNotes::handTo(ReadResult &result)
{
    result.notes = std::move(m_notes);
    result.notesNotKept = m_notKept;
    m_notes.clear();
    m_notKept = 0;
    m_keptBelow = std::numeric_limits<int>::max();
}

void LoadNotes::insert(int line, QString text)
{
    // Notes come mostly in line order: then this is an append.
    const auto at =
        std::upper_bound(m_notes.begin(), m_notes.end(), line,
                         [](int wanted, const LoadNote &note) { return wanted < note.line; });
    m_notes.insert(at, LoadNote{line, std::move(text)});
    if (m_notes.size() > ReadResult::MaxNotes) {
        m_notes.removeLast();
        ++m_notKept;
    }
    if (m_notes.size() == ReadResult::MaxNotes) {
        m_keptBelow = m_notes.constLast().line;
    }
}
