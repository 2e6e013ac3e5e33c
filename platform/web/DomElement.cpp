#include "DomElement.h"

#include "DomDocument.h"
#include "HtmlText.h"

#include <algorithm>
#include <cctype>

namespace tvsk::web
{

namespace
{

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) {
                                                  return std::tolower(static_cast<unsigned char>(x)) ==
                                                         std::tolower(static_cast<unsigned char>(y));
                                              });
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

const char* CssName(StyleProperty property)
{
    return property == StyleProperty::Color ? "color" : "background-color";
}

struct Declaration
{
    std::string name;
    std::string value;
};

std::vector<Declaration> ParseStyle(std::string_view style)
{
    std::vector<Declaration> declarations;
    size_t start = 0;
    while (start <= style.size())
    {
        size_t end = style.find(';', start);
        if (end == std::string_view::npos)
            end = style.size();
        const std::string_view piece = style.substr(start, end - start);
        const size_t colon = piece.find(':');
        if (colon != std::string_view::npos)
            declarations.push_back({std::string(Trimmed(piece.substr(0, colon))),
                                    std::string(Trimmed(piece.substr(colon + 1)))});
        start = end + 1;
    }
    return declarations;
}

std::string WriteStyle(const std::vector<Declaration>& declarations)
{
    std::string style;
    for (const Declaration& d : declarations)
    {
        if (!style.empty())
            style += "; ";
        style += d.name + ": " + d.value;
    }
    return style;
}

} // namespace

DomElement::DomElement(DomDocument& document, DomElement* parent, std::string tagName, int index)
    : m_document(document), m_parent(parent), m_tagName(std::move(tagName)), m_index(index)
{
}

bool DomElement::HasAttribute(std::string_view name) const
{
    return std::any_of(m_attributes.begin(), m_attributes.end(),
                       [&](const auto& a) { return SameName(a.first, name); });
}

std::string DomElement::Attribute(std::string_view name) const
{
    for (const auto& [key, value] : m_attributes)
        if (SameName(key, name))
            return value;
    return {};
}

void DomElement::SetAttribute(std::string_view name, std::string_view value)
{
    LoadAttribute(std::string(name), std::string(value));
    Written(DomProperty::Attribute, name);
}

void DomElement::LoadAttribute(std::string name, std::string value)
{
    for (auto& [key, old] : m_attributes)
        if (SameName(key, name))
        {
            old = std::move(value);
            return;
        }
    m_attributes.emplace_back(std::move(name), std::move(value));
}

std::string DomElement::InputType() const
{
    std::string type = Attribute("type");
    std::transform(type.begin(), type.end(), type.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return type.empty() ? "text" : type;
}

std::string DomElement::Value() const
{
    if (m_tagName != "SELECT")
        return m_value;
    for (const DomOption& option : m_options)
        if (option.selected)
            return option.value;
    return {};
}

void DomElement::SetValue(std::string_view value)
{
    if (m_tagName == "SELECT")
        LoadSelectedValue(value);
    else
        m_value = value;
    Written(DomProperty::Value);
}

void DomElement::LoadSelectedValue(std::string_view value)
{
    bool found = false;
    for (DomOption& option : m_options)
    {
        option.selected = !found && option.value == value;
        found = found || option.selected;
    }
}

void DomElement::SetChecked(bool checked)
{
    m_checked = checked;
    Written(DomProperty::Checked);
}

void DomElement::SetDisabled(bool disabled)
{
    m_disabled = disabled;
    Written(DomProperty::Disabled);
}

void DomElement::SetInnerHtml(std::string_view html)
{
    LoadContent(std::string(html), TextOfHtml(html));
    Written(DomProperty::InnerHtml);
}

void DomElement::SetInnerText(std::string_view text)
{
    LoadContent(HtmlOfText(text), std::string(text));
    Written(DomProperty::InnerText);
}

void DomElement::LoadContent(std::string innerHtml, std::string innerText)
{
    m_innerHtml = std::move(innerHtml);
    m_innerText = std::move(innerText);
}

std::string DomElement::Style(StyleProperty property) const
{
    for (const Declaration& d : ParseStyle(Attribute("style")))
        if (SameName(d.name, CssName(property)))
            return d.value;
    return {};
}

void DomElement::SetStyle(StyleProperty property, std::string_view value)
{
    std::vector<Declaration> declarations = ParseStyle(Attribute("style"));
    const auto it = std::find_if(declarations.begin(), declarations.end(),
                                 [&](const Declaration& d) { return SameName(d.name, CssName(property)); });
    if (it != declarations.end())
        it->value = value;
    else
        declarations.push_back({CssName(property), std::string(value)});
    LoadAttribute("style", WriteStyle(declarations));
    Written(DomProperty::Style, CssName(property));
}

void DomElement::AddOption(std::string_view text, std::string_view value)
{
    // A single select with nothing chosen shows its first option as chosen.
    const bool first = m_options.empty();
    m_options.push_back({std::string(text), std::string(value), first});
    Written(DomProperty::Options);
}

bool DomElement::RemoveOption(size_t index)
{
    if (index >= m_options.size())
        return false;
    const bool wasSelected = m_options[index].selected;
    m_options.erase(m_options.begin() + static_cast<std::ptrdiff_t>(index));
    if (wasSelected && !m_options.empty())
        m_options.front().selected = true;
    Written(DomProperty::Options);
    return true;
}

void DomElement::Written(DomProperty property, std::string_view detail)
{
    if (DomWriteObserver* observer = m_document.WriteObserver())
        observer->OnElementWritten(*this, property, detail);
}

} // namespace tvsk::web
