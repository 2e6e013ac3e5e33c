// One element of a page document: its tag, attributes and the live properties the binding reads and writes.
#pragma once

#include "ListenerList.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tvsk::web
{

class DomDocument;

enum class StyleProperty
{
    Color,
    BackgroundColor,
};

struct DomOption
{
    std::string text;
    std::string value;
    bool selected = false;
};

// What a write changed, for a page that mirrors the writes (the live browser page).
enum class DomProperty
{
    Value,
    Checked,
    Disabled,
    InnerHtml,
    InnerText,
    Attribute,
    Style,
    Options,
};

// Texts are UTF-8. Setters change the element at once and tell the document's write observer.
class DomElement
{
public:
    DomElement(DomDocument& document, DomElement* parent, std::string tagName, int index);
    DomElement(const DomElement&) = delete;
    DomElement& operator=(const DomElement&) = delete;

    DomDocument& Document() const noexcept { return m_document; }
    DomElement* Parent() const noexcept { return m_parent; }
    // Position in the document's element list (document order).
    int Index() const noexcept { return m_index; }
    // Upper case, as browsers report HTML tags.
    const std::string& TagName() const noexcept { return m_tagName; }

    bool HasAttribute(std::string_view name) const;
    // Empty when absent. Names compare without case, as in HTML.
    std::string Attribute(std::string_view name) const;
    void SetAttribute(std::string_view name, std::string_view value);
    const std::vector<std::pair<std::string, std::string>>& Attributes() const noexcept
    {
        return m_attributes;
    }
    std::string Name() const { return Attribute("name"); }
    std::string Id() const { return Attribute("id"); }
    // An input's type in lower case; "text" when not given.
    std::string InputType() const;

    // A select's value is its first selected option's.
    std::string Value() const;
    void SetValue(std::string_view value);
    bool Checked() const noexcept { return m_checked; }
    void SetChecked(bool checked);
    bool Disabled() const noexcept { return m_disabled; }
    void SetDisabled(bool disabled);
    const std::string& InnerHtml() const noexcept { return m_innerHtml; }
    void SetInnerHtml(std::string_view html);
    const std::string& InnerText() const noexcept { return m_innerText; }
    void SetInnerText(std::string_view text);
    // Inline style, as written ("#rrggbb" for colours the binding sets).
    std::string Style(StyleProperty property) const;
    void SetStyle(StyleProperty property, std::string_view value);

    // Laid-out size in pixels (offsetWidth, offsetHeight); 0 for a page without layout.
    int OffsetWidth() const noexcept { return m_offsetWidth; }
    int OffsetHeight() const noexcept { return m_offsetHeight; }

    const std::vector<DomOption>& Options() const noexcept { return m_options; }
    void AddOption(std::string_view text, std::string_view value);
    bool RemoveOption(size_t index);

    void AddListener(DomEventListener* listener) { m_listeners.Add(listener); }
    bool RemoveListener(DomEventListener* listener) { return m_listeners.Remove(listener); }
    const ListenerList& Listeners() const noexcept { return m_listeners; }

    // Loading and page updates: set the state without telling the write observer.
    void LoadValue(std::string value) { m_value = std::move(value); }
    void LoadChecked(bool checked) noexcept { m_checked = checked; }
    void LoadDisabled(bool disabled) noexcept { m_disabled = disabled; }
    void LoadContent(std::string innerHtml, std::string innerText);
    void LoadAttribute(std::string name, std::string value);
    void LoadOptions(std::vector<DomOption> options) { m_options = std::move(options); }
    void LoadSize(int width, int height) noexcept
    {
        m_offsetWidth = width;
        m_offsetHeight = height;
    }
    // Selects the option with that value, as a page does when the user picks it.
    void LoadSelectedValue(std::string_view value);

private:
    void Written(DomProperty property, std::string_view detail = {});

    DomDocument& m_document;
    DomElement* m_parent;
    std::string m_tagName;
    int m_index;
    std::vector<std::pair<std::string, std::string>> m_attributes;
    std::string m_value;
    bool m_checked = false;
    bool m_disabled = false;
    std::string m_innerHtml;
    std::string m_innerText;
    std::vector<DomOption> m_options;
    int m_offsetWidth = 0;
    int m_offsetHeight = 0;
    ListenerList m_listeners;
};

} // namespace tvsk::web
