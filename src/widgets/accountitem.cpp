#include "widgets/accountitem.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

AccountItem::AccountItem(QWidget* parent)
    : QWidget(parent)
{
    m_pLabel = new QLabel(this);
    m_pDeleteButton = new QToolButton(this);
    m_pDeleteButton->setFixedSize(15, 15);
    m_pDeleteButton->setIcon(QIcon(":ThirdPartyResources/images/close.png"));
    m_pDeleteButton->setStyleSheet("background-color:transparent;");
    connect(m_pDeleteButton, &QToolButton::clicked, this, &AccountItem::onRemoveAccount);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_pLabel);
    layout->addStretch();
    layout->addWidget(m_pDeleteButton);
    layout->setContentsMargins(12, 10, 30, 10);

    setCursor(Qt::PointingHandCursor);
    setFixedWidth(160);
}

void AccountItem::setAccountInfo(int index, const userInfo& info)
{
    m_index = index;
    m_name = info.name;
    // The label shows the whole name; long names are not elided.
    m_pLabel->setText(QString("%1 ").arg(info.name));
}

QString AccountItem::getAccountName() const { return m_pLabel->text(); }

void AccountItem::hideDeleButton() { m_pDeleteButton->hide(); }

void AccountItem::onRemoveAccount() { emit signalRemoveAccount(m_index, m_name); }

void AccountItem::mousePressEvent(QMouseEvent* event)
{
    m_bPressed = true;
    QWidget::mousePressEvent(event);
}

void AccountItem::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_bPressed) {
        emit signalShowAccountInfo(m_index, m_name);
        m_bPressed = false;
    }
    QWidget::mouseReleaseEvent(event);
}

QPixmap AccountItem::scaledPixmap(const QPixmap& src, int width, int height)
{
    return src.scaled(
        width, height == 0 ? width : height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QPixmap AccountItem::generatePixmap(const QPixmap& src, const QSize& size, int radius)
{
    if (src.isNull())
        return src;
    QPixmap out(size);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(0, 0), size), radius, radius);
    painter.setClipPath(path);
    painter.drawPixmap(QRect(QPoint(0, 0), size), src);
    return out;
}
