#include "HtmlPage.h"

#include "GumboText.h"

#include <fstream>
#include <sstream>

namespace tvsk::web
{

namespace
{

bool ReadPageFile(const std::filesystem::path& file, std::string& text, std::string* error)
{
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxPageBytes)
    {
        if (error)
            *error = ec ? file.string() + ": " + ec.message() : file.string() + ": file too large for a page";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    if (!in)
    {
        if (error)
            *error = file.string() + ": cannot be read";
        return false;
    }
    text = content.str();
    return true;
}

std::string FileUrl(const std::filesystem::path& file)
{
    return "file://" + std::filesystem::absolute(file).lexically_normal().generic_string();
}

bool HasAttribute(const GumboNode* node, const char* name)
{
    return gumbo_get_attribute(&node->v.element.attributes, name) != nullptr;
}

std::string AttributeOf(const GumboNode* node, const char* name)
{
    const GumboAttribute* a = gumbo_get_attribute(&node->v.element.attributes, name);
    return a ? a->value : "";
}

void CollectOptions(const GumboNode* node, std::vector<DomOption>& options)
{
    const GumboVector& children = node->v.element.children;
    for (unsigned i = 0; i < children.length; ++i)
    {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (child->type != GUMBO_NODE_ELEMENT)
            continue;
        if (child->v.element.tag == GUMBO_TAG_OPTION)
        {
            const std::string text = detail::InnerTextOf(child);
            options.push_back({text, HasAttribute(child, "value") ? AttributeOf(child, "value") : text,
                               HasAttribute(child, "selected")});
        }
        else
            CollectOptions(child, options);
    }
}

// A single select shows exactly one option as chosen: the first marked one, else the first.
std::vector<DomOption> SelectOptions(const GumboNode* select)
{
    std::vector<DomOption> options;
    CollectOptions(select, options);
    bool chosen = false;
    for (DomOption& option : options)
    {
        option.selected = option.selected && !chosen;
        chosen = chosen || option.selected;
    }
    if (!chosen && !options.empty() && !HasAttribute(select, "multiple"))
        options.front().selected = true;
    return options;
}

std::unique_ptr<DomDocument> ParseAt(std::string_view html, std::string url,
                                     const std::filesystem::path& baseDir, int depth);

// Turns the parser's tree into a document: elements in document order, frames loaded beside it.
class PageBuilder
{
public:
    PageBuilder(const std::filesystem::path& baseDir, int depth) : m_baseDir(baseDir), m_depth(depth) {}

    void Build(const GumboNode* node, DomDocument& document, DomElement* parent)
    {
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_DOCUMENT)
            return;
        DomElement* element = parent;
        if (node->type == GUMBO_NODE_ELEMENT)
        {
            element = &document.AddElement(parent, detail::TagNameOf(node));
            Fill(node, *element);
            if (element->TagName() == "FRAME" || element->TagName() == "IFRAME")
                LoadFrame(element->Attribute("src"), document);
        }
        const GumboVector& children =
            node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children : node->v.element.children;
        for (unsigned i = 0; i < children.length; ++i)
            Build(static_cast<const GumboNode*>(children.data[i]), document, element);
    }

private:
    static void Fill(const GumboNode* node, DomElement& element)
    {
        const GumboVector& attributes = node->v.element.attributes;
        for (unsigned i = 0; i < attributes.length; ++i)
        {
            const auto* a = static_cast<const GumboAttribute*>(attributes.data[i]);
            element.LoadAttribute(a->name, a->value);
        }
        element.LoadContent(detail::InnerHtmlOf(node), detail::InnerTextOf(node));
        element.LoadDisabled(HasAttribute(node, "disabled"));
        element.LoadChecked(HasAttribute(node, "checked"));
        const std::string& tag = element.TagName();
        if (tag == "SELECT")
            element.LoadOptions(SelectOptions(node));
        else if (tag == "TEXTAREA")
            element.LoadValue(element.InnerText());
        else if (tag == "INPUT" && !HasAttribute(node, "value") &&
                 (element.InputType() == "checkbox" || element.InputType() == "radio"))
            element.LoadValue("on");
        else
            element.LoadValue(AttributeOf(node, "value"));
    }

    // A frame whose file is missing is there all the same, with an empty document.
    void LoadFrame(const std::string& src, DomDocument& document)
    {
        if (src.empty() || m_baseDir.empty() || m_depth >= kMaxFrameDepth)
        {
            document.AddFrame(std::make_unique<DomDocument>(src));
            return;
        }
        const std::filesystem::path file = m_baseDir / src;
        std::string html;
        if (!ReadPageFile(file, html, nullptr))
        {
            document.AddFrame(std::make_unique<DomDocument>(FileUrl(file)));
            return;
        }
        document.AddFrame(ParseAt(html, FileUrl(file), file.parent_path(), m_depth + 1));
    }

private:
    std::filesystem::path m_baseDir;
    int m_depth;
};

std::unique_ptr<DomDocument> ParseAt(std::string_view html, std::string url,
                                     const std::filesystem::path& baseDir, int depth)
{
    auto document = std::make_unique<DomDocument>(std::move(url));
    GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, html.data(), html.size());
    PageBuilder(baseDir, depth).Build(output->document, *document, nullptr);
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return document;
}

} // namespace

std::unique_ptr<DomDocument> ParseHtmlPage(std::string_view html, std::string url,
                                           const std::filesystem::path& baseDir)
{
    return ParseAt(html, std::move(url), baseDir, 0);
}

std::unique_ptr<DomDocument> LoadHtmlPage(const std::filesystem::path& file, std::string* error)
{
    std::string html;
    if (!ReadPageFile(file, html, error))
        return nullptr;
    return ParseHtmlPage(html, FileUrl(file), file.parent_path());
}

} // namespace tvsk::web
