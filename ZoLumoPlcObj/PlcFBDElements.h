// Comments, variables, constants, crossings and connections of a network.
#pragma once

#include <ZoLumoPlcObj/PlcFBDObject.h>

class CPlcFBDComment : public CPlcFBDObject
{
public:
    CPlcFBDComment() : CPlcFBDObject(FBD_COMMENT) {}
    void Dump(bool full) override;

    CString m_strComment;
};

class CPlcFBDVariable : public CPlcFBDObject
{
public:
    CPlcFBDVariable() : CPlcFBDObject(FBD_VARIABLE) {}
    void Dump(bool full) override;

    CString m_strVarName;
    CPlcFBDPin m_Pin;
};

class CPlcFBDConst : public CPlcFBDObject
{
public:
    CPlcFBDConst() : CPlcFBDObject(FBD_CONST) {}
    void Dump(bool full) override;

    CString m_strValue;
    CPlcFBDPin m_Pin{CPlcFBDPin::DIR_OUT};
};

// A junction of connections that carry one signal.
class CPlcFBDCross : public CPlcFBDObject
{
public:
    CPlcFBDCross() : CPlcFBDObject(FBD_CROSS) {}
    void Dump(bool full) override;

    CPlcFBDPin m_TopPin;
    CPlcFBDPin m_BottomPin;
    CPlcFBDPin m_LeftPin;
    CPlcFBDPin m_RightPin;
    bool m_bFanOut = false; // set by the ladder-network generator; the model never reads it
};

// A wire between two pins.
class CPlcFBDConnection : public CPlcFBDObject
{
public:
    CPlcFBDConnection() : CPlcFBDObject(FBD_CONNECTION) {}
    void Dump(bool full) override;

    CPlcFBDPin m_StartPin;
    CPlcFBDPin m_EndPin;
    CDWordArray m_RoutePoints; // y << 16 | x
};
