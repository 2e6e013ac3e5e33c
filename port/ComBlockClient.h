// A client of a port server through the shared block: the part the serial and modem clients share.
#pragma once

#include "ComPort.h"

#include <porthost/PortBlock.h>

#include <kernel/Handle.h>

class ComBlockClient : public ComPort
{
public:
    ~ComBlockClient() override { close(); }
    ComBlockClient(const ComBlockClient&) = delete;
    ComBlockClient& operator=(const ComBlockClient&) = delete;

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
    int com_ok() override { return m_open; }
    int lock(unsigned long ms) override;
    void unlock() override;

protected:
    // prefix names the objects ("COM." gives "COM.MAP3" ...); server starts the server program.
    ComBlockClient(const char* prefix, const char* server) : m_prefix(prefix), m_server(server) {}

    // Takes the port for one command unless this client holds it through lock.
    bool BeginCommand();
    void EndCommand();
    // Sends the command filled into the block and waits for the reply or the server's end.
    void ExeCmd(unsigned char cmd);
    PORT_BLOCK& Block() const noexcept { return *m_block; }

private:
    enum class Reply
    {
        Came,
        TimedOut,
        ServerGone,
    };

    void Init() noexcept;
    bool CreateObjects(const PortObjectNames& names, bool& existed);
    bool StartServer();
    Reply WaitForReply(unsigned long milliseconds);
    bool KnowServer();
    // After a client died holding the port: its command must not answer ours.
    void Resynchronise();
    int Read(unsigned short timeout, unsigned long len);

    const char* m_prefix;
    const char* m_server;
    unsigned char m_port = 0;
    int m_open = 0;
    int m_locked = 0;
    HANDLE m_mapping = nullptr;
    HANDLE m_commandEvent = nullptr;
    HANDLE m_replyEvent = nullptr;
    HANDLE m_mutex = nullptr;
    HANDLE m_serverProcess = nullptr;
    HANDLE m_serverIdMapping = nullptr;
    PORT_BLOCK* m_block = nullptr;
    DWORD* m_serverId = nullptr;
};
