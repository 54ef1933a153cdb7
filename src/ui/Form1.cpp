#include "Form1.h"

#include "AnchoredLabel.h"
#include "Dialogs.h"
#include "ListSideView.h"
#include "PatchSetEditor.h"
#include "PatchSetReader.h"
#include "PatchSetWriter.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <cmath>

// Resources of a static library are only linked in when something names them.
static void initPictures()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

const QString programTitle = QStringLiteral("Tolvane");
const QString patchSetFilter =
    QStringLiteral("TAVRO Patch Set (*.tvr)|*.tvr|All Files (*.*)|*.*");
const QString openError =
    QStringLiteral("Error opening file! Make sure that selected file isn't corrupted.");
const QString tahoma = QStringLiteral("Tahoma");
const QString smallFonts = QStringLiteral("Small Fonts");
constexpr int twipsPerPixel = 15;
constexpr int snapDistance = 10;
constexpr int tickInterval = 10; // ms, both timers

const QColor silver(192, 192, 192);
const QColor countGrey(243, 243, 243);
const QColor marqueeGrey(128, 128, 128);
const QColor lightFrame(128, 128, 128);
const QColor darkFrame(64, 64, 64);

// The buttons' graphical style: a white face with a thin grey rim.
const QString buttonStyle = QStringLiteral(
    "QPushButton { background-color: white; border: 1px solid rgb(176, 180, 186);"
    " padding: 0px; color: black; }"
    "QPushButton:hover { border-color: rgb(128, 136, 146); }"
    "QPushButton:pressed { background-color: rgb(236, 238, 241); }"
    "QPushButton:focus { border-color: rgb(96, 104, 114); }"
    "QPushButton:disabled { color: rgb(168, 168, 168); border-color: rgb(214, 216, 220); }");

