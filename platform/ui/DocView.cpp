#include "DocView.h"

#include "Clipboard.h"
#include "Dc.h"
#include "PrintInfo.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CView, CCmdTarget)
IMPLEMENT_DYNAMIC(CScrollView, CView)

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    // Views outliving their document forget it.
    for (CView* view : m_viewList)
        view->m_pDocument = nullptr;
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const char*)
{
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const char*)
{
    return FALSE;
}

void CDocument::SetTitle(const char* title)
{
    m_strTitle = title ? title : "";
}

void CDocument::SetPathName(const char* pathName)
{
    m_strPathName = pathName ? pathName : "";
    if (m_strTitle.IsEmpty())
    {
        const int slash = m_strPathName.ReverseFind('/');
        SetTitle(m_strPathName.Mid(slash + 1));
    }
}

void CDocument::AddView(CView* view)
{
    if (!view || view->m_pDocument == this)
        return;
    if (view->m_pDocument)
        view->m_pDocument->RemoveView(view);
    m_viewList.push_back(view);
    view->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* view)
{
    if (!view || view->m_pDocument != this)
        return;
    std::erase(m_viewList, view);
    view->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject)
{
    // A view may leave while it is told.
    const std::vector<CView*> views = m_viewList;
    for (CView* view : views)
        if (view != sender && view->m_pDocument == this)
            view->OnUpdate(sender, hint, hintObject);
}

void CDocument::OnChangedViewList()
{
    if (m_viewList.empty() && m_bAutoDelete)
    {
        DeleteContents();
        delete this;
    }
}

CView::CView() = default;

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

BOOL CView::Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                   UINT id, CCreateContext* context)
{
    return CWnd::CreateEx(0, className, windowName, style, rect, parent, id, context);
}

int CView::OnCreate(CREATESTRUCT* createStruct)
{
    if (CWnd::OnCreate(createStruct) == -1)
        return -1;
    const auto* context = static_cast<CCreateContext*>(createStruct->lpCreateParams);
    if (context && context->m_pCurrentDoc)
        context->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::PostNcDestroy()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
    if (m_bAutoDelete)
        delete this;
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate(TRUE);
}

void CView::OnPrepareDC(CDC*, CPrintInfo* info)
{
    // Without a known page count one page is printed.
    if (info && info->GetMaxPage() == 0xFFFF)
        info->m_bContinuePrinting = info->m_nCurPage == 1;
}

