// The wrapper kinds: what value, colour, disabled state and title mean for each bound element.
#pragma once

#include "HtmlElemCtrl.h"

#include <map>

// Which input kind an INPUT element is (hidden, text, button, radio, checkbox), 0 for one not bound.
LONG InputKindOf(const tvsk::web::DomElement& element);

class CHtmlHiddenCtrl final : public CHtmlElemCtrl
{
public:
    CHtmlHiddenCtrl() : CHtmlElemCtrl(HTMLCTRL_HIDDEN) {}
    VARIANT GetValue() override;
    std::optional<std::string> GetAttribute(const std::string& key) const;
    // Only a key the list holds is replaced; none is added.
    bool SetAttribute(const std::string& key, const std::string& value);

protected:
    bool Accepts(const tvsk::web::DomElement& element) const override;
    // Reads the attribute list of the input's value.
    void Attached() override;

private:
    std::map<std::string, std::string> m_attributes;
};

class CHtmlTextCtrl final : public CHtmlElemCtrl
{
public:
    CHtmlTextCtrl() : CHtmlElemCtrl(HTMLCTRL_TEXT) {}
    // The typed text read as a number: always VT_R8.
    VARIANT GetValue() override;
    bool SetValue(const VARIANT& value) override;
    LONG GetDisabled() override { return ElementDisabled(); }
    bool SetDisabled(LONG disabled) override { return SetElementDisabled(disabled); }
    // Enter or Tab: OnTextEnter unless the field is marked read-only, this field current meanwhile.
    void TextEnter();
    void TextEscape();

protected:
    bool Accepts(const tvsk::web::DomElement& element) const override;
    std::unique_ptr<CHtmlElemSink> CreateSink() override;
};

class CHtmlSelectCtrl final : public CHtmlElemCtrl
{
public:
    CHtmlSelectCtrl() : CHtmlElemCtrl(HTMLCTRL_SELECT) {}
    VARIANT GetValue() override;
    bool SetValue(const VARIANT& value) override;
    LONG GetDisabled() override { return ElementDisabled(); }
    bool SetDisabled(LONG disabled) override { return SetElementDisabled(disabled); }
    bool AddOption(const std::string& text, const std::string& value);
    bool RemoveAllOptions();
    void FireSelectChange();

protected:
    bool Accepts(const tvsk::web::DomElement& element) const override;
    std::unique_ptr<CHtmlElemSink> CreateSink() override;
};

class CHtmlButtonCtrl final : public CHtmlElemCtrl
{
public:
    CHtmlButtonCtrl() : CHtmlElemCtrl(HTMLCTRL_BUTTON) {}
    // Writes the caption.
    bool SetValue(const VARIANT& value) override;
    LONG GetDisabled() override { return ElementDisabled(); }
    bool SetDisabled(LONG disabled) override { return SetElementDisabled(disabled); }
    void FireButton(DISPID id) { Fire(id); }

protected:
    bool Accepts(const tvsk::web::DomElement& element) const override;
    std::unique_ptr<CHtmlElemSink> CreateSink() override;
};

// A multi-state image: values map to pictures; with "CMD" a click steps to the next value.
class CHtmlImgCtrl final : public CHtmlElemCtrl
{
public:
    CHtmlImgCtrl() : CHtmlElemCtrl(HTMLCTRL_IMAGE) {}
    bool SetValue(const VARIANT& value) override;
    std::string GetTitle() override;
    bool SetTitle(const std::string& title) override;
    void ReadAttributes() override;
    void HandleImageClick();

protected:
    bool Accepts(const tvsk::web::DomElement& element) const override;
    std::unique_ptr<CHtmlElemSink> CreateSink() override;

private:
    std::map<std::string, std::string> m_images;
    std::optional<std::string> m_current;
};

