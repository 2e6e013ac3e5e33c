#include "JyHtml2Mng.h"

#include <cstdlib>

using namespace tvsk::com;

namespace
{

std::string NameOf(BSTR name)
{
    return Utf8FromBstr(name);
}

} // namespace

CJyHtml2Mng::CJyHtml2Mng() = default;

CJyHtml2Mng::~CJyHtml2Mng()
{
    // The wrappers go before the documents they listen to.
    CHtmlBinding::Lists dropped = m_binding.TakeAll();
}

const DispatchTable<CJyHtml2Mng>& CJyHtml2Mng::Dispatch()
{
    static const DispatchTable<CJyHtml2Mng> table =
        DispatchTable<CJyHtml2Mng>(
            InterfaceDescription(IJyHtml2Mng::Iid, "IJyHtml2Mng", "IJyHtml2Mng Interface"))
            .Get(1, "HtmlDocument", &CJyHtml2Mng::get_HtmlDocument,
                 "Set/Get the Html document on the control")
            .Put(1, "HtmlDocument", &CJyHtml2Mng::put_HtmlDocument,
                 "Set/Get the Html document on the control")
            .Get(2, "CommandFile", &CJyHtml2Mng::get_CommandFile, "Set/Get the command file on the control")
            .Put(2, "CommandFile", &CJyHtml2Mng::put_CommandFile, "Set/Get the command file on the control")
            .Get(3, "ControlValue", &CJyHtml2Mng::get_ControlValue,
                 "Set/Get the control value of the specified control")
            .Put(3, "ControlValue", &CJyHtml2Mng::put_ControlValue,
                 "Set/Get the control value of the specified control")
            .Get(4, "ControlColor", &CJyHtml2Mng::get_ControlColor,
                 "Set/Get the control color of the specified control")
            .Put(4, "ControlColor", &CJyHtml2Mng::put_ControlColor,
                 "Set/Get the control color of the specified control")
            .Get(5, "ControlDisabled", &CJyHtml2Mng::get_ControlDisabled,
                 "Set/Get the disable state of the specified control")
            .Put(5, "ControlDisabled", &CJyHtml2Mng::put_ControlDisabled,
                 "Set/Get the disable state of the specified control")
            .Method(6, "AddSelectOption", &CJyHtml2Mng::AddSelectOption,
                    "Add an option on a specified SELECT control")
            .Method(7, "ResetSelect", &CJyHtml2Mng::ResetSelect,
                    "Reset the content of the specified SELECT control")
            .Get(8, "HtmlElement", &CJyHtml2Mng::get_HtmlElement, "Get an Html element by name")
            .Method(9, "RemoveAllControls", &CJyHtml2Mng::RemoveAllControls,
                    "Remove all HTML associated controls")
            .Get(10, "DocumentXDim", &CJyHtml2Mng::get_DocumentXDim, "Get the document X dimension in pixel")
            .Get(11, "DocumentYDim", &CJyHtml2Mng::get_DocumentYDim, "Get the document Y dimension in pixel")
            .Get(12, "ControlType", &CJyHtml2Mng::get_ControlType, "Get the type of the control required")
            .Get(13, "ControlName", &CJyHtml2Mng::get_ControlName, "Get the name of the control required")
            .Get(14, "ControlsNum", &CJyHtml2Mng::get_ControlsNum, "Get the number of controls")
            .Get(15, "ControlTitle", &CJyHtml2Mng::get_ControlTitle, "Get the control title")
            .Put(15, "ControlTitle", &CJyHtml2Mng::put_ControlTitle, "Set the control title")
            .Get(16, "HiddenAttribute", &CJyHtml2Mng::get_HiddenAttribute, "Get the hidden attribute")
            .Put(16, "HiddenAttribute", &CJyHtml2Mng::put_HiddenAttribute, "Set the hidden attribute")
            .Get(17, "ControlText", &CJyHtml2Mng::get_ControlText, "property ControlText")
            .Put(17, "ControlText", &CJyHtml2Mng::put_ControlText, "property ControlText")
            .Get(18, "ControlId", &CJyHtml2Mng::get_ControlId, "property ControlId");
    return table;
}

