// Type-ahead search on a list that never changes its selection. Letters typed on the focused
// list move its current line to the next line whose text starts with them, as Qt's own search
// does; but names hold spaces, and Qt's Space toggles the current line even in the middle of a
// search, so typing "Skip 900" would select a line the user never chose, for the next copy or
// delete to act on. Here a Space typed while a search is under way (keys less than the
// platform's keyboard input interval apart) continues the search, and a Space on its own
// toggles the current line and searches nothing. Other keys pass on untouched. Form1 puts one
// on each list; it is a child of the list.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>

class QAbstractItemView;

class TypeAhead : public QObject
{
    Q_OBJECT

public:
    // Milliseconds on a clock that never goes back; tests step one by hand.
    using Clock = std::function<qint64()>;

    explicit TypeAhead(QAbstractItemView *list);

    void setClock(Clock clock) { m_clock = std::move(clock); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Adds `text` to the search (or starts one) and makes the line it finds current.
    void search(const QString &text, bool underWay);
    void toggleCurrentLine();

    QAbstractItemView *m_list;
    QElapsedTimer m_elapsed;
    Clock m_clock;
    QString m_typed;       // the search so far; empty while none is under way
    qint64 m_lastKey = -1; // when the last key of the search was typed
};
