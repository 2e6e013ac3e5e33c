// Formatting without the C library's stdio, which may lock or allocate.
#include "CrashReportBuffer.h"

#include <unistd.h>

char CrashReportBuffer::s_buffer[kCapacity];

namespace
{

class PieceWriter
{
public:
    PieceWriter(char* out, size_t capacity) : m_out(out), m_capacity(capacity) {}

    void Put(char ch)
    {
        if (m_length < m_capacity)
            m_out[m_length++] = ch;
    }

    void Padded(const char* text, size_t length, int width, bool left, char pad)
    {
        const int fill = width > static_cast<int>(length) ? width - static_cast<int>(length) : 0;
        if (!left)
            for (int i = 0; i < fill; ++i)
                Put(pad);
        for (size_t i = 0; i < length; ++i)
            Put(text[i]);
        if (left)
            for (int i = 0; i < fill; ++i)
                Put(' ');
    }

    void Number(unsigned long long value, bool negative, unsigned base, int width, bool left, bool zero)
    {
        char digits[24];
        size_t count = 0;
        do
        {
            const unsigned digit = static_cast<unsigned>(value % base);
            digits[count++] = static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
            value /= base;
        } while (value != 0);
        char text[26];
        size_t length = 0;
        if (negative && zero && !left)
        {
            Put('-');
            --width;
        }
        else if (negative)
            text[length++] = '-';
        while (count > 0)
            text[length++] = digits[--count];
        Padded(text, length, width, left, zero && !left ? '0' : ' ');
    }

    size_t Length() const { return m_length; }

private:
    char* m_out;
    size_t m_capacity;
    size_t m_length = 0;
};

} // namespace

size_t CrashReportBuffer::FormatTo(char* out, size_t capacity, const char* format, va_list args)
{
    PieceWriter writer(out, capacity);
    for (const char* p = format; *p; ++p)
    {
        if (*p != '%')
        {
            writer.Put(*p);
            continue;
        }
        ++p;
        bool left = false;
        bool zero = false;
        for (; *p == '-' || *p == '0'; ++p)
            (*p == '-' ? left : zero) = true;
        int width = 0;
        for (; *p >= '0' && *p <= '9'; ++p)
            width = width * 10 + (*p - '0');
        bool isLong = false;
        for (; *p == 'l'; ++p)
            isLong = true;
        switch (*p)
        {
        case 'd':
        {
            const long long value = isLong ? va_arg(args, long) : va_arg(args, int);
            const bool negative = value < 0;
            const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                                          : static_cast<unsigned long long>(value);
            writer.Number(magnitude, negative, 10, width, left, zero);
            break;
        }
        case 'u':
        case 'x':
        {
            const unsigned long long value = isLong ? va_arg(args, unsigned long) : va_arg(args, unsigned);
            writer.Number(value, false, *p == 'x' ? 16 : 10, width, left, zero);
            break;
        }
        case 's':
        {
            const char* text = va_arg(args, const char*);
            if (!text)
                text = "";
            size_t length = 0;
            while (text[length])
                ++length;
            writer.Padded(text, length, width, left, ' ');
            break;
        }
        case 'c':
        {
            const char ch = static_cast<char>(va_arg(args, int));
            writer.Padded(&ch, 1, width, left, ' ');
            break;
        }
        case '%':
            writer.Put('%');
            break;
        case '\0':
            return writer.Length();
        default:
            writer.Put(*p);
            break;
        }
    }
    return writer.Length();
}

void CrashReportBuffer::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CrashReportBuffer::FormatV(const char* format, va_list args)
{
    if (m_pending > kFlushAbove)
        Flush();
    m_pending += FormatTo(s_buffer + m_pending, kPieceLimit, format, args);
}

void CrashReportBuffer::Flush()
{
    size_t written = 0;
    while (written < m_pending)
    {
        const ssize_t count = ::write(m_fd, s_buffer + written, m_pending - written);
        if (count <= 0)
            break;
        written += static_cast<size_t>(count);
    }
    m_pending = 0;
}
