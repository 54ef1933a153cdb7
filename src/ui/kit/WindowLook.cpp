#include "WindowLook.h"

#include "LineMarks.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <QPushButton>
#include <QTextDocument>
#include <QWidget>

#include <cmath>

// Resources of a static library are only linked in when something names them, and the name
// must be used outside any namespace.
static void initPictures()
{
    Q_INIT_RESOURCE(resources);
}

namespace WindowLook {

namespace {

const QString TahomaFamily = QStringLiteral("Tahoma");
const QString SmallFontsFamily = QStringLiteral("Small Fonts");

const QColor silver(192, 192, 192);
const QColor countGrey(243, 243, 243);
const QColor stripGrey(128, 128, 128);
const QColor lightFrame(128, 128, 128);
const QColor darkFrame(64, 64, 64);

// Okabe-Ito bluish green (0, 158, 115) and orange (230, 159, 0): tints of 40 % over white
// (black text 13.0:1 and 15.3:1), and shades dark enough for white text (5.6:1 and 5.0:1).
const MarkColours IdenticalMark = {QColor(153, 216, 199), QColor(0, 118, 86)};
const MarkColours DiffersMark = {QColor(245, 217, 153), QColor(150, 103, 0)};

// The buttons' graphical style: a white face with a thin grey rim.
const QString ButtonStyle = QStringLiteral(
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
    if (family == SmallFontsFamily && qApp->devicePixelRatio() > 1.0) {
        wanted = TahomaFamily;
    }
    QFont font(known.contains(wanted) ? wanted : QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void ensurePictures()
{
    static const bool initialised = (initPictures(), true);
    Q_UNUSED(initialised);
}

QString picturePath(const QString &name, const QString &suffix = QString())
{
    ensurePictures();
    return QStringLiteral(":/pictures/") + name + suffix + QStringLiteral(".png");
}

void dressButton(QWidget *control, const QFont &font)
{
    auto *button = qobject_cast<QPushButton *>(control);
    Q_ASSERT(button != nullptr);
    button->setStyleSheet(ButtonStyle);
    button->setFlat(true);
    button->setFont(font);
}

} // namespace

QRect twipsToPixels(int left, int top, int width, int height)
{
    const auto pixels = [](int twips) {
        return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel));
    };
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

void registerFonts()
{
    const QString folder = QStringLiteral("/usr/share/wine/fonts/");
    for (const char *file : {"tahoma.ttf", "tahomabd.ttf", "small_fonts.ttf"}) {
        const QString path = folder + QLatin1String(file);
        if (QFile::exists(path)) {
            QFontDatabase::addApplicationFont(path);
        }
    }
}

void dress(QWidget *control, Look look)
{
    switch (look) {
    case Look::Entries:
        control->setFont(windowFont(TahomaFamily, 8.25));
        break;
    case Look::Heading:
        control->setFont(windowFont(TahomaFamily, 8.25));
        control->setEnabled(false); // a heading never acts, so its greyed look costs nothing
        break;
    case Look::Status:
        control->setFont(windowFont(TahomaFamily, 8.25));
        setTextColour(control, silver);
        break;
    case Look::Count:
        control->setFont(windowFont(TahomaFamily, 36));
        setTextColour(control, countGrey);
        break;
    case Look::Detail:
    case Look::MarqueeText:
        control->setFont(windowFont(SmallFontsFamily, 6.75));
        break;
    case Look::Title:
        control->setFont(windowFont(SmallFontsFamily, 6.75));
        setTextColour(control, silver);
        break;
    case Look::Strip:
        control->setFont(windowFont(SmallFontsFamily, 7));
        setTextColour(control, stripGrey);
        break;
    case Look::Command:
        dressButton(control, windowFont(TahomaFamily, 8.25, true));
        break;
    case Look::SmallCommand:
        dressButton(control, windowFont(SmallFontsFamily, 6));
        break;
    case Look::PictureCommand:
        dressButton(control, control->font());
        break;
    case Look::Plain:
        break;
    }
}

MarkColours markColours(LineMark mark)
{
    Q_ASSERT(mark != LineMark::None);
    return mark == LineMark::Identical ? IdenticalMark : DiffersMark;
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QString toolTipAsWritten(const QString &text)
{
    if (!Qt::mightBeRichText(text)) {
        return text;
    }
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped()
        + QStringLiteral("</p>");
}

QString titleAsWritten(QString text)
{
    return text.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

QPixmap picture(const QString &name)
{
    // The @2x drawing when any screen is that dense, so the pictures stay sharp.
    if (qApp->devicePixelRatio() > 1.0) {
        QPixmap dense(picturePath(name, QStringLiteral("@2x")));
        if (!dense.isNull()) {
            dense.setDevicePixelRatio(2.0);
            return dense;
        }
    }
    return QPixmap(picturePath(name));
}

QIcon pictureIcon(const QString &name)
{
    // QIcon finds the @2x drawing beside the file by itself.
    return QIcon(picturePath(name));
}

QIcon windowIcon()
{
    ensurePictures();
    return QIcon(QStringLiteral(":/icons/tolvane-32.png"));
}

void dressWindow(QWidget *window)
{
    window->setWindowTitle(ProgramTitle);
    window->setWindowIcon(windowIcon());
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Qt::white);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

void paintBackdrop(QPainter &painter, const QPixmap &backdrop, const QSize &size)
{
    painter.drawPixmap(0, 0, backdrop);
    // The side lines stop one pixel short of the bottom row, as they were drawn in twips.
    const int width = size.width();
    const int height = size.height();
    painter.fillRect(QRect(0, 0, 1, height - 2), lightFrame);
    painter.fillRect(QRect(0, 0, width, 1), lightFrame);
    painter.fillRect(QRect(0, height - 1, width, 1), darkFrame);
    painter.fillRect(QRect(width - 1, 0, 1, height - 2), darkFrame);
}

} // namespace WindowLook
