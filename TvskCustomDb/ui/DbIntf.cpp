// Grid glue of the user's motor records.
#include <TvskCustomDb/ui/DbIntf.h>

#include <TvskCustomDb/ui/CustomDbIds.h>

#include <Tarveskon/PluginIntf.h>
#include <ZoSupport/ProgramError.h>

#include <TVEditGrid/EditGrid.h>
#include <ui/DataSource.h>
#include <ui/MessageBox.h>

#include <cstdint>

namespace
{
const EG_COLUMN kColumns[CCustomMotorSet::kColumns] = {
    {60, 6, 0, 0, EG_EDIT, 8000, "Type"},       {60, 10, 0, 0, EG_EDIT, 8001, "Size"},
    {60, 10, 0, 0, EG_EDIT, 8002, "rpm"},       {60, 10, 0, 0, EG_EDIT, 8003, "Torque"},
    {60, 10, 0, 0, EG_EDIT, 8004, "Volt"},      {50, 10, 0, 0, EG_EDIT, 8005, "Poles"},
    {50, 10, 0, 0, EG_EDIT, 8006, "In"},        {50, 10, 0, 0, EG_EDIT, 8007, "Ip"},
    {50, 10, 0, 0, EG_EDIT, 8008, "Rff"},       {50, 10, 0, 0, EG_EDIT, 8009, "Lff"},
    {50, 10, 0, 0, EG_EDIT, 8010, "Kt"},        {70, 10, 0, 0, EG_LIST, 8011, "Brake"},
    {70, 10, 0, 0, EG_LIST, 8012, "Encoder"},   {70, 10, 0, 0, EG_EDIT, 8013, "Res.poles"},
    {70, 10, 0, 0, EG_EDIT, 8014, "Res.phase"}, {70, 10, 0, 0, EG_EDIT, 8015, "Impg"},
    {70, 10, 0, 0, EG_EDIT, 8016, "VMax"},      {70, 10, 0, 0, EG_LIST, 8021, "Asynchro"},
    {70, 10, 0, 0, EG_EDIT, 8022, "Cos(phi)"},  {70, 10, 0, 0, EG_EDIT, 8023, "Slide Spd"},
    {70, 10, 0, 0, EG_EDIT, 8024, "Basic Spd"}, {60, 5, 0, 0, EG_EDIT, 8025, "ID"}};
} // namespace

CDbIntf::CDbIntf(CPluginIntf* host) : m_pHost(host), m_nFormat(RegisterClipboardFormat("ClpMotorDb"))
{
    m_YesNo.Add(1, HostOrOwnString(IDS_MOTORDB_YES));
    m_YesNo.Add(0, HostOrOwnString(IDS_MOTORDB_NO));
    m_Encoders.Add(1, "Encoder");
    m_Encoders.Add(0, "Resolver");
}

CDbIntf::~CDbIntf() = default;

const EG_COLUMN* CDbIntf::Columns()
{
    return kColumns;
}

CString CDbIntf::HostOrOwnString(UINT id) const
{
    CString text;
    if (m_pHost && m_pHost->GetString(id, text) && !text.IsEmpty())
        return text;
    return CustomDbString(id);
}

bool CDbIntf::Load()
{
    if (!m_pHost)
    {
        ProgramError("DbIntf", __LINE__, nullptr);
        return false;
    }
    return m_Set.Load(m_pHost->GetMotorDb());
}

COleDataSource* CDbIntf::GetDataSource(int row, int /*col*/)
{
    if (row < 0 || row >= m_Set.GetCount())
        return nullptr;
    m_pDrag = std::make_unique<COleDataSource>();
    const int32_t index = row;
    m_pDrag->CacheData(m_nFormat, &index, sizeof(index));
    return m_pDrag.get();
}

void CDbIntf::ReleaseDataSource()
{
    m_pDrag.reset();
}

const CEnum* CDbIntf::GetEnum(int col, int /*row*/)
{
    if (col == CCustomMotorSet::kEncoderColumn)
        return &m_Encoders;
    if (col == CCustomMotorSet::kBrakeColumn || col == CCustomMotorSet::kAsyncColumn)
        return &m_YesNo;
    return nullptr;
}

int CDbIntf::SetElemS(int row, int col, const char* text, int /*flags*/)
{
    CellRefusal refusal = CellRefusal::None;
    if (m_Set.SetText(row, col, text, &refusal))
        return 1;
    // A refused entry is said, so that the cell's unchanged value is never taken for the typed one.
    CString word;
    if (refusal == CellRefusal::NotANumber)
    {
        CString typed(text ? text : "");
        typed.Trim();
        word.Format(HostOrOwnString(IDS_MOTORDB_NOT_A_NUMBER).GetString(), typed.GetString());
    }
    else if (refusal == CellRefusal::IdOutOfRange)
        word = HostOrOwnString(IDS_MOTORDB_ID_RANGE);
    if (!word.IsEmpty())
        AfxShowMessageBox(m_pGrid ? m_pGrid->GetParent() : nullptr, word,
                          HostOrOwnString(IDS_MOTORDB_CAPTION), MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

int CDbIntf::SetElemI(int row, int col, int value, int /*flags*/)
{
    if (!m_Set.SetInt(row, col, value))
        return 0;
    if (col == CCustomMotorSet::kAsyncColumn && m_pGrid && m_pGrid->GetSafeHwnd())
        m_pGrid->Invalidate(FALSE);
    return 1;
}

int CDbIntf::GetElemI(int row, int col, int& value)
{
    return m_Set.GetInt(row, col, value) ? 1 : 0;
}

int CDbIntf::GetElemS(int row, int col, CString& text)
{
    if (row < 0 || row >= m_Set.GetCount())
        return 0;
    text = m_Set.GetText(row, col);
    return 1;
}

int CDbIntf::AllowEdit(int row, int col)
{
    return m_Set.AllowEdit(row, col) ? 1 : 0;
}

int CDbIntf::GetRecordNum()
{
    return m_Set.GetCount();
}

int CDbIntf::GetHeaderS(int headerStringId, CString& text)
{
    text = HostOrOwnString(static_cast<UINT>(headerStringId));
    return text.IsEmpty() ? 0 : 1;
}

// Edit mode first: the move then opens the clicked cell's editor at once.
void CDbIntf::ClickElem(int row, int col)
{
    if (!m_pGrid)
        return;
    m_pGrid->EditMode(1, 0);
    m_pGrid->Move(row, col);
}
