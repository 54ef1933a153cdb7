#include "FileDrop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QList>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <utility>

namespace {

// The path of the one local file `event` carries, or an empty text when it is anything else
// or cannot be taken as a copy: asked to copy what it only offers to move, a drop event
// falls back to the move.
QString droppedFile(const QDropEvent &event)
{
    const QMimeData *data = event.mimeData();
    if (!(event.possibleActions() & Qt::CopyAction) || data == nullptr || !data->hasUrls()) {
        return {};
    }
    const QList<QUrl> urls = data->urls();
    // Empty for any URL that is no local file.
    const QString path = urls.size() == 1 ? urls.first().toLocalFile() : QString();
    if (path.isEmpty() || QFileInfo(path).isDir()) {
        return {};
    }
    return path;
}

} // namespace

FileDrop::FileDrop(QWidget *target, Handler handler)
    : QObject(target), m_handler(std::move(handler))
{
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

bool FileDrop::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return QObject::eventFilter(watched, event);
    }
    // Enter and move derive from the drop event. The target itself sees none of the three,
    // so a list never takes a drop of its own.
    auto *drop = static_cast<QDropEvent *>(event);
    const QString path = droppedFile(*drop);
    if (path.isEmpty()) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        QMetaObject::invokeMethod(
            this, [this, path] { m_handler(path); }, Qt::QueuedConnection);
    }
    return true;
}
