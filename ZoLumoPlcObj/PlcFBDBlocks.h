// Executable objects: function blocks, functions, operators, returns and jumps.
#pragma once

#include <ZoLumoPlcObj/PlcFBDObjList.h>
#include <ZoLumoPlcObj/PlcFBDObject.h>

class CPlcFBDExeObject : public CPlcFBDObject
{
public:
    CPlcFBDExeObject() = default;

    void Dump(bool full) override;

    // The input or output pin of that ID, or null.
    CPlcFBDPin* FindPin(const char* pinID) const;

    CString m_strBlockName;                // function, block or operator called, such as "MOVE"
    int m_nWidth = 0;                      // in grid steps, 0 = not set
    CPlcFBDObjList m_Inputs;               // CPlcFBDPin, in pin order
    CPlcFBDObjList m_Outputs;              // CPlcFBDPin, in pin order
    bool m_bENEnd = false;                 // heads a chain of blocks linked from ENO to EN
    bool m_bENOEnd = false;                // ends such a chain
    CPlcFBDObject* m_pENOSource = nullptr; // EN pin at the head of the chain

protected:
    explicit CPlcFBDExeObject(int type) : CPlcFBDObject(type) {}
};

class CPlcFBDFunctionBlock : public CPlcFBDExeObject
{
public:
    CPlcFBDFunctionBlock() : CPlcFBDExeObject(FBD_FUNCTION_BLOCK) {}
};

class CPlcFBDFunction : public CPlcFBDExeObject
{
public:
    CPlcFBDFunction() : CPlcFBDExeObject(FBD_FUNCTION) {}
};

class CPlcFBDOperator : public CPlcFBDExeObject
{
public:
    CPlcFBDOperator() : CPlcFBDExeObject(FBD_OPERATOR) {}
};

class CPlcFBDReturn : public CPlcFBDExeObject
{
public:
    CPlcFBDReturn() : CPlcFBDExeObject(FBD_RETURN) {}
};

class CPlcFBDJump : public CPlcFBDExeObject
{
public:
    CPlcFBDJump() : CPlcFBDExeObject(FBD_JUMP) {}
};
