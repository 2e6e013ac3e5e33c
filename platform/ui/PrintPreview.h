// Print preview: a printer context that records its pages instead of printing them, and the
// window that shows them behind a replaceable sink.
#pragma once

#include "Print.h"

#include <QImage>

#include <memory>
#include <vector>

class QPainter;
class QPicture;

// The default printer's page at 600 dots per inch; each page drawn is kept as a recording.
class CPreviewDC : public CPrinterDC
{
public:
    CPreviewDC();
    ~CPreviewDC() override;

    // The page metrics of the default printer; FALSE when it cannot be had.
    BOOL CreatePreview();

    using CPrinterDC::StartDoc;
    int StartDoc(const DOCINFO* docInfo) override;
    int StartPage() override;
    int EndPage() override;
    int EndDoc() override;
    int AbortDoc() override;

    // Pages of the last document that ended.
    int GetPageCount() const noexcept { return static_cast<int>(m_pages.size()); }
    // Page index (0-based) on white paper of the whole sheet at dpi dots per inch; a null image
    // outside the pages.
    QImage RenderPage(int index, int dpi) const;
    // Draws page index (0-based) with the painter, whose device is the whole sheet at dpi dots
    // per inch; nothing outside the pages.
    void DrawPage(int index, QPainter& painter, int dpi) const;

private:
    std::vector<std::unique_ptr<QPicture>> m_pages;
    std::vector<std::unique_ptr<QPicture>> m_drawing;
    bool m_inDoc = false;
    bool m_pageStarted = false;
};

// Shows the pages of a preview. Tests install one that looks at them.
class CPrintPreviewSink
{
public:
    virtual ~CPrintPreviewSink() = default;
    virtual void Show(CWnd* owner, const CPreviewDC& pages) = 0;
};

// Installs a sink (null: the desktop one again) and answers the previous one. Without a display
// the desktop sink shows nothing.
CPrintPreviewSink* AfxSetPrintPreviewSink(CPrintPreviewSink* sink);
CPrintPreviewSink* AfxGetPrintPreviewSink();

// The ended document of pages through the sink, modal to owner.
void AfxShowPrintPreview(CWnd* owner, const CPreviewDC& pages);
