#include "SourceView.h"

#include <ZoSupport/ProgramError.h>

#include <ui/Clipboard.h>
#include <ui/Dc.h>
#include <ui/PrintInfo.h>

#include <QWidget>

IMPLEMENT_DYNCREATE(CSourceView, CCrystalEditView)

CSourceView::CSourceView()
{
    CDC screen;
    screen.CreateCompatibleDC(nullptr);
    LOGFONT font;
    font.lfHeight = -MulDiv(10, screen.GetDeviceCaps(LOGPIXELSY), 72);
    font.lfWeight = FW_NORMAL;
    CopyTextCut(font.lfFaceName, "Courier");
    SetFont(font);
    if (!SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &m_nWheelLines, 0))
        m_nWheelLines = 3;
}

int CSourceView::OnCreate(CREATESTRUCT* createStruct)
{
    if (CCrystalEditView::OnCreate(createStruct) == -1)
        return -1;
    const auto* context = static_cast<CCreateContext*>(createStruct->lpCreateParams);
    if (!context || !context->m_pCurrentDoc)
    {
        auto* document = dynamic_cast<CSourceDocument*>(RUNTIME_CLASS(CSourceDocument)->CreateObject());
        if (document)
        {
            document->OnNewDocument();
            document->AddView(this);
        }
    }
    if (!GetDocument())
        ProgramError("SourceView", __LINE__, "the source view has no source document");
    SetTabSize(4);
    return 0;
}

CSourceDocument* CSourceView::GetDocument() const
{
    return dynamic_cast<CSourceDocument*>(m_pDocument);
}

CCrystalTextBuffer* CSourceView::LocateTextBuffer()
{
    CSourceDocument* document = GetDocument();
    return document ? &document->GetTextBuffer() : nullptr;
}

BOOL CSourceView::OnMouseWheel(UINT, short delta, CPoint)
{
    const int notches = delta / WHEEL_DELTA;
    const int before = m_nTopLine;
    ScrollToLine(m_nTopLine - notches * static_cast<int>(m_nWheelLines));
    return before != m_nTopLine;
}

void CSourceView::OnLButtonDown(UINT flags, CPoint point)
{
    if (CWnd* parent = GetParent())
        parent->GetWidget()->activateWindow();
    CCrystalEditView::OnLButtonDown(flags, point);
}

BOOL CSourceView::OnFilePrint()
{
    m_bPrinterChosen = false;
    const BOOL printed = CCrystalEditView::OnFilePrint();
    m_bPrintFailed = m_bPrinterChosen && !printed;
    return printed;
}

BOOL CSourceView::OnPreparePrinting(CPrintInfo* info)
{
    if (!m_pPrinter || !LocateTextBuffer())
        return FALSE;
    info->m_pPD->m_pd.Flags |= PD_RETURNDC;
    const INT_PTR chosen = info->m_pPD->DoModal();
    m_bPrinterChosen = chosen == IDOK || chosen == IDABORT;
    if (chosen != IDOK || !info->m_pPD->GetPrinterDC())
        return FALSE;
    info->SetMaxPage(static_cast<UINT>(
        std::max(0, m_pPrinter->GetPageCount(info->m_pPD->GetPrinterDC(), *LocateTextBuffer()))));
    return info->GetMaxPage() > 0;
}

void CSourceView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CSourceView::OnPrepareDC(CDC* dc, CPrintInfo* info)
{
    CView::OnPrepareDC(dc, info);
    if (info && dc && dc->IsPrinting())
        info->m_bContinuePrinting = info->m_nCurPage <= info->GetMaxPage();
}

void CSourceView::OnPrint(CDC* dc, CPrintInfo* info)
{
    if (m_pPrinter && LocateTextBuffer())
        m_pPrinter->PrintPage(dc, *LocateTextBuffer(), static_cast<int>(info->m_nCurPage));
}

void CSourceView::OnEndPrinting(CDC*, CPrintInfo*) {}
