// The base of objects that take part in command routing: documents, text buffers, views, and
// automation objects that pages and scripts reach through their dispatch interface.
#pragma once

#include "Object.h"

struct IDispatch;

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)

public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // The object's dispatch interface, with a reference for the caller when addRef is TRUE;
    // null for an object that is not automated.
    virtual IDispatch* GetIDispatch(BOOL addRef);
};
