// What a side's count label says when asked: the breakdown of its entries by their marks,
// "301 entries: 40 also in DEST (30 differ, 10 identical), 261 only in SRC", as its tooltip
// and its accessible description. It reads the mark of every listed entry, which after a
// change of the largest sets costs more than a command may take, so it is worked out only when
// the pointer rests on the label or assistive technology reads the description, never after
// each change. SideTools puts one on each count label; it is a child of the label.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLabel;

class CountBreakdown : public QObject
{
    Q_OBJECT

public:
    // `breakdown` works the text out; it is asked only while the label shows a count.
    CountBreakdown(QLabel *count, std::function<QString()> breakdown);

    // The breakdown, or empty while the label shows no count.
    QString text() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_count;
    std::function<QString()> m_breakdown;
};
