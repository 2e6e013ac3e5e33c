// Validity of a network and the check that its objects are connected.
#include "PlcFBDBlocks.h"
#include "PlcFBDConnectionNetwork.h"
#include "PlcFBDElements.h"
#include "PlcFBDNetwork.h"

namespace
{
bool AllValid(const CPlcFBDObjList& objects)
{
    for (auto* object : PlcObjects(objects))
        if (!object->m_bValid)
            return false;
    return true;
}

bool AnyPinConnected(const CPlcFBDExeObject* block)
{
    for (const CPlcFBDObjList* pins : {&block->m_Inputs, &block->m_Outputs})
        for (auto* pin : PlcObjects<CPlcFBDPin>(*pins))
            if (pin->m_pPartner)
                return true;
    return false;
}
} // namespace

void CPlcFBDNetwork::Validate()
{
    for (auto* net : PlcObjects<CPlcFBDConnectionNetwork>(m_ConnNets))
        net->Validate();
    m_bValid =
        AllValid(m_FunctionBlocks) && AllValid(m_Functions) && AllValid(m_Constants) && AllValid(m_Variables);
}

bool CPlcFBDNetwork::CheckBlockPins(CPlcFBDExeObject* block)
{
    // EN and ENO may stay open; every other pin of a function or operator must be wired.
    for (auto* pin : PlcObjects<CPlcFBDPin>(block->m_Inputs))
        if (!pin->m_pPartner && pin->m_strID != "EN")
            block->m_bValid = false;
    for (auto* pin : PlcObjects<CPlcFBDPin>(block->m_Outputs))
        if (!pin->m_pPartner && pin->m_strID != "ENO")
            block->m_bValid = false;
    return block->m_bValid || Fail(block, NETERR_NOT_CONNECTED);
}

bool CPlcFBDNetwork::CheckObjectsConnections()
{
    if (m_FunctionBlocks.GetCount() == 1 && m_Functions.IsEmpty() && m_Operators.IsEmpty() &&
        m_Variables.IsEmpty() && m_Constants.IsEmpty())
        return true;

    for (auto* block : PlcObjects<CPlcFBDExeObject>(m_FunctionBlocks))
        if (!block->m_bValid || !AnyPinConnected(block))
            return Fail(block, NETERR_NOT_CONNECTED);
    for (CPlcFBDObjList* blocks : {&m_Functions, &m_Operators})
        for (auto* block : PlcObjects<CPlcFBDExeObject>(*blocks))
            if (!CheckBlockPins(block))
                return false;
    for (auto* variable : PlcObjects<CPlcFBDVariable>(m_Variables))
        if (!variable->m_Pin.m_pPartner)
        {
            variable->m_bValid = false;
            return Fail(variable, NETERR_NOT_CONNECTED);
        }
    for (auto* constant : PlcObjects<CPlcFBDConst>(m_Constants))
        if (!constant->m_Pin.m_pPartner)
        {
            constant->m_bValid = false;
            return Fail(constant, NETERR_NOT_CONNECTED);
        }
    return true;
}
