// Printing of the text view.
#include "CrystalTextView.h"

#include <TvskLumoPlc/text/Utf8Chars.h>

#include <ui/Dc.h>
#include <ui/PrintInfo.h>

#include <algorithm>

namespace
{

constexpr int kHundredthsOfMmPerInch = 2540;
constexpr int kDefaultMargin = 1000;
constexpr int kLineNumberChars = 5; // "%04d "

CRect Deflate(const CRect& page, const CRect& marginsDots)
{
    return CRect(page.left + marginsDots.left, page.top + marginsDots.top, page.right - marginsDots.right,
                 page.bottom - marginsDots.bottom);
}

CRect MarginsInDots(const CRect& margins, int dpi)
{
    return CRect(MulDiv(margins.left, dpi, kHundredthsOfMmPerInch),
                 MulDiv(margins.top, dpi, kHundredthsOfMmPerInch),
                 MulDiv(margins.right, dpi, kHundredthsOfMmPerInch),
                 MulDiv(margins.bottom, dpi, kHundredthsOfMmPerInch));
}

} // namespace

std::vector<std::pair<int, int>> CCrystalTextView::WrapLine(std::string_view text, int width)
{
    width = std::max(1, width);
    std::vector<std::pair<int, int>> pieces;
    const int length = static_cast<int>(text.size());
    int pos = 0;
    // A piece holds at most `width` characters and never ends inside one.
    for (int cut = tvsk::text::AdvanceChars(text, pos, width); cut < length;
         cut = tvsk::text::AdvanceChars(text, pos, width))
    {
        const size_t space = text.rfind(' ', static_cast<size_t>(cut));
        if (space != std::string_view::npos && static_cast<int>(space) > pos)
        {
            pieces.emplace_back(pos, static_cast<int>(space) - pos);
            pos = static_cast<int>(space) + 1;
        }
        else
        {
            pieces.emplace_back(pos, cut - pos);
            pos = cut;
        }
    }
    if (pos < length || pieces.empty())
        pieces.emplace_back(pos, length - pos);
    return pieces;
}

std::string CCrystalTextView::ExpandLineForPrint(int line)
{
    std::string expanded;
    int column = 0;
    for (char ch : m_pTextBuffer->GetLine(line))
    {
        if (ch == '\t')
        {
            const int spaces = m_nTabSize - column % m_nTabSize;
            expanded.append(static_cast<size_t>(spaces), ' ');
            column += spaces;
            continue;
        }
        expanded += ch;
        column += tvsk::text::IsContinuation(ch) ? 0 : 1;
    }
    return expanded;
}

BOOL CCrystalTextView::OnPreparePrinting(CPrintInfo* info)
{
    return HasText() ? DoPreparePrinting(info) : FALSE;
}

void CCrystalTextView::OnBeginPrinting(CDC* dc, CPrintInfo* info)
{
    // Printed text is half its screen size.
    CDC screen;
    screen.CreateCompatibleDC(nullptr);
    const int screenDpi = std::max(1, screen.GetDeviceCaps(LOGPIXELSY));
    const int printerDpi = std::max(1, dc->GetDeviceCaps(LOGPIXELSY));
    LOGFONT font = m_lfBaseFont;
    if (font.lfHeight == 0)
        font.lfHeight = -GetLineHeight();
    font.lfHeight = MulDiv(font.lfHeight, printerDpi, screenDpi * 2);
    font.lfWidth = MulDiv(font.lfWidth, printerDpi, screenDpi * 2);
    m_pPrintFont = std::make_unique<CFont>();
    m_pPrintFont->CreateFontIndirect(&font);
    dc->SelectObject(m_pPrintFont.get());
    const CSize x = dc->GetTextExtent("X");
    m_nPrintLineHeight = std::max<int>(1, x.cy);
    m_nPrintCharWidth = std::max<int>(1, x.cx);
    LayoutPrintPages(dc);
    info->SetMaxPage(static_cast<UINT>(m_printPageStarts.size()));
}

