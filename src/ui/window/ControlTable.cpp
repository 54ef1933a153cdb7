// The window's controls, one row each: Form1::buildControls() makes every control from its row,
// gives it its name, place, look and texts (its tooltip included), chains the tab order and
// binds each button's keys. A row's kind says what kind of control it makes and which columns
// it has: only lists and buttons take a place in the tab order, only labels have an anchor,
// only buttons have keys, and every picture passes the mouse to the window, which drags itself.
#include "Form1.h"

#include "AnchoredLabel.h"
#include "EntryList.h"
#include "KeyMap.h"
#include "PictureBox.h"
#include "ToolTips.h"
#include "WindowLook.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace {

using WindowLook::Look;
using Anchor = AnchoredLabel::Anchor;

// The member that holds a control; its type says which kind of control it is.
template<typename Control>
using ControlMember = Control *Form1::*;

constexpr int NoTab = -1;

// What a button does besides being clicked; combined with |.
enum ButtonTrait : unsigned {
    NoTrait = 0,
    StartsDisabled = 1u << 0,
    // A release of any mouse button over it sends the focus back to the focus rest (Command12).
    SendsFocusToRest = 1u << 1,
    // Its keys act only while the SRC list, or the DEST list, has the focus.
    KeysInSrcList = 1u << 2,
    KeysInDestList = 1u << 3,
    // Its steps can be undone: its tooltip names the undo and redo keys on a line of its own.
    Undoable = 1u << 4,
};

// Whether a label takes the mouse, or passes it to the window so the window can be dragged.
enum Mouse : bool { TakesMouse = false, PassesMouse = true };

// What every row has: the control's name (the member's, and its objectName), its place in
// twips, and what assistive technology says of it.
struct Common
{
    const char *name;
    int left, top, width, height;
    const char *accessibleName; // nullptr for a label showing data: its text is its name
    const char *description;
};

struct ListRow
{
    ControlMember<EntryList> member;
    Common common;
    int tab;
    const char *toolTip;
};

struct LabelRow
{
    ControlMember<AnchoredLabel> member;
    Common common;
    Look look;
    Anchor anchor; // the edge the label keeps as its text grows
    const char *caption;
    Mouse mouse;
};

// A picture in a plain label.
struct ImageRow
{
    ControlMember<QLabel> member;
    Common common;
    const char *picture;
    const char *toolTip;
};

// A plain label that is never shown.
struct HiddenTextRow
{
    ControlMember<QLabel> member;
    Common common;
    Look look;
};

struct PictureBoxRow
{
    ControlMember<PictureBox> member;
    Common common;
    const char *picture;
};

// A button shows its caption, or a picture on the picture buttons' face when it has none. Its
// tooltip is what a press does and its keys, "LOAD SRC (Ctrl+O)", or one written out for a
// button without keys.
struct ButtonRow
{
    ControlMember<QPushButton> member;
    Common common;
    Look look;
    int tab;
    const char *caption;
    const char *picture;
    unsigned traits;  // ButtonTrait values
    const char *keys; // "; " between them; the first is the button's own
    const char *toolTip = nullptr;
};

using ControlRow =
    std::variant<ListRow, LabelRow, ImageRow, HiddenTextRow, PictureBoxRow, ButtonRow>;

// The rows' makers, one per kind, so each row names only the columns of its kind.
constexpr ControlRow list(ControlMember<EntryList> member, const char *name, int left, int top,
                          int width, int height, int tab, const char *accessibleName,
                          const char *description, const char *toolTip)
{
    const Common common{name, left, top, width, height, accessibleName, description};
    return ListRow{member, common, tab, toolTip};
}

constexpr ControlRow label(ControlMember<AnchoredLabel> member, const char *name, int left, int top,
                           int width, int height, Look look, Anchor anchor, Mouse mouse,
                           const char *caption, const char *accessibleName, const char *description)
{
    const Common common{name, left, top, width, height, accessibleName, description};
    return LabelRow{member, common, look, anchor, caption, mouse};
}

