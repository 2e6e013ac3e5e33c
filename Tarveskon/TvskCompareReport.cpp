// The comparison report's lines, each from its format string.
#include "TvskCompareReport.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace
{

constexpr const char* kRule =
    "+-------------------------------------------------------------------------------\n";
constexpr const char* kParRule =
    "---+-------------+------------+------------+--------------------------------------\n";
constexpr const char* kPlcRule = "---+------------------+------------------+\n";

void AppendFormat(std::string& text, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length > 0)
    {
        const size_t at = text.size();
        text.resize(at + static_cast<size_t>(length) + 1);
        std::vsnprintf(text.data() + at, static_cast<size_t>(length) + 1, format, args);
        text.resize(at + static_cast<size_t>(length));
    }
    va_end(args);
}

const char* Mark(const std::string& side1, const std::string& side2)
{
    return side1 == side2 ? "   " : "***";
}

std::string OperandText(int operand)
{
    return operand == -1 ? std::string() : std::to_string(operand);
}

} // namespace

CTvskCompareReport::CTvskCompareReport(const CString& configPath, const char* secondFile, bool onlyDiffs)
    : m_configPath(configPath.IsEmpty() ? "(new file)" : configPath.GetString()),
      m_secondFile(secondFile ? secondFile : ""), m_withFile(secondFile != nullptr), m_onlyDiffs(onlyDiffs)
{
}

CString CTvskCompareReport::ValueText(double value)
{
    CString text;
    text.Format("%.10g", value);
    return text;
}

void CTvskCompareReport::AddPar(const char* id, const CString& side1, const CString& side2,
                                const char* description)
{
    m_pars.push_back({id ? id : "", side1.GetString(), side2.GetString(), description ? description : ""});
}

void CTvskCompareReport::AddInstruction(int side, const DBPLC& instruction)
{
    Program& program = m_programs[side == 1 ? 0 : 1];
    if (program.ended)
    {
        program.texts.emplace_back();
        return;
    }
    if (std::strcmp(instruction.szIstr, "END") == 0)
    {
        program.texts.emplace_back("END");
        program.ended = true;
        return;
    }
    std::string text;
    AppendFormat(text, "%s %s %s %s", instruction.szIstr, OperandText(instruction.iOperands[0]).c_str(),
                 OperandText(instruction.iOperands[1]).c_str(),
                 OperandText(instruction.iOperands[2]).c_str());
    program.texts.push_back(text);
}

// The formats carry a space flag ("%- 11s", "% 10s"), which printf ignores for strings: the
// widths and alignments below give the same bytes.
void CTvskCompareReport::AppendParLines(std::string& text) const
{
    text += kParRule;
    AppendFormat(text, "Dif| Par. ID     | %s     | %s     |\n", m_withFile ? "File 1" : "File  ",
                 m_withFile ? "File 2" : "Drive ");
    text += kParRule;
    for (const ParLine& line : m_pars)
    {
        if (m_onlyDiffs && line.side1 == line.side2)
            continue;
        AppendFormat(text, "%s| %-11s | %10s | %10s | %s\n", Mark(line.side1, line.side2), line.id.c_str(),
                     line.side1.c_str(), line.side2.c_str(), line.description.c_str());
    }
    text += kParRule;
    text += "\n";
}

void CTvskCompareReport::AppendPlcLines(std::string& text) const
{
    text += "LumoPLC\n\n";
    text += kPlcRule;
    AppendFormat(text, "Dif| %s           | %s           |\n", m_withFile ? "File 1" : "File  ",
                 m_withFile ? "File 2" : "Drive ");
    text += kPlcRule;
    const std::vector<std::string>& side1 = m_programs[0].texts;
    const std::vector<std::string>& side2 = m_programs[1].texts;
    const size_t count = side1.size() > side2.size() ? side1.size() : side2.size();
    for (size_t i = 0; i < count; ++i)
    {
        const std::string left = i < side1.size() ? side1[i] : std::string();
        const std::string right = i < side2.size() ? side2[i] : std::string();
        if (m_onlyDiffs && left == right)
            continue;
        AppendFormat(text, "%s| %-16s | %-16s |\n", Mark(left, right), left.c_str(), right.c_str());
    }
    text += kPlcRule;
}

void CTvskCompareReport::AppendHeader(std::string& text) const
{
    text += kRule;
    if (m_withFile)
    {
        text += "|   Compare between files:\n";
        AppendFormat(text, "|   \tfile 1: %s\n", m_configPath.c_str());
        AppendFormat(text, "|   \tfile 2: %s\n", m_secondFile.c_str());
    }
    else
    {
        AppendFormat(text, "|   Compare of %s with drive values\n", m_configPath.c_str());
    }
    text += kRule;
    text += "\n";
}

bool CTvskCompareReport::Write(const char* path, const std::tm& when) const
{
    std::string text;
    AppendHeader(text);
    char date[16] = "";
    char time[16] = "";
    std::strftime(date, sizeof date, "%m/%d/%y", &when);
    std::strftime(time, sizeof time, "%H:%M:%S", &when);
    AppendFormat(text, "Date: %s\n", date);
    AppendFormat(text, "Time: %s\n\n", time);
    AppendParLines(text);
    AppendPlcLines(text);

    std::FILE* file = path && *path ? std::fopen(path, "w") : nullptr;
    if (!file)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}
