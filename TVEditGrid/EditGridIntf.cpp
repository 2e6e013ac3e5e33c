#include "EditGridDataIntf.h"
#include "EditGridViewIntf.h"

COleDataSource* CEditGridDataIntf::GetDataSource(int, int)
{
    return nullptr;
}
EG_TYC CEditGridDataIntf::GetColType(int, int)
{
    return EG_EDIT;
}
const CEnum* CEditGridDataIntf::GetEnum(int, int)
{
    return nullptr;
}

int CEditGridDataIntf::GetMarginS(int row, CString& text)
{
    text.Format("%d", row + 1);
    return 1;
}

int CEditGridDataIntf::SetElemS(int, int, const char*, int)
{
    return 0;
}
int CEditGridDataIntf::SetElemI(int, int, int, int)
{
    return 0;
}
int CEditGridDataIntf::GetElemI(int, int, int&)
{
    return 0;
}
int CEditGridDataIntf::GetElemS(int, int, CString&)
{
    return 0;
}
int CEditGridDataIntf::AllowEdit(int, int)
{
    return 1;
}
int CEditGridDataIntf::GetRecordNum()
{
    return 0;
}
int CEditGridDataIntf::GetHeaderS(int, CString&)
{
    return 0;
}
CEditGridDataIntf::~CEditGridDataIntf() = default;

void CEditGridDataIntf::EnableMultiSelection()
{
    m_selections.SetGrowBy(200);
    m_selections.SetSorted(true);
    m_selections.SetUnique(true);
}

void CEditGridDataIntf::AddRowSelection(int row)
{
    m_selections.Push(row);
}

bool CEditGridDataIntf::RemoveRowSelection(int& position)
{
    if (position == -1)
        return m_selections.Pop(position);
    return m_selections.RemoveAt(position);
}

void CEditGridDataIntf::RemoveAllSelections()
{
    m_selections.RemoveAll();
}

bool CEditGridDataIntf::isNoGapRowSel() const
{
    for (int i = 1; i < m_selections.GetCount(); ++i)
        if (m_selections[i] > m_selections[i - 1] + 1)
            return false;
    return true;
}

int CEditGridViewIntf::GetBckGrndColor(int, int, COLORREF&)
{
    return 0;
}
int CEditGridViewIntf::GetTextColor(int, int, COLORREF&)
{
    return 0;
}
int CEditGridViewIntf::KeyControl(int, int)
{
    return 0;
}
void CEditGridViewIntf::ChangeCell(int, int) {}
void CEditGridViewIntf::ChangeRow(int) {}
void CEditGridViewIntf::ChangeCol(int) {}
void CEditGridViewIntf::ClickElem(int, int) {}
void CEditGridViewIntf::ClickUpElem(int, int) {}
void CEditGridViewIntf::ColClick(int) {}
void CEditGridViewIntf::EndColTrack(int) {}
bool CEditGridViewIntf::OptionClick(int, int)
{
    return false;
}
void CEditGridViewIntf::DblClickElem(int, int) {}
void CEditGridViewIntf::PopUpMenu(int, int, CPoint) {}
void CEditGridViewIntf::PreEditCell(int, int) {}
void CEditGridViewIntf::PostEditCell(int, int) {}
CEditGridViewIntf::~CEditGridViewIntf() = default;
