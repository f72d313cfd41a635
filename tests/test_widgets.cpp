// The widget kit: dials, frameless window helper, custom controls, global font,
// curve-list row and the embedded resources.
#include <QtTest>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QToolButton>

#include <memory>

#include "edges.h"
#include "widgets/accountitem.h"
#include "widgets/balance.h"
#include "widgets/customcontrols.h"
#include "widgets/framelesshelper.h"
#include "widgets/globalfont.h"
#include "widgets/resources.h"
#include "deadlines.h"

namespace {

const char* kFontPath = ":ThirdPartyResources/fonts/SourceHanSansCN-Bold.ttf";

enum DialKind { Q, Gain, Freq };

std::unique_ptr<BalanceBase> makeDial(DialKind kind)
{
    switch (kind) {
    case Q:
        return std::make_unique<Balance>();
    case Gain:
        return std::make_unique<Balance1>();
    case Freq:
        break;
    }
    return std::make_unique<Balance2>();
}

// The ranges the main window gives the dials.
void setFormRange(BalanceBase* dial, DialKind kind)
{
    if (kind == Q)
        dial->setRange(-1, 45);
    else if (kind == Gain)
        dial->setRange(-24, 24);
    else
        dial->setRange(-1, 100);
}

// Puts a dial at a position in its stored units without a signal.
void place(BalanceBase* dial, int units)
{
    if (auto* q = qobject_cast<Balance*>(dial))
        q->Q_setValue(units);
    else if (auto* g = qobject_cast<Balance1*>(dial))
        g->Line_setValue(units);
    else
        static_cast<Balance2*>(dial)->Line_setValue(units);
}

QList<int> emitted(const QSignalSpy& spy)
{
    QList<int> out;
    for (const auto& args : spy)
        out << args.at(0).toInt();
    return out;
}

// Event filters are public through QObject; this asks whether one swallows.
bool filterSwallows(QObject* filter, QObject* watched, QEvent* event)
{
    return filter->eventFilter(watched, event);
}

// Every input event the window helper sees carries a rising time stamp, shared
// across tests because the helper keeps one previous-move time for all windows.
ulong gClock = 1000;

void sendMouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button,
    Qt::MouseButtons buttons, ulong gap = 10)
{
    const QPointF global = w->mapToGlobal(QPointF(local));
    QMouseEvent ev(type, QPointF(local), global, global, button, buttons, Qt::NoModifier);
    gClock += gap;
    ev.setTimestamp(gClock);
    QApplication::sendEvent(w, &ev);
}

// A global move: position given on the screen, mapped into the window.
void moveTo(QWidget* w, QPoint global, Qt::MouseButtons buttons, ulong gap = 10)
{
    sendMouse(w, QEvent::MouseMove, w->mapFromGlobal(global), Qt::NoButton, buttons, gap);
}

// A parent that records the mouse events reaching it.
class Recorder : public QWidget
{
public:
    QList<QEvent::Type> seen;
    void clear() { seen.clear(); }
    int count(QEvent::Type t) const { return int(seen.count(t)); }

protected:
    void mousePressEvent(QMouseEvent* e) override { seen << e->type(); }
    void mouseReleaseEvent(QMouseEvent* e) override { seen << e->type(); }
    void mouseMoveEvent(QMouseEvent* e) override { seen << e->type(); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { seen << e->type(); }
    void contextMenuEvent(QContextMenuEvent* e) override { seen << e->type(); }
};

} // namespace

