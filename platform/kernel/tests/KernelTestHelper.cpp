// A second process for the kernel tests: holds, waits on or writes named objects as told.
#include <kernel/Kernel.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

int HoldMutex(const char* name, const char* ready)
{
    HANDLE mutex = CreateMutex(nullptr, FALSE, name);
    HANDLE readyEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, ready);
    if (!mutex || !readyEvent || WaitForSingleObject(mutex, INFINITE) != WAIT_OBJECT_0)
        return 2;
    SetEvent(readyEvent);
    for (;;)
        Sleep(1000);
}

int WaitEvent(const char* name, DWORD milliseconds)
{
    HANDLE event = OpenEvent(SYNCHRONIZE, FALSE, name);
    if (!event)
        return 2;
    return WaitForSingleObject(event, milliseconds) == WAIT_OBJECT_0 ? 0 : 1;
}

// Writes text into the mapping, then tells the other side and waits until it has read it.
int WriteMapping(const char* name, const char* text, const char* written)
{
    HANDLE mapping = OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, name);
    HANDLE writtenEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, written);
    void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0) : nullptr;
    if (!view || !writtenEvent)
        return 2;
    std::strcpy(static_cast<char*>(view), text);
    SetEvent(writtenEvent);
    return 0;
}

// Creates a set event and a mapping, tells the other side and waits to be killed.
int LeaveObjects(const char* name, const char* ready)
{
    HANDLE event = CreateEvent(nullptr, TRUE, TRUE, name);
    HANDLE readyEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, ready);
    if (!event || !readyEvent)
        return 2;
    SetEvent(readyEvent);
    for (;;)
        Sleep(1000);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "exit" && argc == 4)
    {
        Sleep(static_cast<DWORD>(std::atoi(argv[3])));
        return std::atoi(argv[2]);
    }
    if (mode == "hold-mutex" && argc == 4)
        return HoldMutex(argv[2], argv[3]);
    if (mode == "wait-event" && argc == 4)
        return WaitEvent(argv[2], static_cast<DWORD>(std::atoi(argv[3])));
    if (mode == "write-mapping" && argc == 5)
        return WriteMapping(argv[2], argv[3], argv[4]);
    if (mode == "leave-objects" && argc == 4)
        return LeaveObjects(argv[2], argv[3]);
    return 3;
}
