// The modem client: a client of the Fonwick server of its port, which dials on the line command.
#pragma once

#include "ComBlockClient.h"

class ComModem : public ComBlockClient
{
public:
    ComModem() : ComBlockClient(MODEM_PORT_PREFIX, "FONWICK") {}
    ComModem(unsigned char port, unsigned long baud, unsigned char bits, unsigned char parity,
             unsigned char stop, const char* dial);

    // Sets the line and dials; a modem that does not connect closes the client.
    void setline(unsigned long baud, unsigned char bits, unsigned char parity, unsigned char stop,
                 const char* dial);

    void sbreak() {}
};
