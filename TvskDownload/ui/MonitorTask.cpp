// The monitor worker.
#include <TvskDownload/ui/MonitorTask.h>

#include <Tarveskon/PluginCall.h>
#include <Tarveskon/PluginIntf.h>

#include <cstdint>

CMonitorTask::CMonitorTask(CWnd* wnd, UINT msg, CPluginIntf* host) : CWndTask(wnd, msg), m_pHost(host) {}

CMonitorTask::~CMonitorTask()
{
    StopAndWait();
}

void CMonitorTask::Add(const char* name)
{
    std::lock_guard guard(m_lock);
    m_Names.Add(name);
}

bool CMonitorTask::Remove(const char* name)
{
    std::lock_guard guard(m_lock);
    for (INT_PTR i = 0; i < m_Names.GetSize(); ++i)
        if (m_Names[i] == name)
        {
            m_Names.RemoveAt(i);
            return true;
        }
    return false;
}

bool CMonitorTask::Contains(const char* name) const
{
    std::lock_guard guard(m_lock);
    for (INT_PTR i = 0; i < m_Names.GetSize(); ++i)
        if (m_Names[i] == name)
            return true;
    return false;
}

int CMonitorTask::GetCount() const
{
    std::lock_guard guard(m_lock);
    return static_cast<int>(m_Names.GetSize());
}

void CMonitorTask::Execute()
{
    while (Sleep(kPeriodMs))
    {
        CPluginIntf* host = m_pHost;
        if (!m_bVisible || !host)
            continue;
        CStringArray names;
        {
            std::lock_guard guard(m_lock);
            names.Copy(m_Names);
        }
        // The host is called without the lock: a window may wait for it while the host works.
        for (INT_PTR i = 0; i < names.GetSize(); ++i)
            if (!names[i].IsEmpty())
                host->SendCommand(HOSTCMD_READPARFAST,
                                  static_cast<long>(reinterpret_cast<intptr_t>(names[i].GetString())), 0);
        Msg(nullptr, true);
    }
}
