#include "PagerBinding.h"

#include <Tarveskon/PluginCall.h>
#include <ZoSupport/ProgramError.h>
#include <com/Bstr.h>
#include <framework/LeadingNumber.h>
#include <web/DomObjects.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

using tvsk::com::BstrFromUtf8;
using tvsk::com::Utf8FromBstr;

namespace
{

enum ControlKind : LONG
{
    KIND_TEXT = 2,
    KIND_SELECT = 3,
    KIND_BUTTON = 4,
    KIND_IMAGE = 5,
    KIND_RADIO = 6,
    KIND_CHECKBOX = 8,
    KIND_PRE = 9,
    KIND_ANCHOR = 11,
    KIND_TITLE = 12,
    KIND_PARAGRAPH = 13
};

constexpr int IDOK = 1;
// "The drive is not connected", of the host's string table.
constexpr UINT kNotConnectedText = 2132;
constexpr UINT kNotANumberText = 2150;
constexpr int IDCANCEL = 2;

long Arg(const void* pointer)
{
    return static_cast<long>(reinterpret_cast<intptr_t>(pointer));
}

// Owns a BSTR for one manager call.
struct Bstr
{
    BSTR s;
    explicit Bstr(const std::string& text) : s(BstrFromUtf8(text)) {}
    Bstr() : s(nullptr) {}
    ~Bstr() { SysFreeString(s); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    std::string Text() const { return s ? Utf8FromBstr(s) : std::string(); }
};

struct Variant
{
    VARIANT v;
    Variant() { VariantInit(&v); }
    ~Variant() { VariantClear(&v); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

VARIANT Real(double value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_R8;
    v.dblVal = value;
    return v;
}

VARIANT TextVariant(const CString& text)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = BstrFromUtf8(text.GetString());
    return v;
}

// A choice's value as a whole 16-bit number written with the type; absent, fractional or too
// large values are none.
bool WholeShort(const VARIANT& value, VARTYPE type, VARIANT& out)
{
    if (value.vt == VT_EMPTY || value.vt == VT_NULL)
        return false;
    double number = 0;
    if (value.vt == VT_BSTR)
    {
        if (!tvsk::WholeDouble(Utf8FromBstr(value.bstrVal), number))
            return false;
    }
    else
    {
        Variant real;
        if (FAILED(VariantChangeType(&real.v, &value, 0, VT_R8)))
            return false;
        number = real.v.dblVal;
    }
    if (number != std::trunc(number) || number < std::numeric_limits<SHORT>::min() ||
        number > std::numeric_limits<SHORT>::max())
        return false;
    VariantInit(&out);
    out.vt = type;
    if (type == VT_I4)
        out.lVal = static_cast<LONG>(number);
    else
        out.iVal = static_cast<SHORT>(number);
    return true;
}

} // namespace

void CPagerBinding::Attach(IJyHtml2Mng* manager)
{
    m_manager = manager;
    if (!m_manager)
        return;
    Refresh(true);
    LONG width = 0;
    LONG height = 0;
    if (SUCCEEDED(m_manager->get_DocumentXDim(&width)) && SUCCEEDED(m_manager->get_DocumentYDim(&height)) &&
        width > 0 && height > 0)
        m_view.ResizeTo(width, height);
    m_controls = 0;
    m_manager->get_ControlsNum(&m_controls);
    m_pollIndex = 0;
    m_focused.clear();
    ReadPeriod();
}

void CPagerBinding::Detach()
{
    if (m_manager)
        m_manager->RemoveAllControls();
    m_controls = 0;
    m_pollIndex = 0;
    m_focused.clear();
}

// A period under 10 ms would read the drive in a busy loop; text that is no whole number keeps it.
void CPagerBinding::ReadPeriod()
{
    Bstr general("GENERAL");
    Bstr key("REFRESH");
    Bstr text;
    if (FAILED(m_manager->get_HiddenAttribute(general.s, key.s, &text.s)) || !text.s)
        return;
    const std::string value = text.Text();
    int period = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), period);
    if (error != std::errc() || end != value.data() + value.size() || value.empty() || period < 0)
        return;
    m_period = std::max(period, kShortestPeriod);
}

