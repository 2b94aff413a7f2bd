#pragma once
// Pieces the wizard pages and the personal data screen share: the question before Escape leaves, the
// transparent input fields, and the rows of their lists (bold black, the chosen one white on grey).

#include "screens/ScreenGeometry.h"
#include "screens/TLabel.h"

#include <cstdint>

class QWidget;
class TTransEdit;

// Asks the question (a help text) with the yes/no pop-up; true (leave) when there is no pop-up to ask with.
bool ConfirmLeaving(int32_t question);
// A transparent edit in black 16-pixel Arial over the light field painted into the skin.
TTransEdit* AddTransField(QWidget* panel, const Geometry::ControlRect& rect);

// A list row: "MS Sans Serif" 10 point bold, hand cursor, reacting to clicks (the screen filters its events).
TLabel* AddListLabel(QWidget* panel, const Geometry::ControlRect& rect, const QString& caption);
// White on grey when chosen, black on the skin otherwise.
void SetListLabelChosen(TLabel* label, bool chosen);
