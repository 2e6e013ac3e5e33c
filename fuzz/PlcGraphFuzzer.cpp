// Instruction-list text laid out as ladder networks and imported into the ladder editor's model,
// then written in the graph text form and probed at every grid point of its networks.
#include "PlcHost.h"

#include <TvskLumoPlc/graph/LDManager.h>
#include <TvskLumoPlc/graph/tests/GraphTestSupport.h>

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
    std::unique_ptr<CPlcFBDCode> code(doc.GenerateLDCode());
    if (!code)
        return 0;
    CLDManager manager;
    CFakeOwner owner(manager);
    for (auto* network : PlcObjects<CPlcLDNetwork>(*code))
        manager.CreateNetworkFromObject(network, FakeParent());
    CString form;
    manager.GetText(form);
    for (int i = 0; i < manager.GetNetworkCount(); ++i)
    {
        CGraphNetworkIntf* network = manager.GetNetwork(i);
        const CRect used = manager.GetUsedRect(network);
        GRAPH_HIT hit;
        for (int y = used.top; y <= used.bottom && y - used.top < 64; ++y)
            for (int x = used.left; x <= used.right && x - used.left < 64; ++x)
                manager.HitTest(network, x, y, hit);
        manager.NormalizePositions(network);
    }
    manager.RemoveAllNetworks();
    return 0;
}
