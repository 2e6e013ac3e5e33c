// The serial port client: a client of the Porthaven server of its port.
#pragma once

#include "ComBlockClient.h"

class ComSer : public ComBlockClient
{
public:
    ComSer() : ComBlockClient(SERIAL_PORT_PREFIX, "PORTHAVEN") {}
    ComSer(unsigned char port, unsigned long baud, unsigned char bits, unsigned char parity,
           unsigned char stop);

    // Line settings as in the block: parity 0 none, 1 odd, 2 even, 3 mark, 4 space; stop bits
    // 0 one, 1 one and a half, 2 two. The server's answer is not looked at.
    void setline(unsigned long baud, unsigned char bits, unsigned char parity, unsigned char stop);

    // Code 0x1000 sends a break with the byte at data; any other code is refused.
    int put_property(short code, void* data) override;
};
