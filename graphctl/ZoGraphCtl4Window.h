// The control as the component creates it: the control object that can make its own window in a host.
#pragma once

#include "GraphWnd.h"
#include "ZoGraphCtl4.h"

#include <ui/ControlHost.h>

#include <memory>

class CZoGraphCtl4Window final : public CZoGraphCtl4
{
public:
    CZoGraphCtl4Window();
    ~CZoGraphCtl4Window() override;

    // The control's window, null until a host had it made.
    GraphWnd* Window() const noexcept { return m_window.get(); }
    HRESULT CreateWindowIn(CWnd* parent, const RECT& rect, CWnd** window);

protected:
    void* QueryExtraInterface(REFIID iid) override;

private:
    // IControlWindow, sharing the control's identity and count.
    class Hosting final : public IControlWindow
    {
    public:
        explicit Hosting(CZoGraphCtl4Window& outer) : m_outer(outer) {}
        HRESULT QueryInterface(REFIID iid, void** object) override
        {
            return m_outer.QueryInterface(iid, object);
        }
        ULONG AddRef() override { return m_outer.AddRef(); }
        ULONG Release() override { return m_outer.Release(); }
        HRESULT CreateControlWindow(CWnd* parent, const RECT& rect, CWnd** window) override
        {
            return m_outer.CreateWindowIn(parent, rect, window);
        }
        CWnd* GetControlWindow() override { return m_outer.Window(); }

    private:
        CZoGraphCtl4Window& m_outer;
    };

    Hosting m_hosting{*this};
    std::unique_ptr<GraphWnd> m_window;
};
