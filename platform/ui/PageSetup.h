// The page set-up dialog: margins in hundredths of millimetres, answered through a replaceable sink.
#pragma once

#include "UiDefs.h"

#include <framework/Geometry.h>

constexpr DWORD PSD_MARGINS = 0x2;
constexpr DWORD PSD_INHUNDREDTHSOFMILLIMETERS = 0x8;

struct PAGESETUPDLG
{
    DWORD Flags = PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS;
    RECT rtMargin{};
    CWnd* hwndOwner = nullptr;
};

// Shows the dialog and answers IDOK (with the settings changed) or IDCANCEL. Tests install one.
class CPageSetupSink
{
public:
    virtual ~CPageSetupSink() = default;
    virtual INT_PTR Run(PAGESETUPDLG& settings) = 0;
};

// Installs a sink (null: the desktop one again) and answers the previous one.
CPageSetupSink* AfxSetPageSetupSink(CPageSetupSink* sink);

class CPageSetupDialog
{
public:
    explicit CPageSetupDialog(DWORD flags = PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS,
                              CWnd* parent = nullptr);
    // Without a display the desktop sink answers IDCANCEL.
    INT_PTR DoModal();
    PAGESETUPDLG m_psd;
};
