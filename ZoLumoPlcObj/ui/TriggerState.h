// CTriggerState: a status cell showing one row of a state table as text on a coloured field.
#pragma once

#include <ZoLumoPlcObj/TriggerStateRows.h>

#include <ui/Wnd.h>

class CTriggerState : public CWnd
{
public:
    // Style bit: draw the state; clear, the cell is an empty button-face field.
    static constexpr DWORD STYLE_SHOW_STATE = 0x1;

    CTriggerState() = default;
    ~CTriggerState() override;

    // A child of the parent at (0, 0), width pixels wide (-1: 75) and 20 high.
    BOOL Create(DWORD style, CWnd* parent, int width);
    void SetStatusArray(TRIG_STATE* table, int count);
    void SetInfo(int row, DWORD value, bool redraw);
    void Reset() { SetInfo(0, 0, true); }
    void SetPosition(int x, int y);
    void SetStyle(DWORD style);
    DWORD GetStyle() const noexcept { return m_dwStyle; }
    const CTriggerStateRows& GetRows() const noexcept { return m_Rows; }

protected:
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;

private:
    bool ShowsState() const noexcept { return (m_dwStyle & STYLE_SHOW_STATE) != 0; }

    CTriggerStateRows m_Rows;
    DWORD m_dwStyle = 3;
};
