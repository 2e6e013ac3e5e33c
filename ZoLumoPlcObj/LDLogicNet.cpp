// Editing operations of a ladder network.
#include <ZoLumoPlcObj/LDGraph.h>
#include <ZoLumoPlcObj/LDLogicNet.h>

#include <ZoSupport/ZoSupport.h>

#include <algorithm>
#include <unordered_set>

using namespace LDGraph;

namespace
{

bool SourceError(int line)
{
    ProgramError("LDLogicDoc", line, nullptr);
    return false;
}

} // namespace

std::vector<CLDLogicElem*> CLDLogicNet::GetElements() const
{
    std::vector<CLDLogicElem*> result;
    std::vector<CLDLogicElem*> stack;
    if (m_pHead)
        stack.push_back(m_pHead);
    while (!stack.empty())
    {
        CLDLogicElem* e = stack.back();
        stack.pop_back();
        result.push_back(e);
        for (INT_PTR i = e->GetChildCount() - 1; i >= 0; --i)
        {
            CLDLogicElem* child = e->GetChild(i);
            if (child->GetFirstParent() == e)
                stack.push_back(child);
        }
    }
    return result;
}

void CLDLogicNet::Erase()
{
    for (CLDLogicElem* e : GetElements())
        delete e;
    m_pHead = m_pTail = m_pSelected = nullptr;
    m_nRows = 0;
    m_nCommentElem = -1;
}

CLDLogicElem* CLDLogicNet::FindElement(int id) const
{
    for (CLDLogicElem* e : GetElements())
        if (e->m_nID == id)
            return e;
    return nullptr;
}

CLDLogicElem* CLDLogicNet::SelectElement(int id)
{
    CLDLogicElem* e = FindElement(id);
    if (e)
        m_pSelected = e;
    return e;
}

int CLDLogicNet::GetMaxID() const
{
    int maxId = -1;
    for (const CLDLogicElem* e : GetElements())
        maxId = std::max(maxId, e->m_nID);
    return maxId;
}

bool CLDLogicNet::HasFIN() const
{
    if (!m_pHead)
        return false;
    if (m_pHead->IsFINBox())
        return true;
    return m_pHead->m_nType == LDELEM_NODE && m_pHead->GetFirstChild() &&
           m_pHead->GetFirstChild()->IsFINBox();
}

bool CLDLogicNet::HasOnlyFIN() const
{
    return m_pHead && m_pHead->IsFINBox() && m_pHead == m_pTail;
}

bool CLDLogicNet::PrepareNewElement(CLDLogicElem* e)
{
    if (!e || !IsPlaceable(e))
        return SourceError(__LINE__);
    e->m_Parents.RemoveAll();
    e->m_Children.RemoveAll();
    e->m_InWires.RemoveAll();
    e->m_OutWires.RemoveAll();
    m_nMaxID = GetMaxID();
    e->m_nID = m_nMaxID + 1;
    return true;
}

CLDLogicElem* CLDLogicNet::MakeStructElement(int type, int id, int row)
{
    auto* e = new CLDLogicElem(id);
    e->m_nType = type;
    e->m_nRow = row;
    return e;
}

bool CLDLogicNet::IsBranchElement(const CLDLogicElem* e) const
{
    return m_pHead && m_pHead->m_nType == LDELEM_NODE && e->GetParentCount() == 1 &&
           e->GetParent(0) == m_pHead && m_pHead->GetFirstChild() != e;
}

bool CLDLogicNet::IsHeadBranchJoin(const CLDLogicElem* join) const
{
    return join->m_nType == LDELEM_JOIN && join->GetParentCount() >= 2 && m_pHead &&
           m_pHead->m_nType == LDELEM_NODE && join->GetParent(1)->GetFirstParent() == m_pHead;
}

// On the rung that code generation walks: no node but the head between e and the head.
bool CLDLogicNet::IsOnMainPath(const CLDLogicElem* e) const
{
    for (const CLDLogicElem* p = e->GetFirstParent(); p; p = p->GetFirstParent())
        if (p->m_nType == LDELEM_NODE && p != m_pHead)
            return false;
    return true;
}

// The node in front of e: its parent when that is a node, else a new one put between them.
CLDLogicElem* CLDLogicNet::NodeBefore(CLDLogicElem* e, int id)
{
    CLDLogicElem* parent = e->GetFirstParent();
    if (parent->m_nType == LDELEM_NODE)
        return parent;
    CLDLogicElem* node = MakeStructElement(LDELEM_NODE, id, e->m_nRow);
    InsertBetween(parent, e, node);
    return node;
}

