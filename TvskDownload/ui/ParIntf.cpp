// Grid glue of the parameter list and the monitor.
#include <TvskDownload/ui/ParIntf.h>

#include <TvskDownload/ui/DownloadIds.h>

#include <Tarveskon/PluginCall.h>
#include <Tarveskon/PluginIntf.h>
#include <ZoSupport/ProgramError.h>

#include <TVEditGrid/EditGrid.h>
#include <framework/LeadingNumber.h>
#include <ui/DataSource.h>
#include <ui/MessageBox.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace
{
constexpr int kFormatColumn = 3;

const EG_COLUMN kParColumns[] = {{80, 2, 1, 0, EG_EDIT, IDS_DL_PAR, "Par"},
                                 {350, 100, 0, 0, EG_EDIT, IDS_DL_DESCR, "Description"},
                                 {100, 35, 0, 0, EG_EDIT, IDS_DL_VALUE, "Value"},
                                 {60, 0, 0, 0, EG_LIST, IDS_DL_FORMAT, "Format"}};
const EG_COLUMN kMonitorColumns[] = {{80, 2, 1, 0, EG_EDIT, IDS_DL_MON_PAR, "Par"},
                                     {350, 100, 0, 0, EG_EDIT, IDS_DL_MON_DESCR, "Description"},
                                     {100, 35, 0, 0, EG_EDIT, IDS_DL_MON_VALUE, "Value"},
                                     {60, 0, 0, 0, EG_LIST, IDS_DL_FORMAT, "Format"}};
const EN_ELEM kFormatRows[] = {{PARFMT_DECIMAL, "Int", 0}, {PARFMT_HEX, "Hex", 0}, {PARFMT_BINARY, "Bin", 0}};

int FieldOfColumn(int col)
{
    return col == 0 ? FIELD_NAME : col == 1 ? FIELD_DESCR : FIELD_VALUE;
}
} // namespace

const EG_COLUMN* CParListIntf::Columns(bool monitor)
{
    return monitor ? kMonitorColumns : kParColumns;
}

const CEnum& CParListIntf::Formats()
{
    static const CEnum formats(kFormatRows, nullptr, static_cast<int>(std::size(kFormatRows)));
    return formats;
}

bool CParListIntf::HostCheck(const char* source, int line) const
{
    if (m_pHost)
        return true;
    ProgramError(source, line, nullptr);
    return false;
}

CString CParListIntf::Field(int row, int field) const
{
    CString text;
    GetField(row, field, text);
    return text;
}

PAR_SCALING CParListIntf::Scaling(int row) const
{
    PAR_SCALING scaling;
    scaling.nBits = tvsk::LeadingInt(Field(row, FIELD_BITS).GetString());
    scaling.dScale = tvsk::LeadingDouble(Field(row, FIELD_SCALE).GetString());
    scaling.dOffset = tvsk::LeadingDouble(Field(row, FIELD_OFFSET).GetString());
    scaling.nFormat = tvsk::LeadingInt(Field(row, FIELD_FORMAT).GetString());
    return scaling;
}

const CEnum* CParListIntf::GetEnum(int col, int /*row*/)
{
    return col == kFormatColumn ? &Formats() : nullptr;
}

int CParListIntf::GetElemS(int row, int col, CString& text)
{
    if (!m_pHost || col < 0 || col >= kFormatColumn)
        return 0;
    if (col == 1)
    {
        const CString name = Field(row, FIELD_NAME);
        if (!m_pHost->GetParDescr(name, text, false))
            text = Field(row, FIELD_DESCR);
        return 1;
    }
    text = Field(row, FieldOfColumn(col));
    if (col == 2 && ShowFormat())
        text = CParValueFormat::Display(text, Scaling(row));
    return 1;
}

int CParListIntf::GetElemI(int row, int col, int& value)
{
    if (!m_pHost || col != kFormatColumn)
        return 0;
    value = tvsk::LeadingInt(Field(row, FIELD_FORMAT).GetString());
    return 1;
}

int CParListIntf::SetElemI(int row, int col, int value, int /*flags*/)
{
    if (!m_pHost || col != kFormatColumn)
        return 0;
    int current = 0;
    GetElemI(row, col, current);
    if (current == value)
        return 1;
    CString text;
    text.Format("%d", value);
    if (PutField(row, FIELD_FORMAT, text) != HOSTRES_OK)
        return 0;
    if (m_pGrid && m_pGrid->GetSafeHwnd())
        m_pGrid->Update(row, 2);
    return 1;
}

