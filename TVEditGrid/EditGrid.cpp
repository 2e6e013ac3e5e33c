#include "EditGrid.h"

#include <ZoSupport/System.h>
#include <ui/DataSource.h>
#include <ui/Dc.h>
#include <ui/ScrollInfo.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScrollBar>
#include <QWidget>

namespace
{

constexpr const char* kGridClass = "TvskEditGrid";
constexpr UINT kEditId = 1;
constexpr UINT kListId = 2;
constexpr UINT kHeaderId = 3;
// Posted to free closed editors once their own handlers have returned.
constexpr UINT WM_EG_RELEASEEDITORS = WM_USER + 105;

// The window layer reports no key states by itself: take Shift and Control from the toolkit.
void SyncModifierKeys()
{
    const Qt::KeyboardModifiers modifiers = QGuiApplication::keyboardModifiers();
    CSystem::SetKeyState(static_cast<int>(VK_SHIFT), (modifiers & Qt::ShiftModifier) != 0);
    CSystem::SetKeyState(static_cast<int>(VK_CONTROL), (modifiers & Qt::ControlModifier) != 0);
}

} // namespace

// Carries out what the grid's logic asks of the window.
class CEditGrid::WindowSurface : public CEditGridSurface
{
public:
    explicit WindowSurface(CEditGrid& grid) : m_grid(grid) {}

    void InvalidateAll() override { m_grid.Invalidate(FALSE); }
    void InvalidateRect(const CRect& rect) override
    {
        CRect area(rect.left, rect.top, rect.right + 1, rect.bottom + 1);
        m_grid.CWnd::InvalidateRect(&area, FALSE);
    }
    void SetScrollBars(const GridScrollBar& horz, const GridScrollBar& vert) override
    {
        m_grid.m_hState = horz;
        m_grid.m_vState = vert;
        m_grid.PlaceScrollBars();
    }
    void SetHeader(const std::vector<GridHeaderItem>& items, const CRect& place) override;
    void SetMarginTexts(const std::vector<CString>& texts) override;
    void OpenEdit(const CRect& rect, const CString& text, int charLimit, bool numericOnly) override;
    void OpenList(const CRect& rect, const CEnum& list, int selected) override;
    void OpenOption(const CRect& rect) override;
    CString GetEditText() const override
    {
        return m_grid.m_edit ? m_grid.m_edit->GetWindowText() : CString();
    }
    bool GetListValue(int& value) const override
    {
        if (!m_grid.m_list || m_grid.m_list->GetCurSel() < 0)
            return false;
        value =
            static_cast<int>(static_cast<INT_PTR>(m_grid.m_list->GetItemData(m_grid.m_list->GetCurSel())));
        return true;
    }
    void CloseEdit() override { m_grid.RetireEditor(std::move(m_grid.m_edit)); }
    void CloseList() override { m_grid.RetireEditor(std::move(m_grid.m_list)); }
    void CloseOption() override { m_grid.RetireEditor(std::move(m_grid.m_option)); }
    void PlaceEditors(const GridEditorRects& rects, bool visible) override;
    void FocusParent() override
    {
        CWnd* parent = m_grid.GetParent();
        if (parent && parent->IsWindowVisible())
            parent->SetFocus();
    }
    void SetCapture(bool capture) override
    {
        if (capture)
            m_grid.CWnd::SetCapture();
        else if (CWnd::GetCapture() == &m_grid)
            ReleaseCapture();
    }
    void DoDragDrop(COleDataSource* source, const CRect& startRect) override
    {
        CRect screen = startRect;
        m_grid.ClientToScreen(&screen);
        source->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, &screen);
    }

private:
    CEditGrid& m_grid;
};

void CEditGrid::WindowSurface::SetHeader(const std::vector<GridHeaderItem>& items, const CRect& place)
{
    CHeaderCtrl& header = m_grid.m_header;
    if (!header.GetSafeHwnd())
        return;
    for (size_t i = 0; i < items.size(); ++i)
    {
        HDITEM item;
        item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
        item.cxy = items[i].width;
        item.pszText = items[i].title;
        item.fmt = HDF_CENTER | HDF_STRING;
        const int index = static_cast<int>(i);
        if (index < header.GetItemCount())
            header.SetItem(index, &item);
        else
            header.InsertItem(index, &item);
    }
    while (header.GetItemCount() > static_cast<int>(items.size()))
        header.DeleteItem(header.GetItemCount() - 1);
    header.MoveWindow(&place);
}

