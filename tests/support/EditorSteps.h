// What the editing tests that drive an EditorRig through steps share: a step as a column of a
// test table, the file times loads carry, and a side's marks as the texts the window shows.
#pragma once

#include "FakeSideView.h"
#include "LineMarks.h"

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QStringList>

#include <functional>

using Command = std::function<void(EditorRig &)>;
Q_DECLARE_METATYPE(Command)

// A file's last change; each load gets its own, so status labels tell the loads apart.
inline QDateTime fileTime(int day)
{
    return QDateTime(QDate(2026, 1, day), QTime(12, 0));
}

inline QStringList markTexts(Side side, const QList<LineMark> &marks)
{
    QStringList texts;
    for (const LineMark mark : marks) {
        texts.append(lineMarkText(side, mark));
    }
    return texts;
}
