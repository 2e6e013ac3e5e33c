// The wrapper of one bound page element: its name, kind, value rules and event sink.
#pragma once

#include "HtmlCtrlOwner.h"

#include <web/DomDocument.h>

#include <memory>
#include <string>

class CHtmlElemSink;

class CHtmlElemCtrl
{
public:
    explicit CHtmlElemCtrl(LONG kind);
    virtual ~CHtmlElemCtrl();
    CHtmlElemCtrl(const CHtmlElemCtrl&) = delete;
    CHtmlElemCtrl& operator=(const CHtmlElemCtrl&) = delete;

    // To VT_BSTR: the variant conversion, reals with the user's decimal point. From a string: ","
    // read as ".", the longest number at the start (0.0 when none), always VT_R8. Otherwise the
    // variant conversion. A failed conversion leaves VT_ERROR with its code in destination.
    static HRESULT ConvertValue(VARIANT* destination, const VARIANT* source, VARTYPE type);

    // Takes the element when it is of this kind, reads the name and connects the sink; false leaves
    // nothing connected.
    bool Attach(tvsk::web::DomElement* element);
    bool AfterScan();
    virtual VARIANT GetValue();
    // Base: does nothing; false for an empty value.
    virtual bool SetValue(const VARIANT& value);
    virtual OLE_COLOR GetColor();
    virtual bool SetColor(OLE_COLOR color);
    virtual LONG GetDisabled();
    virtual bool SetDisabled(LONG disabled);
    virtual std::string GetTitle();
    virtual bool SetTitle(const std::string& title);
    std::string GetId();
    bool SetId(const std::string& id);
    std::string GetText();
    bool SetText(const std::string& html);
    void SetDocument(tvsk::web::DomDocument* document) noexcept { m_document = document; }
    void SetManager(CHtmlCtrlOwner* owner) noexcept { m_owner = owner; }
    // A new reference for the caller; null without an element or bound page.
    IDispatch* GetDispatch();
    // The element's laid-out size; 0 without an element or layout.
    LONG GetWidth();
    LONG GetHeight();
    virtual void ReadAttributes();

    void FireFocus();
    void FireBlur();
    void FireOver();
    void FireOut();
    virtual void FireHelp();
    // Closes the event connection ahead of deletion.
    void Disconnect();

    const std::string& Name() const noexcept { return m_name; }
    LONG Kind() const noexcept { return m_kind; }
    tvsk::web::DomElement* Element() const noexcept { return m_element; }
    tvsk::web::DomDocument* Document() const noexcept { return m_document; }
    CHtmlCtrlOwner* Owner() const noexcept { return m_owner; }

protected:
    // Whether the element is one this kind wraps.
    virtual bool Accepts(const tvsk::web::DomElement& element) const = 0;
    virtual std::string ReadName() const;
    // Runs once the element is taken, before the sink connects.
    virtual void Attached() {}
    // Base: none (hidden inputs, the title and paragraphs have no events).
    virtual std::unique_ptr<CHtmlElemSink> CreateSink();
    virtual tvsk::web::StyleProperty ColorProperty() const { return tvsk::web::StyleProperty::Color; }
    void Fire(DISPID id);
    // The read-only mark of the hidden input that bears this element's name, when it has one.
    std::optional<bool> ReadOnlyMark();
    // An empty value is refused; any other is written as its text.
    bool WriteAsText(const VARIANT& value, void (tvsk::web::DomElement::*write)(std::string_view));
    // Only strings are written.
    bool WriteStringOnly(const VARIANT& value, void (tvsk::web::DomElement::*write)(std::string_view));
    LONG ElementDisabled() const;
    bool SetElementDisabled(LONG disabled);

private:
    std::string m_name;
    LONG m_kind;
    tvsk::web::DomDocument* m_document = nullptr;
    tvsk::web::DomElement* m_element = nullptr;
    std::unique_ptr<CHtmlElemSink> m_sink;
    CHtmlCtrlOwner* m_owner = nullptr;
};

// Variants that own what they hold, for locals.
struct CHtmlVariant
{
    VARIANT v;
    CHtmlVariant() { VariantInit(&v); }
    explicit CHtmlVariant(VARIANT taken) : v(taken) {}
    ~CHtmlVariant() { VariantClear(&v); }
    CHtmlVariant(const CHtmlVariant&) = delete;
    CHtmlVariant& operator=(const CHtmlVariant&) = delete;
};
