// Sample ladder programs read the way the editor reads them: instruction-list text or the drive
// type's stored instructions, laid out by the ladder generator.
#pragma once

#include <ZoLumoPlcObj/LumoPlcCodeGen.h>
#include <ZoLumoPlcObj/PlcFBDCode.h>

#include <Tarveskon/PluginIntf.h>
#include <com/Variant.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

class CLadderTestHost : public CPluginIntf
{
public:
    struct Instr
    {
        CString text;
        int operands[3];
    };

    HOSTRES SetParValue(const char*, VARIANT, BOOL) override { return HOSTRES_NOTAVAIL; }
    HOSTRES WritePar(const char*, VARIANT) override { return HOSTRES_NOTAVAIL; }
    int GetPlcMaxLen() override { return 1 << 20; }
    void ResetPlc() override { program.clear(); }
    BOOL GetPlcInstr(int i, CString& text, int operands[3]) override
    {
        if (i < 0 || i >= static_cast<int>(program.size()))
            return FALSE;
        text = program[static_cast<size_t>(i)].text;
        for (int k = 0; k < 3; ++k)
            operands[k] = program[static_cast<size_t>(i)].operands[k];
        return TRUE;
    }
    int SetPlcInstr(int i, const char* text, const int operands[3]) override
    {
        if (i != static_cast<int>(program.size()))
            return HOSTRES_INVALID;
        program.push_back({CString(text), {operands[0], operands[1], operands[2]}});
        return HOSTRES_OK;
    }

    // The PLC rows of a drive type's parameter file.
    bool ReadParFile(const char* path)
    {
        std::ifstream file(path);
        std::string line;
        while (std::getline(file, line))
        {
            if (line.rfind("PLC\t", 0) != 0)
                continue;
            std::istringstream fields(line.substr(4));
            std::string quoted;
            std::getline(fields, quoted, '\t');
            Instr instr{CString(quoted.substr(1, quoted.size() - 2).c_str()), {-1, -1, -1}};
            fields >> instr.operands[0] >> instr.operands[1] >> instr.operands[2];
            program.push_back(instr);
        }
        return !program.empty();
    }

    std::vector<Instr> program;
};

inline std::string ReadTextFile(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}
