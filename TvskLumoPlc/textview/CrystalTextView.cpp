#include "CrystalTextView.h"

#include "WidgetEventWatch.h"
#include "TextFindDialog.h"

#include <TvskLumoPlc/text/TextEditStrings.h>
#include <TvskLumoPlc/text/Utf8Chars.h>

#include <ZoSupport/ProgramError.h>

#include <ui/App.h>
#include <ui/Clipboard.h>
#include <ui/CmdUI.h>
#include <ui/DataSource.h>
#include <ui/Dc.h>
#include <ui/MessageBox.h>
#include <ui/PageSetup.h>

#include <QCursor>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QWidget>

#include <algorithm>
#include <cctype>

IMPLEMENT_DYNCREATE(CCrystalTextView, CView)

namespace
{

constexpr char kTabMark = '\x01';
constexpr char kSpaceMark = '\x02';
constexpr COLORREF kNoColour = 0xFFFFFFFF;

// Bytes of non-ASCII characters count as letters, so a word never ends inside a character.
bool IsWordChar(char ch)
{
    return std::isalnum(static_cast<unsigned char>(ch)) || ch == '_' ||
           static_cast<unsigned char>(ch) >= 0x80;
}

// The column after a character: a tab runs to the next stop, any other character fills one.
int ColumnAfter(char ch, int column, int tabSize)
{
    return ch == '\t' ? (column / tabSize + 1) * tabSize : column + 1;
}

bool Less(const CPoint& a, const CPoint& b)
{
    return a.y < b.y || (a.y == b.y && a.x < b.x);
}

// Moves a position by an edit of the text.
void ShiftPoint(CPoint& point, const TEXT_CHANGE& change)
{
    if (change.inserted)
    {
        if (Less(point, change.start))
            return;
        if (point.y == change.start.y)
        {
            point.x = change.end.x + (point.x - change.start.x);
            point.y = change.end.y;
        }
        else
        {
            point.y += change.end.y - change.start.y;
        }
        return;
    }
    if (!Less(change.start, point))
        return;
    if (!Less(change.end, point))
    {
        point = change.start;
    }
    else if (point.y == change.end.y)
    {
        point.x = change.start.x + (point.x - change.end.x);
        point.y = change.start.y;
    }
    else
    {
        point.y -= change.end.y - change.start.y;
    }
}

CString ToScreenGlyphs(std::string_view cells)
{
    std::string text;
    text.reserve(cells.size());
    for (char ch : cells)
    {
        if (ch == kTabMark)
            text += "\xC2\xBB"; // character 187
        else if (ch == kSpaceMark)
            text += "\xE2\x80\xA2"; // character 149
        else
            text += ch;
    }
    return CString(std::move(text));
}

} // namespace

CCrystalTextView::CCrystalTextView()
{
    CopyTextCut(m_lfBaseFont.lfFaceName, "Courier");
    m_lfBaseFont.lfWeight = FW_NORMAL;

    MapCommand(ID_EDIT_COPY, [this] { OnEditCopy(); });
    MapCommand(ID_EDIT_FIND, [this] { OnEditFind(); });
    MapCommand(ID_EDIT_FIND_NEXT, [this] { OnEditRepeat(); });
    MapCommand(ID_EDIT_FIND_PREVIOUS, [this] { OnEditFindPrevious(); });
    MapCommand(ID_EDIT_SELECT_ALL, [this] { OnEditSelectAll(); });
    MapCommand(ID_EDIT_CLEAR_BOOKMARKS, [this] { OnClearBookmarks(); });
    MapCommand(ID_EDIT_TOGGLE_BOOKMARK, [this] { OnToggleBookmark(); });
    MapCommand(ID_EDIT_NEXT_BOOKMARK, [this] { OnNextBookmark(); });
    MapCommand(ID_EDIT_PREV_BOOKMARK, [this] { OnPrevBookmark(); });
    MapCommand(ID_EDIT_CLEAR_ALL_BOOKMARKS, [this] { OnClearAllBookmarks(); });
    MapCommand(ID_FILE_PAGE_SETUP, [this] { OnFilePageSetup(); });
    MapCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    for (UINT n = 0; n < 10; ++n)
    {
        MapCommand(ID_EDIT_TOGGLE_BOOKMARK0 + n, [this, n] { OnToggleBookmark(n); });
        MapCommand(ID_EDIT_GO_BOOKMARK0 + n, [this, n] { OnGoBookmark(n); });
    }
    MapCommand(ID_EDIT_CHAR_LEFT, [this] { MoveLeft(FALSE); });
    MapCommand(ID_EDIT_EXT_CHAR_LEFT, [this] { MoveLeft(TRUE); });
    MapCommand(ID_EDIT_CHAR_RIGHT, [this] { MoveRight(FALSE); });
    MapCommand(ID_EDIT_EXT_CHAR_RIGHT, [this] { MoveRight(TRUE); });
    MapCommand(ID_EDIT_WORD_LEFT, [this] { MoveWordLeft(FALSE); });
    MapCommand(ID_EDIT_EXT_WORD_LEFT, [this] { MoveWordLeft(TRUE); });
    MapCommand(ID_EDIT_WORD_RIGHT, [this] { MoveWordRight(FALSE); });
    MapCommand(ID_EDIT_EXT_WORD_RIGHT, [this] { MoveWordRight(TRUE); });
    MapCommand(ID_EDIT_LINE_UP, [this] { MoveUp(FALSE); });
    MapCommand(ID_EDIT_EXT_LINE_UP, [this] { MoveUp(TRUE); });
    MapCommand(ID_EDIT_LINE_DOWN, [this] { MoveDown(FALSE); });
    MapCommand(ID_EDIT_EXT_LINE_DOWN, [this] { MoveDown(TRUE); });
    MapCommand(ID_EDIT_SCROLL_UP, [this] { ScrollUp(); });
    MapCommand(ID_EDIT_SCROLL_DOWN, [this] { ScrollDown(); });
    MapCommand(ID_EDIT_PAGE_UP, [this] { MovePgUp(FALSE); });
    MapCommand(ID_EDIT_EXT_PAGE_UP, [this] { MovePgUp(TRUE); });
    MapCommand(ID_EDIT_PAGE_DOWN, [this] { MovePgDn(FALSE); });
    MapCommand(ID_EDIT_EXT_PAGE_DOWN, [this] { MovePgDn(TRUE); });
    MapCommand(ID_EDIT_HOME, [this] { MoveHome(FALSE); });
    MapCommand(ID_EDIT_EXT_HOME, [this] { MoveHome(TRUE); });
    MapCommand(ID_EDIT_LINE_END, [this] { MoveEnd(FALSE); });
    MapCommand(ID_EDIT_EXT_LINE_END, [this] { MoveEnd(TRUE); });
    MapCommand(ID_EDIT_TEXT_BEGIN, [this] { MoveCtrlHome(FALSE); });
    MapCommand(ID_EDIT_EXT_TEXT_BEGIN, [this] { MoveCtrlHome(TRUE); });
    MapCommand(ID_EDIT_TEXT_END, [this] { MoveCtrlEnd(FALSE); });
    MapCommand(ID_EDIT_EXT_TEXT_END, [this] { MoveCtrlEnd(TRUE); });
    MapUpdateCommandUI(ID_INDICATOR_POSITION, [this](CCmdUI* ui) { OnUpdateIndicatorPosition(ui); });
    MapUpdateCommandUI(ID_INDICATOR_CRLF, [this](CCmdUI* ui) { OnUpdateIndicatorCRLF(ui); });
    const auto anyBookmark = [this](CCmdUI* ui)
    { ui->Enable(HasText() && m_pTextBuffer->FindLineWithFlag(LF_BOOKMARKS) >= 0); };
    MapUpdateCommandUI(ID_EDIT_NEXT_BOOKMARK, anyBookmark);
    MapUpdateCommandUI(ID_EDIT_PREV_BOOKMARK, anyBookmark);
    MapUpdateCommandUI(ID_EDIT_CLEAR_ALL_BOOKMARKS, anyBookmark);
}