constexpr ControlRow image(ControlMember<QLabel> member, const char *name, int left, int top,
                           int width, int height, const char *picture, const char *accessibleName,
                           const char *description, const char *toolTip)
{
    const Common common{name, left, top, width, height, accessibleName, description};
    return ImageRow{member, common, picture, toolTip};
}

constexpr ControlRow hiddenText(ControlMember<QLabel> member, const char *name, int left, int top,
                                int width, int height, Look look, const char *accessibleName,
                                const char *description)
{
    const Common common{name, left, top, width, height, accessibleName, description};
    return HiddenTextRow{member, common, look};
}

constexpr ControlRow pictureBox(ControlMember<PictureBox> member, const char *name, int left,
                                int top, int width, int height, const char *picture,
                                const char *accessibleName, const char *description)
{
    const Common common{name, left, top, width, height, accessibleName, description};
    return PictureBoxRow{member, common, picture};
}

constexpr ControlRow textButton(ControlMember<QPushButton> member, const char *name, int left,
                                int top, int width, int height, Look look, int tab, unsigned traits,
                                const char *caption, const char *keys, const char *accessibleName,
                                const char *description, const char *toolTip = nullptr)
{
    const Common common{name, left, top, width, height, accessibleName, description};
    return ButtonRow{member, common, look, tab, caption, nullptr, traits, keys, toolTip};
}

constexpr ControlRow pictureButton(ControlMember<QPushButton> member, const char *name, int left,
                                   int top, int width, int height, int tab, unsigned traits,
                                   const char *picture, const char *keys,
                                   const char *accessibleName, const char *description)
{
    const Common common{name, left, top, width, height, accessibleName, description};
    return ButtonRow{member, common, Look::PictureCommand, tab, nullptr, picture, traits, keys};
}

template<typename Row>
constexpr int tabOf(const Row &row)
{
    if constexpr (std::is_same_v<Row, ListRow> || std::is_same_v<Row, ButtonRow>) {
        return row.tab;
    } else {
        return NoTab;
    }
}

constexpr int tabOf(const ControlRow &row)
{
    return std::visit([](const auto &kind) { return tabOf(kind); }, row);
}

// Two controls at one place would leave one of them out of the chain that Tab walks.
template<std::size_t Count>
constexpr bool tabsAreDistinct(const ControlRow (&rows)[Count])
{
    for (std::size_t i = 0; i < Count; ++i) {
        for (std::size_t j = i + 1; j < Count; ++j) {
            if (tabOf(rows[i]) != NoTab && tabOf(rows[i]) == tabOf(rows[j])) {
                return false;
            }
        }
    }
    return true;
}

QString text(const char *value)
{
    return value != nullptr ? QString::fromUtf8(value) : QString();
}

QList<QKeySequence> keysOf(const ButtonRow &row)
{
    return QKeySequence::listFromString(text(row.keys), QKeySequence::PortableText);
}

QString keyNames(const QList<QKeySequence> &keys, const QString &separator)
{
    QStringList names;
    for (const QKeySequence &key : keys) {
        names.append(key.toString(QKeySequence::NativeText));
    }
    return names.join(separator);
}

// A button's tooltip, e.g. "copy >> (Alt+Right, Ctrl+Right)\nCtrl+Z undoes it, Ctrl+Shift+Z or
// Ctrl+Y redoes it".
QString toolTipOf(const ButtonRow &row)
{
    QString toolTip = text(row.toolTip);
    if (row.keys != nullptr) {
        QString where;
        if (row.traits & KeysInSrcList) {
            where = QStringLiteral(" in the SRC list");
        } else if (row.traits & KeysInDestList) {
            where = QStringLiteral(" in the DEST list");
        }
        toolTip = text(row.common.accessibleName) + QStringLiteral(" (")
            + keyNames(keysOf(row), QStringLiteral(", ")) + where + QLatin1Char(')');
    }
    if (row.traits & Undoable) {
        toolTip += QStringLiteral("\n%1 undoes it, %2 redoes it")
                       .arg(keyNames(undoKeys(), QStringLiteral(" or ")),
                            keyNames(redoKeys(), QStringLiteral(" or ")));
    }
    return toolTip;
}

