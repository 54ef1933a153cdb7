#include "DesktopAnimations.h"
#include "Marquee.h"

#include <QBackingStore>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QPainter>
#include <QtTest>

#include <algorithm>

namespace {

QPixmap whiteStrip()
{
    QPixmap strip(95, 25);
    strip.fill(Qt::white);
    return strip;
}

// Like the window's strip: shaded from top to bottom, with a rim, so its columns differ.
QPixmap shadedStrip()
{
    QPixmap strip(95, 25);
    QPainter painter(&strip);
    QLinearGradient shade(0, 0, 0, 25);
    shade.setColorAt(0, QColor(253, 253, 253));
    shade.setColorAt(1, QColor(238, 240, 243));
    painter.fillRect(strip.rect(), shade);
    painter.setPen(QColor(221, 225, 230));
    painter.drawRect(0, 0, 94, 24);
    return strip;
}

QFont marqueeFont()
{
    QFont font(QStringLiteral("Small Fonts"));
    font.setPointSizeF(6.75);
    return font;
}

} // namespace

class TestMarquee : public QObject
{
    Q_OBJECT

private slots:
    void textsHaveTheirLengths();
    void firstTickDrawsTextOneJustOutside();
    void wrapsWhenTheTextHasLeft();
    void textsRotateInOrder();
    void tickMeasuresTheTextThatScrolledOut();
    void widthGrowsWithTheText();
    void copyShowsTheComposedFrame_data();
    void copyShowsTheComposedFrame();
    void clsRemovesTheText();
    void skippedTicksNeverShowAStaleFrame();
    void surfaceIsAtTheDevicePixelRatio();
    void desktopSettingReachesTheWindow_data();
    void desktopSettingReachesTheWindow();
};

void TestMarquee::textsHaveTheirLengths()
{
    const std::array<QString, 4> &texts = marqueeTexts();
    QCOMPARE(texts[0].size(), 384);
    QCOMPARE(texts[1].size(), 174);
    QCOMPARE(texts[2].size(), 195);
    QCOMPARE(texts[3].size(), 180);
    for (const QString &text : texts) {
        QCOMPARE(text, text.toLower());
    }
}

void TestMarquee::firstTickDrawsTextOneJustOutside()
{
    MarqueeState state;
    startMarquee(state);
    QCOMPARE(state.text, marqueeTexts()[0]);
    advanceMarquee(state, 5000);
    QCOMPARE(state.marqueeX, 1494);
    QCOMPARE(state.text, marqueeTexts()[0]);
    QCOMPARE(state.marqueeTextIndex, 0);
}

void TestMarquee::wrapsWhenTheTextHasLeft()
{
    // Width 3000: the tick that brings x to -3000 or below wraps. From 1500 in steps of 6,
    // x reaches -3000 after 750 ticks exactly.
    MarqueeState state;
    startMarquee(state);
    for (int tick = 1; tick < 750; ++tick) {
        advanceMarquee(state, 3000);
    }
    QCOMPARE(state.marqueeX, -2994);
    QCOMPARE(state.text, marqueeTexts()[0]);

    advanceMarquee(state, 3000);
    QCOMPARE(state.marqueeX, 1600);
    QCOMPARE(state.text, marqueeTexts()[1]);
    QCOMPARE(state.marqueeTextIndex, 1);

    advanceMarquee(state, 1000);
    QCOMPARE(state.marqueeX, 1594);

    // A width between two steps: x goes from -998 to -1004, past -1001, and that wraps too.
    state.marqueeX = -998;
    advanceMarquee(state, 1001);
    QCOMPARE(state.marqueeX, 1600);
}

void TestMarquee::textsRotateInOrder()
{
    MarqueeState state;
    startMarquee(state);
    QStringList shown;
    QList<int> indexes;
    for (int wrap = 0; wrap < 5; ++wrap) {
        state.marqueeX = -94; // the next tick reaches -100
        advanceMarquee(state, 100);
        shown.append(state.text);
        indexes.append(state.marqueeTextIndex);
    }
    const std::array<QString, 4> &texts = marqueeTexts();
    QCOMPARE(shown, QStringList({texts[1], texts[2], texts[3], texts[0], texts[1]}));
    QCOMPARE(indexes, QList<int>({1, 2, 3, 0, 1}));
}

