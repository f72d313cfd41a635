#pragma once
// Labels of fixed width were sized for another desktop's font rendering; with
// this machine's font a text can be wider than its label, which then draws it
// cut off.

class QLabel;
class QString;
class QWidget;

// Widens every label under root whose width limit leaves its text less room
// than the text needs with the label's own font; never narrows one. Call after
// the texts change.
void widenLabelsToText(QWidget* root);

// The same for the labels, check boxes, radio buttons and push buttons placed
// by hand directly in root (no layout places them): one whose text needs more
// room than its place gives grows to the right by what it lacks, keeping its
// left edge, top and height; never narrows. Call after the texts change.
void widenPlacedToText(QWidget* root);

// Shows text as it is (no markup) on one line of label, shortened in the
// middle with an ellipsis where it would not fit, the whole text as the
// label's tooltip. The label keeps its size; call again after it changes.
void showElidedInMiddle(QLabel* label, const QString& text);
