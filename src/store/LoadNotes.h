// The notes a load gathers about lines it read otherwise than they say, and the wording of
// each kind, here and nowhere else, in the words the window shows. Only the reader makes
// them, when it finds a case, so the line loop pays a test and nothing more. Of any number
// of notes only the ReadResult::MaxNotes with the lowest lines are kept and worded; the
// others are only counted, so a file with a note on every line loads as fast as without.
#pragma once

#include "PatchSetReader.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <limits>

class LoadNotes
{
public:
    // Notes at `line` what `text()` words; `text` is called only for a note that is kept.
    template<typename Text>
    void add(int line, Text text)
    {
        if (Q_UNLIKELY(line < m_keptBelow)) {
            insert(line, text());
        } else {
            ++m_notKept;
        }
    }

    // Moves the notes into `result`.
    void handTo(ReadResult &result);

    // Lines inside a block.
    Q_DECL_COLD_FUNCTION static QString unknownKey(QByteArrayView key);
    Q_DECL_COLD_FUNCTION static QString beginInsideBlock(int block);
    Q_DECL_COLD_FUNCTION static QString dataSlotReadAs(QByteArrayView key, int slot);
    Q_DECL_COLD_FUNCTION static QString dataWithoutOffset(int slot);
    Q_DECL_COLD_FUNCTION static QString parameterKeyNotRead(QByteArrayView key,
                                                            QByteArrayView version);
    Q_DECL_COLD_FUNCTION static QString pipeWithoutBar(QByteArrayView key);
    Q_DECL_COLD_FUNCTION static QString valueCut(QByteArrayView key);
    Q_DECL_COLD_FUNCTION static QString parameterTextCut(QByteArrayView key);
    Q_DECL_COLD_FUNCTION static QString keyGivenAgain(QByteArrayView key);

    // Lines outside blocks, and the blocks themselves.
    Q_DECL_COLD_FUNCTION static QString keyOutsideBlock(QByteArrayView key);
    Q_DECL_COLD_FUNCTION static QString blockNumberReadAs(QByteArrayView beginLine, int block);
    Q_DECL_COLD_FUNCTION static QString blockAgain(int block, int firstLine);
    Q_DECL_COLD_FUNCTION static QString entriesDropped(int block, int previousBlock, int dropped);

    // The table as a whole, once it is read.
    Q_DECL_COLD_FUNCTION static QString notListed(int block, QByteArrayView name,
                                                  quint8 omnipresence);
    Q_DECL_COLD_FUNCTION static QString sameName(QByteArrayView name, int firstLine);

private:
    // Puts a note after every kept note of the same or a lower line.
    Q_DECL_COLD_FUNCTION void insert(int line, QString text);

    QList<LoadNote> m_notes; // in line order
    int m_notKept = 0;
    // Once the list is full, a note is kept only above a line lower than its last.
    int m_keptBelow = std::numeric_limits<int>::max();
};
