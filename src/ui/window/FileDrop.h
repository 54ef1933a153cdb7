// Lets a widget take one local file dropped on it, and hands on the file's path. The window
// puts one on each list's viewport and loads the path into that list's side. Any other drop
// (several files, a URL that is no local file, a folder, plain text) is refused while it is
// still being dragged, so the cursor says so before the button is released. A drop is only
// ever taken as a copy: some file managers delete their file after a move.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

class FileDrop : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<void(const QString &path)>;

    // Makes `target` accept drops and owns itself through it. `handler` gets the dropped
    // file's path from the event loop, once the drop is over, so that a message it shows
    // never holds up the program the file came from.
    FileDrop(QWidget *target, Handler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Handler m_handler;
};
