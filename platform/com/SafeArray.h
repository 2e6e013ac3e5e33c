// SAFEARRAY: a multi-dimensional array of one automation type with bounds and locked data access.
#pragma once

#include "Variant.h"

struct SAFEARRAYBOUND
{
    ULONG cElements;
    LONG lLbound;
};

// rgsabound holds cDims bounds, in the order they were given to SafeArrayCreate.
struct SAFEARRAY
{
    USHORT cDims;
    USHORT fFeatures;
    ULONG cbElements;
    ULONG cLocks;
    PVOID pvData;
    VARTYPE vt;
    SAFEARRAYBOUND rgsabound[1];
};

// Element types: the integer and real scalars, VT_BOOL, VT_ERROR, VT_BSTR, VT_VARIANT, VT_UNKNOWN,
// VT_DISPATCH.
SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds);
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements);
// Frees the elements (strings, references, variants) and the array; DISP_E_ARRAYISLOCKED while locked.
HRESULT SafeArrayDestroy(SAFEARRAY* array);
HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** copy);

UINT SafeArrayGetDim(SAFEARRAY* array);
UINT SafeArrayGetElemsize(SAFEARRAY* array);
HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt);
// dim counts from 1; DISP_E_BADINDEX outside 1..dims.
HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound);
HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound);

HRESULT SafeArrayLock(SAFEARRAY* array);
// E_UNEXPECTED when the array is not locked.
HRESULT SafeArrayUnlock(SAFEARRAY* array);
// Locks the array and hands out its data; SafeArrayUnaccessData unlocks it.
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);

// indices has one entry per dimension, in the order of the bounds; DISP_E_BADINDEX when outside.
// Elements are copied in and out (strings duplicated, references added).
HRESULT SafeArrayGetElement(SAFEARRAY* array, const LONG* indices, void* value);
HRESULT SafeArrayPutElement(SAFEARRAY* array, const LONG* indices, const void* value);