void CPagerBinding::Refresh(bool rebuild)
{
    if (!m_manager)
        return;
    Bstr title("TITLE");
    Variant caption;
    if (SUCCEEDED(m_manager->get_ControlValue(title.s, &caption.v)) && caption.v.vt == VT_BSTR)
        m_view.SetCaption(CString(Utf8FromBstr(caption.v.bstrVal).c_str()));
    if (!m_host)
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return;
    }
    LONG count = 0;
    if (FAILED(m_manager->get_ControlsNum(&count)))
        return;
    if (rebuild)
    {
        PublishPageList();
        m_opMode = OpMode();
    }
    for (LONG i = 0; i < count; ++i)
    {
        Bstr name;
        Bstr id;
        Variant index;
        index.v.vt = VT_I4;
        index.v.lVal = i;
        LONG kind = 0;
        // A radio group has no id of its own; only buttons and texts need one.
        if (FAILED(m_manager->get_ControlName(i, &name.s)) ||
            FAILED(m_manager->get_ControlType(name.s, &kind)))
            continue;
        m_manager->get_ControlId(index.v, &id.s);
        const std::string text = name.Text();
        Fill(i, text, id.Text(), kind);
    }
}

// The host's page list becomes this page's controls (the host keeps those naming parameters).
void CPagerBinding::PublishPageList()
{
    LONG count = 0;
    if (!m_manager || !m_host || FAILED(m_manager->get_ControlsNum(&count)))
        return;
    m_host->SendCommand(HOSTCMD_CLEARPAGEPARS, 0, 0);
    for (LONG i = 0; i < count; ++i)
        if (const std::string name = ControlName(i); !name.empty())
            m_host->SendCommand(HOSTCMD_ADDPAGEPAR, Arg(name.c_str()), 0);
}

void CPagerBinding::Fill(LONG index, const std::string& name, const std::string& id, LONG kind)
{
    switch (kind)
    {
    case KIND_SELECT:
        ShowOptionTexts(name, id);
        ShowFileValue(name);
        break;
    case KIND_TEXT:
    case KIND_IMAGE:
    case KIND_RADIO:
    case KIND_CHECKBOX:
    case KIND_PRE:
    case KIND_ANCHOR:
        ShowFileValue(name);
        break;
    case KIND_BUTTON:
    {
        CString text;
        if (m_host->GetPrefixedString(id.c_str(), text))
        {
            Variant value;
            value.v = TextVariant(text);
            Put(name, value.v);
        }
        break;
    }
    case KIND_TITLE:
    case KIND_PARAGRAPH:
    {
        CString text;
        if (!m_host->GetPrefixedString(id.c_str(), text))
            break;
        Variant element;
        element.v.vt = VT_I4;
        element.v.lVal = index;
        Bstr value(text.GetString());
        m_manager->put_ControlText(element.v, value.s);
        if (kind == KIND_TITLE)
            m_view.SetCaption(text);
        break;
    }
    default:
        break;
    }
}

void CPagerBinding::ShowFileValue(const std::string& name)
{
    Variant value;
    if (m_host && m_host->GetParValue(name.c_str(), &value.v))
        Put(name, value.v);
}

void CPagerBinding::Put(const std::string& name, const VARIANT& value)
{
    Bstr key(name);
    LONG kind = 0;
    // Preformatted texts take text only.
    if (value.vt != VT_BSTR && SUCCEEDED(m_manager->get_ControlType(key.s, &kind)) && kind == KIND_PRE)
    {
        Variant text;
        if (SUCCEEDED(VariantChangeType(&text.v, &value, 0, VT_BSTR)))
            m_manager->put_ControlValue(key.s, text.v);
        return;
    }
    m_manager->put_ControlValue(key.s, value);
}

short CPagerBinding::OpMode() const
{
    short mode = -1;
    return m_host && m_host->GetOpMode(&mode) ? mode : -1;
}

// A new operating mode rebuilds the host's parameter table, which the page list points into.
void CPagerBinding::KeepListValid()
{
    if (OpMode() != m_opMode)
        Refresh(true);
}

int CPagerBinding::Tick()
{
    if (!m_host || !m_manager)
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return m_period;
    }
    SkipToPolledControl();
    if (m_pollIndex >= m_controls)
    {
        m_pollIndex = 0;
        SkipToPolledControl();
    }
    if (m_pollIndex >= m_controls)
        return m_period;
    const std::string name = ControlName(m_pollIndex++);
    Variant value;
    if (!m_host->IsConnected())
    {
        if (ShowsDriveState(name))
            ShowNotRead(name);
        else
            ShowFileValue(name);
    }
    else if (m_host->ReadPar(name.c_str(), &value.v) == HOSTRES_OK)
    {
        m_readFailed = false;
        Put(name, value.v);
        KeepListValid();
    }
    else
    {
        LinkFailed();
        return std::max(m_period, kRetryPeriod);
    }
    return m_period;
}

