// Selecting the shown row of a status cell's state table.
#include "TriggerStateRows.h"

#include <ZoSupport/ResourceString.h>

#include <cstring>

void CTriggerStateRows::SetTable(const TRIG_STATE* table, int count) noexcept
{
    m_pTable = table;
    m_nCount = count;
}

bool CTriggerStateRows::Select(int row, DWORD value)
{
    if (!HasTable())
        return false;
    if (row < 0 || row >= m_nCount)
        row = 0;
    const TRIG_STATE& state = m_pTable[row];
    m_crBackground = state.crBackground;
    m_crText = state.crText;
    CString text;
    if (state.nStringId != 0)
        text = GetResourceString(static_cast<UINT>(state.nStringId));
    if (text.IsEmpty())
        // A text that fills its field without a terminating zero is cut at the field's end.
        text = CString(state.szText, static_cast<int>(::strnlen(state.szText, sizeof state.szText)));
    m_strText = text;
    m_dwValue = value;
    return true;
}
