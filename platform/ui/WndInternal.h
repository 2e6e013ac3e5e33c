// What the parts of the window core share and nobody else sees: the bridge from the widget's events
// to the window's messages, the posted-message box and the dispatch depth.
#pragma once

#include "Wnd.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <mutex>

namespace tvsk::ui
{

// Where other threads post a window's messages; emptied when the window goes.
struct PostBox
{
    std::mutex lock;
    QObject* target = nullptr;
};

class WndMessageEvent : public QEvent
{
public:
    static QEvent::Type EventType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    WndMessageEvent(UINT message, WPARAM wParam, LPARAM lParam)
        : QEvent(EventType()), m_message(message), m_wParam(wParam), m_lParam(lParam)
    {
    }
    UINT m_message;
    WPARAM m_wParam;
    LPARAM m_lParam;
};

// Depth of message handling on the UI thread: a window destroyed inside a handler is deleted later.
extern int g_dispatchDepth;
// Deletes the widget on the event loop's next turn; a module closed meanwhile stays until then
// (the widget's deletion may run its code).
void DeleteWidgetLater(QWidget* widget);
// The widget under the mouse, whose cursor SetCursor changes.
extern QPointer<QWidget> g_cursorTarget;

constexpr const char* kDialogClass = "#32770";

// Turns the widget's events into the window's messages; also receives its posted messages and timers.
class WndBridge : public QObject
{
public:
    explicit WndBridge(CWnd* wnd) : m_wnd(wnd) {}
    void Forget() { m_wnd = nullptr; }
    int StartTimer(int ms) { return startTimer(ms, Qt::PreciseTimer); } // a coarse timer may fire 5 % early
    void StopTimer(int id) { killTimer(id); }

    // Posted messages.
    bool event(QEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    // The widget's events as the window's messages.
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    static UINT MouseMessage(QEvent::Type type, Qt::MouseButton button);

    CWnd* m_wnd;
};

} // namespace tvsk::ui