// e follows the tail on its row and becomes the tail.
void CLDLogicNet::AppendAfterTail(CLDLogicElem* e)
{
    PrepareNewElement(e);
    Link(m_pTail, e);
    e->m_nRow = m_pTail->m_nRow;
    m_pTail = e;
}

bool CLDLogicNet::AddCascade(CLDLogicElem* e)
{
    if (!e || !IsPlaceable(e))
        return SourceError(__LINE__);
    if (!m_pHead)
    {
        PrepareNewElement(e);
        e->m_nRow = 0;
        m_pHead = m_pTail = e;
        return true;
    }
    CLDLogicElem* sel = m_pSelected;
    if (!sel)
        return SourceError(__LINE__);
    if (sel == m_pTail)
    {
        if (sel->GetChildCount() != 0)
            return SourceError(__LINE__);
        AppendAfterTail(e);
        return true;
    }
    CLDLogicElem* child = sel->GetFirstChild();
    if (!child)
        return SourceError(__LINE__);
    PrepareNewElement(e);
    if (child->m_nType == LDELEM_JOIN && IsBranchElement(sel))
    {
        // In series with the whole parallel block.
        e->m_nRow = child->m_nRow;
        if (CLDLogicElem* next = child->GetFirstChild())
        {
            InsertBetween(child, next, e);
        }
        else
        {
            Link(child, e);
            if (m_pTail == child)
                m_pTail = e;
        }
        return true;
    }
    e->m_nRow = sel->m_nRow;
    InsertBetween(sel, child, e);
    return true;
}

bool CLDLogicNet::AddParallel(CLDLogicElem* e)
{
    if (!e || !IsPlaceable(e) || !m_pHead)
        return SourceError(__LINE__);
    CLDLogicElem* sel = m_pSelected;
    // A branch closing anywhere but on the generated rung would be lost when the code is made.
    if (!sel || (sel->m_nType != LDELEM_CONTACT && sel->m_nType != LDELEM_BOX) || !IsOnMainPath(sel))
        return SourceError(__LINE__);
    CLDLogicElem* join = sel == m_pTail ? nullptr : sel->GetFirstChild();
    if (sel != m_pTail && !join)
        return SourceError(__LINE__);
    if (join && join->m_nType == LDELEM_JOIN && !IsHeadBranchJoin(join))
        return SourceError(__LINE__);

    PrepareNewElement(e);
    int nextId = e->m_nID + 1;
    if (m_pHead->m_nType != LDELEM_NODE)
    {
        CLDLogicElem* node = MakeStructElement(LDELEM_NODE, nextId++, 0);
        Link(node, m_pHead);
        m_pHead = node;
    }
    if (!join)
    {
        join = MakeStructElement(LDELEM_JOIN, nextId++, sel->m_nRow);
        Link(sel, join);
        m_pTail = join;
    }
    else if (join->m_nType != LDELEM_JOIN)
    {
        CLDLogicElem* next = join;
        join = MakeStructElement(LDELEM_JOIN, nextId++, sel->m_nRow);
        InsertBetween(sel, next, join);
    }

    int maxRow = 0;
    std::vector<const CLDLogicElem*> back{sel};
    std::unordered_set<const CLDLogicElem*> seen{sel};
    while (!back.empty())
    {
        const CLDLogicElem* b = back.back();
        back.pop_back();
        maxRow = std::max(maxRow, b->m_nRow);
        for (INT_PTR i = 0; i < b->GetParentCount(); ++i)
            if (seen.insert(b->GetParent(i)).second)
                back.push_back(b->GetParent(i));
    }
    e->m_nRow = maxRow + 1;

    CLDLogicElem* head = m_pHead;
    INT_PTR at = 0;
    while (at < head->GetChildCount() && head->GetChild(at)->m_nRow < e->m_nRow)
        ++at;
    for (INT_PTR i = at; i < head->GetChildCount(); ++i)
        head->GetChild(i)->m_nRow++;
    head->m_Children.InsertAt(at, e);
    e->m_Parents.Add(head);
    join->m_Parents.InsertAt(join->FindParent(sel) + 1, e);
    e->m_Children.Add(join);
    ++m_nRows;
    return true;
}

