#include "GraphWnd.h"

#include "TraceRow.h"

#include <ui/Print.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstring>

// The graph window as an OLE drop target: text may be dropped, its effect chosen by the keys.
class GraphWnd::DropTarget final : public COleDropTarget
{
public:
    explicit DropTarget(CZoGraphCtl4& control) : m_control(control) {}

    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override
    {
        return OnDragOver(wnd, data, keyState, point);
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD keyState, CPoint) override
    {
        if (!data || !data->IsDataAvailable(CF_TEXT))
            return DROPEFFECT_NONE;
        if ((keyState & MK_CONTROL) && (keyState & MK_SHIFT))
            return DROPEFFECT_LINK;
        if (keyState & MK_CONTROL)
            return DROPEFFECT_COPY;
        return DROPEFFECT_MOVE;
    }
    BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT, CPoint) override
    {
        CByteArray bytes;
        if (!data || !data->GetData(CF_TEXT, bytes))
            return FALSE;
        std::string text(reinterpret_cast<const char*>(bytes.GetData()),
                         static_cast<size_t>(bytes.GetSize()));
        text.resize(std::strlen(text.c_str()));
        m_control.FireDropText(text);
        return TRUE;
    }

private:
    CZoGraphCtl4& m_control;
};

// Splitter ----------------------------------------------------------------------------------------------

BOOL CZoResize::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("ZoResize", nullptr, WS_CHILD | WS_VISIBLE, rect, parent, id);
}

void CZoResize::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_3DFACE));
    dc.DrawEdge(&client, EDGE_RAISED, BF_RECT);
}

BOOL CZoResize::OnSetCursor(CWnd*, UINT, UINT)
{
    SetCursor(LoadCursor(nullptr, IDC_SIZENS));
    return TRUE;
}

void CZoResize::OnLButtonDown(UINT, CPoint point)
{
    ClientToScreen(&point);
    m_startY = point.y;
    m_dragging = true;
    SetCapture();
}

void CZoResize::OnLButtonUp(UINT, CPoint point)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    ReleaseCapture();
    ClientToScreen(&point);
    if (CWnd* parent = GetParent())
        parent->SendMessage(kMovedMessage, 0, static_cast<LPARAM>(point.y - m_startY));
}

// Graph window ------------------------------------------------------------------------------------------

GraphWnd::GraphWnd(CZoGraphCtl4& control)
    : m_control(control), m_painter(control), m_dropTarget(std::make_unique<DropTarget>(control))
{
}

GraphWnd::~GraphWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL GraphWnd::CreateGraph(CWnd* parent, const RECT& rect)
{
    return CreateEx(0, "ZoGraphCtl4", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, parent, 0);
}

int GraphWnd::OnCreate(CREATESTRUCT* createStruct)
{
    const CRect none(0, 0, 0, 0);
    if (!m_list.Create(WS_CHILD | LVS_REPORT | LVS_SHOWSELALWAYS, none, this, kListId) ||
        !m_slider.Create(WS_CHILD | TBS_HORZ | TBS_NOTICKS, none, this, kSliderId) ||
        !m_splitter.Create(none, this, kSplitterId))
        return -1;
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (int c = 0; c < kTraceColumnCount; ++c)
    {
        const bool barColumn = c >= kFirstBarColumn && c <= kLastBarColumn;
        m_list.InsertColumn(c, kTraceColumns[c].heading, LVCFMT_LEFT,
                            barColumn ? (m_control.BarsOn() ? kBarColumnWidth : 0) : kTraceColumns[c].width);
    }
    m_control.SetView(this);
    SetSliderRange(
        m_control.DimBufferValue(),
        static_cast<long>(m_control.TimeDivValue() * m_control.TimeDivValue() / m_control.ViewRangeValue()));
    SetSliderPosition(m_control.ViewPosition());
    SetDropTarget(m_control.DropEnabled());
    RebuildList();
    m_control.Layout(createStruct->cx, createStruct->cy);
    MakeLayers(createStruct->cx, createStruct->cy);
    PlaceChildren();
    return 0;
}

void GraphWnd::OnDestroy()
{
    m_dropTarget->Revoke();
    m_control.SetView(nullptr);
    CWnd::OnDestroy();
}

void GraphWnd::OnSize(UINT, int cx, int cy)
{
    m_control.Layout(cx, cy);
    MakeLayers(cx, cy);
    PlaceChildren();
    Redraw();
}

void GraphWnd::MakeLayers(int width, int height)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    m_background.CreateBitmap(width, height);
    m_traces.CreateBitmap(width, height);
    m_traces.GetImage() = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    m_traces.GetImage().fill(Qt::transparent);
    m_control.MarkBackgroundDirty();
}

