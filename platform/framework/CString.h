// 8-bit string class (UTF-8 in memory and in files) with the operations the code uses.
#pragma once

#include "WinTypes.h"

#include <cstdarg>
#include <ostream>
#include <string>
#include <string_view>

class CString
{
public:
    CString() = default;
    CString(const char* text) : m_s(text ? text : "") {}
    CString(const char* text, int length)
        : m_s(text ? std::string(text, static_cast<size_t>(length < 0 ? 0 : length)) : "")
    {
    }
    CString(char ch, int repeat = 1) : m_s(static_cast<size_t>(repeat < 0 ? 0 : repeat), ch) {}
    CString(std::string text) : m_s(std::move(text)) {}
    CString(std::string_view text) : m_s(text) {}

    int GetLength() const noexcept { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const noexcept { return m_s.empty(); }
    void Empty() noexcept { m_s.clear(); }
    char GetAt(int i) const { return m_s.at(static_cast<size_t>(i)); }
    void SetAt(int i, char ch) { m_s.at(static_cast<size_t>(i)) = ch; }
    char operator[](int i) const { return GetAt(i); }

    operator const char*() const noexcept { return m_s.c_str(); }
    const char* GetString() const noexcept { return m_s.c_str(); }
    const std::string& str() const noexcept { return m_s; }

    CString& operator=(const char* text)
    {
        m_s = text ? text : "";
        return *this;
    }
    CString& operator=(char ch)
    {
        m_s.assign(1, ch);
        return *this;
    }
    CString& operator+=(const CString& s)
    {
        m_s += s.m_s;
        return *this;
    }
    CString& operator+=(const char* s)
    {
        if (s)
            m_s += s;
        return *this;
    }
    CString& operator+=(char ch)
    {
        m_s += ch;
        return *this;
    }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
    friend CString operator+(const CString& a, const char* b)
    {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(const char* a, const CString& b)
    {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(const CString& a, char b)
    {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(char a, const CString& b)
    {
        CString r(a);
        r += b;
        return r;
    }

    friend bool operator==(const CString& a, const CString& b) noexcept { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const char* b) noexcept { return a.Compare(b) == 0; }
    friend bool operator==(const char* a, const CString& b) noexcept { return b.Compare(a) == 0; }
    friend bool operator!=(const CString& a, const CString& b) noexcept { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) noexcept { return !(a == b); }
    friend bool operator!=(const char* a, const CString& b) noexcept { return !(b == a); }
    friend bool operator<(const CString& a, const CString& b) noexcept { return a.m_s < b.m_s; }
    friend bool operator>(const CString& a, const CString& b) noexcept { return b.m_s < a.m_s; }
    friend bool operator<=(const CString& a, const CString& b) noexcept { return !(b.m_s < a.m_s); }
    friend bool operator>=(const CString& a, const CString& b) noexcept { return !(a.m_s < b.m_s); }

    // strcmp / case-insensitive (ASCII) comparison: <0, 0, >0.
    int Compare(const char* other) const noexcept;
    int CompareNoCase(const char* other) const noexcept;
    // Comparison as text in the C locale; the same as Compare here.
    int Collate(const char* other) const noexcept { return Compare(other); }

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString SpanIncluding(const char* chars) const;
    CString SpanExcluding(const char* chars) const;

    int Find(char ch, int start = 0) const noexcept;
    int Find(const char* sub, int start = 0) const noexcept;
    int ReverseFind(char ch) const noexcept;
    int FindOneOf(const char* chars) const noexcept;

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    CString& Trim();
    CString& Trim(const char* chars);
    CString& TrimLeft();
    CString& TrimLeft(const char* chars);
    CString& TrimLeft(char ch);
    CString& TrimRight();
    CString& TrimRight(const char* chars);
    CString& TrimRight(char ch);

    int Replace(char from, char to);
    int Replace(const char* from, const char* to);
    int Remove(char ch);
    int Insert(int index, char ch);
    int Insert(int index, const char* text);
    int Delete(int index, int count = 1);

    // Next token after position start; start becomes -1 when no token is left.
    CString Tokenize(const char* delimiters, int& start) const;

    // printf-style formatting in the C locale.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);
    void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Writable buffer of at least minLength characters; ReleaseBuffer fixes the length.
    char* GetBuffer(int minLength = 0);
    char* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    // Cuts the text to at most maxBytes bytes without splitting a UTF-8 character.
    CString& CutUtf8(int maxBytes);

private:
    std::string m_s;
};

inline std::ostream& operator<<(std::ostream& os, const CString& s)
{
    return os << '"' << s.str() << '"';
}

// Number of leading bytes of text (at most maxBytes) that end on a UTF-8 character boundary.
size_t Utf8CutLength(const char* text, size_t maxBytes) noexcept;

// Copies text into a char array of the given capacity (terminator included), cut on a UTF-8
// boundary and always zero-terminated; the rest of the array is left as it was.
void CopyTextCut(char* dest, size_t capacity, const char* text) noexcept;

template <size_t N> void CopyTextCut(char (&dest)[N], const char* text) noexcept
{
    CopyTextCut(dest, N, text);
}

// printf into a new string in the C locale.
CString FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
