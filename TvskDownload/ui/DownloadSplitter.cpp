#include <TvskDownload/ui/DownloadSplitter.h>

#include <TvskDownload/ui/DownloadWnd.h>

CDownloadSplitter::CDownloadSplitter(CDownloadWnd* window) : CSplitterBar(kBarSize), m_pWindow(window) {}

void CDownloadSplitter::GetParentClientRect(RECT* rect)
{
    if (m_pWindow && m_pWindow->GetSafeHwnd())
        m_pWindow->GetClientRect(rect);
    else
        CSplitterBar::GetParentClientRect(rect);
}

void CDownloadSplitter::GetParentWindowRect(RECT* rect)
{
    if (m_pWindow && m_pWindow->GetSafeHwnd())
        m_pWindow->GetWindowRect(rect);
    else
        CSplitterBar::GetParentWindowRect(rect);
}
