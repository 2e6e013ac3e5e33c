// The page viewer's modal dialog: one wizard page in a resizable window; nested plug-ins of the
// page are loaded by its own loader and unloaded with it.
#pragma once

#include "PagerHtmlWnd.h"

#include <Modlode/PluginLoaderProxy.h>
#include <uiext/ResizableDialog.h>

#include <string>

class CCmdTarget;
struct PLUGIN_CALL;

class CPagerDlg : public CResizableDialog
{
public:
    CPagerDlg(const CString& pagePath, CPluginIntf* host, CCmdTarget* automation, CWnd* parent);

    CPagerHtmlWnd& Page() { return m_page; }
    const CString& PageName() const { return m_pageName; }

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CWnd* HelpOwner() const;
    void OpenPlugin(WPARAM wParam, const PLUGIN_CALL* call);
    // The box for a module that did not load: the host's text, the module and why.
    void ShowPluginError(UINT stringId, const CString& module, const std::string& reason);
    CString PagePath(const char* argument) const;

    CString m_pagePath;
    CPluginIntf* m_pHost;
    CCmdTarget* m_pAutomation;
    // The automation object's dispatch interface, the page's external object while the page lives.
    ComPtr<IDispatch> m_external;
    CPagerHtmlWnd m_page;
    CPluginLoaderProxy m_loader;
    CString m_pageName;
};
