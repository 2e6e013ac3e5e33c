// A row of command buttons laid out left to right, sending their commands to the parent;
// separators are gaps that can carry a control.
#pragma once

#include "CmdUI.h"
#include "Wnd.h"

#include <QPointer>
#include <QToolButton>

#include <vector>

constexpr UINT ID_SEPARATOR = 0;
// Button styles: the low word is the kind, the high word the state.
constexpr UINT TBBS_BUTTON = 0x0000;
constexpr UINT TBBS_SEPARATOR = 0x0001;
constexpr UINT TBBS_CHECKBOX = 0x0002;
constexpr UINT TBBS_CHECKED = 0x10000;
constexpr UINT TBBS_PRESSED = 0x20000;
constexpr UINT TBBS_DISABLED = 0x40000;
constexpr UINT TBBS_INDETERMINATE = 0x100000;
constexpr DWORD CBRS_TOP = 0x1000;
constexpr DWORD TBSTYLE_FLAT = 0x0800;

// A toolbar layout registered as a "TOOLBAR" resource under the toolbar's id; the button images
// are the bitmap resource of the same id, one image of the button size after another.
struct ToolBarTemplate
{
    int imageWidth;
    int imageHeight;
    const UINT* ids; // ID_SEPARATOR for a separator
    int count;
};

class QImage;

// Registers a toolbar layout under id in the module (null: the program) with its button pictures,
// one image of imageWidth x imageHeight after another; both stay registered while the process runs.
BOOL AfxRegisterToolBar(UINT id, int imageWidth, int imageHeight, const UINT* ids, int count,
                        const QImage& images, HINSTANCE module = nullptr);

class CToolBar : public CWnd
{
public:
    CToolBar();
    ~CToolBar() override;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = 0xE800);
    BOOL CreateEx(CWnd* parent, DWORD controlStyle = TBSTYLE_FLAT,
                  DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect borders = CRect(0, 0, 0, 0),
                  UINT id = 0xE800);
    BOOL LoadToolBar(UINT resourceId);
    BOOL SetButtons(const UINT* ids, int count);
    void SetSizes(SIZE button, SIZE image);

    int GetCount() const { return static_cast<int>(m_buttons.size()); }
    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    void GetItemRect(int index, RECT* rect) const;
    UINT GetButtonStyle(int index) const;
    void SetButtonStyle(int index, UINT style);
    void GetButtonInfo(int index, UINT& id, UINT& style, int& image) const;
    // For a separator the last argument is its width, else the image index.
    void SetButtonInfo(int index, UINT id, UINT style, int imageOrWidth);
    // The width and height the bar needs for its buttons.
    CSize CalcSize() const;
    // A text shown under the button's image; empty: the image alone.
    BOOL SetButtonText(int index, const char* text);
    CString GetButtonText(int index) const;
    // The text shown while the mouse rests on the button.
    BOOL SetButtonToolTip(int index, const char* text);
    CString GetButtonToolTip(int index) const;

    // Runs the update handlers for every button (see CToolCmdUI).
    virtual void OnUpdateCmdUI(CWnd* target, BOOL disableIfNoHandler);

private:
    struct Button
    {
        UINT id;
        UINT style;
        int imageOrWidth;
        QPointer<QToolButton> widget; // gone with the toolbar's window
        CString text;
        CString toolTip;
    };
    void Relayout();
    void SyncButton(int index);
    void DropButtonWidgets();

    std::vector<Button> m_buttons;
    CSize m_buttonSize{23, 22};
    CSize m_imageSize{16, 15};
    CBitmap m_images;
};

// Update state of one toolbar button: enable clears the disabled bit, disable clears pressed
// and sets disabled, check makes a check button with the checked or indeterminate bit.
class CToolCmdUI : public CCmdUI
{
public:
    explicit CToolCmdUI(CToolBar* toolBar) : m_toolBar(toolBar) {}
    void Enable(BOOL on = TRUE) override;
    void SetCheck(int check = 1) override;
    void SetText(const char*) override {}

private:
    CToolBar* m_toolBar;
};
