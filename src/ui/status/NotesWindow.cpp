#include "NotesWindow.h"

#include "WindowLook.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// What the window asks for: room for a note of a long key on one line, and a screenful of them.
constexpr QSize PreferredSize(640, 360);
constexpr qreal HangingIndent = 24;

} // namespace

NotesWindow::NotesWindow(Side side, QWidget *parent) : QDialog(parent), m_side(side)
{
    setObjectName(QStringLiteral("notesWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setSizeGripEnabled(true);

    m_headline = new QLabel(this);
    m_headline->setObjectName(QStringLiteral("headline"));
    m_headline->setTextFormat(Qt::PlainText);
    m_headline->setWordWrap(true);

    // Read-only yet selectable, with the keyboard too, so a part can be copied with Ctrl+C.
    m_list = new QTextEdit(this);
    m_list->setObjectName(QStringLiteral("notes"));
    m_list->setAccessibleName(QStringLiteral("Notes"));
    m_list->setReadOnly(true);
    m_list->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_list->setTabChangesFocus(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *copy = buttons->addButton(QStringLiteral("Copy"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("copyNotes"));
    copy->setToolTip(QStringLiteral("Copy every note to the clipboard"));
    copy->setAutoDefault(false);
    connect(copy, &QPushButton::clicked, this, &NotesWindow::copyAll);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_headline);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(PreferredSize);
    m_list->setFocus();
}

void NotesWindow::list(const SetNotes &notes)
{
    const QString side = sideName(m_side);
    const QFileInfo file(notes.file);
    setWindowTitle(
        QStringLiteral("%1 load notes: %2").arg(side, WindowLook::titleAsWritten(file.fileName())));
    const QString count = notes.count() == 1 ? QStringLiteral("1 note")
                                             : QStringLiteral("%1 notes").arg(notes.count());
    m_headline->setText(QStringLiteral("%1: %2 on how %3 was read")
                            .arg(side, count, QDir::toNativeSeparators(file.absoluteFilePath())));
    m_list->setAccessibleDescription(m_headline->text());
    m_list->setPlainText(notesListing(notes).join(QLatin1Char('\n')));
    // A note that wraps hangs below its line number, so the eye finds where each one starts.
    QTextBlockFormat hanging;
    hanging.setLeftMargin(HangingIndent);
    hanging.setTextIndent(-HangingIndent);
    QTextCursor all(m_list->document());
    all.select(QTextCursor::Document);
    all.mergeBlockFormat(hanging);
}

void NotesWindow::copyAll() const
{
    QGuiApplication::clipboard()->setText(m_list->toPlainText());
}