CCrystalTextView::~CCrystalTextView()
{
    DetachFromBuffer();
}

CCrystalTextBuffer* CCrystalTextView::LocateTextBuffer()
{
    return nullptr;
}

void CCrystalTextView::AttachToBuffer(CCrystalTextBuffer* buffer)
{
    if (m_pTextBuffer)
        m_pTextBuffer->DetachView(this);
    m_pTextBuffer = buffer ? buffer : LocateTextBuffer();
    if (m_pTextBuffer)
        m_pTextBuffer->AttachView(this);
    ResetView();
    if (GetSafeHwnd())
    {
        UpdateScrollBars();
        Invalidate();
    }
}

void CCrystalTextView::DetachFromBuffer()
{
    if (!m_pTextBuffer)
        return;
    m_pTextBuffer->DetachView(this);
    m_pTextBuffer = nullptr;
    ResetView();
}

void CCrystalTextView::ResetView()
{
    m_nTopLine = 0;
    m_nOffsetChar = 0;
    m_nTabSize = 4;
    m_nLineHeight = -1;
    m_nCharWidth = -1;
    m_nScreenLines = -1;
    m_nScreenChars = -1;
    m_nMaxLineLength = -1;
    m_nIdealCharPos = -1;
    m_ptCursorPos = m_ptSelStart = m_ptSelEnd = m_ptAnchor = CPoint(0, 0);
    m_parseCookies.clear();
    m_actualLineLengths.clear();
    for (auto& font : m_apFonts)
        font.reset();
    if (GetSafeHwnd())
        UpdateCaret();
}

int CCrystalTextView::OnCreate(CREATESTRUCT* createStruct)
{
    if (CView::OnCreate(createStruct) == -1)
        return -1;
    m_hAccel = TextEditAccelerators();
    GetWidget()->setFocusPolicy(Qt::StrongFocus);
    GetWidget()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_pPaletteWatch =
        std::make_unique<CWidgetEventWatch>(GetWidget(), QEvent::PaletteChange, [this] { Invalidate(); });
    return 0;
}

void CCrystalTextView::OnInitialUpdate()
{
    AttachToBuffer(nullptr);
    CView::OnInitialUpdate();
}

void CCrystalTextView::OnDestroy()
{
    DetachFromBuffer();
    KillTimer(TIMER_DRAGSEL);
    if (m_bFocused)
        DestroyCaret();
    CView::OnDestroy();
}

LRESULT CCrystalTextView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN && m_hAccel)
    {
        MSG msg;
        msg.hwnd = this;
        msg.message = message;
        msg.wParam = wParam;
        msg.lParam = lParam;
        if (TranslateAccelerator(this, m_hAccel, &msg))
            return 0;
    }
    return CView::WindowProc(message, wParam, lParam);
}

// Display settings

void CCrystalTextView::SetFont(const LOGFONT& font)
{
    m_lfBaseFont = font;
    for (auto& each : m_apFonts)
        each.reset();
    m_nLineHeight = m_nCharWidth = m_nScreenLines = m_nScreenChars = -1;
    if (GetSafeHwnd())
    {
        UpdateScrollBars();
        Invalidate();
        UpdateCaret();
    }
}

void CCrystalTextView::SetTabSize(int tabSize)
{
    if (tabSize < 1 || tabSize > 64 || tabSize == m_nTabSize)
        return;
    m_nTabSize = tabSize;
    m_actualLineLengths.clear();
    m_nMaxLineLength = -1;
    if (GetSafeHwnd())
    {
        UpdateScrollBars();
        Invalidate();
        UpdateCaret();
    }
}

void CCrystalTextView::SetViewTabs(BOOL viewTabs)
{
    m_bViewTabs = viewTabs;
    if (GetSafeHwnd())
        Invalidate();
}

void CCrystalTextView::SetSelectionMargin(BOOL selMargin)
{
    m_bSelMargin = selMargin;
    m_nScreenChars = -1;
    if (GetSafeHwnd())
    {
        UpdateScrollBars();
        Invalidate();
    }
}

COLORREF CCrystalTextView::GetColor(int colorIndex) const
{
    switch (colorIndex)
    {
    case COLORINDEX_WHITESPACE:
    case COLORINDEX_BKGND:
        return GetSysColor(COLOR_WINDOW);
    case COLORINDEX_NORMALTEXT:
        return GetSysColor(COLOR_WINDOWTEXT);
    case COLORINDEX_SELMARGIN:
        return GetSysColor(COLOR_SCROLLBAR);
    case COLORINDEX_SELBKGND:
        return RGB(0, 0, 0);
    case COLORINDEX_SELTEXT:
        return RGB(0xFF, 0xFF, 0xFF);
    case COLORINDEX_KEYWORD:
        return 0xFF0000;
    case COLORINDEX_COMMENT:
        return 0x008000;
    case COLORINDEX_NUMBER:
        return 0x000080;
    case COLORINDEX_STRING:
        return 0x0000FF;
    case COLORINDEX_PREPROCESSOR:
        return 0xC08000;
    default:
        return RGB(0, 0, 0);
    }
}

CFont* CCrystalTextView::GetFont(BOOL italic, BOOL bold)
{
    const size_t index = (bold ? 1 : 0) + (italic ? 2 : 0);
    if (!m_apFonts[index])
    {
        LOGFONT font = m_lfBaseFont;
        font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        font.lfItalic = italic ? 1 : 0;
        m_apFonts[index] = std::make_unique<CFont>();
        m_apFonts[index]->CreateFontIndirect(&font);
    }
    return m_apFonts[index].get();
}

void CCrystalTextView::CalcLineCharDim()
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(GetFont());
    const CSize size = dc.GetTextExtent("X");
    m_nLineHeight = std::max<int>(1, size.cy);
    m_nCharWidth = std::max<int>(1, size.cx);
}

int CCrystalTextView::GetLineHeight()
{
    if (m_nLineHeight < 0)
        CalcLineCharDim();
    return m_nLineHeight;
}

int CCrystalTextView::GetCharWidth()
{
    if (m_nCharWidth < 0)
        CalcLineCharDim();
    return m_nCharWidth;
}

int CCrystalTextView::GetMarginWidth()
{
    if (!m_bSelMargin)
        return 1;
    return m_bCharMargin ? GetCharWidth() * 15 / 2 : SELECTION_MARGIN_WIDTH;
}

void CCrystalTextView::SetCharacterMargin(BOOL characters)
{
    if (m_bCharMargin == characters)
        return;
    m_bCharMargin = characters;
    if (GetSafeHwnd())
    {
        RecalcHorzScrollBar();
        Invalidate();
    }
}

int CCrystalTextView::GetScreenLines()
{
    if (m_nScreenLines < 0)
    {
        CRect client;
        GetClientRect(&client);
        m_nScreenLines = client.Height() / GetLineHeight();
    }
    return m_nScreenLines;
}

int CCrystalTextView::GetScreenChars()
{
    if (m_nScreenChars < 0)
    {
        CRect client;
        GetClientRect(&client);
        m_nScreenChars = std::max(0, (client.Width() - GetMarginWidth()) / GetCharWidth());
    }
    return m_nScreenChars;
}

int CCrystalTextView::GetLineCount()
{
    return HasText() ? m_pTextBuffer->GetLineCount() : 1;
}

int CCrystalTextView::GetLineLength(int line)
{
    return HasText() ? m_pTextBuffer->GetLineLength(line) : 0;
}

int CCrystalTextView::GetLineActualLength(int line)
{
    const int count = GetLineCount();
    if (line < 0 || line >= count)
    {
        ProgramError(__FILE__, __LINE__, "line out of range");
        return 0;
    }
    if (static_cast<int>(m_actualLineLengths.size()) != count)
        m_actualLineLengths.assign(static_cast<size_t>(count), -1);
    int& cached = m_actualLineLengths[static_cast<size_t>(line)];
    if (cached < 0)
        cached = CalculateActualOffset(line, GetLineLength(line));
    return cached;
}

