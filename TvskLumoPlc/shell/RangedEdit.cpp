// Up-down stepping and range checks of the editor's number edits.
#include "RangedEdit.h"

#include "PlcIds.h"

#include <ui/MessageBox.h>
#include <ui/SpinButtonCtrl.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

bool ParseWholeNumber(const char* text, int& value)
{
    while (std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    const char* digits = (*text == '-' || *text == '+') ? text + 1 : text;
    if (!std::isdigit(static_cast<unsigned char>(*digits)))
        return false;
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    while (std::isspace(static_cast<unsigned char>(*end)))
        ++end;
    if (*end != '\0' || parsed < INT_MIN || parsed > INT_MAX)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

void CRangedEdit::SetRange(CWnd& dialog) const
{
    if (auto* spin = static_cast<CSpinButtonCtrl*>(dialog.GetDlgItem(static_cast<int>(m_spinId))))
        spin->SetRange32(m_lower, m_upper);
}

void CRangedEdit::Set(CWnd& dialog, int value) const
{
    CString text;
    text.Format("%d", value);
    dialog.SetDlgItemText(static_cast<int>(m_editId), text);
}

bool CRangedEdit::Step(CWnd& dialog, const NMUPDOWN& notify) const
{
    if (notify.hdr.code != UDN_DELTAPOS || notify.hdr.idFrom != m_spinId)
        return false;
    CString text;
    dialog.GetDlgItemText(static_cast<int>(m_editId), text);
    int value = m_lower;
    if (ParseWholeNumber(text, value))
        value += notify.iDelta;
    Set(dialog, std::clamp(value, m_lower, m_upper));
    return true;
}

bool CRangedEdit::Read(CWnd& dialog, int& value) const
{
    CString text;
    dialog.GetDlgItemText(static_cast<int>(m_editId), text);
    int parsed = 0;
    if (ParseWholeNumber(text, parsed) && parsed >= m_lower && parsed <= m_upper)
    {
        value = parsed;
        return true;
    }
    CString message;
    message.Format(PlcString(IDS_PLC_RANGE), m_lower, m_upper);
    AfxShowMessageBox(&dialog, message, nullptr, MB_OK | MB_ICONEXCLAMATION);
    if (CWnd* edit = dialog.GetDlgItem(static_cast<int>(m_editId)))
        edit->SetFocus();
    return false;
}
