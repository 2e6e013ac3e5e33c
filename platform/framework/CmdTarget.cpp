#include "CmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
