#include "MessageFile.h"

#include "DeviceLink.h"
#include "SettingsString.h"

#include <framework/File.h>
#include <com/Guid.h>
#include <registry/Registry.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace
{
constexpr size_t kMaxFileName = 259;
constexpr const char* kMessageFileName = "VRNSER.ERR";

int EntryCode(const std::string& field)
{
    return field[0] == '*' ? -1 : static_cast<int>(std::strtol(field.c_str(), nullptr, 10));
}

std::string EntryText(const std::string& field)
{
    if (field[0] != '"')
        return {};
    std::string text = field.substr(1);
    if (!text.empty() && text.back() == '"')
        text.pop_back();
    if (text.size() > kMessageTextCapacity)
        text.resize(kMessageTextCapacity);
    return text;
}
} // namespace

bool CMessageTextFile::Open(const char* name)
{
    m_lines.clear();
    const size_t length = name ? std::char_traits<char>::length(name) : 0;
    if (length < 1 || length > kMaxFileName || !FitsForReading(name))
        return false;
    std::ifstream file(name, std::ios::binary);
    if (!file)
        return false;
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad())
        return false;
    SplitLines(text);
    return true;
}

void CMessageTextFile::SplitLines(std::string_view text)
{
    std::string line;
    bool afterCarriageReturn = false;
    for (char c : text)
    {
        if (c == '\r')
        {
            if (!line.empty())
                m_lines.push_back(line);
            line.clear();
            afterCarriageReturn = true;
            continue;
        }
        if (c == '\n')
        {
            if (!afterCarriageReturn)
                line.clear();
            afterCarriageReturn = false;
            continue;
        }
        afterCarriageReturn = false;
        if (line.size() < kMessageLineCapacity)
            line.push_back(c);
    }
}

bool CMessageTable::Load(const char* path)
{
    m_sections.clear();
    CMessageTextFile file;
    if (!file.Open(path))
        return false;
    Section* current = nullptr;
    for (size_t i = 0; i < file.GetLineCount(); ++i)
        if (!AddLine(file.GetLine(i), current))
            break;
    file.Close();
    return true;
}

bool CMessageTable::AddLine(const std::string& line, Section*& current)
{
    if (line[0] == '[')
    {
        if (line.back() != ']' || line.size() < 2)
            return false;
        const std::string name = line.substr(1, line.size() - 2);
        // A repeated name neither starts a section nor switches back to the earlier one.
        if (!FindSection(name))
        {
            m_sections.push_back({name, {}});
            current = &m_sections.back();
        }
        return true;
    }
    const std::vector<std::string> fields = SplitFields(line, ",");
    if (!current || fields.size() != 2)
        return false;
    const int code = EntryCode(fields[0]);
    std::string text = EntryText(fields[1]);
    for (Entry& entry : current->entries)
        if (entry.code == code)
        {
            entry.text = std::move(text);
            return true;
        }
    current->entries.push_back({code, std::move(text)});
    return true;
}

CMessageTable::Section* CMessageTable::FindSection(std::string_view name)
{
    for (Section& section : m_sections)
        if (section.name == name)
            return &section;
    return nullptr;
}

const char* CMessageTable::Lookup(std::string_view section, int code) const
{
    for (const Section& s : m_sections)
        if (s.name == section)
        {
            for (const Entry& entry : s.entries)
                if (entry.code == code)
                    return entry.text.c_str();
            return nullptr;
        }
    return nullptr;
}

std::string MessageFilePath()
{
    const std::string key = "CLSID\\" + tvsk::com::GuidToString(CLSID_VrnSer) + "\\InprocServer32";
    HKEY server = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &server) != ERROR_SUCCESS)
        return kMessageFileName;
    char module[1024] = {};
    DWORD size = sizeof module;
    DWORD type = 0;
    const LONG result =
        RegQueryValueEx(server, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(module), &size);
    RegCloseKey(server);
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return kMessageFileName;
    std::string folder(module);
    const size_t slash = folder.find_last_of('/');
    folder.resize(slash == std::string::npos ? 0 : slash + 1);
    return folder + kMessageFileName;
}
