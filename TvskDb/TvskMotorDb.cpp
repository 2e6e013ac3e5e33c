// The motors and encoders catalogue and the choice of a motor.
#include "TvskMotorDb.h"

#include "TvskFieldTables.h"
#include "TvskFileRecords.h"
#include "TvskRecordUtil.h"
#include "TvskTable.h"

#include <TvskDb/TvskConvert.h>
#include <ZoSupport/ZoSupport.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <set>
#include <string>

namespace
{

const MEMODB_REC kVersionFields[] = {TVSK_FIELD_AS("szMotorVer", MDB_STRING, DBVERSION, szVer)};
const MEMODB_REC kImageFields[] = {TVSK_FIELD_STR(DBIMAGE, szType), TVSK_FIELD_STR(DBIMAGE, szPath)};

constexpr int kMotorParts = 5;

char* MotorPart(DBMOTORDB& motor, int i)
{
    char* const parts[kMotorParts] = {motor.szType, motor.szSize, motor.szSpeed, motor.szTorque,
                                      motor.szVoltage};
    return parts[i];
}

// Fills the five parts from the definition; false (parts untouched) when it has fewer than five.
bool SplitDefinition(DBMOTORDB& motor)
{
    CTokString parts(motor.szMotorDef, "^", 0);
    if (parts.NumToks() < kMotorParts)
        return false;
    for (int i = 0; i < kMotorParts; ++i)
        CopyTextCut(MotorPart(motor, i), 13, parts[i]);
    return true;
}

} // namespace

class CMotorFileDb : public CTvskTextDb
{
public:
    CRecDef<DBVERSION> m_version;
    CRecDef<DBMOTORDB> m_motors;
    CRecDef<DBMOTORENC> m_encoders;
    CRecDef<DBIMAGE> m_images;

protected:
    void Init() override
    {
        UseDatabaseSyntax();
        Register(m_version, kVersionFields, "VER", ";\n;\tVersione\n;\n");
        Register(m_motors, g_MotorDbFields, "M", ";\n;\tDati motori\n;\n", 1);
        Register(m_encoders, g_MotorEncFields, "E", ";\n;\tEncoder\n;\n", 2);
        Register(m_images, kImageFields, "IMG", ";\n;\tImmagini motori\n;\n");
    }
};

// The user's own motors: the file is edited by hand too, so its last row needs no line end.
class CCustomMotorFileDb : public CMotorFileDb
{
protected:
    void Init() override
    {
        CMotorFileDb::Init();
        AcceptLastRowWithoutLineEnd();
    }
};

CTvskMotorDb::CTvskMotorDb()
{
    ResetAll();
}

CTvskMotorDb::~CTvskMotorDb()
{
    Close();
}

CMotorFileDb* CTvskMotorDb::Set(int set) const
{
    return set >= 0 && set < 3 ? m_sets[set].get() : nullptr;
}

bool CTvskMotorDb::IsOpen() const
{
    return m_bOpen && m_sets[0];
}

int CTvskMotorDb::Load(const char* standardPath, const char* customPath)
{
    Close();
    m_strStandardPath = standardPath;
    m_strCustomPath = customPath;
    m_strError.Empty();
    m_sets[0].reset(new (std::nothrow) CMotorFileDb);
    const int result = m_sets[0] ? LoadNewTextDb<CMotorFileDb>(m_sets[1], standardPath, *this) : 1;
    if (result == 1)
        ProgramError(__FILE__, __LINE__, nullptr);
    if (result != 0)
    {
        ResetAll();
        return result;
    }
    // A missing, unreadable or empty user file is no error: there is just no set 2.
    if (!IsEmptyFile(customPath) && LoadNewTextDb<CCustomMotorFileDb>(m_sets[2], customPath, *this) == 2)
    {
        ResetAll();
        return 2;
    }
    Merge();
    m_bOpen = 1;
    return 0;
}

bool CTvskMotorDb::Close()
{
    ResetAll();
    return true;
}

