// The help file's sections, read through the text database engine, and its lookups.
#include "ZoHelpFile.h"

#include <framework/File.h>
#include <TVTextDb/TextDb.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <sstream>
#include <string>
#include <sys/stat.h>

namespace
{

// A section's rows as texts; the engine checks integer columns before they arrive.
class CHelpTable : public CRecDefIntf
{
public:
    CHelpTable(std::vector<const char*> names, std::vector<MemoDbType> types)
        : m_names(std::move(names)), m_types(std::move(types))
    {
        m_nNumFields = m_nNumRqFields = static_cast<int>(m_names.size());
    }

    void* RecPtr(int i) override { return IsRow(i) ? &m_rows[static_cast<size_t>(i)] : nullptr; }
    void SetField(int field, const char* text) override { m_row.at(static_cast<size_t>(field)) = text; }
    MemoDbType FieldType(int field) const override { return m_types.at(static_cast<size_t>(field)); }
    unsigned long NumRecs() const override { return static_cast<unsigned long>(m_rows.size()); }
    void AddRec() override { m_rows.push_back(m_row); }
    void Clean() override { m_row.assign(m_names.size(), CString()); }
    const char* FieldName(unsigned short field) const override
    {
        return field < m_names.size() ? m_names[field] : nullptr;
    }

    const std::vector<std::vector<CString>>& Rows() const { return m_rows; }

private:
    bool IsRow(int i) const { return i >= 0 && static_cast<size_t>(i) < m_rows.size(); }

    std::vector<const char*> m_names;
    std::vector<MemoDbType> m_types;
    std::vector<CString> m_row;
    std::vector<std::vector<CString>> m_rows;
};

class CHelpTextDb : public CTextDb
{
public:
    CHelpTable m_topics{{"name", "title", "page"}, {MDB_STRING, MDB_STRING, MDB_STRING}};
    CHelpTable m_keywords{{"keyword", "topic"}, {MDB_STRING, MDB_STRING}};
    CHelpTable m_contexts{{"id", "topic"}, {MDB_INT, MDB_STRING}};

protected:
    void Init() override
    {
        SetSeparators(" \t\"");
        SetComment(";");
        RegisterSection(m_topics, "TOPIC", ";\n;\tTopics: name, title, page beside this file\n;\n");
        RegisterSection(m_keywords, "KEYWORD", ";\n;\tIndex: keyword, topic\n;\n");
        RegisterSection(m_contexts, "CONTEXT", ";\n;\tContext ids: id, topic\n;\n");
    }
};

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return text;
}

// A file named relative to the help file, inside its folder: no ".." and no folder for a page.
bool IsPlainPage(const CString& page)
{
    if (page.IsEmpty() || page[0] == '/' || page[page.GetLength() - 1] == '/')
        return false;
    std::istringstream parts(page.str());
    std::string part;
    while (std::getline(parts, part, '/'))
        if (part == "..")
            return false;
    return part != ".";
}

