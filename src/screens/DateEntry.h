#pragma once
// The date field of the first wizard page and the personal data screen: the hint shows today's date in the
// forms the field reads, and a calendar button beside the field opens a calendar that writes the picked day
// into the field.

#include "screens/ScreenGeometry.h"

#include <QDate>
#include <QObject>
#include <QString>

#include <cstdint>

class QCalendarWidget;
class TImage;
class TLabel;
class TTransEdit;
class SkinnedScreen;

// The calendar button's active look is Skin::CalendarActive; its passive look is part of the names frame. The
// date field's hint (Help::HintDateField) and the message for a date that cannot be read (Help::DateUnreadable)
// go on with examples of today's date.
namespace DateEntry {
// The date in the forms the field reads: "07.12.2026, 2026-12-07 or 7 December 2026".
QString Examples(double date);
// The hint text (or message) at the index followed by the examples of today's date.
QString WithExamples(int32_t helpText);
} // namespace DateEntry

// Shows the date field's hint (with today's examples) unless it is already shown.
void ShowDateHint(TLabel* label, int32_t& remembered);

class DateCalendar : public QObject {
    Q_OBJECT

public:
    // Adds the button, its active look and the calendar to the screen's panel, beside the field.
    DateCalendar(SkinnedScreen& screen, TTransEdit* field, const Geometry::ControlRect& button,
                 const Geometry::ControlRect& activeButton);

    // Opens the calendar on the field's date, or on today when the field cannot be read.
    void Open();
    // Writes the day into the field as the program shows dates and closes the calendar.
    void Pick(QDate day);
    void Close();
    bool IsOpen() const;
    // Shows the active look while (x, y) of the panel lies on the button.
    void HoverAt(int x, int y, const QObject* sender);

    TImage* Button() const { return m_button; }
    TImage* ActiveButton() const { return m_activeButton; }
    QCalendarWidget* Calendar() const { return m_calendar; }

private:
    TTransEdit* m_field;
    TImage* m_button;
    TImage* m_activeButton;
    QCalendarWidget* m_calendar;
};
