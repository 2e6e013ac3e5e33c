// Documents and their views: a document keeps the data and its list of views; a view is a window
// that shows it and hears of its changes through update hints.
#pragma once

#include "Wnd.h"

#include <framework/CmdTarget.h>

#include <vector>

class CDocument;
class CView;
class CPrintInfo;

// What a view is made from: its class and the document it shows.
struct CCreateContext
{
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
};

class CDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocument)

public:
    CDocument();
    ~CDocument() override;

    // A new, empty document: contents deleted, not modified.
    virtual BOOL OnNewDocument();
    // Contents deleted, then the subclass reads the file; the base reads nothing.
    virtual BOOL OnOpenDocument(const char* pathName);
    // The subclass writes the file; the base writes nothing and answers FALSE.
    virtual BOOL OnSaveDocument(const char* pathName);
    virtual void DeleteContents() {}

    virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }
    BOOL IsModified() const noexcept { return m_bModified; }
    virtual void SetTitle(const char* title);
    const CString& GetTitle() const noexcept { return m_strTitle; }
    virtual void SetPathName(const char* pathName);
    const CString& GetPathName() const noexcept { return m_strPathName; }

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const noexcept { return m_viewList; }
    CView* GetFirstView() const noexcept { return m_viewList.empty() ? nullptr : m_viewList.front(); }
    // Tells every view but the sender.
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);
    // The last view leaving deletes an automatic document.
    virtual void OnChangedViewList();

    BOOL m_bAutoDelete = TRUE;

private:
    BOOL m_bModified = FALSE;
    CString m_strTitle;
    CString m_strPathName;
    std::vector<CView*> m_viewList;
};

class CView : public CWnd, public CCmdTarget
{
    DECLARE_DYNAMIC(CView)

public:
    CView();
    ~CView() override;

    // Creates the window; a context with a document adds the view to it.
    BOOL Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, CCreateContext* context);
    CDocument* GetDocument() const noexcept { return m_pDocument; }

    // After the view is made: the base asks for a full update.
    virtual void OnInitialUpdate();
    // From the document's UpdateAllViews; the base repaints the view.
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
    // Drawing of the view's contents, on the screen and on the printer.
    virtual void OnDraw(CDC* dc) = 0;
    virtual void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr);

    // Printing: the loop asks these in turn.
    virtual BOOL OnPreparePrinting(CPrintInfo* info);
    virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info);
    virtual void OnPrint(CDC* dc, CPrintInfo* info);
    virtual void OnEndPrinting(CDC* dc, CPrintInfo* info);
    // The print dialog (through its sink) with the printer context kept in info; FALSE when cancelled.
    BOOL DoPreparePrinting(CPrintInfo* info);
    // The print loop: prepare, begin, each page of the dialog's range, end. FALSE when nothing or
    // not all was printed.
    virtual BOOL OnFilePrint();

    // Views made by runtime class belong to their window and go with it.
    BOOL m_bAutoDelete = FALSE;

protected:
    friend class CDocument;
    int OnCreate(CREATESTRUCT* createStruct) override;
    void OnPaint() override;
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual void OnHScroll(UINT code, UINT pos);
    virtual void OnVScroll(UINT code, UINT pos);
    // delta in wheel units (WHEEL_DELTA a notch), point in screen coordinates; TRUE when it scrolled.
    virtual BOOL OnMouseWheel(UINT flags, short delta, CPoint point);

    CDocument* m_pDocument = nullptr;
};

// Makes a view of the context's class as a child of parent (a dialog or frame), shows the context's
// document, runs its initial update and answers it; null (and nothing made) on failure. The view
// belongs to its window.
CView* AfxCreateView(CCreateContext* context, CWnd* parent, const RECT& rect, UINT id,
                     DWORD style = WS_CHILD | WS_VISIBLE);

// A view whose contents are larger than the window: scroll bars in device pixels.
class CScrollView : public CView
{
    DECLARE_DYNAMIC(CScrollView)

public:
    void SetScrollSizes(int mapMode, SIZE total, SIZE page = CSize(0, 0), SIZE line = CSize(0, 0));
    CPoint GetDeviceScrollPosition() const noexcept { return m_scrollPosition; }
    CSize GetTotalSize() const noexcept { return m_totalSize; }
    void ScrollToPosition(POINT position);
    void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr) override;

protected:
    void OnSize(UINT type, int cx, int cy) override;
    void OnHScroll(UINT code, UINT pos) override;
    void OnVScroll(UINT code, UINT pos) override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point) override;

private:
    void UpdateBars();
    int NewPosition(int bar, UINT code, UINT pos) const;

    CSize m_totalSize;
    CSize m_pageSize;
    CSize m_lineSize;
    CPoint m_scrollPosition;
};

constexpr int MM_TEXT = 1;
