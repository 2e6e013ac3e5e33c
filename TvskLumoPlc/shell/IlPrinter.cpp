// Instruction-list pages: line layout in device units of the printer.
#include "IlPrinter.h"

#include <ui/Dc.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace
{
constexpr int kLineGap = 6;
constexpr int kNumberChars = 5;

// The line with its tabs turned into blanks up to the next stop.
std::string ExpandTabs(std::string_view line, int tabSize)
{
    std::string out;
    for (char ch : line)
    {
        if (ch == '\t')
            out.append(static_cast<size_t>(tabSize - static_cast<int>(out.size()) % tabSize), ' ');
        else
            out.push_back(ch);
    }
    return out;
}
} // namespace

CIlPrinter::CIlPrinter()
{
    CreatePrintFont(m_font, static_cast<int>(kFontHeight * m_dScale));
}

void CIlPrinter::Measure(CDC* dc)
{
    LayOut(dc);
    CFont* oldFont = dc->SelectObject(&m_font);
    m_nCharWidth = std::max(1, static_cast<int>(dc->GetTextExtent("A").cx));
    dc->SelectObject(oldFont);
    m_nLineHeight = static_cast<int>(kFontHeight * m_dScale) + kLineGap;
    m_nLinesPerPage = std::max(1, m_rcText.Height() / m_nLineHeight - 1);
    m_nTextOffset = m_bLineNumbers ? kNumberChars * m_nCharWidth : 0;
    m_nColumns = std::max(1, (m_rcText.Width() - m_nCharWidth - m_nTextOffset) / m_nCharWidth);
}

void CIlPrinter::Collect(const CString& text, bool numbered)
{
    const std::string_view all(text.GetString(), static_cast<size_t>(text.GetLength()));
    WORD number = 0;
    size_t start = 0;
    while (start < all.size())
    {
        size_t end = all.find('\n', start);
        if (end == std::string_view::npos)
            end = all.size();
        const std::string line = ExpandTabs(all.substr(start, end - start), kTabSize);
        ++number;
        size_t piece = 0;
        do
        {
            PrintedLine printed;
            printed.text = line.substr(piece, static_cast<size_t>(m_nColumns)).c_str();
            printed.numbered = numbered ? 1 : 0;
            printed.number = piece == 0 ? number : 0;
            m_lines.push_back(printed);
            piece += static_cast<size_t>(m_nColumns);
        } while (piece < line.size());
        start = end + 1;
    }
    PrintedLine rule;
    rule.number = kRule;
    m_lines.push_back(rule);
}

int CIlPrinter::GetPageCount(CDC* dc, CCrystalTextBuffer& buffer)
{
    buffer.GetAllText(m_strIL, CRLF_STYLE_MAC);
    Measure(dc);
    m_lines.clear();
    if (!m_strLeading.IsEmpty())
        Collect(m_strLeading, false);
    Collect(m_strIL, true);
    const int lines = static_cast<int>(m_lines.size());
    m_nPageCount = (lines + m_nLinesPerPage - 1) / m_nLinesPerPage;
    return m_nPageCount;
}

void CIlPrinter::PrintPage(CDC* dc, CCrystalTextBuffer&, int page)
{
    CPlcPrintPage::PrintPage(dc, page, m_nPageCount);
}

void CIlPrinter::PrintBody(CDC* dc, int page)
{
    CFont* oldFont = dc->SelectObject(&m_font);
    const size_t first = static_cast<size_t>(std::max(0, page - 1)) * static_cast<size_t>(m_nLinesPerPage);
    const size_t last = std::min(m_lines.size(), first + static_cast<size_t>(m_nLinesPerPage));
    const int left = m_rcText.left + m_nCharWidth;
    for (size_t i = first; i < last; ++i)
    {
        const PrintedLine& line = m_lines[i];
        const int y = m_rcText.top + static_cast<int>(i - first) * m_nLineHeight;
        if (line.number == kRule)
        {
            dc->MoveTo(left, y + m_nLineHeight / 2);
            dc->LineTo(m_rcText.right - m_nCharWidth, y + m_nLineHeight / 2);
            continue;
        }
        if (line.numbered && line.number != 0)
        {
            CString number;
            number.Format("%4d", line.number);
            dc->TextOut(left, y, number);
        }
        dc->TextOut(left + m_nTextOffset, y, line.text);
    }
    dc->SelectObject(oldFont);
}
