// VARIANT: a tagged value of the automation types, with the platform's copy, clear and conversion rules.
#pragma once

#include "Bstr.h"

struct IDispatch;
struct SAFEARRAY;

using VARTYPE = USHORT;
using VARIANT_BOOL = SHORT;
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

enum : VARTYPE
{
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0x0FFF,
};

// Currency: a count of ten-thousandths.
struct CY
{
    LONGLONG int64;
};
// Days since 30 December 1899; the fraction is the time of day.
using DATE = double;

struct VARIANT
{
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union
    {
        LONGLONG llVal;
        LONG lVal;
        BYTE bVal;
        SHORT iVal;
        FLOAT fltVal;
        DOUBLE dblVal;
        CY cyVal;
        DATE date;
        VARIANT_BOOL boolVal;
        SCODE scode;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        SAFEARRAY* parray;
        CHAR cVal;
        USHORT uiVal;
        ULONG ulVal;
        ULONGLONG ullVal;
        INT intVal;
        UINT uintVal;
        BYTE* pbVal;
        SHORT* piVal;
        LONG* plVal;
        LONGLONG* pllVal;
        FLOAT* pfltVal;
        DOUBLE* pdblVal;
        CY* pcyVal;
        DATE* pdate;
        VARIANT_BOOL* pboolVal;
        SCODE* pscode;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        IDispatch** ppdispVal;
        SAFEARRAY** pparray;
        VARIANT* pvarVal;
        PVOID byref;
        CHAR* pcVal;
        USHORT* puiVal;
        ULONG* pulVal;
        ULONGLONG* pullVal;
        INT* pintVal;
        UINT* puintVal;
    };
};
using VARIANTARG = VARIANT;

// VariantChangeType flags.
constexpr USHORT VARIANT_NOVALUEPROP = 0x01;
constexpr USHORT VARIANT_ALPHABOOL = 0x02;

void VariantInit(VARIANT* v);
// Frees what the variant owns (string, interface reference, array) and leaves it VT_EMPTY.
HRESULT VariantClear(VARIANT* v);
// A deep copy: strings and arrays are duplicated, interfaces gain a reference; references stay references.
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// As VariantCopy, but a reference is replaced by a copy of what it points to.
HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src);
// Converts src (read through a reference) to type vt; dest may be src. On failure dest is unchanged.
// Numbers are read and written in the C locale; out-of-range values give DISP_E_OVERFLOW, values that
// cannot be read as the type DISP_E_TYPEMISMATCH. Reals round to the nearest integer, halves to even.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt);

namespace tvsk::com
{
// Scalars and strings for code that builds arguments and results.
VARIANT MakeVariantI4(LONG value);
VARIANT MakeVariantR8(double value);
VARIANT MakeVariantBool(bool value);
// The variant owns a new BSTR of the text.
VARIANT MakeVariantBstr(std::string_view utf8);
} // namespace tvsk::com
