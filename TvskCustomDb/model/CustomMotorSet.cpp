// Cell rules of the user's motor records.
#include <TvskCustomDb/model/CustomMotorSet.h>

#include <TvskDb/TvskMotorDb.h>
#include <ZoSupport/ProgramError.h>
#include <framework/LeadingNumber.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
constexpr int kTextColumns = 5;
constexpr size_t kTextField = 13;

bool IsUserId(double value)
{
    return value >= CCustomMotorSet::kFirstId && value <= CCustomMotorSet::kLastId &&
           value == std::trunc(value);
}

bool IsListColumn(int col)
{
    return col == CCustomMotorSet::kBrakeColumn || col == CCustomMotorSet::kEncoderColumn ||
           col == CCustomMotorSet::kAsyncColumn;
}

} // namespace

bool CCustomMotorSet::Load(CTvskMotorDb* db)
{
    m_bLoaded = false;
    m_pDb = db;
    if (!db)
    {
        ProgramError("DbIntf", __LINE__, nullptr);
        return false;
    }
    std::vector<DBMOTORDB> records(static_cast<size_t>(std::max(0L, db->GetRecordsNum(kSet))));
    for (size_t i = 0; i < records.size(); ++i)
    {
        const DBMOTORDB* record = db->GetRecord(static_cast<int>(i), kSet);
        if (!record)
        {
            ProgramError("DbIntf", __LINE__, nullptr);
            return false;
        }
        records[i] = *record;
    }
    m_Records.swap(records);
    m_bModified = false;
    m_bLoaded = true;
    return true;
}

bool CCustomMotorSet::Store()
{
    if (!m_pDb || !m_bLoaded)
    {
        ProgramError("DbIntf", __LINE__, nullptr);
        return false;
    }
    if (FirstRowWithBadId() >= 0)
        return false;
    const long n = GetCount();
    for (long m = m_pDb->GetRecordsNum(kSet); m < n; ++m)
        if (!m_pDb->InsertRecord(kSet))
            return false;
    for (long m = m_pDb->GetRecordsNum(kSet); m > n; --m)
        if (!m_pDb->RemoveRecord(kSet))
            return false;
    for (int i = 0; i < n; ++i)
    {
        DBMOTORDB* target = m_pDb->GetRecord(i, kSet);
        if (!target)
        {
            ProgramError("DbIntf", __LINE__, nullptr);
            return false;
        }
        *target = m_Records[static_cast<size_t>(i)];
    }
    if (!m_pDb->Save(kSet))
        return false;
    m_bModified = false;
    return true;
}

int CCustomMotorSet::FirstRowWithBadId() const
{
    for (int row = 0; row < GetCount(); ++row)
        if (!IsUserId(*Number(row, kIdColumn)))
            return row;
    return -1;
}

CString CCustomMotorSet::StoreError() const
{
    return m_pDb ? m_pDb->GetErrorString() : CString();
}

char* CCustomMotorSet::Text(int row, int col)
{
    DBMOTORDB& r = m_Records[static_cast<size_t>(row)];
    char* fields[kTextColumns] = {r.szType, r.szSize, r.szSpeed, r.szTorque, r.szVoltage};
    return fields[col];
}

const double* CCustomMotorSet::Number(int row, int col) const
{
    const DBMOTORDB& r = m_Records[static_cast<size_t>(row)];
    const double* fields[kColumns] = {nullptr,   nullptr,   nullptr,   nullptr,   nullptr,   &r.dblD0,
                                      &r.dblD1,  &r.dblD2,  &r.dblD3,  &r.dblD4,  &r.dblD5,  &r.dblD6,
                                      &r.dblD7,  &r.dblD8,  &r.dblD9,  &r.dblD10, &r.dblD11, &r.dblD13,
                                      &r.dblD14, &r.dblD15, &r.dblD16, &r.dblD12};
    return fields[col];
}

