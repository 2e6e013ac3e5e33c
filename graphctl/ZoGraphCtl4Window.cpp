#include "ZoGraphCtl4Window.h"

CZoGraphCtl4Window::CZoGraphCtl4Window() = default;

CZoGraphCtl4Window::~CZoGraphCtl4Window()
{
    SetView(nullptr);
    m_window.reset();
}

void* CZoGraphCtl4Window::QueryExtraInterface(REFIID iid)
{
    if (iid == IControlWindow::Iid)
        return static_cast<IControlWindow*>(&m_hosting);
    return nullptr;
}

HRESULT CZoGraphCtl4Window::CreateWindowIn(CWnd* parent, const RECT& rect, CWnd** window)
{
    if (!window)
        return E_POINTER;
    *window = nullptr;
    if (!parent || (m_window && m_window->GetSafeHwnd()))
        return E_UNEXPECTED;
    auto created = std::make_unique<GraphWnd>(*this);
    if (!created->CreateGraph(parent, rect))
        return E_FAIL;
    m_window = std::move(created);
    *window = m_window.get();
    return S_OK;
}