void CTvskMotorDb::ResetAll()
{
    m_definitions.RemoveAll();
    m_cascade.Reset();
    for (int i = 0; i < kParts; ++i)
    {
        m_parts[i].Empty();
        m_savedParts[i].Empty();
    }
    m_strEncoderCode.Empty();
    m_strView.Empty();
    m_strParString.Empty();
    m_pCurrRecord = nullptr;
    m_pCurrEncoder = nullptr;
    m_bEncoder = false;
    for (auto& set : m_sets)
        set.reset();
    m_bOpen = 0;
}

void CTvskMotorDb::Merge()
{
    CMotorFileDb& merged = *m_sets[0];
    CMotorFileDb& standard = *m_sets[1];
    for (DBMOTORDB& motor : Records(standard.m_motors))
        if (SplitDefinition(motor))
            Append(merged.m_motors, motor);
    if (const DBVERSION* version = At(standard.m_version, 0))
        Append(merged.m_version, *version);
    CString customPicture;
    for (const DBIMAGE& image : Records(standard.m_images))
    {
        if (CString(image.szType).CompareNoCase("CUSTOM") == 0)
            customPicture = image.szPath;
        else
            Append(merged.m_images, image);
    }
    for (const DBMOTORENC& encoder : Records(standard.m_encoders))
        Append(merged.m_encoders, encoder);
    if (m_sets[2])
        MergeCustom(customPicture);

    long index = 0;
    for (DBMOTORDB& motor : Records(merged.m_motors))
    {
        m_definitions[motor.szMotorDef] = &motor;
        m_cascade.UpdateValues(motor.szType, motor.szSize, motor.szSpeed, motor.szTorque, motor.szVoltage);
        if (index++ == 0)
        {
            for (int i = 0; i < kParts; ++i)
                m_parts[i] = MotorPart(motor, i);
            Choose();
        }
    }
}

void CTvskMotorDb::MergeCustom(const CString& customPicture)
{
    CMotorFileDb& merged = *m_sets[0];
    std::set<std::string> typesWithPicture;
    for (DBMOTORDB& motor : Records(m_sets[2]->m_motors))
    {
        if (!SplitDefinition(motor))
            continue;
        Append(merged.m_motors, motor);
        const CString type = CTokString(motor.szMotorDef, "^", 0)[0];
        if (customPicture.IsEmpty() || !typesWithPicture.insert(type.str()).second)
            continue;
        DBIMAGE image{};
        CopyTextCut(image.szType, type);
        CopyTextCut(image.szPath, customPicture);
        Append(merged.m_images, image);
    }
}

CString CTvskMotorDb::GetVersion()
{
    const DBVERSION* version = IsOpen() ? At(m_sets[0]->m_version, 0) : nullptr;
    return version ? CString(version->szVer) : CString("n/a");
}

long CTvskMotorDb::GetRecordsNum(int set)
{
    CMotorFileDb* db = Set(set);
    return db ? Count(db->m_motors) : 0;
}

DBMOTORDB* CTvskMotorDb::GetRecord(int i, int set)
{
    CMotorFileDb* db = Set(set);
    return db ? At(db->m_motors, i) : nullptr;
}

int CTvskMotorDb::GetEncNumRecs()
{
    if (!m_sets[1])
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return 0;
    }
    return static_cast<int>(Count(m_sets[1]->m_encoders));
}

DBMOTORENC* CTvskMotorDb::GetEncRecord(int i)
{
    if (!m_sets[1])
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return nullptr;
    }
    return At(m_sets[1]->m_encoders, i);
}

void CTvskMotorDb::CreateParString()
{
    m_strParString.Format("%s^%s^%s^%s^%s", m_parts[0].GetString(), m_parts[1].GetString(),
                          m_parts[2].GetString(), m_parts[3].GetString(), m_parts[4].GetString());
}

void CTvskMotorDb::CreateViewString()
{
    m_strView = m_parts[0];
    if (m_pCurrRecord && m_pCurrRecord->dblD16 != 0)
        m_strView += "A";
    for (int i = 1; i < 4; ++i)
        if (!m_parts[i].IsEmpty())
            m_strView += "_" + m_parts[i];
    if (!m_parts[4].IsEmpty())
        m_strView += "..." + m_parts[4];
    if (m_bEncoder)
    {
        const char* code = m_pCurrEncoder ? m_pCurrEncoder->szCodVrn : "";
        m_strView += *code ? "\t" + CString(code) : CString("\t-");
    }
}

