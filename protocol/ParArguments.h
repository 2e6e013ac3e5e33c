// The Par arguments turned into a transfer: range and type checks, values in and out of VARIANTs.
#pragma once

#include "ParAccess.h"
#include "SettingsString.h"

#include <com/Variant.h>

// 0, or error 6 (index, bit, or for binary frames a parameter or drive address the frame cannot
// carry) or error 2 (type or width).
int MakeParAccess(LONG ipa, LONG subI, VARTYPE type, const CDriveSettings& settings, ParAccess& access);
// The 32-bit value a put sends, by the VARIANT's own type; reals are truncated toward zero and
// clamped, NaN gives 0.
DWORD ParValueOf(const VARIANT& value);
// Frees what the VARIANT held and gives it the type and the value in its 32-bit field.
void SetParResult(VARIANT& result, VARTYPE type, DWORD value);
