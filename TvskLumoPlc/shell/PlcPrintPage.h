// The printed page of a PLC program: asks for a printer, lays out frame, header band, text area
// and title block, and prints the title block with the project information.
#pragma once

#include <framework/CString.h>
#include <framework/Geometry.h>
#include <ui/Gdi.h>

#include <memory>

class CDC;
class CPluginIntf;
class CPlcProjectInfo;
class CPrinterDC;
class CWnd;

class CPlcPrintPage
{
public:
    static constexpr int kHeaderHeight = 200;
    static constexpr int kFooterHeight = 500;
    static constexpr int kFontHeight = 80;

    CPlcPrintPage();
    virtual ~CPlcPrintPage();
    CPlcPrintPage(const CPlcPrintPage&) = delete;
    CPlcPrintPage& operator=(const CPlcPrintPage&) = delete;

    void SetHost(CPluginIntf* host) noexcept { m_pHost = host; }
    // The title block's texts: info may be null, fileName is the configuration's file (its name
    // part is shown), title is shown upper-cased.
    void SetTitleInfo(const CPlcProjectInfo* info, const char* fileName, const char* title);
    // The free text printed before the program (unnumbered).
    void SetLeadingText(const CString& text) { m_strLeading = text; }
    const CString& GetLeadingText() const noexcept { return m_strLeading; }
    const CString& GetTitle() const noexcept { return m_strTitle; }

    // The print dialog without page numbers or selection; IDOK with the printer context made,
    // IDCANCEL, or IDABORT when the chosen printer cannot be had.
    INT_PTR ChoosePrinter(CWnd* owner);
    CPrinterDC* GetPrinterDC() const noexcept { return m_pDC.get(); }

    // Reads the page metrics of the printer context and lays the page out.
    void LayOut(CDC* dc);
    // Header, frame, body and title block of one page (1-based).
    void PrintPage(CDC* dc, int page, int pageCount);

    const CRect& GetTextArea() const noexcept { return m_rcText; }
    const CRect& GetFrame() const noexcept { return m_rcFrame; }

protected:
    virtual void PrintHeader(CDC* dc, int page);
    virtual void PrintBody(CDC* dc, int page) = 0;
    // A "Courier New" font of the given height, the system's fixed font when that is missing.
    static void CreatePrintFont(CFont& font, int height);
    CString HostString(unsigned id) const;

    CPluginIntf* m_pHost = nullptr; // not owned
    CString m_strVersion = "1.00";
    CString m_strDate;
    CString m_strConfiguration;
    CString m_strTitle;
    CString m_strRelease;
    CString m_strAuthor;
    CString m_strNote;
    CString m_strComment;
    CString m_strLeading;
    int m_nPrintWidth = 0;
    int m_nPrintHeight = 0;
    int m_nMarginLeft = 0;
    int m_nMarginRight = 0;
    int m_nMarginTop = 0;
    int m_nMarginBottom = 0;
    CRect m_rcFrame;
    CRect m_rcHeader;
    CRect m_rcText;
    CRect m_rcTitle;
    CFont m_fontTitle;
    bool m_bFrame = true;

private:
    void PrintTitleBlock(CDC* dc, int page, int pageCount);

    std::unique_ptr<CPrinterDC> m_pDC;
};