// A select whose id names a text gets that text's "|"-separated options, valued from 0 on.
void CPagerBinding::ShowOptionTexts(const std::string& name, const std::string& id)
{
    CString list;
    if (!m_host->GetPrefixedString(id.c_str(), list))
        return;
    Bstr key(name);
    m_manager->ResetSelect(key.s);
    std::string_view rest(list.GetString());
    for (long value = 0;; ++value)
    {
        const size_t end = rest.find('|');
        Variant text;
        text.v = TextVariant(CString(std::string(rest.substr(0, end)).c_str()));
        Variant number;
        number.v.vt = VT_I4;
        number.v.lVal = value;
        m_manager->AddSelectOption(key.s, text.v, number.v);
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
}

std::string CPagerBinding::ControlName(LONG index) const
{
    Bstr name;
    return SUCCEEDED(m_manager->get_ControlName(index, &name.s)) ? name.Text() : std::string();
}

// Moves the poll to the next control that shows a parameter, other than the focused field.
void CPagerBinding::SkipToPolledControl()
{
    for (; m_pollIndex < m_controls; ++m_pollIndex)
    {
        const std::string name = ControlName(m_pollIndex);
        if (!name.empty() && name != m_focused && m_host->ExistPar(name.c_str()) == 1)
            return;
    }
}

// A dead link fails every read for its time-out: the rest of the round is skipped and the next
// round starts over; the engineer hears of it once until a read succeeds again.
void CPagerBinding::LinkFailed()
{
    m_pollIndex = 0;
    if (m_readFailed)
        return;
    m_readFailed = true;
    ShowDriveStateNotRead();
    CString text;
    if (m_host->GetString(2065, text) && !text.IsEmpty())
        m_view.ShowRefusal(text);
}

bool CPagerBinding::ShowsDriveState(const std::string& name) const
{
    Bstr key(name);
    LONG kind = 0;
    if (SUCCEEDED(m_manager->get_ControlType(key.s, &kind)) && kind == KIND_PRE)
        return true;
    Bstr attribute("ATTRIBUTE");
    Bstr mark;
    return SUCCEEDED(m_manager->get_HiddenAttribute(key.s, attribute.s, &mark.s)) && mark.s &&
           mark.Text() == "ro";
}

void CPagerBinding::ShowNotRead(const std::string& name)
{
    Variant text;
    text.v = TextVariant("---");
    Put(name, text.v);
}

void CPagerBinding::ShowDriveStateNotRead()
{
    for (LONG i = 0; i < m_controls; ++i)
        if (const std::string name = ControlName(i);
            !name.empty() && m_host->ExistPar(name.c_str()) == 1 && ShowsDriveState(name))
            ShowNotRead(name);
}

void CPagerBinding::Focus(bool focused, const std::string& name)
{
    if (!focused)
    {
        if (name == m_focused)
            m_focused.clear();
        return;
    }
    LONG kind = 0;
    Bstr key(name);
    if (m_manager && SUCCEEDED(m_manager->get_ControlType(key.s, &kind)) &&
        (kind == KIND_CHECKBOX || kind == KIND_RADIO))
        return;
    m_focused = name;
}

HOSTRES CPagerBinding::Write(const std::string& name, VARIANT value)
{
    if (!m_host)
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return HOSTRES_FAILED;
    }
    CString stale;
    m_host->GetLastErrorText(stale);
    return m_host->SetParValue(name.c_str(), value, TRUE);
}

// The engineer sees a refused or failed write once; the poll would only swap the value back.
void CPagerBinding::Refuse(HOSTRES result)
{
    CString text;
    switch (result)
    {
    case HOSTRES_LIMITS:
        m_host->GetLastErrorText(text);
        if (text.IsEmpty())
            m_host->GetString(2048, text);
        break;
    case HOSTRES_NOTFOUND:
        m_host->GetString(2046, text);
        break;
    case HOSTRES_READONLY:
        m_host->GetString(2083, text);
        break;
    default:
        m_host->GetString(2051, text);
        break;
    }
    if (!text.IsEmpty())
        m_view.ShowRefusal(text);
}

