// Print dialog sink, printer context and the document calls over QPrinter.
#include "Print.h"
#include "Desktop.h"

#include "Wnd.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <string>

namespace
{

// "<document name>.pdf" in the folder, the name kept to characters a file name takes.
QString PdfName(const QDir& folder, const char* docName)
{
    QString name = QString::fromUtf8(docName && *docName ? docName : "print");
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char('*') || c.unicode() < 0x20)
            c = QLatin1Char('_');
    return folder.filePath(name + QStringLiteral(".pdf"));
}

QString DefaultPdfName(const char* docName)
{
    return PdfName(QDir::current(), docName);
}

// The caption of the owner's window, without the mark of unsaved changes.
std::string OwnerTitle(CWnd* owner)
{
    QWidget* widget = owner ? owner->GetWidget() : nullptr;
    QString title = widget ? widget->window()->windowTitle() : QString();
    while (title.endsWith(QLatin1Char('*')) || title.endsWith(QLatin1Char(' ')))
        title.chop(1);
    return title.toStdString();
}

// The desktop's dialog; without a display the PDF printer is the only printer and is taken as it is.
class DesktopPrintDialogSink final : public CPrintDialogSink
{
public:
    int Show(CWnd* owner, PRINTDLG& settings) override
    {
        if (!tvsk::ui::CanShowModalBoxes())
            return IDOK;
        QPrinter printer(QPrinter::HighResolution);
        printer.setCopyCount(settings.nCopies);
        const bool noPrinter = QPrinterInfo::availablePrinters().isEmpty();
        // The file offered in place of a printer: named after the window in the home folder.
        if (noPrinter)
            printer.setOutputFileName(PdfName(QDir::home(), OwnerTitle(owner).c_str()));
        QPrintDialog dialog(&printer, owner ? owner->GetWidget() : nullptr);
        QAbstractPrintDialog::PrintDialogOptions options;
        if (!(settings.Flags & PD_NOSELECTION))
            options |= QAbstractPrintDialog::PrintSelection;
        if (!(settings.Flags & PD_NOPAGENUMS))
            options |= QAbstractPrintDialog::PrintPageRange;
        // With no printer installed a PDF file is the one way to print: it is offered whatever
        // the caller asked.
        if (!(settings.Flags & (PD_DISABLEPRINTTOFILE | PD_HIDEPRINTTOFILE)) || noPrinter)
            options |= QAbstractPrintDialog::PrintToFile;
        dialog.setOptions(options);
        if (dialog.exec() != QDialog::Accepted)
            return IDCANCEL;
        settings.nCopies = static_cast<WORD>(printer.copyCount());
        settings.printerName = printer.printerName().toStdString().c_str();
        settings.outputFile = printer.outputFileName().toStdString().c_str();
        if (printer.printRange() == QPrinter::PageRange)
        {
            settings.Flags |= PD_PAGENUMS;
            settings.nFromPage = static_cast<WORD>(printer.fromPage());
            settings.nToPage = static_cast<WORD>(printer.toPage());
        }
        return IDOK;
    }
};

DesktopPrintDialogSink g_desktopSink;
CPrintDialogSink* g_sink = &g_desktopSink;

} // namespace

CPrintDialogSink* AfxSetPrintDialogSink(CPrintDialogSink* sink)
{
    CPrintDialogSink* previous = g_sink;
    g_sink = sink ? sink : &g_desktopSink;
    return previous;
}

CPrintDialogSink* AfxGetPrintDialogSink()
{
    return g_sink;
}

CPrinterDC::CPrinterDC() = default;

CPrinterDC::~CPrinterDC()
{
    if (m_inDoc)
        AbortDoc();
}

BOOL CPrinterDC::CreatePrinter(const PRINTDLG& settings)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setResolution(kResolution);
    printer->setFullPage(false);
    printer->setCopyCount(settings.nCopies > 0 ? settings.nCopies : 1);
    if (!settings.outputFile.IsEmpty())
    {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromUtf8(settings.outputFile.GetString()));
    }
    else if (!settings.printerName.IsEmpty())
    {
        const QPrinterInfo info =
            QPrinterInfo::printerInfo(QString::fromUtf8(settings.printerName.GetString()));
        if (info.isNull())
            return FALSE;
        printer->setPrinterName(info.printerName());
        printer->setResolution(kResolution);
    }
    else
    {
        printer->setOutputFormat(QPrinter::PdfFormat);
    }
    if (!printer->isValid())
        return FALSE;
    m_printer = std::move(printer);
    return TRUE;
}

