// The bar between the download window's parameter list and its monitor.
#pragma once

#include <uiext/SplitterBar.h>

class CDownloadWnd;

class CDownloadSplitter : public CSplitterBar
{
public:
    static constexpr int kBarSize = 20; // wide enough to grip without aiming

    explicit CDownloadSplitter(CDownloadWnd* window);

    // The panes share the download window's client area, whatever window the bar is moved into.
    void GetParentClientRect(RECT* rect) override;
    void GetParentWindowRect(RECT* rect) override;

private:
    CDownloadWnd* m_pWindow; // not owned: the window holds the bar
};
