// Date arithmetic, formatting and reading.
#include "DateTime.h"

#include "Locale.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

namespace tvsk::script
{

namespace
{

// Days from 1970-01-01 of a proleptic Gregorian date.
long long DaysFromCivil(long long y, long long m, long long d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

constexpr long long Epoch1899 = -25569; // 1899-12-30 from 1970-01-01

const char* const MonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};
const char* const MonthShort[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const DayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const DayShort[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

// Whole seconds of the day, rounded, and the day they belong to.
void Split(double date, long long& day, long long& seconds)
{
    double whole = std::trunc(date);
    double fraction = std::fabs(date - whole);
    seconds = std::llround(fraction * 86400.0);
    day = static_cast<long long>(whole);
    if (seconds >= 86400)
    {
        seconds -= 86400;
        day += date < 0 ? -1 : 1;
    }
}

} // namespace

double SerialDate(int year, int month, int day)
{
    long long y = year;
    if (y >= 0 && y < 30)
        y += 2000;
    else if (y >= 30 && y < 100)
        y += 1900;
    long long m = month - 1;
    y += m >= 0 ? m / 12 : -((11 - m) / 12);
    m = ((m % 12) + 12) % 12;
    const long long days = DaysFromCivil(y, m + 1, 1) + (day - 1) - Epoch1899;
    return static_cast<double>(days);
}

double SerialTime(int hour, int minute, int second)
{
    return (static_cast<double>(hour) * 3600 + static_cast<double>(minute) * 60 + second) / 86400.0;
}

CivilTime Civil(double date)
{
    long long day = 0, seconds = 0;
    Split(date, day, seconds);
    CivilTime t;
    CivilFromDays(day + Epoch1899, t.year, t.month, t.day);
    t.hour = static_cast<int>(seconds / 3600);
    t.minute = static_cast<int>(seconds / 60 % 60);
    t.second = static_cast<int>(seconds % 60);
    return t;
}

int WeekdayOf(double date)
{
    long long day = 0, seconds = 0;
    Split(date, day, seconds);
    // 1899-12-30 was a Saturday (7).
    return static_cast<int>(((day + 6) % 7 + 7) % 7) + 1;
}

double Now()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return SerialDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           SerialTime(local.tm_hour, local.tm_min, local.tm_sec);
}

std::string FormatShortDate(double date)
{
    const CivilTime t = Civil(date);
    const Locale& locale = CurrentLocale();
    char day[8], month[8], year[8];
    std::snprintf(day, sizeof day, locale.padDate ? "%02d" : "%d", t.day);
    std::snprintf(month, sizeof month, locale.padDate ? "%02d" : "%d", t.month);
    std::snprintf(year, sizeof year, "%d", t.year);
    const std::string separator = locale.dateSeparator;
    switch (locale.order)
    {
    case Locale::DateOrder::DayMonthYear:
        return day + separator + month + separator + year;
    case Locale::DateOrder::YearMonthDay:
        return year + separator + month + separator + day;
    default:
        return month + separator + day + separator + year;
    }
}

std::string FormatLongDate(double date)
{
    const CivilTime t = Civil(date);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s, %s %02d, %d", DayNames[WeekdayOf(date) - 1], MonthNames[t.month - 1],
                  t.day, t.year);
    return buf;
}

std::string FormatLongTime(double date)
{
    const CivilTime t = Civil(date);
    char buf[32];
    const Locale& locale = CurrentLocale();
    if (locale.hours24)
    {
        std::snprintf(buf, sizeof buf, locale.padHour ? "%02d:%02d:%02d" : "%d:%02d:%02d", t.hour, t.minute,
                      t.second);
        return buf;
    }
    const int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d %s", h12, t.minute, t.second, t.hour < 12 ? "AM" : "PM");
    return buf;
}

std::string FormatShortTime(double date)
{
    const CivilTime t = Civil(date);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d", t.hour, t.minute);
    return buf;
}

std::string FormatDate(double date)
{
    long long day = 0, seconds = 0;
    Split(date, day, seconds);
    // Day zero shows as a time alone, midnight included.
    if (day == 0)
        return FormatLongTime(date);
    if (seconds == 0)
        return FormatShortDate(date);
    return FormatShortDate(date) + " " + FormatLongTime(date);
}

const char* MonthName(int month, bool abbreviate)
{
    return (abbreviate ? MonthShort : MonthNames)[month - 1];
}
const char* WeekdayName(int weekday, bool abbreviate)
{
    return (abbreviate ? DayShort : DayNames)[weekday - 1];
}

namespace
{

struct Token
{
    enum Kind
    {
        Number,
        Word,
        Sep
    } kind;
    int value = 0;
    int digits = 0;
    std::string word;
    char sep = 0;
};

int MonthFromWord(const std::string& w)
{
    if (w.size() < 3)
        return 0;
    for (int i = 0; i < 12; ++i)
    {
        std::string full = MonthNames[i];
        bool match = w.size() <= full.size();
        for (size_t k = 0; match && k < w.size(); ++k)
            match = std::tolower(static_cast<unsigned char>(full[k])) == w[k];
        if (match)
            return i + 1;
    }
    return 0;
}

bool DayWord(const std::string& w)
{
    for (const char* d : DayNames)
    {
        std::string full = d;
        bool match = w.size() >= 3 && w.size() <= full.size();
        for (size_t k = 0; match && k < w.size(); ++k)
            match = std::tolower(static_cast<unsigned char>(full[k])) == w[k];
        if (match)
            return true;
    }
    return false;
}

bool ValidDay(int y, int m, int d)
{
    if (m < 1 || m > 12 || d < 1 || y < 0 || y > 9999)
        return false;
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d > days[m - 1])
        return false;
    if (m == 2 && d == 29)
    {
        int yy = y < 30 ? y + 2000 : y < 100 ? y + 1900 : y;
        return (yy % 4 == 0 && yy % 100 != 0) || yy % 400 == 0;
    }
    return true;
}

} // namespace