bool CLDLogicNet::BranchOff(CLDLogicElem* e)
{
    CLDLogicElem* sel = m_pSelected;
    if (!e || !IsPlaceable(e) || e->m_nType == LDELEM_OUTPUT || !sel || sel->m_nType != LDELEM_OUTPUT ||
        !sel->GetFirstParent())
        return SourceError(__LINE__);
    CLDLogicElem* join = sel->GetFirstChild();
    if (join ? join->m_nType != LDELEM_JOIN : sel != m_pTail)
        return SourceError(__LINE__);

    PrepareNewElement(e);
    int nextId = e->m_nID + 1;
    if (!join)
    {
        join = MakeStructElement(LDELEM_JOIN, nextId++, sel->m_nRow);
        Link(sel, join);
        m_pTail = join;
    }
    CLDLogicElem* node = NodeBefore(sel, nextId);
    for (INT_PTR i = node->FindChild(sel) + 1; i < node->GetChildCount(); ++i)
    {
        CLDLogicElem* next = node->GetChild(i);
        if (next->m_nType == LDELEM_CONTACT || next->m_nType == LDELEM_BOX)
        {
            InsertBetween(node, next, e);
            RecomputeRows();
            return true;
        }
    }
    Link(node, e);
    Link(e, join);
    RecomputeRows();
    return true;
}

bool CLDLogicNet::AddOutput(CLDLogicElem* e)
{
    if (!m_pHead)
        return false;
    CLDLogicElem* sel = m_pSelected;
    if (!e || !IsPlaceable(e) || !sel)
        return SourceError(__LINE__);

    if (sel->m_nType == LDELEM_OUTPUT && sel != m_pTail)
    {
        // In parallel to the selected output, feeding the join that collects the outputs.
        CLDLogicElem* join = sel->GetFirstChild();
        if (!sel->GetFirstParent() || !join || join->m_nType != LDELEM_JOIN || IsHeadBranchJoin(join))
            return SourceError(__LINE__);
        PrepareNewElement(e);
        CLDLogicElem* node = NodeBefore(sel, e->m_nID + 1);
        node->m_Children.InsertAt(node->FindChild(sel) + 1, e);
        e->m_Parents.Add(node);
        join->m_Parents.InsertAt(join->FindParent(sel) + 1, e);
        e->m_Children.Add(join);
        RecomputeRows();
        return true;
    }
    if (sel->m_nType == LDELEM_OUTPUT)
    {
        // The selected output ends the rung: a join closes it and the new output.
        if (sel->m_nRow != 0 || !sel->GetFirstParent())
            return SourceError(__LINE__);
        PrepareNewElement(e);
        CLDLogicElem* join = MakeStructElement(LDELEM_JOIN, e->m_nID + 1, 0);
        Link(sel, join);
        m_pTail = join;
        CLDLogicElem* node = NodeBefore(sel, e->m_nID + 2);
        Link(node, e);
        Link(e, join);
        RecomputeRows();
        return true;
    }
    if (sel == m_pTail)
    {
        if (sel->m_nRow != 0 || sel->GetChildCount() != 0)
            return SourceError(__LINE__);
        AppendAfterTail(e);
        return true;
    }
    if (sel->GetChildCount() != 1)
        return SourceError(__LINE__);
    CLDLogicElem* child = sel->GetFirstChild();
    if (child->m_nType == LDELEM_JOIN)
    {
        PrepareNewElement(e);
        if (IsHeadBranchJoin(child) && child == m_pTail)
        {
            Link(child, e);
            m_pTail = e;
        }
        else
        {
            // Takes the selected element's place among the join's parents, keeping their order.
            InsertBetween(sel, child, e);
        }
        RecomputeRows();
        return true;
    }

    // Branches off at the selected element; the rest of the rung moves one row down.
    if (m_pTail->m_nType == LDELEM_JOIN ? IsHeadBranchJoin(m_pTail) : m_pTail->m_nRow != 0)
        return SourceError(__LINE__);
    PrepareNewElement(e);
    int nextId = e->m_nID + 1;
    CLDLogicElem* node = child;
    if (child->m_nType != LDELEM_NODE)
    {
        node = MakeStructElement(LDELEM_NODE, nextId++, sel->m_nRow);
        InsertBetween(sel, child, node);
    }
    CLDLogicElem* join = m_pTail;
    if (join->m_nType != LDELEM_JOIN)
    {
        join = MakeStructElement(LDELEM_JOIN, nextId++, 0);
        Link(m_pTail, join);
        m_pTail = join;
    }
    node->m_Children.InsertAt(0, e);
    e->m_Parents.Add(node);
    RecomputeRows();
    INT_PTR at = 0;
    while (at < join->GetParentCount() && join->GetParent(at)->m_nRow <= e->m_nRow)
        ++at;
    join->m_Parents.InsertAt(at, e);
    e->m_Children.Add(join);
    RecomputeRows();
    return true;
}

