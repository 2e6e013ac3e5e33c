// CHtmlWnd's browser properties: load state, geometry, bars and modes, the property store and
// the browser commands.
#include "HtmlWnd.h"

#include <QCoreApplication>

using namespace tvsk::com;

void CHtmlWnd::Refresh2(int level)
{
    if (m_browser)
        m_browser->Refresh(level == REFRESH_COMPLETELY);
}

long CHtmlWnd::GetReadyState() const
{
    return m_browser ? m_browser->GetReadyState() : tvsk::web::WebBrowser::READYSTATE_UNINITIALIZED;
}

CString CHtmlWnd::GetType() const
{
    IDispatch* document = GetHtmlDocument();
    if (!document)
        return CString();
    document->Release();
    return CString("HTML Document");
}

CString CHtmlWnd::GetFullName() const
{
    return CString(QCoreApplication::applicationFilePath().toUtf8().constData());
}

IDispatch* CHtmlWnd::GetApplication() const
{
    if (m_external)
        m_external->AddRef();
    return m_external;
}

void CHtmlWnd::SetHeight(long height)
{
    if (!m_browserWnd.GetSafeHwnd())
        return;
    CRect place = BrowserPlace();
    m_browserWnd.MoveWindow(place.left, place.top, place.Width(), height);
}

long CHtmlWnd::GetHeight() const
{
    return BrowserPlace().Height();
}

void CHtmlWnd::SetTop(long top)
{
    if (!m_browserWnd.GetSafeHwnd())
        return;
    CRect place = BrowserPlace();
    m_browserWnd.MoveWindow(place.left, top, place.Width(), place.Height());
}

long CHtmlWnd::GetTop() const
{
    return BrowserPlace().top;
}

void CHtmlWnd::SetLeft(long left)
{
    if (!m_browserWnd.GetSafeHwnd())
        return;
    CRect place = BrowserPlace();
    m_browserWnd.MoveWindow(left, place.top, place.Width(), place.Height());
}

long CHtmlWnd::GetLeft() const
{
    return BrowserPlace().left;
}

CRect CHtmlWnd::BrowserPlace() const
{
    CRect place(0, 0, 0, 0);
    if (!m_browserWnd.GetSafeHwnd())
        return place;
    m_browserWnd.GetWindowRect(&place);
    ScreenToClient(&place);
    return place;
}

void CHtmlWnd::SetRegisterAsDropTarget(BOOL on)
{
    if (m_browser)
        m_browser->SetAcceptDrops(on != FALSE);
}

BOOL CHtmlWnd::GetRegisterAsDropTarget() const
{
    return m_browser && m_browser->AcceptsDrops();
}

void CHtmlWnd::SetTheaterMode(BOOL on)
{
    m_theaterMode = on;
    OnTheaterMode(on);
}

void CHtmlWnd::SetMenuBar(BOOL on)
{
    m_menuBar = on;
    OnMenuBar(on);
}

void CHtmlWnd::SetToolBar(int value)
{
    m_toolBar = value;
    OnToolBar(value);
}

void CHtmlWnd::SetFullScreen(BOOL on)
{
    m_fullScreen = on;
    OnFullScreen(on);
}

void CHtmlWnd::SetAddressBar(BOOL on)
{
    m_addressBar = on;
    OnAddressBar(on);
}

void CHtmlWnd::SetStatusBar(BOOL on)
{
    m_statusBar = on;
    OnStatusBar(on);
}

void CHtmlWnd::PutProperty(const char* name, const VARIANT& value)
{
    if (!name)
        return;
    m_properties.Put(name, value);
    OnPropertyChange(CString(name));
}

void CHtmlWnd::PutProperty(const char* name, long value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_UI4;
    v.ulVal = static_cast<ULONG>(value);
    PutProperty(name, v);
}

void CHtmlWnd::PutProperty(const char* name, short value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_UI2;
    v.uiVal = static_cast<USHORT>(value);
    PutProperty(name, v);
}

void CHtmlWnd::PutProperty(const char* name, const char* value)
{
    VARIANT v = MakeVariantBstr(value ? value : "");
    PutProperty(name, v);
    VariantClear(&v);
}

void CHtmlWnd::PutProperty(const char* name, double value)
{
    PutProperty(name, MakeVariantR8(value));
}

bool CHtmlWnd::GetProperty(const char* name, CString& value) const
{
    VARIANT kept;
    if (!name || !m_properties.Get(name, &kept))
        return false;
    VARIANT text;
    VariantInit(&text);
    const bool converted = SUCCEEDED(VariantChangeType(&text, &kept, 0, VT_BSTR));
    if (converted)
        value = CString(Utf8FromBstr(text.bstrVal));
    VariantClear(&text);
    VariantClear(&kept);
    return converted;
}

VARIANT CHtmlWnd::GetProperty(const char* name) const
{
    VARIANT value;
    VariantInit(&value);
    if (name)
        m_properties.Get(name, &value);
    return value;
}

OLECMDF CHtmlWnd::QueryStatusWB(OLECMDID command) const
{
    if (!m_browser)
        return OLECMDF(0);
    switch (command)
    {
    case OLECMDID_PRINT:
    case OLECMDID_CUT:
    case OLECMDID_COPY:
    case OLECMDID_PASTE:
    case OLECMDID_SELECTALL:
    case OLECMDID_ZOOM:
    case OLECMDID_REFRESH:
    case OLECMDID_STOP:
        return OLECMDF(OLECMDF_SUPPORTED | OLECMDF_ENABLED);
    }
    return OLECMDF(0);
}

void CHtmlWnd::ExecWB(OLECMDID command, OLECMDEXECOPT, VARIANT* in, VARIANT* out)
{
    if (!m_browser)
        return;
    switch (command)
    {
    case OLECMDID_PRINT:
        OnFilePrint();
        break;
    case OLECMDID_CUT:
        m_browser->Cut();
        break;
    case OLECMDID_COPY:
        m_browser->Copy();
        break;
    case OLECMDID_PASTE:
        m_browser->Paste();
        break;
    case OLECMDID_SELECTALL:
        m_browser->SelectAll();
        break;
    case OLECMDID_REFRESH:
        m_browser->Refresh();
        break;
    case OLECMDID_STOP:
        m_browser->Stop();
        break;
    case OLECMDID_ZOOM:
        if (in && in->vt == VT_I4)
            SetFontSize(in->lVal);
        if (out)
        {
            VariantClear(out);
            *out = MakeVariantI4(GetFontSize());
        }
        break;
    }
}
