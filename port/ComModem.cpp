// Line setting and dialling of the modem client.
#include "ComModem.h"

ComModem::ComModem(unsigned char port, unsigned long baud, unsigned char bits, unsigned char parity,
                   unsigned char stop, const char* dial)
    : ComModem()
{
    setcom(port);
    setline(baud, bits, parity, stop, dial);
}

void ComModem::setline(unsigned long baud, unsigned char bits, unsigned char parity, unsigned char stop,
                       const char* dial)
{
    if (!com_ok() || !BeginCommand())
        return;
    Block().argument = static_cast<DWORD>(baud);
    Block().line.dataBits = bits;
    Block().line.parity = parity;
    Block().line.stopBits = stop;
    WriteDialNumber(Block(), dial);
    ExeCmd(PORT_CMD_SETLINE);
    const bool connected = Block().result != 0;
    EndCommand();
    if (!connected)
        close();
}
