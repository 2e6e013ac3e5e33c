// The browser window of the page viewer: shows one wizard page and keeps it bound to the open
// parameter file through the binding, polling on timer 10.
#pragma once

#include "PagerHtmlEvent.h"

#include <TvskPager/binding/PagerBinding.h>

#include <uiext/DataTip.h>
#include <uiext/TvskHtmlWndImpl.h>

class CPluginIntf;

class CPagerHtmlWnd : public CTvskHtmlWndImpl, private CPagerView
{
public:
    static constexpr UINT_PTR kPollTimer = 10;

    CPagerHtmlWnd() : m_binding(nullptr, *this) {}
    // Must be set before Create; a window without its host is not created.
    void SetHost(CPluginIntf* host)
    {
        m_pHost = host;
        m_binding.SetHost(host);
    }
    CPagerBinding& Binding() { return m_binding; }
    const CString& PageName() const { return m_pageName; }
    IJyHtml2Mng* Manager() const { return m_pManager; }
    // Period the poll timer was last armed with (ms).
    UINT ArmedPeriod() const { return m_armedPeriod; }

protected:
    int OnCreate(CREATESTRUCT* createStruct) override;
    void OnDestroy() override;
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
    void OnTimer(UINT_PTR id) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnBeforeNavigate2(CString url, DWORD flags, CString targetFrame, CString postData, CString headers,
                           BOOL* cancel) override;
    void OnDocumentComplete(CString url) override;

private:
    void SetCaption(const CString& text) override;
    void ResizeTo(long width, long height) override;
    void Close(int result) override;
    void ShowRefusal(const CString& text) override;
    void BeginWait() override;
    void EndWait() override;

    void Arm(UINT period);
    void Plugin(WPARAM wParam, LPARAM lParam);
    void Help(WPARAM wParam, LPARAM lParam);
    void ShowDataTip(const char* name);

    CPluginIntf* m_pHost = nullptr;
    IJyHtml2Mng* m_pManager = nullptr;
    CPagerHtmlEvent m_sink;
    DWORD m_dwCookie = 0;
    CPagerBinding m_binding;
    CDataTip m_tip;
    CString m_pageName;
    UINT m_armedPeriod = 0;
};