int CCrystalTextView::CalculateActualOffset(int line, int charIndex)
{
    if (!HasText())
        return 0;
    const std::string_view text = m_pTextBuffer->GetLine(line);
    const int end = std::clamp(charIndex, 0, static_cast<int>(text.size()));
    int column = 0;
    for (int i = 0; i < end; i = tvsk::text::NextChar(text, i))
        column = ColumnAfter(text[static_cast<size_t>(i)], column, m_nTabSize);
    return column;
}

int CCrystalTextView::ApproxActualOffset(int line, int offset)
{
    if (!HasText() || offset <= 0)
        return 0;
    const std::string_view text = m_pTextBuffer->GetLine(line);
    int column = 0;
    for (int i = 0; i < static_cast<int>(text.size()); i = tvsk::text::NextChar(text, i))
    {
        const int next = ColumnAfter(text[static_cast<size_t>(i)], column, m_nTabSize);
        if (next > offset)
            return offset - column < next - offset ? i : tvsk::text::NextChar(text, i);
        column = next;
    }
    return static_cast<int>(text.size());
}

std::string CCrystalTextView::ExpandLine(int line)
{
    std::string expanded;
    if (!HasText())
        return expanded;
    const std::string_view text = m_pTextBuffer->GetLine(line);
    expanded.reserve(text.size() + 16);
    int column = 0;
    for (int i = 0; i < static_cast<int>(text.size());)
    {
        const int next = tvsk::text::NextChar(text, i);
        const char ch = text[static_cast<size_t>(i)];
        const int after = ColumnAfter(ch, column, m_nTabSize);
        if (ch == '\t')
        {
            expanded += m_bViewTabs ? kTabMark : ' ';
            expanded.append(static_cast<size_t>(after - column - 1), ' ');
        }
        else if (ch == ' ' && m_bViewTabs)
            expanded += kSpaceMark;
        else
            expanded.append(text.substr(static_cast<size_t>(i), static_cast<size_t>(next - i)));
        column = after;
        i = next;
    }
    return expanded;
}

DWORD CCrystalTextView::ParseLine(DWORD cookie, int line, std::vector<TEXTBLOCK>* blocks)
{
    if (!m_pParser || !HasText())
    {
        if (blocks)
            blocks->clear();
        return 0;
    }
    return m_pParser->ParseLine(cookie, m_pTextBuffer->GetLine(line), blocks);
}

DWORD CCrystalTextView::GetParseCookie(int line)
{
    const int count = GetLineCount();
    if (line < 0 || line >= count)
    {
        ProgramError(__FILE__, __LINE__, "line out of range");
        return 0;
    }
    if (static_cast<int>(m_parseCookies.size()) != count)
        m_parseCookies.assign(static_cast<size_t>(count), static_cast<DWORD>(-1));
    int known = line;
    while (known >= 0 && m_parseCookies[static_cast<size_t>(known)] == static_cast<DWORD>(-1))
        --known;
    DWORD cookie = known >= 0 ? m_parseCookies[static_cast<size_t>(known)] : 0;
    for (int l = known + 1; l <= line; ++l)
    {
        cookie = ParseLine(cookie, l, nullptr);
        m_parseCookies[static_cast<size_t>(l)] = cookie;
    }
    return cookie;
}

// Positions

CPoint CCrystalTextView::ClientToText(const CPoint& point)
{
    const int count = GetLineCount();
    CPoint pt;
    pt.y = std::clamp(m_nTopLine + point.y / GetLineHeight(), 0, count - 1);
    // Moved right by half a character so that the point snaps to the nearer boundary.
    const int x = point.x - GetMarginWidth() + GetCharWidth() / 2;
    const int target = (x < 0 ? -1 : x / GetCharWidth()) + m_nOffsetChar;
    if (!HasText() || target <= 0)
        return CPoint(0, pt.y);
    const std::string_view text = m_pTextBuffer->GetLine(pt.y);
    int column = 0;
    int index = 0;
    for (; index < static_cast<int>(text.size()); index = tvsk::text::NextChar(text, index))
    {
        const int next = ColumnAfter(text[static_cast<size_t>(index)], column, m_nTabSize);
        if (next > target)
            break;
        column = next;
    }
    pt.x = index;
    return pt;
}

CPoint CCrystalTextView::TextToClient(const CPoint& point)
{
    return CPoint((CalculateActualOffset(point.y, point.x) - m_nOffsetChar) * GetCharWidth() +
                      GetMarginWidth(),
                  (point.y - m_nTopLine) * GetLineHeight());
}

void CCrystalTextView::AdjustTextPoint(CPoint& point)
{
    const int count = GetLineCount();
    point.y = std::clamp<LONG>(point.y, 0, count - 1);
    point.x = std::clamp<LONG>(point.x, 0, GetLineLength(point.y));
    if (HasText())
        point.x = tvsk::text::CharStart(m_pTextBuffer->GetLine(point.y), point.x);
}

void CCrystalTextView::SetCursorPos(const CPoint& pos)
{
    CPoint adjusted = pos;
    AdjustTextPoint(adjusted);
    m_ptCursorPos = adjusted;
    m_nIdealCharPos = CalculateActualOffset(adjusted.y, adjusted.x);
    UpdateCaret();
}

void CCrystalTextView::GetSelection(CPoint& start, CPoint& end) const
{
    start = Less(m_ptSelEnd, m_ptSelStart) ? m_ptSelEnd : m_ptSelStart;
    end = Less(m_ptSelEnd, m_ptSelStart) ? m_ptSelStart : m_ptSelEnd;
}

void CCrystalTextView::SetSelection(const CPoint& start, const CPoint& end)
{
    CPoint oldStart;
    CPoint oldEnd;
    GetSelection(oldStart, oldEnd);
    m_ptSelStart = start;
    m_ptSelEnd = end;
    AdjustTextPoint(m_ptSelStart);
    AdjustTextPoint(m_ptSelEnd);
    CPoint newStart;
    CPoint newEnd;
    GetSelection(newStart, newEnd);
    if (GetSafeHwnd() && (oldStart != newStart || oldEnd != newEnd))
    {
        InvalidateLines(std::min(oldStart.y, newStart.y), std::max(oldEnd.y, newEnd.y));
    }
}

void CCrystalTextView::PrepareSelBounds()
{
    GetSelection(m_ptDrawSelStart, m_ptDrawSelEnd);
}

BOOL CCrystalTextView::IsInsideSelection(const CPoint& textPoint) const
{
    CPoint start;
    CPoint end;
    GetSelection(start, end);
    return !Less(textPoint, start) && Less(textPoint, end);
}

void CCrystalTextView::EnsureVisible(CPoint pt)
{
    AdjustTextPoint(pt);
    const int screenLines = std::max(1, GetScreenLines());
    int top = m_nTopLine;
    if (pt.y < top)
        top = pt.y;
    else if (pt.y >= top + screenLines)
        top = pt.y - screenLines + 1;
    ScrollToLine(top);
    const int column = CalculateActualOffset(pt.y, pt.x);
    const int screenChars = std::max(1, GetScreenChars());
    int offset = m_nOffsetChar;
    if (column < offset)
        offset = column;
    else if (column >= offset + screenChars)
        offset = column - screenChars + 1;
    ScrollToChar(offset);
}

void CCrystalTextView::ScrollToLine(int newTopLine, BOOL noSmoothScroll, BOOL trackScrollBar)
{
    newTopLine = std::clamp(newTopLine, 0, std::max(0, GetLineCount() - 1));
    if (newTopLine == m_nTopLine)
        return;
    if (!GetSafeHwnd())
    {
        m_nTopLine = newTopLine;
        return;
    }
    if (m_bSmoothScroll && !noSmoothScroll)
    {
        // A sixth of the way left and one line more at each step, painted as it goes.
        while (m_nTopLine != newTopLine)
        {
            const int remaining = newTopLine - m_nTopLine;
            const int step = std::abs(remaining) / 6 + 1;
            m_nTopLine += remaining > 0 ? step : -step;
            Invalidate();
            UpdateWindow();
        }
    }
    else
    {
        m_nTopLine = newTopLine;
        Invalidate();
    }
    if (trackScrollBar)
        RecalcVertScrollBar(TRUE);
    UpdateCaret();
}