void CEditGrid::WindowSurface::SetMarginTexts(const std::vector<CString>& texts)
{
    auto& lines = m_grid.m_marginLines;
    const CEditGridLayout& layout = m_grid.m_grid.Layout();
    while (lines.size() < texts.size())
    {
        const int top = layout.HeaderHeight() + static_cast<int>(lines.size()) * layout.RowHeight();
        auto line = std::make_unique<CStatic>();
        line->Create("", WS_CHILD | SS_CENTER, CRect(0, top, layout.MarginWidth(), top + layout.RowHeight()),
                     &m_grid);
        line->SetFont(&m_grid.m_font, FALSE);
        lines.push_back(std::move(line));
    }
    for (size_t i = 0; i < lines.size(); ++i)
    {
        if (i < texts.size())
        {
            lines[i]->SetWindowText(texts[i]);
            lines[i]->ShowWindow(SW_SHOW);
        }
        else
        {
            lines[i]->ShowWindow(SW_HIDE);
        }
    }
}

void CEditGrid::WindowSurface::OpenEdit(const CRect& rect, const CString& text, int charLimit,
                                        bool numericOnly)
{
    auto edit = std::make_unique<CGridEditBox>(numericOnly);
    if (!edit->Create(WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, rect, &m_grid, kEditId))
        return;
    edit->SetFont(&m_grid.m_font, FALSE);
    edit->SetLimitText(static_cast<UINT>(charLimit > 0 ? charLimit : 0));
    edit->SetWindowText(text);
    edit->SetSel(0, -1);
    edit->ShowWindow(SW_SHOW);
    edit->SetFocus();
    m_grid.m_edit = std::move(edit);
}

void CEditGrid::WindowSurface::OpenList(const CRect& rect, const CEnum& list, int selected)
{
    auto combo = std::make_unique<CGridComboBox>();
    if (!combo->Create(WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, rect, &m_grid, kListId))
        return;
    for (INT_PTR i = 0; i < list.GetSize(); ++i)
    {
        const int index = combo->AddString(list[i].GetText());
        combo->SetItemData(index, static_cast<DWORD_PTR>(static_cast<INT_PTR>(list[i].GetVal())));
    }
    combo->SetCurSel(selected);
    combo->SetFont(&m_grid.m_font, FALSE);
    combo->ShowWindow(SW_SHOW);
    combo->SetFocus();
    m_grid.m_list = std::move(combo);
}

void CEditGrid::WindowSurface::OpenOption(const CRect& rect)
{
    auto option = std::make_unique<CGridOptionButton>();
    if (!option->Create("..", WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_CENTER | SS_CENTERIMAGE, rect, &m_grid))
        return;
    option->SetFont(&m_grid.m_font, FALSE);
    m_grid.m_option = std::move(option);
}

void CEditGrid::WindowSurface::PlaceEditors(const GridEditorRects& rects, bool visible)
{
    const int show = visible ? SW_SHOW : SW_HIDE;
    if (m_grid.m_option)
    {
        m_grid.m_option->MoveWindow(&rects.option);
        m_grid.m_option->ShowWindow(show);
    }
    for (CWnd* editor : {static_cast<CWnd*>(m_grid.m_edit.get()), static_cast<CWnd*>(m_grid.m_list.get())})
    {
        if (!editor)
            continue;
        editor->MoveWindow(editor == m_grid.m_edit.get() ? &rects.edit : &rects.list);
        editor->ShowWindow(show);
        if (visible)
            editor->SetFocus();
    }
}

CEditGrid::CEditGrid() : m_surface(std::make_unique<WindowSurface>(*this)), m_grid(*m_surface) {}

CEditGrid::~CEditGrid()
{
    m_grid.ResetContent(true);
    DestroyWindow();
}

void CEditGrid::ChooseFont()
{
    if (m_fontChosen)
        return;
    m_fontChosen = true;
    m_font.CreatePointFont(90, "Arial");
    const int textHeight =
        QFontMetrics(m_font.GetQFont()).size(Qt::TextSingleLine, QStringLiteral("Aq")).height();
    m_grid.Layout().SetMetrics(1 + static_cast<int>(textHeight * 1.33), GetSystemMetrics(SM_CYSCREEN),
                               GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL));
}

void CEditGrid::AddMargin(int width, const char* title)
{
    ChooseFont();
    m_grid.AddMargin(width, title);
}

void CEditGrid::AddHeader()
{
    ChooseFont();
    m_grid.AddHeader();
}

