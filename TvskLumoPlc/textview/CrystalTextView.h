// The read-only text view: draws a text buffer's lines in colour, keeps the caret and selection,
// scrolls, finds, copies, starts drags, shows its indicators and prints.
#pragma once

#include "EditCommands.h"

#include <TvskLumoPlc/text/CrystalTextBuffer.h>
#include <TvskLumoPlc/text/SyntaxParser.h>
#include <TvskLumoPlc/text/TextSearch.h>

#include <ui/Accelerators.h>
#include <ui/DocView.h>
#include <ui/Gdi.h>

#include <array>
#include <memory>
#include <vector>

class CWidgetEventWatch;

class CCrystalTextView : public CView, public CTextBufferView
{
    DECLARE_DYNCREATE(CCrystalTextView)

public:
    static constexpr int SELECTION_MARGIN_WIDTH = 41;
    static constexpr UINT_PTR TIMER_DRAGSEL = 1001;

    CCrystalTextView();
    ~CCrystalTextView() override;

    // The buffer shown; derived views answer their document's.
    virtual CCrystalTextBuffer* LocateTextBuffer();
    // A buffer with lines to show (a freed buffer has none).
    BOOL HasText() const noexcept { return m_pTextBuffer && m_pTextBuffer->GetLineCount() > 0; }
    void AttachToBuffer(CCrystalTextBuffer* buffer = nullptr);
    void DetachFromBuffer();
    void UpdateView(CTextBufferView* source, const TEXT_CHANGE* change, DWORD flags, int line) override;

    // Display settings
    void SetFont(const LOGFONT& font);
    void GetFont(LOGFONT& font) const { font = m_lfBaseFont; }
    int GetTabSize() const noexcept { return m_nTabSize; }
    void SetTabSize(int tabSize);
    BOOL GetViewTabs() const noexcept { return m_bViewTabs; }
    void SetViewTabs(BOOL viewTabs);
    BOOL GetSelectionMargin() const noexcept { return m_bSelMargin; }
    void SetSelectionMargin(BOOL selMargin);
    // The alternative margin: 7.5 character widths instead of 41 pixels.
    BOOL GetCharacterMargin() const noexcept { return m_bCharMargin; }
    void SetCharacterMargin(BOOL characters);
    void SetSyntaxParser(CSyntaxParser* parser) { m_pParser = parser; }
    virtual COLORREF GetColor(int colorIndex) const;

    // Positions (character, line)
    CPoint GetCursorPos() const noexcept { return m_ptCursorPos; }
    void SetCursorPos(const CPoint& pos);
    void GetSelection(CPoint& start, CPoint& end) const;
    void SetSelection(const CPoint& start, const CPoint& end);
    BOOL IsSelection() const noexcept { return m_ptSelStart != m_ptSelEnd; }
    void SetAnchor(const CPoint& anchor) { m_ptAnchor = anchor; }
    void EnsureVisible(CPoint pt);
    int GetTopLine() const noexcept { return m_nTopLine; }
    int GetOffsetChar() const noexcept { return m_nOffsetChar; }
    // Unless forced, a smooth-scrolling view moves there in steps, painting after each.
    void ScrollToLine(int newTopLine, BOOL noSmoothScroll = FALSE, BOOL trackScrollBar = TRUE);
    void SetSmoothScroll(BOOL smooth) noexcept { m_bSmoothScroll = smooth; }
    void SetPrintLineNumbers(BOOL lineNumbers) noexcept { m_bPrintLineNumbers = lineNumbers; }
    void ScrollToChar(int newOffsetChar, BOOL trackScrollBar = TRUE);
    CPoint ClientToText(const CPoint& point);
    CPoint TextToClient(const CPoint& point);

    // Metrics (at least 1 pixel each)
    int GetLineHeight();
    int GetCharWidth();
    int GetMarginWidth();
    int GetScreenLines();
    int GetScreenChars();
    int GetLineCount();
    int GetLineLength(int line);
    // The tab-expanded length of a line, cached.
    int GetLineActualLength(int line);
    // The parser's state at the end of a line, cached (-1 unknown).
    DWORD GetParseCookie(int line);

