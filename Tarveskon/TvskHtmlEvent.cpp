// The element event sinks of the program's pages.
#include "TvskHtmlEvent.h"

#include "PluginCall.h"
#include "TvskMessages.h"

#include <framework/LeadingNumber.h>
#include <ui/App.h>
#include <ui/HelpInfo.h>
#include <ui/Wnd.h>

#include <cmath>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

namespace
{

bool StartsWith(const char* text, const char* prefix)
{
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

LPARAM TextParam(const char* text)
{
    return reinterpret_cast<LPARAM>(text);
}

// A whole number within 16 bits, from the whole text.
std::optional<short> Whole16(const std::optional<std::string>& text)
{
    double value = 0.0;
    if (!text || !tvsk::WholeDouble(*text, value) || value != std::floor(value) || value < -32768.0 ||
        value > 32767.0)
        return std::nullopt;
    return static_cast<short>(value);
}

bool BeginsWithDigit(const char* text)
{
    return *text >= '0' && *text <= '9';
}

} // namespace

void CHtmlEventSink::Arm(IJyHtml2Mng* manager, CWnd* window, CWnd* dialog)
{
    m_pManager = manager;
    m_pWnd = window;
    m_pDialog = dialog;
}

std::optional<std::string> CHtmlEventSink::ValueText(const DISPPARAMS* params)
{
    if (!params || params->cArgs < 2)
        return std::nullopt;
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, &params->rgvarg[params->cArgs - 2], 0, VT_BSTR)))
        return std::nullopt;
    std::string value = tvsk::com::Utf8FromBstr(text.bstrVal);
    VariantClear(&text);
    return value;
}

void SendPluginRequest(CWnd* target, const char* rest)
{
    std::vector<std::string> parts;
    std::string text(rest);
    for (size_t start = 0;;)
    {
        const size_t end = text.find('_', start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    PLUGIN_CALL call{parts[0].c_str(), 0, parts.size() == 2 ? parts[1].c_str() : nullptr};
    target->SendMessage(WM_HTML_PLUGIN, 0, reinterpret_cast<LPARAM>(&call));
}

void CTvskHtmlEvent::OnEvent(DISPID id, const char* text, DISPPARAMS* params)
{
    CWnd* dialog = AfxGetMainWnd();
    if (!m_pWnd || !dialog)
        return;
    const char* name = text ? text : "";
    switch (id)
    {
    case DISPID_OnElementOver:
        m_pWnd->SendMessage(WM_ELEMENT_OVER, 0, TextParam(name));
        break;
    case DISPID_OnElementOut:
        m_pWnd->SendMessage(WM_ELEMENT_OUT, 0, TextParam(name));
        break;
    case DISPID_OnElementHelp:
        dialog->SendMessage(WM_HTML_HELP, 0, TextParam(name));
        break;
    case DISPID_OnButtonClick:
    case DISPID_OnImageClick:
        Click(dialog, name);
        break;
    case DISPID_OnTextEnter:
        if (m_pPage)
            m_pPage->TextEnter(name);
        break;
    case DISPID_OnSelectChange:
        if (strcasecmp(name, "selLanguage") == 0)
        {
            const std::optional<short> index = Whole16(ValueText(params));
            dialog->PostMessage(WM_SELECT_LANGUAGE, 0, index ? *index : -1);
        }
        else if (m_pPage)
        {
            m_pPage->SelectChange(name, Whole16(ValueText(params)));
        }
        break;
    case DISPID_OnAnchorClick:
        dialog->SendMessage(WM_HTML_TAGCOMMAND, 0, TextParam(name));
        break;
    case DISPID_OnDocumentHelp:
        dialog->SendMessage(WM_HTML_HELP, 1, 0);
        break;
    default:
        break;
    }
}

void CTvskHtmlEvent::Click(CWnd* dialog, const char* name)
{
    if (strcasecmp(name, "btnStartWiz") == 0)
    {
        dialog->PostMessage(WM_COMMAND, ID_START_WIZARD, 0);
        return;
    }
    if (StartsWith(name, "CMD#"))
        dialog->SendMessage(WM_HTML_COMMAND, 0, TextParam(name + 4));
    if (StartsWith(name, "PAGE#"))
        dialog->SendMessage(WM_HTML_PAGE, 0, TextParam(name + 5));
    if (StartsWith(name, "PLUGIN#"))
        SendPluginRequest(dialog, name + 7);
    if (StartsWith(name, "HELP#"))
        dialog->SendMessage(WM_HTML_HELP, 0, TextParam(name + 5));
    if (StartsWith(name, "EXE#"))
        dialog->SendMessage(WM_HTML_EXE, 0, TextParam(name + 4));
}

bool CDriveHtmlEvent::Command(const char* name)
{
    if (!StartsWith(name, "CMD#"))
        return false;
    const char* rest = name + 4;
    // A rest that begins with a digit is a command id: its leading number.
    if (BeginsWithDigit(rest))
        m_pDialog->PostMessage(WM_COMMAND, static_cast<WPARAM>(std::strtoul(rest, nullptr, 10)), 0);
    else
        m_pDialog->SendMessage(WM_HTML_COMMAND, 0, TextParam(rest));
    return true;
}

void CDriveHtmlEvent::OnEvent(DISPID id, const char* text, DISPPARAMS* params)
{
    if (!m_pWnd || !m_pDialog)
        return;
    const char* name = text ? text : "";
    switch (id)
    {
    case DISPID_OnElementHelp:
        m_pWnd->SendMessage(WM_HTML_HELP, 0, TextParam(name));
        break;
    case DISPID_OnButtonClick:
    case DISPID_OnImageClick:
        Command(name);
        break;
    case DISPID_OnSelectChange:
    {
        const std::optional<std::string> value = ValueText(params);
        HTML_SELCHANGE change{name, value ? value->c_str() : nullptr};
        m_pWnd->SendMessage(WM_HTML_SELCHANGE, 0, reinterpret_cast<LPARAM>(&change));
        break;
    }
    case DISPID_OnDocumentHelp:
    {
        HELPINFO info;
        info.hItemHandle = m_pWnd->GetSafeHwnd();
        m_pWnd->SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        break;
    }
    default:
        break;
    }
}

void CMotorHtmlEvent::OnEvent(DISPID id, const char* text, DISPPARAMS* params)
{
    if (!m_pWnd || !m_pDialog)
        return;
    const char* name = text ? text : "";
    if ((id == DISPID_OnButtonClick || id == DISPID_OnImageClick) && StartsWith(name, "PLUGIN#"))
    {
        SendPluginRequest(m_pDialog, name + 7);
        return;
    }
    if (id == DISPID_OnRadioChange)
    {
        const std::optional<std::string> value = ValueText(params);
        HTML_SELCHANGE change{name, value ? value->c_str() : nullptr};
        m_pWnd->SendMessage(WM_HTML_RADIOCHANGE, 0, reinterpret_cast<LPARAM>(&change));
        return;
    }
    CDriveHtmlEvent::OnEvent(id, text, params);
}