HRESULT CJyHtml2Mng::get_HtmlDocument(IDispatch** document)
{
    if (!document)
        return E_POINTER;
    *document = nullptr;
    return S_OK;
}

HRESULT CJyHtml2Mng::put_HtmlDocument(IDispatch* document)
{
    if (!document)
        return E_FAIL;
    FireEvent(DISPID_OnBeforeSetDocument);
    ResetManager();
    ComPtr<IDomDocument> page;
    if (FAILED(document->QueryInterface(IDomDocument::Iid, reinterpret_cast<void**>(page.Receive()))) ||
        !page->Document())
        return E_FAIL;
    m_document = page;
    tvsk::web::DomDocument& top = *page->Document();
    if (top.FrameCount() < 1)
        m_binding.ScanDocument(top);
    else
        for (size_t i = 0; i < top.FrameCount(); ++i)
            m_binding.ScanDocument(*top.FrameAt(i));
    FireEvent(DISPID_OnAfterSetDocument);
    return S_OK;
}

HRESULT CJyHtml2Mng::get_CommandFile(BSTR* file)
{
    if (!file)
        return E_POINTER;
    *file = BstrFromUtf8(m_commandFile.value_or(std::string()));
    return S_OK;
}

HRESULT CJyHtml2Mng::put_CommandFile(BSTR file)
{
    m_commandFile = Utf8FromBstr(file);
    return S_OK;
}

CHtmlElemCtrl* CJyHtml2Mng::FirstControl(BSTR name) const
{
    int index = 0;
    return m_binding.FindControl(NameOf(name), index);
}

HRESULT CJyHtml2Mng::get_ControlValue(BSTR name, VARIANT* value)
{
    if (!value)
        return E_POINTER;
    VariantInit(value);
    if (const CHtmlRadioGroup* group = m_binding.FindRadioGroup(NameOf(name)))
        *value = group->GetValue();
    else if (m_current)
        *value = m_current->GetValue();
    else if (CHtmlElemCtrl* control = FirstControl(name))
        *value = control->GetValue();
    else
        return E_FAIL;
    return S_OK;
}

HRESULT CJyHtml2Mng::put_ControlValue(BSTR name, VARIANT value)
{
    const std::string wanted = NameOf(name);
    if (CHtmlRadioGroup* group = m_binding.FindRadioGroup(wanted))
    {
        group->SetValue(value);
        return S_OK;
    }
    bool found = false;
    for (int index = 0; index >= 0;)
    {
        CHtmlElemCtrl* control = m_binding.NextControl(wanted, index);
        if (!control)
            break;
        control->SetValue(value);
        found = true;
    }
    return found ? S_OK : E_FAIL;
}

HRESULT CJyHtml2Mng::get_ControlColor(BSTR name, OLE_COLOR* color)
{
    CHtmlElemCtrl* control = FirstControl(name);
    if (!control || !color)
        return E_FAIL;
    *color = control->GetColor();
    return S_OK;
}

HRESULT CJyHtml2Mng::put_ControlColor(BSTR name, OLE_COLOR color)
{
    CHtmlElemCtrl* control = FirstControl(name);
    if (!control)
        return E_FAIL;
    control->SetColor(color);
    return S_OK;
}

HRESULT CJyHtml2Mng::get_ControlDisabled(BSTR name, LONG* disabled)
{
    CHtmlElemCtrl* control = FirstControl(name);
    if (!control || !disabled)
        return E_FAIL;
    *disabled = control->GetDisabled();
    return S_OK;
}

HRESULT CJyHtml2Mng::put_ControlDisabled(BSTR name, LONG disabled)
{
    CHtmlElemCtrl* control = FirstControl(name);
    if (!control)
        return E_FAIL;
    control->SetDisabled(disabled);
    return S_OK;
}

