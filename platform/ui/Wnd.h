// CWnd: a window over a QWidget; Qt events arrive as numbered messages at virtual handlers.
#pragma once

#include "Gdi.h"
#include "ScrollInfo.h"
#include "UiDefs.h"

#include <framework/CString.h>
#include <framework/Exceptions.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <vector>

class CCmdUI;
class CDC;
struct GUID;
struct IUnknown;
struct VARIANT;
class CMenu;
struct HELPINFO;
class QImage;
class QWidget;

namespace tvsk::ui
{
class ControlSite;
class WndBridge;
struct PostBox;
} // namespace tvsk::ui

struct CREATESTRUCT
{
    void* lpCreateParams = nullptr;
    CWnd* hwndParent = nullptr;
    UINT id = 0;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    DWORD style = 0;
    const char* lpszName = nullptr;
    const char* lpszClass = nullptr;
    DWORD dwExStyle = 0;
};

// Window class registration: what a class name gives its windows.
constexpr UINT CS_VREDRAW = 0x1;
constexpr UINT CS_HREDRAW = 0x2;
constexpr UINT CS_DBLCLKS = 0x8;
constexpr UINT CS_SAVEBITS = 0x800;

struct WNDCLASS
{
    UINT style = 0;
    HCURSOR hCursor = nullptr;
    // Background colour of the erase; COLORREF -1 for none.
    COLORREF background = 0xFFFFFFFF;
    const char* lpszClassName = nullptr;
};
// FALSE when the name is empty or already registered with other settings.
BOOL AfxRegisterClass(const WNDCLASS* wndClass);
BOOL GetClassInfo(const char* className, WNDCLASS* wndClass);

// A window class, bitmap or other resource that could not be had.
class CResourceException : public CException
{
public:
    using CException::CException;
};
[[noreturn]] void AfxThrowResourceException();

// Command notification codes of OnCmdMsg
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

class CWnd
{
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Creation and destruction
    virtual BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                          const RECT& rect, CWnd* parent, UINT id, void* param = nullptr);
    virtual BOOL Create(const char* className, const char* windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id);
    virtual BOOL DestroyWindow();
    // Takes over the window of a control created by a dialog (or another wrapper).
    BOOL SubclassWindow(HWND wnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND GetSafeHwnd() const noexcept { return m_hWnd; }
    QWidget* GetWidget() const noexcept { return m_widget; }
    static CWnd* FromWidget(const QWidget* widget);
    static CWnd* FromHandle(HWND wnd) noexcept { return wnd; }

    // Identity and tree
    int GetDlgCtrlID() const noexcept { return static_cast<int>(m_id); }
    int SetDlgCtrlID(int id);
    CWnd* GetDlgItem(int id) const;
    CWnd* GetParent() const;
    CWnd* GetTopLevelParent() const;
    CString GetClassName() const { return m_className; }
    DWORD GetStyle() const;
    DWORD GetExStyle() const noexcept { return m_exStyle; }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

    // Text and font
    void SetWindowText(const char* text);
    void GetWindowText(CString& text) const;
    CString GetWindowText() const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int id, const char* text);
    int GetDlgItemText(int id, CString& text) const;
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;

    // Geometry: window rectangles in screen coordinates, client rectangles from (0, 0).
    void GetClientRect(RECT* rect) const;
    void GetWindowRect(RECT* rect) const;
    void ClientToScreen(POINT* point) const;
    void ClientToScreen(RECT* rect) const;
    void ScreenToClient(POINT* point) const;
    void ScreenToClient(RECT* rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(const RECT* rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement);
    void CenterWindow(CWnd* alternateOwner = nullptr);
    BOOL IsZoomed() const;
    BOOL IsIconic() const;
    // The window keeps a copy of the region; null removes it.
    int SetWindowRgn(const CRgn* region, BOOL redraw);
    int GetWindowRgn(CRgn& region) const;

    // State
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    // The window of this program that is active, null when none is (defined in WndActive.cpp).
    static CWnd* GetActiveWindow();
    // Raises and activates this window's top level; answers the window active before.
    CWnd* SetActiveWindow();
    CWnd* SetCapture();
    static CWnd* GetCapture();
    void Invalidate(BOOL erase = TRUE);
    // Drawing off while a window is rebuilt; on again repaints it (WndRedraw.cpp).
    void SetRedraw(BOOL redraw = TRUE);
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE);
    void UpdateWindow();
    int GetScrollPos(int bar) const;
    int GetScrollLimit(int bar) const;

    // The window's own scroll bars, made on first use; their requests arrive as WM_HSCROLL and
    // WM_VSCROLL, and the client area leaves them out.
    BOOL SetScrollInfo(int bar, const SCROLLINFO* info, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, SCROLLINFO* info, UINT mask = SIF_ALL) const;
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
    void ShowScrollBar(UINT bar, BOOL show = TRUE);

    // The caret: one per thread, a block drawn over the window that owns it, hidden until shown.
    void CreateSolidCaret(int width, int height);
    void ShowCaret();
    void HideCaret();
    static void SetCaretPos(POINT point);
    static CPoint GetCaretPos();

    // Messages: sent ones run now on the window's thread; posted ones queue from any thread.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, void* unused = nullptr);
    BOOL KillTimer(UINT_PTR id);
    virtual BOOL PreTranslateMessage(MSG* msg);
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);
    // The window's system menu (SystemMenu.h), made on first request; revert restores the default
    // items and answers null.
    CMenu* GetSystemMenu(BOOL revert);

    // Commands: handlers mapped by id; update handlers set the state of buttons and controls.
    virtual BOOL OnCmdMsg(UINT id, int code, CCmdUI* cmdUI);
    virtual bool HasCommandHandler(UINT id) const;
    void UpdateDialogControls(CWnd* target, BOOL disableIfNoHandler);

    // A component's window hosted by class id: this window becomes its site at the rectangle with the
    // id, and the component makes its own child window filling it. FALSE (nothing made) when the class
    // cannot be created or cannot make a window. ControlHost.cpp.
    BOOL CreateControl(const GUID& clsid, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                       UINT id);
    IUnknown* GetControlUnknown() const;
    // Calls the hosted control's dispatch member; arguments in natural order, result may be null.
    std::int32_t InvokeHelper(LONG dispid, WORD flags, VARIANT* result, std::initializer_list<VARIANT> args);

    // Drawing outside WM_PAINT goes to a transparent image laid over the window.
    QImage* GetOverlayImage();
    void UpdateOverlay();

    // The window itself, for code written against window handles.
    HWND m_hWnd = nullptr;

    // Z-order places of SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled (for Qt events: the widget's own handling).
    LRESULT Default();
    virtual void PreSubclassWindow() {}
    virtual void PostNcDestroy() {}
    // The widget that a window of this class name and style stands on.
    virtual QWidget* CreateWidget(const char* className, DWORD style, QWidget* parent);

    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual int OnCreate(CREATESTRUCT* createStruct);
    virtual void OnDestroy();
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(CDC* dc);
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnClose();
    virtual void OnActivate(UINT state, CWnd* other, BOOL minimized);
    virtual void OnGetMinMaxInfo(MINMAXINFO* info);
    virtual BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    virtual void OnMouseMove(UINT flags, CPoint point);
    virtual void OnMouseLeave();
    virtual void OnLButtonDown(UINT flags, CPoint point);
    virtual void OnLButtonUp(UINT flags, CPoint point);
    virtual void OnLButtonDblClk(UINT flags, CPoint point);
    virtual void OnRButtonDown(UINT flags, CPoint point);
    virtual void OnRButtonUp(UINT flags, CPoint point);
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnKeyUp(UINT key, UINT repeat, UINT flags);
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);
    // Which dialog keys the window takes itself (DLGC_ flags), asked with the key before its dialog
    // acts on it; 0: the dialog's default button and Cancel get Return and Escape.
    virtual UINT OnGetDlgCode(UINT key);
    virtual void OnSetFocus(CWnd* oldWnd);
    virtual void OnKillFocus(CWnd* newWnd);
    virtual void OnCancelMode();
    virtual void OnSysCommand(UINT id, LPARAM lParam);
    virtual BOOL OnHelpInfo(HELPINFO* info);

    void MapCommand(UINT id, std::function<void()> handler, WORD notifyCode = 0);
    void MapUpdateCommandUI(UINT id, std::function<void(CCmdUI*)> handler);

