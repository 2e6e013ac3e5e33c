#include "ZoHelpWnd.h"

#include "ZoHelpListPage.h"

#include <ui/Language.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace
{
constexpr UINT kBrowserId = 1;
constexpr UINT kSearchTextId = 2;
constexpr UINT kSearchId = 3;
constexpr UINT kIndexId = 4;
constexpr int kBarHeight = 30;
constexpr int kButtonWidth = 90;
constexpr int kLabelWidth = 64;
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
    if (!m_browser.GetSafeHwnd() && !CreateParts())
        return FALSE;
    SetWindowText(title);
    m_browser.Navigate(page);
    ShowWindow(SW_SHOW);
    m_bVisible = 1;
    return TRUE;
}

bool CZoHelpWnd::CreateParts()
{
    const CRect none(0, 0, 10, 10);
    if (!m_searchLabel.Create(AfxTranslatedText("Search: ").Trim(), WS_CHILD | WS_VISIBLE | SS_RIGHT, none,
                              this) ||
        !m_searchText.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, none, this,
                             kSearchTextId) ||
        !m_searchButton.Create(AfxTranslatedText("Search"), WS_CHILD | WS_VISIBLE | WS_TABSTOP, none, this,
                               kSearchId) ||
        !m_indexButton.Create(AfxTranslatedText("Index"), WS_CHILD | WS_VISIBLE | WS_TABSTOP, none, this,
                              kIndexId) ||
        !m_browser.Create(nullptr, WS_CHILD | WS_VISIBLE, none, this, kBrowserId))
        return false;
    CRect client;
    GetClientRect(&client);
    PlaceParts(client.Width(), client.Height());
    return true;
}

void CZoHelpWnd::PlaceParts(int cx, int cy)
{
    const int margin = 4;
    const int height = kBarHeight - 2 * margin;
    const int textWidth = std::max(40, cx - kLabelWidth - 2 * kButtonWidth - 5 * margin);
    m_searchLabel.MoveWindow(margin, margin, kLabelWidth, height);
    const int textLeft = 2 * margin + kLabelWidth;
    m_searchText.MoveWindow(textLeft, margin, textWidth, height);
    m_searchButton.MoveWindow(textLeft + margin + textWidth, margin, kButtonWidth, height);
    m_indexButton.MoveWindow(textLeft + 2 * margin + textWidth + kButtonWidth, margin, kButtonWidth, height);
    m_browser.MoveWindow(0, kBarHeight, cx, std::max(0, cy - kBarHeight));
}

void CZoHelpWnd::OnSize(UINT type, int cx, int cy)
{
    CToolWnd::OnSize(type, cx, cy);
    if (m_browser.GetSafeHwnd())
        PlaceParts(cx, cy);
}

void CZoHelpWnd::AskFromBar(bool search)
{
    CString text;
    m_searchText.GetWindowText(text);
    if (search)
        Search(text);
    else
        Index(text);
}

BOOL CZoHelpWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED && (LOWORD(wParam) == kSearchId || LOWORD(wParam) == kIndexId))
    {
        AskFromBar(LOWORD(wParam) == kSearchId);
        return TRUE;
    }
    return CToolWnd::OnCommand(wParam, lParam);
}

BOOL CZoHelpWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && m_searchText.GetSafeHwnd() &&
        GetFocus() == &m_searchText)
    {
        AskFromBar(true);
        return TRUE;
    }
    return CToolWnd::PreTranslateMessage(msg);
}

void CZoHelpWnd::OnClose()
{
    ShowWindow(SW_HIDE);
    m_bVisible = 0;
}