int CEditGrid::Create(CEditGridDataIntf* data, CWnd* parent)
{
    ChooseFont();
    if (!m_grid.Create(data))
        return 0;
    m_colours = {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_BTNFACE), RGB(0, 0, 0),
                 GetSysColor(COLOR_WINDOWTEXT)};
    WNDCLASS wc;
    wc.style = CS_DBLCLKS;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kGridClass;
    AfxRegisterClass(&wc);
    if (!CreateEx(0, kGridClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL,
                  CRect(0, 0, 0, 0), parent, 0))
        return 0;
    GetWidget()->setFocusPolicy(Qt::NoFocus);
    const CEditGridLayout& layout = m_grid.Layout();
    if (layout.HasHeader())
    {
        m_header.Create(WS_CHILD | WS_VISIBLE | HDS_BUTTONS | HDS_HOTTRACK,
                        CRect(layout.MarginWidth(), 0, layout.ContentWidth(), layout.RowHeight()), this,
                        kHeaderId);
        m_header.SetFont(&m_font, FALSE);
    }
    if (m_grid.HasMargin())
    {
        m_marginTitle.Create(m_grid.GetMarginTitle(), WS_CHILD | WS_VISIBLE | SS_CENTER,
                             CRect(0, 0, layout.MarginWidth(), layout.RowHeight()), this);
        m_marginTitle.SetFont(&m_font, FALSE);
    }
    CreateScrollBars();
    int width = 0, height = 0;
    Size(width, height);
    return 1;
}

void CEditGrid::CreateScrollBars()
{
    m_hBar = new QScrollBar(Qt::Horizontal, GetWidget());
    m_vBar = new QScrollBar(Qt::Vertical, GetWidget());
    QObject::connect(m_hBar, &QScrollBar::actionTriggered, m_hBar,
                     [this](int action) { OnScrollAction(m_hBar, false, action); });
    QObject::connect(m_vBar, &QScrollBar::actionTriggered, m_vBar,
                     [this](int action) { OnScrollAction(m_vBar, true, action); });
    m_hBar->hide();
    m_vBar->hide();
}

void CEditGrid::PlaceScrollBars()
{
    if (!m_hBar || !GetWidget())
        return;
    CRect client;
    GetClientRect(&client);
    const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int barHeight = GetSystemMetrics(SM_CYHSCROLL);
    const auto apply = [](QScrollBar* bar, const GridScrollBar& state)
    {
        bar->setRange(state.min, std::max(state.min, state.max - state.page));
        bar->setPageStep(std::max(state.page, 1));
        bar->setValue(state.pos);
        bar->setEnabled(state.max > state.page);
        bar->setVisible(state.shown);
    };
    apply(m_hBar, m_hState);
    apply(m_vBar, m_vState);
    const int hWidth = client.Width() - (m_vState.shown ? barWidth : 0);
    const int vHeight = client.Height() - (m_hState.shown ? barHeight : 0);
    m_hBar->setGeometry(0, client.Height() - barHeight, std::max(hWidth, 0), barHeight);
    m_vBar->setGeometry(client.Width() - barWidth, 0, barWidth, std::max(vHeight, 0));
}

void CEditGrid::OnScrollAction(QScrollBar* bar, bool vertical, int action)
{
    const UINT code = ScrollCodeOf(action);
    if (vertical)
        m_grid.OnVScroll(code, bar->sliderPosition());
    else
        m_grid.OnHScroll(code, bar->sliderPosition());
    // The grid scrolls by whole rows and columns: the bar shows where it ended up.
    bar->setSliderPosition(vertical ? m_vState.pos : m_hState.pos);
}

void CEditGrid::Size(int&, int&)
{
    if (!GetWidget())
        return;
    CRect client;
    GetClientRect(&client);
    m_grid.Size(client.Width(), client.Height());
}

BOOL CEditGrid::IsWndChild(const CWnd* wnd) const
{
    return wnd && (wnd == m_edit.get() || wnd == m_list.get() || wnd == m_option.get() || wnd == &m_header)
               ? TRUE
               : FALSE;
}

void CEditGrid::Update(int row, int col, bool)
{
    m_grid.Update(row, col);
}

int CEditGrid::ProcessKey(UINT key)
{
    SyncModifierKeys();
    return m_grid.ProcessKey(key);
}

void CEditGrid::CopyEditData()
{
    if (m_edit)
        m_edit->SendMessage(WM_COPY);
}

void CEditGrid::CutEditData()
{
    if (m_edit)
        m_edit->SendMessage(WM_CUT);
}

