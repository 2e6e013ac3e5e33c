// The diagnostics window of a port server: byte counts, the hex view of the recorded traffic,
// the spy switch and the attached clients with their detach.
#pragma once

#include "ColourText.h"
#include "ComDBuff.h"

#include <DiagnoServer.h>

#include <kernel/Handle.h>
#include <ui/Controls.h>
#include <ui/Dialog.h>

#include <map>

// Control ids of the diagnostics window.
enum DiagnoControl : UINT
{
    IDC_DIAGNO_TX = 1001,
    IDC_DIAGNO_RX = 1002,
    IDC_DIAGNO_VIEW = 1003,
    IDC_DIAGNO_SCROLL = 1004,
    IDC_DIAGNO_PIDS = 1005,
    IDC_DIAGNO_SPY = 1006,
    IDC_DIAGNO_REFRESH_ON = 1007,
    IDC_DIAGNO_REFRESH = 1008,
    IDC_DIAGNO_RESET = 1009,
    IDC_DIAGNO_DETACH = 1010,
    IDC_DIAGNO_HEXVIEW = 1011
};

class CDiagnoDlg : public CDialog
{
public:
    static constexpr UINT TimerId = 1;
    static constexpr UINT TimerMilliseconds = 100;

    // title: "Com Server Diagnostics" or "Modem Server Diagnostics".
    CDiagnoDlg(const char* title, CDiagnoServer& server, CWnd* parent = nullptr);
    ~CDiagnoDlg() override;

    int GetScrollPosition() const noexcept { return m_scrollPosition; }
    const CComDBuff& GetView() const noexcept { return m_view; }

protected:
    BOOL OnInitDialog() override;
    void OnDestroy() override;
    void OnTimer(UINT_PTR id) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ListClients();
    void ShowCounts();
    void RefreshView();
    void Scroll(WORD code, int thumb);
    void OnSpy();
    void OnRefreshSwitch();
    void OnReset();
    void OnDetach();
    // Ends a detached client through the handle taken when it was listed.
    void EndClient(DWORD processId);
    void CloseProcessHandles();

    CString m_strTitle;
    CDiagnoServer& m_server;
    CString m_strTx;
    CString m_strRx;
    BOOL m_bSpy = FALSE;
    BOOL m_bRefresh = FALSE;
    int m_scrollPosition = CPortSpy::VIEW_POSITIONS;
    CComDBuff m_view;
    CColourText m_txLabel;
    CColourText m_rxLabel;
    CListBox m_list;
    CScrollBar m_scroll;
    CButton m_spyCheck;
    CButton m_refreshCheck;
    // Taken at listing, so the end reaches the process that was attached, not one reusing its id.
    std::map<DWORD, HANDLE> m_processes;
};
