// Prints an instruction-list program: the leading text, then the program with line numbers,
// lines too wide broken into pieces, a rule after each text, and the page's title block.
#pragma once

#include "PlcPrintPage.h"

#include <TvskLumoPlc/textview/SourceView.h>

#include <vector>

class CIlPrinter : public CPlcPrintPage, public CSourcePrinter
{
public:
    static constexpr WORD kRule = 0xFFFF;
    static constexpr int kTabSize = 4;

    struct PrintedLine
    {
        CString text;
        BYTE numbered = 0;
        WORD number = 0; // 0 for a continuation piece, kRule for the rule after a text
    };

    CIlPrinter();

    int GetPageCount(CDC* dc, CCrystalTextBuffer& buffer) override;
    void PrintPage(CDC* dc, CCrystalTextBuffer& buffer, int page) override;

    const std::vector<PrintedLine>& GetPrintedLines() const noexcept { return m_lines; }
    int GetLinesPerPage() const noexcept { return m_nLinesPerPage; }
    int GetColumns() const noexcept { return m_nColumns; }

protected:
    void PrintBody(CDC* dc, int page) override;

private:
    void Measure(CDC* dc);
    void Collect(const CString& text, bool numbered);

    CFont m_font;
    bool m_bLineNumbers = true;
    double m_dScale = 1.0;
    CString m_strIL;
    std::vector<PrintedLine> m_lines;
    int m_nLineHeight = 1;
    int m_nLinesPerPage = 1;
    int m_nCharWidth = 1;
    int m_nTextOffset = 0;
    int m_nColumns = 1;
    int m_nPageCount = 0;
};
