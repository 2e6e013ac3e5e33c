// The HTML data binding manager: binds a page's elements by name and reports their events.
#pragma once

#include "HtmlBinding.h"

#include <web/DomObjects.h>

#include <optional>
#include <vector>

class CJyHtml2Mng final : public tvsk::com::DispatchObject<CJyHtml2Mng, IJyHtml2Mng,
                                                           IConnectionPointContainer, ISupportErrorInfo>,
                          public CHtmlCtrlOwner
{
public:
    CJyHtml2Mng();
    ~CJyHtml2Mng() override;

    static const tvsk::com::DispatchTable<CJyHtml2Mng>& Dispatch();

    HRESULT get_HtmlDocument(IDispatch** document) override;
    HRESULT put_HtmlDocument(IDispatch* document) override;
    HRESULT get_CommandFile(BSTR* file) override;
    HRESULT put_CommandFile(BSTR file) override;
    HRESULT get_ControlValue(BSTR name, VARIANT* value) override;
    HRESULT put_ControlValue(BSTR name, VARIANT value) override;
    HRESULT get_ControlColor(BSTR name, OLE_COLOR* color) override;
    HRESULT put_ControlColor(BSTR name, OLE_COLOR color) override;
    HRESULT get_ControlDisabled(BSTR name, LONG* disabled) override;
    HRESULT put_ControlDisabled(BSTR name, LONG disabled) override;
    HRESULT AddSelectOption(BSTR name, VARIANT text, VARIANT value) override;
    HRESULT ResetSelect(BSTR name) override;
    HRESULT get_HtmlElement(BSTR name, IDispatch** element) override;
    HRESULT RemoveAllControls() override;
    HRESULT get_DocumentXDim(LONG* dim) override;
    HRESULT get_DocumentYDim(LONG* dim) override;
    HRESULT get_ControlType(BSTR name, LONG* kind) override;
    HRESULT get_ControlName(LONG index, BSTR* name) override;
    HRESULT get_ControlsNum(LONG* count) override;
    HRESULT get_ControlTitle(BSTR name, BSTR* title) override;
    HRESULT put_ControlTitle(BSTR name, BSTR title) override;
    HRESULT get_HiddenAttribute(BSTR name, BSTR attribute, BSTR* value) override;
    HRESULT put_HiddenAttribute(BSTR name, BSTR attribute, BSTR value) override;
    HRESULT get_ControlText(VARIANT element, BSTR* text) override;
    HRESULT put_ControlText(VARIANT element, BSTR text) override;
    HRESULT get_ControlId(VARIANT element, BSTR* id) override;

    HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;
    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

    std::optional<std::string> HiddenAttribute(const std::string& name, const std::string& key) override;
    void FireEvent(DISPID id, std::initializer_list<VARIANT> arguments = {}) override;
    void SetCurrentElement(CHtmlElemCtrl* element) override { m_current = element; }
    void EnterEvent() override;
    void LeaveEvent() override;
    IUnknown* DocumentObject() override { return m_document.Get(); }

private:
    // A binding dropped while a page event was being handled, kept until the event is done.
    struct Retired
    {
        ComPtr<IDomDocument> document;
        CHtmlBinding::Lists lists;
    };

    void ResetManager();
    CHtmlElemCtrl* FirstControl(BSTR name) const;
    // A control given by name (a string) or by position in the control list (a number).
    CHtmlElemCtrl* ControlOf(const VARIANT& element) const;
    HRESULT DocumentDim(const char* key, LONG* dim);

    tvsk::com::ConnectionPoint m_events{*this, DIID__IJyHtml2MngEvents};
    std::optional<std::string> m_commandFile;
    ComPtr<IDomDocument> m_document;
    std::vector<Retired> m_retired;
    CHtmlBinding m_binding{*this};
    CHtmlElemCtrl* m_current = nullptr;
    int m_eventDepth = 0;
};