void CCrystalTextView::ScrollToChar(int newOffsetChar, BOOL trackScrollBar)
{
    newOffsetChar = std::max(0, newOffsetChar);
    if (newOffsetChar == m_nOffsetChar)
        return;
    m_nOffsetChar = newOffsetChar;
    if (!GetSafeHwnd())
        return;
    Invalidate();
    if (trackScrollBar)
        RecalcHorzScrollBar(TRUE);
    UpdateCaret();
}

void CCrystalTextView::InvalidateLines(int line1, int line2, BOOL invalidateMargin)
{
    if (!GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    const int top = (std::min(line1, line2) - m_nTopLine) * GetLineHeight();
    const int bottom = (std::max(line1, line2) - m_nTopLine + 1) * GetLineHeight();
    CRect rect(invalidateMargin ? 0 : GetMarginWidth(), std::max<int>(0, top), client.right, bottom);
    if (rect.bottom > 0 && rect.top < client.bottom)
        InvalidateRect(&rect, FALSE);
}

void CCrystalTextView::RecalcVertScrollBar(BOOL positionOnly)
{
    if (!GetSafeHwnd())
        return;
    SCROLLINFO info;
    if (positionOnly)
    {
        info.fMask = SIF_POS;
    }
    else
    {
        m_nScreenLines = -1;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        info.nMin = 0;
        info.nMax = GetLineCount() - 1;
        info.nPage = static_cast<UINT>(GetScreenLines());
    }
    info.nPos = m_nTopLine;
    SetScrollInfo(SB_VERT, &info);
}

void CCrystalTextView::RecalcHorzScrollBar(BOOL positionOnly)
{
    if (!GetSafeHwnd())
        return;
    SCROLLINFO info;
    if (positionOnly)
    {
        info.fMask = SIF_POS;
    }
    else
    {
        m_nScreenChars = -1;
        if (m_nMaxLineLength < 0)
        {
            m_nMaxLineLength = 0;
            for (int line = 0; line < GetLineCount(); ++line)
                m_nMaxLineLength = std::max(m_nMaxLineLength, GetLineActualLength(line));
        }
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        info.nMin = 0;
        info.nMax = std::max(0, m_nMaxLineLength - 1);
        info.nPage = static_cast<UINT>(GetScreenChars());
    }
    info.nPos = m_nOffsetChar;
    SetScrollInfo(SB_HORZ, &info);
}

void CCrystalTextView::UpdateCaret()
{
    if (!GetSafeHwnd() || !m_bFocused)
        return;
    const bool visible = HasText() && m_ptCursorPos.y >= m_nTopLine &&
                         m_ptCursorPos.y < m_nTopLine + GetScreenLines() &&
                         CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x) >= m_nOffsetChar;
    if (!visible)
    {
        if (m_bCaretShown)
        {
            HideCaret();
            m_bCaretShown = FALSE;
        }
        return;
    }
    CreateSolidCaret(GetOverwriteMode() ? GetCharWidth() : 2, GetLineHeight());
    SetCaretPos(TextToClient(m_ptCursorPos));
    ShowCaret();
    m_bCaretShown = TRUE;
}

// Buffer updates

void CCrystalTextView::UpdateView(CTextBufferView*, const TEXT_CHANGE* change, DWORD flags, int line)
{
    if (flags & UPDATE_RESET)
    {
        ResetView();
        if (GetSafeHwnd())
        {
            UpdateScrollBars();
            Invalidate();
        }
        return;
    }
    const int count = GetLineCount();
    if (change)
    {
        for (CPoint* point : {&m_ptCursorPos, &m_ptSelStart, &m_ptSelEnd, &m_ptAnchor})
            ShiftPoint(*point, *change);
        if (m_bDraggingText)
        {
            ShiftPoint(m_ptDraggedTextBegin, *change);
            ShiftPoint(m_ptDraggedTextEnd, *change);
        }
    }
    const int first = std::max(0, line);
    if (flags & UPDATE_VERTRANGE)
    {
        m_parseCookies.resize(static_cast<size_t>(first));
        m_actualLineLengths.resize(static_cast<size_t>(first));
        m_parseCookies.resize(static_cast<size_t>(count), static_cast<DWORD>(-1));
        m_actualLineLengths.resize(static_cast<size_t>(count), -1);
    }
    else if (line >= 0 && line < count)
    {
        if (static_cast<int>(m_parseCookies.size()) == count)
            std::fill(m_parseCookies.begin() + first, m_parseCookies.end(), static_cast<DWORD>(-1));
        if (static_cast<int>(m_actualLineLengths.size()) == count)
            m_actualLineLengths[static_cast<size_t>(line)] = -1;
    }
    for (CPoint* point : {&m_ptCursorPos, &m_ptSelStart, &m_ptSelEnd, &m_ptAnchor})
        AdjustTextPoint(*point);
    if (flags & (UPDATE_HORZRANGE | UPDATE_VERTRANGE))
        m_nMaxLineLength = -1;
    if (!GetSafeHwnd())
        return;
    if ((flags & UPDATE_SINGLELINE) && line >= 0)
        InvalidateLines(line, line, (flags & UPDATE_FLAGSONLY) != 0);
    else
        Invalidate(FALSE);
    if (flags & UPDATE_VERTRANGE)
        RecalcVertScrollBar();
    if (flags & (UPDATE_HORZRANGE | UPDATE_VERTRANGE))
        RecalcHorzScrollBar();
    if (change)
        UpdateCaret();
}

// Painting

BOOL CCrystalTextView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CCrystalTextView::OnPaint()
{
    CPaintDC dc(this);
    // The corner between the two scroll bars lies outside the client area.
    CRect window;
    GetWindowRect(&window);
    CRect client;
    GetClientRect(&client);
    if (client.Width() < window.Width() && client.Height() < window.Height())
        dc.FillSolidRect(client.right, client.bottom, window.Width() - client.right,
                         window.Height() - client.bottom, GetSysColor(COLOR_BTNFACE));
    OnDraw(&dc);
}

void CCrystalTextView::OnDraw(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    const int lineHeight = GetLineHeight();
    if (!m_pCacheBitmap || m_pCacheBitmap->GetBitmapDimension() != CSize(client.Width(), lineHeight))
    {
        m_pCacheBitmap = std::make_unique<CBitmap>();
        m_pCacheBitmap->CreateCompatibleBitmap(dc, std::max<int>(1, client.Width()), lineHeight);
    }
    CDC lineDC;
    lineDC.CreateCompatibleDC(dc);
    CBitmap* oldBitmap = lineDC.SelectObject(m_pCacheBitmap.get());
    PrepareSelBounds();
    const int lineCount = GetLineCount();
    const int margin = GetMarginWidth();
    for (int y = 0, line = m_nTopLine; y < client.bottom; y += lineHeight, ++line)
    {
        const CRect marginRect(0, 0, margin, lineHeight);
        const CRect lineRect(margin, 0, client.Width(), lineHeight);
        DrawMargin(&lineDC, marginRect, line < lineCount ? line : -1);
        DrawSingleLine(&lineDC, lineRect, line < lineCount ? line : -1);
        dc->BitBlt(0, y, client.Width(), lineHeight, &lineDC, 0, 0, SRCCOPY);
    }
    lineDC.SelectObject(oldBitmap);
}

