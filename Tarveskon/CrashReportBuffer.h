// The crash report's output: static storage, its own formatter and plain write calls, so it
// works in a signal handler with a damaged heap.
#pragma once

#include <cstdarg>
#include <cstddef>

class CrashReportBuffer
{
public:
    static constexpr size_t kCapacity = 8192;
    static constexpr size_t kFlushAbove = 7168;
    static constexpr size_t kPieceLimit = 1024;

    explicit CrashReportBuffer(int fd) : m_fd(fd) {}

    // printf-like: flags '-' and '0', a width, 'l', and the conversions d u x s c %.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);
    void Flush();

    // The formatter alone, into a caller's storage; answers the length written.
    static size_t FormatTo(char* out, size_t capacity, const char* format, va_list args);

private:
    static char s_buffer[kCapacity];
    int m_fd;
    size_t m_pending = 0;
};
