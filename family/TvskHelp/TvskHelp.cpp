// TvskHelp: the help plug-in. Commands 2 and 4 keep the parent and the topic's page; 3 opens or
// raises a tool window browsing that page; 6 goes to an element's anchor on it, or to its top.
#include <Modlode/PluginImpl.h>
#include <uiext/HtmlWnd.h>
#include <uiext/ToolWnd.h>
#include <ui/Language.h>

#include <framework/CString.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace
{

// Whether the page names the anchor; a request for one it lacks opens the page at its top.
bool HasAnchor(const CString& page, const char* anchor)
{
    std::ifstream in(page.GetString(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string html = text.str();
    return html.find(std::string("id=\"") + anchor + "\"") != std::string::npos ||
           html.find(std::string("name=\"") + anchor + "\"") != std::string::npos;
}

constexpr unsigned kSetParent = 2;
constexpr unsigned kRun = 3;
constexpr unsigned kSetTopic = 4;
constexpr unsigned kHelp = 6;

// The tool window: a browser filling its client area.
class CHelpWnd : public CToolWnd
{
public:
    void Show(const CString& url)
    {
        if (!GetSafeHwnd())
        {
            Create(AfxTranslatedText("Help"), CRect(80, 80, 680, 580), nullptr, 0);
            CRect client;
            GetClientRect(&client);
            m_browser.Create(nullptr, WS_CHILD | WS_VISIBLE, client, this, 1);
        }
        m_browser.Navigate(url);
        ShowWindow(SW_SHOW);
    }

protected:
    void OnSize(UINT type, int cx, int cy) override
    {
        CToolWnd::OnSize(type, cx, cy);
        if (m_browser.GetSafeHwnd())
            m_browser.MoveWindow(0, 0, cx, cy);
    }

private:
    CHtmlWnd m_browser;
};

class CTvskHelp : public CPluginImpl
{
public:
    ~CTvskHelp() override
    {
        if (m_window && m_window->GetSafeHwnd())
            m_window->DestroyWindow();
    }

    const char* GetClassName() override { return "TvskHelpClass"; }

    int SendCommand(unsigned code, intptr_t param1, intptr_t) override
    {
        switch (code)
        {
        case kSetParent:
            m_pParent = reinterpret_cast<CWnd*>(param1);
            return 0;
        case kSetTopic:
            m_topic = param1 ? reinterpret_cast<const char*>(param1) : "";
            return 0;
        case kRun:
            Show(m_topic);
            return 0;
        case kHelp:
            if (const char* anchor = reinterpret_cast<const char*>(param1))
                Show(*anchor && HasAnchor(m_topic, anchor) ? m_topic + "#" + anchor : m_topic);
            return 0;
        default:
            return 1;
        }
    }

private:
    void Show(const CString& url)
    {
        if (m_topic.IsEmpty())
            return;
        if (!m_window)
            m_window = std::make_unique<CHelpWnd>();
        m_window->Show(url);
    }

    CWnd* m_pParent = nullptr;
    CString m_topic;
    std::unique_ptr<CHelpWnd> m_window;
};

} // namespace

extern "C" CPluginImpl* CreatePluginClass()
{
    return new CTvskHelp;
}

extern "C" const char* GetPluginName()
{
    return "TvskHelp";
}