void CCrystalTextView::DrawMargin(CDC* dc, const CRect& rect, int line)
{
    if (!m_bSelMargin)
    {
        dc->FillSolidRect(&rect, GetColor(COLORINDEX_BKGND));
        return;
    }
    dc->FillSolidRect(&rect, GetColor(COLORINDEX_SELMARGIN));
    if (line < 0 || !HasText())
        return;
    const DWORD flags = m_pTextBuffer->GetLineFlags(line);
    int number = -1;
    for (int n = 0; n < 10 && number < 0; ++n)
        if (flags & (LF_BOOKMARK_FIRST << n))
            number = n;
    if (!(flags & LF_BOOKMARKS) && number < 0)
        return;
    const int size = std::min<int>(rect.Height() - 2, 12);
    const CRect mark(rect.left + 4, rect.top + (rect.Height() - size) / 2, rect.left + 4 + size,
                     rect.top + (rect.Height() - size) / 2 + size);
    dc->FillSolidRect(&mark, RGB(0, 0, 0x80));
    if (number >= 0)
    {
        dc->SelectObject(GetFont());
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(RGB(0xFF, 0xFF, 0xFF));
        dc->TextOut(mark.left + 2, rect.top, CString(static_cast<char>('0' + number)));
    }
}

void CCrystalTextView::DrawLineSegment(CDC* dc, CPoint& origin, const CRect& clip, std::string_view expanded,
                                       int from, int to, COLORREF text, COLORREF background)
{
    if (to <= from)
        return;
    const int charWidth = GetCharWidth();
    const int visibleFrom = std::max(from, m_nOffsetChar);
    const int x = clip.left + (visibleFrom - m_nOffsetChar) * charWidth;
    const int right = clip.left + (to - m_nOffsetChar) * charWidth;
    origin.x = right;
    if (to <= m_nOffsetChar || x >= clip.right)
        return;
    const CRect cell(x, clip.top, std::min<int>(right, clip.right), clip.bottom);
    dc->FillSolidRect(&cell, background);
    // Each character of the expanded line fills one column.
    const int first = tvsk::text::AdvanceChars(expanded, 0, visibleFrom);
    const int last = tvsk::text::AdvanceChars(expanded, first, to - visibleFrom);
    if (last > first)
    {
        dc->SetTextColor(text);
        dc->TextOut(
            x, clip.top,
            ToScreenGlyphs(expanded.substr(static_cast<size_t>(first), static_cast<size_t>(last - first))));
    }
}

void CCrystalTextView::DrawSingleLine(CDC* dc, const CRect& rect, int line)
{
    if (line < 0 || !HasText())
    {
        dc->FillSolidRect(&rect, GetColor(COLORINDEX_WHITESPACE));
        return;
    }
    const DWORD lineFlags = m_pTextBuffer->GetLineFlags(line);
    COLORREF forcedText = kNoColour;
    COLORREF forcedBack = kNoColour;
    if (lineFlags & LF_EXECUTION)
        forcedBack = 0x008000;
    else if (lineFlags & LF_BREAKPOINT)
        forcedBack = 0x0000FF;
    else if (lineFlags & LF_ERROR)
        forcedBack = 0x008080;
    if (forcedBack != kNoColour)
        forcedText = RGB(0xFF, 0xFF, 0xFF);

    const std::string expanded = ExpandLine(line);
    std::vector<TEXTBLOCK> blocks;
    ParseLine(line > 0 ? GetParseCookie(line - 1) : 0, line, &blocks);
    if (blocks.empty() || blocks.front().m_nCharPos > 0)
        blocks.insert(blocks.begin(), {0, COLORINDEX_NORMALTEXT});

    // Colour runs in expanded columns, split by the selection.
    const int lineLength = GetLineLength(line);
    const int selFrom = m_ptDrawSelStart.y < line    ? 0
                        : m_ptDrawSelStart.y == line ? m_ptDrawSelStart.x
                                                     : lineLength + 1;
    const int selTo = m_ptDrawSelEnd.y > line    ? lineLength + 1
                      : m_ptDrawSelEnd.y == line ? m_ptDrawSelEnd.x
                                                 : -1;
    const bool showSelection = m_bFocused || m_bShowInactiveSelection;

    dc->SelectObject(GetFont());
    dc->SetBkMode(TRANSPARENT);
    CPoint origin(rect.left, rect.top);
    for (size_t b = 0; b < blocks.size(); ++b)
    {
        const std::string_view source = m_pTextBuffer->GetLine(line);
        const int start = tvsk::text::CharStart(source, std::clamp(blocks[b].m_nCharPos, 0, lineLength));
        const int end =
            b + 1 < blocks.size()
                ? tvsk::text::CharStart(source, std::clamp(blocks[b + 1].m_nCharPos, start, lineLength))
                : lineLength;
        const COLORREF text = forcedText != kNoColour ? forcedText : GetColor(blocks[b].m_nColorIndex);
        const COLORREF back = forcedBack != kNoColour ? forcedBack : GetColor(COLORINDEX_BKGND);
        // Up to three pieces: before, inside and after the selection.
        const int cuts[4] = {start, std::clamp(selFrom, start, end), std::clamp(selTo, start, end), end};
        for (int piece = 0; piece < 3; ++piece)
        {
            const bool selected = showSelection && piece == 1;
            DrawLineSegment(dc, origin, rect, expanded, CalculateActualOffset(line, cuts[piece]),
                            CalculateActualOffset(line, cuts[piece + 1]),
                            selected ? GetColor(COLORINDEX_SELTEXT) : text,
                            selected ? GetColor(COLORINDEX_SELBKGND) : back);
        }
    }
    // The rest of the line; a selection running past its end shows one character cell.
    const int endColumn = tvsk::text::CharCount(expanded);
    CPoint rest = origin;
    rest.x = rect.left + (endColumn - m_nOffsetChar) * GetCharWidth();
    CRect tail(std::max<int>(rect.left, rest.x), rect.top, rect.right, rect.bottom);
    if (showSelection && selTo > lineLength && selFrom <= lineLength && tail.left < tail.right)
    {
        CRect cell(tail.left, rect.top, std::min<int>(tail.left + GetCharWidth(), rect.right), rect.bottom);
        dc->FillSolidRect(&cell, GetColor(COLORINDEX_SELBKGND));
        tail.left = cell.right;
    }
    if (tail.left < tail.right)
        dc->FillSolidRect(&tail, forcedBack != kNoColour ? forcedBack : GetColor(COLORINDEX_WHITESPACE));
}

// Size, scrolling, mouse

void CCrystalTextView::OnSize(UINT type, int cx, int cy)
{
    CView::OnSize(type, cx, cy);
    m_nScreenLines = -1;
    m_nScreenChars = -1;
    m_pCacheBitmap.reset();
    UpdateScrollBars();
}

void CCrystalTextView::OnVScroll(UINT code, UINT pos)
{
    const int page = std::max(1, GetScreenLines() - 1);
    int top = m_nTopLine;
    switch (code)
    {
    case SB_LINEUP:
        --top;
        break;
    case SB_LINEDOWN:
        ++top;
        break;
    case SB_PAGEUP:
        top -= page;
        break;
    case SB_PAGEDOWN:
        top += page;
        break;
    case SB_TOP:
        top = 0;
        break;
    case SB_BOTTOM:
        top = GetLineCount() - 1;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        // The thumb is followed at once.
        ScrollToLine(static_cast<int>(pos), TRUE);
        return;
    default:
        return;
    }
    ScrollToLine(top);
}

void CCrystalTextView::OnHScroll(UINT code, UINT pos)
{
    const int page = std::max(1, GetScreenChars() - 1);
    int offset = m_nOffsetChar;
    switch (code)
    {
    case SB_LINELEFT:
        --offset;
        break;
    case SB_LINERIGHT:
        ++offset;
        break;
    case SB_PAGELEFT:
        offset -= page;
        break;
    case SB_PAGERIGHT:
        offset += page;
        break;
    case SB_TOP:
        offset = 0;
        break;
    case SB_BOTTOM:
        offset = m_nMaxLineLength;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        offset = static_cast<int>(pos);
        break;
    default:
        return;
    }
    ScrollToChar(offset);
}

BOOL CCrystalTextView::OnMouseWheel(UINT, short delta, CPoint)
{
    const int before = m_nTopLine;
    ScrollToLine(m_nTopLine - delta / WHEEL_DELTA * 3);
    return before != m_nTopLine;
}

