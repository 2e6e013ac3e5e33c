// CZoHelpWnd: the help window, a tool window browsing the help file's topics and the lists of its
// index and search.
#pragma once

#include "ZoHelpFile.h"
#include "ZoHelpIntf.h"

#include <ui/Controls.h>
#include <uiext/HtmlWnd.h>
#include <uiext/ToolWnd.h>

class CZoHelpWnd : public CToolWnd, public CZoHelpIntf
{
public:
    CZoHelpWnd();
    ~CZoHelpWnd() override;

    BOOL isInitialized() const override { return m_bInitialized; }
    void setInitialized(BOOL initialized) override { m_bInitialized = initialized; }
    BOOL Initialize(CWnd* owner, const char* file) override;
    BOOL SetHelpFile(const char* file) override;
    BOOL Topic(const char* topic) override;
    BOOL Index(const char* text) override;
    BOOL Search(const char* text) override;
    BOOL Context(long contextId) override;

    const CString& HelpFile() const { return m_strFile; }
    CHtmlWnd& Browser() { return m_browser; }
    // The bar above the topic: a text with its "Search" and "Index" buttons (Enter searches).
    CEdit& SearchText() { return m_searchText; }
    CButton& SearchButton() { return m_searchButton; }
    CButton& IndexButton() { return m_indexButton; }

protected:
    void OnSize(UINT type, int cx, int cy) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    // Closing hides the window; the next request shows it again.
    void OnClose() override;

private:
    // The help file read, once for each time a file is given.
    bool Loaded();
    BOOL ShowTopic(const ZoHelpTopic* topic);
    BOOL ShowList(const CString& heading, const std::vector<ZoHelpLink>& links);
    BOOL Show(const CString& title, const CString& page);
    bool CreateParts();
    void PlaceParts(int cx, int cy);
    void AskFromBar(bool search);

    BOOL m_bInitialized = FALSE;
    CString m_strFile;
    CZoHelpFile m_file;
    // The list page, a file of this window's own, removed with it.
    CString m_strListPage;
    CHtmlWnd m_browser;
    CStatic m_searchLabel;
    CEdit m_searchText;
    CButton m_searchButton;
    CButton m_indexButton;
};
