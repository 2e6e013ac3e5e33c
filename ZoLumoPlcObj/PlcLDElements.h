// Ladder elements: contacts, coils and power rails.
#pragma once

#include <ZoLumoPlcObj/PlcFBDObjList.h>
#include <ZoLumoPlcObj/PlcFBDObject.h>

class CPlcLDContact : public CPlcFBDObject
{
public:
    enum Kind
    {
        KIND_NORMAL = 0,
        KIND_NEGATED = 1
    };

    CPlcLDContact() : CPlcFBDObject(FBD_LD_CONTACT) {}
    void Dump(bool full) override;

    CString m_strVarName;
    CPlcFBDPin m_InPin{CPlcFBDPin::DIR_IN};
    CPlcFBDPin m_OutPin{CPlcFBDPin::DIR_OUT};
    bool m_bFlag = false;
    int m_nKind = KIND_NORMAL;
    CPlcFBDObjList m_ExtraPins; // filled by the ladder-network generator; neither resolved nor dumped
};

class CPlcLDCoil : public CPlcFBDObject
{
public:
    enum Kind
    {
        KIND_PLAIN = 0,
        KIND_NEGATED = 1,
        KIND_RESET = 4,
        KIND_SET = 5
    };

    CPlcLDCoil() : CPlcFBDObject(FBD_LD_COIL) {}
    void Dump(bool full) override;

    CString m_strVarName;
    CPlcFBDPin m_InPin{CPlcFBDPin::DIR_IN};
    CPlcFBDPin m_OutPin{CPlcFBDPin::DIR_OUT};
    bool m_bFlag = false;
    bool m_bFlag2 = false;
    int m_nKind = KIND_PLAIN;
    CPlcFBDObjList m_ExtraPins;
};

class CPlcLDPowerRail : public CPlcFBDObject
{
public:
    enum Side
    {
        SIDE_RIGHT = 1,
        SIDE_LEFT = 2 // the source rail
    };

    CPlcLDPowerRail() : CPlcFBDObject(FBD_LD_POWER_RAIL) {}
    void Dump(bool full) override;

    int m_nSide = 0;
    CPlcFBDObjList m_Pins; // CPlcFBDPin, owned
};