void CEditGrid::PasteEditData()
{
    if (m_edit)
        m_edit->SendMessage(WM_PASTE);
}

void CEditGrid::RetireEditor(std::unique_ptr<CWnd> editor)
{
    if (!editor)
        return;
    editor->DestroyWindow();
    m_retired.push_back(std::move(editor));
    PostMessage(WM_EG_RELEASEEDITORS);
}

void CEditGrid::OnHeaderNotify(const NMHEADER& header)
{
    const int width = header.pitem ? header.pitem->cxy : 0;
    switch (header.hdr.code)
    {
    case HDN_ITEMCLICK:
        m_grid.OnHeaderClick(header.iItem);
        break;
    case HDN_TRACK:
        m_grid.OnHeaderTrack(header.iItem, width);
        break;
    case HDN_ENDTRACK:
        m_grid.OnHeaderEndTrack(header.iItem, width);
        break;
    default:
        break;
    }
}

LRESULT CEditGrid::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_EG_KEY:
        SyncModifierKeys();
        return m_grid.OnEditorKey(static_cast<UINT>(wParam));
    case WM_EG_KILLFOCUS:
        m_grid.OnEditKillFocus();
        return 0;
    case WM_EG_COMBOSEL:
        m_grid.OnListChoice(static_cast<int>(static_cast<INT_PTR>(wParam)));
        return 0;
    case WM_EG_OPTIONCLICK:
        m_grid.OnOptionClick();
        return 0;
    case WM_EG_RELEASEEDITORS:
        m_retired.clear();
        return 0;
    case WM_COMMAND:
        // The list reports a choice: its value is written at once.
        if (LOWORD(wParam) == kListId && HIWORD(wParam) == CBN_SELCHANGE && m_list &&
            m_list->GetCurSel() >= 0)
            m_grid.OnListChoice(
                static_cast<int>(static_cast<INT_PTR>(m_list->GetItemData(m_list->GetCurSel()))));
        return 0;
    case WM_NOTIFY:
    {
        const auto* header = reinterpret_cast<const NMHEADER*>(lParam);
        if (header && header->hdr.idFrom == kHeaderId)
            OnHeaderNotify(*header);
        return 1;
    }
    case WM_MOUSEWHEEL:
        m_grid.OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 1;
    case WM_CONTEXTMENU:
    {
        CPoint screen(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        CPoint client = screen;
        ScreenToClient(&client);
        m_grid.OnContextMenu(client, screen);
        return 1;
    }
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

BOOL CEditGrid::OnEraseBkgnd(CDC* dc)
{
    CRect clip;
    dc->GetClipBox(&clip);
    dc->FillSolidRect(&clip, m_colours.background);
    return TRUE;
}

void CEditGrid::OnPaint()
{
    CPaintDC dc(this);
    const GridPaint paint = BuildGridPaint(m_grid, m_colours);
    for (const GridPaint::Fill& fill : paint.fills)
        dc.FillSolidRect(&fill.rect, fill.colour);
    CPen pen(PS_SOLID, 1, m_colours.gridLines);
    CPen* oldPen = dc.SelectObject(&pen);
    for (const GridPaint::Line& line : paint.lines)
    {
        dc.MoveTo(line.from);
        dc.LineTo(line.to);
    }
    dc.SelectObject(oldPen);
    CFont* oldFont = dc.SelectObject(&m_font);
    dc.SetBkMode(TRANSPARENT);
    for (const GridPaint::Text& text : paint.texts)
    {
        dc.SetTextColor(text.colour);
        CRect rect = text.rect;
        dc.DrawText(text.text, &rect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    dc.SelectObject(oldFont);
}

void CEditGrid::OnSize(UINT, int cx, int cy)
{
    if (m_grid.IsCreated())
        m_grid.Size(cx, cy);
    PlaceScrollBars();
}

void CEditGrid::OnLButtonDown(UINT flags, CPoint point)
{
    m_grid.OnLButtonDown(flags, point);
}
void CEditGrid::OnLButtonUp(UINT, CPoint point)
{
    m_grid.OnLButtonUp(point);
}
void CEditGrid::OnLButtonDblClk(UINT, CPoint point)
{
    m_grid.OnLButtonDblClk(point);
}
void CEditGrid::OnMouseMove(UINT flags, CPoint point)
{
    m_grid.OnMouseMove(flags, point);
}

void CEditGrid::OnSetFocus(CWnd*)
{
    if (m_edit)
        m_edit->SetFocus();
    else if (m_list)
        m_list->SetFocus();
    else if (m_option)
        m_option->SetFocus();
}
