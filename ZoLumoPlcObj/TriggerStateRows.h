// The state table of a status cell and the row it shows, apart from any drawing.
#pragma once

#include <framework/CString.h>
#include <framework/WinTypes.h>

// One row of the caller's state table.
struct TRIG_STATE
{
    char szText[20];       // NUL-terminated; at most 19 characters
    COLORREF crBackground; // colour of the cell's field
    COLORREF crText;
    int nStringId; // string resource of the text; 0: use szText
};

class CTriggerStateRows
{
public:
    // Keeps the pointer: the caller owns the table and keeps it alive while it is shown.
    void SetTable(const TRIG_STATE* table, int count) noexcept;
    // Takes the colours and text of the row (row 0 when out of range) and stores the value.
    // Without a table nothing changes and the answer is false.
    bool Select(int row, DWORD value);

    bool HasTable() const noexcept { return m_pTable && m_nCount > 0; }
    const TRIG_STATE* GetTable() const noexcept { return m_pTable; }
    int GetCount() const noexcept { return m_nCount; }
    COLORREF GetBackground() const noexcept { return m_crBackground; }
    COLORREF GetTextColour() const noexcept { return m_crText; }
    const CString& GetText() const noexcept { return m_strText; }
    DWORD GetValue() const noexcept { return m_dwValue; }

private:
    COLORREF m_crBackground = 0;
    COLORREF m_crText = 0;
    CString m_strText;
    DWORD m_dwValue = 0; // stored for the owner, not used by the cell
    const TRIG_STATE* m_pTable = nullptr;
    int m_nCount = 0;
};