void TestMarquee::tickMeasuresTheTextThatScrolledOut()
{
    const QFont font = marqueeFont();
    const int widthOne = textWidthTwips(marqueeTexts()[0], font);
    QVERIFY(widthOne > 0);

    PictureBox Picture2(whiteStrip());
    PictureBox Picture1(whiteStrip());
    MarqueeState state;
    startMarquee(state);
    marqueeTick(state, font, Picture2, Picture1);
    QCOMPARE(state.marqueeX, 1494);

    // Run up to the tick before text 1 has fully left, then the wrapping tick.
    const int ticksToWrap = (1500 + widthOne + 5) / 6; // first x with x <= -widthOne
    for (int tick = 2; tick < ticksToWrap; ++tick) {
        marqueeTick(state, font, Picture2, Picture1);
    }
    QCOMPARE(state.text, marqueeTexts()[0]);
    QVERIFY(state.marqueeX > -widthOne);
    marqueeTick(state, font, Picture2, Picture1);
    QCOMPARE(state.text, marqueeTexts()[1]);
    QCOMPARE(state.marqueeX, 1600);

    // Text 2 wraps on its own, shorter width, not on text 1's.
    const int widthTwo = textWidthTwips(marqueeTexts()[1], font);
    int ticks = 0;
    while (state.text == marqueeTexts()[1]) {
        marqueeTick(state, font, Picture2, Picture1);
        ++ticks;
        QVERIFY(ticks < 100000);
    }
    QCOMPARE(ticks, (1600 + widthTwo + 5) / 6);
    QCOMPARE(state.text, marqueeTexts()[2]);
}

void TestMarquee::widthGrowsWithTheText()
{
    const QFont font = marqueeFont();
    const int shortWidth = textWidthTwips(QStringLiteral("patch"), font);
    const int longWidth = textWidthTwips(QStringLiteral("patch sets"), font);
    QVERIFY(shortWidth > 0);
    QVERIFY(longWidth > shortWidth);
    QCOMPARE(textWidthTwips(QString(), font), 0);
    QFont larger = font;
    larger.setPointSizeF(font.pointSizeF() * 2);
    QVERIFY(textWidthTwips(QStringLiteral("patch"), larger) > shortWidth);
}

void TestMarquee::copyShowsTheComposedFrame_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<bool>("visible");
    QTest::newRow("inside") << 300 << true;
    QTest::newRow("partly in from left") << -300 << true;
    QTest::newRow("outside right") << 1494 << false;
}

void TestMarquee::copyShowsTheComposedFrame()
{
    QFETCH(int, x);
    QFETCH(bool, visible);
    PictureBox Picture2(whiteStrip());
    PictureBox Picture1(whiteStrip());
    QFont font(QStringLiteral("Small Fonts"));
    font.setPointSize(7);
    Picture2.setFont(font);
    const QImage bare = Picture1.surface();

    Picture2.Cls();
    Picture2.printText(QStringLiteral("tolvane merges patch sets"), x, 0);
    QCOMPARE(Picture1.surface(), bare); // drawing on the buffer shows nothing yet
    Picture1.copyFrom(Picture2);
    QCOMPARE(Picture1.surface(), Picture2.surface());
    QCOMPARE(Picture1.surface() != bare, visible);
}

void TestMarquee::clsRemovesTheText()
{
    PictureBox Picture2(whiteStrip());
    const QImage bare = Picture2.surface();
    Picture2.printText(QStringLiteral("tolvane"), 0, 0);
    QVERIFY(Picture2.surface() != bare);
    Picture2.printText(QStringLiteral("tolvane"), 0, 0); // drawing persists until cleared
    Picture2.Cls();
    QCOMPARE(Picture2.surface(), bare);
}

