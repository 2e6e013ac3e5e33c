// Opening the objects a first client created, and the command loop of a port server.
#include "FakeServer.h"

#include "Journal.h"

#include <kernel/Kernel.h>

#include <algorithm>

namespace fakeports
{

namespace
{
constexpr DWORD kIdleLimit = 60000;
}

FakeServer::~FakeServer()
{
    if (m_view)
        UnmapViewOfFile(m_view);
    for (HANDLE handle : {m_mapping, m_commandEvent, m_replyEvent, m_mutex})
        if (handle)
            CloseHandle(handle);
}

bool FakeServer::Open(const std::string& prefix, const std::string& suffix, std::size_t blockSize)
{
    m_mutex = OpenMutex(MUTEX_ALL_ACCESS, FALSE, (prefix + "MTX" + suffix).c_str());
    m_commandEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, (prefix + "EVEC" + suffix).c_str());
    m_replyEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, (prefix + "EVER" + suffix).c_str());
    m_mapping = OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, (prefix + "MAP" + suffix).c_str());
    if (!m_mutex || !m_commandEvent || !m_replyEvent || !m_mapping)
        return false;
    m_view = MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, blockSize);
    m_blockSize = blockSize;
    return m_view != nullptr;
}

bool FakeServer::Run()
{
    const BlockView block(m_view, m_blockSize);
    for (;;)
    {
        if (WaitForSingleObject(m_commandEvent, kIdleLimit) != WAIT_OBJECT_0)
            return false;
        const std::uint8_t command = block.U8(block::Command);
        bool last = false;
        if (command == block::CMD_ATTACH)
        {
            m_clients.push_back(Client(block));
            block.SetU8(block::Result, 1);
            JournalLine("attach");
        }
        else if (command == block::CMD_DETACH)
        {
            last = Detach(block);
            JournalLine("detach");
        }
        else
        {
            Serve(command, block);
        }
        SetEvent(m_replyEvent);
        if (last)
            return true;
    }
}

bool FakeServer::Detach(const BlockView& block)
{
    const auto found = std::find(m_clients.begin(), m_clients.end(), Client(block));
    block.SetU8(block::Result, found != m_clients.end() ? 1 : 0);
    if (found == m_clients.end())
        return false;
    m_clients.erase(found);
    return m_clients.empty();
}

} // namespace fakeports