bool IsFolder(const CString& path)
{
    struct stat info
    {
    };
    return ::stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

CString FolderOf(const char* path)
{
    const CString full(path);
    const int slash = full.ReverseFind('/');
    return slash < 0 ? CString(".") : full.Left(slash);
}

// Drops the contents of the element from each "<name" to its "</name>".
void DropElements(std::string& html, const std::string& name)
{
    const std::string open = "<" + name;
    const std::string close = "</" + name + ">";
    for (size_t at = html.find(open); at != std::string::npos; at = html.find(open, at))
    {
        const size_t end = html.find(close, at);
        html.erase(at, end == std::string::npos ? std::string::npos : end + close.size() - at);
    }
}

std::vector<std::string> Words(const char* text)
{
    std::istringstream in(Lower(text ? text : ""));
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

} // namespace

int CZoHelpFile::Load(const char* path)
{
    Clear();
    m_strPath = path ? path : "";
    CHelpTextDb db;
    try
    {
        if (!db.Load(path))
            return 3;
    }
    catch (CTextDbException* error)
    {
        const CString where = FormatString("line %d: %s", error->m_nLine, error->m_strInfo.GetString());
        error->Delete();
        return Fail(where);
    }
    catch (const std::bad_alloc&)
    {
        return Fail("out of memory");
    }
    const CString folder = FolderOf(path);
    for (const std::vector<CString>& row : db.m_topics.Rows())
    {
        CString page = row[2];
        page.Replace('\\', '/');
        if (!IsPlainPage(page))
        {
            return Fail("topic \"" + row[0] + "\": the page \"" + row[2] +
                        "\" is not a file inside the help folder");
        }
        const CString full = folder + "/" + page;
        if (IsFolder(full))
            return Fail("topic \"" + row[0] + "\": the page \"" + row[2] + "\" is a folder");
        m_topics.push_back({row[0], row[1], full});
    }
    size_t topic = 0;
    for (const std::vector<CString>& row : db.m_keywords.Rows())
    {
        if (!IndexOfTopic(row[1], topic))
        {
            return Fail("keyword \"" + row[0] + "\" names no topic \"" + row[1] + "\"");
        }
        m_keywords.push_back({row[0], topic});
    }
    for (const std::vector<CString>& row : db.m_contexts.Rows())
    {
        if (!IndexOfTopic(row[1], topic))
        {
            return Fail("context " + row[0] + " names no topic \"" + row[1] + "\"");
        }
        m_contexts.push_back({std::strtol(row[0], nullptr, 10), topic});
    }
    m_bLoaded = true;
    return 0;
}

int CZoHelpFile::Fail(const CString& reason)
{
    Clear();
    m_strError = reason;
    return 2;
}

void CZoHelpFile::Clear()
{
    m_bLoaded = false;
    m_strError.Empty();
    m_topics.clear();
    m_keywords.clear();
    m_contexts.clear();
}

bool CZoHelpFile::IndexOfTopic(const CString& name, size_t& index) const
{
    for (index = 0; index < m_topics.size(); ++index)
        if (m_topics[index].name.CompareNoCase(name) == 0)
            return true;
    return false;
}

const ZoHelpTopic* CZoHelpFile::FindTopic(const char* name) const
{
    if (!name || !*name)
        return m_topics.empty() ? nullptr : &m_topics.front();
    size_t index = 0;
    return IndexOfTopic(name, index) ? &m_topics[index] : nullptr;
}

const ZoHelpTopic* CZoHelpFile::FindContext(long contextId) const
{
    for (const ContextId& context : m_contexts)
        if (context.id == contextId)
            return &m_topics[context.topic];
    return nullptr;
}

std::vector<ZoHelpLink> CZoHelpFile::FilterKeywords(const char* text) const
{
    const std::string wanted = Lower(text ? text : "");
    std::vector<ZoHelpLink> links;
    for (const Keyword& keyword : m_keywords)
        if (Lower(keyword.text.str()).find(wanted) != std::string::npos)
            links.push_back({keyword.text, m_topics[keyword.topic].page});
    return links;
}

std::vector<ZoHelpLink> CZoHelpFile::SearchTopics(const char* words) const
{
    const std::vector<std::string> wanted = Words(words);
    std::vector<ZoHelpLink> links;
    if (wanted.empty())
        return links;
    for (const ZoHelpTopic& topic : m_topics)
    {
        const std::string text = Lower(topic.title.str()) + " " + PageText(topic.page);
        if (std::all_of(wanted.begin(), wanted.end(),
                        [&](const std::string& word) { return text.find(word) != std::string::npos; }))
            links.push_back({topic.title, topic.page});
    }
    return links;
}

std::string CZoHelpFile::PageText(const CString& page)
{
    std::string html;
    if (!FitsForReading(page))
        return {};
    try
    {
        std::ifstream in(page.str(), std::ios::binary);
        html.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    catch (const std::ios_base::failure&)
    {
        return {}; // a page that turned into a folder since the file was loaded
    }
    html = Lower(std::move(html));
    DropElements(html, "script");
    DropElements(html, "style");
    std::string text;
    bool inTag = false;
    for (char ch : html)
    {
        if (ch == '<')
            inTag = true;
        else if (ch == '>' && inTag)
        {
            inTag = false;
            text += ' ';
        }
        else if (!inTag)
            text += ch;
    }
    static const std::pair<const char*, const char*> kEntities[] = {
        {"&nbsp;", " "}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, character] : kEntities)
    {
        const std::string from(entity);
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + 1))
            text.replace(at, from.size(), character);
    }
    return text;
}
