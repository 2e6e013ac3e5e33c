// The locale SetLocale chooses: how dates and numbers are written and read. The default is US English.
#pragma once

#include <string>
#include <string_view>

namespace tvsk::script
{

struct Locale
{
    enum class DateOrder
    {
        MonthDayYear,
        DayMonthYear,
        YearMonthDay
    };
    long id;                // the locale identifier GetLocale answers
    const char16_t* tag;    // "en-us"
    const char16_t* prefix; // a language alone ("de") names its main locale
    DateOrder order;
    const char* dateSeparator;
    bool padDate;          // "02/01/2000" against "2/1/2000"
    bool hours24;          // "13:05:00" against "1:05:00 PM"
    bool padHour;          // "09:05:00" against "9:05:00"
    const char* decimal;   // UTF-8
    const char* thousands; // UTF-8
};

// The locale of the running script (the thread's), US English until SetLocale chose another.
const Locale& CurrentLocale() noexcept;
void SetCurrentLocale(const Locale& locale) noexcept;
const Locale& DefaultLocale() noexcept;
// By identifier (0 is the default) or by tag ("en-gb", "de"); null when unknown.
const Locale* FindLocale(long id) noexcept;
const Locale* FindLocale(std::u16string_view tag) noexcept;

// A number's text with the locale's decimal separator.
std::string LocalNumber(std::string text);
// A number's text as the locale writes it, turned back into the "1,000.5" form.
std::u16string CanonicalNumber(std::u16string_view text);

} // namespace tvsk::script
