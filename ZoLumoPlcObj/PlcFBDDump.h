// The process-wide dump file and nesting depth that every object's Dump writes through.
#pragma once

namespace PlcDump
{
// Objects nested this deep are skipped: parent and source pointers can form cycles.
constexpr int MaxDepth = 100;

bool Open(const char* fileName);
void Close();

int Depth();
void SetDepth(int depth);

// Raises the depth for the lifetime of the guard.
class Nested
{
public:
    Nested() { SetDepth(Depth() + 1); }
    ~Nested() { SetDepth(Depth() - 1); }
    Nested(const Nested&) = delete;
    Nested& operator=(const Nested&) = delete;
};

// printf-style text, cut to 511 characters; nothing is written while no dump file is open.
void Write(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Indent();
void Blank();
} // namespace PlcDump
