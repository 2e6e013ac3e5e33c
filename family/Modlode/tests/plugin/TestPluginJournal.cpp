#include "TestPluginJournal.h"

#include <atomic>
#include <mutex>

namespace tvsk::testplugin
{

namespace
{
std::mutex g_lock;
std::vector<std::string> g_lines;
std::vector<Command> g_commands;
std::atomic<int> g_resultQueryAnswer{0};
std::atomic<bool> g_makesNoObject{false};
} // namespace

void Record(const std::string& line)
{
    std::lock_guard guard(g_lock);
    g_lines.push_back(line);
}

void RecordCommand(const Command& command)
{
    std::lock_guard guard(g_lock);
    g_lines.push_back(command.module + " command " + std::to_string(command.code));
    g_commands.push_back(command);
}

std::vector<std::string> Lines()
{
    std::lock_guard guard(g_lock);
    return g_lines;
}

std::vector<Command> Commands()
{
    std::lock_guard guard(g_lock);
    return g_commands;
}

void Clear()
{
    std::lock_guard guard(g_lock);
    g_lines.clear();
    g_commands.clear();
}

void SetResultQueryAnswer(int answer)
{
    g_resultQueryAnswer = answer;
}
int ResultQueryAnswer()
{
    return g_resultQueryAnswer;
}
void SetMakesNoObject(bool makesNone)
{
    g_makesNoObject = makesNone;
}
bool MakesNoObject()
{
    return g_makesNoObject;
}

void ResetAll()
{
    Clear();
    g_resultQueryAnswer = 0;
    g_makesNoObject = false;
}

} // namespace tvsk::testplugin
