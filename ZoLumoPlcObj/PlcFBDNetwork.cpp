// Network construction, filing of objects and dump.
#include "PlcFBDNetwork.h"

#include "PlcFBDBlocks.h"
#include "PlcFBDDump.h"

#include "PlcObjectError.h"

#include <iterator>

CPlcFBDNetwork::~CPlcFBDNetwork() = default;

void CPlcFBDNetwork::AddNetworkObject(CPlcFBDObject* object)
{
    if (!object)
    {
        PlcObjectError(__LINE__);
        return;
    }
    CPlcFBDObjList* list = nullptr;
    switch (object->m_nType)
    {
    case FBD_FUNCTION_BLOCK:
        list = &m_FunctionBlocks;
        break;
    case FBD_FUNCTION:
        list = &m_Functions;
        break;
    case FBD_VARIABLE:
        list = &m_Variables;
        break;
    case FBD_CONST:
        list = &m_Constants;
        break;
    case FBD_CROSS:
        m_Crosses.AddTail(object);
        return;
    case FBD_CONNECTION:
        m_Connections.AddTail(object);
        return;
    case FBD_OPERATOR:
    case FBD_RETURN:
    case FBD_JUMP:
        list = &m_Operators;
        break;
    case FBD_COMMENT:
    case FBD_LD_POWER_RAIL:
    case FBD_LD_CONTACT:
    case FBD_LD_COIL:
        list = &m_Comments;
        break;
    default:
        PlcObjectError(1512);
        return;
    }
    list->AddTail(object);
    object->m_pParent = this;
}

CPlcFBDExeObject* CPlcFBDNetwork::FindBlock(const CString& id)
{
    for (CPlcFBDObjList* list : {&m_FunctionBlocks, &m_Functions, &m_Operators})
        for (auto* block : PlcObjects<CPlcFBDExeObject>(*list))
            if (block->m_strID == id)
                return block;
    return nullptr;
}

bool CPlcFBDNetwork::Fail(CPlcFBDObject* errorObject, int errorCode)
{
    m_pErrorObject = errorObject;
    errorObject->m_nError = errorCode;
    return false;
}

void CPlcFBDNetwork::DumpLists(const PlcNamedList* lists, int count)
{
    PlcDump::Nested nested;
    for (int i = 0; i < count; ++i)
    {
        PlcDump::Blank();
        PlcDump::Indent();
        PlcDump::Write(lists[i].heading, static_cast<int>(lists[i].list->GetCount()));
        lists[i].list->Dump(true);
    }
}

void CPlcFBDNetwork::Dump(bool full)
{
    if (!DumpHead(full) || !full)
        return;
    const PlcNamedList lists[] = {{"CONNECTION NETWORKS (%d):\n", &m_ConnNets},
                                  {"CONSTANTS (%d):\n", &m_Constants},
                                  {"VARIABLES (%d):\n", &m_Variables},
                                  {"FUNCTIONS (%d):\n", &m_Functions},
                                  {"FUNCTION BLOCKS (%d):\n", &m_FunctionBlocks},
                                  {"OPERATORS (%d):\n", &m_Operators},
                                  {"COMMENTS (%d):\n", &m_Comments}};
    DumpLists(lists, static_cast<int>(std::size(lists)));
}
