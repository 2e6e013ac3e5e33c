#include "ZoHelpWnd.h"

#include "ZoHelpListPage.h"

#include <ui/Language.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace
{
constexpr UINT kBrowserId = 1;
const CRect kFirstPlace(100, 100, 740, 620);
} // namespace

CZoHelpWnd::CZoHelpWnd() = default;

CZoHelpWnd::~CZoHelpWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    if (!m_strListPage.IsEmpty())
        ::unlink(m_strListPage);
}

BOOL CZoHelpWnd::Initialize(CWnd*, const char* file)
{
    SetHelpFile(file);
    m_bInitialized = TRUE;
    return TRUE;
}

BOOL CZoHelpWnd::SetHelpFile(const char* file)
{
    m_strFile = file ? file : "";
    m_file = CZoHelpFile();
    return TRUE;
}

bool CZoHelpWnd::Loaded()
{
    return m_file.IsLoaded() || m_file.Load(m_strFile) == 0;
}

BOOL CZoHelpWnd::Topic(const char* topic)
{
    return Loaded() && ShowTopic(m_file.FindTopic(topic));
}

BOOL CZoHelpWnd::Context(long contextId)
{
    return Loaded() && ShowTopic(m_file.FindContext(contextId));
}

BOOL CZoHelpWnd::Index(const char* text)
{
    return Loaded() && ShowList(AfxTranslatedText("Index: ") + CString(text), m_file.FilterKeywords(text));
}

BOOL CZoHelpWnd::Search(const char* text)
{
    return Loaded() && ShowList(AfxTranslatedText("Search: ") + CString(text), m_file.SearchTopics(text));
}

BOOL CZoHelpWnd::ShowTopic(const ZoHelpTopic* topic)
{
    std::error_code error;
    if (!topic || !std::filesystem::is_regular_file(topic->page.str(), error))
        return FALSE;
    return Show(topic->title, topic->page);
}

BOOL CZoHelpWnd::ShowList(const CString& heading, const std::vector<ZoHelpLink>& links)
{
    if (m_strListPage.IsEmpty())
    {
        std::error_code error;
        std::string pattern = (std::filesystem::temp_directory_path(error) / "zohelp-XXXXXX.htm").string();
        const int fd = ::mkstemps(pattern.data(), 4);
        if (fd < 0)
            return FALSE;
        ::close(fd);
        m_strListPage = pattern.c_str();
    }
    std::ofstream out(m_strListPage.str(), std::ios::binary | std::ios::trunc);
    out << MakeHelpListPage(heading, links, AfxTranslatedText("No topics found.").GetString()).str();
    out.close();
    if (!out)
        return FALSE;
    return Show(heading, m_strListPage);
}

BOOL CZoHelpWnd::Show(const CString& title, const CString& page)
{
    if (!GetSafeHwnd() && !Create(title, kFirstPlace, nullptr, 0))
        return FALSE;
    if (!m_browser.GetSafeHwnd())
    {
        CRect client;
        GetClientRect(&client);
        if (!m_browser.Create(nullptr, WS_CHILD | WS_VISIBLE, client, this, kBrowserId))
            return FALSE;
    }
    SetWindowText(title);
    m_browser.Navigate(page);
    ShowWindow(SW_SHOW);
    m_bVisible = 1;
    return TRUE;
}

void CZoHelpWnd::OnSize(UINT type, int cx, int cy)
{
    CToolWnd::OnSize(type, cx, cy);
    if (m_browser.GetSafeHwnd())
        m_browser.MoveWindow(0, 0, cx, cy);
}

void CZoHelpWnd::OnClose()
{
    ShowWindow(SW_HIDE);
    m_bVisible = 0;
}
