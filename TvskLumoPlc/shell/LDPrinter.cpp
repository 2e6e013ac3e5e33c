// Ladder pages: cell size, fit-to-page scale, page breaks between networks, and each network
// recorded as the screen draws it and put on the page scaled to the printer's cell.
#include "LDPrinter.h"

#include <Tarveskon/PluginIntf.h>
#include <TvskLumoPlc/graph/GraphLadder.h>
#include <TvskLumoPlc/graph/LDManager.h>
#include <TvskLumoPlc/graphview/LDView.h>
#include <TvskLumoPlc/graphview/NetworkWnd.h>

#include <ui/Dc.h>
#include <ui/Print.h>
#include <ui/PrintPreview.h>

#include <QPainter>
#include <QPicture>

#include <algorithm>
#include <string>

namespace
{
constexpr double kFitMargin = 0.9;
constexpr int kWidthReserve = 100;

// Records a network's drawing in screen units, to be put on the page at the printer's scale.
class CRecordingDC : public CDC
{
public:
    explicit CRecordingDC(QPicture& picture) { BeginOn(&picture); }
    ~CRecordingDC() override { EndPainting(); }
};
} // namespace

CLDPrinter::CLDPrinter()
{
    CreatePrintFont(m_fontElement, kFontHeight);
    CreatePrintFont(m_fontNumber, kFontHeight);
    CreatePrintFont(m_fontComment, kFontHeight);
}

std::vector<CNetworkWnd*> CLDPrinter::Networks() const
{
    std::vector<CNetworkWnd*> networks;
    CLDManager* manager = m_pView ? m_pView->GetLDManager() : nullptr;
    if (!manager)
        return networks;
    for (int i = 0; i < manager->GetNetworkCount(); ++i)
        if (auto* network = dynamic_cast<CNetworkWnd*>(manager->GetNetwork(i)))
            networks.push_back(network);
    return networks;
}

int CLDPrinter::Paginate(CDC* dc)
{
    LayOut(dc);
    CFont* oldFont = dc->SelectObject(&m_fontElement);
    const CSize letter = dc->GetTextExtent("A");
    dc->SelectObject(oldFont);
    m_nCell = std::max<int>(1, std::max(letter.cx, letter.cy));

    const std::vector<CNetworkWnd*> networks = Networks();
    m_dScale = 1.0;
    if (m_bFitToPage)
    {
        int rows = 0;
        int columns = 0;
        for (CNetworkWnd* network : networks)
        {
            rows = std::max(rows, network->GetObjectWnd()->GetRowCount());
            columns = std::max(columns, network->GetObjectWnd()->GetMaxColumn());
            // The right rail closes the drawing.
            if (const CGraphPwrRail* rail = m_pView->GetLDManager()->GetRightRail(network))
                columns = std::max(columns, rail->GetPosition().x + 1);
        }
        const int digits = static_cast<int>(std::to_string(networks.size()).size());
        const int width = m_rcText.Width() - m_nCell * digits - m_nMarginLeft - kWidthReserve;
        // Only the extents that are there limit the scale.
        double fit = 0;
        if (rows > 0)
            fit = static_cast<double>(m_rcText.Height()) / (m_nCell * rows);
        if (columns > 0)
        {
            const double across = static_cast<double>(width) / (m_nCell * columns);
            fit = fit > 0 ? std::min(fit, across) : across;
        }
        if (fit > 0)
            m_dScale = kFitMargin * fit;
    }

    m_Pages.clear();
    const int cell = std::max(1, static_cast<int>(m_nCell * m_dScale));
    int top = m_rcText.top;
    for (CNetworkWnd* network : networks)
    {
        const int height = std::max(1, network->GetObjectWnd()->GetRowCount()) * cell;
        // A network taller than the page gets a page of its own and is cut at its bottom.
        if (m_Pages.empty() || (top + height > m_rcText.bottom && top > m_rcText.top))
        {
            m_Pages.emplace_back();
            top = m_rcText.top;
        }
        m_Pages.back().push_back({network, top});
        top += height;
    }
    if (m_Pages.empty())
        m_Pages.emplace_back();
    return GetPageCount();
}

void CLDPrinter::PrintBody(CDC* dc, int page)
{
    if (page < 1 || page > GetPageCount())
        return;
    CLDManager* manager = m_pView ? m_pView->GetLDManager() : nullptr;
    QPainter* painter = dc->GetPainter();
    if (!manager || !painter)
        return;
    const int digits = static_cast<int>(std::to_string(Networks().size()).size());
    const int left = m_rcText.left + m_nCell * (digits + 1);
    // A grid step of the screen becomes a cell of the page.
    const double cell = m_nCell * m_dScale;
    const double scaleX = cell / std::max(1, manager->GetStepX());
    const double scaleY = cell / std::max(1, manager->GetStepY());
    for (const Placed& placed : m_Pages[static_cast<size_t>(page - 1)])
    {
        CString number;
        number.Format("%d", placed.network->GetNumber());
        CFont* oldFont = dc->SelectObject(&m_fontNumber);
        dc->TextOut(m_rcText.left + m_nCell / 2, placed.top, number);
        dc->SelectObject(oldFont);

        QPicture network;
        {
            CRecordingDC recorder(network);
            placed.network->GetObjectWnd()->DrawAll(&recorder, manager);
        }
        painter->save();
        painter->resetTransform();
        painter->setClipRect(QRect(m_rcText.left, m_rcText.top, m_rcText.Width(), m_rcText.Height()));
        painter->translate(left, placed.top);
        painter->scale(scaleX, scaleY);
        // Drawing a picture scales it by the device's resolution over the picture's: undone.
        painter->scale(static_cast<double>(network.logicalDpiX()) / painter->device()->logicalDpiX(),
                       static_cast<double>(network.logicalDpiY()) / painter->device()->logicalDpiY());
        painter->drawPicture(0, 0, network);
        painter->restore();
    }
}

bool CLDPrinter::PrintView(CLDView* view, const CPlcProjectInfo* info, CWnd* owner, bool preview)
{
    SetView(view);
    SetPrintInfo(info);
    return preview ? FilePrintPreview(owner) : FilePrint(owner);
}

bool CLDPrinter::FilePrint(CWnd* owner)
{
    m_bPrintFailed = false;
    if (!m_pView)
        return false;
    const INT_PTR chosen = ChoosePrinter(owner);
    m_bPrintFailed = chosen == IDABORT || (chosen == IDOK && !PrintDocument(GetPrinterDC()));
    return chosen == IDOK && !m_bPrintFailed;
}

bool CLDPrinter::FilePrintPreview(CWnd* owner)
{
    CPreviewDC preview;
    if (!m_pView || !preview.CreatePreview() || !PrintDocument(&preview))
        return false;
    AfxShowPrintPreview(owner, preview);
    return true;
}

bool CLDPrinter::PrintDocument(CPrinterDC* dc)
{
    const char* fileName = m_pHost ? m_pHost->GetFileName() : "";
    SetTitleInfo(m_pInfo, fileName, "");
    const int pages = Paginate(dc);
    if (dc->StartDoc("LumoPlc") <= 0)
        return false;
    for (int page = 1; page <= pages; ++page)
    {
        if (dc->StartPage() <= 0)
        {
            dc->AbortDoc();
            return false;
        }
        PrintPage(dc, page, pages);
        dc->EndPage();
    }
    return dc->EndDoc() > 0;
}
