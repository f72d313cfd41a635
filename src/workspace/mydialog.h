#pragma once

// The name dialogs of the rename roads: MyDialog1 for local presets,
// MyDialog2 for device slots, alike in look and behaviour. OK emits the
// typed text and accepts; Cancel and closing the window reject.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

class PresetNameDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PresetNameDialog(QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return m_edit; }

signals:
    void accepted(QString const& text);

private slots:
    void acceptClicked();

private:
    QLabel* m_label;
    QLineEdit* m_edit;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

class MyDialog1 : public PresetNameDialog
{
    Q_OBJECT

public:
    explicit MyDialog1(QWidget* parent = nullptr)
        : PresetNameDialog(parent)
    {
    }
};

class MyDialog2 : public PresetNameDialog
{
    Q_OBJECT

public:
    explicit MyDialog2(QWidget* parent = nullptr)
        : PresetNameDialog(parent)
    {
    }
};