BOOL CView::OnPreparePrinting(CPrintInfo*)
{
    return FALSE;
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrint(CDC* dc, CPrintInfo*)
{
    OnDraw(dc);
}

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CView::OnHScroll(UINT, UINT) {}

void CView::OnVScroll(UINT, UINT) {}

BOOL CView::OnMouseWheel(UINT, short, CPoint)
{
    return FALSE;
}

LRESULT CView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_HSCROLL:
        OnHScroll(LOWORD(static_cast<DWORD_PTR>(wParam)), HIWORD(static_cast<DWORD_PTR>(wParam)));
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(static_cast<DWORD_PTR>(wParam)), HIWORD(static_cast<DWORD_PTR>(wParam)));
        return 0;
    case WM_MOUSEWHEEL:
        return OnMouseWheel(LOWORD(static_cast<DWORD_PTR>(wParam)), GET_WHEEL_DELTA_WPARAM(wParam),
                            CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

CView* AfxCreateView(CCreateContext* context, CWnd* parent, const RECT& rect, UINT id, DWORD style)
{
    if (!context || !context->m_pNewViewClass)
        return nullptr;
    CObject* object = context->m_pNewViewClass->CreateObject();
    auto* view = dynamic_cast<CView*>(object);
    if (!view)
    {
        delete object;
        return nullptr;
    }
    if (!view->Create(nullptr, nullptr, style, rect, parent, id, context))
    {
        delete view;
        return nullptr;
    }
    view->m_bAutoDelete = TRUE;
    view->OnInitialUpdate();
    return view;
}

void CScrollView::SetScrollSizes(int, SIZE total, SIZE page, SIZE line)
{
    m_totalSize = CSize(std::max<LONG>(0, total.cx), std::max<LONG>(0, total.cy));
    m_pageSize = page;
    m_lineSize = line;
    UpdateBars();
}

void CScrollView::UpdateBars()
{
    if (!GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    for (int bar : {SB_HORZ, SB_VERT})
    {
        const int total = bar == SB_HORZ ? m_totalSize.cx : m_totalSize.cy;
        const int view = bar == SB_HORZ ? client.Width() : client.Height();
        LONG& position = bar == SB_HORZ ? m_scrollPosition.x : m_scrollPosition.y;
        position = std::clamp<LONG>(position, 0, std::max(0, total - view));
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = std::max(0, total - 1);
        info.nPage = static_cast<UINT>(std::max(0, view));
        info.nPos = position;
        SetScrollInfo(bar, &info);
    }
}

void CScrollView::ScrollToPosition(POINT position)
{
    CRect client;
    GetClientRect(&client);
    const CPoint clamped(
        std::clamp<LONG>(position.x, 0, std::max<LONG>(0, m_totalSize.cx - client.Width())),
        std::clamp<LONG>(position.y, 0, std::max<LONG>(0, m_totalSize.cy - client.Height())));
    if (clamped == m_scrollPosition)
        return;
    m_scrollPosition = clamped;
    SetScrollPos(SB_HORZ, clamped.x);
    SetScrollPos(SB_VERT, clamped.y);
    Invalidate();
}

void CScrollView::OnPrepareDC(CDC* dc, CPrintInfo* info)
{
    if (dc && !dc->IsPrinting())
        dc->SetViewportOrg(-m_scrollPosition.x, -m_scrollPosition.y);
    CView::OnPrepareDC(dc, info);
}

void CScrollView::OnSize(UINT type, int cx, int cy)
{
    CView::OnSize(type, cx, cy);
    UpdateBars();
}

int CScrollView::NewPosition(int bar, UINT code, UINT pos) const
{
    CRect client;
    GetClientRect(&client);
    const int current = bar == SB_HORZ ? m_scrollPosition.x : m_scrollPosition.y;
    const int page = bar == SB_HORZ ? (m_pageSize.cx > 0 ? m_pageSize.cx : client.Width())
                                    : (m_pageSize.cy > 0 ? m_pageSize.cy : client.Height());
    const int line = bar == SB_HORZ ? (m_lineSize.cx > 0 ? m_lineSize.cx : std::max(1, page / 10))
                                    : (m_lineSize.cy > 0 ? m_lineSize.cy : std::max(1, page / 10));
    switch (code)
    {
    case SB_LINEUP:
        return current - line;
    case SB_LINEDOWN:
        return current + line;
    case SB_PAGEUP:
        return current - page;
    case SB_PAGEDOWN:
        return current + page;
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return bar == SB_HORZ ? m_totalSize.cx : m_totalSize.cy;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return static_cast<int>(pos);
    default:
        return current;
    }
}

void CScrollView::OnHScroll(UINT code, UINT pos)
{
    ScrollToPosition(CPoint(NewPosition(SB_HORZ, code, pos), m_scrollPosition.y));
}

void CScrollView::OnVScroll(UINT code, UINT pos)
{
    ScrollToPosition(CPoint(m_scrollPosition.x, NewPosition(SB_VERT, code, pos)));
}

BOOL CScrollView::OnMouseWheel(UINT, short delta, CPoint)
{
    UINT lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const int notches = delta / WHEEL_DELTA;
    if (notches == 0 || m_totalSize.cy == 0)
        return FALSE;
    const CPoint before = m_scrollPosition;
    const int line = m_lineSize.cy > 0 ? m_lineSize.cy : 16;
    ScrollToPosition(CPoint(before.x, before.y - notches * static_cast<int>(lines) * line));
    return m_scrollPosition != before;
}
