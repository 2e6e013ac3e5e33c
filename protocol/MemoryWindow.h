// Byte blocks of drive memory through the window parameters: 396 address, 390 control bits,
// 391 read data, 393 write data.
#pragma once

#include "DeviceLink.h"

constexpr LONG kWindowAddressPar = 396;
constexpr LONG kWindowControlPar = 390;
constexpr LONG kWindowReadPar = 391;
constexpr LONG kWindowWritePar = 393;
constexpr LONG kWindowReadBit = 14;
constexpr LONG kWindowWriteBit = 10;
constexpr LONG kWindowStrobeBit = 15;

// Every step is one Par call on the link; the first failing step's result is returned at once.
class CMemoryWindow
{
public:
    explicit CMemoryWindow(IDeviceLink& link) : m_link(link) {}

    // An odd address starts with the high byte of the word that holds it.
    HRESULT Read(LONG address, LONG length, BYTE* buffer);
    // oneShot: every word or double word is announced with the strobe bit. The address must be
    // even; an odd length keeps the byte after the block.
    HRESULT Write(LONG address, LONG length, const BYTE* buffer, bool oneShot);

private:
    HRESULT Put(LONG ipa, LONG subI, VARTYPE type, DWORD value);
    HRESULT Get(LONG ipa, VARTYPE type, DWORD& value);
    HRESULT PutBit(LONG bit, bool value) { return Put(kWindowControlPar, bit, VT_BOOL, value ? 1 : 0); }

    IDeviceLink& m_link;
};
