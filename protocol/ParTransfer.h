// One parameter read or write on the wire, binary or ASCII, inside the transaction frame.
#pragma once

#include "ComPort.h"
#include "ParAccess.h"
#include "SettingsString.h"
#include "TransactionFrame.h"

constexpr DWORD kPortLockTimeout = 2000;

struct ParReadResult
{
    int error;     // DEVLINK_ERR
    bool hasValue; // whether the caller's VARIANT takes value
    DWORD value;
};

class CParTransfer
{
public:
    CParTransfer(CComPort& port, CTransactionFrame& frame, const CDriveSettings& settings)
        : m_port(port), m_frame(frame), m_settings(settings)
    {
    }

    ParReadResult Read(const ParAccess& access);
    // Without the acknowledge the request is only written.
    int Write(const ParAccess& access, DWORD value, bool acknowledge);

private:
    std::vector<BYTE> ReadRequest(const ParAccess& access) const;
    std::vector<BYTE> WriteRequest(const ParAccess& access, DWORD value) const;
    ParReadResult ReadReply(const ParAccess& access);
    int ReadAcknowledge();
    bool Send(const std::vector<BYTE>& request);
    int Finish(int error);

    CComPort& m_port;
    CTransactionFrame& m_frame;
    const CDriveSettings& m_settings;
};
