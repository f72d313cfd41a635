#pragma once

#include <QString>
#include <QStringList>

struct StatusBarInfo;

// The main window's texts in both languages. There are no translation files:
// the window's language setter picks one of these tables and writes its texts.
// The status texts are the one home of the status bar's words: the device
// session, the settings window and the window's own setup read them here.
// The language value is the settings record's: 1 English, 0 Chinese; places
// differ in how they treat any other value, hence the look-ups below.

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
    QString targetCaption; // label_40
    QString sourceCaption; // label_41
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
    QString device, sample, audioCode; // placeholders of the status record
    QString disconnected, connected;
    QString settingsTitle;
    QString saveTip;
    QString eqMaxPrefix; // followed by the band limit and three blanks
    QString deviceEqOn, deviceEqOff, deviceEqOff128;
    QString localConfigInactive; // the local presets do not apply to the attached model
    QString rateUnsupported; // the stream's rate leaves the equaliser unusable
};

// 1 English, 0 Chinese, nullptr for any other value.
const StatusTexts* statusTexts(int language);
// Places differ in which table any other value takes.
const StatusTexts& statusTextsOrEnglish(int language); // 0 Chinese, anything else English
const StatusTexts& statusTextsOrChinese(int language); // 1 English, anything else Chinese

// A status-bar label's text: the value between three blanks on each side.
QString framed(const QString& text);

// The "local preset does not apply" hint: Chinese for 0, English otherwise.
QString localConfigHint(int language);

// "   EQ Max NUM:10   " and its Chinese twin.
QString eqMaxText(const StatusTexts& t, int eqMax);

// The device-EQ status text for a device EQ state code.
QString deviceEqText(const StatusTexts& t, int deviceEqStatus);
// The device-EQ status text once the code has been read as on or off.
QString deviceEqSwitchText(const StatusTexts& t, bool on);

// True when the record's connection text is the connected one of either language.
bool isConnectedText(const QString& connectState);

// True for the sample-rate placeholder of either language (no rate known yet).
bool isSamplePlaceholder(const QString& sampleRate);

// The record with no device: every placeholder and the disconnected text.
void setDisconnectedTexts(StatusBarInfo& record, const StatusTexts& t);

// Puts the record's texts into a language. Disconnected, every placeholder and
// the connection text take the language's words. Connected, only the
// placeholders and the connection text change: a sample rate or stream format
// the device reported stays, because the stream lock reads them. Values other
// than 0 and 1 leave the record alone.
void applyLanguageToStatus(StatusBarInfo& record, int language);