HRESULT CJyHtml2Mng::AddSelectOption(BSTR name, VARIANT text, VARIANT value)
{
    CHtmlVariant optionText, optionValue;
    if (FAILED(CHtmlElemCtrl::ConvertValue(&optionText.v, &text, VT_BSTR)) ||
        FAILED(CHtmlElemCtrl::ConvertValue(&optionValue.v, &value, VT_BSTR)))
        return S_OK;
    const std::string wanted = NameOf(name);
    for (int index = 0; index >= 0;)
    {
        auto* select = dynamic_cast<CHtmlSelectCtrl*>(m_binding.NextControl(wanted, index));
        if (select)
            select->AddOption(Utf8FromBstr(optionText.v.bstrVal), Utf8FromBstr(optionValue.v.bstrVal));
    }
    return S_OK;
}

HRESULT CJyHtml2Mng::ResetSelect(BSTR name)
{
    const std::string wanted = NameOf(name);
    for (int index = 0; index >= 0;)
        if (auto* select = dynamic_cast<CHtmlSelectCtrl*>(m_binding.NextControl(wanted, index)))
            select->RemoveAllOptions();
    return S_OK;
}

HRESULT CJyHtml2Mng::get_HtmlElement(BSTR name, IDispatch** element)
{
    CHtmlElemCtrl* control = FirstControl(name);
    if (!control || !element)
        return E_FAIL;
    *element = control->GetDispatch();
    return S_OK;
}

HRESULT CJyHtml2Mng::RemoveAllControls()
{
    ResetManager();
    return S_OK;
}

HRESULT CJyHtml2Mng::DocumentDim(const char* key, LONG* dim)
{
    if (!dim)
        return E_POINTER;
    BSTR name = BstrFromUtf8("GENERAL");
    BSTR attribute = BstrFromUtf8(key);
    BSTR text = nullptr;
    const HRESULT hr = get_HiddenAttribute(name, attribute, &text);
    *dim = SUCCEEDED(hr) ? static_cast<LONG>(std::strtol(Utf8FromBstr(text).c_str(), nullptr, 10)) : -1;
    SysFreeString(text);
    SysFreeString(attribute);
    SysFreeString(name);
    return SUCCEEDED(hr) ? S_OK : E_FAIL;
}

HRESULT CJyHtml2Mng::get_DocumentXDim(LONG* dim)
{
    return DocumentDim("DocDimX", dim);
}

HRESULT CJyHtml2Mng::get_DocumentYDim(LONG* dim)
{
    return DocumentDim("DocDimY", dim);
}

HRESULT CJyHtml2Mng::get_ControlType(BSTR name, LONG* kind)
{
    if (!kind)
        return E_POINTER;
    if (const CHtmlRadioGroup* group = m_binding.FindRadioGroup(NameOf(name)))
    {
        *kind = group->Members().GetCount() > 0 ? HTMLCTRL_RADIO : 0;
        return S_OK;
    }
    CHtmlElemCtrl* control = FirstControl(name);
    if (!control)
        return E_FAIL;
    *kind = control->Kind();
    return S_OK;
}

HRESULT CJyHtml2Mng::get_ControlName(LONG index, BSTR* name)
{
    if (!name || index < 0)
        return E_FAIL;
    const LONG controls = m_binding.Controls().GetCount();
    if (index < controls)
        *name = BstrFromUtf8(m_binding.Controls().GetAt(index)->Name());
    else if (const CHtmlRadioGroup* group = m_binding.RadioGroups().GetAt(index - controls))
        *name = BstrFromUtf8(group->Name());
    else
        return E_FAIL;
    return S_OK;
}

HRESULT CJyHtml2Mng::get_ControlsNum(LONG* count)
{
    if (!count)
        return E_POINTER;
    *count = m_binding.Controls().GetCount() + m_binding.RadioGroups().GetCount();
    return S_OK;
}

HRESULT CJyHtml2Mng::get_ControlTitle(BSTR name, BSTR* title)
{
    CHtmlElemCtrl* control = FirstControl(name);
    if (!control || !title)
        return E_FAIL;
    *title = BstrFromUtf8(control->GetTitle());
    return S_OK;
}

HRESULT CJyHtml2Mng::put_ControlTitle(BSTR name, BSTR title)
{
    CHtmlElemCtrl* control = FirstControl(name);
    if (!control)
        return E_FAIL;
    control->SetTitle(Utf8FromBstr(title));
    return S_OK;
}