class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initResources();
        initResources(); // a second call is harmless
    }

    // ---- dials ----

    void newDialAndRange()
    {
        for (DialKind kind : { Q, Gain, Freq }) {
            auto dial = makeDial(kind);
            QCOMPARE(dial->getValue(), -1000.0);
            QCOMPARE(dial->getMinValue(), -500.0);
            QCOMPARE(dial->getMaxValue(), 500.0);
            QCOMPARE(dial->getStep(), 40);
            QCOMPARE(dial->getPointerStyle(), BalanceBase::PointerStyle_Triangle);
            QSignalSpy spy(dial.get(), &BalanceBase::valueChanged);
            setFormRange(dial.get(), kind);
            if (kind == Gain) {
                // The gain dial re-reads its out-of-range value as tenths.
                QCOMPARE(dial->getValue(), -24.0);
                QCOMPARE(emitted(spy), QList<int> { -240 });
            } else {
                QCOMPARE(dial->getValue(), -1000.0);
                QCOMPARE(spy.count(), 0);
            }
            dial->setRange(5, 5);
            dial->setRange(6.0, 5.0);
            dial->setMinValue(dial->getMaxValue());
            dial->setMaxValue(dial->getMinValue() - 1);
            QVERIFY(dial->getMinValue() < 0 && dial->getMaxValue() > 20);
        }
    }

    void precisionLimit()
    {
        Balance dial;
        dial.setPrecision(4);
        dial.setPrecision(7);
        QCOMPARE(dial.getPrecision(), 0);
        dial.setPrecision(3);
        QCOMPARE(dial.getPrecision(), 3);
        dial.setPrecision(-1);
        QCOMPARE(dial.getPrecision(), -1);
    }

    void gainSetValue_data()
    {
        QTest::addColumn<bool>("asDouble");
        QTest::addColumn<double>("input");
        QTest::addColumn<double>("stored");
        QTest::addColumn<int>("signalled");
        QTest::newRow("tenths 15") << false << 15.0 << 1.0 << 15;
        QTest::newRow("tenths -23") << false << -23.0 << -2.0 << -23;
        QTest::newRow("tenths 400 clamps") << false << 400.0 << 24.0 << 240;
        QTest::newRow("tenths -999 clamps") << false << -999.0 << -24.0 << -240;
        QTest::newRow("units 2.37") << true << 2.37 << 2.0 << 23;
        QTest::newRow("units -7.99") << true << -7.99 << -7.0 << -79;
    }

    void gainSetValue()
    {
        QFETCH(bool, asDouble);
        QFETCH(double, input);
        QFETCH(double, stored);
        QFETCH(int, signalled);
        Balance1 dial;
        dial.setRange(-24, 24);
        QSignalSpy spy(&dial, &BalanceBase::valueChanged);
        for (int i = 0; i < 2; ++i) {
            if (asDouble)
                dial.setValue(input);
            else
                dial.setValue(int(input));
        }
        QCOMPARE(dial.getValue(), stored);
        // No equality test: the same value is signalled again.
        QCOMPARE(emitted(spy), (QList<int> { signalled, signalled }));
    }

    void wholeDialsSetValue()
    {
        Balance q;
        q.setRange(-1, 45);
        QSignalSpy spy(&q, &BalanceBase::valueChanged);
        q.setValue(12);
        q.setValue(12);
        QCOMPARE(emitted(spy), QList<int> { 12 });
        q.setValue(99);
        QCOMPARE(q.getValue(), 45.0);
        q.setValue(7.9);
        QCOMPARE(q.getValue(), 7.0);
        QCOMPARE(emitted(spy), (QList<int> { 12, 45, 7 }));
        q.Q_setValue(30);
        q.Q_setValue(-50);
        QCOMPARE(q.getValue(), -1.0);
        QCOMPARE(spy.count(), 3);

        Balance2 f;
        f.setRange(-1, 100);
        QSignalSpy fspy(&f, &BalanceBase::valueChanged);
        f.Line_setValue(70);
        QCOMPARE(f.getValue(), 70.0);
        QCOMPARE(fspy.count(), 0);

        Balance1 g;
        g.setRange(-24, 24);
        QSignalSpy gspy(&g, &BalanceBase::valueChanged);
        g.Line_setValue(-5); // whole units, silent
        QCOMPARE(g.getValue(), -5.0);
        QCOMPARE(gspy.count(), 0);
    }

    void wheel_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("delta");
        QTest::addColumn<double>("after");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("freq notch up") << int(Freq) << 10 << 120 << 11.0 << QList<int> { 11 };
        QTest::newRow("freq notch down") << int(Freq) << 10 << -120 << 9.0 << QList<int> { 9 };
        QTest::newRow("freq small delta") << int(Freq) << 10 << 20 << 10.0 << QList<int> {};
        QTest::newRow("freq 240 is one unit")
            << int(Freq) << 10 << 240 << 11.0 << QList<int> { 11 };
        QTest::newRow("freq 480 is two units")
            << int(Freq) << 10 << 480 << 12.0 << QList<int> { 12 };
        QTest::newRow("q at minimum to 0") << int(Q) << -1 << 120 << 0.0 << QList<int> { 0 };
        QTest::newRow("q at minimum above 0 dropped")
            << int(Q) << -1 << 480 << -1.0 << QList<int> {};
        QTest::newRow("gain at minimum up")
            << int(Gain) << -24 << 120 << -23.0 << QList<int> { -230 };
        QTest::newRow("gain at maximum up re-signals")
            << int(Gain) << 24 << 120 << 24.0 << QList<int> { 240 };
        QTest::newRow("gain at minimum down dropped")
            << int(Gain) << -24 << -120 << -24.0 << QList<int> {};
        QTest::newRow("freq at minimum down dropped")
            << int(Freq) << -1 << -120 << -1.0 << QList<int> {};
    }

    void wheel()
    {
        QFETCH(int, kind);
        QFETCH(int, start);
        QFETCH(int, delta);
        QFETCH(double, after);
        QFETCH(QList<int>, expected);
        auto dial = makeDial(DialKind(kind));
        setFormRange(dial.get(), DialKind(kind));
        place(dial.get(), start);
        QSignalSpy spy(dial.get(), &BalanceBase::valueChanged);
        QWheelEvent ev(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QVERIFY(filterSwallows(dial.get(), dial.get(), &ev));
        QVERIFY(ev.isAccepted());
        QCOMPARE(dial->getValue(), after);
        QCOMPARE(emitted(spy), expected);
    }

    void drag_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("offset"); // move position relative to the centre line
        QTest::addColumn<double>("after");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("freq 30 px up") << int(Freq) << 10 << -30 << 20.0 << QList<int> { 20 };
        QTest::newRow("freq 30 px down") << int(Freq) << 10 << 30 << 0.0 << QList<int> { 0 };
        QTest::newRow("q 30 px up") << int(Q) << 10 << -30 << 13.0 << QList<int> { 13 };
        QTest::newRow("gain 30 px up") << int(Gain) << 0 << -30 << 10.0 << QList<int> { 100 };
        QTest::newRow("gain 4 px down") << int(Gain) << 0 << 4 << -1.0 << QList<int> { -13 };
        QTest::newRow("gain clamps") << int(Gain) << 0 << -300 << 24.0 << QList<int> { 240 };
        QTest::newRow("freq on centre line") << int(Freq) << 10 << 0 << 10.0 << QList<int> {};
        QTest::newRow("q at minimum dragged down") << int(Q) << -1 << 30 << -1.0 << QList<int> {};
        QTest::newRow("q at minimum dragged up") << int(Q) << -1 << -18 << 1.0 << QList<int> { 1 };
        QTest::newRow("freq at minimum past 0 dropped")
            << int(Freq) << -1 << -30 << -1.0 << QList<int> {};
    }

    void drag()
    {
        QFETCH(int, kind);
        QFETCH(int, start);
        QFETCH(int, offset);
        QFETCH(double, after);
        QFETCH(QList<int>, expected);
        auto dial = makeDial(DialKind(kind));
        dial->resize(40, 40); // centre line y 19
        setFormRange(dial.get(), DialKind(kind));
        place(dial.get(), start);
        QSignalSpy spy(dial.get(), &BalanceBase::valueChanged);
        sendMouse(dial.get(), QEvent::MouseButtonPress, { 20, 30 }, Qt::LeftButton, Qt::LeftButton);
        QVERIFY(dial->isPressed());
        sendMouse(dial.get(), QEvent::MouseMove, { 20, 19 + offset }, Qt::NoButton, Qt::LeftButton);
        sendMouse(dial.get(), QEvent::MouseButtonRelease, { 20, 19 + offset }, Qt::LeftButton,
            Qt::NoButton);
        QVERIFY(!dial->isPressed());
        QCOMPARE(dial->getValue(), after);
        QCOMPARE(emitted(spy), expected);
    }

    void mouseDisabled()
    {
        Balance2 dial;
        dial.resize(40, 40);
        dial.setRange(-1, 100);
        dial.Line_setValue(10);
        dial.setMouse_Disabled(false);
        QSignalSpy spy(&dial, &BalanceBase::valueChanged);
        sendMouse(&dial, QEvent::MouseButtonPress, { 20, 20 }, Qt::LeftButton, Qt::LeftButton);
        QVERIFY(!dial.isPressed());
        sendMouse(&dial, QEvent::MouseMove, { 20, 0 }, Qt::NoButton, Qt::LeftButton);
        sendMouse(&dial, QEvent::MouseButtonDblClick, { 20, 20 }, Qt::LeftButton, Qt::LeftButton);
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QVERIFY(filterSwallows(&dial, &dial, &wheel)); // still kept from the panel
        QCOMPARE(dial.getValue(), 10.0);
        QCOMPARE(spy.count(), 0);

        // A press held while the mouse was off goes on once it is back on.
        dial.setMouse_Disabled(true);
        sendMouse(&dial, QEvent::MouseButtonPress, { 20, 19 }, Qt::LeftButton, Qt::LeftButton);
        dial.setMouse_Disabled(false);
        sendMouse(&dial, QEvent::MouseButtonRelease, { 20, 19 }, Qt::LeftButton, Qt::NoButton);
        QVERIFY(!dial.isPressed());
    }

    void doubleClick_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("start");
        QTest::addColumn<double>("after");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("freq") << int(Freq) << 10 << 49.0 << QList<int> { 49 };
        QTest::newRow("q") << int(Q) << 10 << 22.0 << QList<int> { 22 };
        QTest::newRow("q already at default") << int(Q) << 22 << 22.0 << QList<int> {};
        QTest::newRow("gain") << int(Gain) << 7 << 0.0 << QList<int> { 0 };
        QTest::newRow("gain already at default") << int(Gain) << 0 << 0.0 << QList<int> { 0 };
    }

    void doubleClick()
    {
        QFETCH(int, kind);
        QFETCH(int, start);
        QFETCH(double, after);
        QFETCH(QList<int>, expected);
        auto dial = makeDial(DialKind(kind));
        dial->resize(40, 40);
        setFormRange(dial.get(), DialKind(kind));
        place(dial.get(), start);
        QSignalSpy spy(dial.get(), &BalanceBase::valueChanged);
        sendMouse(
            dial.get(), QEvent::MouseButtonDblClick, { 20, 20 }, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(dial->getValue(), after);
        QCOMPARE(emitted(spy), expected);
    }

    void contextMenuAndDisabledGainDial()
    {
        Balance1 dial;
        dial.setRange(-24, 24);
        dial.Line_setValue(3);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QVERIFY(filterSwallows(&dial, &dial, &menu));

        QSignalSpy spy(&dial, &BalanceBase::valueChanged);
        dial.setDisabled(true);
        QVERIFY(dial.isDialDisabled());
        QVERIFY(!dial.isEnabled());
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QVERIFY(filterSwallows(&dial, &dial, &wheel));
        QCOMPARE(dial.getValue(), 3.0);
        QCOMPARE(spy.count(), 0);

        dial.setEnabled(true);
        QVERIFY(!dial.isDialDisabled());
        QVERIFY(filterSwallows(&dial, &dial, &wheel));
        QCOMPARE(dial.getValue(), 4.0);

        // Events of other objects go to the base filter.
        QWidget other;
        QVERIFY(!filterSwallows(&dial, &other, &wheel));
    }

    // Painting with no scale intervals (or a negative count) must not divide by zero.
    void paintEdgeSteps_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("doublePercent");
        QTest::addColumn<int>("style");
        for (int step : { 0, -1, 1, 40 })
            for (bool dp : { false, true })
                for (int style : { 0, 1, 2, 3, 9 })
                    QTest::addRow("step %d dp %d style %d", step, int(dp), style)
                        << step << dp << style;
    }

    void paintEdgeSteps()
    {
        QFETCH(int, step);
        QFETCH(bool, doublePercent);
        QFETCH(int, style);
        Balance1 dial;
        dial.resize(200, 200);
        dial.setRange(-24, 24);
        dial.setValue(60);
        dial.setStep(step);
        dial.setDoublePercent(doublePercent);
        dial.setPointerStyle(BalanceBase::PointerStyle(style));
        dial.setShowValue(true);
        const QImage img = dial.grab().toImage();
        QVERIFY(!img.isNull());
        if (step == 0 && !doublePercent) {
            // The one tick sits at the start of the scale, lower left, lit.
            QCOMPARE(img.pixelColor(33, 166), dial.getPercentColor());
        }
    }

    void paintLooksLikeADial()
    {
        Balance2 dial;
        dial.resize(200, 200);
        dial.setRange(-1, 100);
        dial.setValue(49);
        const QImage img = dial.grab().toImage();
        if (const QByteArray dir = qgetenv("QV_SNAPSHOT_DIR"); !dir.isEmpty()) {
            img.save(QString::fromLocal8Bit(dir) + "/dial.png");
            // As the form shows it: 40 x 40 on the black editor column.
            Balance1 gain;
            gain.resize(40, 40);
            gain.setRange(-24, 24);
            gain.setValue(-60);
            QPixmap small(40, 40);
            small.fill(Qt::black);
            gain.render(&small);
            small.scaled(160, 160).save(QString::fromLocal8Bit(dir) + "/gain40.png");
        }
        // Background circle in its own colour, scale lit up to the top, unlit after.
        QCOMPARE(img.pixelColor(100, 100), dial.getBgColor());
        QCOMPARE(img.pixelColor(6, 100), dial.getPercentColor()); // left, 90 degrees into the scale
        QCOMPARE(img.pixelColor(194, 100), dial.getTextColor()); // right, 225 degrees into it
        QCOMPARE(img.pixelColor(100, 196), img.pixelColor(0, 0)); // the gap at the bottom
    }

    // ---- frameless window helper ----

    void hitTest_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("left");
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("top");
        QTest::addColumn<bool>("topLeft");
        QTest::newRow("left band outer end") << QPoint(95, 300) << true << false << false << false;
        QTest::newRow("left band inner end") << QPoint(105, 300) << true << false << false << false;
        QTest::newRow("outside left band") << QPoint(94, 300) << false << false << false << false;
        QTest::newRow("inside left band") << QPoint(106, 300) << false << false << false << false;
        QTest::newRow("right band inner end")
            << QPoint(895, 300) << false << true << false << false;
        QTest::newRow("right band outer end")
            << QPoint(905, 300) << false << true << false << false;
        QTest::newRow("beyond right band") << QPoint(906, 300) << false << false << false << false;
        QTest::newRow("corner") << QPoint(97, 97) << true << false << true << true;
        QTest::newRow("top band far to the side")
            << QPoint(3000, 102) << false << false << true << false;
    }

    void hitTest()
    {
        QFETCH(QPoint, point);
        QFETCH(bool, left);
        QFETCH(bool, right);
        QFETCH(bool, top);
        QFETCH(bool, topLeft);
        FramelessHelper helper;
        helper.setBorderWidth(5);
        CursorPosCalculator c;
        c.recalculate(point, QRect(QPoint(100, 100), QPoint(899, 599)));
        QCOMPARE(bool(c.onLeftEdge), left);
        QCOMPARE(bool(c.onRightEdge), right);
        QCOMPARE(bool(c.onTopEdge), top);
        QCOMPARE(bool(c.onTopLeftEdge), topLeft);
        QCOMPARE(bool(c.onEdges), left || right || top);
    }

    void helperSetters()
    {
        FramelessHelper helper;
        helper.setTitleHeight(60);
        helper.setBorderWidth(5);
        helper.setTitleHeight(0);
        helper.setBorderWidth(0);
        QCOMPARE(helper.titleHeight(), 60u);
        QCOMPARE(helper.borderWidth(), 5u);
        QVERIFY(helper.widgetMovable() && helper.widgetResizable());
        QVERIFY(!helper.rubberBandOnMove() && !helper.rubberBandOnResisze());
        QWidget stranger;
        helper.setMax(&stranger, true);
        QVERIFY(!helper.isMax(&stranger));
    }

    void titleDrag_data()
    {
        QTest::addColumn<int>("pressY");
        QTest::addColumn<ulong>("pause"); // before the second move
        QTest::addColumn<QPoint>("offset");
        QTest::newRow("in title band") << 59 << 10ul << QPoint(40, 30);
        QTest::newRow("below title band") << 60 << 10ul << QPoint(0, 0);
        QTest::newRow("after a 499 ms pause") << 30 << 499ul << QPoint(40, 30);
        QTest::newRow("after a 500 ms pause one move is skipped") << 30 << 500ul << QPoint(20, 10);
    }

    void titleDrag()
    {
        QFETCH(int, pressY);
        QFETCH(ulong, pause);
        QFETCH(QPoint, offset);
        Window win;
        const QPoint start = win.w.pos();
        const QPoint press(300, pressY);
        const QPoint g = win.w.mapToGlobal(press);
        sendMouse(&win.w, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
        moveTo(&win.w, g + QPoint(20, 10), Qt::LeftButton);
        moveTo(&win.w, g + QPoint(40, 30), Qt::LeftButton, pause);
        QCOMPARE(win.w.pos(), start + offset);
        sendMouse(&win.w, QEvent::MouseButtonRelease, win.w.mapFromGlobal(g + QPoint(40, 30)),
            Qt::LeftButton, Qt::NoButton);
        QVERIFY(!win.helper.isMax(&win.w));
    }

    void snapToTopMaximises()
    {
        Window win;
        QSignalSpy spy(&win.helper, &FramelessHelper::sigMax);
        const QPoint start = win.w.pos();
        const QPoint g = win.w.mapToGlobal(QPoint(300, 20));
        sendMouse(
            &win.w, QEvent::MouseButtonPress, QPoint(300, 20), Qt::LeftButton, Qt::LeftButton);
        moveTo(&win.w, QPoint(g.x(), 5), Qt::LeftButton);
        QCOMPARE(win.w.pos(), start); // within 5 px of the screen top: the window waits
        moveTo(&win.w, QPoint(g.x(), 6), Qt::LeftButton);
        QCOMPARE(win.w.pos(), start + QPoint(0, 6 - g.y())); // back below: follows again
        moveTo(&win.w, QPoint(g.x(), 2), Qt::LeftButton);
        sendMouse(&win.w, QEvent::MouseButtonRelease, win.w.mapFromGlobal(QPoint(g.x(), 2)),
            Qt::LeftButton, Qt::NoButton);
        QVERIFY(win.helper.isMax(&win.w));
        QCOMPARE(win.w.geometry(), QGuiApplication::primaryScreen()->availableGeometry());
        QCOMPARE(spy.count(), 1);
    }

    void maximisedDragDown()
    {
        Window win;
        const QRect normal = win.w.geometry();
        win.helper.setMax(&win.w, true);
        QSignalSpy spy(&win.helper, &FramelessHelper::sigMax);
        const QPoint g = win.w.mapToGlobal(QPoint(400, 20));
        sendMouse(&win.w, QEvent::MouseButtonPress, win.w.mapFromGlobal(g), Qt::LeftButton,
            Qt::LeftButton);
        moveTo(&win.w, g + QPoint(0, 15), Qt::LeftButton);
        QVERIFY(win.helper.isMax(&win.w));
        moveTo(&win.w, g + QPoint(0, 16), Qt::LeftButton);
        QVERIFY(!win.helper.isMax(&win.w));
        QCOMPARE(spy.count(), 1);
        // Restored to its size and carried on as a title drag with the pointer.
        QCOMPARE(win.w.size(), normal.size());
        QCOMPARE(win.w.pos(), normal.topLeft() + QPoint(0, 16));
        moveTo(&win.w, g + QPoint(10, 26), Qt::LeftButton);
        QCOMPARE(win.w.pos(), normal.topLeft() + QPoint(10, 26));
    }

    // Moves with no button held never move, resize or restore the window.
    void moveWithoutButton()
    {
        Window win;
        const QPoint start = win.w.pos();
        // The release of this press goes to some child that grabbed the mouse.
        sendMouse(
            &win.w, QEvent::MouseButtonPress, QPoint(300, 20), Qt::LeftButton, Qt::LeftButton);
        moveTo(&win.w, win.w.mapToGlobal(QPoint(350, 60)), Qt::NoButton);
        QCOMPARE(win.w.pos(), start);
        moveTo(&win.w, win.w.mapToGlobal(QPoint(380, 90)), Qt::LeftButton);
        QCOMPARE(win.w.pos(), start); // the drag ended with the button-less move

        win.helper.setMax(&win.w, true);
        const QRect maxed = win.w.geometry();
        sendMouse(
            &win.w, QEvent::MouseButtonPress, QPoint(300, 20), Qt::LeftButton, Qt::LeftButton);
        sendMouse(
            &win.w, QEvent::MouseButtonRelease, QPoint(300, 20), Qt::LeftButton, Qt::NoButton);
        moveTo(&win.w, win.w.mapToGlobal(QPoint(300, 200)), Qt::NoButton);
        QVERIFY(win.helper.isMax(&win.w));
        QCOMPARE(win.w.geometry(), maxed);
    }

    void doubleClickTitle()
    {
        Window win;
        const QRect normal = win.w.geometry();
        QSignalSpy spy(&win.helper, &FramelessHelper::sigMax);
        sendMouse(
            &win.w, QEvent::MouseButtonDblClick, QPoint(300, 60), Qt::LeftButton, Qt::LeftButton);
        QVERIFY(!win.helper.isMax(&win.w));
        sendMouse(
            &win.w, QEvent::MouseButtonDblClick, QPoint(300, 59), Qt::RightButton, Qt::RightButton);
        QVERIFY(!win.helper.isMax(&win.w));
        sendMouse(
            &win.w, QEvent::MouseButtonDblClick, QPoint(300, 59), Qt::LeftButton, Qt::LeftButton);
        QVERIFY(win.helper.isMax(&win.w));
        QCOMPARE(win.w.windowState(), Qt::WindowNoState); // the helper's own state
        sendMouse(
            &win.w, QEvent::MouseButtonDblClick, QPoint(300, 10), Qt::LeftButton, Qt::LeftButton);
        QVERIFY(!win.helper.isMax(&win.w));
        QCOMPARE(win.w.geometry(), normal);
        QCOMPARE(emitted(spy), (QList<int> { 1, 0 }));
    }

    void setMaxTwiceAndRestoreToCentre()
    {
        Window win(QRect(0, 0, 800, 500));
        QSignalSpy spy(&win.helper, &FramelessHelper::sigMax);
        win.helper.setMax(&win.w, true);
        win.helper.setMax(&win.w, true);
        QCOMPARE(spy.count(), 1);
        win.helper.setMax(&win.w, false);
        const QSize screen = QGuiApplication::primaryScreen()->size();
        QCOMPARE(win.w.geometry(),
            QRect(
                QPoint((screen.width() - 800) / 2, (screen.height() - 500) / 2), QSize(800, 500)));
    }

    void resizeFromEdges()
    {
        Window win;
        const QRect r = win.w.frameGeometry();
        // Right edge outwards: wider.
        QPoint g(r.right(), r.center().y());
        sendMouse(&win.w, QEvent::MouseButtonPress, win.w.mapFromGlobal(g), Qt::LeftButton,
            Qt::LeftButton);
        moveTo(&win.w, g + QPoint(50, 0), Qt::LeftButton);
        sendMouse(&win.w, QEvent::MouseButtonRelease, win.w.mapFromGlobal(g + QPoint(50, 0)),
            Qt::LeftButton, Qt::NoButton);
        QCOMPARE(win.w.geometry(), QRect(r.topLeft(), r.size() + QSize(50, 0)));

        // Left edge inwards past the minimum width: the left edge stays.
        const QRect before = win.w.geometry();
        g = QPoint(before.left(), before.center().y());
        sendMouse(&win.w, QEvent::MouseButtonPress, win.w.mapFromGlobal(g), Qt::LeftButton,
            Qt::LeftButton);
        moveTo(&win.w, g + QPoint(before.width() - 300, 0), Qt::LeftButton);
        QCOMPARE(win.w.geometry(), before);
        moveTo(&win.w, g + QPoint(100, 0), Qt::LeftButton);
        QCOMPARE(win.w.geometry(), before.adjusted(100, 0, 0, 0));
    }

    // Each edge and corner, pressed a few pixels inside its band, follows the
    // pointer's travel exactly; the opposite edges stay, in and past the minimum.
    void resizeFollowsTravel_data()
    {
        QTest::addColumn<QPoint>("side"); // -1 left/top, 1 right/bottom, 0 neither
        QTest::newRow("left") << QPoint(-1, 0);
        QTest::newRow("right") << QPoint(1, 0);
        QTest::newRow("top") << QPoint(0, -1);
        QTest::newRow("bottom") << QPoint(0, 1);
        QTest::newRow("top-left") << QPoint(-1, -1);
        QTest::newRow("top-right") << QPoint(1, -1);
        QTest::newRow("bottom-left") << QPoint(-1, 1);
        QTest::newRow("bottom-right") << QPoint(1, 1);
    }

    void resizeFollowsTravel()
    {
        QFETCH(QPoint, side);
        Window win(QRect(300, 200, 500, 400)); // minimum 400 x 300
        const QRect start = win.w.frameGeometry();
        const int x = side.x() < 0 ? start.left() + 3
            : side.x() > 0         ? start.right() - 3
                                   : start.center().x();
        const int y = side.y() < 0 ? start.top() + 3
            : side.y() > 0         ? start.bottom() - 3
                                   : start.center().y();
        const QPoint press(x, y);
        // Out by 30, back in by 250: past the minimum by 100 on each axis that moves.
        const QList<int> steps { 10, 30, 0, -60, -100, -130, -150, -220 };
        sendMouse(&win.w, QEvent::MouseButtonPress, win.w.mapFromGlobal(press), Qt::LeftButton,
            Qt::LeftButton);
        for (int travel : steps) {
            moveTo(&win.w, press + QPoint(side.x() * travel, side.y() * travel), Qt::LeftButton);
            // Outwards is positive; the window never gets below its minimum.
            const int dx = qMax(travel, 400 - start.width());
            const int dy = qMax(travel, 300 - start.height());
            QCOMPARE(win.w.frameGeometry(), edgesMovedOut(start, side, dx, dy));
        }
        sendMouse(&win.w, QEvent::MouseButtonRelease, win.w.mapFromGlobal(press), Qt::LeftButton,
            Qt::NoButton);
    }

    void hoverSetsResizeCursor()
    {
        Window win;
        const QRect r = win.w.frameGeometry();
        moveTo(&win.w, QPoint(r.right(), r.bottom()), Qt::NoButton);
        QCOMPARE(win.w.cursor().shape(), Qt::SizeFDiagCursor);
        moveTo(&win.w, QPoint(r.left() + 2, r.center().y()), Qt::NoButton);
        QCOMPARE(win.w.cursor().shape(), Qt::SizeHorCursor);
        moveTo(&win.w, r.center(), Qt::NoButton);
        QTRY_COMPARE(win.w.cursor().shape(), Qt::ArrowCursor); // reset after 200 ms
    }

    void removeFromGivesTheWindowBack()
    {
        Window win;
        QVERIFY(win.w.hasMouseTracking());
        win.helper.removeFrom(&win.w);
        QVERIFY(!win.w.hasMouseTracking());
        QVERIFY(!win.w.testAttribute(Qt::WA_Hover));
        const QPoint start = win.w.pos();
        sendMouse(
            &win.w, QEvent::MouseButtonPress, QPoint(300, 20), Qt::LeftButton, Qt::LeftButton);
        moveTo(&win.w, win.w.mapToGlobal(QPoint(350, 60)), Qt::LeftButton);
        QCOMPARE(win.w.pos(), start);
    }

    // ---- custom controls ----

    void pushButtonPressTravelsOn()
    {
        Recorder parent;
        parent.resize(200, 100);
        auto* button = new CustomPushButton(&parent);
        button->setGeometry(10, 10, 50, 30);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QSignalSpy clicked(button, &QPushButton::clicked);
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 15));
        QCOMPARE(parent.count(QEvent::MouseButtonPress), 1);
        QVERIFY(button->isDown());
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 15));
        QCOMPARE(clicked.count(), 1);
        parent.clear();
        QTest::mouseDClick(button, Qt::LeftButton, {}, QPoint(20, 15));
        QCOMPARE(parent.count(QEvent::MouseButtonDblClick), 0);
    }

    void controlsKeepDragsFromTheWindow_data()
    {
        QTest::addColumn<QString>("cls");
        QTest::newRow("combo box") << "CustomComboBox";
        QTest::newRow("check box") << "CustomCheckBox";
        QTest::newRow("scroll area") << "CustomScrollArea";
    }

    void controlsKeepDragsFromTheWindow()
    {
        QFETCH(QString, cls);
        Recorder parent;
        parent.setMouseTracking(true);
        parent.resize(300, 200);
        QWidget* control = cls == "CustomComboBox"
            ? static_cast<QWidget*>(new CustomComboBox(&parent))
            : cls == "CustomCheckBox" ? static_cast<QWidget*>(new CustomCheckBox(&parent))
                                      : static_cast<QWidget*>(new CustomScrollArea(&parent));
        control->setGeometry(10, 10, 150, 100);
        control->setMouseTracking(true);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QWidget* target
            = cls == "CustomScrollArea" ? static_cast<QScrollArea*>(control)->viewport() : control;

        sendMouse(target, QEvent::MouseMove, { 30, 20 }, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(parent.count(QEvent::MouseMove), 0);
        if (cls == "CustomCheckBox")
            return; // the check box keeps only drags
        sendMouse(target, QEvent::MouseButtonDblClick, { 30, 20 }, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(parent.count(QEvent::MouseButtonDblClick), 0);
        if (cls == "CustomComboBox") {
            // A plain hover travels on.
            sendMouse(target, QEvent::MouseMove, { 31, 20 }, Qt::NoButton, Qt::NoButton);
            QCOMPARE(parent.count(QEvent::MouseMove), 1);
        }
        if (cls == "CustomScrollArea") {
            sendMouse(target, QEvent::MouseButtonPress, { 30, 20 }, Qt::LeftButton, Qt::LeftButton);
            sendMouse(
                target, QEvent::MouseButtonPress, { 30, 20 }, Qt::RightButton, Qt::RightButton);
            QCOMPARE(parent.count(QEvent::MouseButtonPress), 0);
        }
    }

    void noContextMenus()
    {
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        CustomScrollArea area;
        QVERIFY(filterSwallows(&area, &area, &menu));
        CustomComboBox combo;
        QVERIFY(filterSwallows(&combo, &combo, &menu));

        Recorder parent;
        auto* edit = new CustomLineEdit(&parent);
        QApplication::sendEvent(edit, &menu);
        QVERIFY(menu.isAccepted());
        QCOMPARE(parent.count(QEvent::ContextMenu), 0);
        QVERIFY(!QApplication::activePopupWidget());
    }

    void comboSwallowsPressOnPopupContainer()
    {
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^timeshot view address:"));
        CustomComboBox combo;
        auto* list = new QListWidget;
        list->addItems({ "one", "two" });
        combo.saveView(list);
        combo.setModel(list->model());
        combo.setView(list);
        QWidget* container = list->parentWidget();
        QVERIFY(container && container != &combo);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), QPointF(1, 1),
            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QVERIFY(filterSwallows(&combo, container, &press));
        QTest::qWait(0); // the filter goes on the container one event-loop turn later
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(1, 1), QPointF(1, 1),
            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QVERIFY(!filterSwallows(&combo, container, &release));
    }

    void vComboBoxPopupAndWheel()
    {
        QWidget top;
        top.resize(300, 300);
        auto* combo = new vComboBox(&top);
        combo->addItems({ "a", "b", "c" });
        combo->setGeometry(20, 20, 120, 25);
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));
        QSignalSpy popup(combo, &vComboBox::sigPopup);
        QSignalSpy hide(combo, &vComboBox::sigHidePopup);

        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QVERIFY(filterSwallows(combo, combo, &wheel));
        QCOMPARE(combo->currentIndex(), 0);

        QTest::mousePress(combo, Qt::LeftButton, {}, QPoint(10, 10));
        auto* frame = combo->findChild<QFrame*>();
        QVERIFY(frame);
        QTRY_VERIFY(frame->isVisible());
        const QPoint standard = frame->pos();
        QCOMPARE(popup.count(), 0);
        combo->hidePopup();
        QCOMPARE(hide.count(), 1);
        QTRY_VERIFY(!frame->isVisible());

        combo->showPopup();
        QCOMPARE(popup.count(), 1);
        QCOMPARE(frame->pos(), standard + QPoint(0, 12));
        combo->hidePopup();
    }

    void customWidgetDoubleClickToggles()
    {
        CustomWidget w;
        w.resize(300, 200);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseDClick(&w, Qt::RightButton, {}, QPoint(10, 10));
        QVERIFY(!(w.windowState() & Qt::WindowMaximized));
        QTest::mouseDClick(&w, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(w.windowState() & Qt::WindowMaximized);
        QTest::mouseDClick(&w, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(!(w.windowState() & Qt::WindowMaximized));
    }

    // ---- global font and curve-list row ----

    void globalFont()
    {
        GlobalFont font;
        const QFont before = font.font();
        QVERIFY(!font.loadFont(":/ThirdPartyResources/qss/whiteScrollbar.qss"));
        QVERIFY(!font.loadFont("/nonexistent/font.ttf"));
        QCOMPARE(font.font(), before);
        QVERIFY(font.family().isEmpty());

        QVERIFY(font.loadFont(kFontPath));
        QVERIFY(!font.family().isEmpty());
        QCOMPARE(font.font().pixelSize(), 20);
        font.save();
        font.setPixelSize(50);
        QCOMPARE(font.font().pixelSize(), 50);
        font.restore();
        QCOMPARE(font.font().pixelSize(), 20);
        font.setPointSize(9);
        QCOMPARE(font.font().pointSize(), 9);

        // The subset covers the program's Latin and Chinese texts.
        QFont exact = font.font();
        exact.setStyleStrategy(QFont::NoFontMerging);
        const QFontMetrics fm(exact);
        for (QChar c : QStringLiteral("Az09°±×éü—“”…确定取消滤波器频响采样率：（），"))
            QVERIFY2(fm.inFont(c), qPrintable(QString("missing ") + c));
    }

    void accountItem()
    {
        AccountItem item;
        item.setAccountInfo(3, userInfo { "abc", {}, {} });
        item.show();
        QVERIFY(QTest::qWaitForWindowExposed(&item));
        QCOMPARE(item.getItemWidgetIndex(), 3);
        QCOMPARE(item.getAccountName(), QString("abc "));
        QCOMPARE(item.width(), 160);
        auto* button = item.findChild<QToolButton*>();
        QVERIFY(button);
        QCOMPARE(button->size(), QSize(15, 15));
        QVERIFY(!button->icon().isNull());

        QSignalSpy show(&item, &AccountItem::signalShowAccountInfo);
        QSignalSpy remove(&item, &AccountItem::signalRemoveAccount);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(7, 7));
        QCOMPARE(remove.count(), 1);
        QCOMPARE(remove.at(0).at(0).toInt(), 3);
        QCOMPARE(remove.at(0).at(1).toString(), QString("abc"));
        QCOMPARE(show.count(), 0);

        // A release without a press on the row reports nothing; a click reports once.
        QTest::mouseRelease(&item, Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(show.count(), 0);
        QTest::mouseClick(&item, Qt::RightButton, {}, QPoint(20, 10));
        QCOMPARE(show.count(), 1);
        QCOMPARE(show.at(0).at(1).toString(), QString("abc"));
    }

    // ---- resources ----

    void resources_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        const QList<QPair<const char*, QSize>> images = {
            { "1-checked.png", { 22, 22 } },
            { "1-unchecked.png", { 22, 22 } },
            { "2-checked.png", { 22, 22 } },
            { "2-unchecked.png", { 22, 22 } },
            { "unchecked_56.png", { 22, 22 } },
            { "ArrowDownBold.png", { 12, 12 } },
            { "ArrowUpBold.png", { 12, 12 } },
            { "down_arrow.png", { 10, 10 } },
            { "QV.png", { 64, 64 } },
            { "OK.png", { 16, 16 } },
            { "add1.png", { 18, 18 } },
            { "add2.png", { 25, 25 } },
            { "setting.png", { 25, 25 } },
            { "ws_save.png", { 25, 25 } },
            { "reduce.png", { 20, 20 } },
            { "big.png", { 20, 20 } },
            { "small.png", { 20, 20 } },
            { "close.png", { 20, 20 } },
            { "close1.png", { 20, 20 } },
            { "zuo4.png", { 80, 20 } },
            { "you4.png", { 80, 20 } },
            { "ic-checkbox-close_2_3.png", { 40, 30 } },
            { "ic-checkbox-open_1.png", { 40, 30 } },
            { "ic-checkbox-close_2.png", { 100, 30 } },
            { "ic-checkbox-open_1-1.png", { 100, 30 } },
            { "quorvel-090.png", { 213, 60 } },
        };
        for (const auto& [name, size] : images)
            QTest::newRow(name) << QString(":ThirdPartyResources/images/") + name << size;
    }

    void resources()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QPixmap pixmap(name);
        QVERIFY2(!pixmap.isNull(), qPrintable(name));
        QCOMPARE(pixmap.size(), size);
    }

    void styleSheetAndFontResources()
    {
        QFile qss(":/ThirdPartyResources/qss/whiteScrollbar.qss");
        QVERIFY(qss.open(QIODevice::ReadOnly));
        const QString sheet = QString::fromUtf8(qss.readAll());
        QVERIFY(sheet.contains("QScrollBar::handle:vertical"));
        QWidget w;
        w.setStyleSheet(sheet); // parses without a warning
        QVERIFY(QFile::exists(kFontPath));
    }

private:
    // A top-level window handled by a helper the way the main window sets it up.
    struct Window
    {
        QWidget w;
        FramelessHelper helper;
        explicit Window(QRect geometry = QRect(100, 100, 800, 500))
        {
            w.setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
            w.setMinimumSize(400, 300);
            w.setGeometry(geometry);
            helper.activateOn(&w);
            helper.setTitleHeight(60);
            helper.setBorderWidth(5);
            helper.setWidgetMovable(true);
            helper.setWidgetResizable(true);
            helper.setMax(&w, false);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.setGeometry(geometry);
        }
    };
};

QTEST_MAIN(TestWidgets)
#include "test_widgets.moc"
