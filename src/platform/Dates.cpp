#include "platform/Dates.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

const QDate kDayZero(1899, 12, 30);

std::function<double()>& TodaySource()
{
    static std::function<double()> source;
    return source;
}

// One piece of a date format: a field (a run of d, M or y) or literal text.
struct FormatPart {
    QChar field; // 'd', 'M', 'y', or null for literal text
    int width = 0;
    QString literal;
};

std::vector<FormatPart> SplitFormat(const QString& format)
{
    std::vector<FormatPart> parts;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'd' || c == u'M' || c == u'y') {
            qsizetype end = i;
            while (end < format.size() && format[end] == c)
                ++end;
            parts.push_back({c, static_cast<int>(end - i), {}});
            i = end;
            continue;
        }
        if (parts.empty() || !parts.back().field.isNull())
            parts.push_back({});
        if (c == u'\'') {
            const qsizetype close = format.indexOf(u'\'', i + 1);
            const qsizetype end = close < 0 ? format.size() : close;
            parts.back().literal += end == i + 1 ? QString("'") : format.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        parts.back().literal += c;
        ++i;
    }
    return parts;
}

// Reads the digits of a numeric field: at most maxDigits, exactly that many when another field follows at once.
bool ReadNumber(const QString& text, qsizetype& pos, int maxDigits, bool exact, int& value, int& digits)
{
    value = 0;
    digits = 0;
    while (pos < text.size() && digits < maxDigits && text[pos] >= u'0' && text[pos] <= u'9') {
        value = value * 10 + (text[pos].unicode() - u'0');
        ++pos;
        ++digits;
    }
    return digits > 0 && (!exact || digits == maxDigits);
}

// Blanks in the format's literal text may be left out or doubled; everything else must be typed as it stands.
bool MatchLiteral(const QString& text, qsizetype& pos, const QString& literal)
{
    for (const QChar c : literal) {
        if (c.isSpace()) {
            while (pos < text.size() && text[pos].isSpace())
                ++pos;
            continue;
        }
        if (pos >= text.size() || text[pos] != c)
            return false;
        ++pos;
    }
    return true;
}

// A month or weekday name of the locale's language at pos; the month (1 to 12) or the weekday (1 to 7).
int MatchName(const QString& text, qsizetype& pos, bool month, const QLocale& locale)
{
    int best = 0;
    qsizetype bestLength = 0;
    for (int i = 1; i <= (month ? 12 : 7); ++i) {
        for (QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
            const QString name = month ? locale.monthName(i, type) : locale.dayName(i, type);
            if (name.size() > bestLength && text.mid(pos, name.size()).compare(name, Qt::CaseInsensitive) == 0) {
                best = i;
                bestLength = name.size();
            }
        }
    }
    pos += bestLength;
    return best;
}

int WindowedYear(int twoDigits, int currentYear)
{
    const int low = currentYear - 79;
    return low + ((twoDigits - low) % 100 + 100) % 100;
}

struct DateFields {
    int day = 0;
    int month = 0;
    int year = 0;
    int weekday = 0; // 0 when the text names none
};

// How a year may be typed: with one to four digits (one or two taken in the window around the current year),
// or with exactly four.
enum class YearDigits { Windowed, Four };

struct ReadRules {
    QLocale locale;
    int currentYear = 0;
    YearDigits years = YearDigits::Windowed;
};

bool ReadYear(const QString& text, qsizetype& pos, const FormatPart& part, bool exact, const ReadRules& rules,
              DateFields& date)
{
    int value = 0;
    int digits = 0;
    if (!ReadNumber(text, pos, exact ? part.width : 4, exact, value, digits) || digits == 3)
        return false;
    if (rules.years == YearDigits::Four && digits != 4)
        return false;
    date.year = digits <= 2 && rules.years == YearDigits::Windowed ? WindowedYear(value, rules.currentYear) : value;
    return true;
}

bool ReadField(const QString& text, qsizetype& pos, const FormatPart& part, bool exact, const ReadRules& rules,
               DateFields& date)
{
    int value = 0;
    int digits = 0;
    if (part.field == u'y')
        return ReadYear(text, pos, part, exact, rules, date);
    if (part.width >= 3) {
        const int named = MatchName(text, pos, part.field == u'M', rules.locale);
        (part.field == u'M' ? date.month : date.weekday) = named;
        return named != 0;
    }
    if (!ReadNumber(text, pos, exact ? part.width : 2, exact, value, digits))
        return false;
    (part.field == u'd' ? date.day : date.month) = value;
    return true;
}