// The margin's cursor (resource 22900, drawn here): the arrow turned to point right, at whole lines.
static QCursor MarginCursor()
{
    static const QCursor cursor = []
    {
        QPixmap arrow(32, 32);
        arrow.fill(Qt::transparent);
        QPainter painter(&arrow);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPolygonF shape({{21, 1}, {21, 18}, {17, 14}, {14, 21}, {12, 20}, {15, 13}, {9, 13}});
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(Qt::black);
        painter.drawPolygon(shape);
        painter.end();
        return QCursor(arrow, 21, 1);
    }();
    return cursor;
}

BOOL CCrystalTextView::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (hitTest != HTCLIENT)
        return CView::OnSetCursor(wnd, hitTest, message);
    POINT screen;
    ::GetCursorPos(&screen);
    ScreenToClient(&screen);
    const CPoint point(screen.x, screen.y);
    if (point.x < GetMarginWidth())
        GetWidget()->setCursor(MarginCursor());
    else if (IsInsideSelection(ClientToText(point)) && !m_bDragSelection)
        ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
    else
        ::SetCursor(LoadCursor(nullptr, IDC_IBEAM));
    return TRUE;
}

void CCrystalTextView::OnLButtonDown(UINT flags, CPoint point)
{
    SetFocus();
    if (!HasText())
        return;
    const bool shift = (flags & MK_SHIFT) != 0;
    const CPoint text = ClientToText(point);
    if (point.x < GetMarginWidth())
    {
        // A click in the margin selects whole lines.
        m_bLineSelection = TRUE;
        const CPoint lineStart(0, text.y);
        const CPoint nextLine =
            text.y + 1 < GetLineCount() ? CPoint(0, text.y + 1) : CPoint(GetLineLength(text.y), text.y);
        if (!shift)
            m_ptAnchor = lineStart;
        SetCursorPos(nextLine);
        SetSelection(m_ptAnchor, nextLine);
    }
    else if (!shift && IsInsideSelection(text))
    {
        m_bPreparingToDrag = TRUE;
        m_ptDragStart = point;
        return;
    }
    else
    {
        m_bLineSelection = FALSE;
        if (!shift)
            m_ptAnchor = text;
        SetCursorPos(text);
        SetSelection(m_ptAnchor, text);
    }
    m_bDragSelection = TRUE;
    SetCapture();
    SetTimer(TIMER_DRAGSEL, 100);
    EnsureVisible(m_ptCursorPos);
}

void CCrystalTextView::OnMouseMove(UINT flags, CPoint point)
{
    if (m_bPreparingToDrag && (flags & MK_LBUTTON))
    {
        if (std::abs(point.x - m_ptDragStart.x) + std::abs(point.y - m_ptDragStart.y) < 4)
            return;
        m_bPreparingToDrag = FALSE;
        GetSelection(m_ptDraggedTextBegin, m_ptDraggedTextEnd);
        const CString text = GetSelectedText();
        COleDataSource source;
        source.CacheData(CF_TEXT, text.GetString(), static_cast<size_t>(text.GetLength()));
        m_bDraggingText = TRUE;
        const DROPEFFECT effect =
            source.DoDragDrop(QueryEditable() ? DROPEFFECT_COPY | DROPEFFECT_MOVE : DROPEFFECT_COPY);
        m_bDraggingText = FALSE;
        if (effect == DROPEFFECT_MOVE)
            OnDragSourceMoved(m_ptDraggedTextBegin, m_ptDraggedTextEnd);
        return;
    }
    if (!m_bDragSelection)
        return;
    CPoint text = ClientToText(point);
    if (m_bLineSelection)
        text = text.y + 1 < GetLineCount() ? CPoint(0, text.y + 1) : CPoint(GetLineLength(text.y), text.y);
    SetCursorPos(text);
    SetSelection(m_ptAnchor, text);
}

void CCrystalTextView::OnLButtonUp(UINT, CPoint point)
{
    if (m_bPreparingToDrag)
    {
        m_bPreparingToDrag = FALSE;
        const CPoint text = ClientToText(point);
        m_ptAnchor = text;
        SetCursorPos(text);
        SetSelection(text, text);
        return;
    }
    if (!m_bDragSelection)
        return;
    m_bDragSelection = FALSE;
    m_bLineSelection = FALSE;
    KillTimer(TIMER_DRAGSEL);
    ReleaseCapture();
}

void CCrystalTextView::OnLButtonDblClk(UINT, CPoint point)
{
    if (!HasText() || point.x < GetMarginWidth())
        return;
    const CPoint text = ClientToText(point);
    const CPoint start = WordToLeft(text);
    const CPoint end = WordToRight(text);
    m_ptAnchor = start;
    SetCursorPos(end);
    SetSelection(start, end);
}

int CCrystalTextView::AutoScrollStep(const CPoint& clientPoint)
{
    CRect client;
    GetClientRect(&client);
    if (clientPoint.y < client.top)
        return client.top - clientPoint.y > GetLineHeight() ? -3 : -1;
    if (clientPoint.y >= client.bottom)
        return clientPoint.y - client.bottom >= GetLineHeight() ? 3 : 1;
    return 0;
}

void CCrystalTextView::OnTimer(UINT_PTR id)
{
    if (id != TIMER_DRAGSEL)
    {
        CView::OnTimer(id);
        return;
    }
    if (!m_bDragSelection)
        return;
    POINT screen;
    ::GetCursorPos(&screen);
    ScreenToClient(&screen);
    const CPoint point(screen.x, screen.y);
    const int step = AutoScrollStep(point);
    if (step == 0)
        return;
    ScrollToLine(m_nTopLine + step, TRUE);
    const int screenLines = std::max(1, GetScreenLines());
    CPoint text = ClientToText(CPoint(point.x, 0));
    text.y = step < 0 ? m_nTopLine : std::min(GetLineCount() - 1, m_nTopLine + screenLines - 1);
    text.x = std::min(text.x, static_cast<LONG>(GetLineLength(text.y)));
    SetCursorPos(text);
    SetSelection(m_ptAnchor, text);
}

void CCrystalTextView::OnSetFocus(CWnd* oldWnd)
{
    CView::OnSetFocus(oldWnd);
    m_bFocused = TRUE;
    m_bCaretShown = FALSE;
    if (m_ptSelStart != m_ptSelEnd)
        InvalidateLines(m_ptSelStart.y, m_ptSelEnd.y);
    UpdateCaret();
}

void CCrystalTextView::OnKillFocus(CWnd* newWnd)
{
    CView::OnKillFocus(newWnd);
    m_bFocused = FALSE;
    if (m_bCaretShown)
    {
        HideCaret();
        m_bCaretShown = FALSE;
    }
    if (m_ptSelStart != m_ptSelEnd)
        InvalidateLines(m_ptSelStart.y, m_ptSelEnd.y);
    if (m_bDragSelection)
    {
        ReleaseCapture();
        KillTimer(TIMER_DRAGSEL);
        m_bDragSelection = FALSE;
    }
}

void CCrystalTextView::OnDragSourceMoved(const CPoint&, const CPoint&) {}

// Caret movement

CPoint CCrystalTextView::WordToLeft(CPoint pt)
{
    const std::string_view text = m_pTextBuffer->GetLine(pt.y);
    while (pt.x > 0 && IsWordChar(text[static_cast<size_t>(pt.x - 1)]))
        --pt.x;
    return pt;
}

CPoint CCrystalTextView::WordToRight(CPoint pt)
{
    const std::string_view text = m_pTextBuffer->GetLine(pt.y);
    while (pt.x < static_cast<int>(text.size()) && IsWordChar(text[static_cast<size_t>(pt.x)]))
        ++pt.x;
    return pt;
}

void CCrystalTextView::MoveCaretTo(const CPoint& pos, BOOL select, int idealCharPos)
{
    SetCursorPos(pos);
    if (idealCharPos >= 0)
        m_nIdealCharPos = idealCharPos;
    EnsureVisible(pos);
    if (!select)
        m_ptAnchor = pos;
    SetSelection(select ? m_ptAnchor : pos, pos);
}