class CHtmlRadioCtrl final : public CHtmlElemCtrl
{
public:
    CHtmlRadioCtrl() : CHtmlElemCtrl(HTMLCTRL_RADIO) {}
    VARIANT GetValue() override;
    bool SetValue(const VARIANT& value) override;
    LONG GetDisabled() override { return ElementDisabled(); }
    bool SetDisabled(LONG disabled) override { return SetElementDisabled(disabled); }
    LONG IsChecked() const;
    void SetChecked(bool checked);
    void FireRadioChange();

protected:
    bool Accepts(const tvsk::web::DomElement& element) const override;
    std::unique_ptr<CHtmlElemSink> CreateSink() override;
};

class CHtmlCheckboxCtrl final : public CHtmlElemCtrl
{
public:
    CHtmlCheckboxCtrl() : CHtmlElemCtrl(HTMLCTRL_CHECKBOX) {}
    // VT_I2 1 when checked, else 0.
    VARIANT GetValue() override;
    bool SetValue(const VARIANT& value) override;
    LONG GetDisabled() override { return ElementDisabled(); }
    bool SetDisabled(LONG disabled) override { return SetElementDisabled(disabled); }
    void FireCheckboxChange();

protected:
    bool Accepts(const tvsk::web::DomElement& element) const override;
    std::unique_ptr<CHtmlElemSink> CreateSink() override;
};

// Preformatted text, named by its id; its disabled state is a click flag of the wrapper.
class CHtmlPreCtrl final : public CHtmlElemCtrl
{
public:
    CHtmlPreCtrl() : CHtmlElemCtrl(HTMLCTRL_PRE) {}
    VARIANT GetValue() override;
    bool SetValue(const VARIANT& value) override;
    LONG GetDisabled() override { return m_clickFlag; }
    bool SetDisabled(LONG disabled) override;
    void PreClick();

protected:
    bool Accepts(const tvsk::web::DomElement& element) const override;
    std::string ReadName() const override;
    std::unique_ptr<CHtmlElemSink> CreateSink() override;

private:
    LONG m_clickFlag = 0;
};

class CHtmlBodyCtrl final : public CHtmlElemCtrl
{
public:
    CHtmlBodyCtrl() : CHtmlElemCtrl(HTMLCTRL_BODY) {}
    // Help on the page is the document's help.
    void FireHelp() override;

protected:
    bool Accepts(const tvsk::web::DomElement& element) const override;
    std::string ReadName() const override { return "BODY"; }
    std::unique_ptr<CHtmlElemSink> CreateSink() override;
    tvsk::web::StyleProperty ColorProperty() const override
    {
        return tvsk::web::StyleProperty::BackgroundColor;
    }
};

class CHtmlAnchorCtrl final : public CHtmlElemCtrl
{
public:
    CHtmlAnchorCtrl() : CHtmlElemCtrl(HTMLCTRL_ANCHOR) {}
    VARIANT GetValue() override;
    bool SetValue(const VARIANT& value) override;
    void FireAnchorClick() { Fire(DISPID_OnAnchorClick); }

protected:
    bool Accepts(const tvsk::web::DomElement& element) const override;
    std::unique_ptr<CHtmlElemSink> CreateSink() override;
    tvsk::web::StyleProperty ColorProperty() const override
    {
        return tvsk::web::StyleProperty::BackgroundColor;
    }
};

class CHtmlTitleCtrl final : public CHtmlElemCtrl
{
public:
    CHtmlTitleCtrl() : CHtmlElemCtrl(HTMLCTRL_TITLE) {}
    VARIANT GetValue() override;

protected:
    bool Accepts(const tvsk::web::DomElement& element) const override;
    std::string ReadName() const override { return "TITLE"; }
};

class CHtmlParaCtrl final : public CHtmlElemCtrl
{
public:
    CHtmlParaCtrl() : CHtmlElemCtrl(HTMLCTRL_PARA) {}
    VARIANT GetValue() override;
    bool SetValue(const VARIANT& value) override;

protected:
    bool Accepts(const tvsk::web::DomElement& element) const override;
    std::string ReadName() const override;
};