void GraphWnd::PlaceChildren()
{
    const GraphLayout& layout = m_control.Geometry();
    auto place = [](CWnd& child, const CRect& rect, bool shown)
    {
        if (shown)
            child.MoveWindow(rect.left, rect.top, rect.Width(), rect.Height());
        child.ShowWindow(shown ? SW_SHOW : SW_HIDE);
    };
    place(m_list, layout.list, m_control.ListShown());
    place(m_splitter, layout.splitter, m_control.ListShown());
    place(m_slider, layout.slider, m_control.SliderShown());
}

void GraphWnd::Relayout()
{
    CRect client;
    GetClientRect(&client);
    m_control.Layout(client.Width(), client.Height());
    m_control.MarkBackgroundDirty();
    PlaceChildren();
    Redraw();
}

void GraphWnd::RenderBackground()
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&m_background);
    m_markers.clear();
    m_painter.DrawBackground(dc, &m_markers);
    dc.SelectObject(old);
    m_control.BackgroundPainted();
}

void GraphWnd::RenderTraces()
{
    m_traces.GetImage().fill(Qt::transparent);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&m_traces);
    m_painter.DrawTraces(dc);
    dc.SelectObject(old);
    const CTrack4* first = m_control.Tracks().At(0);
    m_layerHasTime = first && m_control.RightEdgeTime(*first, m_layerRightTime);
}

void GraphWnd::Redraw()
{
    if (!GetSafeHwnd())
        return;
    if (m_control.BackgroundDirty())
        RenderBackground();
    RenderTraces();
    Invalidate(FALSE);
}

void GraphWnd::Repaint()
{
    Invalidate(FALSE);
}

void GraphWnd::DrawNewSamples(int num)
{
    if (!GetSafeHwnd())
        return;
    const CTrack4* first = m_control.Tracks().At(0);
    double right = 0;
    const double step = m_control.TimeStep();
    const CRect& g = m_control.Geometry().graph;
    if (!m_layerHasTime || !first || !m_control.RightEdgeTime(*first, right) || !(step > 0) ||
        right < m_layerRightTime)
    {
        Redraw();
        return;
    }
    const double moved = (right - m_layerRightTime) / step;
    if (moved >= g.Width())
    {
        Redraw();
        return;
    }
    // The layer moves left by whole pixels; the new samples are drawn at their place on it.
    const int shift = static_cast<int>(moved);
    m_layerRightTime += shift * step;
    QImage& layer = m_traces.GetImage();
    if (shift > 0)
    {
        const int top = std::max(0, g.top - 1);
        const int bottom = std::min(layer.height(), g.bottom + 2);
        const int left = std::max(0, g.left - 1);
        const int end = std::min(layer.width(), g.right + 2);
        for (int y = top; y < bottom; ++y)
        {
            auto* line = reinterpret_cast<QRgb*>(layer.scanLine(y));
            std::memmove(line + left, line + left + shift,
                         static_cast<size_t>(end - left - shift) * sizeof(QRgb));
            std::fill(line + end - shift, line + end, QRgb(0));
        }
    }
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&m_traces);
    m_painter.DrawNewSamples(dc, num, moved - shift);
    dc.SelectObject(old);
    Invalidate(FALSE);
}

void GraphWnd::Compose(CDC& target)
{
    if (m_control.BackgroundDirty())
        RenderBackground();
    CBitmap working;
    working.GetImage() = m_background.GetImage().copy();
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&working);
    CDC layer;
    layer.CreateCompatibleDC(nullptr);
    CBitmap* oldLayer = layer.SelectObject(&m_traces);
    const QImage& traces = m_traces.GetImage();
    // Over black the layer is ORed as it always was; over any other colour the traces are painted.
    dc.BitBlt(0, 0, traces.width(), traces.height(), &layer, 0, 0,
              m_control.BackColor() == 0 ? SRCPAINT : SRCCOPY);
    layer.SelectObject(oldLayer);
    m_painter.DrawMarks(dc);
    if (m_zooming)
        m_painter.DrawZoom(dc, m_zoom);
    dc.SelectObject(old);
    CDC source;
    source.CreateCompatibleDC(nullptr);
    CBitmap* oldSource = source.SelectObject(&working);
    target.BitBlt(0, 0, working.GetImage().width(), working.GetImage().height(), &source, 0, 0, SRCCOPY);
    source.SelectObject(oldSource);
}

QImage GraphWnd::Render()
{
    CBitmap picture;
    picture.CreateBitmap(m_background.GetImage().width(), m_background.GetImage().height());
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&picture);
    Compose(dc);
    dc.SelectObject(old);
    return picture.GetImage();
}

