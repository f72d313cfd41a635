#pragma once

// The slot chooser of the three-slot models: a question above "config 1",
// "config 2", "config 3" and "Cancel". One chooser is reused for the
// workspace's whole life; the caller runs it and reads selectedButton().

#include <QDialog>

class QLabel;
class QPushButton;

class CustomDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CustomDialog(QWidget* parent = nullptr);

    // 1 English, 0 Chinese; any other value keeps the texts.
    void setlanguage(int language);
    // 0, 1, 2 for the slot buttons, 3 for Cancel or a window closed.
    int selectedButton() const;

signals:
    void button1Clicked();
    void button2Clicked();
    void button3Clicked();
    void cancelClicked();

protected:
    // Every use starts as Cancel, so closing the window never repeats an
    // earlier answer.
    void showEvent(QShowEvent* event) override;

private slots:
    void onButton1Clicked();
    void onButton2Clicked();
    void onButton3Clicked();
    void onCancelClicked();

private:
    void choose(int choice);

    int m_choice = 3;
    QLabel* m_question;
    QPushButton* m_slots[3];
    QPushButton* m_cancel;
};
