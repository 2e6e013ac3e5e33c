// CWnd::CreateControl: a site window of ours with the component's own window inside it.
#include "ControlHost.h"

#include <com/ComRuntime.h>
#include <com/ConnectionPoint.h>

#include <QEvent>
#include <QObject>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace tvsk::ui
{

// The hosted component; keeps its window filling the site.
class ControlSite final : public QObject
{
public:
    ControlSite(ComPtr<IUnknown> control, ComPtr<IControlWindow> window)
        : m_control(std::move(control)), m_window(std::move(window))
    {
    }
    IUnknown* Control() const { return m_control.Get(); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            if (CWnd* window = m_window->GetControlWindow(); window && window->GetSafeHwnd())
            {
                const QWidget* site = static_cast<QWidget*>(watched);
                window->MoveWindow(0, 0, site->width(), site->height());
            }
        return false;
    }

private:
    ComPtr<IUnknown> m_control;
    ComPtr<IControlWindow> m_window;
};

} // namespace tvsk::ui

BOOL CWnd::CreateControl(const GUID& clsid, const char* windowName, DWORD style, const RECT& rect,
                         CWnd* parent, UINT id)
{
    if (m_widget || m_controlSite)
        return FALSE;
    ComPtr<IUnknown> control;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IUnknown::Iid,
                                reinterpret_cast<void**>(control.Receive()))))
        return FALSE;
    ComPtr<IControlWindow> windowMaker = control.As<IControlWindow>();
    if (!windowMaker)
        return FALSE;
    if (!CreateEx(0, "ControlSite", windowName, style | WS_CHILD, rect, parent, id))
        return FALSE;
    CWnd* window = nullptr;
    const CRect area(rect);
    if (FAILED(windowMaker->CreateControlWindow(this, CRect(0, 0, area.Width(), area.Height()), &window)) ||
        !window)
    {
        DestroyWindow();
        return FALSE;
    }
    m_controlSite = std::make_shared<tvsk::ui::ControlSite>(control, windowMaker);
    m_widget->installEventFilter(m_controlSite.get());
    return TRUE;
}

IUnknown* CWnd::GetControlUnknown() const
{
    return m_controlSite ? m_controlSite->Control() : nullptr;
}

std::int32_t CWnd::InvokeHelper(LONG dispid, WORD flags, VARIANT* result, std::initializer_list<VARIANT> args)
{
    IUnknown* control = GetControlUnknown();
    if (!control)
        return E_UNEXPECTED;
    ComPtr<IDispatch> dispatch = ComPtr<IUnknown>(control).As<IDispatch>();
    if (!dispatch)
        return E_NOINTERFACE;
    std::vector<VARIANT> reversed(args.begin(), args.end());
    std::reverse(reversed.begin(), reversed.end());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF))
    {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    VARIANT ignored;
    VariantInit(&ignored);
    const HRESULT hr =
        dispatch->Invoke(dispid, IID_NULL, 0, flags, &params, result ? result : &ignored, nullptr, nullptr);
    VariantClear(&ignored);
    return hr;
}
