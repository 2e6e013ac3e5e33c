#include "LeadingNumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <locale.h>
#include <string>

namespace
{

// Skips white space and one sign; true when the sign was a minus.
bool SkipBlanksAndSign(std::string_view& text)
{
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r')))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    text.remove_prefix(at);
    return negative;
}

// Overflow or underflow: the C library tells which (infinity or zero) where from_chars does not.
double OutOfRange(std::string_view number)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(std::string(number).c_str(), nullptr, cLocale);
}

} // namespace

namespace tvsk
{

int LeadingInt(std::string_view text) noexcept
{
    const bool negative = SkipBlanksAndSign(text);
    constexpr std::int64_t limit = std::numeric_limits<int>::max();
    std::int64_t value = 0;
    for (const char c : text)
    {
        if (c < '0' || c > '9')
            break;
        value = std::min<std::int64_t>(value * 10 + (c - '0'), limit + 1);
    }
    if (negative)
        return static_cast<int>(-value);
    return static_cast<int>(std::min(value, limit));
}

double LeadingDouble(std::string_view text) noexcept
{
    const bool negative = SkipBlanksAndSign(text);
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        return 0.0;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::invalid_argument)
        return 0.0;
    if (ec == std::errc::result_out_of_range)
        value = OutOfRange(std::string_view(text.data(), static_cast<size_t>(end - text.data())));
    return negative ? -value : value;
}

bool WholeDouble(std::string_view text, double& value) noexcept
{
    const bool negative = SkipBlanksAndSign(text);
    while (!text.empty() && (text.back() == ' ' || (text.back() >= '\t' && text.back() <= '\r')))
        text.remove_suffix(1);
    if (text.empty() || text.front() == '+' || text.front() == '-')
        return false;
    double number = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(number))
        return false;
    value = negative ? -number : number;
    return true;
}

bool WholeDecimal(std::string_view text, double& value)
{
    const size_t separators = static_cast<size_t>(std::count(text.begin(), text.end(), '.')) +
                              static_cast<size_t>(std::count(text.begin(), text.end(), ','));
    if (separators > 1)
        return false;
    std::string point(text);
    std::replace(point.begin(), point.end(), ',', '.');
    return WholeDouble(point, value);
}

} // namespace tvsk