QRect placeOf(const Common &common)
{
    return WindowLook::twipsToPixels(common.left, common.top, common.width, common.height);
}

// What every kind of control takes from its row alike.
void setUp(QWidget *control, const Common &common, Look look)
{
    control->setObjectName(QLatin1String(common.name));
    WindowLook::dress(control, look);
    if (common.accessibleName != nullptr) {
        control->setAccessibleName(QString::fromUtf8(common.accessibleName));
    }
    control->setAccessibleDescription(QString::fromUtf8(common.description));
}

void passMouseToWindow(QWidget *control)
{
    control->setAttribute(Qt::WA_TransparentForMouseEvents);
    control->setFocusPolicy(Qt::NoFocus);
}

EntryList *make(const ListRow &row, QWidget *parent)
{
    auto *list = new EntryList(parent);
    setUp(list, row.common, Look::Entries);
    list->setGeometry(placeOf(row.common));
    list->setToolTip(text(row.toolTip));
    return list;
}

AnchoredLabel *make(const LabelRow &row, QWidget *parent)
{
    auto *label = new AnchoredLabel(placeOf(row.common), row.anchor, parent);
    setUp(label, row.common, row.look); // before the caption, which the label is sized to
    label->setCaption(text(row.caption));
    if (row.mouse == PassesMouse) {
        passMouseToWindow(label);
    }
    return label;
}

QLabel *make(const ImageRow &row, QWidget *parent)
{
    auto *image = new QLabel(parent);
    setUp(image, row.common, Look::Plain);
    image->setGeometry(placeOf(row.common));
    image->setPixmap(WindowLook::picture(text(row.picture)));
    image->setToolTip(text(row.toolTip));
    passMouseToWindow(image);
    return image;
}

QLabel *make(const HiddenTextRow &row, QWidget *parent)
{
    auto *label = new QLabel(parent);
    setUp(label, row.common, row.look);
    label->setGeometry(placeOf(row.common));
    label->setVisible(false);
    return label;
}

PictureBox *make(const PictureBoxRow &row, QWidget *parent)
{
    auto *box = new PictureBox(WindowLook::picture(text(row.picture)), parent);
    setUp(box, row.common, Look::Strip);
    box->setGeometry(placeOf(row.common));
    passMouseToWindow(box);
    return box;
}

QPushButton *make(const ButtonRow &row, QWidget *parent)
{
    auto *button = new QPushButton(text(row.caption), parent);
    setUp(button, row.common, row.look);
    button->setGeometry(placeOf(row.common));
    if (row.picture != nullptr) {
        const QString picture = text(row.picture);
        button->setIcon(WindowLook::pictureIcon(picture));
        button->setIconSize(WindowLook::picture(picture).deviceIndependentSize().toSize());
    }
    // Buttons take the focus from a click too, which the focus rest then takes back.
    button->setFocusPolicy(Qt::StrongFocus);
    if (row.traits & StartsDisabled) {
        button->setEnabled(false);
    }
    button->setToolTip(toolTipOf(row));
    return button;
}

} // namespace