int CCrystalTextView::PrintTextWidth() const
{
    const int chars =
        m_rcPrintArea.Width() / m_nPrintCharWidth - (m_bPrintLineNumbers ? kLineNumberChars : 0);
    return std::max(1, chars);
}

void CCrystalTextView::LayoutPrintPages(CDC* dc)
{
    const CRect page(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
    const int dpi = std::max(1, dc->GetDeviceCaps(LOGPIXELSX));
    m_nPrintFooterHeight = m_nPrintLineHeight * 3 / 2;
    const auto fits = [&](const CRect& area) {
        return area.Width() >= m_nPrintCharWidth &&
               area.Height() - m_nPrintFooterHeight >= m_nPrintLineHeight;
    };
    CRect area = Deflate(page, MarginsInDots(GetPrintMargins(), dpi));
    if (!fits(area))
        area = Deflate(
            page, MarginsInDots(CRect(kDefaultMargin, kDefaultMargin, kDefaultMargin, kDefaultMargin), dpi));
    if (!fits(area))
        area = page;
    area.bottom -= m_nPrintFooterHeight;
    m_rcPrintArea = area;

    const int width = PrintTextWidth();
    const int rowsPerPage = std::max(1, area.Height() / m_nPrintLineHeight);
    m_printPageStarts.clear();
    int rows = rowsPerPage;
    for (int line = 0; line < GetLineCount(); ++line)
    {
        const int pieces = static_cast<int>(WrapLine(ExpandLineForPrint(line), width).size());
        for (int piece = 0; piece < pieces; ++piece)
        {
            if (rows == rowsPerPage)
            {
                m_printPageStarts.push_back({line, piece});
                rows = 0;
            }
            ++rows;
        }
    }
}

void CCrystalTextView::OnPrepareDC(CDC* dc, CPrintInfo* info)
{
    CView::OnPrepareDC(dc, info);
    if (info && dc && dc->IsPrinting())
        info->m_bContinuePrinting = info->m_nCurPage >= 1 && info->m_nCurPage <= m_printPageStarts.size();
}

void CCrystalTextView::OnPrint(CDC* dc, CPrintInfo* info)
{
    const size_t page = info->m_nCurPage - 1;
    if (page >= m_printPageStarts.size() || !HasText())
        return;
    dc->SelectObject(m_pPrintFont.get());
    dc->SetTextColor(RGB(0, 0, 0));
    dc->SetBkMode(TRANSPARENT);
    const int width = PrintTextWidth();
    const int rowsPerPage = std::max(1, m_rcPrintArea.Height() / m_nPrintLineHeight);
    int rows = 0;
    PRINT_POS pos = m_printPageStarts[page];
    for (int line = pos.line; line < GetLineCount() && rows < rowsPerPage; ++line)
    {
        const std::string text = ExpandLineForPrint(line);
        const auto pieces = WrapLine(text, width);
        for (size_t piece = line == pos.line ? static_cast<size_t>(pos.piece) : 0;
             piece < pieces.size() && rows < rowsPerPage; ++piece, ++rows)
        {
            const auto [start, length] = pieces[piece];
            CString printed;
            if (m_bPrintLineNumbers)
                printed = piece == 0 ? FormatString("%04d ", line + 1) : CString(' ', kLineNumberChars);
            printed += CString(
                std::string_view(text).substr(static_cast<size_t>(start), static_cast<size_t>(length)));
            dc->TextOut(m_rcPrintArea.left, m_rcPrintArea.top + rows * m_nPrintLineHeight, printed);
        }
    }
    CString footer;
    footer.Format("Page %d/%d", static_cast<int>(page + 1), static_cast<int>(m_printPageStarts.size()));
    CRect band(m_rcPrintArea.left, m_rcPrintArea.bottom, m_rcPrintArea.right,
               m_rcPrintArea.bottom + m_nPrintFooterHeight);
    dc->DrawText(footer, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void CCrystalTextView::OnEndPrinting(CDC*, CPrintInfo*)
{
    m_pPrintFont.reset();
}
