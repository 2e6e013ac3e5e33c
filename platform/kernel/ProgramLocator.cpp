// Command line words and the program directory.
#include "ProgramLocator.h"

#include <cstdlib>
#include <filesystem>
#include <strings.h>
#include <unistd.h>
#include <system_error>

namespace fs = std::filesystem;

namespace tvsk::kernel
{

std::vector<std::string> SplitCommandLine(const char* commandLine)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (const char* p = commandLine ? commandLine : ""; *p; ++p)
    {
        if (*p == '"')
        {
            quoted = !quoted;
            inWord = true;
        }
        else if ((*p == ' ' || *p == '\t') && !quoted)
        {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        }
        else
        {
            word += *p;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

std::string ProgramDirectory()
{
    if (const char* overridden = std::getenv("TARVESKON_PROGRAM_DIR"); overridden && *overridden)
        return overridden;
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.parent_path().string();
}

std::string FindProgramBeside(const std::string& name)
{
    const fs::path directory = ProgramDirectory();
    std::error_code error;
    if (fs::is_regular_file(directory / name, error))
        return (directory / name).string();
    for (const auto& entry : fs::directory_iterator(directory, error))
    {
        if (strcasecmp(entry.path().filename().c_str(), name.c_str()) == 0 && entry.is_regular_file(error))
            return entry.path().string();
    }
    return {};
}

std::string FindProgramOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string directories = path ? path : "";
    std::error_code error;
    for (size_t start = 0; start <= directories.size();)
    {
        size_t end = directories.find(':', start);
        if (end == std::string::npos)
            end = directories.size();
        // An empty entry is the current directory.
        const fs::path directory =
            end > start ? fs::path(directories.substr(start, end - start)) : fs::path(".");
        const fs::path candidate = directory / name;
        if (fs::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
        start = end + 1;
    }
    return {};
}

} // namespace tvsk::kernel
