// Dates as the language keeps them: days since 30 December 1899, the fraction the time of day.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tvsk::script
{

struct CivilTime
{
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

// Whole years 100..9999, as the language accepts.
constexpr double MinDate = -657434.0;
constexpr double MaxDate = 2958465.99999;

// Months and days outside their range carry into the next unit (month 13 is January of the next year).
double SerialDate(int year, int month, int day);
double SerialTime(int hour, int minute, int second);
CivilTime Civil(double date);
// 1 = Sunday.
int WeekdayOf(double date);
// The local time now.
double Now();
// "1/2/2000", "1:05:00 PM", or both; time 0 gives the date alone, date 0 the time alone.
std::string FormatDate(double date);
std::string FormatLongDate(double date);
std::string FormatShortTime(double date);
std::string FormatLongTime(double date);
std::string FormatShortDate(double date);
// A date or time as the language reads it ("1/2/2000", "2000-01-02", "Jan 2, 2000", "13:05", "1:05 PM"):
// day and month in the locale's order, or month first for a date literal (usOrder).
std::optional<double> ParseDate(std::u16string_view text, bool usOrder = false);
const char* MonthName(int month, bool abbreviate);
const char* WeekdayName(int weekday, bool abbreviate);

} // namespace tvsk::script
