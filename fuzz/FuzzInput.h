// Helpers shared by the fuzz harnesses: the input as a file, and a byte source over the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace fuzz
{

// The input written to a file of this process, for loaders that read files.
class InputFile
{
public:
    InputFile(const uint8_t* data, size_t size, const char* name)
        : m_path("/tmp/tvsk-fuzz-" + std::to_string(::getpid()) + "-" + name)
    {
        if (FILE* file = std::fopen(m_path.c_str(), "wb"))
        {
            std::fwrite(data, 1, size, file);
            std::fclose(file);
        }
    }
    ~InputFile() { std::remove(m_path.c_str()); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const char* Path() const { return m_path.c_str(); }

private:
    std::string m_path;
};

// Takes bytes off the front of the input.
class InputBytes
{
public:
    InputBytes(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Empty() const { return m_at >= m_size; }
    uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    bool Take(uint8_t& byte)
    {
        if (m_at >= m_size)
            return false;
        byte = m_data[m_at++];
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

} // namespace fuzz
