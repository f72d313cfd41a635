#include "io/curve_name_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "app/mainwindow.h"
#include "app/palette.h"
#include "io/io_texts.h"
#include "store/settings.h"
#include "widgets/shared_style.h"
#include "workspace/preset_names.h"

namespace {

// Curve names are shorter than preset names; the allowed characters are the same.
constexpr int kMaxNameLength = 6;

const char* const kDialogSheet = "QDialog {color: " QV_TEXT ";border: 1px solid " QV_DARK_GREY ";}";
const char* const kLabelSheet
    = "background-color: " QV_DARK_GREY "; font-size: 14px; color: " QV_TEXT ";";
const char* const kLineEditSheet = "QLineEdit {border: 1px solid " QV_TEXT ";color: " QV_TEXT ";}";

} // namespace

CurveNameDialog::CurveNameDialog(QWidget* parent, const QString& defaultName)
    : QDialog(parent)
    , m_defaultName(defaultName)
{
    setModal(true);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFixedSize(180, 100);
    setStyleSheet(kDialogSheet);
    setWindowTitle(QStringLiteral("Quorvel"));

    auto* layout = new QGridLayout(this);
    layout->setSpacing(6);
    layout->setContentsMargins(8, 4, 8, 2);

    m_label = new QLabel(this);
    m_label->setFixedHeight(20);
    m_label->setStyleSheet(kLabelSheet);
    lineEdit = new QLineEdit(this);
    lineEdit->setFixedHeight(25);
    lineEdit->setStyleSheet(kLineEditSheet);
    lineEdit->setMaxLength(kMaxNameLength);
    lineEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(presetNamePattern()), lineEdit));
    for (QWidget* w : { static_cast<QWidget*>(m_label), static_cast<QWidget*>(lineEdit) }) {
        QFont font = w->font();
        font.setPointSizeF(13.0 * adjustFontSize());
        w->setFont(font);
    }

    okButton = new QPushButton(this);
    cancelButton = new QPushButton(this);
    for (QPushButton* b : { okButton, cancelButton }) {
        b->setFixedHeight(25);
        b->setStyleSheet(SharedSheet::nameDialogButton);
    }

    layout->addWidget(m_label, 0, 0, 1, 2);
    layout->addWidget(lineEdit, 1, 0, 1, 2);
    layout->addWidget(okButton, 2, 0);
    layout->addWidget(cancelButton, 2, 1);

    const NameDialogTexts texts = curveNameDialogTexts(sysSetValue.Language);
    m_label->setText(texts.prompt);
    okButton->setText(texts.ok);
    cancelButton->setText(texts.cancel);
}

QString CurveNameDialog::chosenName() const
{
    const QString text = lineEdit->text();
    return text.isEmpty() ? m_defaultName : text;
}

// OK and an accept from anywhere else deliver the name the same way.
MyDialog::MyDialog(QWidget* parent)
    : CurveNameDialog(parent, QStringLiteral("target"))
{
    connect(okButton, &QPushButton::clicked, this, &MyDialog::acceptClicked);
    connect(cancelButton, &QPushButton::clicked, this, &MyDialog::rejectClicked);
    connect(this, &QDialog::accepted, this, [this] { emit accepted(chosenName()); });
}

void MyDialog::acceptClicked() { accept(); }

void MyDialog::rejectClicked()
{
    emit accepted(QString());
    reject();
}

MyDialog3::MyDialog3(QWidget* parent)
    : CurveNameDialog(parent, QStringLiteral("source"))
{
    connect(okButton, &QPushButton::clicked, this, &MyDialog3::acceptClicked3);
    connect(cancelButton, &QPushButton::clicked, this, &MyDialog3::rejectClicked3);
    connect(this, &QDialog::accepted, this, [this] { emit accepted3(chosenName()); });
}

void MyDialog3::acceptClicked3() { accept(); }

void MyDialog3::rejectClicked3()
{
    emit accepted3(QString());
    reject();
}
