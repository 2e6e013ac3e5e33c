// What the drive and motor selection share: the page window bound to its data manager and the
// dialog that shows it in place of control 1000.
#pragma once

#include "HtmlDataManager.h"

#include <ui/Dialog.h>
#include <uiext/TvskHtmlWndImpl.h>

class CTvskManager;

constexpr UINT IDC_SELECT_PAGE_PLACEHOLDER = 1000;
constexpr UINT IDC_SELECT_PAGE = 100;

class CSelectHtmlWnd : public CTvskHtmlWndImpl
{
public:
    void SetTvskManager(CTvskManager* manager) { m_pManager = manager; }
    CHtmlDataManager& DataManager() { return m_htmlMng; }

protected:
    virtual CHtmlEventSink& Sink() = 0;
    // Without the data manager's creation a message box tells its code.
    virtual bool ReportsCreationFailure() const = 0;
    int OnCreate(CREATESTRUCT* createStruct) override;
    void OnDestroy() override;
    void OnBeforeNavigate2(CString url, DWORD flags, CString targetFrame, CByteArray& postData,
                           CString headers, BOOL* cancel) override;
    // Arms the sink and binds the page; false when there is nothing to bind.
    bool BindPage();
    // "TITLE" and title elements become the dialog's caption; buttons, paragraphs and titles take
    // their localised texts (only texts the lookup found).
    void ApplyPageTexts();
    // The dialog takes the page's "GENERAL" size; at is its new position, null: where it is.
    void FitDialog(const CPoint* at);
    // The value field's number; false (datum kept) when its whole text is not one.
    bool ReadNumber(const char* name, double& value);
    void PutImage(const char* name, const CString& file);

    CHtmlDataManager m_htmlMng;
    CTvskManager* m_pManager = nullptr;
};

class CSelectDlg : public CDialog
{
public:
    CSelectDlg(UINT templateId, const char* helpTopic, CWnd* parent);
    void SetTvskManager(CTvskManager* manager) { m_pManager = manager; }
    virtual void DisableDialog() { EnableWindow(FALSE); }
    virtual void EnableDialog() { EnableWindow(TRUE); }

protected:
    virtual CSelectHtmlWnd& PageWnd() = 0;
    virtual CString PagePath() = 0;
    BOOL OnInitDialog() override;
    BOOL OnHelpInfo(HELPINFO* info) override;
    CTvskManager* m_pManager = nullptr;

private:
    const char* m_helpTopic;
};