void CTvskMotorDb::SelectCurrRecord()
{
    m_pCurrRecord = SelectByDefinition(m_definitions, m_strParString, m_pCurrRecord);
    if (m_pCurrRecord)
        m_bEncoder = m_pCurrRecord->dblD7 != 0;
}

// The view string shows the record's marks, so it follows the selection.
void CTvskMotorDb::Choose()
{
    CreateParString();
    SelectCurrRecord();
    CreateViewString();
}

// Sets nothing itself: chooses, and when no record matches, takes the parts below the changed
// one from the cascade and chooses again.
void CTvskMotorDb::ChooseFrom(int changed)
{
    Choose();
    if (m_pCurrRecord)
        return;
    CString* p = m_parts;
    switch (changed)
    {
    case 0:
        m_cascade.GetValuesFromType(p[0], p[1], p[2], p[3], p[4]);
        break;
    case 1:
        m_cascade.GetValuesFromSize(p[0], p[1], p[2], p[3], p[4]);
        break;
    case 2:
        m_cascade.GetValuesFromVel(p[0], p[1], p[2], p[3], p[4]);
        break;
    case 3:
        m_cascade.GetValuesFromTorque(p[0], p[1], p[2], p[3], p[4]);
        break;
    default:
        return;
    }
    Choose();
}

void CTvskMotorDb::SetCurrType(const char* type)
{
    m_parts[0] = type;
    ChooseFrom(0);
}

void CTvskMotorDb::SetCurrSize(const char* size)
{
    m_parts[1] = size;
    ChooseFrom(1);
}

void CTvskMotorDb::SetCurrVel(const char* speed)
{
    m_parts[2] = speed;
    ChooseFrom(2);
}

void CTvskMotorDb::SetCurrTorque(const char* torque)
{
    m_parts[3] = torque;
    ChooseFrom(3);
}

void CTvskMotorDb::SetCurrVoltage(const char* voltage)
{
    m_parts[4] = voltage;
    Choose();
}

void CTvskMotorDb::SetCurrMotorData(bool restore, bool clear)
{
    for (int i = 0; i < kParts; ++i)
    {
        if (clear)
        {
            m_parts[i].Empty();
            m_savedParts[i].Empty();
        }
        else if (restore)
            m_parts[i] = m_savedParts[i];
        else
            m_savedParts[i] = m_parts[i];
    }
    Choose();
}

bool CTvskMotorDb::SelectCurrRecordFromType(long code)
{
    DBMOTORDB* found = nullptr;
    if (IsOpen())
    {
        for (DBMOTORDB& motor : Records(m_sets[0]->m_motors))
        {
            if (TvskDoubleToInt(motor.dblD12) == code)
            {
                found = &motor;
                break;
            }
        }
    }
    if (!found)
    {
        m_pCurrRecord = nullptr;
        return false;
    }
    for (CString& part : m_parts)
        part.Empty();
    CString parts[kParts];
    SplitDefinitionRuns(found->szMotorDef, parts);
    SetCurrType(parts[0]);
    SetCurrSize(parts[1]);
    SetCurrVel(parts[2]);
    SetCurrTorque(parts[3]);
    SetCurrVoltage(parts[4]);
    if (m_pCurrRecord)
    {
        CopyCarriedValues(*m_pCurrRecord, *found);
        found->dblD17 = m_pCurrRecord->dblD7;
    }
    m_pCurrRecord = found;
    return true;
}

void CTvskMotorDb::SetCurrEncoder(const char* code)
{
    m_strEncoderCode = code;
    SelectCurrRecordEnc();
}

void CTvskMotorDb::SelectCurrRecordEnc()
{
    m_pCurrEncoder = nullptr;
    if (!m_sets[1])
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return;
    }
    for (DBMOTORENC& encoder : Records(m_sets[1]->m_encoders))
    {
        if (m_strEncoderCode == encoder.szCodVrn)
        {
            m_pCurrEncoder = &encoder;
            return;
        }
    }
}

