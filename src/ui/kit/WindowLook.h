// The look of every window of the program: the title, the twips the main window's layout is
// written in, the fonts it is designed for, its pictures, its colours, the buttons' white face
// and the colours that mark shared entries. Form1 dresses itself and every control with these;
// the marquee shares the twips; the lists and the entry view take the mark colours; main()
// registers the fonts once. Nothing here knows a control by name: the control table
// (ControlTable.cpp) says which look each control wears.
#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;
enum class LineMark;

namespace WindowLook {

// The window's title, and the title of every message box it shows.
inline const QString ProgramTitle = QStringLiteral("Tolvane");

// The layout is written in twips, 1/1440 inch; 15 of them make one logical pixel.
constexpr int TwipsPerPixel = 15;
// A place in twips as whole logical pixels, each value rounded to the nearest.
QRect twipsToPixels(int left, int top, int width, int height);

// Registers the Tahoma and Small Fonts faces the window is designed for (from the fonts-wine
// package). Call once after the application object exists and before the window is built;
// missing files are skipped and the window falls back to a similar sans font.
void registerFonts();

// What a control looks like: each look is one font, one text colour and, for buttons, the face.
enum class Look {
    Entries,        // list lines
    Heading,        // "SRC", "DEST": greyed, as a disabled label is
    Status,         // the loaded set's version and date: silver
    Count,          // the large, faint number of lines in a bottom corner
    Detail,         // the entry summary, black until its fade colours it
    Title,          // the program's name and version under the buttons: silver
    MarqueeText,    // the hidden label whose width is the marquee text's
    Strip,          // the marquee strip and its buffer: grey text
    Command,        // "copy >>", "save", "quit": bold, on a white face
    SmallCommand,   // "LOAD SRC", "NEW", "LOAD DEST": the small face, on a white face
    PictureCommand, // a picture on a white face
    Plain,          // the platform's own look, for the focus rest nobody sees
};
void dress(QWidget *control, Look look);

// How a list line shows that the other side lists an entry of the same name. The two marks
// come from the Okabe-Ito palette, whose colours stay apart for every common colour vision:
// bluish green for an identical entry, orange for one that differs. An unselected line keeps
// its black text on a pale tint; a selected line shows white text on a deep shade instead of
// the selection colour, so the mark stays visible. Both keep the text at 4.5:1 or more.
struct MarkColours
{
    QColor line;     // behind an unselected line
    QColor selected; // behind a selected line
};
// Not for LineMark::None, which leaves a line as it is.
MarkColours markColours(LineMark mark);

// Text drawn in `colour` from now on (the palette's window text).
void setTextColour(QWidget *widget, const QColor &colour);

// `text` as a tooltip that shows it as written. QToolTip reads a text whose first line holds a
// tag as rich text, and a file or an entry may be named "<u>x.tvr" or "<img src=...>": such a
// text goes escaped into a paragraph that keeps its spaces and line ends, so nothing in it is
// ever loaded; any other text stays as it is.
QString toolTipAsWritten(const QString &text);
// `text` within a window title, shown as written: a title's "[*]" stands for the mark of a
// modified document, and doubled it reads as written.
QString titleAsWritten(QString text);

// A picture of the resources by name ("logo", "strip", "chevron-up", ...), its @2x drawing when
// the screen is that dense. The icon form lets a button pick the drawing for each screen.
QPixmap picture(const QString &name);
QIcon pictureIcon(const QString &name);
QIcon windowIcon();

// The window's background: white, then the backdrop picture and the bevelled frame on the
// outermost pixels, light on the top and left and dark below and on the right.
void dressWindow(QWidget *window);
void paintBackdrop(QPainter &painter, const QPixmap &backdrop, const QSize &size);

} // namespace WindowLook
