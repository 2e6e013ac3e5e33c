// A second client process for the port tests: opens a serial port and acts as told.
#include <port/ComSer.h>

#include <kernel/Sync.h>
#include <kernel/Time.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

void Tell(const char* eventName)
{
    HANDLE event = OpenEvent(EVENT_ALL_ACCESS, FALSE, eventName);
    SetEvent(event);
    CloseHandle(event);
}

} // namespace

// port-test-client <mode> <port> <ready event> [text] [hold ms]
//   lock-write: lock, tell, write text, hold, unlock, close.
//   hold-lock:  lock, tell, wait to be killed.
//   hold-open:  open, tell, wait to be killed.
int main(int argc, char** argv)
{
    if (argc < 4)
        return 3;
    const std::string mode = argv[1];
    ComSer port(static_cast<unsigned char>(std::atoi(argv[2])), 9600, 8, 0, 0);
    if (!port.com_ok())
        return 2;
    if (mode == "hold-open")
    {
        Tell(argv[3]);
        for (;;)
            Sleep(1000);
    }
    if (!port.lock(2000))
        return 1;
    Tell(argv[3]);
    if (mode == "hold-lock")
    {
        for (;;)
            Sleep(1000);
    }
    if (mode == "lock-write" && argc == 6)
    {
        const int written = port.put(reinterpret_cast<unsigned char*>(argv[4]), std::strlen(argv[4]));
        Sleep(static_cast<DWORD>(std::atoi(argv[5])));
        port.unlock();
        return written == 1 ? 0 : 1;
    }
    return 3;
}
