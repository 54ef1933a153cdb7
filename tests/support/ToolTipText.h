// What a tooltip shows, read as QToolTip reads it: as rich text when its first line holds a
// tag, else as it stands. Lets a window test say that a path is shown exactly as written.
#pragma once

#include <QString>
#include <QTextDocument>

inline QString toolTipAsShown(const QString &toolTip)
{
    if (!Qt::mightBeRichText(toolTip)) {
        return toolTip;
    }
    QTextDocument document;
    document.setHtml(toolTip);
    return document.toPlainText();
}
