#include "FieldText.h"

#include <framework/LeadingNumber.h>

#include <charconv>
#include <climits>

namespace
{

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool EqualsNoCase(std::string_view text, std::string_view word)
{
    if (text.size() != word.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if ((text[i] | 0x20) != word[i])
            return false;
    return true;
}

} // namespace

namespace FieldText
{

bool ParseInt(std::string_view text, int& value) noexcept
{
    if (!text.empty() && text.front() == '+')
    {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-'))
            return false;
    }
    long long v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < INT_MIN || v > INT_MAX)
        return false;
    value = static_cast<int>(v);
    return true;
}

bool IsDouble(std::string_view text) noexcept
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::string_view word = text.substr(i);
    if (EqualsNoCase(word, "inf") || EqualsNoCase(word, "infinity") || EqualsNoCase(word, "nan"))
        return true;
    int digits = 0;
    while (i < text.size() && IsDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && IsDigit(text[i]); ++i)
            ++digits;
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E'))
    {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (i >= text.size() || !IsDigit(text[i]))
            return false;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
    }
    return i == text.size();
}

int ReadInt(const char* text) noexcept
{
    return text ? tvsk::LeadingInt(text) : 0;
}

double ReadDouble(const char* text) noexcept
{
    return text ? tvsk::LeadingDouble(text) : 0.0;
}

std::string_view WriteDouble(double value, char* buffer) noexcept
{
    const auto [end, ec] = std::to_chars(buffer, buffer + 32, value);
    return std::string_view(buffer, ec == std::errc() ? static_cast<size_t>(end - buffer) : 0);
}

} // namespace FieldText
