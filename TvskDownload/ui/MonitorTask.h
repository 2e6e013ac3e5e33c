// The monitor worker: re-reads the monitored parameters through the host every period while the
// window is visible, then posts the window a message; it touches no window itself.
#pragma once

#include <ZoSupport/WndTask.h>

#include <framework/Array.h>

#include <atomic>
#include <mutex>

class CPluginIntf;

class CMonitorTask : public CWndTask
{
public:
    static constexpr DWORD kPeriodMs = 100;

    CMonitorTask(CWnd* wnd, UINT msg, CPluginIntf* host);
    ~CMonitorTask() override;

    void Add(const char* name);
    // Removes the first equal name; false when there is none.
    bool Remove(const char* name);
    bool Contains(const char* name) const;
    int GetCount() const;
    // Kept by the window on show and hide; the worker skips its pass while hidden.
    void SetVisible(bool visible) noexcept { m_bVisible = visible; }
    void SetHost(CPluginIntf* host) noexcept { m_pHost = host; }

protected:
    void Execute() override;

private:
    mutable std::mutex m_lock;
    CStringArray m_Names;
    std::atomic<CPluginIntf*> m_pHost;
    std::atomic<bool> m_bVisible{true};
};
