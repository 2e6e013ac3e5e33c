// The help file: a text database of topics (name, title, page beside the file), index keywords
// and context ids, and the lookups the help window makes in it.
#pragma once

#include <framework/CString.h>

#include <vector>

struct ZoHelpTopic
{
    CString name;
    CString title;
    CString page; // full path of the topic's HTML file
};

// One line of an index or search list: its text and the page it opens.
struct ZoHelpLink
{
    CString text;
    CString page;
};

class CZoHelpFile
{
public:
    // 0 loaded; 2 bad contents (ErrorText tells what); 3 the file cannot be read. On failure the
    // previous contents are dropped.
    int Load(const char* path);
    bool IsLoaded() const { return m_bLoaded; }
    const CString& Path() const { return m_strPath; }
    const CString& ErrorText() const { return m_strError; }

    // By name in any case; an empty name is the first topic. Null when there is none.
    const ZoHelpTopic* FindTopic(const char* name) const;
    const ZoHelpTopic* FindContext(long contextId) const;
    // The keywords holding the text in any case (all of them for an empty text), in file order.
    std::vector<ZoHelpLink> FilterKeywords(const char* text) const;
    // The topics whose title or page text holds every word in any case; none for no words.
    std::vector<ZoHelpLink> SearchTopics(const char* words) const;

private:
    struct Keyword
    {
        CString text;
        size_t topic;
    };
    struct ContextId
    {
        long id;
        size_t topic;
    };
    void Clear();
    // Drops what was read and keeps the reason: 2.
    int Fail(const CString& reason);
    bool IndexOfTopic(const CString& name, size_t& index) const;
    // The page's text without tags and entities, lower case; empty when it cannot be read.
    static std::string PageText(const CString& page);

    bool m_bLoaded = false;
    CString m_strPath;
    CString m_strError;
    std::vector<ZoHelpTopic> m_topics;
    std::vector<Keyword> m_keywords;
    std::vector<ContextId> m_contexts;
};
