#include "widgets/balance.h"

#include "widgets/globalfont.h"

#include <QDebug>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <climits>
#include <cmath>
#include <numbers>

BalanceBase::BalanceBase(const Traits& traits, QWidget* parent)
    : QWidget(parent)
    , traits(traits)
{
    default_value = traits.defaultValue;
    gFont.save();
    gFont.setPixelSize(20);
    setFont(gFont.font());
    gFont.restore();
    installEventFilter(this);
}

QSize BalanceBase::sizeHint() const { return { 200, 200 }; }

QSize BalanceBase::minimumSizeHint() const { return { 50, 50 }; }

// --- setters -------------------------------------------------------------------

void BalanceBase::setMouse_Disabled(bool enable) { mouseEnabled = enable; }

void BalanceBase::setPressedSpeedValue(double speed) { pressedSpeed = speed; }

void BalanceBase::setRange(double minValue, double maxValue)
{
    if (minValue >= maxValue)
        return;
    this->minValue = minValue;
    this->maxValue = maxValue;
    // The gain dial reads its out-of-range value as tenths and re-signals it;
    // the other dials keep theirs until a value is set.
    if (traits.tenths && (value < minValue || value > maxValue))
        takeTenths(value / 10.0);
    else
        update();
}

void BalanceBase::setRange(int minValue, int maxValue)
{
    setRange(static_cast<double>(minValue), static_cast<double>(maxValue));
}

void BalanceBase::setMinValue(double minValue) { setRange(minValue, maxValue); }

void BalanceBase::setMaxValue(double maxValue) { setRange(minValue, maxValue); }

void BalanceBase::setDefault_value(int value) { default_value = value; }

void BalanceBase::setValue(int value)
{
    if (traits.tenths) {
        takeTenths(value / 10.0);
        return;
    }
    if (value == this->value)
        return;
    storeWhole(value, true);
}

void BalanceBase::setValue(double value)
{
    if (std::isnan(value))
        return;
    if (traits.tenths) {
        takeTenths(std::trunc(value * 10) / 10);
        return;
    }
    setValue(static_cast<int>(qBound(double(INT_MIN), std::trunc(value), double(INT_MAX))));
}

void BalanceBase::setSilentValue(int value)
{
    if (value == this->value)
        return;
    storeWhole(value, false);
}

void BalanceBase::setPrecision(int precision)
{
    if (precision >= 4 || precision == this->precision)
        return;
    this->precision = precision;
    update();
}

// The style setters share one rule: store and repaint only on a change.
template <typename T> static bool assignChanged(T& field, const T& v)
{
    if (field == v)
        return false;
    field = v;
    return true;
}

void BalanceBase::setStep(int step)
{
    if (assignChanged(this->step, step))
        update();
}

void BalanceBase::setStartAngle(int startAngle)
{
    if (assignChanged(this->startAngle, startAngle))
        update();
}

void BalanceBase::setEndAngle(int endAngle)
{
    if (assignChanged(this->endAngle, endAngle))
        update();
}

void BalanceBase::setBorderColor(const QColor& color)
{
    if (assignChanged(borderColor, color))
        update();
}

void BalanceBase::setBgColor(const QColor& color)
{
    if (assignChanged(bgColor, color))
        update();
}

void BalanceBase::setTextColor(const QColor& color)
{
    if (assignChanged(textColor, color))
        update();
}

void BalanceBase::setPercentColor(const QColor& color)
{
    if (assignChanged(percentColor, color))
        update();
}

void BalanceBase::setDoublePercent(bool doublePercent)
{
    if (assignChanged(this->doublePercent, doublePercent))
        update();
}

void BalanceBase::setShowValue(bool showValue)
{
    if (assignChanged(this->showValue, showValue))
        update();
}

void BalanceBase::setPointerStyle(const PointerStyle& style)
{
    if (assignChanged(pointerStyle, style))
        update();
}

// --- value rules -----------------------------------------------------------------

int BalanceBase::clampInt(double v) const
{
    if (v < minValue)
        return static_cast<int>(std::trunc(minValue));
    if (v > maxValue)
        return static_cast<int>(std::trunc(maxValue));
    return static_cast<int>(v);
}

double BalanceBase::clampReal(double v) const { return qBound(minValue, v, maxValue); }

bool BalanceBase::guarded(Guard guard, double target) const
{
    if (guard == Guard::Zero)
        return (value == minValue && target > 0) || (value == maxValue && target < 0);
    return value == minValue && (target <= minValue || target >= maxValue);
}

void BalanceBase::storeWhole(int v, bool notify)
{
    value = clampInt(v);
    if (notify)
        emit valueChanged(value);
    update();
}

void BalanceBase::takeTenths(double units)
{
    const double d = clampReal(units);
    value = static_cast<int>(std::trunc(d));
    emit valueChanged(static_cast<int>(std::trunc(d * 10)));
    update();
}

