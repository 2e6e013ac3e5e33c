// One ladder network (rung): its element graph, editing operations and grid layout.
#pragma once

#include <ZoLumoPlcObj/LDLogicElem.h>

#include <vector>

class CPlcFBDConnection;
class CPlcFBDObject;
class CPlcLDNetwork;

// Members are read directly by the ladder editor; their order is part of the interface.
class CLDLogicNet
{
public:
    explicit CLDLogicNet(int id = 0) : m_nID(id) {}
    CLDLogicNet(const CLDLogicNet&) = delete;
    CLDLogicNet& operator=(const CLDLogicNet&) = delete;
    virtual ~CLDLogicNet() { Erase(); }

    int GetID() const noexcept { return m_nID; }
    void SetID(int id) noexcept { m_nID = id; }
    bool IsEmpty() const noexcept { return m_pHead == nullptr; }
    CLDLogicElem* GetNetHead() const noexcept { return m_pHead; }
    CLDLogicElem* GetNetTail() const noexcept { return m_pTail; }
    CLDLogicElem* GetSelected() const noexcept { return m_pSelected; }

    void Erase();
    CLDLogicElem* SelectElement(int id);
    // Every element once, each reached from its first parent, in walk order from the head.
    std::vector<CLDLogicElem*> GetElements() const;
    int GetMaxID() const;

    bool HasFIN() const;
    bool HasOnlyFIN() const;

    // Place a new element relative to the selected one; the network takes ownership on success.
    bool AddCascade(CLDLogicElem* e);
    bool AddParallel(CLDLogicElem* e);
    bool BranchOff(CLDLogicElem* e);
    bool AddOutput(CLDLogicElem* e);
    bool DeleteSelected();

    void InsertNewComment(const char* text);
    void DeleteComment();
    // Takes the names and the comment edited in m_pLDNetwork back into the elements; false (and
    // nothing changed) when an element has no matching object there.
    bool UpdateReferences();

    // Numbers the wires from m_nWireCnt on, each element after its last parent.
    void NumberConns();
    void UpdateGraphXY();
    int GetNetMinLen() const;
    int GetMaxY() const;

    // Lays the net out as a graphic LD network of the given width; null on failure. The net keeps it
    // as m_pLDNetwork; the caller owns it.
    CPlcLDNetwork* GenerateLDCodeNet(int width);

    CLDLogicElem* m_pSelected = nullptr; // insertion point of the editing operations
    CLDLogicElem* m_pHead = nullptr;
    CLDLogicElem* m_pTail = nullptr; // last element of the main rung
    int m_nRows = 0;
    int m_nWireCnt = -1;
    int m_nID;
    int m_nMaxID = -1; // search accumulators
    int m_nMaxY = 0;
    CPlcLDNetwork* m_pLDNetwork = nullptr; // graphic network last made from this net, not owned
    int m_nCommentElem = -1;               // ID of the element that carries the network comment

private:
    CLDLogicElem* FindElement(int id) const;
    // Where a new network comment goes: the head, or the first child of a head node.
    CLDLogicElem* CommentPlace() const;
    bool GenerateLDCodeElem(CLDLogicElem* e);
    void MakeLogicConnection(CPlcFBDConnection* connection, CPlcFBDObject* object);

    bool PrepareNewElement(CLDLogicElem* e);
    CLDLogicElem* MakeStructElement(int type, int id, int row);
    bool IsBranchElement(const CLDLogicElem* e) const;
    bool IsHeadBranchJoin(const CLDLogicElem* join) const;
    bool IsOnMainPath(const CLDLogicElem* e) const;
    CLDLogicElem* NodeBefore(CLDLogicElem* e, int id);
    bool RemoveParallelPath(CLDLogicElem* e);
    void AppendAfterTail(CLDLogicElem* e);
    void HandChildrenToParent(CLDLogicElem* e, CLDLogicElem* parent);
    void DissolveJoinIfSingle(CLDLogicElem* join);
    void DissolveNodeIfSingle(CLDLogicElem* node);
    void RecomputeRows();
    void NumberFrom(CLDLogicElem* e);
};
