#pragma once

#include <QString>
#include <QStringList>

struct StatusBarInfo;

// The main window's texts in both languages. There are no translation files:
// the window's language setter picks one of these tables and writes its texts.
// The language value is the settings record's: 1 English, 0 Chinese; places
// differ in how they treat any other value, hence the three look-ups below.

struct MainWindowTexts
{
    // Menu actions in menu order; the menus' triggered handlers compare
    // against these texts.
    QStringList importActions;
    QStringList exportActions;
    QStringList helpActions;
    QString importTip, importText;
    QString exportTip, exportText;
    QString helpTip, helpText;
    QString targetCaption;  // label_40
    QString sourceCaption;  // label_41
    QString targetSwitch, sourceSwitch, eachSwitch, combinedSwitch, filteredSwitch;
    QString rawSwitch, compensatedSwitch;
    QString preampLabel, preampGainLabel;
    QString sourcePlaceholder, targetPlaceholder;
    QString trayShow, trayExit;
    // Band rows: the five filter types, the two frequency captions, gain and Q labels.
    QStringList bandTypes;
    QStringList frequencyCaptions;
    QString rowGainLabel, rowQLabel;
};

// 1 English, any other value Chinese.
const MainWindowTexts& mainWindowTexts(int language);

struct StatusTexts
{
    QString device, sample, audioCode;  // placeholders of the status record
    QString disconnected, connected;
    QString settingsTitle;
    QString saveTip;
    QString eqMaxPrefix;  // followed by the band limit and three blanks
    QString deviceEqOn, deviceEqOff, deviceEqOff128;
};

// 1 English, 0 Chinese, nullptr for any other value.
const StatusTexts* statusTexts(int language);

// The "local preset does not apply" hint: Chinese for 0, English otherwise.
QString localConfigHint(int language);

// "   EQ Max NUM:10   " and its Chinese twin.
QString eqMaxText(const StatusTexts& t, int eqMax);

// The device-EQ status text for a device EQ state code.
QString deviceEqText(const StatusTexts& t, int deviceEqStatus);

// True when the record's connection text is the connected one of either language.
bool isConnectedText(const QString& connectState);

// Puts the record's texts into a language. Disconnected, every placeholder and
// the connection text take the language's words. Connected, only the
// placeholders and the connection text change: a sample rate or stream format
// the device reported stays, because the stream lock reads them. Values other
// than 0 and 1 leave the record alone.
void applyLanguageToStatus(StatusBarInfo& record, int language);