int CParListIntf::GetMarginS(int row, CString& text)
{
    text.Format("%d", row + 1);
    return 1;
}

int CParListIntf::GetHeaderS(int headerStringId, CString& text)
{
    text = DownloadString(m_pHost, static_cast<UINT>(headerStringId));
    return text.IsEmpty() ? 0 : 1;
}

void CParListIntf::ClickElem(int row, int col)
{
    if (m_onSelect)
        m_onSelect(this);
    if (m_pGrid && col != 0)
    {
        m_pGrid->Move(row, col);
        m_pGrid->EditMode(1, 0);
    }
}

CParIntf::CParIntf() : m_nFormat(RegisterClipboardFormat("ClpPar")) {}

CParIntf::~CParIntf() = default;

BOOL CParIntf::GetField(int row, int field, CString& text) const
{
    return m_pHost ? m_pHost->GetParField(row, field, text) : FALSE;
}

HOSTRES CParIntf::PutField(int row, int field, const char* text)
{
    return m_pHost ? m_pHost->SetParField(row, field, text) : HOSTRES_NOFILE;
}

int CParIntf::GetRecordNum()
{
    return m_pHost ? m_pHost->GetParNum() : 0;
}

int CParIntf::SetElemS(int row, int col, const char* text, int /*flags*/)
{
    if (!HostCheck("ParIntf", __LINE__) || col < 0 || col >= kFormatColumn)
        return 0;
    CString value = text ? text : "";
    if (col == 2 && ShowFormat() && !CParValueFormat::Entry(text, Scaling(row), value))
        return 0;
    if (PutField(row, FieldOfColumn(col), value) == HOSTRES_OK)
        return 1;
    CString error;
    if (m_pHost->GetLastErrorText(error) && !error.IsEmpty())
        AfxMessageBox(error, MB_OK | MB_ICONSTOP);
    return 0;
}

int CParIntf::AllowEdit(int row, int col)
{
    if (!m_pHost || !m_pHost->IsExclusiveMode())
        return 0;
    if (col == kFormatColumn)
        return ShowFormat() ? 1 : 0;
    return col >= 0 && col < kFormatColumn && m_pHost->IsParFieldEditable(row, FieldOfColumn(col)) ? 1 : 0;
}

COleDataSource* CParIntf::GetDataSource(int row, int /*col*/)
{
    if (!m_pHost || row < 0 || row >= m_pHost->GetParNum())
        return nullptr;
    m_pDrag = std::make_unique<COleDataSource>();
    const int32_t index = row;
    m_pDrag->CacheData(m_nFormat, &index, sizeof(index));
    return m_pDrag.get();
}

void CParIntf::ReleaseDataSource()
{
    m_pDrag.reset();
}

void CParIntf::ColClick(int col)
{
    if (col != 0 || !HostCheck("ParIntf", __LINE__))
        return;
    m_pHost->SendCommand(HOSTCMD_SORTPARS, 0, 0);
    if (m_pGrid && m_pGrid->GetSafeHwnd())
        m_pGrid->Invalidate(FALSE);
}

CMonitorIntf::CMonitorIntf() : m_nFormat(RegisterClipboardFormat("ClpPar")) {}

BOOL CMonitorIntf::GetField(int row, int field, CString& text) const
{
    return m_pHost ? m_pHost->GetMonitorParField(row, field, text) : FALSE;
}

HOSTRES CMonitorIntf::PutField(int row, int field, const char* text)
{
    return m_pHost ? m_pHost->SetMonitorParField(row, field, text) : HOSTRES_NOFILE;
}

int CMonitorIntf::GetRecordNum()
{
    return m_pHost ? m_pHost->GetMonitorParNum() : 0;
}

int CMonitorIntf::SetElemS(int row, int col, const char* text, int /*flags*/)
{
    if (!HostCheck("MonitorIntf", __LINE__) || col < 0 || col >= kFormatColumn)
        return 0;
    return PutField(row, FieldOfColumn(col), text) == HOSTRES_OK ? 1 : 0;
}

int CMonitorIntf::AllowEdit(int /*row*/, int col)
{
    return col == kFormatColumn ? 1 : 0;
}

BOOL CMonitorIntf::OnDrop(COleDataObject* data, DWORD /*dropEffect*/, CPoint /*point*/)
{
    CByteArray bytes;
    if (!data || !data->GetData(m_nFormat, bytes) || bytes.GetSize() != sizeof(int32_t))
        return FALSE;
    int32_t index = 0;
    std::memcpy(&index, bytes.GetData(), sizeof(index));
    if (m_onDrop)
        m_onDrop(index);
    return TRUE;
}