int CPrinterDC::GetDeviceCaps(int index) const
{
    if (!m_printer)
        return CDC::GetDeviceCaps(index);
    const QRect page = m_printer->pageLayout().paintRectPixels(kResolution);
    switch (index)
    {
    case HORZRES:
        return page.width();
    case VERTRES:
        return page.height();
    case PHYSICALWIDTH:
        return m_printer->pageLayout().fullRectPixels(kResolution).width();
    case PHYSICALHEIGHT:
        return m_printer->pageLayout().fullRectPixels(kResolution).height();
    case PHYSICALOFFSETX:
        return page.left();
    case PHYSICALOFFSETY:
        return page.top();
    case LOGPIXELSX:
    case LOGPIXELSY:
        return kResolution;
    default:
        return CDC::GetDeviceCaps(index);
    }
}

int CPrinterDC::StartDoc(const char* docName)
{
    DOCINFO info;
    info.lpszDocName = docName;
    return StartDoc(&info);
}

int CPrinterDC::StartDoc(const DOCINFO* docInfo)
{
    if (!m_printer || m_inDoc || !docInfo)
        return SP_ERROR;
    m_printer->setDocName(QString::fromUtf8(docInfo->lpszDocName ? docInfo->lpszDocName : ""));
    if (docInfo->lpszOutput && *docInfo->lpszOutput)
    {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(QString::fromUtf8(docInfo->lpszOutput));
    }
    else if (m_printer->outputFormat() == QPrinter::PdfFormat && m_printer->outputFileName().isEmpty())
    {
        m_printer->setOutputFileName(DefaultPdfName(docInfo->lpszDocName));
    }
    m_printer->setResolution(kResolution);
    BeginOn(m_printer.get());
    if (!IsValid())
        return SP_ERROR;
    m_inDoc = true;
    m_pages = 0;
    m_pageStarted = false;
    return 1;
}

int CPrinterDC::StartPage()
{
    if (!m_inDoc || m_pageStarted)
        return SP_ERROR;
    // The painter stands on the first page already; later pages are asked for.
    if (m_pages > 0 && !m_printer->newPage())
        return SP_ERROR;
    m_pageStarted = true;
    ++m_pages;
    return 1;
}

int CPrinterDC::EndPage()
{
    if (!m_inDoc || !m_pageStarted)
        return SP_ERROR;
    m_pageStarted = false;
    return 1;
}

int CPrinterDC::EndDoc()
{
    if (!m_inDoc)
        return SP_ERROR;
    m_inDoc = false;
    m_pageStarted = false;
    QPainter* painter = GetPainter();
    const bool ended = painter && painter->end();
    EndPainting();
    return ended ? 1 : SP_ERROR;
}

int CPrinterDC::AbortDoc()
{
    if (!m_inDoc)
        return SP_ERROR;
    m_inDoc = false;
    m_pageStarted = false;
    m_printer->abort();
    EndPainting();
    return 1;
}

CString CPrinterDC::GetOutputFile() const
{
    return m_printer ? CString(m_printer->outputFileName().toStdString().c_str()) : CString();
}

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent) : m_parent(parent)
{
    m_pd.Flags = flags | (printSetupOnly ? PD_PRINTSETUP : 0);
}

CPrintDialog::~CPrintDialog() = default;

INT_PTR CPrintDialog::DoModal()
{
    m_dc.reset();
    if (AfxGetPrintDialogSink()->Show(m_parent, m_pd) != IDOK)
        return IDCANCEL;
    if (m_pd.Flags & PD_RETURNDC)
    {
        m_dc = CreatePrinterDC();
        if (!m_dc)
            return IDABORT;
    }
    return IDOK;
}

std::unique_ptr<CPrinterDC> CPrintDialog::CreatePrinterDC() const
{
    auto dc = std::make_unique<CPrinterDC>();
    if (!dc->CreatePrinter(m_pd))
        return nullptr;
    return dc;
}