std::optional<std::string> CJyHtml2Mng::HiddenAttribute(const std::string& name, const std::string& key)
{
    const CHtmlHiddenCtrl* hidden = m_binding.FindHidden(name);
    return hidden ? hidden->GetAttribute(key) : std::nullopt;
}

HRESULT CJyHtml2Mng::get_HiddenAttribute(BSTR name, BSTR attribute, BSTR* value)
{
    if (!value)
        return E_POINTER;
    const std::optional<std::string> found = HiddenAttribute(NameOf(name), Utf8FromBstr(attribute));
    if (!found)
        return E_FAIL;
    *value = BstrFromUtf8(*found);
    return S_OK;
}

HRESULT CJyHtml2Mng::put_HiddenAttribute(BSTR name, BSTR attribute, BSTR value)
{
    CHtmlHiddenCtrl* hidden = m_binding.FindHidden(NameOf(name));
    if (!hidden || !hidden->SetAttribute(Utf8FromBstr(attribute), Utf8FromBstr(value)))
        return E_FAIL;
    return S_OK;
}

CHtmlElemCtrl* CJyHtml2Mng::ControlOf(const VARIANT& element) const
{
    const VARIANT& given =
        element.vt == (VT_BYREF | VT_VARIANT) && element.pvarVal ? *element.pvarVal : element;
    if (given.vt == VT_BSTR)
        return FirstControl(given.bstrVal);
    // Any number selects by position, whatever its type.
    CHtmlVariant index;
    if (FAILED(VariantChangeType(&index.v, &given, 0, VT_I4)))
        return nullptr;
    return m_binding.Controls().GetAt(index.v.lVal);
}

HRESULT CJyHtml2Mng::get_ControlText(VARIANT element, BSTR* text)
{
    CHtmlElemCtrl* control = ControlOf(element);
    if (!control || !text)
        return E_FAIL;
    *text = BstrFromUtf8(control->GetText());
    return S_OK;
}

HRESULT CJyHtml2Mng::put_ControlText(VARIANT element, BSTR text)
{
    CHtmlElemCtrl* control = ControlOf(element);
    if (!control)
        return E_FAIL;
    control->SetText(Utf8FromBstr(text));
    return S_OK;
}

HRESULT CJyHtml2Mng::get_ControlId(VARIANT element, BSTR* id)
{
    CHtmlElemCtrl* control = ControlOf(element);
    if (!control || !id)
        return E_FAIL;
    *id = BstrFromUtf8(control->GetId());
    return S_OK;
}

HRESULT CJyHtml2Mng::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    if (points)
        *points = nullptr;
    return E_NOTIMPL;
}

HRESULT CJyHtml2Mng::FindConnectionPoint(REFIID iid, IConnectionPoint** point)
{
    return FindConnectionPointIn({&m_events}, iid, point);
}

HRESULT CJyHtml2Mng::InterfaceSupportsErrorInfo(REFIID iid)
{
    return iid == IJyHtml2Mng::Iid ? S_OK : S_FALSE;
}

void CJyHtml2Mng::FireEvent(DISPID id, std::initializer_list<VARIANT> arguments)
{
    // A sink may release the host's last reference to this manager.
    const ComPtr<IJyHtml2Mng> self(this);
    m_events.Fire(id, std::span<const VARIANT>(arguments.begin(), arguments.size()));
}

void CJyHtml2Mng::EnterEvent()
{
    AddRef();
    ++m_eventDepth;
}

void CJyHtml2Mng::LeaveEvent()
{
    if (--m_eventDepth == 0)
        m_retired.clear();
    Release();
}

void CJyHtml2Mng::ResetManager()
{
    FireEvent(DISPID_OnResetManager);
    m_commandFile.reset();
    m_current = nullptr;
    Retired dropped{std::move(m_document), m_binding.TakeAll()};
    if (m_eventDepth > 0)
    {
        dropped.lists.Disconnect();
        m_retired.push_back(std::move(dropped));
    }
}
