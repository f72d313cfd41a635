// The update window's form, its three result states and its placement. The
// download and installation are in checkupdata_download.cpp.

#include "settings/checkupdata.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

#include "settings/settings_style.h"
#include "settings/window_centre.h"
#include "store/settings.h"
#include "widgets/globalfont.h"
#include "widgets/textfit.h"

namespace {

// The update window speaks Chinese only for Language 0.
bool chinese() { return sysSetValue.Language == 0; }

QLabel* statusLine(QWidget* parent, const char* name, const QRect& place)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setStyleSheet(QLatin1String(SettingsSheet::updateStatusLine));
    return label;
}

} // namespace

CHECKUPDATA::CHECKUPDATA(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CHECKUPDATA"));
    // A dialog with a title and a close button only.
    setWindowFlags(
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(460, 200);
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QLatin1String(SettingsSheet::updateWindow));

    label_Head1 = new QLabel(this);
    label_Head1->setObjectName(QStringLiteral("label_Head1"));
    label_Head1->setGeometry(15, 10, 231, 31);
    label_Head1->setStyleSheet(QLatin1String(SettingsSheet::updateHeading));
    // The heading borrows the application font at 16 px; the global font is
    // left as it was for its other users.
    gFont.save();
    gFont.setPixelSize(16);
    label_Head1->setFont(gFont.font());
    gFont.restore();

    label_Version = statusLine(this, "label_Version", { 30, 60, 400, 25 });
    label_UpVersion = statusLine(this, "label_UpVersion", { 30, 100, 400, 25 });

    pushButton_Update = new QPushButton(this);
    pushButton_Update->setObjectName(QStringLiteral("pushButton_Update"));
    pushButton_Update->setGeometry(28, 140, 131, 40);
    pushButton_Update->setStyleSheet(QLatin1String(SettingsSheet::updateButton));
    pushButton_Update->setText(chinese() ? QStringLiteral("更新") : QStringLiteral("Update"));

    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setGeometry(30, 140, 401, 16);
    progressBar->setTextVisible(false);
    progressBar->setStyleSheet(QLatin1String(SettingsSheet::progressBar));
    progressBar->hide();

    label_Progress = new QLabel(this);
    label_Progress->setObjectName(QStringLiteral("label_Progress"));
    label_Progress->setGeometry(80, 160, 301, 21);
    label_Progress->setAlignment(Qt::AlignCenter);
    label_Progress->setStyleSheet(QLatin1String(SettingsSheet::updateStatusLine));
    label_Progress->hide();

    setTitles();
    QMetaObject::connectSlotsByName(this);
}

void CHECKUPDATA::setTitles()
{
    setWindowTitle(chinese() ? QStringLiteral("检查更新") : QStringLiteral("Check for updates"));
    label_Head1->setText(
        chinese() ? QStringLiteral("软件更新") : QStringLiteral("Software update"));
}

void CHECKUPDATA::setStatusLines(const QString& current, const QString& second)
{
    m_current = current;
    setTitles();
    label_Version->setText(
        (chinese() ? QStringLiteral("当前版本：") : QStringLiteral("Current version：")) + current);
    label_UpVersion->setText(second);
    pushButton_Update->setText(chinese() ? QStringLiteral("更新") : QStringLiteral("Update"));
    widenPlacedToText(this);
}

void CHECKUPDATA::setUpdateEnabled(bool enabled)
{
    pushButton_Update->setEnabled(enabled);
    pushButton_Update->setStyleSheet(
        QLatin1String(enabled ? SettingsSheet::updateButton : SettingsSheet::updateButtonDisabled));
}

void CHECKUPDATA::ConnectFailedUI(QString current)
{
    setStatusLines(current,
        chinese() ? QStringLiteral("连接失败，请重试或者手动更新")
                  : QStringLiteral("Connection failed, please try again or manually update"));
    setUpdateEnabled(false);
}

void CHECKUPDATA::installUnavailableUI(QString current)
{
    // Only characters the embedded font holds.
    setStatusLines(current,
        chinese() ? QStringLiteral("本系统不支持自动更新，请手动更新")
                  : QStringLiteral("No automatic install on this system, update manually"));
    setUpdateEnabled(false);
}

void CHECKUPDATA::NoupdateUI(QString current)
{
    setStatusLines(current,
        chinese() ? QStringLiteral("当前为最新版本")
                  : QStringLiteral("Currently the latest version"));
    setUpdateEnabled(false);
}

void CHECKUPDATA::updateUI(QString current, QString latest, QString noteCh, QString noteEn)
{
    // The release notes travel with the manifest but are not shown.
    Q_UNUSED(noteCh)
    Q_UNUSED(noteEn)
    setStatusLines(current,
        (chinese() ? QStringLiteral("可更新版本:") : QStringLiteral("Updatable version:"))
            + latest);
    setUpdateEnabled(true);
    // After a failed download the next offer lets the user try again; a
    // download still running keeps its own look.
    if (!m_reply)
        pushButton_Update->show();
}

void CHECKUPDATA::setUrl(QString url) { m_url = url; }

void CHECKUPDATA::closeEvent(QCloseEvent* event)
{
    hide();
    event->ignore();
}

void CHECKUPDATA::showEvent(QShowEvent* event)
{
    // The window system places the first showing; later ones sit on the parent.
    if (++m_showings > 1)
        centreOnParentLater(this);
    QWidget::showEvent(event);
}
