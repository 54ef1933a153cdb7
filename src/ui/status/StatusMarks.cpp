#include "StatusMarks.h"

#include "NotesWindow.h"
#include "WindowLook.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPainter>

namespace {

// Darker than the silver of the status text, so a mark stands out of the near-white backdrop
// (3.9:1), yet as quiet as the strip's grey text; the notes sign darkens under the pointer.
const QColor MarkGrey(128, 128, 128);
const QColor PointedGrey(64, 64, 64);

// In logical pixels, which a dense screen draws at twice the resolution.
constexpr int Gap = 3;         // between the status label's edge and the first mark
constexpr int Spacing = 2;     // between the marks
constexpr int DotWidth = 6;    // the changed dot's place
constexpr qreal DotSize = 5.0; // and the dot in it
constexpr int SignWidth = 12;  // the notes sign's place
constexpr qreal SignSize = 11.0;

// A disc `size` wide in the middle of `place`, smoothed; returns where it lies.
QRectF paintDisc(QPainter &painter, const QRect &place, qreal size, const QColor &colour)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    QRectF disc(0, 0, size, size);
    disc.moveCenter(QRectF(place).center());
    painter.drawEllipse(disc);
    return disc;
}

// The changed mark. A label, so assistive technology reads it as text, its name being what
// it says; it lets the mouse through, so the window drags over it as over the status label's
// band, and the window shows its tooltip.
class ChangedDot : public QLabel
{
public:
    explicit ChangedDot(QWidget *parent) : QLabel(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        paintDisc(painter, rect(), DotSize, MarkGrey);
    }
};

// The notes sign: an "i" in a grey disc, a button for the mouse and for assistive technology.
class NotesSign : public QAbstractButton
{
public:
    explicit NotesSign(QWidget *parent) : QAbstractButton(parent)
    {
        setFocusPolicy(Qt::NoFocus);
        setCursor(Qt::PointingHandCursor);
        setAttribute(Qt::WA_Hover);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRectF disc =
            paintDisc(painter, rect(), SignSize, underMouse() || isDown() ? PointedGrey : MarkGrey);
        QFont letter = font();
        letter.setBold(true);
        letter.setPixelSize(9);
        painter.setFont(letter);
        painter.setPen(Qt::white);
        painter.drawText(disc, Qt::AlignCenter, QStringLiteral("i"));
    }
};

// What the notes sign says of itself: the notes' summary, or while hidden, what it is for.
QString notesDescription(Side side, const SetNotes &notes)
{
    return notes.isEmpty() ? QStringLiteral("Notes on how the %1 file was read; a click lists them")
                                 .arg(sideName(side))
                           : notesSummary(notes);
}

} // namespace

StatusMarks::StatusMarks(Side side, const QWidget *statusLabel, QWidget *window)
    : QObject(window), m_side(side), m_top(statusLabel->y()), m_height(statusLabel->height()),
      m_window(window)
{
    const QRect label = statusLabel->geometry();
    m_edge = side == Side::Left ? label.x() + label.width() : label.x();
    const QString name = sideName(side);

    m_changed = new ChangedDot(window);
    m_changed->setObjectName(name.toLower() + QStringLiteral("ChangedMark"));
    m_changed->setAccessibleDescription(
        QStringLiteral("%1 changed mark: whether the %1 set differs from its file").arg(name));
    m_changed->hide();

    m_notesMark = new NotesSign(window);
    m_notesMark->setObjectName(name.toLower() + QStringLiteral("NotesMark"));
    m_notesMark->setAccessibleName(QStringLiteral("%1 load notes").arg(name));
    m_notesMark->setAccessibleDescription(notesDescription(side, SetNotes()));
    m_notesMark->hide();
    connect(m_notesMark, &QAbstractButton::clicked, this, &StatusMarks::openNotes);
}

void StatusMarks::setChangedText(const QString &text)
{
    if (text == m_changed->accessibleName() && m_changed->isHidden() == text.isEmpty()) {
        return;
    }
    m_changed->setAccessibleName(text);
    m_changed->setToolTip(WindowLook::toolTipAsWritten(text));
    m_changed->setVisible(!text.isEmpty());
    place();
}

void StatusMarks::setNotes(const SetNotes &notes)
{
    if (notes == m_notes) {
        return;
    }
    m_notes = notes;
    const QString summary = notesSummary(notes);
    m_notesMark->setToolTip(WindowLook::toolTipAsWritten(summary));
    m_notesMark->setAccessibleDescription(notesDescription(m_side, notes));
    m_notesMark->setVisible(!notes.isEmpty());
    place();
    if (m_notesWindow != nullptr) {
        if (notes.isEmpty()) {
            m_notesWindow->close();
        } else {
            m_notesWindow->list(notes);
        }
    }
}

void StatusMarks::openNotes()
{
    if (m_notes.isEmpty()) {
        return;
    }
    if (m_notesWindow == nullptr) {
        m_notesWindow = new NotesWindow(m_side, m_window);
        m_notesWindow->list(m_notes);
    }
    m_notesWindow->show();
    m_notesWindow->raise();
    m_notesWindow->activateWindow();
}

void StatusMarks::place()
{
    int reached = m_edge;
    int gap = Gap;
    for (QWidget *mark : {static_cast<QWidget *>(m_changed), static_cast<QWidget *>(m_notesMark)}) {
        if (mark->isHidden()) {
            continue;
        }
        const int width = mark == m_changed ? DotWidth : SignWidth;
        const int left = m_side == Side::Left ? reached + gap : reached - gap - width;
        mark->setGeometry(left, m_top, width, m_height);
        reached = m_side == Side::Left ? left + width : left;
        gap = Spacing;
    }
}
