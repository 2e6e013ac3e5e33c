// Baud rates, framing and flow control between DCB and termios.
#include "SerialLine.h"

#include <iterator>

namespace tvsk::kernel
{
namespace
{

struct BaudCode
{
    DWORD rate;
    speed_t code;
};

constexpr BaudCode BaudCodes[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

constexpr tcflag_t ByteSizeFlags[] = {CS5, CS6, CS7, CS8};

} // namespace

void MakeRaw(termios& settings) noexcept
{
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
}

void SettingsToDcb(const termios& settings, DCB& dcb) noexcept
{
    dcb.BaudRate = 0;
    for (const auto& baud : BaudCodes)
    {
        if (baud.code == cfgetospeed(&settings))
            dcb.BaudRate = baud.rate;
    }
    switch (settings.c_cflag & CSIZE)
    {
    case CS5:
        dcb.ByteSize = 5;
        break;
    case CS6:
        dcb.ByteSize = 6;
        break;
    case CS7:
        dcb.ByteSize = 7;
        break;
    default:
        dcb.ByteSize = 8;
        break;
    }
    if (!(settings.c_cflag & PARENB))
        dcb.Parity = NOPARITY;
    else if (settings.c_cflag & CMSPAR)
        dcb.Parity = (settings.c_cflag & PARODD) ? MARKPARITY : SPACEPARITY;
    else
        dcb.Parity = (settings.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
    dcb.StopBits = (settings.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fBinary = 1;
    dcb.fParity = (settings.c_iflag & INPCK) ? 1 : 0;
    dcb.fOutxCtsFlow = (settings.c_cflag & CRTSCTS) ? 1 : 0;
    dcb.fRtsControl = (settings.c_cflag & CRTSCTS) ? RTS_CONTROL_HANDSHAKE : dcb.fRtsControl;
    dcb.fOutX = (settings.c_iflag & IXON) ? 1 : 0;
    dcb.fInX = (settings.c_iflag & IXOFF) ? 1 : 0;
}

bool DcbToSettings(const DCB& dcb, termios& settings) noexcept
{
    const BaudCode* baud = std::end(BaudCodes);
    for (const auto& candidate : BaudCodes)
    {
        if (candidate.rate == dcb.BaudRate)
            baud = &candidate;
    }
    if (baud == std::end(BaudCodes) || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > SPACEPARITY ||
        dcb.StopBits > TWOSTOPBITS)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    MakeRaw(settings);
    settings.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    settings.c_cflag |= ByteSizeFlags[dcb.ByteSize - 5];
    switch (dcb.Parity)
    {
    case ODDPARITY:
        settings.c_cflag |= PARENB | PARODD;
        break;
    case EVENPARITY:
        settings.c_cflag |= PARENB;
        break;
    case MARKPARITY:
        settings.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case SPACEPARITY:
        settings.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    if (dcb.StopBits != ONESTOPBIT)
        settings.c_cflag |= CSTOPB;
    if (dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE)
        settings.c_cflag |= CRTSCTS;
    if (dcb.fParity)
        settings.c_iflag |= INPCK;
    if (dcb.fOutX)
        settings.c_iflag |= IXON;
    if (dcb.fInX)
        settings.c_iflag |= IXOFF;
    cfsetspeed(&settings, baud->code);
    return true;
}

} // namespace tvsk::kernel
