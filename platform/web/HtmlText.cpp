#include "HtmlText.h"

#include "GumboText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>

namespace tvsk::web
{

namespace detail
{

namespace
{

// Line breaks from <br> are marked apart from the blanks of the source text.
constexpr char kLineBreak = '\v';

bool IsOneOf(std::string_view tag, std::initializer_list<std::string_view> tags)
{
    return std::find(tags.begin(), tags.end(), tag) != tags.end();
}

bool IsVoid(std::string_view tag)
{
    return IsOneOf(tag, {"AREA", "BASE", "BASEFONT", "BGSOUND", "BR", "COL", "EMBED", "FRAME", "HR", "IMG",
                         "INPUT", "KEYGEN", "LINK", "META", "PARAM", "SOURCE", "TRACK", "WBR"});
}

bool KeepsRawText(std::string_view tag)
{
    return IsOneOf(tag, {"STYLE", "SCRIPT", "XMP", "IFRAME", "NOEMBED", "NOFRAMES", "PLAINTEXT"});
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

void AppendEscaped(std::string& out, std::string_view text, bool inAttribute)
{
    for (size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        if (c == '&')
            out += "&amp;";
        else if (c == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA0')
        {
            out += "&nbsp;";
            ++i;
        }
        else if (inAttribute && c == '"')
            out += "&quot;";
        else if (!inAttribute && c == '<')
            out += "&lt;";
        else if (!inAttribute && c == '>')
            out += "&gt;";
        else
            out += c;
    }
}

void AppendNode(std::string& out, const GumboNode* node, bool rawText);

void AppendChildren(std::string& out, const GumboNode* element)
{
    const bool raw = KeepsRawText(TagNameOf(element));
    const GumboVector& children = element->v.element.children;
    for (unsigned i = 0; i < children.length; ++i)
        AppendNode(out, static_cast<const GumboNode*>(children.data[i]), raw);
}

void AppendNode(std::string& out, const GumboNode* node, bool rawText)
{
    switch (node->type)
    {
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE:
    {
        const std::string tag = TagNameOf(node);
        out += '<' + Lower(tag);
        const GumboVector& attributes = node->v.element.attributes;
        for (unsigned i = 0; i < attributes.length; ++i)
        {
            const auto* a = static_cast<const GumboAttribute*>(attributes.data[i]);
            out += ' ';
            out += a->name;
            out += "=\"";
            AppendEscaped(out, a->value, true);
            out += '"';
        }
        out += '>';
        if (IsVoid(tag))
            return;
        AppendChildren(out, node);
        out += "</" + Lower(tag) + '>';
        return;
    }
    case GUMBO_NODE_TEXT:
    case GUMBO_NODE_WHITESPACE:
    case GUMBO_NODE_CDATA:
        if (rawText)
            out += node->v.text.text;
        else
            AppendEscaped(out, node->v.text.text, false);
        return;
    case GUMBO_NODE_COMMENT:
        out += "<!--";
        out += node->v.text.text;
        out += "-->";
        return;
    case GUMBO_NODE_DOCUMENT:
        return;
    }
}

void AppendText(std::string& out, const GumboNode* node)
{
    if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE ||
        node->type == GUMBO_NODE_CDATA)
    {
        out += node->v.text.text;
        return;
    }
    if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE)
        return;
    const std::string tag = TagNameOf(node);
    if (tag == "BR")
    {
        out += kLineBreak;
        return;
    }
    if (tag == "SCRIPT" || tag == "STYLE")
        return;
    const GumboVector& children = node->v.element.children;
    for (unsigned i = 0; i < children.length; ++i)
        AppendText(out, static_cast<const GumboNode*>(children.data[i]));
}

bool InsidePreformatted(const GumboNode* node)
{
    for (; node && (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE);
         node = node->parent)
        if (IsOneOf(TagNameOf(node), {"PRE", "TEXTAREA", "LISTING", "XMP", "PLAINTEXT"}))
            return true;
    return false;
}

// Outside preformatted text, runs of blanks become one space and the ends are trimmed.
std::string CollapseBlanks(std::string_view text)
{
    std::string out;
    bool pendingSpace = false;
    for (const char c : text)
    {
        if (c == kLineBreak)
        {
            out += '\n';
            pendingSpace = false;
        }
        else if (std::isspace(static_cast<unsigned char>(c)))
            pendingSpace = !out.empty() && out.back() != '\n';
        else
        {
            if (pendingSpace)
                out += ' ';
            pendingSpace = false;
            out += c;
        }
    }
    return out;
}

std::string WithLineBreaks(std::string text)
{
    std::replace(text.begin(), text.end(), kLineBreak, '\n');
    return text;
}

} // namespace

std::string TagNameOf(const GumboNode* element)
{
    std::string name;
    if (element->v.element.tag != GUMBO_TAG_UNKNOWN)
        name = gumbo_normalized_tagname(element->v.element.tag);
    else
    {
        GumboStringPiece original = element->v.element.original_tag;
        gumbo_tag_from_original_text(&original);
        name.assign(original.data, original.length);
    }
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

std::string InnerHtmlOf(const GumboNode* element)
{
    std::string out;
    AppendChildren(out, element);
    return out;
}

std::string InnerTextOf(const GumboNode* element)
{
    std::string text;
    const GumboVector& children = element->v.element.children;
    for (unsigned i = 0; i < children.length; ++i)
        AppendText(text, static_cast<const GumboNode*>(children.data[i]));
    return InsidePreformatted(element) ? WithLineBreaks(std::move(text)) : CollapseBlanks(text);
}

} // namespace detail

std::string TextOfHtml(std::string_view html)
{
    const std::unique_ptr<GumboOutput, void (*)(GumboOutput*)> output(
        gumbo_parse_with_options(&kGumboDefaultOptions, html.data(), html.size()),
        [](GumboOutput* o) { gumbo_destroy_output(&kGumboDefaultOptions, o); });
    const GumboVector& top = output->root->v.element.children;
    for (unsigned i = 0; i < top.length; ++i)
    {
        const auto* node = static_cast<const GumboNode*>(top.data[i]);
        if (node->type == GUMBO_NODE_ELEMENT && node->v.element.tag == GUMBO_TAG_BODY)
            return detail::InnerTextOf(node);
    }
    return {};
}

std::string HtmlOfText(std::string_view text)
{
    std::string out;
    for (const char c : text)
    {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '\n')
            out += "<br>";
        else
            out += c;
    }
    return out;
}

} // namespace tvsk::web
