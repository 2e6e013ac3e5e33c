// A ladder program: the ordered list of its networks.
#pragma once

#include <ZoLumoPlcObj/LDLogicNet.h>

#include <framework/List.h>

#include <vector>

class CPlcFBDCode;

class CLDLogicDoc
{
public:
    CLDLogicDoc() = default;
    CLDLogicDoc(const CLDLogicDoc&) = delete;
    CLDLogicDoc& operator=(const CLDLogicDoc&) = delete;
    virtual ~CLDLogicDoc() { Reset(); }

    int GetCount() const noexcept { return static_cast<int>(m_Nets.GetCount()); }
    CLDLogicNet* GetNet(int i) const;            // 1-based; null out of range
    int GetNetIdx(const CLDLogicNet* net) const; // 0-based; -1 when absent
    std::vector<CLDLogicNet*> GetNets() const;   // in order

    void InsertNet(int pos);
    void AppendNet() { InsertNet(GetCount()); }
    void AppendNet(CLDLogicNet* net);
    bool DeleteNet(int i);
    bool DeleteNet(CLDLogicNet* net);
    CLDLogicNet* RemoveNet(int i);
    void Reset();
    void UpdateCntID();
    int GetMaxNetID() const noexcept { return m_nMaxID; }

    bool IsFINAllowed(int i) const;
    // UpdateReferences of every net; false when one of them failed.
    bool UpdateReferences();

    // Every net as a graphic LD network of one common width; null on failure. The caller owns it.
    CPlcFBDCode* GenerateLDCode();

    CPtrList m_Nets; // owned CLDLogicNet*
    int m_nMaxID = -1;
};
