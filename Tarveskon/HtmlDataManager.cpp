// A page window's HTML data manager.
#include "HtmlDataManager.h"

#include <ZoSupport/SortMap.h>
#include <framework/LeadingNumber.h>

#include <algorithm>
#include <utility>
#include <com/ComRuntime.h>
#include <com/ConnectionAdvise.h>
#include <uiext/HtmlWnd.h>
#include <web/DomObjects.h>

namespace
{

struct Bstr
{
    BSTR s;
    explicit Bstr(const char* text) : s(tvsk::com::BstrFromUtf8(text ? text : "")) {}
    ~Bstr() { SysFreeString(s); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
};

CString TakeText(BSTR text)
{
    CString result(tvsk::com::Utf8FromBstr(text).c_str());
    SysFreeString(text);
    return result;
}

} // namespace

HRESULT CHtmlDataManager::Create(CHtmlEventSink& sink)
{
    Release();
    const HRESULT hr = CoCreateInstance(CLSID_JyHtml2Mng, nullptr, CLSCTX_INPROC_SERVER, IJyHtml2Mng::Iid,
                                        reinterpret_cast<void**>(&m_pManager));
    if (FAILED(hr))
    {
        m_pManager = nullptr;
        return hr;
    }
    if (AfxConnectionAdvise(m_pManager, DIID__IJyHtml2MngEvents, &sink, FALSE, &m_dwCookie))
        m_pSink = &sink;
    return S_OK;
}

void CHtmlDataManager::Release()
{
    if (!m_pManager)
        return;
    m_pManager->RemoveAllControls();
    if (m_pSink)
    {
        AfxConnectionUnadvise(m_pManager, DIID__IJyHtml2MngEvents, m_pSink, FALSE, m_dwCookie);
        m_pSink->Disarm();
    }
    m_pSink = nullptr;
    m_pManager->Release();
    m_pManager = nullptr;
}

bool CHtmlDataManager::Bind(CHtmlWnd& window)
{
    if (!m_pManager)
        return false;
    IDispatch* document = window.GetHtmlDocument();
    const HRESULT hr = m_pManager->put_HtmlDocument(document);
    if (document)
        document->Release();
    return SUCCEEDED(hr);
}

void CHtmlDataManager::RemoveAllControls()
{
    if (m_pManager)
        m_pManager->RemoveAllControls();
}

HRESULT CHtmlDataManager::PutValue(const char* name, const VARIANT& value)
{
    if (!m_pManager)
        return E_FAIL;
    return m_pManager->put_ControlValue(Bstr(name).s, value);
}

HRESULT CHtmlDataManager::PutText(const char* name, const char* text)
{
    VARIANT value = tvsk::com::MakeVariantBstr(text ? text : "");
    const HRESULT hr = PutValue(name, value);
    VariantClear(&value);
    return hr;
}

HRESULT CHtmlDataManager::PutNumber(const char* name, double value)
{
    return PutValue(name, tvsk::com::MakeVariantR8(value));
}

bool CHtmlDataManager::GetText(const char* name, CString& text)
{
    if (!m_pManager)
        return false;
    VARIANT value;
    VariantInit(&value);
    if (FAILED(m_pManager->get_ControlValue(Bstr(name).s, &value)))
        return false;
    VARIANT converted;
    VariantInit(&converted);
    const bool ok = value.vt != VT_EMPTY && SUCCEEDED(VariantChangeType(&converted, &value, 0, VT_BSTR));
    if (ok)
        text = TakeText(converted.bstrVal);
    VariantClear(&value);
    return ok;
}

bool CHtmlDataManager::GetRawText(const char* name, CString& text)
{
    IDispatch* element = nullptr;
    if (!m_pManager || FAILED(m_pManager->get_HtmlElement(Bstr(name).s, &element)) || !element)
        return false;
    IDomElement* dom = nullptr;
    const bool found =
        SUCCEEDED(element->QueryInterface(IDomElement::Iid, reinterpret_cast<void**>(&dom))) && dom;
    if (found)
    {
        text = dom->Element()->Value().c_str();
        dom->Release();
    }
    element->Release();
    return found;
}

HRESULT CHtmlDataManager::PutControlText(long index, const char* text)
{
    if (!m_pManager)
        return E_FAIL;
    return m_pManager->put_ControlText(tvsk::com::MakeVariantI4(index), Bstr(text).s);
}

long CHtmlDataManager::ControlsNum()
{
    LONG count = 0;
    if (!m_pManager || FAILED(m_pManager->get_ControlsNum(&count)))
        return 0;
    return count;
}

CString CHtmlDataManager::ControlName(long index)
{
    BSTR name = nullptr;
    if (!m_pManager || FAILED(m_pManager->get_ControlName(index, &name)))
        return CString();
    return TakeText(name);
}

CString CHtmlDataManager::ControlId(long index)
{
    BSTR id = nullptr;
    if (!m_pManager || FAILED(m_pManager->get_ControlId(tvsk::com::MakeVariantI4(index), &id)))
        return CString();
    return TakeText(id);
}

long CHtmlDataManager::ControlType(const char* name)
{
    LONG kind = 0;
    if (!m_pManager || FAILED(m_pManager->get_ControlType(Bstr(name).s, &kind)))
        return 0;
    return kind;
}

CString CHtmlDataManager::ControlTitle(const char* name)
{
    BSTR title = nullptr;
    if (!m_pManager || FAILED(m_pManager->get_ControlTitle(Bstr(name).s, &title)))
        return CString();
    return TakeText(title);
}

bool CHtmlDataManager::DocumentSize(long& width, long& height)
{
    LONG x = -1;
    LONG y = -1;
    if (!m_pManager)
        return false;
    m_pManager->get_DocumentXDim(&x);
    m_pManager->get_DocumentYDim(&y);
    width = x;
    height = y;
    return x > 0 && y > 0;
}

void CHtmlDataManager::ResetSelect(const char* name)
{
    if (m_pManager)
        m_pManager->ResetSelect(Bstr(name).s);
}

void CHtmlDataManager::AddSelectOption(const char* name, const char* text)
{
    AddSelectOption(name, text, text);
}

void CHtmlDataManager::AddSelectOption(const char* name, const char* text, const char* value)
{
    if (!m_pManager)
        return;
    VARIANT optionText = tvsk::com::MakeVariantBstr(text);
    VARIANT optionValue = tvsk::com::MakeVariantBstr(value);
    m_pManager->AddSelectOption(Bstr(name).s, optionText, optionValue);
    VariantClear(&optionText);
    VariantClear(&optionValue);
}

std::vector<CString> CHtmlDataManager::SelectOrder(const CMapStringToPtr& map)
{
    CStringList sorted;
    SortMapStringToStringList(&map, sorted);
    std::vector<std::pair<double, CString>> texts;
    bool numbers = true;
    for (POSITION pos = sorted.GetHeadPosition(); pos;)
    {
        const CString text = sorted.GetNext(pos);
        if (text.IsEmpty())
            continue;
        double value = 0;
        numbers = numbers && tvsk::WholeDouble(text.GetString(), value);
        texts.emplace_back(value, text);
    }
    // A list of numbers (currents, sizes, voltages) goes by value: 4, 8, 16, 32.
    if (numbers)
        std::stable_sort(texts.begin(), texts.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<CString> order;
    for (const auto& [value, text] : texts)
        order.push_back(text);
    return order;
}

bool CHtmlDataManager::FillSelect(const char* name, const CMapStringToPtr* map, const CString* current)
{
    ResetSelect(name);
    if (!map)
        return false;
    for (const CString& text : SelectOrder(*map))
        AddSelectOption(name, text);
    if (current)
        PutText(name, *current);
    return true;
}
