#pragma once

#include <QString>

// Texts of the import and export boxes and of the curve-name dialogs.

struct IoBoxTexts
{
    QString errorTitle;
    QString dataError; // a curve file without usable data, or one that could not be written
    QString listFull; // the curve list holds its 100 entries
    QString refusal; // filters cannot be imported into a factory preset
    QString refusalButton;
    QString question; // import into the current preset or a new one
    QString yes, newConfiguration, cancel;
};

// 1 English; 0 and any other value Chinese, so no box is ever skipped.
const IoBoxTexts& ioBoxTexts(int language);

struct NameDialogTexts
{
    QString prompt, ok, cancel;
};

// 1 English, 0 Chinese; any other value keeps the dialog's built-in texts.
NameDialogTexts curveNameDialogTexts(int language);
