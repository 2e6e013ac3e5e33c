// The command side of a Hayes modem: echo, answers to AT lines and the dial.
#pragma once

#include <string>
#include <vector>

// How the simulated modem answers.
struct ModemBehaviour
{
    enum class DialAnswer
    {
        Connect,
        NoCarrier,
        Silence
    };
    DialAnswer dial = DialAnswer::Connect;
    // False: no AT line gets an answer (a modem that is switched off but echoes nothing either).
    bool answers = true;
};

class CModemDialogue
{
public:
    explicit CModemDialogue(ModemBehaviour behaviour) : m_behaviour(behaviour) {}

    // Takes bytes from the line in command mode and returns what the modem sends back.
    std::string Receive(const std::string& bytes);
    bool Connected() const { return m_connected; }
    // The line dropped: back to command mode with the power-on settings.
    void HangUp();
    // Every command line received, in order, as it came (case kept).
    const std::vector<std::string>& Commands() const { return m_commands; }

private:
    std::string Execute(const std::string& line);

    ModemBehaviour m_behaviour;
    bool m_echo = true;
    bool m_connected = false;
    std::string m_line;
    std::vector<std::string> m_commands;
};
