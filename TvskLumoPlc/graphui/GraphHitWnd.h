// The transparent child window over an element: turns mouse input over it into calls on the
// network window, and hosts the constant's in-place editor.
#pragma once

#include <ui/Controls.h>
#include <ui/TransparentWnd.h>

#include <memory>

class CGraphBlock;
class CGraphPin;

// Messages of the in-place editor to its hit window.
constexpr UINT WM_GRAPHEDIT_END = 1536;    // Enter: apply the text
constexpr UINT WM_GRAPHEDIT_CANCEL = 1537; // wParam 1: Escape; 0: the editor lost the focus

// What the network window does with input over an element.
class CGraphHitTarget
{
public:
    virtual ~CGraphHitTarget() = default;
    // Points in the element window's client pixels unless told otherwise.
    virtual void OnElementButtonDown(CGraphBlock* element, int x, int y) = 0;
    virtual void OnElementButtonUp(CPoint screen) = 0;
    virtual void OnElementDblClk(CGraphBlock* element, CPoint point) = 0;
    virtual void OnElementContextMenu(CGraphBlock* element, CPoint screen) = 0;
    // True when the target set the cursor for the pin (null: the body).
    virtual bool OnElementSetCursor(CGraphBlock* element, CGraphPin* pin) = 0;
};

// The in-place editor of a constant: Enter, Escape and the loss of focus go to its hit window.
class CGraphEdit : public CEdit
{
public:
    BOOL Create(const RECT& rect, CWnd* hitWnd);

protected:
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnKillFocus(CWnd* newWnd) override;
};

class CGraphHitWnd : public CTransparentWnd
{
public:
    static constexpr UINT ControlId = 100;

    // Over the element's window rectangle in the network window.
    BOOL Create(CGraphHitTarget* target, CGraphBlock* element, CWnd* network);
    CGraphBlock* GetElement() const noexcept { return m_pElement; }
    CPoint GetLastPoint() const noexcept { return m_ptLast; }
    CGraphPin* GetLastPin() const noexcept { return m_pLastPin; }
    // Follows the element after a move or a rebuild.
    void Place();

    // The constant's editor: opened over its box with the value selected.
    BOOL OpenEditor(CFont* font);
    void CloseEditor();
    CGraphEdit* GetEditor() const noexcept { return m_pEditor.get(); }

protected:
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    // Moves go on to the network window, which follows drags and the wire being drawn.
    void OnMouseMove(UINT flags, CPoint point) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool OnElement(CPoint point) const;
    CGraphPin* PinAt(CPoint point) const;
    void ChooseCursor(CPoint point);
    // The message goes on to the network window with the point in its coordinates.
    void ToParent(UINT message, UINT flags, CPoint point);

    CGraphHitTarget* m_pTarget = nullptr;
    CGraphBlock* m_pElement = nullptr;
    CPoint m_ptLast;
    CGraphPin* m_pLastPin = nullptr;
    std::unique_ptr<CGraphEdit> m_pEditor;
    CWnd* m_pFocusBefore = nullptr;
};
