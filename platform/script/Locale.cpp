// Locales: the date and number formats of the ones SetLocale knows.
#include "Locale.h"

#include "Ast.h"

namespace tvsk::script
{

namespace
{
using Order = Locale::DateOrder;
const char* const Nbsp = "\xC2\xA0";

const Locale Locales[] = {
    {1033, u"en-us", u"en", Order::MonthDayYear, "/", false, false, false, ".", ","},
    {2057, u"en-gb", nullptr, Order::DayMonthYear, "/", true, true, true, ".", ","},
    {3081, u"en-au", nullptr, Order::DayMonthYear, "/", false, false, false, ".", ","},
    {4105, u"en-ca", nullptr, Order::DayMonthYear, "/", true, false, false, ".", ","},
    {1031, u"de-de", u"de", Order::DayMonthYear, ".", true, true, true, ",", "."},
    {3079, u"de-at", nullptr, Order::DayMonthYear, ".", true, true, true, ",", "."},
    {2055, u"de-ch", nullptr, Order::DayMonthYear, ".", true, true, true, ".", "'"},
    {1036, u"fr-fr", u"fr", Order::DayMonthYear, "/", true, true, true, ",", Nbsp},
    {1040, u"it-it", u"it", Order::DayMonthYear, "/", true, true, false, ",", "."},
    {3082, u"es-es", u"es", Order::DayMonthYear, "/", true, true, false, ",", "."},
    {1043, u"nl-nl", u"nl", Order::DayMonthYear, "-", false, true, false, ",", "."},
    {1053, u"sv-se", u"sv", Order::YearMonthDay, "-", true, true, true, ",", Nbsp},
    {1030, u"da-dk", u"da", Order::DayMonthYear, "-", true, true, true, ",", "."},
    {1044, u"nb-no", u"nb", Order::DayMonthYear, ".", true, true, true, ",", Nbsp},
    {1035, u"fi-fi", u"fi", Order::DayMonthYear, ".", false, true, false, ",", Nbsp},
    {1045, u"pl-pl", u"pl", Order::DayMonthYear, ".", true, true, false, ",", Nbsp},
    {1046, u"pt-br", u"pt", Order::DayMonthYear, "/", true, true, true, ",", "."},
    {1049, u"ru-ru", u"ru", Order::DayMonthYear, ".", true, true, false, ",", Nbsp},
    {1041, u"ja-jp", u"ja", Order::YearMonthDay, "/", true, true, false, ".", ","},
    {2052, u"zh-cn", u"zh", Order::YearMonthDay, "/", false, true, false, ".", ","},
    {1042, u"ko-kr", u"ko", Order::YearMonthDay, "-", true, false, false, ".", ","},
};

thread_local const Locale* current = &Locales[0];

void ReplaceAll(std::u16string& s, std::u16string_view from, char16_t to)
{
    for (size_t at = s.find(from); at != std::u16string::npos; at = s.find(from, at + 1))
        s.replace(at, from.size(), 1, to);
}
} // namespace

const Locale& CurrentLocale() noexcept
{
    return *current;
}

void SetCurrentLocale(const Locale& locale) noexcept
{
    current = &locale;
}

const Locale& DefaultLocale() noexcept
{
    return Locales[0];
}

const Locale* FindLocale(long id) noexcept
{
    if (id == 0 || id == 1024 || id == 2048)
        return &Locales[0];
    for (const Locale& l : Locales)
        if (l.id == id)
            return &l;
    return nullptr;
}

const Locale* FindLocale(std::u16string_view tag) noexcept
{
    const std::u16string lower = Lower(tag);
    for (const Locale& l : Locales)
        if (lower == l.tag || (l.prefix && lower == l.prefix))
            return &l;
    return nullptr;
}

std::string LocalNumber(std::string text)
{
    const std::string_view decimal = current->decimal;
    if (decimal == ".")
        return text;
    const size_t dot = text.find('.');
    if (dot != std::string::npos)
        text.replace(dot, 1, decimal);
    return text;
}

std::u16string CanonicalNumber(std::u16string_view text)
{
    std::u16string s(text);
    if (std::string_view(current->decimal) == ".")
        return s;
    // Swap the roles: the locale's grouping becomes ",", its decimal separator ".".
    std::u16string thousands = com::Utf16FromUtf8(current->thousands);
    const char16_t placeholder = 0xFFFF;
    ReplaceAll(s, thousands, placeholder);
    ReplaceAll(s, com::Utf16FromUtf8(current->decimal), u'.');
    ReplaceAll(s, std::u16string(1, placeholder), u',');
    return s;
}

} // namespace tvsk::script
