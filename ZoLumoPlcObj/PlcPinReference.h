// Pin references of the form "object.pin" (library-internal).
#pragma once

#include "PlcFBDObjList.h"
#include "PlcFBDObject.h"

// Splits a reference at its first point; false when there is none.
inline bool SplitPinReference(const CString& reference, CString& object, CString& pin)
{
    const int point = reference.Find('.');
    if (point < 0)
        return false;
    object = reference.Left(point);
    pin = reference.Mid(point + 1);
    return true;
}

inline CPlcFBDPin* FindPinByID(const CPlcFBDObjList& pins, const CString& id)
{
    for (auto* pin : PlcObjects<CPlcFBDPin>(pins))
        if (pin->m_strID == id)
            return pin;
    return nullptr;
}