QFont windowFont(const QString &family, qreal points, bool bold = false)
{
    // Without the wine faces a plain sans of the same size keeps the layout readable.
    // "Small Fonts" holds one bitmap size only, which a dense screen cannot scale cleanly,
    // so there the small texts use the scalable Tahoma at the same point size.
    static const QStringList known = QFontDatabase::families();
    QString wanted = family;
    if (family == smallFonts && qApp->devicePixelRatio() > 1.0) {
        wanted = tahoma;
    }
    QFont font(known.contains(wanted) ? wanted : QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The @2x drawing when any screen is that dense, so the pictures stay sharp.
QPixmap loadPicture(const QString &name)
{
    const QString base = QStringLiteral(":/pictures/") + name;
    if (qApp->devicePixelRatio() > 1.0) {
        QPixmap dense(base + QStringLiteral("@2x.png"));
        if (!dense.isNull()) {
            dense.setDevicePixelRatio(2.0);
            return dense;
        }
    }
    return QPixmap(base + QStringLiteral(".png"));
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

} // namespace

void registerApplicationFonts()
{
    const QString folder = QStringLiteral("/usr/share/wine/fonts/");
    for (const char *file : {"tahoma.ttf", "tahomabd.ttf", "small_fonts.ttf"}) {
        const QString path = folder + QLatin1String(file);
        if (QFile::exists(path)) {
            QFontDatabase::addApplicationFont(path);
        }
    }
}

QRect twipsToPixels(int left, int top, int width, int height)
{
    const auto pixels = [](int twips) {
        return static_cast<int>(std::lround(static_cast<double>(twips) / twipsPerPixel));
    };
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

Form1::Form1(Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_dialogs(dialogs)
{
    initPictures();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(programTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icons/tolvane-32.png")));
    setFixedSize(twipsToPixels(0, 0, 8175, 5295).size());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    m_backdrop = loadPicture(QStringLiteral("backdrop"));

    createControls();
    setAccessibleTexts();
    chainTabOrder();

    m_leftView = std::make_unique<ListSideView>(List1, Label8, Label6);
    m_rightView = std::make_unique<ListSideView>(List2, Label9, Label7);
    CommandSwitches &switches = *this; // the base is private: only the editor switches them
    m_editor = std::make_unique<PatchSetEditor>(m_sets, *m_leftView, *m_rightView, switches);
    connectControls();

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    // Start-up: the marquee's first position and the buffer's font, nothing else.
    startMarquee(m_marquee);
    Label3->setText(m_marquee.text);
    Picture2->setFont(windowFont(smallFonts, 7));
    Timer1->start();
    Command12->setFocus();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    const auto button = [this](const char *name, const QString &text, const QRect &place) {
        auto *made = new QPushButton(text, this);
        made->setObjectName(QLatin1String(name));
        made->setGeometry(place);
        made->setStyleSheet(buttonStyle);
        made->setFlat(true);
        return made;
    };
    const auto pictureButton = [&button](const char *name, const QString &picture,
                                         QSize size, const QRect &place) {
        QPushButton *made = button(name, QString(), place);
        made->setIcon(QIcon(QStringLiteral(":/pictures/") + picture + QStringLiteral(".png")));
        made->setIconSize(size);
        return made;
    };
    const auto label = [this](const char *name, const QRect &place, AnchoredLabel::Anchor anchor,
                              const QFont &font, const QString &text = QString()) {
        auto *made = new AnchoredLabel(place, anchor, this);
        made->setObjectName(QLatin1String(name));
        made->setFont(font);
        made->setCaption(text);
        return made;
    };
    using Anchor = AnchoredLabel::Anchor;
    const QFont tahomaFont = windowFont(tahoma, 8.25);
    const QFont tahomaBold = windowFont(tahoma, 8.25, true);
    const QFont countFont = windowFont(tahoma, 36);
    const QFont smallButtonFont = windowFont(smallFonts, 6);
    const QFont smallLabelFont = windowFont(smallFonts, 6.75);

    // The focus sink comes first so it is tab 0; it lies above the top edge, never seen.
    Command12 = new QPushButton(QStringLiteral("Command12"), this);
    Command12->setObjectName(QStringLiteral("Command12"));
    Command12->setGeometry(twipsToPixels(6120, -920, 255, 255));

    for (QListWidget **list : {&List1, &List2}) {
        *list = new QListWidget(this);
        (*list)->setObjectName(list == &List1 ? QStringLiteral("List1") : QStringLiteral("List2"));
        (*list)->setFont(tahomaFont);
        (*list)->setSelectionMode(QAbstractItemView::MultiSelection);
        (*list)->setUniformItemSizes(true);
    }
    List1->setGeometry(twipsToPixels(120, 360, 3255, 3855));
    List2->setGeometry(twipsToPixels(4800, 360, 3255, 3855));

    Label1 = label("Label1", twipsToPixels(120, 120, 300, 195), Anchor::Left, tahomaFont,
                   QStringLiteral("SRC"));
    Label2 = label("Label2", twipsToPixels(7680, 120, 375, 195), Anchor::Right, tahomaFont,
                   QStringLiteral("DEST"));
    Label6 = label("Label6", twipsToPixels(3330, 120, 45, 195), Anchor::Right, tahomaFont);
    Label7 = label("Label7", twipsToPixels(4800, 120, 45, 195), Anchor::Left, tahomaFont);
    setTextColour(Label6, silver);
    setTextColour(Label7, silver);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twipsToPixels(3690, 360, 870, 990));
    Image1->setPixmap(loadPicture(QStringLiteral("logo")));

    // The buffer first, so the visible strip lies above it and hides it.
    const QPixmap strip = loadPicture(QStringLiteral("strip"));
    Picture2 = new PictureBox(strip, this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setGeometry(twipsToPixels(3380, 1680, 1425, 375));
    Picture2->setTextColor(marqueeGrey);
    Picture1 = new PictureBox(strip, this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipsToPixels(3360, 1680, 1455, 375));
    Picture1->setTextColor(marqueeGrey);
    // The strip repaints a hundred times a second and covers itself fully: the window's
    // backdrop under it need not be drawn first.
    Picture1->setAttribute(Qt::WA_OpaquePaintEvent);
    Picture2->setAttribute(Qt::WA_OpaquePaintEvent);

    Label5 = label("Label5", twipsToPixels(4065, 2760, 45, 165), Anchor::Centre, smallLabelFont);

    Command1 = button("Command1", QStringLiteral("copy >>"), twipsToPixels(3600, 3840, 975, 375));
    Command1->setFont(tahomaBold);
    const QSize chevron(13, 15);
    const QSize emptySet(7, 10);
    Command7 = pictureButton("Command7", QStringLiteral("chevron-up"), chevron,
                             twipsToPixels(120, 4240, 255, 255));
    Command6 = pictureButton("Command6", QStringLiteral("chevron-down"), chevron,
                             twipsToPixels(370, 4240, 255, 255));
    Command10 = pictureButton("Command10", QStringLiteral("empty-set"), emptySet,
                              twipsToPixels(650, 4240, 255, 255));
    Command2 = button("Command2", QStringLiteral("LOAD SRC"), twipsToPixels(960, 4240, 855, 255));
    Command13 = button("Command13", QStringLiteral("NEW"), twipsToPixels(5850, 4240, 495, 255));
    Command3 = button("Command3", QStringLiteral("LOAD DEST"),
                      twipsToPixels(6360, 4240, 855, 255));
    for (QPushButton *small : {Command2, Command13, Command3}) {
        small->setFont(smallButtonFont);
    }
    Command11 = pictureButton("Command11", QStringLiteral("empty-set"), emptySet,
                              twipsToPixels(7280, 4240, 255, 255));
    Command9 = pictureButton("Command9", QStringLiteral("chevron-down"), chevron,
                             twipsToPixels(7550, 4240, 255, 255));
    Command8 = pictureButton("Command8", QStringLiteral("chevron-up"), chevron,
                             twipsToPixels(7800, 4240, 255, 255));

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(twipsToPixels(0, 4320, 21855, 165));
    Label3->setFont(smallLabelFont);
    Label3->setVisible(false);

    Label4 = label("Label4", twipsToPixels(3045, 4440, 2085, 165), Anchor::Centre, smallLabelFont,
                   QStringLiteral("[ Tolvane v. 1.3 / 25 Jan 2007 ]"));
    setTextColour(Label4, silver);

    Command4 = button("Command4", QStringLiteral("save"), twipsToPixels(3040, 4800, 975, 375));
    Command5 = button("Command5", QStringLiteral("quit"), twipsToPixels(4120, 4800, 975, 375));
    Command4->setFont(tahomaBold);
    Command5->setFont(tahomaBold);
    Command1->setEnabled(false);
    Command4->setEnabled(false);

    Label8 = label("Label8", twipsToPixels(0, 4560, 225, 870), Anchor::Left, countFont);
    Label9 = label("Label9", twipsToPixels(7965, 4560, 225, 870), Anchor::Right, countFont);
    setTextColour(Label8, countGrey);
    setTextColour(Label9, countGrey);

    // Passive controls: the mouse goes through them to the window, which drags itself.
    Label1->setEnabled(false);
    Label2->setEnabled(false);
    for (QWidget *passive : std::initializer_list<QWidget *>{Label1, Label2, Image1, Picture1,
                                                             Picture2}) {
        passive->setAttribute(Qt::WA_TransparentForMouseEvents);
        passive->setFocusPolicy(Qt::NoFocus);
    }
    // Only the lists and the buttons take the focus; labels never do.
    for (QPushButton *each : findChildren<QPushButton *>()) {
        each->setFocusPolicy(Qt::StrongFocus);
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(tickInterval);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(tickInterval);
}

void Form1::setAccessibleTexts()
{
    struct Texts
    {
        QWidget *control;
        const char *name;
        const char *description;
    };
    const Texts texts[] = {
        {List1, "SRC entries", "Entries of the SRC patch set; a click selects or unselects one"},
        {List2, "DEST entries",
         "Entries of the DEST patch set; a click selects or unselects one"},
        {Label1, "SRC", "Heading of the SRC side"},
        {Label2, "DEST", "Heading of the DEST side"},
        {Label3, "Marquee text", "The text scrolling through the strip"},
        {Label4, "Title", "Program name and version"},
        {Label5, "Entry detail", "Side, offsets, parameters and size of the clicked entry"},
        {Label6, "SRC status", "Version and file date of the loaded SRC set"},
        {Label7, "DEST status", "Version and file date of the DEST set"},
        {Label8, "SRC count", "Number of SRC entries"},
        {Label9, "DEST count", "Number of DEST entries"},
        {Image1, "Logo", "Tolvane logo"},
        {Picture1, "Marquee", "Scrolling text about the program"},
        {Picture2, "Marquee buffer", "Off-screen drawing of the scrolling text"},
        {Command1, "copy >>",
         "Remove the selected DEST entries, then copy the selected SRC entries into DEST"},
        {Command2, "LOAD SRC", "Load a patch set file into SRC"},
        {Command3, "LOAD DEST", "Load a patch set file into DEST"},
        {Command4, "save", "Save the DEST patch set to a file"},
        {Command5, "quit", "Close Tolvane"},
        {Command6, "Move SRC entry down", "Move the current SRC entry one place down"},
        {Command7, "Move SRC entry up", "Move the current SRC entry one place up"},
        {Command8, "Move DEST entry up", "Move the current DEST entry one place up"},
        {Command9, "Move DEST entry down", "Move the current DEST entry one place down"},
        {Command10, "Clear SRC selection", "Unselect every SRC entry"},
        {Command11, "Clear DEST selection", "Unselect every DEST entry"},
        {Command12, "Focus rest", "Holds the keyboard focus; does nothing"},
        {Command13, "NEW", "Start a new DEST set holding one empty entry"},
    };
    for (const Texts &each : texts) {
        each.control->setAccessibleName(QLatin1String(each.name));
        each.control->setAccessibleDescription(QLatin1String(each.description));
    }
    setAccessibleName(programTitle);
    setAccessibleDescription(QStringLiteral("Merge patch sets: SRC on the left, DEST on the right"));
}

void Form1::chainTabOrder()
{
    const QWidget *const order[] = {Command12, List1,    Command7,  Command6, Command10,
                                    Command2,  List2,    Command13, Command3, Command11,
                                    Command9,  Command8, Command1,  Command4, Command5};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(const_cast<QWidget *>(order[i - 1]),
                             const_cast<QWidget *>(order[i]));
    }
}

void Form1::connectControls()
{
    PatchSetEditor *editor = m_editor.get();
    const auto onClick = [this](QPushButton *button, auto action) {
        connect(button, &QPushButton::clicked, this, action);
    };

    onClick(Command1, [editor] { editor->copyIntoDest(); });
    onClick(Command2, [this] { loadSide(Side::Left); });
    onClick(Command3, [this] { loadSide(Side::Right); });
    onClick(Command4, [this] { saveDest(); });
    onClick(Command5, [this] { close(); });
    onClick(Command7, [editor] { editor->moveUp(Side::Left); });
    onClick(Command6, [editor] { editor->moveDown(Side::Left); });
    onClick(Command8, [editor] { editor->moveUp(Side::Right); });
    onClick(Command9, [editor] { editor->moveDown(Side::Right); });
    onClick(Command10, [editor] { editor->clearSelection(Side::Left); });
    onClick(Command11, [editor] { editor->clearSelection(Side::Right); });
    onClick(Command13, [editor] { editor->newDestSet(); });

    // A list's Click: the user's click on a line, or the user moving its current line
    // with the keys. The editor's own changes come with the list's signals blocked.
    connect(List1, &QListWidget::clicked, this, [this] { showDetail(Side::Left); });
    connect(List1, &QListWidget::currentRowChanged, this, [this] { showDetail(Side::Left); });
    connect(List2, &QListWidget::clicked, this, [this] { showDetail(Side::Right); });
    connect(List2, &QListWidget::currentRowChanged, this, [this] { showDetail(Side::Right); });
    editor->setDestDetailHandler([this] { showDetail(Side::Right); });
    editor->setOverwriteQuestion([this](const QString &title, const QString &text) {
        return m_dialogs.askYesNo(this, title, text);
    });

    connect(Timer1, &QTimer::timeout, this, &Form1::tickMarquee);
    connect(Timer2, &QTimer::timeout, this, &Form1::tickFade);

    // These nine never keep the focus: a release of any mouse button over them hands it
    // to the sink before their click runs (see eventFilter).
    for (QPushButton *small : {Command2, Command3, Command6, Command7, Command8, Command9,
                               Command10, Command11, Command13}) {
        small->installEventFilter(this);
    }
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonRelease) {
        return QWidget::eventFilter(watched, event);
    }
    auto *button = qobject_cast<QPushButton *>(watched);
    const auto *release = static_cast<QMouseEvent *>(event);
    // Qt lets a pressed button that loses the focus go without its click, so a button that
    // had taken the focus on the press would never act. The hand-off comes first and the
    // click of a completed press follows it here; the release itself goes no further.
    const bool completesClick = button != nullptr && button->isDown()
                                && release->button() == Qt::LeftButton
                                && button->rect().contains(release->position().toPoint());
    Command12->setFocus(Qt::OtherFocusReason);
    if (!completesClick) {
        return QWidget::eventFilter(watched, event);
    }
    button->setDown(false);
    button->click();
    return true;
}

void Form1::setCopyEnabled(bool enabled)
{
    Command1->setEnabled(enabled);
}

void Form1::setSaveEnabled(bool enabled)
{
    Command4->setEnabled(enabled);
}

void Form1::loadSide(Side side)
{
    const bool src = side == Side::Left;
    const QString path =
        m_dialogs.openFileName(this, src ? QStringLiteral("Load SRC Patch Set")
                                         : QStringLiteral("Load DEST Patch Set"),
                               patchSetFilter);
    if (path.isEmpty()) {
        return; // cancelled: nothing changes
    }

    AnchoredLabel *status = src ? Label6 : Label7;
    const QString before = status->caption();
    const QRect beforePlace = status->geometry();
    status->setCaption(QStringLiteral("LOADING"));
    // Painted now, without running other events: the read that follows blocks the window.
    repaint(beforePlace.united(status->geometry()));

    const ReadResult result = LoadPatchSet(path);
    if (!result.ok()) {
        // The side keeps what it had; the reader's one message says why.
        status->setCaption(before);
        m_dialogs.message(this, result.message);
        return;
    }
    const QDateTime modified = QFileInfo(path).lastModified();
    if (!modified.isValid()) {
        status->setCaption(before);
        m_dialogs.message(this, openError);
        return;
    }
    m_editor->installLoadedSet(side, result.entries, result.version, path, modified);
    m_dialogs.setFileName(QString());
}

void Form1::saveDest()
{
    const QString path =
        m_dialogs.saveFileName(this, QStringLiteral("Save DEST Patch Set"), patchSetFilter);
    if (path.isEmpty()) {
        return; // cancelled: no file is touched
    }
    const WriteResult result = SaveDestSet(m_sets.DestTable, path);
    if (!result.ok()) {
        m_dialogs.message(this, result.message);
    }
}

void Form1::showDetail(Side side)
{
    const PatchEntry *entry = m_editor->currentEntry(side);
    if (entry == nullptr) {
        return; // no current line: the label keeps what it shows
    }
    m_fade.start(detailSummary(*entry, side));
    Timer2->start();
}

void Form1::tickFade()
{
    if (const std::optional<int> grey = m_fade.tick()) {
        setTextColour(Label5, QColor(*grey, *grey, *grey));
        if (Label5->caption() != m_fade.detailText()) {
            Label5->setCaption(m_fade.detailText());
        }
    } else {
        Timer2->stop();
    }
}

void Form1::tickMarquee()
{
    marqueeTick(m_marquee, Label3->font(), *Picture2, *Picture1);
    if (Label3->text() != m_marquee.text) {
        Label3->setText(m_marquee.text);
    }
}

void Form1::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_backdrop);
    // The bevel on the outermost pixels: light on the top and left, dark below and right.
    // The side lines stop one pixel short of the bottom row, as they were drawn in twips.
    painter.fillRect(QRect(0, 0, 1, 351), lightFrame);
    painter.fillRect(QRect(0, 0, 545, 1), lightFrame);
    painter.fillRect(QRect(0, 352, 545, 1), darkFrame);
    painter.fillRect(QRect(544, 0, 1, 351), darkFrame);
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    m_drag.mouseMove(this, event->position().toPoint(), event->buttons(), snapDistance);
}

void Form1::mouseReleaseEvent(QMouseEvent *event)
{
    m_drag.mouseRelease();
    QWidget::mouseReleaseEvent(event);
}

void Form1::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (Command4->isEnabled()) {
            Command4->click();
        }
        return;
    case Qt::Key_Escape:
        Command12->setFocus(Qt::OtherFocusReason);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
