#include "workspace/mydialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "app/palette.h"
#include "store/settings.h"
#include "widgets/shared_style.h"
#include "workspace/preset_names.h"

namespace {

const char* const kDialogSheet = "QDialog {color: " QV_TEXT ";background-color: " QV_DARK_GREY
                                 ";border: 1px solid " QV_DARK_GREY ";}";
const char* const kLabelSheet = "background-color: " QV_DARK_GREY "; color: " QV_TEXT
                                "; font-size: 14px; color: " QV_TEXT ";";
const char* const kEditSheet = "QLineEdit {border: 1px solid " QV_TEXT ";color: " QV_TEXT
                               ";background-color: " QV_DARK_GREY "; }";

} // namespace

PresetNameDialog::PresetNameDialog(QWidget* parent)
    : QDialog(parent)
    , m_label(new QLabel(QStringLiteral("请输入名字："), this))
    , m_edit(new QLineEdit(this))
    , m_ok(new QPushButton(QStringLiteral("确定"), this))
    , m_cancel(new QPushButton(QStringLiteral("取消"), this))
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFixedSize(180, 100);
    setStyleSheet(QString::fromLatin1(kDialogSheet));
    setWindowTitle(QStringLiteral("Quorvel"));

    auto* grid = new QGridLayout(this);
    grid->setSpacing(6);
    grid->setContentsMargins(8, 4, 8, 2);
    m_label->setStyleSheet(QString::fromLatin1(kLabelSheet));
    m_label->setFixedHeight(20);
    m_edit->setStyleSheet(QString::fromLatin1(kEditSheet));
    m_edit->setFixedHeight(25);
    m_edit->setMaxLength(kPresetNameMaxLength);
    m_edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(presetNamePattern()), m_edit));
    for (QPushButton* b : { m_ok, m_cancel }) {
        b->setStyleSheet(QString::fromLatin1(SharedSheet::nameDialogButton));
        b->setFixedHeight(25);
    }
    grid->addWidget(m_label, 0, 0, 1, 2);
    grid->addWidget(m_edit, 1, 0, 1, 2);
    grid->addWidget(m_ok, 2, 0);
    grid->addWidget(m_cancel, 2, 1);

    if (sysSetValue.Language == 1) {
        m_label->setText(QStringLiteral("Enter your name:"));
        m_ok->setText(QStringLiteral("OK"));
        m_cancel->setText(QStringLiteral("Cancel"));
    } else if (sysSetValue.Language == 0) {
        m_ok->setText(QStringLiteral("确认"));
    }

    connect(m_ok, &QPushButton::clicked, this, &PresetNameDialog::acceptClicked);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PresetNameDialog::acceptClicked()
{
    emit accepted(m_edit->text());
    accept();
}
