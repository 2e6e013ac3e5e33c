// Commands to a running drivesim through a named pipe, one a line:
// "set WORD VALUE" (the first drive's 16-bit word), "fault none|silent|corrupt|header" and
// "delay MS" (each reply held back so long, at most 60 s).
#pragma once

#include "DriveLine.h"

#include <string>

class CControlChannel
{
public:
    CControlChannel() = default;
    ~CControlChannel();
    CControlChannel(const CControlChannel&) = delete;
    CControlChannel& operator=(const CControlChannel&) = delete;

    // Makes the pipe when it does not exist and opens it without waiting for a writer.
    bool Open(const std::string& path, std::string& error);
    // Carries out every complete line that has arrived; bad lines are reported on stderr.
    void Poll(CDriveLine& drives);

    // One command; false when it is not one.
    static bool Apply(const std::string& line, CDriveLine& drives);

private:
    int m_fd = -1;
    std::string m_pending;
};
