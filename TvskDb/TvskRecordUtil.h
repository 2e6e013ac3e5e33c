// Small record helpers shared by the databases (internal).
#pragma once

#include <TvskDb/TvskDataRecords.h>
#include <TvskDb/TvskDbRecords.h>
#include <TvskDb/TvskParDbRecords.h>

#include <framework/Array.h>
#include <framework/CString.h>
#include <framework/Map.h>

#include <cstddef>
#include <cstring>

// Ends the text within the array, cutting it on a character boundary when it fills the array.
template <size_t N> void TerminateText(char (&text)[N]) noexcept
{
    text[Utf8CutLength(text, N - 1)] = '\0';
}

inline void TerminateTexts(DBDRIVEDB& rec) noexcept
{
    TerminateText(rec.szDriveDef);
    TerminateText(rec.szImgPath);
    TerminateText(rec.szDriveWithMotor);
}

inline void TerminateTexts(DBMOTORDB& rec) noexcept
{
    TerminateText(rec.szMotorDef);
    TerminateText(rec.szType);
    TerminateText(rec.szSize);
    TerminateText(rec.szSpeed);
    TerminateText(rec.szTorque);
    TerminateText(rec.szVoltage);
}

inline void TerminateTexts(DBMOTORENC& rec) noexcept
{
    TerminateText(rec.szCodVrn);
    TerminateText(rec.stE0);
    TerminateText(rec.stE1);
    TerminateText(rec.stE2);
    TerminateText(rec.stE3);
    TerminateText(rec.stE4);
    TerminateText(rec.stE5);
    TerminateText(rec.stE6);
    TerminateText(rec.stE7);
    TerminateText(rec.stE8);
}

inline void TerminateTexts(DBPLC& rec) noexcept
{
    TerminateText(rec.szIstr);
}

inline void TerminateTexts(DBPAR& rec) noexcept
{
    TerminateText(rec.szID);
    TerminateText(rec.szRW);
    TerminateText(rec.szUm);
    TerminateText(rec.szDescr);
}

inline void TerminateTexts(DBSESSVAR& rec) noexcept
{
    TerminateText(rec.szVarName);
    TerminateText(rec.szValue);
}

// The values D16 to D19 travel from the record chosen before to the one chosen now.
template <class Record> void CopyCarriedValues(const Record& from, Record& to) noexcept
{
    to.dblD16 = from.dblD16;
    to.dblD17 = from.dblD17;
    to.dblD18 = from.dblD18;
    to.dblD19 = from.dblD19;
}

// The record of the definition, which takes the carried values of the record chosen before;
// null when the definition has none.
template <class Record>
Record* SelectByDefinition(const CMapStringToPtr& definitions, const char* definition, Record* current)
{
    void* found = nullptr;
    if (!definitions.Lookup(definition, found))
        return nullptr;
    Record* next = static_cast<Record*>(found);
    if (current)
        CopyCarriedValues(*current, *next);
    return next;
}

// The parts of a definition split at "^", a run of "^" counting as one separator; parts beyond
// the definition's stay empty.
template <size_t N> void SplitDefinitionRuns(const CString& definition, CString (&parts)[N])
{
    int start = 0;
    for (CString& part : parts)
        part = start >= 0 ? definition.Tokenize("^", start) : CString();
}

// Gives the variable of var's name the value of var, cut to its field; false when there is none.
inline bool UpdateSessionVar(CArray<DBSESSVAR>& vars, const DBSESSVAR& var)
{
    for (DBSESSVAR& existing : vars)
    {
        if (std::strcmp(existing.szVarName, var.szVarName) != 0)
            continue;
        CopyTextCut(existing.szValue, var.szValue);
        return true;
    }
    return false;
}

// The cam point (index, cam), null when there is none.
inline DBCAMMA* FindCamPoint(CArray<DBCAMMA>& points, long index, int cam)
{
    for (DBCAMMA& point : points)
        if (point.nIdx == index && point.nCamNo == cam)
            return &point;
    return nullptr;
}

// Sets value and interpolation of the cam point (index, cam): 1 when it existed, 0 when it was
// appended. The framework's memory exception passes to the caller.
inline int SetCamPoint(CArray<DBCAMMA>& points, long index, double value, int interp, int cam)
{
    if (DBCAMMA* point = FindCamPoint(points, index, cam))
    {
        point->dblVal = value;
        point->interp = interp;
        return 1;
    }
    points.Add(DBCAMMA{static_cast<int>(index), value, interp, cam});
    return 0;
}
