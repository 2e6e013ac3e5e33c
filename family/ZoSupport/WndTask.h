// CWndTask: a worker thread that reports to a window only by posting it a message.
#pragma once

#include <kernel/Handle.h>
#include <ui/Wnd.h>

#include <QPointer>

#include <condition_variable>
#include <mutex>
#include <thread>

class CWndTask
{
public:
    // The window and message that Msg posts to; lowPriority runs the worker below normal priority.
    explicit CWndTask(CWnd* wnd = nullptr, UINT msg = 0, bool lowPriority = false);
    // Stops and waits for the worker. A class whose Execute uses its own members must call
    // StopAndWait in its own destructor, before those members go.
    virtual ~CWndTask();
    CWndTask(const CWndTask&) = delete;
    CWndTask& operator=(const CWndTask&) = delete;

    // Runs Execute on a new worker thread; false while a worker runs or when none can be started.
    virtual bool Start();
    // Asks Execute to end: Sleep returns at once from now on.
    void Stop();
    // Waits until Execute has returned, at most timeoutMs (INFINITE: for ever); true when ended.
    bool WaitUntilEnded(DWORD timeoutMs = INFINITE);
    void StopAndWait();
    bool IsRunning() const;
    bool IsStopRequested() const;

    // The window and message of the next Msg; a null window makes Msg post nothing.
    void SetWnd(CWnd* wnd, UINT msg);
    // Posts the message with flag as first parameter and a copy of text (or 0) as second; the copy
    // lives until the window has handled the message, or is freed when the window is gone.
    void Msg(const char* text = nullptr, bool flag = true);

protected:
    virtual void Execute() = 0;
    // Sleeps ms milliseconds, waking at once on Stop; false when stopping was asked.
    bool Sleep(DWORD ms);

private:
    void Run();

    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    CWnd* m_wnd;
    QPointer<QWidget> m_widget; // taken when bound, on the window's thread
    UINT m_msg;
    bool m_lowPriority;
    bool m_stop = false;
    bool m_running = false;
    std::thread m_thread;
};
