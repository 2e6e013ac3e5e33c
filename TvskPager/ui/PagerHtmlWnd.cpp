#include "PagerHtmlWnd.h"

#include "PagerIds.h"

#include <Tarveskon/PluginCall.h>
#include <Tarveskon/PluginIntf.h>
#include <ZoSupport/Path.h>
#include <ZoSupport/ProgramError.h>
#include <com/ConnectionAdvise.h>
#include <ui/App.h>
#include <ui/MessageBox.h>
#include <web/engine/PageCurtain.h>
#include <web/engine/WebBrowser.h>

#include <QWebEnginePage>

namespace
{

// One per module: the document help that follows an element's help is swallowed.
bool g_helpFlag = true;

} // namespace

int CPagerHtmlWnd::OnCreate(CREATESTRUCT* createStruct)
{
    if (!m_pHost)
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return -1;
    }
    if (CTvskHtmlWndImpl::OnCreate(createStruct) == -1)
        return -1;
    if (FAILED(CoCreateInstance(CLSID_JyHtml2Mng, nullptr, CLSCTX_INPROC_SERVER, IJyHtml2Mng::Iid,
                                reinterpret_cast<void**>(&m_pManager))))
        m_pManager = nullptr;
    else
        AfxConnectionAdvise(m_pManager, DIID__IJyHtml2MngEvents, &m_sink, FALSE, &m_dwCookie);
    m_tip.Create(this);
    CDataTip::SetDelayHide(m_pHost->GetTipHideDelay());
    return 0;
}

void CPagerHtmlWnd::OnDestroy()
{
    m_tip.Hide();
    if (m_pManager)
    {
        m_binding.Detach();
        AfxConnectionUnadvise(m_pManager, DIID__IJyHtml2MngEvents, &m_sink, FALSE, m_dwCookie);
        m_sink.Arm(nullptr, nullptr);
        m_pManager->Release();
        m_pManager = nullptr;
    }
    KillTimer(kPollTimer);
    CTvskHtmlWndImpl::OnDestroy();
}

void CPagerHtmlWnd::OnBeforeNavigate2(CString, DWORD, CString, CString, CString, BOOL*)
{
    // The page's static texts are one language's: the new page shows once the window has put in
    // the user's.
    if (Browser() && Browser()->View())
        tvsk::web::HoldPagesUntilFilled(*Browser()->View()->page());
    m_pageName.Empty();
    m_binding.Detach();
}

void CPagerHtmlWnd::OnDocumentComplete(CString url)
{
    struct ShowWhenDone
    {
        CPagerHtmlWnd& window;
        ~ShowWhenDone()
        {
            if (window.Browser() && window.Browser()->View())
                tvsk::web::ShowFilledPage(*window.Browser()->View()->page());
        }
    } show{*this};
    if (!m_pManager)
        return;
    m_sink.Arm(m_pManager, this);
    IDispatch* document = GetHtmlDocument();
    const HRESULT hr = m_pManager->put_HtmlDocument(document);
    if (document)
        document->Release();
    if (FAILED(hr))
        return;
    m_binding.Attach(m_pManager);
    Arm(m_binding.Period());
    m_pageName = url.IsEmpty() ? CString() : CString(CPath(url.GetString()).Name());
}

void CPagerHtmlWnd::Arm(UINT period)
{
    m_armedPeriod = period;
    SetTimer(kPollTimer, period);
}

void CPagerHtmlWnd::OnTimer(UINT_PTR id)
{
    if (id == kPollTimer)
    {
        if (!m_pHost || !m_pManager)
        {
            ProgramError(__FILE__, __LINE__, nullptr);
            return;
        }
        KillTimer(kPollTimer);
        Arm(static_cast<UINT>(m_binding.Tick()));
    }
    CTvskHtmlWndImpl::OnTimer(id);
}

