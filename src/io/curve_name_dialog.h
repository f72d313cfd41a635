#pragma once

// The small dialogs that name an imported curve: at most six characters, and
// OK on an empty line gives the default name ("target" or "source").

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

class CurveNameDialog : public QDialog
{
    Q_OBJECT

public:
    QLineEdit* lineEdit = nullptr;

protected:
    CurveNameDialog(QWidget* parent, const QString& defaultName);
    // The typed name, or the default name for an empty line.
    QString chosenName() const;

    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

private:
    QLabel* m_label = nullptr;
    QString m_defaultName;
};

// Names a target curve.
class MyDialog : public CurveNameDialog
{
    Q_OBJECT

public:
    explicit MyDialog(QWidget* parent);

signals:
    // The chosen name when the dialog is accepted, empty for Cancel.
    void accepted(QString const& text);

public slots:
    void acceptClicked();
    void rejectClicked();
};

// Names a source curve.
class MyDialog3 : public CurveNameDialog
{
    Q_OBJECT

public:
    explicit MyDialog3(QWidget* parent);

signals:
    void accepted3(QString const& text);

public slots:
    void acceptClicked3();
    void rejectClicked3();
};