void GraphWnd::OnPaint()
{
    CPaintDC dc(this);
    Compose(dc);
}

BOOL GraphWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

// Trace list --------------------------------------------------------------------------------------------

void GraphWnd::SetRowTexts(int row, const CTrack4& track)
{
    const auto texts = TraceRowTexts(track);
    for (int c = 0; c < kTraceColumnCount; ++c)
        m_list.SetItemText(row, c, texts[static_cast<size_t>(c)].c_str());
}

void GraphWnd::RebuildList()
{
    m_list.DeleteAllItems();
    int row = 0;
    for (CTrack4* track : m_control.Tracks().Tracks())
    {
        m_list.InsertItem(row, track->NameText().c_str());
        m_list.SetItemData(row, reinterpret_cast<DWORD_PTR>(track));
        SetRowTexts(row, *track);
        ++row;
    }
}

void GraphWnd::RefreshList()
{
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        if (auto* track = reinterpret_cast<CTrack4*>(m_list.GetItemData(row)))
            SetRowTexts(row, *track);
}

void GraphWnd::SetBarColumns(bool shown)
{
    for (int c = kFirstBarColumn; c <= kLastBarColumn; ++c)
        m_list.SetColumnWidth(c, shown ? kBarColumnWidth : 0);
}

std::vector<CTrack4*> GraphWnd::SelectedTracks() const
{
    std::vector<CTrack4*> tracks;
    for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = m_list.GetNextItem(row, LVNI_SELECTED))
        tracks.push_back(reinterpret_cast<CTrack4*>(m_list.GetItemData(row)));
    return tracks;
}

LRESULT GraphWnd::OnListNotify(NMHDR* header)
{
    switch (header->code)
    {
    case LVN_ITEMCHANGED:
    {
        const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        if ((change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED))
        {
            auto* track = reinterpret_cast<CTrack4*>(change->lParam);
            m_control.Tracks().Select(m_control.Tracks().PositionOf(track));
            Redraw();
            m_control.FireTrackListSelection(track);
        }
        return 0;
    }
    case LVN_KEYDOWN:
        if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_DELETE)
            m_control.FireKeyDown(VK_DELETE);
        return 0;
    case NM_RCLICK:
    {
        const auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
        m_control.FireListContextMenu(click->ptAction.x, click->ptAction.y);
        return 0;
    }
    case NM_DBLCLK:
    {
        const auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
        m_control.FireListDblClick(click->ptAction.x, click->ptAction.y);
        return 0;
    }
    case NM_CUSTOMDRAW:
    {
        auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            return CDRF_NOTIFYSUBITEMDRAW;
        if (draw->nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM) && draw->iSubItem == kColourColumn)
        {
            const auto* track = reinterpret_cast<const CTrack4*>(draw->nmcd.lItemlParam);
            CRect swatch(draw->nmcd.rc);
            swatch.DeflateRect(3, 2);
            if (track)
                draw->nmcd.hdc->FillSolidRect(&swatch, track->Color());
            return CDRF_SKIPDEFAULT;
        }
        return CDRF_DODEFAULT;
    }
    default:
        return 0;
    }
}

// Slider, splitter and messages -------------------------------------------------------------------------

void GraphWnd::SetSliderPosition(long position)
{
    m_slider.SetPos(static_cast<int>(position));
}

void GraphWnd::SetSliderRange(long max, long pageSize)
{
    const int position = m_slider.GetPos();
    m_slider.SetRange(0, static_cast<int>(max), TRUE);
    m_slider.SetPageSize(static_cast<int>(std::max(pageSize, 1L)));
    m_slider.SetPos(position);
}

void GraphWnd::SetDropTarget(bool enabled)
{
    if (enabled)
        m_dropTarget->Register(this);
    else
        m_dropTarget->Revoke();
}

LRESULT GraphWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_NOTIFY:
    {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header && header->hwndFrom == &m_list)
            return OnListNotify(header);
        break;
    }
    case WM_HSCROLL:
        if (reinterpret_cast<CWnd*>(lParam) == &m_slider)
        {
            m_control.Scroll(LOWORD(static_cast<DWORD_PTR>(wParam)), m_slider.GetPos());
            return 0;
        }
        break;
    case CZoResize::kMovedMessage:
        m_control.MoveListBorder(static_cast<int>(lParam));
        return 0;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// Mouse -------------------------------------------------------------------------------------------------