void Form1::buildControls()
{
    // Rows are in stacking order, a later control above an earlier one, and that is also the
    // order assistive technology walks them in.
#define CONTROL(member) &Form1::member, #member
    // clang-format off
    static constexpr ControlRow controls[] = {
        // Each row: the kind and the control, its place in twips (left, top, width, height),
        // then by kind, a slash for each new line:
        //   list:              tab / name, description / tooltip
        //   label:             look, anchor / mouse, caption / name, description
        //   image:             picture / name, description / tooltip
        //   pictureBox:        picture / name, description
        //   hiddenText:        look / name, description
        //   textButton:        look, tab / traits, caption, keys / name, description
        //                      [/ tooltip, for a button without keys]
        //   pictureButton:     tab / traits, picture, keys / name, description
        // A label whose name is nullptr shows data, and its text is its name. A keyed button's
        // tooltip is made of its name and keys; a status label's, its side's file, comes later
        // from ListSideView.
        // The focus rest lies above the window's top edge and is never seen.
        textButton(CONTROL(Command12),     6120,  -920,   255,  255,  Look::Plain, 0,
            NoTrait, "Command12", nullptr,
            "Focus rest", "Holds the keyboard focus; does nothing"),
        list(CONTROL(List1),                120,   360,  3255, 3855,  1,
            "SRC entries", "Entries of the SRC patch set; a click selects or unselects one",
            "SRC entries: a click or Space selects or unselects a line, typing finds a name, "
            "F3 shows the current entry"),
        list(CONTROL(List2),               4800,   360,  3255, 3855,  6,
            "DEST entries", "Entries of the DEST patch set; a click selects or unselects one",
            "DEST entries: a click or Space selects or unselects a line, typing finds a name, "
            "F3 shows the current entry"),
        label(CONTROL(Label1),              120,   120,   300,  195,  Look::Heading, Anchor::Left,
            PassesMouse, sideName(Side::Left).data(),
            sideName(Side::Left).data(), "Heading of the SRC side"),
        label(CONTROL(Label2),             7680,   120,   375,  195,  Look::Heading, Anchor::Right,
            PassesMouse, sideName(Side::Right).data(),
            sideName(Side::Right).data(), "Heading of the DEST side"),
        label(CONTROL(Label6),             3330,   120,    45,  195,  Look::Status, Anchor::Right,
            TakesMouse, nullptr,
            nullptr, "SRC status: version and file date of the loaded SRC set"),
        label(CONTROL(Label7),             4800,   120,    45,  195,  Look::Status, Anchor::Left,
            TakesMouse, nullptr,
            nullptr, "DEST status: version and file date of the DEST set"),
        image(CONTROL(Image1),             3690,   360,   870,  990,  "logo",
            "Logo", "Tolvane logo",
            "The Tolvane logo, for decoration only"),
        // The buffer first, so the visible strip lies above it and hides it.
        pictureBox(CONTROL(Picture2),      3380,  1680,  1425,  375,  "strip",
            "Marquee buffer", "Off-screen drawing of the scrolling text"),
        pictureBox(CONTROL(Picture1),      3360,  1680,  1455,  375,  "strip",
            "Marquee", "Scrolling text about the program; a click stops or restarts it"),
        label(CONTROL(Label5),             4065,  2760,    45,  165,  Look::Detail, Anchor::Centre,
            TakesMouse, nullptr,
            nullptr, "Entry detail: side, offsets, parameters and size of the clicked entry"),
        textButton(CONTROL(Command1),      3600,  3840,   975,  375,  Look::Command, 12,
            StartsDisabled | Undoable, "copy >>", "Alt+Right; Ctrl+Right",
            "copy >>",
            "Remove the selected DEST entries, then copy the selected SRC entries into DEST"),
        pictureButton(CONTROL(Command7),    120,  4240,   255,  255,  2,
            SendsFocusToRest | KeysInSrcList | Undoable, "chevron-up", "Ctrl+Up; Alt+Up",
            "Move SRC entry up", "Move the current SRC entry one place up"),
        pictureButton(CONTROL(Command6),    370,  4240,   255,  255,  3,
            SendsFocusToRest | KeysInSrcList | Undoable, "chevron-down", "Ctrl+Down; Alt+Down",
            "Move SRC entry down", "Move the current SRC entry one place down"),
        pictureButton(CONTROL(Command10),   650,  4240,   255,  255,  4,
            SendsFocusToRest | KeysInSrcList, "empty-set", "Ctrl+Shift+A",
            "Clear SRC selection", "Unselect every SRC entry"),
        textButton(CONTROL(Command2),       960,  4240,   855,  255,  Look::SmallCommand, 5,
            SendsFocusToRest | Undoable, "LOAD SRC", "Ctrl+O",
            "LOAD SRC", "Load a patch set file into SRC"),
        textButton(CONTROL(Command13),     5850,  4240,   495,  255,  Look::SmallCommand, 7,
            SendsFocusToRest | Undoable, "NEW", "Ctrl+N",
            "NEW", "Start a new DEST set holding one empty entry"),
        textButton(CONTROL(Command3),      6360,  4240,   855,  255,  Look::SmallCommand, 8,
            SendsFocusToRest | Undoable, "LOAD DEST", "Ctrl+Shift+O",
            "LOAD DEST", "Load a patch set file into DEST"),
        pictureButton(CONTROL(Command11),  7280,  4240,   255,  255,  9,
            SendsFocusToRest | KeysInDestList, "empty-set", "Ctrl+Shift+A",
            "Clear DEST selection", "Unselect every DEST entry"),
        pictureButton(CONTROL(Command9),   7550,  4240,   255,  255,  10,
            SendsFocusToRest | KeysInDestList | Undoable, "chevron-down", "Ctrl+Down; Alt+Down",
            "Move DEST entry down", "Move the current DEST entry one place down"),
        pictureButton(CONTROL(Command8),   7800,  4240,   255,  255,  11,
            SendsFocusToRest | KeysInDestList | Undoable, "chevron-up", "Ctrl+Up; Alt+Up",
            "Move DEST entry up", "Move the current DEST entry one place up"),
        // Never seen: its width is the width of the marquee text.
        hiddenText(CONTROL(Label3),           0,  4320, 21855,  165,  Look::MarqueeText,
            "Marquee text", "The text scrolling through the strip"),
        label(CONTROL(Label4),             3045,  4440,  2085,  165,  Look::Title, Anchor::Centre,
            TakesMouse, "[ Tolvane v. 1.3 / 25 Jan 2007 ]",
            "Title", "Program name and version"),
        // Enter is the Return key or the keypad's Enter, whichever the user presses.
        textButton(CONTROL(Command4),      3040,  4800,   975,  375,  Look::Command, 13,
            StartsDisabled, "save", "Ctrl+S; Enter",
            "save", "Save the DEST patch set to a file"),
        textButton(CONTROL(Command5),      4120,  4800,   975,  375,  Look::Command, 14,
            NoTrait, "quit", nullptr,
            "quit", "Close Tolvane",
            "quit: closes Tolvane at once, without saving"),
        label(CONTROL(Label8),                0,  4560,   225,  870,  Look::Count, Anchor::Left,
            TakesMouse, nullptr,
            nullptr, "SRC count: the number of SRC entries"),
        label(CONTROL(Label9),             7965,  4560,   225,  870,  Look::Count, Anchor::Right,
            TakesMouse, nullptr,
            nullptr, "DEST count: the number of DEST entries"),
    };
    // clang-format on
#undef CONTROL
    static_assert(tabsAreDistinct(controls), "two controls share a place in the tab order");

    std::vector<std::pair<int, QWidget *>> tabOrder;
    std::vector<const ButtonRow *> keyed;
    for (const ControlRow &row : controls) {
        std::visit(
            [&](const auto &kind) {
                auto *control = make(kind, this);
                this->*kind.member = control;
                if (tabOf(kind) != NoTab) {
                    tabOrder.emplace_back(tabOf(kind), control);
                }
                if constexpr (std::is_same_v<std::decay_t<decltype(kind)>, ButtonRow>) {
                    if (kind.traits & SendsFocusToRest) {
                        control->installEventFilter(this); // see eventFilter()
                    }
                    if (kind.keys != nullptr) {
                        keyed.push_back(&kind);
                    }
                }
            },
            row);
    }
    std::sort(tabOrder.begin(), tabOrder.end());
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    }

    // Once every control exists, since a button's keys may need a list to have the focus.
    for (const ButtonRow *row : keyed) {
        const QWidget *focus = nullptr;
        if (row->traits & KeysInSrcList) {
            focus = List1;
        } else if (row->traits & KeysInDestList) {
            focus = List2;
        }
        m_keys->bindButton(this->*row->member, keysOf(*row), focus);
    }
    // The pictures let the mouse through, and with it the pointer resting on them.
    ToolTips::relayPassiveToolTips(this);
}