void CPagerBinding::EnterClick(const std::string& name)
{
    if (!m_manager || !m_host)
        return;
    Bstr key(name);
    // The control reads only the leading number: the whole text must be one.
    std::string text;
    IDispatch* element = nullptr;
    if (SUCCEEDED(m_manager->get_HtmlElement(key.s, &element)) && element)
    {
        IDomElement* dom = nullptr;
        if (SUCCEEDED(element->QueryInterface(IDomElement::Iid, reinterpret_cast<void**>(&dom))) && dom)
        {
            text = dom->Element()->Value();
            dom->Release();
        }
        element->Release();
    }
    double number = 0;
    if (!tvsk::WholeDecimal(text, number))
    {
        CString notANumber;
        m_host->GetString(kNotANumberText, notANumber);
        m_view.ShowRefusal(notANumber);
        ShowFileValue(name);
        return;
    }
    const HOSTRES result = Write(name, Real(number));
    if (result == HOSTRES_OK)
    {
        ShowFileValue(name);
        KeepListValid();
        return;
    }
    Refuse(result);
    ShowFileValue(name);
}

void CPagerBinding::ChoiceChange(const std::string& name, const VARIANT& value)
{
    WriteChoice(name, value, VT_I2);
}

void CPagerBinding::ImageClick(const std::string& name, const VARIANT& value)
{
    WriteChoice(name, value, VT_I4);
}

void CPagerBinding::WriteChoice(const std::string& name, const VARIANT& value, VARTYPE type)
{
    Variant whole;
    CString stale;
    if (m_host)
        m_host->GetLastErrorText(stale);
    const HOSTRES result = WholeShort(value, type, whole.v) ? Write(name, whole.v) : HOSTRES_LIMITS;
    if (result != HOSTRES_OK)
    {
        if (m_host)
            Refuse(result);
        ShowFileValue(name);
        return;
    }
    KeepListValid();
}

void CPagerBinding::CheckboxChange(const std::string& name)
{
    if (!m_manager)
        return;
    Bstr key(name);
    Variant value;
    if (FAILED(m_manager->get_ControlValue(key.s, &value.v)))
        return;
    const HOSTRES result = Write(name, value.v);
    if (result != HOSTRES_OK && m_host)
    {
        Refuse(result);
        ShowFileValue(name);
        return;
    }
    KeepListValid();
}

void CPagerBinding::Command(const std::string& word, long window)
{
    if (word == "Ok")
        return m_view.Close(IDOK);
    if (word == "Cancel")
        return m_view.Close(IDCANCEL);
    if (!m_host)
    {
        ProgramError(__FILE__, __LINE__, word.c_str());
        return;
    }
    // Words that need the drive say so off line instead of doing nothing.
    if ((word == "ReadAll" || word == "WriteAll" || word == "SaveParameters") && !m_host->IsConnected())
    {
        CString text;
        m_host->GetString(kNotConnectedText, text);
        m_view.ShowRefusal(text);
        return;
    }
    if (word == "ReadAll" || word == "WriteAll")
    {
        // A nested page may have left its own list with the host.
        PublishPageList();
        m_view.BeginWait();
        m_host->SendCommand(word == "ReadAll" ? HOSTCMD_READALL : HOSTCMD_WRITEALL, 0, 0);
        m_view.EndWait();
        Refresh(false);
        return;
    }
    static const struct
    {
        const char* word;
        UINT code;
        bool withWindow;
    } words[] = {{"Connect", HOSTCMD_CONNECT, false},
                 {"ConfigConn", HOSTCMD_CONFIGCONN, false},
                 {"CompareWithFile", HOSTCMD_COMPAREWITHFILE, true},
                 {"CompareWithDrive", HOSTCMD_COMPAREWITHDRIVE, true},
                 {"GoOnline", HOSTCMD_GOONLINE, true},
                 {"DownlParams", HOSTCMD_DOWNLPARAMS, false},
                 {"DownlPlc", HOSTCMD_DOWNLPLC, false},
                 {"DownlCams", HOSTCMD_DOWNLCAMS, false},
                 {"SaveParameters", HOSTCMD_SAVEPARAMETERS, false},
                 {"SavePlc", HOSTCMD_SAVEPLC, false}};
    for (const auto& entry : words)
        if (word == entry.word)
        {
            m_host->SendCommand(entry.code, entry.withWindow ? window : 0, 0);
            return;
        }
    m_host->SendCommand(HOSTCMD_DRIVECMD, Arg(word.c_str()), 0);
}
