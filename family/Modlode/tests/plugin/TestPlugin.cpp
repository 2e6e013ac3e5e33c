// A plug-in module that records every command in the shared journal (built under two names).
#include "TestPluginJournal.h"

#include <Modlode/PluginImpl.h>

namespace
{

namespace journal = tvsk::testplugin;

constexpr const char* kModule = TVSK_TEST_PLUGIN_NAME;

class TestPluginObject : public CPluginImpl
{
public:
    TestPluginObject() { journal::Record(std::string(kModule) + " create"); }
    ~TestPluginObject() override { journal::Record(std::string(kModule) + " delete"); }

    const char* GetClassName() override { return m_className.c_str(); }

    int SendCommand(unsigned code, intptr_t param1, intptr_t param2) override
    {
        journal::Command command{kModule, code, param1, param2, {}};
        if ((code == 3 || code == 4 || code == 6) && param1 != 0)
            command.text = reinterpret_cast<const char*>(param1);
        journal::RecordCommand(command);
        if (code == 8 && param1 != 0)
            *reinterpret_cast<int*>(param1) = journal::ResultQueryAnswer();
        return 0;
    }

private:
    std::string m_className = std::string(kModule) + "Class";
};

// Destroyed when the module is unloaded: the journal shows whether objects died first.
struct UnloadMark
{
    ~UnloadMark() { journal::Record(std::string(kModule) + " unload"); }
} g_unloadMark;

} // namespace

extern "C" CPluginImpl* CreatePluginClass()
{
    if (journal::MakesNoObject())
        return nullptr;
    return new TestPluginObject;
}

extern "C" const char* GetPluginName()
{
    return kModule;
}
