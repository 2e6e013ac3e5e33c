// Small record helpers shared by the databases (internal).
#pragma once

#include <TvskDb/TvskDbRecords.h>

#include <framework/CString.h>

#include <cstddef>

// Ends the text within the array, cutting it on a character boundary when it fills the array.
template <size_t N>
void TerminateText(char (&text)[N]) noexcept
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

inline void TerminateTexts(DBPLC& rec) noexcept { TerminateText(rec.szIstr); }

inline void TerminateTexts(DBSESSVAR& rec) noexcept
{
    TerminateText(rec.szVarName);
    TerminateText(rec.szValue);
}

// The values D16 to D19 travel from the record chosen before to the one chosen now.
template <class Record>
void CopyCarriedValues(const Record& from, Record& to) noexcept
{
    to.dblD16 = from.dblD16;
    to.dblD17 = from.dblD17;
    to.dblD18 = from.dblD18;
    to.dblD19 = from.dblD19;
}
