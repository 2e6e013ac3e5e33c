// The wizard manager: starting the programs pages and reports name.
#include "TvskManager.h"

#include <kernel/Process.h>
#include <kernel/ProgramLocator.h>

namespace
{

constexpr UINT kProgramNotFound = 2114;
constexpr UINT kProgramNotPermitted = 2115;
constexpr UINT kProgramError = 2116;

} // namespace

CString CTvskManager::StartProgram(const char* commandLine)
{
    const std::vector<std::string> words = tvsk::kernel::SplitCommandLine(commandLine);
    const CString program = words.empty() ? CString() : CString(words.front().c_str());
    if (WinExec(commandLine, SW_SHOWNORMAL) > 31)
        return CString();
    const DWORD error = GetLastError();
    CString reason;
    if (error == ERROR_FILE_NOT_FOUND)
        reason = LocalText(kProgramNotFound);
    else if (error == ERROR_ACCESS_DENIED)
        reason = LocalText(kProgramNotPermitted);
    else
        reason.Format(LocalText(kProgramError).GetString(), static_cast<unsigned long>(error));
    return program + ": " + reason;
}