// e leaves the rung: its parent takes its children in its place (and its place as the tail).
void CLDLogicNet::HandChildrenToParent(CLDLogicElem* e, CLDLogicElem* parent)
{
    const INT_PTR at = parent->FindChild(e);
    parent->m_Children.RemoveAt(at);
    for (INT_PTR i = e->GetChildCount() - 1; i >= 0; --i)
    {
        parent->m_Children.InsertAt(at, e->GetChild(i));
        ReplaceParent(e->GetChild(i), e, parent);
    }
    if (m_pTail == e)
        m_pTail = parent;
}

void CLDLogicNet::DissolveJoinIfSingle(CLDLogicElem* join)
{
    if (join->GetParentCount() != 1)
        return;
    HandChildrenToParent(join, join->GetParent(0));
    delete join;
}

void CLDLogicNet::DissolveNodeIfSingle(CLDLogicElem* node)
{
    if (node->GetChildCount() != 1)
        return;
    CLDLogicElem* child = node->GetChild(0);
    if (CLDLogicElem* parent = node->GetFirstParent())
    {
        ReplaceChild(parent, node, child);
        ReplaceParent(child, node, parent);
    }
    else
    {
        child->m_Parents.RemoveAt(child->FindParent(node));
        m_pHead = child;
    }
    if (m_pTail == node)
        m_pTail = child;
    delete node;
}

// e hangs from a node and feeds a join: the whole path goes.
bool CLDLogicNet::RemoveParallelPath(CLDLogicElem* e)
{
    CLDLogicElem* node = e->GetParent(0);
    CLDLogicElem* join = e->GetChild(0);
    if (node->GetChildCount() < 2 || join->GetParentCount() < 2)
        return SourceError(__LINE__);
    node->m_Children.RemoveAt(node->FindChild(e));
    join->m_Parents.RemoveAt(join->FindParent(e));
    DissolveJoinIfSingle(join);
    DissolveNodeIfSingle(node);
    return true;
}

bool CLDLogicNet::DeleteSelected()
{
    CLDLogicElem* e = m_pSelected;
    if (!e || !IsPlaceable(e) || e->GetParentCount() >= 2)
        return SourceError(__LINE__);
    if (e->GetParentCount() == 0)
    {
        if (e != m_pHead)
            return SourceError(__LINE__);
        if (e == m_pTail || e->GetChildCount() != 1 || e->GetChild(0)->m_nType != LDELEM_CONTACT)
            return false;
        m_pHead = e->GetChild(0);
        m_pHead->m_Parents.RemoveAll();
    }
    else
    {
        CLDLogicElem* parent = e->GetParent(0);
        if (parent->m_nType == LDELEM_NODE && e->GetChildCount() == 1 &&
            e->GetChild(0)->m_nType == LDELEM_JOIN)
        {
            if (!RemoveParallelPath(e))
                return false;
        }
        else
        {
            HandChildrenToParent(e, parent);
        }
    }
    if (m_nCommentElem == e->m_nID)
        m_nCommentElem = -1;
    delete e;
    m_pSelected = nullptr;
    RecomputeRows();
    return true;
}

CLDLogicElem* CLDLogicNet::CommentPlace() const
{
    CLDLogicElem* target = m_pHead;
    if (target && target->m_nType == LDELEM_NODE)
        target = target->GetFirstChild();
    return target;
}

void CLDLogicNet::InsertNewComment(const char* text)
{
    CLDLogicElem* target = CommentPlace();
    if (!target)
        return;
    target->m_strComment = text;
    m_nCommentElem = target->m_nID;
}

void CLDLogicNet::DeleteComment()
{
    for (CLDLogicElem* e : GetElements())
        if (e->m_nID == m_nCommentElem)
            e->m_strComment.Empty();
    m_nCommentElem = -1;
}

// A child's row is its parent's row plus its place among the parent's children; the branch
// parents of a join lie below the join's row.
void CLDLogicNet::RecomputeRows()
{
    const std::vector<CLDLogicElem*> elements = GetElements();
    if (m_pHead)
        m_pHead->m_nRow = 0;
    for (CLDLogicElem* e : elements)
        for (INT_PTR i = 0; i < e->GetChildCount(); ++i)
            if (e->GetChild(i)->GetFirstParent() == e)
                e->GetChild(i)->m_nRow = e->m_nRow + static_cast<int>(i);
    m_nRows = 0;
    for (CLDLogicElem* e : elements)
    {
        if (e->m_nType == LDELEM_JOIN)
            for (INT_PTR i = 1; i < e->GetParentCount(); ++i)
                e->GetParent(i)->m_nRow = std::max(e->GetParent(i)->m_nRow, e->m_nRow + static_cast<int>(i));
        m_nRows = std::max(m_nRows, e->m_nRow);
    }
}
