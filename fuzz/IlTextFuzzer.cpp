// Instruction-list text: read into a ladder document, written back, converted to networks.
#include "FuzzInput.h"
#include "PlcHost.h"

#include <ZoLumoPlcObj/LumoPlcCodeGen.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    fuzz::PlcHost host;
    CLumoPlcCodeGen gen;
    gen.SetPluginIntf(&host);
    CLDLogicDoc doc;
    if (!gen.LoadILSource(text.c_str(), &doc))
        return 0;
    CString written;
    gen.GenerateILSource(&doc, written);
    if (gen.GenerateRecords(&doc))
        gen.GetCodeLen(&doc);
    fuzz::ConvertNets(doc);
    return 0;
}
