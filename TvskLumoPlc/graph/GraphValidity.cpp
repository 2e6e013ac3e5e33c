#include "Connection.h"
#include "CrossConnection.h"
#include "GraphExeBlock.h"
#include "GraphLadder.h"
#include "GraphSmallElements.h"

#include <ZoSupport/Validity.h>

namespace
{
template <class T> bool Is(const CGraphObject* object)
{
    return dynamic_cast<const T*>(object) != nullptr;
}
} // namespace

bool IsValidGraphObject(const CGraphObject* object)
{
    if (!object)
        return false;
    switch (object->GetType())
    {
    case FBD_FUNCTION_BLOCK:
        return Is<CGraphFuncBlock>(object);
    case FBD_FUNCTION:
        return Is<CGraphFunction>(object);
    case FBD_VARIABLE:
        return Is<CGraphVar>(object);
    case FBD_CONST:
        return Is<CGraphConst>(object);
    case FBD_CROSS:
        return Is<CCrossConnection>(object);
    case FBD_CONNECTION:
        return Is<CConnection>(object);
    case FBD_PIN:
        return Is<CGraphPin>(object);
    case FBD_OPERATOR:
        return Is<CGraphOpr>(object);
    case FBD_RETURN:
        return Is<CGraphReturn>(object);
    case FBD_JUMP:
        return Is<CGraphJmp>(object);
    case FBD_LABEL:
        return Is<CGraphBlock>(object);
    case FBD_COMMENT:
        return Is<CGraphComment>(object);
    case FBD_LD_POWER_RAIL:
        return Is<CGraphPwrRail>(object);
    case FBD_LD_CONTACT:
        return Is<CGraphContact>(object);
    case FBD_LD_COIL:
        return Is<CGraphCoil>(object);
    default:
        return false;
    }
}