void CCrystalTextView::MoveLeft(BOOL select)
{
    if (!HasText())
        return;
    CPoint start;
    CPoint end;
    GetSelection(start, end);
    CPoint pos = m_ptCursorPos;
    if (IsSelection() && !select)
    {
        pos = start;
    }
    else if (pos.x == 0)
    {
        if (pos.y > 0)
        {
            --pos.y;
            pos.x = GetLineLength(pos.y);
        }
    }
    else
    {
        pos.x = tvsk::text::PrevChar(m_pTextBuffer->GetLine(pos.y), pos.x);
    }
    MoveCaretTo(pos, select);
}

void CCrystalTextView::MoveRight(BOOL select)
{
    if (!HasText())
        return;
    CPoint start;
    CPoint end;
    GetSelection(start, end);
    CPoint pos = m_ptCursorPos;
    if (IsSelection() && !select)
    {
        pos = end;
    }
    else if (pos.x == GetLineLength(pos.y))
    {
        if (pos.y + 1 < GetLineCount())
        {
            ++pos.y;
            pos.x = 0;
        }
    }
    else
    {
        pos.x = tvsk::text::NextChar(m_pTextBuffer->GetLine(pos.y), pos.x);
    }
    MoveCaretTo(pos, select);
}

void CCrystalTextView::MoveWordLeft(BOOL select)
{
    if (!HasText())
        return;
    CPoint pos = m_ptCursorPos;
    if (pos.x == 0)
    {
        MoveLeft(select);
        return;
    }
    const std::string_view text = m_pTextBuffer->GetLine(pos.y);
    while (pos.x > 0 && std::isspace(static_cast<unsigned char>(text[static_cast<size_t>(pos.x - 1)])))
        --pos.x;
    if (pos.x > 0 && IsWordChar(text[static_cast<size_t>(pos.x - 1)]))
        pos = WordToLeft(pos);
    else if (pos.x > 0)
        --pos.x;
    MoveCaretTo(pos, select);
}

void CCrystalTextView::MoveWordRight(BOOL select)
{
    if (!HasText())
        return;
    CPoint pos = m_ptCursorPos;
    const std::string_view text = m_pTextBuffer->GetLine(pos.y);
    if (pos.x == static_cast<int>(text.size()))
    {
        MoveRight(select);
        return;
    }
    if (IsWordChar(text[static_cast<size_t>(pos.x)]))
        pos = WordToRight(pos);
    else
        ++pos.x;
    while (pos.x < static_cast<int>(text.size()) &&
           std::isspace(static_cast<unsigned char>(text[static_cast<size_t>(pos.x)])))
        ++pos.x;
    MoveCaretTo(pos, select);
}

void CCrystalTextView::MoveUp(BOOL select)
{
    if (!HasText())
        return;
    CPoint pos = m_ptCursorPos;
    if (IsSelection() && !select)
        pos = Less(m_ptSelStart, m_ptSelEnd) ? m_ptSelStart : m_ptSelEnd;
    const int ideal = m_nIdealCharPos >= 0 ? m_nIdealCharPos : CalculateActualOffset(pos.y, pos.x);
    if (pos.y > 0)
    {
        --pos.y;
        pos.x = ApproxActualOffset(pos.y, ideal);
    }
    MoveCaretTo(pos, select, ideal);
}

void CCrystalTextView::MoveDown(BOOL select)
{
    if (!HasText())
        return;
    CPoint pos = m_ptCursorPos;
    if (IsSelection() && !select)
        pos = Less(m_ptSelStart, m_ptSelEnd) ? m_ptSelEnd : m_ptSelStart;
    const int ideal = m_nIdealCharPos >= 0 ? m_nIdealCharPos : CalculateActualOffset(pos.y, pos.x);
    if (pos.y + 1 < GetLineCount())
    {
        ++pos.y;
        pos.x = ApproxActualOffset(pos.y, ideal);
    }
    MoveCaretTo(pos, select, ideal);
}

void CCrystalTextView::MoveHome(BOOL select)
{
    if (!HasText())
        return;
    const CPoint pos(0, m_ptCursorPos.y);
    MoveCaretTo(pos, select);
}

void CCrystalTextView::MoveEnd(BOOL select)
{
    if (!HasText())
        return;
    const CPoint pos(GetLineLength(m_ptCursorPos.y), m_ptCursorPos.y);
    MoveCaretTo(pos, select);
}

void CCrystalTextView::MovePgUp(BOOL select)
{
    if (!HasText())
        return;
    const int step = std::max(1, GetScreenLines() - 1);
    ScrollToLine(m_nTopLine - step);
    const int ideal =
        m_nIdealCharPos >= 0 ? m_nIdealCharPos : CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    CPoint pos(0, std::max(0, static_cast<int>(m_ptCursorPos.y) - step));
    pos.x = ApproxActualOffset(pos.y, ideal);
    MoveCaretTo(pos, select, ideal);
}

void CCrystalTextView::MovePgDn(BOOL select)
{
    if (!HasText())
        return;
    const int step = std::max(1, GetScreenLines() - 1);
    ScrollToLine(m_nTopLine + step);
    const int ideal =
        m_nIdealCharPos >= 0 ? m_nIdealCharPos : CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    CPoint pos(0, std::min(GetLineCount() - 1, static_cast<int>(m_ptCursorPos.y) + step));
    pos.x = ApproxActualOffset(pos.y, ideal);
    MoveCaretTo(pos, select, ideal);
}

void CCrystalTextView::MoveCtrlHome(BOOL select)
{
    if (!HasText())
        return;
    const CPoint pos(0, 0);
    MoveCaretTo(pos, select);
}

void CCrystalTextView::MoveCtrlEnd(BOOL select)
{
    if (!HasText())
        return;
    const int last = GetLineCount() - 1;
    const CPoint pos(GetLineLength(last), last);
    MoveCaretTo(pos, select);
}

void CCrystalTextView::ScrollUp()
{
    ScrollToLine(m_nTopLine - 1);
}

void CCrystalTextView::ScrollDown()
{
    ScrollToLine(m_nTopLine + 1);
}

// Selection, clipboard, search

void CCrystalTextView::OnEditSelectAll()
{
    if (!HasText())
        return;
    const int last = GetLineCount() - 1;
    const CPoint end(GetLineLength(last), last);
    m_ptAnchor = CPoint(0, 0);
    SetCursorPos(end);
    SetSelection(CPoint(0, 0), end);
}

CString CCrystalTextView::GetSelectedText()
{
    CString text;
    if (!HasText())
        return text;
    CPoint start;
    CPoint end;
    GetSelection(start, end);
    m_pTextBuffer->GetRangeText(start.y, start.x, end.y, end.x, text, "\r\n");
    return text;
}

void CCrystalTextView::OnEditCopy()
{
    if (!HasText())
        return;
    if (IsSelection())
    {
        SetClipboardText(GetSelectedText());
        return;
    }
    SetClipboardText(CString(m_pTextBuffer->GetLine(m_ptCursorPos.y)) + "\r\n");
}

void CCrystalTextView::HighlightText(const CPoint& start, int length)
{
    const CPoint end(start.x + length, start.y);
    m_ptAnchor = start;
    SetCursorPos(end);
    SetSelection(start, end);
    EnsureVisible(start);
    EnsureVisible(end);
}

BOOL CCrystalTextView::FindTextInBlock(const char* what, const CPoint& startPos, const CPoint& blockBegin,
                                       const CPoint& blockEnd, DWORD flags, BOOL wrapSearch, CPoint* foundPos)
{
    if (!HasText() || !foundPos)
        return FALSE;
    return ::FindTextInBlock(*m_pTextBuffer, what ? what : "", startPos, blockBegin, blockEnd, flags,
                             wrapSearch != FALSE, *foundPos);
}

BOOL CCrystalTextView::FindText(const char* what, const CPoint& startPos, DWORD flags, BOOL wrapSearch,
                                CPoint* foundPos)
{
    const int last = GetLineCount() - 1;
    return FindTextInBlock(what, startPos, CPoint(0, 0), CPoint(GetLineLength(last), last), flags, wrapSearch,
                           foundPos);
}