std::optional<double> ParseDate(std::u16string_view text, bool usOrder)
{
    // A day before its month as the locale writes dates, unless the text is a date literal.
    const bool dayFirst = !usOrder && CurrentLocale().order == Locale::DateOrder::DayMonthYear;
    std::vector<Token> tokens;
    for (size_t i = 0; i < text.size();)
    {
        const char16_t c = text[i];
        if (c == ' ' || c == '\t' || c == ',')
        {
            ++i;
            continue;
        }
        if (c >= '0' && c <= '9')
        {
            Token t{Token::Number};
            while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            {
                if (t.digits < 6)
                    t.value = t.value * 10 + (text[i] - '0');
                ++t.digits;
                ++i;
            }
            tokens.push_back(t);
            continue;
        }
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        {
            Token t{Token::Word};
            while (i < text.size() &&
                   ((text[i] >= 'a' && text[i] <= 'z') || (text[i] >= 'A' && text[i] <= 'Z')))
                t.word += static_cast<char>(std::tolower(static_cast<int>(text[i++])));
            tokens.push_back(t);
            continue;
        }
        if (c == '/' || c == '-' || c == ':' || c == '.')
        {
            Token t{Token::Sep};
            t.sep = static_cast<char>(c);
            tokens.push_back(t);
            ++i;
            continue;
        }
        return std::nullopt;
    }
    std::vector<int> dateParts;
    int monthWord = 0;
    bool hasTime = false;
    int timeParts[3] = {0, 0, 0};
    int timeCount = 0;
    int ampm = 0;
    bool yearFirst = false;
    for (size_t i = 0; i < tokens.size(); ++i)
    {
        const Token& t = tokens[i];
        if (t.kind == Token::Number)
        {
            const bool timeNext =
                i + 1 < tokens.size() && tokens[i + 1].kind == Token::Sep && tokens[i + 1].sep == ':';
            const bool wordNext = i + 1 < tokens.size() && tokens[i + 1].kind == Token::Word &&
                                  (tokens[i + 1].word == "am" || tokens[i + 1].word == "pm" ||
                                   tokens[i + 1].word == "a" || tokens[i + 1].word == "p");
            if (timeNext ||
                (hasTime && timeCount < 3 && i > 0 && tokens[i - 1].kind == Token::Sep &&
                 tokens[i - 1].sep == ':') ||
                (wordNext && !hasTime))
            {
                if (timeCount >= 3)
                    return std::nullopt;
                hasTime = true;
                timeParts[timeCount++] = t.value;
                continue;
            }
            if (dateParts.empty() && t.digits >= 3)
                yearFirst = true;
            dateParts.push_back(t.value);
            if (dateParts.size() > 3)
                return std::nullopt;
        }
        else if (t.kind == Token::Word)
        {
            if (t.word == "am" || t.word == "a" || t.word == "pm" || t.word == "p")
            {
                if (!hasTime)
                    return std::nullopt;
                ampm = t.word[0] == 'a' ? 1 : 2;
            }
            else if (int m = MonthFromWord(t.word))
            {
                if (monthWord)
                    return std::nullopt;
                monthWord = m;
            }
            else if (!DayWord(t.word))
                return std::nullopt;
        }
    }
    double result = 0;
    if (monthWord)
    {
        if (dateParts.empty() || dateParts.size() > 2)
            return std::nullopt;
        int day = dateParts[0], year = 0;
        if (dateParts.size() == 2)
            year = dateParts[1];
        else
            year = Civil(Now()).year;
        if (day > 31 && dateParts.size() == 2)
            std::swap(day, year);
        if (!ValidDay(year, monthWord, day))
            return std::nullopt;
        result = SerialDate(year, monthWord, day);
    }
    else if (dateParts.size() == 3)
    {
        int y, m, d;
        if (yearFirst)
            y = dateParts[0], m = dateParts[1], d = dateParts[2];
        else
        {
            m = dateParts[0], d = dateParts[1], y = dateParts[2];
            if (dayFirst)
                std::swap(m, d);
            if (m > 12 && d <= 12)
                std::swap(m, d);
        }
        if (!ValidDay(y, m, d))
            return std::nullopt;
        result = SerialDate(y, m, d);
    }
    else if (dateParts.size() == 2)
    {
        int m = dateParts[0], d = dateParts[1], y = Civil(Now()).year;
        if (dayFirst && d <= 31)
            std::swap(m, d);
        if (m > 12 && d <= 12)
            std::swap(m, d);
        else if (d > 31)
            y = d, d = 1;
        if (!ValidDay(y, m, d))
            return std::nullopt;
        result = SerialDate(y, m, d);
    }
    else if (!dateParts.empty() || (!hasTime && !monthWord))
        return std::nullopt;
    if (hasTime)
    {
        int h = timeParts[0];
        if (ampm)
        {
            if (h < 1 || h > 12)
                return std::nullopt;
            h = h % 12 + (ampm == 2 ? 12 : 0);
        }
        if (h > 23 || timeParts[1] > 59 || timeParts[2] > 59)
            return std::nullopt;
        const double time = SerialTime(h, timeParts[1], timeParts[2]);
        result = result < 0 ? result - time : result + time;
    }
    return result;
}

} // namespace tvsk::script
