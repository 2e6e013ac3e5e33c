// Execution order of the blocks of a network, feedback nets and EN/ENO chains.
#include "PlcFBDBlocks.h"
#include "PlcFBDConnectionNetwork.h"
#include "PlcFBDNetwork.h"

#include "PlcObjectError.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace
{
using NetRange = PlcObjRange<CPlcFBDConnectionNetwork>;

void SetOrders(const CPlcFBDObjList& objects, int order)
{
    for (auto* object : PlcObjects(objects))
        object->m_nOrder = order;
}

CPlcFBDExeObject* AsBlock(CPlcFBDObject* object)
{
    return object && CPlcFBDObject::IsExeType(object->m_nType) ? static_cast<CPlcFBDExeObject*>(object)
                                                               : nullptr;
}

bool Precedes(const CPlcFBDObject* a, const CPlcFBDObject* b)
{
    return std::tie(a->m_nY, a->m_nX) < std::tie(b->m_nY, b->m_nX);
}

// The pin of that ID that is wired, or null.
CPlcFBDPin* ConnectedPin(const CPlcFBDObjList& pins, const char* id)
{
    for (auto* pin : PlcObjects<CPlcFBDPin>(pins))
        if (pin->m_strID == id && pin->m_pPartner)
            return pin;
    return nullptr;
}

CPlcFBDPin* Driver(const CPlcFBDConnectionNetwork* net)
{
    return net->m_Outputs.IsEmpty() ? nullptr : static_cast<CPlcFBDPin*>(net->m_Outputs.GetHead());
}
} // namespace

bool CPlcFBDNetwork::ExecutionOrder()
{
    m_pErrorObject = nullptr;
    if (!m_bValid)
        return Fail(this, NETERR_INVALID);
    if (!CheckObjectsConnections())
        return false;
    if (m_ConnNets.IsEmpty())
        return true;

    m_ExecList.Reset();
    for (CPlcFBDObjList* list : {&m_Operators, &m_FunctionBlocks, &m_Functions, &m_Variables, &m_Constants})
        for (auto* object : PlcObjects(*list))
        {
            m_ExecList.AddTail(object);
            object->m_nOrder = -1;
            if (CPlcFBDExeObject* block = AsBlock(object))
            {
                block->m_bENEnd = false;
                block->m_bENOEnd = false;
                block->m_pENOSource = nullptr;
            }
        }

    if (!ConnectNetEnds())
        return false;
    LinkDependentNets();

    if (!FollowNet(static_cast<CPlcFBDConnectionNetwork*>(m_ConnNets.GetHead())))
        return false;
    for (auto* net : NetRange(m_ConnNets))
        if (net->m_nOrder != 0)
            return Fail(this, NETERR_UNREACHABLE);
    SetOrders(m_ConnNets, -1);

    if (!CalculateFeedbacks())
        return Fail(this, NETERR_NO_ORDER);
    if (!RankNets() || !OrderBlocks())
        return false;
    SetEnEnoFlags();
    return true;
}

bool CPlcFBDNetwork::ConnectNetEnds()
{
    int index = 0;
    for (auto* net : NetRange(m_ConnNets))
    {
        net->m_strID.Format("%d", index++);
        // A repeated pass starts from scratch: levels and links of the last one would mislead it.
        net->m_nOrder = -1;
        net->m_DestObjects.Reset();
        net->m_SourceNets.Reset();
        net->m_DestNets.Reset();
        if (!net->m_bValid)
            return Fail(net, NETERR_CONNECTION_NETWORK);
        if (net->m_Outputs.GetCount() != 1)
        {
            PlcObjectError(1603);
            return false;
        }
        for (auto* end : PlcObjects<CPlcFBDPin>(net->m_Outputs))
        {
            end->m_pConnNet = net;
            if (end->m_pPartner)
                end->m_pPartner->m_pConnNet = net;
            net->m_pSourceObject = FindFBDObject(end);
            if (!net->m_pSourceObject)
                return Fail(net, NETERR_CONNECTION_NETWORK);
        }
        for (auto* end : PlcObjects<CPlcFBDPin>(net->m_Inputs))
        {
            end->m_pConnNet = net;
            if (end->m_pPartner)
                end->m_pPartner->m_pConnNet = net;
            CPlcFBDObject* destination = FindFBDObject(end);
            if (!destination)
                return Fail(net, NETERR_CONNECTION_NETWORK);
            net->m_DestObjects.AddTail(destination);
        }
    }
    return true;
}

