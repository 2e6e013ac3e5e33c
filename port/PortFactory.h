// Builds the one port client an open string names, and owns it.
#pragma once

#include "ComPort.h"

#include <memory>
#include <string>

class PortFactory
{
public:
    // Destroys the client it holds (which detaches from its server) before reading the string;
    // true when the string is well formed and the port opened.
    bool Open(const std::string& text);
    void Close();
    // The client of the last successful open, or null.
    ComPort* Port() const { return m_port.get(); }

private:
    std::string m_kind;
    std::string m_fields;
    std::unique_ptr<ComPort> m_port;
};
