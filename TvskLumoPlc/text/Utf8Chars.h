// The editor's text is UTF-8, as the instruction-list reader and the data files take it: positions
// are byte offsets that stand on a character's first byte, and a character fills one column.
#pragma once

#include <string>
#include <string_view>

namespace tvsk::text
{

constexpr bool IsContinuation(char c) noexcept
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The start of the character after the one at `at`; a stray continuation byte is a character of its own.
constexpr int NextChar(std::string_view text, int at) noexcept
{
    const int size = static_cast<int>(text.size());
    if (at >= size)
        return size;
    const bool lead = (static_cast<unsigned char>(text[static_cast<size_t>(at)]) & 0xC0) == 0xC0;
    ++at;
    for (int follow = 0; lead && follow < 3 && at < size && IsContinuation(text[static_cast<size_t>(at)]);
         ++follow)
        ++at;
    return at;
}

// The start of the character before `at`.
constexpr int PrevChar(std::string_view text, int at) noexcept
{
    if (at <= 0)
        return 0;
    int start = at - 1;
    for (int back = 0; back < 3 && start > 0 && IsContinuation(text[static_cast<size_t>(start)]); ++back)
        --start;
    return NextChar(text, start) == at ? start : at - 1;
}

// The start of the character that holds the byte at `at` (the text's size from its end on).
constexpr int CharStart(std::string_view text, int at) noexcept
{
    if (at >= static_cast<int>(text.size()))
        return static_cast<int>(text.size());
    int start = 0;
    for (int next = NextChar(text, 0); next <= at; next = NextChar(text, next))
        start = next;
    return start;
}

// How many characters the text holds.
constexpr int CharCount(std::string_view text) noexcept
{
    int count = 0;
    for (int at = 0; at < static_cast<int>(text.size()); at = NextChar(text, at))
        ++count;
    return count;
}

// The byte offset after `count` characters from `at` (the text's size when it ends before).
constexpr int AdvanceChars(std::string_view text, int at, int count) noexcept
{
    for (; count > 0 && at < static_cast<int>(text.size()); --count)
        at = NextChar(text, at);
    return at;
}

// A typed character as UTF-8; empty for a surrogate half or a value beyond Unicode.
inline std::string Utf8Of(char32_t ch)
{
    std::string out;
    if (ch < 0x80)
        out += static_cast<char>(ch);
    else if (ch < 0x800)
    {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
    else if (ch < 0x10000)
    {
        if (ch >= 0xD800 && ch < 0xE000)
            return out;
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
    else if (ch < 0x110000)
    {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
    return out;
}

} // namespace tvsk::text
