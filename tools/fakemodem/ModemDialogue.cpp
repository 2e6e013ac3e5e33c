// The command side of a Hayes modem: echo, answers to AT lines and the dial.
#include "ModemDialogue.h"

#include <algorithm>
#include <cctype>

namespace
{

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

std::string Result(const char* text)
{
    return std::string("\r\n") + text + "\r\n";
}

} // namespace

std::string CModemDialogue::Receive(const std::string& bytes)
{
    std::string out;
    for (size_t i = 0; i < bytes.size() && !m_connected; ++i)
    {
        const char c = bytes[i];
        if (m_echo && m_behaviour.answers)
            out += c;
        if (c == '\n')
            continue;
        if (c != '\r')
        {
            m_line += c;
            continue;
        }
        const std::string line = m_line;
        m_line.clear();
        if (line.empty())
            continue;
        m_commands.push_back(line);
        if (m_behaviour.answers)
            out += Execute(line);
    }
    return out;
}

std::string CModemDialogue::Execute(const std::string& line)
{
    const std::string command = Upper(line);
    if (command.rfind("AT", 0) != 0)
        return Result("ERROR");
    if (command == "ATZ" || command == "ATZ0" || command == "ATE1")
        m_echo = true;
    else if (command == "ATE0")
        m_echo = false;
    else if (command.rfind("ATD", 0) == 0)
    {
        switch (m_behaviour.dial)
        {
        case ModemBehaviour::DialAnswer::Connect:
            m_connected = true;
            return Result("CONNECT 9600");
        case ModemBehaviour::DialAnswer::NoCarrier:
            return Result("NO CARRIER");
        case ModemBehaviour::DialAnswer::Silence:
            return {};
        }
    }
    return Result("OK");
}

void CModemDialogue::HangUp()
{
    m_connected = false;
    m_echo = true;
    m_line.clear();
}