    // Search (flags of TextSearch.h): selects a match and moves the caret to its end.
    BOOL FindText(const char* what, const CPoint& startPos, DWORD flags, BOOL wrapSearch, CPoint* foundPos);
    BOOL FindTextInBlock(const char* what, const CPoint& startPos, const CPoint& blockBegin,
                         const CPoint& blockEnd, DWORD flags, BOOL wrapSearch, CPoint* foundPos);
    // The last search of this view
    BOOL HasLastSearch() const noexcept { return m_bLastSearch; }
    const CString& GetLastSearchText() const noexcept { return m_strLastFindWhat; }
    DWORD GetLastSearchFlags() const noexcept { return m_dwLastSearchFlags; }
    void SetLastSearch(const char* what, DWORD flags);
    void HighlightText(const CPoint& start, int length);

    // Commands
    void OnEditCopy();
    void OnEditFind();
    void OnEditRepeat();
    void OnEditFindPrevious();
    void OnEditSelectAll();
    void OnToggleBookmark(UINT number);
    void OnGoBookmark(UINT number);
    void OnClearBookmarks();
    void OnToggleBookmark();
    void OnNextBookmark();
    void OnPrevBookmark();
    void OnClearAllBookmarks();
    void OnFilePageSetup();
    void OnUpdateIndicatorPosition(CCmdUI* cmdUI);
    void OnUpdateIndicatorCRLF(CCmdUI* cmdUI);
    // Margins of "TextEdit\PageSetup" in hundredths of millimetres (1000 each by default).
    static CRect GetPrintMargins();

    void OnDraw(CDC* dc) override;
    void OnInitialUpdate() override;

    // Printing: half the screen size, wrapped at word boundaries, "Page %d/%d" below each page.
    BOOL OnPreparePrinting(CPrintInfo* info) override;
    void OnBeginPrinting(CDC* dc, CPrintInfo* info) override;
    void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr) override;
    void OnPrint(CDC* dc, CPrintInfo* info) override;
    void OnEndPrinting(CDC* dc, CPrintInfo* info) override;
    int GetPrintPageCount() const noexcept { return static_cast<int>(m_printPageStarts.size()); }
    // The pieces (start, length) a printed line wraps into within width characters: at word
    // boundaries, at least one character each; an empty line is one empty piece.
    static std::vector<std::pair<int, int>> WrapLine(std::string_view text, int width);

