// A set of connections joined by crossings that carries one signal.
#pragma once

#include <ZoLumoPlcObj/PlcFBDObjList.h>
#include <ZoLumoPlcObj/PlcFBDObject.h>

class CPlcLDNetwork;

class CPlcFBDConnectionNetwork : public CPlcFBDObject
{
public:
    CPlcFBDConnectionNetwork() : CPlcFBDObject(FBD_CONNECTION_NETWORK) {}

    void Dump(bool full) override;

    // Sorts the connection ends into inputs and outputs; valid with exactly one driver.
    bool Validate();
    // Moves the other net's connections and crossings to the end of this net's lists.
    void Join(CPlcFBDConnectionNetwork* other);
    bool HoldsConnection(const CPlcFBDObject* connection) const;

    bool m_bFeedback = false;
    CPlcFBDObjList m_Inputs{true};  // connection ends that feed block inputs
    CPlcFBDObjList m_Outputs{true}; // connection ends at the drivers of the signal
    CPlcFBDObject* m_pSourceObject = nullptr;
    CString m_strOutputVar;
    CString m_strSecondName;
    bool m_bSpare = false;
    CPlcFBDObjList m_DestObjects{true};
    CPlcFBDObjList m_SourceNets{true};
    CPlcFBDObjList m_DestNets{true};
    CPlcFBDObjList m_Connections; // CPlcFBDConnection, owned
    CPlcFBDObjList m_Crosses;     // CPlcFBDCross, owned

protected:
    friend class CPlcLDNetwork;
    // A ladder net may have several drivers when all of them are ladder elements (a wired OR).
    bool ValidateEnds(bool wiredOrAllowed);
};

class CPlcLDConnectionNetwork : public CPlcFBDConnectionNetwork
{
public:
    bool Validate() { return ValidateEnds(true); }
};
