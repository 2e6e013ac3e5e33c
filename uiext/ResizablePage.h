// Property pages whose anchored controls follow the page's size (the sheet gives it its size).
#pragma once

#include "ResizableLayout.h"

#include <ui/PropertyPage.h>

class CResizablePage : public CPropertyPage, public CResizableLayout
{
    DECLARE_DYNCREATE(CResizablePage)

public:
    CResizablePage();
    explicit CResizablePage(UINT templateId);

protected:
    CWnd* GetResizableWnd() override { return this; }

    BOOL OnInitDialog() override;
    void OnSize(UINT type, int cx, int cy) override;
    BOOL OnEraseBkgnd(CDC* dc) override;

private:
    BOOL m_bInitDone = FALSE;
};

// The wizard's page: shown without the sheet's header (PSP_HIDEHEADER) it covers the whole sheet,
// so every child is repainted whole when it moves.
class CResizablePageEx : public CResizablePage
{
    DECLARE_DYNCREATE(CResizablePageEx)

public:
    CResizablePageEx();
    explicit CResizablePageEx(UINT templateId);

protected:
    BOOL NeedsRefresh(HWND wnd) override;
};
