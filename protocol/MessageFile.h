// The message file "VRNSER.ERR": sections of numbered texts, read once into a table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

constexpr size_t kMessageLineCapacity = 999;
constexpr size_t kMessageTextCapacity = 255;

// The lines of a text file that ends its lines with CR (a LF after it ignored). A LF without a
// CR before it drops what came since the last line end; text after the last CR is ignored;
// empty lines are skipped; longer lines are cut.
class CMessageTextFile
{
public:
    // Reads the whole file, opened for reading only; false when it cannot be read.
    bool Open(const char* name);
    size_t GetLineCount() const { return m_lines.size(); }
    const std::string& GetLine(size_t i) const { return m_lines[i]; }
    void Close() { m_lines.clear(); }

private:
    void SplitLines(std::string_view text);

    std::vector<std::string> m_lines;
};

class CMessageTable
{
public:
    // Empties the table and reads the file; a malformed line stops the load, keeping what was
    // read before it. False when the file cannot be read.
    bool Load(const char* path);
    // The first entry with the code in the first section of that name; null when none.
    const char* Lookup(std::string_view section, int code) const;
    bool IsEmpty() const { return m_sections.empty(); }

private:
    struct Entry
    {
        int code;
        std::string text;
    };
    struct Section
    {
        std::string name;
        std::vector<Entry> entries;
    };

    bool AddLine(const std::string& line, Section*& current);
    Section* FindSection(std::string_view name);

    std::vector<Section> m_sections;
};

// "VRNSER.ERR" in the folder of the registered component, else the bare name.
std::string MessageFilePath();
