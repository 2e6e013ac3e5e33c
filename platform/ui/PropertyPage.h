// One page of a property sheet: a child dialog made from its template inside the window that holds
// the sheet's pages, with the page record the sheet keeps for it.
#pragma once

#include "Dialog.h"

#include <framework/CmdTarget.h>

// Page record flags
constexpr DWORD PSP_DEFAULT = 0x00000000;
constexpr DWORD PSP_HIDEHEADER = 0x00000800; // a wizard page shown without the sheet's header

struct PROPSHEETPAGE
{
    DWORD dwSize = sizeof(PROPSHEETPAGE);
    DWORD dwFlags = PSP_DEFAULT;
};

class CPropertyPage : public CDialog, public CCmdTarget
{
    DECLARE_DYNAMIC(CPropertyPage)

public:
    CPropertyPage();
    explicit CPropertyPage(UINT templateId);

    // Makes the page as a child of parent from its template, whatever frame the template names,
    // at the parent's top-left corner; shown when the template says so.
    BOOL Create(UINT templateId, CWnd* parent = nullptr) override;
    BOOL Create(CWnd* parent) { return Create(m_nIDTemplate, parent); }

    PROPSHEETPAGE m_psp;
};
