// Base of the function-block and ladder graph objects, and the pin that joins them.
#pragma once

#include <framework/Array.h>
#include <framework/CString.h>

// Type codes of the graph objects, shared with the PLC editor.
enum FBDObjType : int
{
    FBD_UNKNOWN = 0,
    FBD_NETWORK = 1,
    FBD_FUNCTION_BLOCK = 2,
    FBD_FUNCTION = 3,
    FBD_VARIABLE = 4,
    FBD_CONST = 5,
    FBD_CROSS = 6,
    FBD_CONNECTION = 7,
    FBD_CONNECTION_NETWORK = 8,
    FBD_PIN = 9,
    FBD_OPERATOR = 10,
    FBD_RETURN = 11,
    FBD_JUMP = 12,
    FBD_LABEL = 13,
    FBD_COMMENT = 14,
    FBD_LD_NETWORK = 15,
    FBD_LD_POWER_RAIL = 16,
    FBD_LD_CONTACT = 17,
    FBD_LD_COIL = 18
};

class CPlcFBDConnectionNetwork;

class CPlcFBDObject
{
public:
    CPlcFBDObject() = default;
    CPlcFBDObject(const CPlcFBDObject&) = delete;
    CPlcFBDObject& operator=(const CPlcFBDObject&) = delete;
    virtual ~CPlcFBDObject() = default;

    // Writes the object into the process-wide dump file: its type and ID only, or every field.
    virtual void Dump(bool full);

    static const char* DumpType(int type);

    // Executable objects: function blocks, functions, operators, returns and jumps.
    static bool IsExeType(int type) noexcept;

    bool m_bValid = false;
    int m_nType = FBD_UNKNOWN;
    int m_nOriginType = FBD_UNKNOWN; // ladder object this one was converted from
    CString m_strOriginID;
    CPlcFBDObject* m_pParent = nullptr;
    CString m_strID;
    CStringArray m_LinkedNames; // names of the objects linked to this one (ladder generator)
    CStringArray m_AuxNames;    // kept for the editor
    int m_nX = 0;
    int m_nY = 0;
    int m_nOrder = -1; // execution order, or a visit mark inside the network passes
    int m_nError = 9;

protected:
    explicit CPlcFBDObject(int type) : m_nType(type) {}

    // The common head of every dump; false when the object must be skipped.
    bool DumpHead(bool full);
};

class CPlcFBDPin : public CPlcFBDObject
{
public:
    enum Direction
    {
        DIR_PASS = 0,
        DIR_OUT = 1,
        DIR_IN = 2
    };

    CPlcFBDPin() : CPlcFBDObject(FBD_PIN) {}
    explicit CPlcFBDPin(int direction) : CPlcFBDObject(FBD_PIN), m_nDirection(direction) {}

    // Copies the connection state; origin fields and name arrays stay as they were.
    CPlcFBDPin& operator=(const CPlcFBDPin& other);

    void Dump(bool full) override;

    bool m_bNegated = false;
    int m_nDirection = DIR_PASS;
    CString m_strConnectedID; // object (or "object.pin") on the other side
    int m_nConnectedType = FBD_UNKNOWN;
    CPlcFBDPin* m_pPartner = nullptr;
    CPlcFBDConnectionNetwork* m_pConnNet = nullptr;
};
