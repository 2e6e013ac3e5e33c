#include "CString.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace
{

int AsciiLower(unsigned char c) noexcept
{
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}
bool IsBlank(char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

int CString::Compare(const char* other) const noexcept
{
    const int r = std::strcmp(m_s.c_str(), other ? other : "");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const char* other) const noexcept
{
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_s.c_str());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(other ? other : "");
    for (;; ++a, ++b)
    {
        const int ca = AsciiLower(*a), cb = AsciiLower(*b);
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CString(m_s.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const
{
    return Mid(0, count);
}

CString CString::Right(int count) const
{
    count = std::clamp(count, 0, GetLength());
    return Mid(GetLength() - count, count);
}

CString CString::SpanIncluding(const char* chars) const
{
    const size_t n = m_s.find_first_not_of(chars ? chars : "");
    return CString(m_s.substr(0, n));
}

CString CString::SpanExcluding(const char* chars) const
{
    const size_t n = m_s.find_first_of(chars ? chars : "");
    return CString(m_s.substr(0, n));
}

int CString::Find(char ch, int start) const noexcept
{
    if (start < 0 || start >= GetLength())
        return -1;
    const size_t p = m_s.find(ch, static_cast<size_t>(start));
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::Find(const char* sub, int start) const noexcept
{
    if (!sub || start < 0 || start > GetLength())
        return -1;
    const size_t p = m_s.find(sub, static_cast<size_t>(start));
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::ReverseFind(char ch) const noexcept
{
    const size_t p = m_s.rfind(ch);
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::FindOneOf(const char* chars) const noexcept
{
    const size_t p = m_s.find_first_of(chars ? chars : "");
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

CString& CString::MakeUpper()
{
    for (char& c : m_s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return *this;
}

CString& CString::MakeLower()
{
    for (char& c : m_s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_s.begin(), m_s.end());
    return *this;
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}
CString& CString::Trim(const char* chars)
{
    return TrimRight(chars).TrimLeft(chars);
}

CString& CString::TrimLeft()
{
    size_t n = 0;
    while (n < m_s.size() && IsBlank(m_s[n]))
        ++n;
    m_s.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(const char* chars)
{
    m_s.erase(0, std::min(m_s.find_first_not_of(chars ? chars : ""), m_s.size()));
    return *this;
}

CString& CString::TrimLeft(char ch)
{
    const char chars[2] = {ch, 0};
    return TrimLeft(chars);
}

CString& CString::TrimRight()
{
    while (!m_s.empty() && IsBlank(m_s.back()))
        m_s.pop_back();
    return *this;
}

CString& CString::TrimRight(const char* chars)
{
    const size_t p = m_s.find_last_not_of(chars ? chars : "");
    m_s.erase(p == std::string::npos ? 0 : p + 1);
    return *this;
}

CString& CString::TrimRight(char ch)
{
    const char chars[2] = {ch, 0};
    return TrimRight(chars);
}

int CString::Replace(char from, char to)
{
    int n = 0;
    for (char& c : m_s)
        if (c == from)
        {
            c = to;
            ++n;
        }
    return n;
}

int CString::Replace(const char* from, const char* to)
{
    if (!from || !*from)
        return 0;
    const std::string f(from), t(to ? to : "");
    int n = 0;
    for (size_t p = m_s.find(f); p != std::string::npos; p = m_s.find(f, p + t.size()))
    {
        m_s.replace(p, f.size(), t);
        ++n;
    }
    return n;
}

int CString::Remove(char ch)
{
    const size_t before = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
    return static_cast<int>(before - m_s.size());
}

int CString::Insert(int index, char ch)
{
    index = std::clamp(index, 0, GetLength());
    m_s.insert(static_cast<size_t>(index), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const char* text)
{
    index = std::clamp(index, 0, GetLength());
    m_s.insert(static_cast<size_t>(index), text ? text : "");
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index >= 0 && index < GetLength() && count > 0)
        m_s.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

CString CString::Tokenize(const char* delimiters, int& start) const
{
    const std::string delims(delimiters ? delimiters : "");
    if (start < 0 || start >= GetLength())
    {
        start = -1;
        return CString();
    }
    const size_t b = m_s.find_first_not_of(delims, static_cast<size_t>(start));
    if (b == std::string::npos)
    {
        start = -1;
        return CString();
    }
    size_t e = m_s.find_first_of(delims, b);
    if (e == std::string::npos)
        e = m_s.size();
    start = static_cast<int>(std::min(e + 1, m_s.size()));
    return CString(m_s.substr(b, e - b));
}

void CString::FormatV(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n < 0)
    {
        m_s.clear();
        return;
    }
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<size_t>(n));
    m_s = std::move(out);
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const char* format, ...)
{
    CString tail;
    va_list args;
    va_start(args, format);
    tail.FormatV(format, args);
    va_end(args);
    m_s += tail.m_s;
}

char* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_s.resize(static_cast<size_t>(minLength));
    return m_s.data();
}

char* CString::GetBufferSetLength(int length)
{
    m_s.resize(static_cast<size_t>(std::max(length, 0)));
    return m_s.data();
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        newLength = static_cast<int>(std::strlen(m_s.c_str()));
    m_s.resize(static_cast<size_t>(std::min(newLength, GetLength())));
}

CString& CString::CutUtf8(int maxBytes)
{
    m_s.resize(Utf8CutLength(m_s.c_str(), static_cast<size_t>(std::max(maxBytes, 0))));
    return *this;
}

size_t Utf8CutLength(const char* text, size_t maxBytes) noexcept
{
    if (!text)
        return 0;
    const size_t len = strnlen(text, maxBytes + 1);
    if (len <= maxBytes)
        return len;
    size_t cut = maxBytes;
    // Step back over continuation bytes to the lead byte of the character at the cut.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

void CopyTextCut(char* dest, size_t capacity, const char* text) noexcept
{
    if (!dest || capacity == 0)
        return;
    const size_t n = Utf8CutLength(text, capacity - 1);
    if (n)
        std::memmove(dest, text, n);
    dest[n] = '\0';
}

CString FormatString(const char* format, ...)
{
    CString s;
    va_list args;
    va_start(args, format);
    s.FormatV(format, args);
    va_end(args);
    return s;
}
