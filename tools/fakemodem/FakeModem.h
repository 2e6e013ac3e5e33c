// A modem on a pseudo-terminal: the host dials through its slave end, the far end is a second device.
#pragma once

#include "ModemDialogue.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

class CFakeModem
{
public:
    // linePath: the device the modem is connected to after CONNECT (another pseudo-terminal's
    // slave, such as the simulated drive's); empty for a modem whose far end never answers.
    CFakeModem(ModemBehaviour behaviour, std::string linePath);
    CFakeModem(const CFakeModem&) = delete;
    CFakeModem& operator=(const CFakeModem&) = delete;
    ~CFakeModem();

    // Creates the terminal and opens the line; false with a reason.
    bool Open(std::string& error);
    // The device the host opens as its serial port.
    const std::string& DevicePath() const { return m_devicePath; }
    // Serves until stop is set; false with a reason when a device fails.
    bool Run(const std::atomic<bool>& stop, std::string& error);

    // Called on the serving thread with each command line as it comes.
    void OnCommand(std::function<void(const std::string&)> observer) { m_onCommand = std::move(observer); }

    // Safe to call while Run serves on another thread.
    std::vector<std::string> Commands() const;
    bool Connected() const;

private:
    enum class Poll
    {
        Idle,
        Served,
        Failed
    };
    Poll ServeOnce(std::string& error);
    bool WriteAll(int fd, const std::string& bytes);

    std::string m_linePath;
    std::string m_devicePath;
    int m_master = -1;
    int m_line = -1;
    bool m_hostPresent = false;
    std::function<void(const std::string&)> m_onCommand;
    mutable std::mutex m_mutex;
    CModemDialogue m_dialogue;
};
