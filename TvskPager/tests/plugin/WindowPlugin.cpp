// A plug-in module that leaves a window open when it runs, recording its commands, the window's
// end, its widget's deletion (by code of this module), the object's end and the module's
// unloading in the shared journal.
#include "TestPluginJournal.h"

#include <Modlode/PluginImpl.h>
#include <ui/Wnd.h>

#include <QWidget>

namespace
{

namespace journal = tvsk::testplugin;

constexpr const char* kModule = "TvskPagerWindowTest";

class LeftOpenWnd : public CWnd
{
protected:
    void OnDestroy() override
    {
        journal::Record(std::string(kModule) + " window destroyed");
        CWnd::OnDestroy();
    }
};

class WindowPluginObject : public CPluginImpl
{
public:
    ~WindowPluginObject() override
    {
        if (m_window.GetSafeHwnd())
            m_window.DestroyWindow();
        journal::Record(std::string(kModule) + " delete");
    }

    const char* GetClassName() override { return "TvskPagerWindowTestClass"; }

    int SendCommand(unsigned code, intptr_t param1, intptr_t param2) override
    {
        journal::Command command{kModule, code, param1, param2, {}};
        if (code == 4 && param1 != 0)
            command.text = reinterpret_cast<const char*>(param1);
        journal::RecordCommand(command);
        if (code == 2)
            m_parent = reinterpret_cast<CWnd*>(param1);
        if (code == 3 && !m_window.GetSafeHwnd() &&
            m_window.CreateEx(0, nullptr, "left open", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                              CRect(0, 0, 200, 100), m_parent, 0))
            QObject::connect(m_window.GetWidget(), &QObject::destroyed,
                             [] { journal::Record(std::string(kModule) + " widget deleted"); });
        return 0;
    }

private:
    CWnd* m_parent = nullptr;
    LeftOpenWnd m_window;
};

// Destroyed when the module is unloaded.
struct UnloadMark
{
    ~UnloadMark() { journal::Record(std::string(kModule) + " unload"); }
} g_unloadMark;

} // namespace

extern "C" __attribute__((visibility("default"))) CPluginImpl* CreatePluginClass()
{
    return new WindowPluginObject;
}

extern "C" __attribute__((visibility("default"))) const char* GetPluginName()
{
    return kModule;
}
