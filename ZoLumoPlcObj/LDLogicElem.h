// One element of a ladder network: contact, output, box, node or parallel join.
#pragma once

#include <framework/Array.h>
#include <framework/CString.h>

enum LDElemType
{
    LDELEM_CONTACT = 0,
    LDELEM_OUTPUT = 1,
    LDELEM_BOX = 2,
    LDELEM_NODE = 3,
    LDELEM_JOIN = 4
};

// Members are read and written directly by the ladder editor; their order is part of the interface.
class CLDLogicElem
{
public:
    CLDLogicElem() = default;
    explicit CLDLogicElem(int id) : m_nID(id) { m_Operands.Add(CString()); }

    CLDLogicElem* GetParent(INT_PTR i) const { return static_cast<CLDLogicElem*>(m_Parents[i]); }
    CLDLogicElem* GetChild(INT_PTR i) const { return static_cast<CLDLogicElem*>(m_Children[i]); }
    INT_PTR GetParentCount() const noexcept { return m_Parents.GetSize(); }
    INT_PTR GetChildCount() const noexcept { return m_Children.GetSize(); }
    CLDLogicElem* GetFirstParent() const { return m_Parents.IsEmpty() ? nullptr : GetParent(0); }
    CLDLogicElem* GetFirstChild() const { return m_Children.IsEmpty() ? nullptr : GetChild(0); }
    CLDLogicElem* GetLastParent() const
    {
        return m_Parents.IsEmpty() ? nullptr : GetParent(m_Parents.GetSize() - 1);
    }
    INT_PTR FindParent(const CLDLogicElem* e) const;
    INT_PTR FindChild(const CLDLogicElem* e) const;

    // A box whose text holds "FIN" (FIN P40.3 or NFIN P150.1).
    bool IsFINBox() const { return m_nType == LDELEM_BOX && m_strText.Find("FIN") >= 0; }

    CPtrArray m_Parents;  // CLDLogicElem*
    CUIntArray m_InWires; // per parent: the wire that comes from it
    int m_nType = LDELEM_CONTACT;
    int m_nID = -1; // unique in the network; -1 until placed
    bool m_bNegated = false;
    CString m_strText; // output or box mnemonic; "FIN P40.3" for FIN boxes
    int m_nOperands = 1;
    CStringArray m_Operands; // "n.m", "Pn" or "?"
    CString m_strOutText;    // third operand of a box
    int m_nRow = 0;          // branch row, 0 on the main rung
    int m_nX = -1;
    int m_nY = -1;
    CUIntArray m_OutWires; // per child: the wire that leaves towards it
    CPtrArray m_Children;  // CLDLogicElem*
    CString m_strComment;
};

inline INT_PTR CLDLogicElem::FindParent(const CLDLogicElem* e) const
{
    for (INT_PTR i = 0; i < m_Parents.GetSize(); ++i)
        if (m_Parents[i] == e)
            return i;
    return -1;
}

inline INT_PTR CLDLogicElem::FindChild(const CLDLogicElem* e) const
{
    for (INT_PTR i = 0; i < m_Children.GetSize(); ++i)
        if (m_Children[i] == e)
            return i;
    return -1;
}