private:
    friend class tvsk::ui::WndBridge;
    struct CurrentMessage
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool fromToolkit;
        bool defaultRequested;
    };
    LRESULT OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs a message; answers whether the toolkit should still do its own handling.
    bool DispatchFromToolkit(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool fromToolkit);
    void Attach(QWidget* widget);
    void Detach();
    void ApplyTrackLimits();
    void ApplyStyleToWidget(DWORD oldStyle);
    void EraseBackground(CDC* dc);

    QWidget* m_widget = nullptr;
    std::shared_ptr<tvsk::ui::ControlSite> m_controlSite; // the hosted component, when there is one
    tvsk::ui::WndBridge* m_bridge = nullptr;
    std::unique_ptr<tvsk::ui::PostBox> m_postBox; // lives as long as the object: posting threads lock it
    QWidget* m_overlay = nullptr;
    std::unique_ptr<QImage> m_overlayImage;
    UINT m_id = 0;
    DWORD m_style = 0;
    DWORD m_exStyle = 0;
    CString m_className;
    CString m_text;
    bool m_drawnByToolkit = false; // a control the toolkit paints itself
    CFont* m_font = nullptr;
    std::unique_ptr<CFont> m_ownFont;
    std::vector<CurrentMessage> m_messages;
    std::map<UINT_PTR, int> m_timers; // our id -> toolkit timer id
    std::map<std::pair<UINT, WORD>, std::function<void()>> m_commands;
    std::map<UINT, std::function<void(CCmdUI*)>> m_updateHandlers;
    bool m_trackingLeave = false;
    friend BOOL TrackMouseEvent(TRACKMOUSEEVENT* track);
};

LRESULT SendMessage(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL IsWindow(HWND wnd);
BOOL ReleaseCapture();
BOOL DestroyCaret();
// Whether the window owns the caret and it is showing.
BOOL IsCaretShown(const CWnd* wnd);
BOOL GetCursorPos(POINT* point);
int GetClassName(HWND wnd, char* buffer, int maxCount);

// Deferred positioning: moves collected and done together.
struct DeferredWindowPos;
using HDWP = DeferredWindowPos*;
HDWP BeginDeferWindowPos(int expected);
HDWP DeferWindowPos(HDWP batch, HWND wnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL EndDeferWindowPos(HDWP batch);