LRESULT CPagerHtmlWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_HTML_COMMAND:
        m_binding.Command(reinterpret_cast<const char*>(lParam),
                          static_cast<long>(reinterpret_cast<intptr_t>(this)));
        return 0;
    case WM_HTML_PLUGIN:
        Plugin(wParam, lParam);
        return 0;
    case WM_ELEMENT_OVER:
        ShowDataTip(reinterpret_cast<const char*>(lParam));
        return 0;
    case WM_ELEMENT_OUT:
        m_tip.Hide();
        return 0;
    case WM_HTML_HELP:
        Help(wParam, lParam);
        return 0;
    case WM_HTML_IMAGECLICK:
        m_binding.ImageClick(reinterpret_cast<const char*>(lParam),
                             *reinterpret_cast<const VARIANT*>(wParam));
        return 0;
    case WM_HTML_EXE:
        if (m_pHost)
            m_pHost->SendCommand(HOSTCMD_EXECUTE, static_cast<long>(lParam), 0);
        return 0;
    case WM_ELEMENT_FOCUS:
        if (wParam == 0 || wParam == 1)
            m_binding.Focus(wParam == 1, reinterpret_cast<const char*>(lParam));
        return 0;
    default:
        return CTvskHtmlWndImpl::WindowProc(message, wParam, lParam);
    }
}

// The nested plug-in runs modally: no polling meanwhile, and it may have changed the file.
void CPagerHtmlWnd::Plugin(WPARAM wParam, LPARAM lParam)
{
    KillTimer(kPollTimer);
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_HTML_PLUGIN, wParam, lParam);
    m_binding.Refresh(true);
    Arm(m_binding.Period());
}

void CPagerHtmlWnd::Help(WPARAM wParam, LPARAM lParam)
{
    // The viewer dialog hands the request on to the window that answers help.
    CWnd* owner = GetParent();
    if (wParam != 1)
    {
        g_helpFlag = false;
        if (owner)
            owner->SendMessage(WM_HTML_HELP, wParam, lParam);
        return;
    }
    if (!g_helpFlag)
    {
        g_helpFlag = true;
        return;
    }
    if (owner)
        owner->SendMessage(WM_HTML_HELP, 1, reinterpret_cast<LPARAM>(m_pageName.GetString()));
}

void CPagerHtmlWnd::ShowDataTip(const char* name)
{
    if (!m_pManager || !m_pHost || !name || !*name)
        return;
    BSTR key = tvsk::com::BstrFromUtf8(name);
    BSTR title = nullptr;
    const bool titled =
        SUCCEEDED(m_pManager->get_ControlTitle(key, &title)) && title && SysStringLen(title) > 0;
    SysFreeString(title);
    SysFreeString(key);
    if (titled)
        return;
    CString text;
    m_pHost->GetParDescr(name, text, true);
    if (text.IsEmpty())
        return;
    CPoint point;
    GetCursorPos(&point);
    ScreenToClient(&point);
    m_tip.Hide();
    m_tip.Set(point, CString(name) + ":" + text);
}

void CPagerHtmlWnd::SetCaption(const CString& text)
{
    if (CWnd* parent = GetParent())
        parent->SetWindowText(text.GetString());
}

void CPagerHtmlWnd::ResizeTo(long width, long height)
{
    CWnd* parent = GetParent();
    if (!parent)
        return;
    CRect place;
    parent->GetWindowRect(&place);
    parent->MoveWindow(place.left, place.top, static_cast<int>(width), static_cast<int>(height));
}

void CPagerHtmlWnd::Close(int result)
{
    if (CWnd* parent = GetParent())
        parent->PostMessage(WM_COMMAND, static_cast<WPARAM>(result), 0);
}

void CPagerHtmlWnd::ShowRefusal(const CString& text)
{
    CWnd* owner = GetParent() ? GetParent() : this;
    ::MessageBox(owner->GetSafeHwnd(), text.GetString(), nullptr, MB_OK | MB_ICONEXCLAMATION);
}

void CPagerHtmlWnd::BeginWait()
{
    AfxGetApp() ? AfxGetApp()->BeginWaitCursor() : void();
}

void CPagerHtmlWnd::EndWait()
{
    AfxGetApp() ? AfxGetApp()->EndWaitCursor() : void();
}
