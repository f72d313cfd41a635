#pragma once
// The painted rotary dials of the band rows and the preamp: Balance (Q),
// Balance1 (gain and preamp, signals tenths) and Balance2 (frequency). They hold
// a number on a scale, draw it, let the user change it and signal it; what the
// number means is the band editor's business.

#include <QColor>
#include <QWidget>

class QPainter;

// The common design of the three dials. The differences (units, drag speed,
// edge guards, double-click target) are set by each dial's constructor.
class BalanceBase : public QWidget
{
    Q_OBJECT

public:
    enum PointerStyle : int {
        PointerStyle_Line = 0,
        PointerStyle_Indicator = 1,
        PointerStyle_IndicatorR = 2,
        PointerStyle_Triangle = 3
    };
    Q_ENUM(PointerStyle)

    double getMinValue() const { return minValue; }
    double getMaxValue() const { return maxValue; }
    double getValue() const { return value; }
    int getPrecision() const { return precision; }
    int getStep() const { return step; }
    int getStartAngle() const { return startAngle; }
    int getEndAngle() const { return endAngle; }
    QColor getBorderColor() const { return borderColor; }
    QColor getBgColor() const { return bgColor; }
    QColor getTextColor() const { return textColor; }
    QColor getPercentColor() const { return percentColor; }
    bool getDoublePercent() const { return doublePercent; }
    bool getShowValue() const { return showValue; }
    PointerStyle getPointerStyle() const { return pointerStyle; }
    bool isPressed() const { return pressed; }
    bool mouseInputEnabled() const { return mouseEnabled; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void setMouse_Disabled(bool enable);
    void setPressedSpeedValue(double speed);
    void setRange(double minValue, double maxValue);
    void setRange(int minValue, int maxValue);
    void setMinValue(double minValue);
    void setMaxValue(double maxValue);
    void setDefault_value(int value);
    void setValue(int value);
    void setValue(double value);
    void setPrecision(int precision);
    void setStep(int step);
    void setStartAngle(int startAngle);
    void setEndAngle(int endAngle);
    void setBorderColor(const QColor& color);
    void setBgColor(const QColor& color);
    void setTextColor(const QColor& color);
    void setPercentColor(const QColor& color);
    void setDoublePercent(bool doublePercent);
    void setShowValue(bool showValue);
    void setPointerStyle(const PointerStyle& style);

signals:
    void valueChanged(int value);

protected:
    // Drag and wheel events a guard drops: the "zero" form compares the target
    // with 0 at either end, the "minimum" form with the range at the lower end.
    enum class Guard { Zero, Minimum };
    struct Traits
    {
        bool tenths; // Balance1: takes and signals tenths of a unit
        double dragDivisor; // extra divisor of the drag distance
        Guard dragGuard;
        Guard wheelGuard;
        int defaultValue;
    };

    BalanceBase(const Traits& traits, QWidget* parent);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    // Stores a position in whole units without a signal (Q_setValue / Line_setValue).
    void setSilentValue(int value);

    void drawScale(QPainter* painter);
    void drawBgCircle(QPainter* painter);
    void drawCenterCircle(QPainter* painter);
    void drawPointerLine(QPainter* painter);
    void drawPointerIndicator(QPainter* painter);
    void drawPointerIndicatorR(QPainter* painter);
    void drawPointerTriangle(QPainter* painter);
    void drawValue(QPainter* painter);
    void setPressedValue(QPointF point);
    void handleDialWheelEvent(QWheelEvent* event);

    double minValue = -500.0;
    double maxValue = 500.0;
    int value = -1000;
    int precision = 0;
    int step = 40;
    int startAngle = 45;
    int endAngle = 45;
    double pressedSpeed = 3.0;
    int default_value = 0;
    QColor borderColor { 151, 151, 151 };
    QColor bgColor { 45, 45, 45 };
    QColor textColor { 22, 22, 22 };
    QColor percentColor { 216, 216, 216 };
    bool doublePercent = false;
    bool showValue = false;
    PointerStyle pointerStyle = PointerStyle_Triangle;
    bool mouseEnabled = true;
    bool pressed = false;
    int pressValue = 0;

private:
    int clampInt(double v) const;
    double clampReal(double v) const;
    bool guarded(Guard guard, double target) const;
    void applyTarget(double target);
    void takeTenths(double units);
    void storeWhole(int v, bool notify);
    double valueAngle() const;
    void rotateToValue(QPainter* painter) const;
    QColor pointerColor() const;

    Traits traits;
};

// Q dial of a band: positions -1..45 (indexes into the Q table).
class Balance : public BalanceBase
{
    Q_OBJECT
public:
    explicit Balance(QWidget* parent = nullptr);
public slots:
    void Q_setValue(int value);
};

// Gain dial of a band and the preamp dial: whole dB units, signals tenths.
class Balance1 : public BalanceBase
{
    Q_OBJECT
public:
    explicit Balance1(QWidget* parent = nullptr);

    // Hide QWidget's own: the dial keeps its own flag, under which wheel turns
    // are swallowed before any handling.
    void setEnabled(bool b);
    void setDisabled(bool b);
    bool isDialDisabled() const { return disabled; }

public slots:
    void Line_setValue(int value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool disabled = false;
};

// Frequency dial of a band: positions -1..100 (indexes into the frequency table).
class Balance2 : public BalanceBase
{
    Q_OBJECT
public:
    explicit Balance2(QWidget* parent = nullptr);
public slots:
    void Line_setValue(int value);
};
