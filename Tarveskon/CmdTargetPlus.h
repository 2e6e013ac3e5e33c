// An automation object with one outgoing event interface: the connection point, the class
// information that names the event interface, and the firing of events with the delivered flag.
#pragma once

#include <com/Com.h>
#include <framework/CString.h>
#include <framework/CmdTarget.h>

#include <functional>
#include <vector>

class CCmdTargetPlus : public CCmdTarget
{
public:
    CCmdTargetPlus(IConnectionPointContainer& container, const IID& eventIid);
    virtual ~CCmdTargetPlus() = default;

    // Invokes the event on every sink; the delivered flag tells whether a handler ran.
    void FireEvent(DISPID number, std::vector<VARIANT> arguments);
    bool Delivered() const { return m_bDelivered; }
    void SetVerbose(bool verbose) { m_bVerbose = verbose; }
    // Shows a failure text (error icon) while the verbose flag is on.
    void SetFailureBox(std::function<void(const CString&)> box) { m_box = std::move(box); }
    tvsk::com::ConnectionPoint& EventPoint() { return m_events; }

private:
    void Tell(const CString& text);

    tvsk::com::ConnectionPoint m_events;
    bool m_bDelivered = false;
    bool m_bVerbose = false;
    std::function<void(const CString&)> m_box;
};
