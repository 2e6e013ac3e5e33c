#include "ProgramError.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace
{

const char* LastPathComponent(const char* path)
{
    if (!path)
        return "?";
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\')
            name = p + 1;
    return name;
}

} // namespace

void ProgramError(const char* sourcePath, int line, const char* text)
{
    std::string report = "ProgramError: ";
    report += LastPathComponent(sourcePath);
    report += '(' + std::to_string(line) + ')';
    if (text && *text)
    {
        report += ": ";
        report += text;
    }
    report += '\n';
    // One write per report keeps reports of several threads from interleaving.
    std::fwrite(report.data(), 1, report.size(), stderr);
    std::fflush(stderr);
}
