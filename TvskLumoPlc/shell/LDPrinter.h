// Prints the ladder view's networks, fitted to the page, each with its number, on pages with
// the title block.
#pragma once

#include "PlcPrintPage.h"

#include <TvskLumoPlc/graphview/LDView.h>

#include <vector>

class CNetworkWnd;
class CPlcProjectInfo;

class CLDPrinter : public CPlcPrintPage, public CLDViewPrinter
{
public:
    CLDPrinter();

    bool PrintView(CLDView* view, const CPlcProjectInfo* info, CWnd* owner, bool preview) override;
    void SetView(CLDView* view) noexcept { m_pView = view; }
    void SetPrintInfo(const CPlcProjectInfo* info) noexcept { m_pInfo = info; }
    // Asks for a printer and prints every page; false when cancelled or nothing could be printed.
    bool FilePrint(CWnd* owner);
    // The last FilePrint had a printer chosen but printed nothing (none installed, a file that
    // cannot be written).
    bool PrintFailed() const noexcept { return m_bPrintFailed; }
    // Draws every page for the default printer and shows them in the preview; false when they
    // could not be drawn.
    bool FilePrintPreview(CWnd* owner);

    // Lays the networks out for the printer context; the page count.
    int Paginate(CDC* dc);
    double GetScale() const noexcept { return m_dScale; }
    int GetPageCount() const noexcept { return static_cast<int>(m_Pages.size()); }

protected:
    void PrintBody(CDC* dc, int page) override;

private:
    bool m_bPrintFailed = false;
    struct Placed
    {
        CNetworkWnd* network;
        int top;
    };
    std::vector<CNetworkWnd*> Networks() const;
    // Lays out and prints every page on the context.
    bool PrintDocument(CPrinterDC* dc);

    CLDView* m_pView = nullptr;
    const CPlcProjectInfo* m_pInfo = nullptr;
    bool m_bFitToPage = true;
    double m_dScale = 1.0;
    int m_nCell = 1;
    CFont m_fontElement;
    CFont m_fontNumber;
    CFont m_fontComment;
    std::vector<std::vector<Placed>> m_Pages;
};
