// Printing: the print dialog behind a replaceable sink, and a printer context drawing over QPrinter.
#pragma once

#include "Dc.h"

#include <framework/CString.h>

#include <memory>

class CWnd;
class QPrinter;

// Print dialog flags
constexpr DWORD PD_ALLPAGES = 0x00000000;
constexpr DWORD PD_SELECTION = 0x00000001;
constexpr DWORD PD_PAGENUMS = 0x00000002;
constexpr DWORD PD_NOSELECTION = 0x00000004;
constexpr DWORD PD_NOPAGENUMS = 0x00000008;
constexpr DWORD PD_COLLATE = 0x00000010;
constexpr DWORD PD_PRINTTOFILE = 0x00000020;
constexpr DWORD PD_PRINTSETUP = 0x00000040;
constexpr DWORD PD_RETURNDC = 0x00000100;
constexpr DWORD PD_USEDEVMODECOPIES = 0x00040000;
constexpr DWORD PD_USEDEVMODECOPIESANDCOLLATE = 0x00040000;
constexpr DWORD PD_DISABLEPRINTTOFILE = 0x00080000;
constexpr DWORD PD_HIDEPRINTTOFILE = 0x00100000;

// Results of StartDoc, StartPage, EndPage and EndDoc at or below zero
constexpr int SP_ERROR = -1;

// What the print dialog asks and answers. The printer is a named printer, or a PDF file: with
// neither, the PDF goes to "<document name>.pdf" in the current folder.
struct PRINTDLG
{
    DWORD Flags = 0;
    WORD nFromPage = 1;
    WORD nToPage = 1;
    WORD nMinPage = 1;
    WORD nMaxPage = 0xFFFF;
    WORD nCopies = 1;
    CString printerName;
    CString outputFile;
};

struct DOCINFO
{
    int cbSize = sizeof(DOCINFO);
    const char* lpszDocName = nullptr;
    const char* lpszOutput = nullptr; // a PDF file instead of the chosen printer
};

// Shows the print dialog and answers IDOK (settings filled in) or IDCANCEL. Tests install one that answers.
class CPrintDialogSink
{
public:
    virtual ~CPrintDialogSink() = default;
    virtual int Show(CWnd* owner, PRINTDLG& settings) = 0;
};

// Installs a sink (null: the desktop one again) and answers the previous one. Without a display the
// desktop sink answers IDOK for the PDF printer.
CPrintDialogSink* AfxSetPrintDialogSink(CPrintDialogSink* sink);
CPrintDialogSink* AfxGetPrintDialogSink();

// A context drawing on a printer page at a fixed 600 dots per inch (device units are dots).
class CPrinterDC : public CDC
{
public:
    static constexpr int kResolution = 600;

    CPrinterDC();
    ~CPrinterDC() override;

    // The printer the settings name (or their PDF file); FALSE when it cannot be had.
    BOOL CreatePrinter(const PRINTDLG& settings);
    BOOL IsPrinting() const override { return TRUE; }
    int GetDeviceCaps(int index) const;

    // A document of pages; each answers a value above zero, or SP_ERROR. A preview records them.
    virtual int StartDoc(const DOCINFO* docInfo);
    int StartDoc(const char* docName);
    virtual int StartPage();
    virtual int EndPage();
    virtual int EndDoc();
    virtual int AbortDoc();
    // The PDF file being written (empty for a named printer).
    CString GetOutputFile() const;

private:
    std::unique_ptr<QPrinter> m_printer;
    bool m_inDoc = false;
    bool m_pageStarted = false;
    int m_pages = 0;
};

class CPrintDialog
{
public:
    explicit CPrintDialog(BOOL printSetupOnly,
                          DWORD flags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS |
                                        PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                          CWnd* parent = nullptr);
    virtual ~CPrintDialog();
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;

    // IDOK or IDCANCEL; with PD_RETURNDC an accepted dialog also makes the printer context, and
    // IDABORT says that the chosen printer cannot be had (none is installed, or it is gone).
    virtual INT_PTR DoModal();
    // The context made by DoModal (the dialog keeps it), or null.
    CPrinterDC* GetPrinterDC() const { return m_dc.get(); }
    // A new context on the chosen printer; the caller owns it. Null when it cannot be had.
    std::unique_ptr<CPrinterDC> CreatePrinterDC() const;
    int GetCopies() const { return m_pd.nCopies; }
    CString GetDeviceName() const { return m_pd.printerName; }

    PRINTDLG m_pd;

private:
    CWnd* m_parent;
    std::unique_ptr<CPrinterDC> m_dc;
};
