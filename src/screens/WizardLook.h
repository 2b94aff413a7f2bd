#pragma once
// Pieces the wizard pages and the personal data screen share: the hint text, the transparent input fields,
// Enter that does nothing, and the rows of their lists (bold black, the chosen one white on grey).

#include "screens/ScreenGeometry.h"
#include "screens/TLabel.h"

class QEvent;
class QWidget;
class TTransEdit;

// A transparent edit in black 16-pixel Arial over the light field painted into the skin.
TTransEdit* AddTransField(QWidget* panel, const Geometry::ControlRect& rect);
// Whether the event is a press of Return or Enter.
bool IsEnterKey(const QEvent* event);

// A list row: "MS Sans Serif" 10 point bold, hand cursor, reacting to clicks (the screen filters its events).
TLabel* AddListLabel(QWidget* panel, const Geometry::ControlRect& rect, const QString& caption);
// White on grey when chosen, black on the skin otherwise.
void SetListLabelChosen(TLabel* label, bool chosen);
