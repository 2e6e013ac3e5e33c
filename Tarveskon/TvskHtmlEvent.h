// The element event sinks of the program's pages: each turns the data manager's events into the
// window messages of its page (main, status, drive selection, motor selection).
#pragma once

#include "ImpIDispatch.h"

#include <htmlbind/JyHtml2.h>

#include <optional>

class CWnd;

// What the main page sink asks of its page window directly.
class CTvskHtmlPage
{
public:
    virtual ~CTvskHtmlPage() = default;
    // value: the select's value as a whole 16-bit number, none when absent or not one.
    virtual void SelectChange(const char* name, std::optional<short> value) = 0;
    virtual void TextEnter(const char* name) = 0;
};

class CHtmlEventSink : public CImpIDispatch
{
public:
    // Binds the sink to the page's data manager, the page window and (drive and motor pages) the
    // dialog; until then every event is ignored.
    void Arm(IJyHtml2Mng* manager, CWnd* window, CWnd* dialog = nullptr);
    void Disarm() { Arm(nullptr, nullptr, nullptr); }

protected:
    const IID& EventIid() const override { return DIID__IJyHtml2MngEvents; }
    // The event's second argument as text; none when the event has fewer than two arguments.
    static std::optional<std::string> ValueText(const DISPPARAMS* params);

    IJyHtml2Mng* m_pManager = nullptr;
    CWnd* m_pWnd = nullptr;
    CWnd* m_pDialog = nullptr;
};

// Main page: the id conventions "btnStartWiz", "CMD#", "PAGE#", "PLUGIN#", "HELP#", "EXE#".
class CTvskHtmlEvent : public CHtmlEventSink
{
public:
    void SetPage(CTvskHtmlPage* page) { m_pPage = page; }

protected:
    void OnEvent(DISPID id, const char* text, DISPPARAMS* params) override;

private:
    void Click(CWnd* dialog, const char* name);
    CTvskHtmlPage* m_pPage = nullptr;
};

// Status page: ignores every event.
class CTvskHtmlEventStatus : public CHtmlEventSink
{
protected:
    void OnEvent(DISPID, const char*, DISPPARAMS*) override {}
};

// Drive selection page: "CMD#", select changes and help.
class CDriveHtmlEvent : public CHtmlEventSink
{
protected:
    void OnEvent(DISPID id, const char* text, DISPPARAMS* params) override;
    // A click on name; true when handled.
    bool Command(const char* name);
};

// Motor selection page: as the drive page, with "PLUGIN#" and radio changes.
class CMotorHtmlEvent : public CDriveHtmlEvent
{
protected:
    void OnEvent(DISPID id, const char* text, DISPPARAMS* params) override;
};

// Sends WM_HTML_PLUGIN for the rest of a "PLUGIN#" id ("module" or "module_page").
void SendPluginRequest(CWnd* target, const char* rest);
