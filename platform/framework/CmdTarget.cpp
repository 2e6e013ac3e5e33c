#include "CmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

IDispatch* CCmdTarget::GetIDispatch(BOOL)
{
    return nullptr;
}
