// Names and the comment edited in the graphic LD network, taken back into the ladder elements.
#include "LDLogicDoc.h"
#include "PlcFBDBlocks.h"
#include "PlcFBDConnectionNetwork.h"
#include "PlcFBDElements.h"
#include "PlcLDElements.h"
#include "PlcLDNetwork.h"

#include <ZoSupport/ZoSupport.h>

#include <optional>
#include <vector>

namespace
{
// What one element takes back; applied only once every element has found its object.
struct ElementNames
{
    CLDLogicElem* element;
    std::vector<CString> operands;
    CString outText;
    CString text;
};

CString Name(int number)
{
    CString name;
    name.Format("%d", number);
    return name;
}

// Connections stay in the network until its connection networks are built, then live in those.
CPlcFBDConnection* FindConnection(const CPlcLDNetwork& network, const CString& id)
{
    for (auto* connection : PlcObjects<CPlcFBDConnection>(network.m_Connections))
        if (connection->m_strID == id)
            return connection;
    for (auto* net : PlcObjects<CPlcFBDConnectionNetwork>(network.m_ConnNets))
        for (auto* connection : PlcObjects<CPlcFBDConnection>(net->m_Connections))
            if (connection->m_strID == id)
                return connection;
    return nullptr;
}

// The variable wired to a pin of the function; null when there is none.
const CPlcFBDVariable* VariableAt(CPlcLDNetwork& network, const CPlcFBDFunction& function, const char* pinID)
{
    const CPlcFBDPin* pin = function.FindPin(pinID);
    if (!pin || pin->m_nConnectedType != FBD_CONNECTION)
        return nullptr;
    const CPlcFBDConnection* connection = FindConnection(network, pin->m_strConnectedID);
    if (!connection)
        return nullptr;
    for (const CPlcFBDPin* end : {&connection->m_StartPin, &connection->m_EndPin})
        if (end->m_nConnectedType == FBD_VARIABLE)
            return static_cast<const CPlcFBDVariable*>(network.m_Variables.FindEl(end->m_strConnectedID));
    return nullptr;
}

std::optional<ElementNames> NamesOf(CPlcLDNetwork& network, CLDLogicElem* e)
{
    ElementNames names{e, {}, e->m_strOutText, e->m_strText};
    for (INT_PTR i = 0; i < e->m_Operands.GetSize(); ++i)
        names.operands.push_back(e->m_Operands[i]);
    const CString id = Name(e->m_nID);
    switch (e->m_nType)
    {
    case LDELEM_CONTACT:
    case LDELEM_OUTPUT:
    {
        if (e->m_Operands.GetSize() > 1)
            return std::nullopt;
        const CPlcFBDObject* object =
            (e->m_nType == LDELEM_CONTACT ? network.m_Contacts : network.m_Coils).FindEl(id);
        if (!object)
            return std::nullopt;
        names.operands = {e->m_nType == LDELEM_CONTACT
                              ? static_cast<const CPlcLDContact*>(object)->m_strVarName
                              : static_cast<const CPlcLDCoil*>(object)->m_strVarName};
        return names;
    }
    case LDELEM_BOX:
    {
        const auto* function = static_cast<const CPlcFBDFunction*>(network.m_Functions.FindEl(id));
        if (!function)
            return std::nullopt;
        if (e->IsFINBox())
        {
            names.text = function->m_strBlockName;
            return names;
        }
        if (e->m_Operands.GetSize() != 2)
            return std::nullopt;
        const CPlcFBDVariable* first = VariableAt(network, *function, "0");
        const CPlcFBDVariable* second = VariableAt(network, *function, "1");
        const CPlcFBDVariable* result = VariableAt(network, *function, "2");
        if (!first || !second || !result)
            return std::nullopt;
        names.operands = {first->m_strVarName, second->m_strVarName};
        names.outText = result->m_strVarName;
        return names;
    }
    default:
        return names; // nodes and joins carry no names
    }
}

const CPlcFBDComment* FirstComment(const CPlcLDNetwork& network)
{
    for (auto* object : PlcObjects(network.m_Comments))
        if (object->m_nType == FBD_COMMENT)
            return static_cast<const CPlcFBDComment*>(object);
    return nullptr;
}
} // namespace

bool CLDLogicNet::UpdateReferences()
{
    // A net never drawn has nothing edited to take back.
    if (!m_pLDNetwork)
        return true;

    std::vector<ElementNames> updates;
    for (CLDLogicElem* e : GetElements())
    {
        std::optional<ElementNames> names = NamesOf(*m_pLDNetwork, e);
        if (!names)
        {
            ProgramError(__FILE__, __LINE__, nullptr);
            return false;
        }
        updates.push_back(*names);
    }

    if (const CPlcFBDComment* comment = FirstComment(*m_pLDNetwork))
    {
        CLDLogicElem* target = m_nCommentElem != -1 ? FindElement(m_nCommentElem) : nullptr;
        if (!target)
            target = CommentPlace();
        if (target)
        {
            target->m_strComment = comment->m_strComment;
            m_nCommentElem = target->m_nID;
        }
    }
    else
        DeleteComment();

    for (ElementNames& names : updates)
    {
        CLDLogicElem* e = names.element;
        e->m_Operands.RemoveAll();
        for (const CString& operand : names.operands)
            e->m_Operands.Add(operand);
        e->m_strOutText = names.outText;
        e->m_strText = names.text;
    }
    return true;
}

bool CLDLogicDoc::UpdateReferences()
{
    bool all = true;
    for (CLDLogicNet* net : GetNets())
        if (!net->UpdateReferences())
            all = false;
    return all;
}
