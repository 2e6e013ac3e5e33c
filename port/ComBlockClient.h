// A client of a port server through the shared block: the part the serial and modem clients share.
#pragma once

#include "BlockClientBase.h"

#include <porthost/PortBlock.h>

class ComBlockClient : public BlockClientBase
{
public:
    ~ComBlockClient() override { close(); }

    // Opens (creating, and starting the server, when first) the port's objects and attaches.
    int setcom(unsigned char port);
    // Detaches, releases the port also when it was locked, and closes every handle.
    void close();

    unsigned char get() override;
    int get(unsigned char* out) override;
    int get(unsigned char* buf, unsigned short timeout, unsigned long len) override;
    int put(unsigned char* buf, unsigned long len) override;
    int put(unsigned char c) override;
    void reset() override;

protected:
    // prefix names the objects ("COM." gives "COM.MAP3" ...); server starts the server program.
    ComBlockClient(const char* prefix, const char* server);

    // Sends the command filled into the block and waits for the reply or the server's end.
    void ExeCmd(unsigned char cmd);
    PORT_BLOCK& Block() const noexcept { return *static_cast<PORT_BLOCK*>(View()); }

private:
    // After a client died holding the port: its command must not answer ours.
    void OnPortAbandoned() override;
    int Read(unsigned short timeout, unsigned long len);

    const char* m_prefix;
    const char* m_server;
    unsigned char m_port = 0;
};
