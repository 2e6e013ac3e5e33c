// A host that keeps the PLC program in memory, as the parameter database does.
#pragma once

#include <Tarveskon/PluginIntf.h>

#include <com/Variant.h>

#include <ZoLumoPlcObj/LDLogicDoc.h>
#include <ZoLumoPlcObj/LDLogicNet.h>
#include <ZoLumoPlcObj/PlcFBDCode.h>
#include <ZoLumoPlcObj/PlcLDNetwork.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace fuzz
{

class PlcHost : public CPluginIntf
{
public:
    struct Instr
    {
        std::string text;
        std::array<int, 3> operands;
    };

    HOSTRES SetParValue(const char*, VARIANT, BOOL) override { return HOSTRES_NOTAVAIL; }
    HOSTRES WritePar(const char*, VARIANT) override { return HOSTRES_NOTAVAIL; }
    int GetPlcMaxLen() override { return 1024; }
    void ResetPlc() override { program.clear(); }
    BOOL GetPlcInstr(int i, CString& text, int operands[3]) override
    {
        if (i < 0 || i >= static_cast<int>(program.size()))
            return FALSE;
        const Instr& instr = program[static_cast<size_t>(i)];
        text = instr.text.c_str();
        for (size_t k = 0; k < 3; ++k)
            operands[k] = instr.operands[k];
        return TRUE;
    }
    int SetPlcInstr(int i, const char* text, const int operands[3]) override
    {
        if (i < 0 || i > static_cast<int>(program.size()))
            return HOSTRES_INVALID;
        Instr instr{std::string(text).substr(0, 100), {operands[0], operands[1], operands[2]}};
        if (i == static_cast<int>(program.size()))
            program.push_back(instr);
        else
            program[static_cast<size_t>(i)] = instr;
        return HOSTRES_OK;
    }

    std::vector<Instr> program;
};

// Every net of the document as ladder and function-block networks.
inline void ConvertNets(CLDLogicDoc& doc)
{
    std::unique_ptr<CPlcFBDCode> code(doc.GenerateLDCode());
    if (!code)
        return;
    for (int i = 1; i <= doc.GetCount(); ++i)
        if (CPlcLDNetwork* network = doc.GetNet(i)->m_pLDNetwork)
            network->MakeFBD();
}

} // namespace fuzz
