// Builders and a readable dump of ladder networks for the tests.
#pragma once

#include <ZoLumoPlcObj/LDLogicDoc.h>

#include <map>
#include <string>

namespace ldtest
{

inline CLDLogicElem* Elem(int type, const char* operand, bool negated = false, const char* text = "")
{
    auto* e = new CLDLogicElem(-1);
    e->m_nType = type;
    e->m_Operands[0] = operand;
    e->m_bNegated = negated;
    e->m_strText = text;
    return e;
}
inline CLDLogicElem* Contact(const char* operand, bool negated = false)
{
    return Elem(LDELEM_CONTACT, operand, negated);
}
inline CLDLogicElem* Output(const char* operand, const char* text = "")
{
    return Elem(LDELEM_OUTPUT, operand, false, text);
}

// Elements in walk order; references by position in that order, so IDs do not matter.
inline std::string Dump(const CLDLogicNet& net, bool withIds = false)
{
    static const char* const kinds = "COBNJ";
    const auto elements = net.GetElements();
    std::map<const CLDLogicElem*, size_t> index;
    for (size_t i = 0; i < elements.size(); ++i)
        index[elements[i]] = i;
    std::string out;
    for (const CLDLogicElem* e : elements)
    {
        out += kinds[e->m_nType];
        if (e->m_bNegated)
            out += '!';
        if (withIds)
            out += "#" + std::to_string(e->m_nID);
        if (!e->m_strText.IsEmpty())
            out += "'" + e->m_strText.str() + "'";
        if (e->m_nType <= LDELEM_BOX)
        {
            out += "(";
            for (INT_PTR i = 0; i < e->m_Operands.GetSize(); ++i)
                out += (i ? "," : "") + e->m_Operands[i].str();
            if (!e->m_strOutText.IsEmpty())
                out += "->" + e->m_strOutText.str();
            out += ")";
        }
        if (!e->m_strComment.IsEmpty())
            out += "{" + e->m_strComment.str() + "}";
        out += "r" + std::to_string(e->m_nRow);
        if (e->GetChildCount())
        {
            out += ">";
            for (INT_PTR i = 0; i < e->GetChildCount(); ++i)
                out += (i ? "," : "") + std::to_string(index[e->GetChild(i)]);
        }
        if (e->GetParentCount() > 1)
        {
            out += "<";
            for (INT_PTR i = 0; i < e->GetParentCount(); ++i)
                out += (i ? "," : "") + std::to_string(index[e->GetParent(i)]);
        }
        out += " ";
    }
    if (net.GetNetTail())
        out += "tail=" + std::to_string(index[net.GetNetTail()]);
    return out;
}

inline std::string Dump(const CLDLogicDoc& doc, bool withIds = false)
{
    std::string out;
    for (int i = 1; i <= doc.GetCount(); ++i)
    {
        if (withIds)
            out += "net#" + std::to_string(doc.GetNet(i)->GetID()) + ": ";
        out += Dump(*doc.GetNet(i), withIds) + "\n";
    }
    return out;
}

} // namespace ldtest
