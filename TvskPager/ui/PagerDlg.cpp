#include "PagerDlg.h"

#include "PagerIds.h"

#include <Modlode/PluginImpl.h>
#include <Modlode/PluginLoader.h>
#include <Tarveskon/PluginCall.h>
#include <Tarveskon/PluginIntf.h>
#include <ZoSupport/Path.h>
#include <framework/CmdTarget.h>
#include <ui/Gdi.h>
#include <ui/HelpInfo.h>
#include <ui/MessageBox.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace
{

constexpr DWORD kBrowserUiFlags = 4;

long Arg(const void* pointer)
{
    return static_cast<long>(reinterpret_cast<intptr_t>(pointer));
}

} // namespace

CPagerDlg::CPagerDlg(const CString& pagePath, CPluginIntf* host, CCmdTarget* automation, CWnd* parent)
    : CResizableDialog(IDD_PAGER, parent), m_pagePath(pagePath), m_pHost(host), m_pAutomation(automation)
{
}

BOOL CPagerDlg::OnInitDialog()
{
    CResizableDialog::OnInitDialog();
    ShowSizeGrip(FALSE);
    CWnd* frame = GetDlgItem(IDC_PAGER_FRAME);
    if (frame)
    {
        CRect place;
        frame->GetWindowRect(&place);
        ScreenToClient(&place);
        m_page.SetHost(m_pHost);
        if (m_page.Create(nullptr, WS_CHILD | WS_VISIBLE, place, this, IDC_PAGER_PAGE))
        {
            m_page.SetUI_Flags(kBrowserUiFlags);
            if (m_pAutomation)
            {
                m_external = ComPtr<IDispatch>::Adopt(m_pAutomation->GetIDispatch(TRUE));
                m_page.SetExternal(m_external.Get());
            }
            frame->ShowWindow(SW_HIDE);
            AddAnchor(m_page.GetSafeHwnd(), ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
        }
    }
    SetMaxTrackSize(CSize(800, 600));
    SetMinTrackSize(CSize(200, GetSystemMetrics(SM_CYCAPTION)));
    // Shown once the modal loop runs; the page sizes the dialog when it has loaded.
    ShowWindow(SW_HIDE);
    PostMessage(WM_PAGER_SHOW);
    m_pageName = m_pagePath.IsEmpty() ? CString() : CString(CPath(m_pagePath.GetString()).Name());
    if (m_page.GetSafeHwnd())
        m_page.Navigate(m_pagePath.GetString());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return TRUE;
}

// Enter and Tab belong to the page, not to the dialog's buttons.
BOOL CPagerDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_TAB))
        return FALSE;
    return CResizableDialog::PreTranslateMessage(msg);
}

LRESULT CPagerDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PAGER_SHOW:
        ShowWindow(SW_SHOW);
        return 0;
    case WM_HELP:
        if (CWnd* owner = HelpOwner())
            owner->SendMessage(WM_HTML_HELP, 0, reinterpret_cast<LPARAM>(m_pageName.GetString()));
        return FALSE;
    case WM_HTML_HELP:
        // A nested viewer's request climbs to the main dialog.
        if (CWnd* owner = HelpOwner())
            return owner->SendMessage(WM_HTML_HELP, wParam, lParam);
        return 0;
    case WM_HTML_PLUGIN:
        OpenPlugin(wParam, reinterpret_cast<const PLUGIN_CALL*>(lParam));
        return 0;
    default:
        return CResizableDialog::WindowProc(message, wParam, lParam);
    }
}

// The window that answers help: the owner's top-level window, the main dialog or an outer viewer.
CWnd* CPagerDlg::HelpOwner() const
{
    CWnd* parent = GetParent();
    return parent ? parent->GetTopLevelParent() : nullptr;
}

void CPagerDlg::OpenPlugin(WPARAM wParam, const PLUGIN_CALL* call)
{
    if (!call || !call->pszName)
        return;
    CString module = call->pszName;
    if (module.Find(".dll") < 0)
        module += ".dll";
    CPluginLoader* loader = m_loader.CreateLoader(module.GetString());
    if (!loader)
        return ShowPluginError(2000, module, m_loader.GetLastError());
    CPluginImpl* plugin = loader->CreatePluginClass(nullptr);
    if (!plugin)
        return ShowPluginError(2001, module, "the module makes no object");
    plugin->SendCommand(PLUGINCMD_SETPARENT, Arg(this), 0);
    plugin->SendCommand(PLUGINCMD_SETINTF, Arg(m_pHost), 0);
    plugin->SendCommand(PLUGINCMD_SETAUTOMATION, Arg(m_pAutomation), 0);
    const CString page = call->pszArg && *call->pszArg ? PagePath(call->pszArg) : CString();
    if (!page.IsEmpty())
        plugin->SendCommand(PLUGINCMD_SETPAGE, Arg(page.GetString()), 0);
    plugin->SendCommand(PLUGINCMD_RUN, static_cast<intptr_t>(wParam), reinterpret_cast<intptr_t>(call));
    if (m_page.GetSafeHwnd())
        m_page.UpdateWindow();
}

void CPagerDlg::ShowPluginError(UINT stringId, const CString& module, const std::string& reason)
{
    CString text;
    if (m_pHost)
        m_pHost->GetString(stringId, text);
    if (!text.IsEmpty())
        text += "\n";
    text += module + ": " + reason.c_str();
    ::MessageBox(GetSafeHwnd(), text.GetString(), nullptr, MB_OK | MB_ICONHAND);
}

// The drive type's own page first, else the family's.
CString CPagerDlg::PagePath(const char* argument) const
{
    if (!m_pHost)
        return CString();
    CString dir;
    m_pHost->GetPagesDir(dir, true);
    CString page = dir + "/" + argument + ".htm";
    if (std::filesystem::exists(page.GetString()))
        return page;
    m_pHost->GetPagesDir(dir, false);
    return dir + "/" + argument + ".htm";
}