// A clamped drag or wheel target that passed its guard.
void BalanceBase::applyTarget(double target)
{
    if (traits.tenths) {
        takeTenths(std::trunc(target * 10) / 10);
        return;
    }
    const int n = static_cast<int>(std::trunc(target));
    if (n == value)
        return;
    storeWhole(n, true);
}

// --- input -----------------------------------------------------------------------

bool BalanceBase::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this) {
        if (event->type() == QEvent::ContextMenu) {
            event->accept();
            qDebug() << "滚轮鼠标右击";
            return true;
        }
        if (event->type() == QEvent::Wheel) {
            // Handled here so a wheel turn over a dial never scrolls the panel.
            wheelEvent(static_cast<QWheelEvent*>(event));
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void BalanceBase::mousePressEvent(QMouseEvent*)
{
    if (!mouseEnabled)
        return;
    pressed = true;
    pressValue = value;
}

void BalanceBase::mouseReleaseEvent(QMouseEvent*) { pressed = false; }

void BalanceBase::mouseDoubleClickEvent(QMouseEvent*)
{
    if (!mouseEnabled)
        return;
    if (traits.tenths) {
        takeTenths(default_value / 10.0);
        return;
    }
    if (default_value == value)
        return;
    storeWhole(default_value, true);
}

void BalanceBase::mouseMoveEvent(QMouseEvent* event)
{
    if (!mouseEnabled || !pressed)
        return;
    // Measured from the widget's centre line, not from the press point.
    const long y = std::lround(event->position().y());
    const int cy = (height() - 1) / 2;
    const double t = pressValue - (y - cy) / pressedSpeed / traits.dragDivisor;
    const double m = clampReal(t);
    if (guarded(traits.dragGuard, m))
        return;
    applyTarget(m);
}

void BalanceBase::wheelEvent(QWheelEvent* event)
{
    if (!mouseEnabled)
        return;
    const int a = event->angleDelta().y();
    const int steps = a / (std::abs(a) < 121 ? 24 : 48);
    const double t = value + steps / 5.0;
    qDebug() << "dial wheel target" << t;
    const double m = clampReal(t);
    if (guarded(traits.wheelGuard, m))
        return;
    applyTarget(m);
}

void BalanceBase::handleDialWheelEvent(QWheelEvent* event) { wheelEvent(event); }

void BalanceBase::setPressedValue(QPointF point)
{
    // Angle of the point around the centre, clockwise from straight down.
    const QPointF p = point - QPointF(width() / 2, height() / 2);
    double angle = std::atan2(-p.x(), p.y()) * 180.0 / std::numbers::pi;
    if (angle < 0)
        angle += 360.0;
    const double span = 360 - startAngle - endAngle;
    if (span <= 0)
        return;
    const double along = qBound(0.0, angle - startAngle, span);
    applyTarget(clampReal(minValue + along * (maxValue - minValue) / span));
}

// --- painting ----------------------------------------------------------------------

double BalanceBase::valueAngle() const
{
    const double span = 360 - startAngle - endAngle;
    return (value - minValue) * span / (maxValue - minValue);
}

void BalanceBase::paintEvent(QPaintEvent*)
{
    const int w = width();
    const int h = height();
    const int side = qMin(w, h);
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.translate(w / 2, h / 2);
    painter.scale(side / 200.0, side / 200.0);

    drawScale(&painter);
    drawBgCircle(&painter);
    switch (pointerStyle) {
    case PointerStyle_Line:
        drawPointerLine(&painter);
        break;
    case PointerStyle_Indicator:
        drawPointerIndicator(&painter);
        break;
    case PointerStyle_IndicatorR:
        drawPointerIndicatorR(&painter);
        break;
    case PointerStyle_Triangle:
        drawPointerTriangle(&painter);
        break;
    }
    if (showValue)
        drawValue(&painter);
}

void BalanceBase::drawScale(QPainter* painter)
{
    if (step < 0)
        return;
    const double span = 360 - startAngle - endAngle;
    // With no intervals (step 0) there is one tick, at the start of the scale.
    const double angleStep = step > 0 ? span / step : 0.0;
    const double va = valueAngle();
    const double middle = (maxValue - minValue) * 0.5 + minValue;
    const int half = step / 2;

    QPen pen;
    pen.setWidthF(12);
    pen.setCapStyle(Qt::FlatCap);
    painter->save();
    for (int i = 0; i <= step; ++i) {
        const double a = i * angleStep;
        bool lit;
        if (!doublePercent) {
            lit = value != minValue && a <= va;
        } else if (value == middle) {
            lit = false;
        } else if (i == half) {
            lit = middle >= value;
        } else if (i < half) {
            lit = value == minValue || a >= va;
        } else {
            lit = a <= va;
        }
        pen.setColor(lit ? percentColor : textColor);
        painter->setPen(pen);
        painter->save();
        painter->rotate(startAngle + a);
        painter->drawLine(QPointF(0, 88), QPointF(0, 100));
        painter->restore();
    }
    painter->restore();
}

void BalanceBase::drawBgCircle(QPainter* painter)
{
    painter->save();
    QPen pen(borderColor);
    pen.setWidthF(8);
    painter->setPen(pen);
    painter->setBrush(bgColor);
    painter->drawEllipse(QRectF(-75, -75, 150, 150));
    painter->restore();
}

void BalanceBase::drawCenterCircle(QPainter* painter)
{
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(percentColor);
    painter->drawEllipse(QPointF(0, 0), 15, 15);
    painter->restore();
}

void BalanceBase::rotateToValue(QPainter* painter) const
{
    painter->rotate(startAngle);
    painter->rotate(valueAngle());
}

// The pointer goes dim (border colour) while a bipolar dial sits at its middle.
QColor BalanceBase::pointerColor() const
{
    const double middle = (maxValue - minValue) * 0.5 + minValue;
    return doublePercent && value == middle ? borderColor : percentColor;
}

void BalanceBase::drawPointerLine(QPainter* painter)
{
    painter->save();
    rotateToValue(painter);
    painter->setPen(QPen(pointerColor(), 10, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
    painter->drawLine(QPointF(0, 0), QPointF(0, 62));
    painter->restore();
}

void BalanceBase::drawPointerIndicator(QPainter* painter)
{
    painter->save();
    rotateToValue(painter);
    painter->setOpacity(0.8);
    painter->setPen(Qt::NoPen);
    painter->setBrush(pointerColor());
    const QPointF pts[] = { { -8, 0 }, { 8, 0 }, { 0, 65 } };
    painter->drawConvexPolygon(pts, 3);
    painter->restore();
}

void BalanceBase::drawPointerIndicatorR(QPainter* painter)
{
    painter->save();
    rotateToValue(painter);
    painter->setOpacity(0.6);
    const QColor c = pointerColor();
    painter->setPen(Qt::NoPen);
    painter->setBrush(c);
    const QPointF pts[] = { { -8, 0 }, { 8, 0 }, { 0, 62 } };
    painter->drawPolygon(pts, 3);
    painter->setPen(QPen(c, 7, Qt::SolidLine, Qt::RoundCap));
    painter->drawLine(QPointF(0, 0), QPointF(0, 62));
    painter->restore();
}

void BalanceBase::drawPointerTriangle(QPainter* painter)
{
    painter->save();
    rotateToValue(painter);
    painter->setPen(Qt::NoPen);
    painter->setBrush(pointerColor());
    const QPointF pts[] = { { -12, 40 }, { 12, 40 }, { 0, 65 } };
    painter->drawConvexPolygon(pts, 3);
    painter->restore();
}

void BalanceBase::drawValue(QPainter* painter)
{
    if (!showValue)
        return;
    gFont.save();
    gFont.setPixelSize(50);
    const QFont font = gFont.font();
    gFont.restore();
    painter->save();
    painter->setPen(Qt::white);
    painter->setFont(font);
    painter->drawText(QRectF(-100, -100, 200, 200), Qt::AlignCenter,
        QString::number(double(value), 'f', precision));
    painter->restore();
}

// --- the three dials ----------------------------------------------------------------

Balance::Balance(QWidget* parent)
    : BalanceBase({ .tenths = false,
                      .dragDivisor = 3.0,
                      .dragGuard = Guard::Minimum,
                      .wheelGuard = Guard::Zero,
                      .defaultValue = 22 },
        parent)
{
}

void Balance::Q_setValue(int value) { setSilentValue(value); }

Balance1::Balance1(QWidget* parent)
    : BalanceBase({ .tenths = true,
                      .dragDivisor = 1.0,
                      .dragGuard = Guard::Zero,
                      .wheelGuard = Guard::Minimum,
                      .defaultValue = 0 },
        parent)
{
}

void Balance1::setEnabled(bool b)
{
    QWidget::setEnabled(b);
    disabled = !b;
}

void Balance1::setDisabled(bool b)
{
    QWidget::setDisabled(b);
    disabled = b;
}

void Balance1::Line_setValue(int value) { setSilentValue(value); }

bool Balance1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this && event->type() == QEvent::Wheel && disabled)
        return true;
    return BalanceBase::eventFilter(watched, event);
}

Balance2::Balance2(QWidget* parent)
    : BalanceBase({ .tenths = false,
                      .dragDivisor = 1.0,
                      .dragGuard = Guard::Zero,
                      .wheelGuard = Guard::Minimum,
                      .defaultValue = 49 },
        parent)
{
}

void Balance2::Line_setValue(int value) { setSilentValue(value); }