void CCrystalTextView::SetLastSearch(const char* what, DWORD flags)
{
    m_bLastSearch = TRUE;
    m_strLastFindWhat = what ? what : "";
    m_dwLastSearchFlags = flags;
}

void CCrystalTextView::ShowNotFound(const CString& what)
{
    CString message;
    message.Format(LoadTextEditString(IDS_EDIT_TEXT_NOT_FOUND), what.GetString());
    AfxMessageBox(message, MB_ICONINFORMATION);
}

void CCrystalTextView::OnEditFind()
{
    if (!HasText())
        return;
    CWinApp* app = AfxGetApp();
    CTextFindDialog dialog(this);
    if (m_bLastSearch)
    {
        dialog.m_bMatchCase = (m_dwLastSearchFlags & FIND_MATCH_CASE) != 0;
        dialog.m_bWholeWord = (m_dwLastSearchFlags & FIND_WHOLE_WORD) != 0;
        dialog.m_nDirection = (m_dwLastSearchFlags & FIND_DIRECTION_UP) ? 0 : 1;
        dialog.m_sText = m_strLastFindWhat;
    }
    else if (app)
    {
        dialog.m_bMatchCase = app->GetProfileInt("TextEdit\\Find", "MatchCase", 0) != 0;
        dialog.m_bWholeWord = app->GetProfileInt("TextEdit\\Find", "WholeWord", 0) != 0;
        dialog.m_sText = app->GetProfileString("TextEdit\\Find", "FindWhat", "");
    }
    CPoint start;
    CPoint end;
    GetSelection(start, end);
    if (IsSelection() && start.y == end.y)
        m_pTextBuffer->GetRangeText(start.y, start.x, end.y, end.x, dialog.m_sText);
    dialog.m_ptCurrentPos = m_ptCursorPos;
    dialog.DoModal();

    DWORD flags = 0;
    if (dialog.m_bMatchCase)
        flags |= FIND_MATCH_CASE;
    if (dialog.m_bWholeWord)
        flags |= FIND_WHOLE_WORD;
    if (dialog.m_nDirection == 0)
        flags |= FIND_DIRECTION_UP;
    SetLastSearch(dialog.m_sText, flags);
    if (app)
    {
        app->WriteProfileInt("TextEdit\\Find", "MatchCase", dialog.m_bMatchCase);
        app->WriteProfileInt("TextEdit\\Find", "WholeWord", dialog.m_bWholeWord);
        app->WriteProfileString("TextEdit\\Find", "FindWhat", dialog.m_sText);
    }
}

void CCrystalTextView::OnEditRepeat()
{
    if (!m_bLastSearch || !HasText())
        return;
    CPoint start;
    CPoint end;
    GetSelection(start, end);
    const CPoint from = (m_dwLastSearchFlags & FIND_DIRECTION_UP) ? start : m_ptCursorPos;
    CPoint found;
    if (!FindText(m_strLastFindWhat, from, m_dwLastSearchFlags, TRUE, &found))
    {
        ShowNotFound(m_strLastFindWhat);
        return;
    }
    HighlightText(found, m_strLastFindWhat.GetLength());
}

void CCrystalTextView::OnEditFindPrevious()
{
    const DWORD saved = m_dwLastSearchFlags;
    m_dwLastSearchFlags ^= FIND_DIRECTION_UP;
    OnEditRepeat();
    m_dwLastSearchFlags = saved;
}

// Bookmarks

void CCrystalTextView::OnToggleBookmark(UINT number)
{
    if (!HasText() || number > 9)
        return;
    const DWORD flag = LF_BOOKMARK_FIRST << number;
    const int line = m_ptCursorPos.y;
    const bool set = !(m_pTextBuffer->GetLineFlags(line) & flag);
    m_pTextBuffer->SetLineFlag(line, flag, set, TRUE);
}

void CCrystalTextView::OnGoBookmark(UINT number)
{
    if (!HasText() || number > 9)
        return;
    const int line = m_pTextBuffer->FindLineWithFlag(LF_BOOKMARK_FIRST << number);
    if (line < 0)
        return;
    MoveCaretTo(CPoint(0, line), FALSE);
}

void CCrystalTextView::OnClearBookmarks()
{
    if (HasText())
        m_pTextBuffer->ClearFlagEverywhere(LF_NUMBERED_BOOKMARKS);
}

void CCrystalTextView::OnToggleBookmark()
{
    if (!HasText())
        return;
    const int line = m_ptCursorPos.y;
    m_pTextBuffer->SetLineFlag(line, LF_BOOKMARKS, !(m_pTextBuffer->GetLineFlags(line) & LF_BOOKMARKS),
                               FALSE);
}

void CCrystalTextView::OnNextBookmark()
{
    if (!HasText())
        return;
    const int line = m_pTextBuffer->FindLineWithFlag(LF_BOOKMARKS, m_ptCursorPos.y + 1);
    if (line < 0)
        return;
    MoveCaretTo(CPoint(0, line), FALSE);
}

void CCrystalTextView::OnPrevBookmark()
{
    if (!HasText())
        return;
    int line = -1;
    for (int l = m_ptCursorPos.y - 1; l >= 0 && line < 0; --l)
        if (m_pTextBuffer->GetLineFlags(l) & LF_BOOKMARKS)
            line = l;
    if (line < 0)
        return;
    MoveCaretTo(CPoint(0, line), FALSE);
}

void CCrystalTextView::OnClearAllBookmarks()
{
    if (HasText())
        m_pTextBuffer->ClearFlagEverywhere(LF_BOOKMARKS);
}

// Indicators and page set-up

void CCrystalTextView::OnUpdateIndicatorPosition(CCmdUI* cmdUI)
{
    CString text;
    text.Format("Ln %d, Col %d", static_cast<int>(m_ptCursorPos.y) + 1,
                (HasText() ? CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x) : 0) + 1);
    cmdUI->Enable(TRUE);
    cmdUI->SetText(text);
}

void CCrystalTextView::OnUpdateIndicatorCRLF(CCmdUI* cmdUI)
{
    if (!HasText())
    {
        cmdUI->Enable(FALSE);
        cmdUI->SetText("");
        return;
    }
    static const char* const kStyles[] = {"DOS", "UNIX", "MAC"};
    cmdUI->Enable(TRUE);
    cmdUI->SetText(kStyles[std::clamp(m_pTextBuffer->GetCRLFMode(), 0, 2)]);
}

CRect CCrystalTextView::GetPrintMargins()
{
    CRect margins(1000, 1000, 1000, 1000);
    if (CWinApp* app = AfxGetApp())
    {
        margins.left = static_cast<int>(app->GetProfileInt("TextEdit\\PageSetup", "LeftMargin", 1000));
        margins.right = static_cast<int>(app->GetProfileInt("TextEdit\\PageSetup", "RightMargin", 1000));
        margins.top = static_cast<int>(app->GetProfileInt("TextEdit\\PageSetup", "TopMargin", 1000));
        margins.bottom = static_cast<int>(app->GetProfileInt("TextEdit\\PageSetup", "BottomMargin", 1000));
    }
    return margins;
}

void CCrystalTextView::OnFilePageSetup()
{
    CPageSetupDialog dialog(PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS, this);
    dialog.m_psd.rtMargin = GetPrintMargins();
    if (dialog.DoModal() != IDOK)
        return;
    if (CWinApp* app = AfxGetApp())
    {
        const RECT& m = dialog.m_psd.rtMargin;
        app->WriteProfileInt("TextEdit\\PageSetup", "LeftMargin", m.left);
        app->WriteProfileInt("TextEdit\\PageSetup", "RightMargin", m.right);
        app->WriteProfileInt("TextEdit\\PageSetup", "TopMargin", m.top);
        app->WriteProfileInt("TextEdit\\PageSetup", "BottomMargin", m.bottom);
    }
}
