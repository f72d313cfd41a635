#pragma once
// One row of the source-curve and target-curve lists: the curve name and a small
// delete button. A click on the row and a click on the button are reported with
// the row's index and name.

#include <QPixmap>
#include <QString>
#include <QWidget>

class QLabel;
class QToolButton;

// What a row is filled from; the curve lists set only the name.
struct userInfo
{
    QString name;
    QString detail;
    QString extra;
};

class AccountItem : public QWidget
{
    Q_OBJECT

public:
    explicit AccountItem(QWidget* parent = nullptr);

    void setAccountInfo(int index, const userInfo& info);
    int getItemWidgetIndex() const { return m_index; }
    QString getAccountName() const;
    void hideDeleButton();

    static QPixmap scaledPixmap(const QPixmap& src, int width, int height = 0);
    static QPixmap generatePixmap(const QPixmap& src, const QSize& size, int radius);

signals:
    void signalShowAccountInfo(int index, QString accountName);
    void signalRemoveAccount(int index, QString accountName);

public slots:
    void onRemoveAccount();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_bPressed = false;
    QLabel* m_pLabel = nullptr;
    QToolButton* m_pDeleteButton = nullptr;
    int m_index = 0;
    QString m_name;
};