void GraphWnd::OnLButtonDown(UINT, CPoint point)
{
    SetFocus();
    if (m_control.BarsOn())
        for (int bar = 1; bar <= 3; ++bar)
            if (GraphPainter::GripRect(m_control, bar).PtInRect(point))
            {
                m_dragBar = bar;
                SetCapture();
                return;
            }
    for (auto it = m_markers.rbegin(); it != m_markers.rend(); ++it)
        if (it->rect.PtInRect(point))
        {
            m_dragTrack = it->track;
            m_dragStartY = point.y;
            m_dragStartMin = it->track->Min();
            SetCapture();
            return;
        }
    if (m_control.Geometry().graph.PtInRect(point))
    {
        m_zooming = true;
        m_zoom = CRect(point, point);
        SetCapture();
    }
}

void GraphWnd::OnMouseMove(UINT, CPoint point)
{
    if (m_dragBar)
    {
        m_control.MoveBar(m_dragBar, m_dragBar == 3 ? point.y : point.x);
        m_control.RecomputeBars(m_dragBar == 3);
        if (m_dragBar != 3)
            m_control.FireMoveMeasureValueBar(m_dragBar, m_control.BarTime(m_dragBar));
        Invalidate(FALSE);
    }
    else if (m_dragTrack)
    {
        const int height = m_control.Geometry().graph.Height();
        if (height > 0)
        {
            m_dragTrack->MoveRange(m_dragTrack->Scale() / height * (point.y - m_dragStartY) + m_dragStartMin);
            m_control.RecomputeBars();
            m_control.MarkBackgroundDirty();
            Redraw();
            m_control.FireMoveZeroTrack(static_cast<int>(m_control.Tracks().PositionOf(m_dragTrack)));
        }
    }
    else if (m_zooming)
    {
        m_zoom.right = point.x;
        m_zoom.bottom = point.y;
        Invalidate(FALSE);
    }
}

void GraphWnd::EndDrags()
{
    m_dragBar = 0;
    m_dragTrack = nullptr;
    ReleaseCapture();
}

void GraphWnd::OnLButtonUp(UINT, CPoint point)
{
    const bool zooming = m_zooming;
    m_zooming = false;
    EndDrags();
    if (!zooming)
        return;
    m_zoom.right = point.x;
    m_zoom.bottom = point.y;
    const CRect r(std::min(m_zoom.left, m_zoom.right), std::min(m_zoom.top, m_zoom.bottom),
                  std::max(m_zoom.left, m_zoom.right), std::max(m_zoom.top, m_zoom.bottom));
    m_control.FireRectSelection(r.left, r.top, r.right, r.bottom);
    Invalidate(FALSE);
}

void GraphWnd::OnRButtonUp(UINT, CPoint point)
{
    m_control.FireRButtonUp(point.x, point.y);
    CPoint screen = point;
    ClientToScreen(&screen);
    m_control.FireGraphContextMenu(screen.x, screen.y);
}

// Printing ----------------------------------------------------------------------------------------------

long GraphWnd::Print()
{
    CPrintDialog dialog(FALSE,
                        PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_DISABLEPRINTTOFILE |
                            PD_USEDEVMODECOPIESANDCOLLATE,
                        this);
    if (dialog.DoModal() != IDOK)
        return S_OK;
    CPrinterDC* printer = dialog.GetPrinterDC();
    if (!printer)
        return E_FAIL;
    const int width = printer->GetDeviceCaps(HORZRES);
    const int height = printer->GetDeviceCaps(VERTRES);
    const int graphHeight = height / 4 * 3;
    const int bars[3] = {m_control.BarPosition(1), m_control.BarPosition(2), m_control.BarPosition(3)};
    m_control.Layout(width, graphHeight, 20, true);
    bool printed = printer->StartDoc("Graph print") > 0 && printer->StartPage() > 0;
    if (printed)
    {
        // Drawn straight onto the page: vector output, and no page-sized bitmap.
        CRect page(0, 0, width, height);
        printer->FillSolidRect(&page, GetSysColor(COLOR_WINDOW));
        m_painter.DrawBackground(*printer, nullptr);
        m_painter.DrawTraces(*printer);
        m_painter.DrawMarks(*printer);
        m_painter.DrawListTable(*printer, graphHeight, width);
        printed = printer->EndPage() > 0 && printer->EndDoc() > 0;
    }
    else
    {
        printer->AbortDoc();
    }
    CRect client;
    GetClientRect(&client);
    m_control.Layout(client.Width(), client.Height());
    for (int bar = 1; bar <= 3; ++bar)
        m_control.MoveBar(bar, bars[bar - 1]);
    m_control.RecomputeBars();
    Redraw();
    return printed ? S_OK : E_FAIL;
}