bool CTvskMotorDb::SelectCurrEncRecordFromType(long code, bool enable)
{
    m_pCurrEncoder = nullptr;
    if (!enable || !IsOpen())
        return false;
    for (DBMOTORENC& encoder : Records(m_sets[0]->m_encoders))
    {
        if (std::atoi(encoder.stE1) == code)
        {
            m_pCurrEncoder = &encoder;
            CreateViewString();
            return true;
        }
    }
    return false;
}

CMapStringToPtr* CTvskMotorDb::LevelMap(int depth)
{
    CMotorStringToPtr* map = &m_cascade;
    for (int i = 0; i < depth && map; ++i)
        map = map->Below(m_parts[i]);
    return map;
}

CString CTvskMotorDb::GetMotorImage(const char* type)
{
    if (!IsOpen() || !type)
        return "";
    for (const DBIMAGE& image : Records(m_sets[0]->m_images))
        if (std::strcmp(image.szType, type) == 0)
            return image.szPath;
    return "";
}

CString CTvskMotorDb::GetCurrEncodValue(int i) const
{
    return m_pCurrEncoder && i >= 0 && i <= 8 ? GetEncoderRecVal(m_pCurrEncoder, i) : CString();
}

bool CTvskMotorDb::InsertRecord(int set)
{
    if (set == 1 || set == 2)
    {
        if (!m_sets[set])
            m_sets[set].reset(new (std::nothrow) CMotorFileDb);
        if (!m_sets[set])
        {
            ProgramError(__FILE__, __LINE__, nullptr);
            return false;
        }
    }
    else if (set != 0 || !m_sets[0])
    {
        return false;
    }
    const long current = CurrentMergedIndex();
    try
    {
        Append(m_sets[set]->m_motors, DBMOTORDB{});
    }
    catch (CMemoryException* e)
    {
        e->Delete();
        return false;
    }
    if (set == 0)
        RepointMerged(current);
    return true;
}

bool CTvskMotorDb::RemoveRecord(int set)
{
    CMotorFileDb* db = Set(set);
    if (!db || Count(db->m_motors) == 0)
        return false;
    const long current = CurrentMergedIndex();
    CArray<DBMOTORDB>& motors = Records(db->m_motors);
    motors.RemoveAt(motors.GetSize() - 1);
    if (set == 0)
        RepointMerged(current);
    return true;
}

long CTvskMotorDb::CurrentMergedIndex() const
{
    return m_pCurrRecord ? static_cast<long>(m_pCurrRecord - Records(m_sets[0]->m_motors).GetData()) : -1;
}

// Records of set 0 moved or went away: the definition map and the current record follow.
void CTvskMotorDb::RepointMerged(long current)
{
    m_definitions.RemoveAll();
    if (!m_sets[0])
        return;
    for (DBMOTORDB& motor : Records(m_sets[0]->m_motors))
        if (motor.szMotorDef[0])
            m_definitions[motor.szMotorDef] = &motor;
    m_pCurrRecord = At(m_sets[0]->m_motors, current);
}

bool CTvskMotorDb::Save(int set)
{
    if (set != 1 && set != 2)
        return false;
    CMotorFileDb* db = Set(set);
    if (!db)
        return false;
    for (DBMOTORDB& motor : Records(db->m_motors))
    {
        CString definition;
        definition.Format("%s^%s^%s^%s^%s", motor.szType, motor.szSize, motor.szSpeed, motor.szTorque,
                          motor.szVoltage);
        CopyTextCut(motor.szMotorDef, definition);
    }
    // The engine writes beside the file and renames, so a failed store keeps the old file.
    const CString path = set == 1 ? m_strStandardPath : m_strCustomPath;
    if (path.IsEmpty() || db->Store(path) != 1)
    {
        m_strError = path.IsEmpty() ? CString("no file to save to") : db->StoreError();
        return false;
    }
    const CString standardPath = m_strStandardPath;
    const CString customPath = m_strCustomPath;
    return Load(standardPath, customPath) == 0;
}
