// Where replies come from: one byte per call, as the port hands them out.
#pragma once

#include <framework/WinTypes.h>

class CByteSource
{
public:
    virtual ~CByteSource() = default;
    // False when the byte did not come in time.
    virtual bool ReadByte(BYTE& byte) = 0;
};
