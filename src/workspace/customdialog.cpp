#include "workspace/customdialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kCancel = 3;

const char* const kChooserSheet
    = "QDialog { background-color: #f0f0f0; } QLabel { font-size: 14px; color: #ffffff; } "
      "QPushButton { background-color: #000000; border: 1px solid #ccc; border-radius: 4px; "
      "padding: 6px 12px; font-size: 12px; } QPushButton:hover { background-color: #d2d2d2; } "
      "QPushButton:pressed { background-color: #c0c0c0; } QPushButton#%1 { background-color: "
      "#4285f4; color: white; border-color: #3367d6; } QPushButton#%1:hover { background-color: "
      "#3367d6; }";

struct ChooserTexts
{
    const char* question;
    const char* choices[3];
    const char* cancel;
};
const ChooserTexts kEnglish { "Please select which user configuration to import",
    { "config 1", "config 2", "config 3" }, "Cancel" };
const ChooserTexts kChinese { "请选择导入哪一个用户配置", { "配置1", "配置2", "配置3" }, "取消" };

} // namespace

CustomDialog::CustomDialog(QWidget* parent)
    : QDialog(parent)
    , m_question(new QLabel(this))
    , m_cancel(new QPushButton(this))
{
    setMinimumWidth(300);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    m_question->setAlignment(Qt::AlignCenter);
    m_question->setMargin(10);

    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    row->setContentsMargins(10, 10, 10, 10);
    for (QPushButton*& b : m_slots) {
        b = new QPushButton(this);
        row->addWidget(b);
    }
    row->addWidget(m_cancel);
    for (QPushButton* b : { m_slots[0], m_slots[1], m_slots[2], m_cancel })
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->addWidget(m_question);
    column->addLayout(row);
    setlanguage(0);

    // The sheet's two cancel rules name the cancel button, so it carries a name.
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    setStyleSheet(QString::fromLatin1(kChooserSheet).arg(m_cancel->objectName()));

    connect(m_slots[0], &QPushButton::clicked, this, &CustomDialog::onButton1Clicked);
    connect(m_slots[1], &QPushButton::clicked, this, &CustomDialog::onButton2Clicked);
    connect(m_slots[2], &QPushButton::clicked, this, &CustomDialog::onButton3Clicked);
    connect(m_cancel, &QPushButton::clicked, this, &CustomDialog::onCancelClicked);
}

void CustomDialog::setlanguage(int language)
{
    if (language != 0 && language != 1)
        return;
    const ChooserTexts& t = language == 1 ? kEnglish : kChinese;
    m_question->setText(QString::fromUtf8(t.question));
    for (int i = 0; i < 3; ++i)
        m_slots[i]->setText(QString::fromUtf8(t.choices[i]));
    m_cancel->setText(QString::fromUtf8(t.cancel));
}

int CustomDialog::selectedButton() const { return m_choice; }

void CustomDialog::showEvent(QShowEvent* event)
{
    m_choice = kCancel;
    QDialog::showEvent(event);
}

void CustomDialog::choose(int choice)
{
    m_choice = choice;
    switch (choice) {
    case 0:
        emit button1Clicked();
        break;
    case 1:
        emit button2Clicked();
        break;
    case 2:
        emit button3Clicked();
        break;
    default:
        emit cancelClicked();
        break;
    }
    if (choice == kCancel)
        reject();
    else
        accept();
}

void CustomDialog::onButton1Clicked() { choose(0); }
void CustomDialog::onButton2Clicked() { choose(1); }
void CustomDialog::onButton3Clicked() { choose(2); }
void CustomDialog::onCancelClicked() { choose(kCancel); }
