// The two page windows of the main dialog: the main page (start and wizard pages) and the status
// page along its bottom. Each binds its page to an HTML data manager and hears its events.
#pragma once

#include "HtmlDataManager.h"
#include "TvskHtmlEvent.h"

#include <uiext/DataTip.h>
#include <uiext/TvskHtmlWndImpl.h>

class CTvskManager;

class CTvskHtmlWnd : public CTvskHtmlWndImpl, public CTvskHtmlPage
{
public:
    // Must be set before Create; a window without its manager is not created.
    void SetTvskManager(CTvskManager* manager) { m_pManager = manager; }
    BOOL Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Every control of the page from the configuration.
    void UpdateValues();
    // The manager's page list becomes the parameters this page shows.
    void PublishPageList();
    void ShowLanguageList();

    static constexpr const char* kLanguageList = "selLanguage";
    // The name of language n is string kLanguageNameFirst + n.
    static constexpr UINT kLanguageNameFirst = 3019;
    void UpdateMRUValue();
    void SetMotorImage();
    void SetDriveImage();
    // A select of the page names a parameter: the value is written to it (and to the drive).
    void SelectChange(const char* name, std::optional<short> value) override;
    // A text field naming a parameter: its whole text, a number, is written (and to the drive); a
    // refused text is told and the configuration's value put back.
    void TextEnter(const char* name) override;

    CHtmlDataManager& DataManager() { return m_htmlMng; }
    // The data tip of an element: empty when it has a title of its own or names no described
    // parameter, else "id:description".
    CString DataTipText(const char* id);

protected:
    int OnCreate(CREATESTRUCT* createStruct) override;
    void OnDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
    void OnShowHelp(HWND, CString, UINT, DWORD, CPoint, IDispatch*) override {}
    void OnDocumentComplete(CString url) override;
    void OnBeforeNavigate2(CString url, DWORD flags, CString targetFrame, CByteArray& postData,
                           CString headers, BOOL* cancel) override;

private:
    void ShowDataTip(const char* id);
    // Puts the configuration's value of the parameter back into its control.
    void ShowParValue(const char* name);
    void ShowWriteFailure(int result);

    CHtmlDataManager m_htmlMng;
    CTvskHtmlEvent m_sink;
    CDataTip m_tip;
    CTvskManager* m_pManager = nullptr;
};

class CTvskHtmlStatus : public CHtmlWnd
{
public:
    static constexpr UINT_PTR kPollTimer = 1;
    static constexpr UINT kPollPeriodMs = 321;
    static constexpr UINT kIdlePeriodMs = 1000;

    void SetTvskManager(CTvskManager* manager) { m_pManager = manager; }
    BOOL Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    void SetAlarmString(const char* text);
    void SetMotorString(const char* text);
    void SetDriveString(const char* text);
    // -1 no connection, 0 working, 1 broken; higher states show as 1.
    void SetAlarmImage(int state);
    // settings null: the current connection.
    void UpdateCommConfString(const char* settings);
    void UpdateDriveDescrString();
    void UpdateColors() {}

    bool IsDocumentLoaded() const { return m_bDocLoaded != 0; }
    // The period the poll timer was last armed with (0: not armed).
    UINT ArmedPeriod() const { return m_nArmedPeriod; }
    CHtmlDataManager& DataManager() { return m_htmlMng; }

protected:
    // The status strip has no client edge.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(CREATESTRUCT* createStruct) override;
    void OnDestroy() override;
    void OnTimer(UINT_PTR id) override;
    void OnDocumentComplete(CString url) override;
    void OnBeforeNavigate2(CString url, DWORD flags, CString targetFrame, CByteArray& postData,
                           CString headers, BOOL* cancel) override;

private:
    void StopPolling();
    void ArmPoll(UINT period);
    // One poll of the drive: the next period.
    UINT Poll();

    CHtmlDataManager m_htmlMng;
    CTvskHtmlEventStatus m_sink;
    BYTE m_bDocLoaded = 0;
    UINT m_nArmedPeriod = 0;
    CTvskManager* m_pManager = nullptr;
};
