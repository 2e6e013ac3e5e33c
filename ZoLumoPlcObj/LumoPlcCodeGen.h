// PLC assembler, disassembler and code generator between ladder documents, host records and
// instruction-list text.
#pragma once

#include <ZoLumoPlcObj/LDLogicDoc.h>

#include <framework/CString.h>

#include <vector>

class CPluginIntf;

// One instruction waiting to be handed to the host.
struct PLC_INSTR_REC
{
    int nRow;           // index into the instruction table
    int operands[3];    // -1 absent
    CString strComment; // COMM records only
};

// Error codes of LoadILSource beside the parser's own.
enum PlcILError
{
    PLCIL_TOO_MANY_OPERANDS = 513,
    PLCIL_BAD_OPERAND = 514,
    PLCIL_UNKNOWN_MNEMONIC = 515,
    PLCIL_CANNOT_PLACE = 769
};

class CLumoPlcCodeGen
{
public:
    CLumoPlcCodeGen() = default;
    CLumoPlcCodeGen(const CLumoPlcCodeGen&) = delete;
    CLumoPlcCodeGen& operator=(const CLumoPlcCodeGen&) = delete;
    virtual ~CLumoPlcCodeGen() = default;

    // Instruction table services; they use no state of the object.
    unsigned long Assemble(const char* mnemonic, int* operands, int& length);
    bool Disassemble(unsigned long code, CString& mnemonic, int* operands);
    static bool GetInstrLen(const char* mnemonic, bool& isLong);
    const char* GetString(unsigned int index);
    bool GetDataAddress(const char* operand, unsigned long& address, unsigned short& width,
                        unsigned short& bit);

    void SetPluginIntf(CPluginIntf* host) noexcept { m_pPluginIntf = host; }
    // Replaces the host's program; on failure the stored program is left as it was.
    bool GenerateRecords(CLDLogicDoc* doc);
    // Code words of the document, the closing END included.
    int GetCodeLen(CLDLogicDoc* doc);
    bool GenerateLogicDoc(CLDLogicDoc* doc);
    bool InsertInstrIntoDoc(const char* text, int operands[3], CLDLogicDoc* doc);

    bool GenerateILSource(CLDLogicDoc* doc, CString& text);
    // On false m_nErrCode, m_nErrLine (from 0) and m_strErrText tell why.
    bool LoadILSource(const char* text, CLDLogicDoc* doc);

    int m_nErrCode = 0;
    int m_nErrLine = -1;
    CString m_strErrText;

private:
    void StartBuilding();
    void MoveNets(CLDLogicDoc& from, CLDLogicDoc& to);
    bool PlaceElement(CLDLogicElem* e, int role);

    CPluginIntf* m_pPluginIntf = nullptr; // not owned
    std::vector<PLC_INSTR_REC> m_Records;
    CLDLogicNet* m_pCurNet = nullptr; // the network being filled, not owned
    CString m_strPendingComment;      // from a COMM line, for the next element
};
