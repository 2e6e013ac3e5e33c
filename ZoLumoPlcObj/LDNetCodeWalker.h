// Walks a ladder network in execution order and hands out its instructions.
#pragma once

#include <ZoLumoPlcObj/LDLogicNet.h>

// Receives the instructions of a network; instr is a copy of the element whose text is the
// mnemonic and whose operand strings are the instruction's operands.
class CPlcInstrSink
{
public:
    virtual ~CPlcInstrSink() = default;
    virtual bool Comment(const CString& text) = 0;
    virtual bool Instruction(const CLDLogicElem& instr) = 0;
};

class CLDNetCodeWalker
{
public:
    CLDNetCodeWalker(const CLDLogicNet& net, CPlcInstrSink& sink) : m_Net(net), m_Sink(sink) {}
    // False on the first inconsistent element or refused instruction.
    bool Walk();

private:
    bool Generate(const CLDLogicElem* e);
    bool GenerateOwn(const CLDLogicElem* e);
    bool GenerateJoin(const CLDLogicElem* join);
    bool EmitAs(const CLDLogicElem& e, const char* mnemonic);

    const CLDLogicNet& m_Net;
    CPlcInstrSink& m_Sink;
    bool m_bAccLoaded = false;
};
