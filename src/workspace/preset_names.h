#pragma once

// The widget-free rules of the preset panel: button names and texts, the
// distinct-name rule, the slot label of the numbered style, the name pattern
// of the name edits and the device's slot limit.

#include <QString>
#include <QStringList>

#include <functional>

// "RadioButton_" + radio index (0..99 local, 100 + slot device).
QString radioObjectName(int radioIndex);
// The number after the last "_"; 0 when there is none or it does not fit an int.
int radioIndexOf(const QString& objectName);

// Button texts take "&" as a shortcut mark; "&&" shows one "&".
QString doubledAmpersands(const QString& text);
QString singleAmpersands(const QString& text);

// Appends "(1)" to `candidate` for each table entry it equals, and after each
// such hit once more for every entry it then equals (one pass). Not cut.
QString distinctName(QString candidate, const QStringList& names);

// Horizontal advance of a text in the button's font, in pixels.
using TextWidth = std::function<int(const QString&)>;
constexpr int kSlotLabelElideWidth = 185;
// The visible label of a numbered slot button: "EQ" + number + ":" + name,
// whole while narrower than 186 pixels, else cut at the right with an
// ellipsis to fit 185 pixels.
QString numberedSlotLabel(int number, const QString& name, const TextWidth& width);
// The same as a button text ("&" doubled, so the label shows as given).
QString numberedSlotText(int number, const QString& name, const TextWidth& width);

// Pattern of the name dialogs and name edits (15 characters at most).
QString presetNamePattern();
constexpr int kPresetNameMaxLength = 15;

// When a new device slot cannot be made. `numbered` is execute_biaozhi,
// `userSlots` device_config_count, `factoryListed` whether the factory
// presets fill slots 5-9 in the list.
struct SlotLimit
{
    bool reached = false;
    bool overwrite = false; // the three-slot models: choose a slot to overwrite
};
SlotLimit slotLimit(
    bool numbered, int userSlots, const QString& tag, const QString& model, bool factoryListed);
bool isThreeSlotModel(const QString& model);
