// Line settings and break of the serial port client.
#include "ComSer.h"

ComSer::ComSer(unsigned char port, unsigned long baud, unsigned char bits, unsigned char parity,
               unsigned char stop)
    : ComSer()
{
    setcom(port);
    setline(baud, bits, parity, stop);
}

void ComSer::setline(unsigned long baud, unsigned char bits, unsigned char parity, unsigned char stop)
{
    if (!com_ok() || !BeginCommand())
        return;
    Block().argument = static_cast<DWORD>(baud);
    Block().line.dataBits = bits;
    Block().line.parity = parity;
    Block().line.stopBits = stop;
    ExeCmd(PORT_CMD_SETLINE);
    EndCommand();
}

int ComSer::put_property(short code, void* data)
{
    if (!com_ok() || code != PORT_PROPERTY_BREAK || !BeginCommand())
        return 0;
    Block().line.dataBits = data ? *static_cast<const unsigned char*>(data) : 0;
    Block().property = code;
    ExeCmd(PORT_CMD_PROPERTY);
    EndCommand();
    return 1;
}
