// What the SDO client needs of a port: the port lock and whole CAN messages with filters.
#pragma once

#include <framework/WinTypes.h>

// Each member returns nonzero on success. The port client implements it over its port object.
class CCanMessagePort
{
public:
    static constexpr LONG MaxMessageLength = 8;

    virtual ~CCanMessagePort() = default;

    virtual BOOL lock(DWORD timeout) = 0;
    virtual BOOL unlock() = 0;
    // Discards whatever is queued.
    virtual BOOL reset() = 0;
    virtual BOOL WriteMsg(DWORD id, const BYTE* data, LONG length) = 0;
    // Copies at most MaxMessageLength bytes into data; *length is the received message's length,
    // which the caller checks.
    virtual BOOL ReadMsg(DWORD* id, BYTE* data, LONG* length, WORD timeout) = 0;
    virtual BOOL AddMessageFilter(LONG mask, LONG filter) = 0;
    virtual BOOL RemMessageFilter(LONG mask, LONG filter) = 0;
};
