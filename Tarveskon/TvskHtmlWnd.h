// The two page windows of the main dialog: the main page (start and wizard pages) and the status
// page along its bottom. Each holds the wizard manager and navigates to the pages it names.
#pragma once

#include <uiext/TvskHtmlWndImpl.h>

class CTvskManager;

class CTvskHtmlWnd : public CTvskHtmlWndImpl
{
public:
    // Must be set before Create; a window without its manager is not created.
    void SetTvskManager(CTvskManager* manager) { m_pManager = manager; }
    BOOL Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);

protected:
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
    void OnShowHelp(HWND, CString, UINT, DWORD, CPoint, IDispatch*) override {}

private:
    CTvskManager* m_pManager = nullptr;
};

class CTvskHtmlStatus : public CHtmlWnd
{
public:
    void SetTvskManager(CTvskManager* manager) { m_pManager = manager; }
    BOOL Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);

protected:
    // The status strip has no client edge.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

private:
    CTvskManager* m_pManager = nullptr;
};