void CPlcFBDNetwork::LinkDependentNets()
{
    for (auto* from : NetRange(m_ConnNets))
        for (auto* to : NetRange(m_ConnNets))
            if (from != to && from->m_DestObjects.Find(to->m_pSourceObject))
            {
                to->m_SourceNets.AddTail(from);
                from->m_DestNets.AddTail(to);
            }
}

bool CPlcFBDNetwork::FollowNet(CPlcFBDConnectionNetwork* net)
{
    net->m_nOrder = 0;
    for (CPlcFBDObjList* neighbours : {&net->m_SourceNets, &net->m_DestNets})
        for (auto* other : NetRange(*neighbours))
            if (other->m_nOrder == -1)
            {
                other->m_nOrder = 0;
                if (!FollowNet(other))
                    return false;
            }
    auto followPins = [&](const CPlcFBDObjList& pins)
    {
        for (auto* pin : PlcObjects<CPlcFBDPin>(pins))
        {
            CPlcFBDConnectionNetwork* other = pin->m_pConnNet;
            if (other && other != net && other->m_nOrder == -1 && !FollowNet(other))
                return false;
        }
        return true;
    };
    if (CPlcFBDExeObject* source = AsBlock(net->m_pSourceObject))
        if (!followPins(source->m_Outputs))
            return false;
    for (auto* destination : PlcObjects(net->m_DestObjects))
        if (CPlcFBDExeObject* block = AsBlock(destination))
            if (!followPins(block->m_Inputs))
                return false;
    return true;
}

bool CPlcFBDNetwork::FindBackNet(CPlcFBDConnectionNetwork* net, CPlcFBDConnectionNetwork* target)
{
    for (auto* source : NetRange(net->m_SourceNets))
    {
        if (source->m_nOrder != -1)
            continue;
        source->m_nOrder = 1;
        if (source == target || FindBackNet(source, target))
            return true;
    }
    return false;
}

bool CPlcFBDNetwork::CalculateFeedbacks()
{
    for (auto* net : NetRange(m_ConnNets))
        net->m_bFeedback = false;
    for (auto* net : NetRange(m_ConnNets))
    {
        SetOrders(m_ConnNets, -1);
        // A net driven by an ENO output only passes the enable on; it never closes a loop.
        bool candidate = true;
        if (net->m_Outputs.GetCount() == 1)
        {
            const CPlcFBDPin* end = Driver(net);
            candidate = end->m_strID != "ENO" && !(end->m_pPartner && end->m_pPartner->m_strID == "ENO");
        }
        if (candidate && FindBackNet(net, net))
            net->m_bFeedback = true;
    }
    SetOrders(m_ConnNets, -1);
    return true;
}

bool CPlcFBDNetwork::RankNets()
{
    // A net's order holds its level while ranking; -1 = not ranked yet.
    const auto total = m_ConnNets.GetCount();
    INT_PTR ranked = 0;
    for (int level = 0;; ++level)
    {
        const INT_PTR rankedBefore = ranked;
        ranked = 0;
        for (auto* net : NetRange(m_ConnNets))
        {
            if (net->m_nOrder == -1)
            {
                bool ready = true;
                for (auto* source : NetRange(net->m_SourceNets))
                    if (source->m_nOrder == -1 || source->m_nOrder == level)
                        ready = false;
                if (!ready)
                    continue;
                net->m_nOrder = level;
            }
            ++ranked;
        }
        if (ranked == rankedBefore)
        {
            // Stuck on a loop: break it at the net whose source comes first in reading order.
            CPlcFBDConnectionNetwork* chosen = nullptr;
            for (auto* net : NetRange(m_ConnNets))
            {
                if (net->m_nOrder != -1)
                    continue;
                bool candidate = true;
                for (auto* source : NetRange(net->m_SourceNets))
                    if ((source->m_nOrder == -1 && !source->m_bFeedback) || source->m_nOrder == level)
                        candidate = false;
                if (candidate && (!chosen || Precedes(net->m_pSourceObject, chosen->m_pSourceObject)))
                    chosen = net;
            }
            if (!chosen)
                return Fail(this, NETERR_NO_ORDER);
            chosen->m_nOrder = level;
            ++ranked;
        }
        if (ranked == total)
            return true;
    }
}