protected:
    int OnCreate(CREATESTRUCT* createStruct) override;
    void OnDestroy() override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnVScroll(UINT code, UINT pos) override;
    void OnHScroll(UINT code, UINT pos) override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnTimer(UINT_PTR id) override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnKillFocus(CWnd* newWnd) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual void ResetView();
    virtual void UpdateCaret();
    // The parser's blocks for a line: the view's parser, or one plain block.
    virtual DWORD ParseLine(DWORD cookie, int line, std::vector<TEXTBLOCK>* blocks);
    // The caret's shape: overwrite mode shows a block.
    virtual BOOL QueryEditable() { return FALSE; }
    virtual BOOL GetOverwriteMode() const { return FALSE; }
    // Drag source finished with this effect (a move removes the text in editing views).
    virtual void OnDragSourceMoved(const CPoint& start, const CPoint& end);

    // Puts the caret at pos and scrolls to it; with select the selection runs from the anchor.
    void MoveCaretTo(const CPoint& pos, BOOL select, int idealCharPos = -1);
    void MoveLeft(BOOL select);
    void MoveRight(BOOL select);
    void MoveWordLeft(BOOL select);
    void MoveWordRight(BOOL select);
    void MoveUp(BOOL select);
    void MoveDown(BOOL select);
    void MoveHome(BOOL select);
    void MoveEnd(BOOL select);
    void MovePgUp(BOOL select);
    void MovePgDn(BOOL select);
    void MoveCtrlHome(BOOL select);
    void MoveCtrlEnd(BOOL select);
    void ScrollUp();
    void ScrollDown();

    int CalculateActualOffset(int line, int charIndex);
    int ApproxActualOffset(int line, int offset);
    void InvalidateLines(int line1, int line2, BOOL invalidateMargin = FALSE);
    void RecalcVertScrollBar(BOOL positionOnly = FALSE);
    void RecalcHorzScrollBar(BOOL positionOnly = FALSE);
    void UpdateScrollBars()
    {
        RecalcVertScrollBar();
        RecalcHorzScrollBar();
    }
    CFont* GetFont(BOOL italic = FALSE, BOOL bold = FALSE);
    void CalcLineCharDim();
    BOOL IsInsideSelection(const CPoint& textPoint) const;
    void PrepareSelBounds();
    CPoint WordToLeft(CPoint pt);
    CPoint WordToRight(CPoint pt);
    void AdjustTextPoint(CPoint& point);
    void ShowNotFound(const CString& what);
    // The selection text, lines joined by "\r\n".
    CString GetSelectedText();
    // Auto-scroll step while selecting: 0, or the lines to scroll (negative up).
    int AutoScrollStep(const CPoint& clientPoint);

    // Drawing
    void DrawSingleLine(CDC* dc, const CRect& rect, int line);
    void DrawMargin(CDC* dc, const CRect& rect, int line);
    void DrawLineSegment(CDC* dc, CPoint& origin, const CRect& clip, std::string_view expanded, int from,
                         int to, COLORREF text, COLORREF background);
    // The line with tabs expanded (and whitespace shown when asked).
    std::string ExpandLine(int line);

    CCrystalTextBuffer* m_pTextBuffer = nullptr;
    CSyntaxParser* m_pParser = nullptr;
    HACCEL m_hAccel = nullptr;

    LOGFONT m_lfBaseFont;
    std::array<std::unique_ptr<CFont>, 4> m_apFonts;
    int m_nLineHeight = -1;
    int m_nCharWidth = -1;
    int m_nScreenLines = -1;
    int m_nScreenChars = -1;
    int m_nMaxLineLength = -1;
    int m_nTabSize = 4;
    BOOL m_bViewTabs = FALSE;
    BOOL m_bSelMargin = TRUE;
    BOOL m_bCharMargin = FALSE;
    std::unique_ptr<CWidgetEventWatch> m_pPaletteWatch;
    BOOL m_bSmoothScroll = FALSE;

    int m_nTopLine = 0;
    int m_nOffsetChar = 0;
    CPoint m_ptCursorPos;
    CPoint m_ptSelStart;
    CPoint m_ptSelEnd;
    CPoint m_ptAnchor;
    CPoint m_ptDrawSelStart;
    CPoint m_ptDrawSelEnd;
    int m_nIdealCharPos = -1;
    BOOL m_bFocused = FALSE;
    BOOL m_bCaretShown = FALSE;

    // Mouse selection and dragging
    BOOL m_bDragSelection = FALSE;
    BOOL m_bLineSelection = FALSE;
    BOOL m_bPreparingToDrag = FALSE;
    BOOL m_bDraggingText = FALSE;
    CPoint m_ptDragStart;
    CPoint m_ptDraggedTextBegin;
    CPoint m_ptDraggedTextEnd;

    // Search
    BOOL m_bLastSearch = FALSE;
    CString m_strLastFindWhat;
    DWORD m_dwLastSearchFlags = 0;
    BOOL m_bShowInactiveSelection = TRUE;

    // Caches per line
    std::vector<DWORD> m_parseCookies;
    std::vector<int> m_actualLineLengths;

    // Off-screen line of the painting
    std::unique_ptr<CBitmap> m_pCacheBitmap;

    // Printing
    struct PRINT_POS
    {
        int line;
        int piece;
    };
    // Lays every line out on pages of the printer's text area; margins too wide read as 1000.
    void LayoutPrintPages(CDC* dc);
    std::string ExpandLineForPrint(int line);
    // Characters of text a printed row holds.
    int PrintTextWidth() const;
    std::unique_ptr<CFont> m_pPrintFont;
    CRect m_rcPrintArea;
    int m_nPrintLineHeight = 1;
    int m_nPrintCharWidth = 1;
    int m_nPrintFooterHeight = 0;
    BOOL m_bPrintLineNumbers = FALSE; // "%04d " before each printed line
    std::vector<PRINT_POS> m_printPageStarts;
};
