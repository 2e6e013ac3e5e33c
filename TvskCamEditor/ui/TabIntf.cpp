// Grid glue of the cam table.
#include <TvskCamEditor/ui/TabIntf.h>

#include <TvskCamEditor/ui/CamEditorIds.h>

#include <Tarveskon/PluginIntf.h>
#include <TVEditGrid/EditGrid.h>

#include <ui/Clipboard.h>

#include <iterator>

namespace
{
const EN_ELEM kKindRows[] = {{CAM_VAL, "Val", 0},          {CAM_LINEAR, "Linear", 0},
                             {CAM_SQUARE1, "Square 1", 0}, {CAM_SQUARE2, "Square 2", 0},
                             {CAM_SIN, "Sin", 0},          {CAM_COS1, "Cos 1", 0},
                             {CAM_COS2, "Cos 2", 0},       {CAM_CUBIC, "Cubic", 0}};
const COLORREF kKindColours[CAM_KIND_COUNT] = {0xFFFFFF, 0xE0F4E0, 0xBEFFFF, 0xAAC8FF,
                                               0x8C8CFF, 0xFFAABE, 0xFFA0FF, 0x64FF78};
// A value that is no number is refused by the table; the kind is never edited in its cell.
const EG_COLUMN kColumns[] = {{73, 7, 0, 0, EG_EDIT, IDS_CAM_VALUE, "Value"},
                              {90, 0, 0, 1, EG_LIST, IDS_CAM_FUNCTION, "Function"}};
} // namespace

CTabIntf::CTabIntf() : m_Kinds(kKindRows, nullptr, static_cast<int>(std::size(kKindRows)))
{
    m_Table.SetObserver(this);
}

const EG_COLUMN* CTabIntf::Columns()
{
    return kColumns;
}

bool CTabIntf::Copy() const
{
    return SetClipboardText(m_Table.GetCopyText()) != FALSE;
}

bool CTabIntf::Paste()
{
    CString text;
    if (!GetClipboardText(text))
        return false;
    m_Table.PasteText(text);
    OnGridChanged();
    OnGraphChanged();
    return true;
}

const CEnum* CTabIntf::GetEnum(int col, int /*row*/)
{
    return col == 1 ? &m_Kinds : nullptr;
}

int CTabIntf::GetMarginS(int row, CString& text)
{
    text.Format("%d%c", row, ' ');
    return 1;
}

int CTabIntf::SetElemS(int row, int col, const char* text, int /*flags*/)
{
    return col == 0 && m_Table.SetValueText(row, text) ? 1 : 0;
}

int CTabIntf::GetElemI(int row, int col, int& value)
{
    if (col != 1 || row < 0 || row >= m_Table.GetCount())
        return 0;
    value = m_Table.GetPointAt(row).nKind;
    return 1;
}

int CTabIntf::GetElemS(int row, int col, CString& text)
{
    if (col != 0 || row < 0 || row >= m_Table.GetCount())
        return 0;
    text = m_Table.GetValueText(row);
    return 1;
}

int CTabIntf::AllowEdit(int row, int col)
{
    return col == 0 && m_Table.AllowEdit(row) ? 1 : 0;
}

int CTabIntf::GetRecordNum()
{
    return m_Table.GetCount();
}

int CTabIntf::GetHeaderS(int headerStringId, CString& text)
{
    CPluginIntf* host = m_Table.GetHost();
    if (host && host->GetString(static_cast<UINT>(headerStringId), text) && !text.IsEmpty())
        return 1;
    text = CamEditorString(static_cast<UINT>(headerStringId));
    return text.IsEmpty() ? 0 : 1;
}

int CTabIntf::GetBckGrndColor(int row, int /*col*/, COLORREF& colour)
{
    if (row < 0 || row >= m_Table.GetCount())
        return 0;
    const int kind = m_Table.GetPointAt(row).nKind;
    colour = kKindColours[kind >= 0 && kind < CAM_KIND_COUNT ? kind : 0];
    return 1;
}

void CTabIntf::ClickElem(int row, int col)
{
    if (m_pGrid && AllowEdit(row, col))
        m_pGrid->EditMode(1, 0);
}

void CTabIntf::OnGraphChanged()
{
    if (m_pGraph && m_pGraph->GetSafeHwnd())
        m_pGraph->Invalidate(FALSE);
}

void CTabIntf::OnGridChanged()
{
    if (m_pGrid && m_pGrid->GetSafeHwnd())
        m_pGrid->Invalidate(FALSE);
}

void CTabIntf::OnCamChanged()
{
    if (m_pListener)
        m_pListener->OnCamChanged();
}