bool CPlcFBDNetwork::OrderBlocks()
{
    for (auto* net : NetRange(m_ConnNets))
    {
        if (CPlcFBDExeObject* source = AsBlock(net->m_pSourceObject))
            source->m_nOrder = net->m_nOrder;
        else
            net->m_nOrder = -1;
    }
    for (auto* net : NetRange(m_ConnNets))
        for (auto* destination : PlcObjects(net->m_DestObjects))
        {
            const int after = net->m_nOrder + 1;
            const int type = destination->m_nType;
            if (type == FBD_RETURN || type == FBD_JUMP)
                destination->m_nOrder = after;
            else if (AsBlock(destination) && !net->m_bFeedback &&
                     (destination->m_nOrder == -1 || destination->m_nOrder < after))
                destination->m_nOrder = after;
        }

    std::vector<CPlcFBDObject*> blocks;
    for (auto* object : PlcObjects(m_ExecList))
    {
        if (!AsBlock(object))
            continue;
        if (object->m_nOrder == -1)
        {
            PlcObjectError(1883);
            return false;
        }
        blocks.push_back(object);
    }
    // Same rank: reading order, row by row, then left to right; full ties keep list order.
    std::stable_sort(
        blocks.begin(), blocks.end(),
        [](const CPlcFBDObject* a, const CPlcFBDObject* b)
        { return std::tie(a->m_nOrder, a->m_nY, a->m_nX) < std::tie(b->m_nOrder, b->m_nY, b->m_nX); });
    int order = 0;
    for (CPlcFBDObject* block : blocks)
        block->m_nOrder = order++;
    return true;
}

void CPlcFBDNetwork::SetEnEnoFlags()
{
    CPlcFBDExeObject* chainLast = nullptr;
    CPlcFBDPin* chainEN = nullptr;
    CPlcFBDPin* chainENO = nullptr;
    auto closeChain = [&]()
    {
        chainLast->m_bENOEnd = true;
        chainLast = nullptr;
    };
    auto blockWithOrder = [&](int order) -> CPlcFBDExeObject*
    {
        for (auto* object : PlcObjects(m_ExecList))
            if (AsBlock(object) && object->m_nOrder == order)
                return static_cast<CPlcFBDExeObject*>(object);
        return nullptr;
    };
    auto unwired = [](const CPlcFBDPin* pin) { return pin && !pin->m_pConnNet; };

    for (int order = 0;; ++order)
    {
        CPlcFBDExeObject* block = blockWithOrder(order);
        if (!block)
            break;
        CPlcFBDPin* en = ConnectedPin(block->m_Inputs, "EN");
        if (unwired(en))
        {
            PlcObjectError(chainLast ? 2417 : 2347);
            break;
        }
        if (chainLast)
        {
            const CPlcFBDConnectionNetwork* net = en ? en->m_pConnNet : nullptr;
            const CPlcFBDPin* driver = net ? Driver(net) : nullptr;
            if (!net || net->m_pSourceObject != chainLast || !driver || driver->m_pPartner != chainENO)
                closeChain();
            else
            {
                block->m_pENOSource = chainEN;
                CPlcFBDPin* eno = ConnectedPin(block->m_Outputs, "ENO");
                if (unwired(eno))
                {
                    PlcObjectError(2459);
                    break;
                }
                chainLast = block;
                chainENO = eno;
                if (!eno)
                    closeChain();
                continue;
            }
        }
        CPlcFBDPin* eno = ConnectedPin(block->m_Outputs, "ENO");
        if (unwired(eno))
        {
            PlcObjectError(2365);
            break;
        }
        if (!en && !eno)
            continue;
        block->m_bENEnd = true;
        block->m_pENOSource = en;
        if (eno && eno->m_pConnNet->m_Inputs.GetCount() == 1)
        {
            chainLast = block;
            chainEN = en;
            chainENO = eno;
        }
        else
            block->m_bENOEnd = true;
    }
    if (chainLast)
    {
        chainLast->m_pENOSource = chainEN;
        chainLast->m_bENOEnd = true;
    }
}
