#include "screens/DateEntry.h"

#include "platform/Dates.h"
#include "platform/Text.h"
#include "screens/DataIndexes.h"
#include "screens/SkinService.h"
#include "screens/SkinnedScreen.h"
#include "screens/TImage.h"
#include "screens/TLabel.h"
#include "screens/TTransEdit.h"

#include <QCalendarWidget>
#include <QPalette>

#include <string>
#include <vector>

namespace {

const QDate kDayZero(1899, 12, 30);

} // namespace

QString DateEntry::Examples(double date)
{
    const std::vector<std::string> examples = DateInputExamples(date);
    QString text;
    for (size_t i = 0; i < examples.size(); ++i) {
        if (i > 0)
            text += i + 1 == examples.size() ? QStringLiteral(" or ") : QStringLiteral(", ");
        text += QString::fromStdString(examples[i]);
    }
    return text;
}

QString DateEntry::WithExamples(int32_t helpText) { return HelpText(helpText) + " " + Examples(TodayDate()) + "."; }

void ShowDateHint(TLabel* label, int32_t& remembered)
{
    if (remembered == Help::HintDateField)
        return;
    remembered = Help::HintDateField;
    label->SetCaption(DateEntry::WithExamples(Help::HintDateField));
}

DateCalendar::DateCalendar(SkinnedScreen& screen, TTransEdit* field, const Geometry::ControlRect& button,
                           const Geometry::ControlRect& activeButton)
    : QObject(&screen), m_field(field)
{
    m_button = new TImage(screen.Panel(), button, TImage::Role::Button);
    m_activeButton = new TImage(screen.Panel(), activeButton, TImage::Role::Hover);
    screen.AddSkin(m_activeButton, Skin::CalendarActive);
    // A pop-up of the panel, so that it is shown (and scaled) with the panel.
    m_calendar = new QCalendarWidget(screen.Panel());
    m_calendar->setWindowFlags(Qt::Popup);
    m_calendar->setGridVisible(true);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setMinimumDate(QDate(1000, 1, 1));
    m_calendar->setMaximumDate(QDate(9999, 12, 31));
    // The month bar and the chosen day in the skin's warm brown rather than the system's blue.
    QPalette palette = m_calendar->palette();
    palette.setColor(QPalette::Highlight, QColor(0x7a, 0x5c, 0x3a));
    palette.setColor(QPalette::HighlightedText, QColor(0xfb, 0xf6, 0xec));
    m_calendar->setPalette(palette);
    m_calendar->hide();
    for (TImage* image : {m_button, m_activeButton})
        connect(image, &TImage::clicked, this, [this] { Open(); });
    connect(m_button, &TImage::mouseMoved, m_activeButton, &QWidget::show);
    connect(m_calendar, &QCalendarWidget::clicked, this, [this](QDate day) { Pick(day); });
    connect(m_calendar, &QCalendarWidget::activated, this, [this](QDate day) { Pick(day); });
}

void DateCalendar::Open()
{
    const std::optional<double> typed = ParseDateInput(FromDisplay(m_field->text()));
    const QDate day = kDayZero.addDays(static_cast<qint64>(typed ? *typed : TodayDate()));
    m_calendar->setSelectedDate(day);
    m_calendar->setCurrentPage(day.year(), day.month());
    m_calendar->adjustSize();
    m_calendar->move(m_button->mapToGlobal(QPoint(m_button->width() + 6, 0)));
    m_calendar->show();
    m_calendar->setFocus();
}

void DateCalendar::Pick(QDate day)
{
    if (day.isValid())
        m_field->setText(ToDisplay(ShortDateText(static_cast<double>(kDayZero.daysTo(day)))));
    Close();
    m_field->setFocus();
}

void DateCalendar::Close() { m_calendar->hide(); }

bool DateCalendar::IsOpen() const { return m_calendar->isVisible(); }

void DateCalendar::HoverAt(int x, int y, const QObject* sender) { HoverShow(x, y, m_activeButton, sender); }