void TestMarquee::skippedTicksNeverShowAStaleFrame()
{
    // A tick that moves the text by less than a step draws nothing; what Picture1 holds must
    // still be exactly the frame drawing that tick's text would compose, through a wrap as
    // well, and what the window shows of it must be that frame too, though only changed rows
    // are painted. On a screen of ratio 2 (QT_SCALE_FACTOR=2) the text steps two device pixels.
    QFont font(QStringLiteral("Small Fonts"));
    font.setPointSizeF(6.75);
    QWidget window;
    PictureBox Picture2(shadedStrip(), &window);
    PictureBox Picture1(shadedStrip(), &window);
    PictureBox reference(shadedStrip());
    Picture1.setGeometry(10, 5, 97, 25); // as in the window: wider than its picture and the buffer
    Picture2.setFont(font);
    reference.setFont(font);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const qreal ratio = Picture1.devicePixelRatioF();
    const int step = std::max(1, int(ratio));
    const auto shown = [&window, &Picture1, ratio] {
        const auto *store = static_cast<const QImage *>(window.backingStore()->paintDevice());
        const QRect place(Picture1.pos() * ratio, Picture1.size() * ratio);
        return store->copy(place).convertToFormat(QImage::Format_RGB32);
    };
    MarqueeState state;
    startMarquee(state);
    state.text = QStringLiteral("patch");
    const int ticks = (1500 + textWidthTwips(state.text, font)) / 6 + 40;
    // The window sleeps until the tick ticksUntilNextFrame() names: exactly the next tick
    // that draws, or a frame would come late.
    int due = ticksUntilNextFrame(state, Picture2);
    for (int tick = 1; tick <= ticks; ++tick) {
        const MarqueeState before = state;
        marqueeTick(state, font, Picture2, Picture1);
        // The reference draws its glyphs: after a first print, the text is not copied from a
        // drawing of the line, as the buffer's is.
        reference.Cls();
        reference.printText(QString(), 0, 0);
        reference.printText(state.text, state.marqueeX, 0);
        const QImage frame =
            Picture1.surface().copy(QRect(QPoint(0, 0), reference.surface().size()));
        QVERIFY2(frame == reference.surface(), qPrintable(QString::number(tick)));
        QVERIFY2(shown() == Picture1.surface().convertToFormat(QImage::Format_RGB32),
                 qPrintable(QString::number(tick)));
        const bool drawn = !before.shown || state.shownDeviceX != before.shownDeviceX
            || state.shownText != before.shownText;
        QCOMPARE(drawn, --due == 0);
        if (drawn) {
            due = ticksUntilNextFrame(state, Picture2);
            QCOMPARE(state.shownDeviceX % step, 0);
        }
    }
    QCOMPARE(state.text, marqueeTexts()[1]); // the wrap was crossed
}

void TestMarquee::surfaceIsAtTheDevicePixelRatio()
{
    // Run with QT_SCALE_FACTOR=2 this checks the sharp surface of a scaled screen.
    PictureBox Picture2(whiteStrip());
    QCOMPARE(Picture2.size(), QSize(95, 25));
    const QImage surface = Picture2.surface();
    QCOMPARE(surface.devicePixelRatio(), Picture2.devicePixelRatioF());
    QCOMPARE(surface.size(), (QSizeF(95, 25) * Picture2.devicePixelRatioF()).toSize());
}

void TestMarquee::desktopSettingReachesTheWindow_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");   // as the portal's SettingChanged carries it
    QTest::addColumn<QString>("reported"); // "on", "off" or "" for nothing reported
    const QString interface = QStringLiteral("org.gnome.desktop.interface");
    const QString animations = QStringLiteral("enable-animations");
    const auto wrapped = [](const QVariant &value) {
        return QVariant::fromValue(QDBusVariant(value));
    };
    // clang-format off
    QTest::newRow("off") << interface << animations << wrapped(false) << "off";
    QTest::newRow("on") << interface << animations << wrapped(true) << "on";
    QTest::newRow("wrapped twice, as Read answers") << interface << animations
                                                    << wrapped(wrapped(false)) << "off";
    QTest::newRow("not a boolean") << interface << animations << wrapped(QStringLiteral("false"))
                                   << "";
    QTest::newRow("another key") << interface << "enable-hot-corners" << wrapped(false) << "";
    QTest::newRow("another group") << "org.gnome.desktop.a11y" << animations << wrapped(false)
                                   << "";
    // clang-format on
}

void TestMarquee::desktopSettingReachesTheWindow()
{
    QFETCH(QString, group);
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QString, reported);
    DesktopAnimations animations; // never started: no bus is asked
    QSignalSpy changes(&animations, &DesktopAnimations::changed);
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("SettingChanged"));
    signal << group << key << value;
    QVERIFY(QMetaObject::invokeMethod(&animations, "settingChanged", Q_ARG(QDBusMessage, signal)));
    QStringList seen;
    for (const QList<QVariant> &change : std::as_const(changes)) {
        seen.append(change.constFirst().toBool() ? QStringLiteral("on") : QStringLiteral("off"));
    }
    QCOMPARE(seen, reported.isEmpty() ? QStringList() : QStringList({reported}));
}

QTEST_MAIN(TestMarquee)
#include "TestMarquee.moc"
