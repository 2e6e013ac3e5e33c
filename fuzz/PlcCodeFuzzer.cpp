// PLC code words as a drive hands them over (16-bit words, little endian; long instructions take
// two): disassembled, placed in a ladder document and converted to networks.
#include "FuzzInput.h"
#include "PlcHost.h"

#include <ZoLumoPlcObj/LumoPlcCodeGen.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::InputBytes input(data, size);
    fuzz::PlcHost host;
    CLumoPlcCodeGen gen;
    gen.SetPluginIntf(&host);
    while (!input.Empty() && host.program.size() < 512)
    {
        unsigned long code = input.Byte() | (static_cast<unsigned long>(input.Byte()) << 8);
        CString mnemonic;
        int operands[3];
        if (!gen.Disassemble(code, mnemonic, operands))
            continue;
        bool isLong = false;
        if (CLumoPlcCodeGen::GetInstrLen(mnemonic, isLong) && isLong)
        {
            code |= (static_cast<unsigned long>(input.Byte()) << 16) |
                    (static_cast<unsigned long>(input.Byte()) << 24);
            gen.Disassemble(code, mnemonic, operands);
        }
        host.program.push_back({mnemonic.GetString(), {operands[0], operands[1], operands[2]}});
    }
    host.program.push_back({"END", {-1, -1, -1}});
    CLDLogicDoc doc;
    if (gen.GenerateLogicDoc(&doc))
        fuzz::ConvertNets(doc);
    return 0;
}
