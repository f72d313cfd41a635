#include "workspace/presetbutton.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>

#include <memory>
#include <utility>

#include "store/settings.h"
#include "widgets/modal_seam.h"
#include "workspace/mydialog.h"

PresetButton::PresetButton(QWidget* parent)
    : QRadioButton(parent)
    , m_menu(new QMenu(this))
{
}

void PresetButton::dispose()
{
    hide();
    m_disposed = true;
    if (!m_menuRunning)
        deleteLater();
}

void PresetButton::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

QAction* PresetButton::makeMenuAction(const QString& english, const QString& chinese)
{
    auto* action = new QAction(english, this);
    m_menuTexts.append({ action, english, chinese });
    return action;
}

void PresetButton::openMenu(const QPoint& globalPos, const char* sheet)
{
    const bool en = sysSetValue.Language == 1;
    for (const MenuText& t : m_menuTexts)
        t.action->setText(en ? t.english : t.chinese);
    if (m_menu->styleSheet().isEmpty())
        m_menu->setStyleSheet(QString::fromLatin1(sheet));
    m_menuRunning = true;
    modal::exec(*m_menu, globalPos);
    m_menuRunning = false;
    if (m_disposed)
        deleteLater();
}

QString PresetButton::askName()
{
    m_pendingName.clear();
    openDialog();
    return std::exchange(m_pendingName, QString());
}

void PresetButton::openDialog()
{
    const std::unique_ptr<PresetNameDialog> dialog(makeNameDialog());
    connect(dialog.get(), qOverload<QString const&>(&PresetNameDialog::accepted), this,
        &PresetButton::receiveDialogInput);
    modal::exec(*dialog);
}

void PresetButton::receiveDialogInput(QString const& name) { m_pendingName = name; }
