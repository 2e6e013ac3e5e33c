// The HTML data binding manager's class, its interface and its events, as page windows use them.
#pragma once

#include <com/Com.h>

using OLE_COLOR = ULONG;

constexpr CLSID CLSID_JyHtml2Mng = MakeGuid("46607199-AC52-43AB-89B6-AF9082592170");
constexpr GUID LIBID_JYHTML2Lib = MakeGuid("4742B231-AFA9-4998-85C1-2917FA61A0FC");
constexpr IID DIID__IJyHtml2MngEvents = MakeGuid("6D181F39-8D34-41C8-BE96-77AA9B16C30D");

struct IJyHtml2Mng : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("4108A235-95B9-44DB-A2A9-778C16FF3202");
    virtual HRESULT get_HtmlDocument(IDispatch** document) = 0;
    virtual HRESULT put_HtmlDocument(IDispatch* document) = 0;
    virtual HRESULT get_CommandFile(BSTR* file) = 0;
    virtual HRESULT put_CommandFile(BSTR file) = 0;
    virtual HRESULT get_ControlValue(BSTR name, VARIANT* value) = 0;
    virtual HRESULT put_ControlValue(BSTR name, VARIANT value) = 0;
    virtual HRESULT get_ControlColor(BSTR name, OLE_COLOR* color) = 0;
    virtual HRESULT put_ControlColor(BSTR name, OLE_COLOR color) = 0;
    virtual HRESULT get_ControlDisabled(BSTR name, LONG* disabled) = 0;
    virtual HRESULT put_ControlDisabled(BSTR name, LONG disabled) = 0;
    virtual HRESULT AddSelectOption(BSTR name, VARIANT text, VARIANT value) = 0;
    virtual HRESULT ResetSelect(BSTR name) = 0;
    virtual HRESULT get_HtmlElement(BSTR name, IDispatch** element) = 0;
    virtual HRESULT RemoveAllControls() = 0;
    virtual HRESULT get_DocumentXDim(LONG* dim) = 0;
    virtual HRESULT get_DocumentYDim(LONG* dim) = 0;
    virtual HRESULT get_ControlType(BSTR name, LONG* kind) = 0;
    virtual HRESULT get_ControlName(LONG index, BSTR* name) = 0;
    virtual HRESULT get_ControlsNum(LONG* count) = 0;
    virtual HRESULT get_ControlTitle(BSTR name, BSTR* title) = 0;
    virtual HRESULT put_ControlTitle(BSTR name, BSTR title) = 0;
    virtual HRESULT get_HiddenAttribute(BSTR name, BSTR attribute, BSTR* value) = 0;
    virtual HRESULT put_HiddenAttribute(BSTR name, BSTR attribute, BSTR value) = 0;
    virtual HRESULT get_ControlText(VARIANT element, BSTR* text) = 0;
    virtual HRESULT put_ControlText(VARIANT element, BSTR text) = 0;
    virtual HRESULT get_ControlId(VARIANT element, BSTR* id) = 0;

protected:
    ~IJyHtml2Mng() = default;
};

// Event ids of _IJyHtml2MngEvents; the element's name is the first argument of those that take one.
enum JyHtml2Event : DISPID
{
    DISPID_OnBeforeSetDocument = 1,
    DISPID_OnAfterSetDocument = 2,
    DISPID_OnResetManager = 3,
    DISPID_OnElementFocus = 4,
    DISPID_OnElementBlur = 5,
    DISPID_OnElementOver = 6,
    DISPID_OnElementOut = 7,
    DISPID_OnElementHelp = 8,
    DISPID_OnButtonClick = 9,
    DISPID_OnButtonUp = 10,
    DISPID_OnButtonDown = 11,
    DISPID_OnTextEnter = 12,
    DISPID_OnTextEscape = 13,
    DISPID_OnRadioChange = 14,    // name, value (VT_BSTR)
    DISPID_OnCheckboxChange = 15, // name, value (VT_I2 1 or 0)
    DISPID_OnSelectChange = 16,   // name, value (VT_BSTR)
    DISPID_OnImageClick = 17,
    DISPID_OnImageClickSelVal = 18, // name, value (VT_BSTR)
    DISPID_OnPreClick = 19,
    DISPID_OnAnchorClick = 20,
    DISPID_OnDocumentHelp = 21,
};

// Element kinds that ControlType reports (7 is not used).
enum HtmlCtrlKind : LONG
{
    HTMLCTRL_HIDDEN = 1,
    HTMLCTRL_TEXT = 2,
    HTMLCTRL_SELECT = 3,
    HTMLCTRL_BUTTON = 4,
    HTMLCTRL_IMAGE = 5,
    HTMLCTRL_RADIO = 6,
    HTMLCTRL_CHECKBOX = 8,
    HTMLCTRL_PRE = 9,
    HTMLCTRL_BODY = 10,
    HTMLCTRL_ANCHOR = 11,
    HTMLCTRL_TITLE = 12,
    HTMLCTRL_PARA = 13,
};