std::optional<double> ParseWithRules(const QString& text, const QString& format, const ReadRules& rules)
{
    const QString typed = text.trimmed();
    const std::vector<FormatPart> parts = SplitFormat(format);
    DateFields date;
    qsizetype pos = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        const FormatPart& part = parts[i];
        if (part.field.isNull()) {
            if (!MatchLiteral(typed, pos, part.literal))
                return std::nullopt;
            continue;
        }
        const bool fieldFollows = i + 1 < parts.size() && !parts[i + 1].field.isNull();
        if (!ReadField(typed, pos, part, fieldFollows, rules, date))
            return std::nullopt;
    }
    if (pos != typed.size())
        return std::nullopt;
    const QDate day(date.year, date.month, date.day);
    if (date.year == 0 || !day.isValid() || (date.weekday != 0 && date.weekday != day.dayOfWeek()))
        return std::nullopt;
    return static_cast<double>(kDayZero.daysTo(day));
}

// A format with every two-digit year widened to four digits; a run of four is left alone.
QString WithFourDigitYears(QString format) { return format.replace(QRegularExpression("(?<!y)yy(?!y)"), "yyyy"); }

bool NamesTheMonth(const QString& format) { return format.contains(QLatin1String("MMM")); }

// The long form without the weekday and the separator that goes with it: "dddd, d MMMM yyyy" becomes
// "d MMMM yyyy", "yyyy年M月d日dddd" becomes "yyyy年M月d日".
QString WithoutWeekday(const QString& format)
{
    QString result = format;
    result.replace(QRegularExpression("(?<!d)d{3,4}(?!d)[,.\\s]*"), QString());
    return result.trimmed();
}

} // namespace

std::optional<double> ParseDateWithFormat(const std::string& text, const std::string& format, int currentYear)
{
    ReadRules rules{QLocale::system(), currentYear, YearDigits::Windowed};
    return ParseWithRules(QString::fromStdString(text), QString::fromStdString(format), rules);
}

std::vector<std::string> DateInputFormats(const QLocale& locale)
{
    const QString shortForm = WithFourDigitYears(locale.dateFormat(QLocale::ShortFormat));
    const QString longForm = WithFourDigitYears(locale.dateFormat(QLocale::LongFormat));
    const QString numeric = NamesTheMonth(shortForm) ? QStringLiteral("dd.MM.yyyy") : shortForm;
    std::vector<std::string> formats;
    for (const QString& format :
         {numeric, QStringLiteral("yyyy-MM-dd"), WithoutWeekday(longForm), shortForm, longForm}) {
        const std::string text = format.toStdString();
        if (!text.empty() && std::find(formats.begin(), formats.end(), text) == formats.end())
            formats.push_back(text);
    }
    return formats;
}

std::optional<double> ParseDateInput(const std::string& text, const QLocale& locale)
{
    const ReadRules rules{locale, 0, YearDigits::Four};
    const QString typed = QString::fromStdString(text);
    for (const std::string& format : DateInputFormats(locale)) {
        if (const std::optional<double> day = ParseWithRules(typed, QString::fromStdString(format), rules))
            return day;
    }
    return std::nullopt;
}

std::vector<std::string> DateInputExamples(double date, const QLocale& locale)
{
    const QDate day = kDayZero.addDays(static_cast<qint64>(date));
    std::vector<std::string> examples;
    // The first three forms: the numeric one, ISO 8601 and the long one without the weekday.
    const std::vector<std::string> formats = DateInputFormats(locale);
    for (size_t i = 0; i < formats.size() && i < 3; ++i)
        examples.push_back(locale.toString(day, QString::fromStdString(formats[i])).toStdString());
    return examples;
}

double TodayDate()
{
    if (TodaySource())
        return TodaySource()();
    return static_cast<double>(kDayZero.daysTo(QDate::currentDate()));
}

void SetTodaySource(std::function<double()> source) { TodaySource() = std::move(source); }

std::string ShortDateText(double date)
{
    // QDate covers far more than any album needs; anything beyond a few millennia is no date.
    if (!std::isfinite(date) || std::fabs(date) > 3'000'000.0)
        return {};
    const QDate day = kDayZero.addDays(static_cast<qint64>(std::floor(date)));
    QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    // Two-digit years are widened; a run of four is left alone.
    format.replace(QRegularExpression("(?<!y)yy(?!y)"), "yyyy");
    return QLocale::system().toString(day, format).toStdString();
}
