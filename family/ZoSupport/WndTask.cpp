#include "WndTask.h"

#include <QCoreApplication>
#include <QWidget>

#include <chrono>
#include <memory>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

CWndTask::CWndTask(CWnd* wnd, UINT msg, bool lowPriority) : m_wnd(wnd), m_msg(msg), m_lowPriority(lowPriority)
{
    if (wnd)
        m_widget = wnd->GetWidget();
}

CWndTask::~CWndTask()
{
    StopAndWait();
}

bool CWndTask::Start()
{
    std::unique_lock guard(m_lock);
    if (m_running)
        return false;
    if (m_thread.joinable())
    {
        // The previous worker has ended; collect it before starting anew.
        guard.unlock();
        m_thread.join();
        guard.lock();
    }
    m_stop = false;
    m_running = true;
    try
    {
        m_thread = std::thread([this] { Run(); });
    }
    catch (const std::system_error&)
    {
        m_running = false;
        return false;
    }
    return true;
}

void CWndTask::Run()
{
    if (m_lowPriority)
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    Execute();
    std::lock_guard guard(m_lock);
    m_running = false;
    m_changed.notify_all();
}

void CWndTask::Stop()
{
    std::lock_guard guard(m_lock);
    m_stop = true;
    m_changed.notify_all();
}

bool CWndTask::WaitUntilEnded(DWORD timeoutMs)
{
    std::unique_lock guard(m_lock);
    if (m_thread.get_id() == std::this_thread::get_id())
        return false; // the worker cannot wait for itself
    const auto ended = [this] { return !m_running; };
    if (timeoutMs == INFINITE)
        m_changed.wait(guard, ended);
    else if (!m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), ended))
        return false;
    guard.unlock();
    if (m_thread.joinable())
        m_thread.join();
    return true;
}

void CWndTask::StopAndWait()
{
    Stop();
    WaitUntilEnded(INFINITE);
}

bool CWndTask::IsRunning() const
{
    std::lock_guard guard(m_lock);
    return m_running;
}

bool CWndTask::IsStopRequested() const
{
    std::lock_guard guard(m_lock);
    return m_stop;
}

bool CWndTask::Sleep(DWORD ms)
{
    std::unique_lock guard(m_lock);
    m_changed.wait_for(guard, std::chrono::milliseconds(ms), [this] { return m_stop; });
    return !m_stop;
}

void CWndTask::SetWnd(CWnd* wnd, UINT msg)
{
    std::lock_guard guard(m_lock);
    m_wnd = wnd;
    m_widget = wnd ? wnd->GetWidget() : nullptr;
    m_msg = msg;
}

void CWndTask::Msg(const char* text, bool flag)
{
    std::lock_guard guard(m_lock);
    if (!m_wnd)
        return;
    const WPARAM wParam = flag ? 1 : 0;
    if (!text)
    {
        m_wnd->PostMessage(m_msg, wParam, 0);
        return;
    }
    if (!m_widget && m_wnd->GetWidget())
        m_widget = m_wnd->GetWidget(); // bound before its window was made
    if (!QCoreApplication::instance())
        return;
    // The text travels with the call and is freed after the window's handler returns, or with the
    // call when the window has gone.
    auto copy = std::make_shared<std::string>(text);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [window = m_widget, message = m_msg, wParam, copy]
        {
            if (CWnd* wnd = CWnd::FromWidget(window.data()))
                wnd->SendMessage(message, wParam, reinterpret_cast<LPARAM>(copy->c_str()));
        },
        Qt::QueuedConnection);
}