double* CCustomMotorSet::Number(int row, int col)
{
    return const_cast<double*>(static_cast<const CCustomMotorSet*>(this)->Number(row, col));
}

bool CCustomMotorSet::IsAsync(int row) const
{
    return *Number(row, kAsyncColumn) != 0.0;
}

CString CCustomMotorSet::GetText(int row, int col) const
{
    CString text;
    if (row < 0 || row >= GetCount() || col < 0 || col >= kColumns)
        return text;
    if (col < kTextColumns)
        return const_cast<CCustomMotorSet*>(this)->Text(row, col);
    const double value = *Number(row, col);
    if (col == kIdColumn)
    {
        // The low 16 bits of the truncated value, without converting a value no integer can hold.
        if (!std::isfinite(value))
            return text;
        const double low = std::fmod(std::trunc(value), 65536.0);
        text.Format("%u", static_cast<unsigned>(low < 0 ? low + 65536.0 : low));
    }
    else if (col >= 18 && col <= 20 && *Number(row, kAsyncColumn) != 1.0)
        return text;
    else
        text.Format("%g", value);
    return text;
}

bool CCustomMotorSet::SetText(int row, int col, const char* text, CellRefusal* refusal)
{
    const auto refuse = [refusal](CellRefusal why)
    {
        if (refusal)
            *refusal = why;
        return false;
    };
    if (refusal)
        *refusal = CellRefusal::None;
    if (row < 0 || row >= GetCount() || col < 0 || col >= kColumns || !text)
        return refuse(CellRefusal::Other);
    CString trimmed(text);
    trimmed.TrimLeft();
    trimmed.TrimRight();
    if (col < kTextColumns)
    {
        if (trimmed.Find('^') >= 0)
            return refuse(CellRefusal::Other);
        char* field = Text(row, col);
        if (trimmed == field)
            return true;
        CopyTextCut(field, kTextField, trimmed);
        m_bModified = true;
        return true;
    }
    double value = 0.0;
    if (!tvsk::WholeDouble(trimmed.GetString(), value))
        return refuse(col == kIdColumn ? CellRefusal::IdOutOfRange : CellRefusal::NotANumber);
    if (col == kIdColumn && !IsUserId(value))
        return refuse(CellRefusal::IdOutOfRange);
    double& field = *Number(row, col);
    if (field != value)
    {
        field = value;
        m_bModified = true;
    }
    return true;
}

bool CCustomMotorSet::GetInt(int row, int col, int& value) const
{
    if (row < 0 || row >= GetCount() || !IsListColumn(col))
        return false;
    value = static_cast<int>(*Number(row, col));
    return true;
}

bool CCustomMotorSet::SetInt(int row, int col, int value)
{
    if (row < 0 || row >= GetCount() || !IsListColumn(col))
        return false;
    double& field = *Number(row, col);
    if (field != value)
    {
        field = value;
        m_bModified = true;
    }
    double& poles = *Number(row, kResolverPolesColumn);
    if (col == kAsyncColumn && value != 0 && poles != 2)
    {
        poles = 2;
        m_bModified = true;
    }
    return true;
}

bool CCustomMotorSet::AllowEdit(int row, int col) const
{
    if (row < 0 || row >= GetCount() || col < 0 || col >= kColumns)
        return false;
    return col < 18 || col > 20 || IsAsync(row);
}

void CCustomMotorSet::Append()
{
    DBMOTORDB record{};
    for (int id = kFirstId; id <= kLastId && record.dblD12 == 0; ++id)
        if (std::none_of(m_Records.begin(), m_Records.end(),
                         [id](const DBMOTORDB& other) { return other.dblD12 == id; }))
            record.dblD12 = id;
    m_Records.push_back(record);
    m_bModified = true;
}

bool CCustomMotorSet::Delete(int row)
{
    if (row < 0 || row >= GetCount())
        return false;
    m_Records.erase(m_Records.begin() + row);
    m_bModified = true;
    return true;
}
