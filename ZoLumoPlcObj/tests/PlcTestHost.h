// A host that keeps PLC instructions the way the parameter database does.
#pragma once

#include <Tarveskon/PluginIntf.h>

#include <com/Variant.h>
#include <framework/CString.h>

#include <array>
#include <string>
#include <vector>

class PlcTestHost : public CPluginIntf
{
public:
    struct Instr
    {
        std::string text;
        std::array<int, 3> operands;
        bool operator==(const Instr&) const = default;
    };

    HOSTRES SetParValue(const char*, VARIANT, BOOL) override { return HOSTRES_NOTAVAIL; }
    HOSTRES WritePar(const char*, VARIANT) override { return HOSTRES_NOTAVAIL; }

    int GetPlcMaxLen() override { return capacity; }
    BOOL IsPlcTerminated() override { return !program.empty() && program.back().text == "END"; }
    void ResetPlc() override
    {
        ++resets;
        program.clear();
    }
    BOOL GetPlcInstr(int i, CString& text, int operands[3]) override
    {
        if (i < 0 || i >= static_cast<int>(program.size()))
            return FALSE;
        text = program[static_cast<size_t>(i)].text.c_str();
        for (int k = 0; k < 3; ++k)
            operands[k] = program[static_cast<size_t>(i)].operands[static_cast<size_t>(k)];
        return TRUE;
    }
    int SetPlcInstr(int i, const char* text, const int operands[3]) override
    {
        if (i < 0 || i > static_cast<int>(program.size()))
            return HOSTRES_INVALID;
        if (i == refuseAt)
            return HOSTRES_INVALID;
        Instr instr{std::string(text).substr(0, 100), {operands[0], operands[1], operands[2]}};
        if (i == static_cast<int>(program.size()))
            program.push_back(instr);
        else
            program[static_cast<size_t>(i)] = instr;
        return HOSTRES_OK;
    }

    std::vector<Instr> program;
    int capacity = 128;
    int resets = 0;
    int refuseAt = -1;
};
