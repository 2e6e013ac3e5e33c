#include "GraphManager.h"

#include "SourceString.h"

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

int CGraphManager::TypeFromTag(const char* tag) const
{
    static const struct
    {
        const char* tag;
        int type;
    } tags[] = {{"FB", FBD_FUNCTION_BLOCK}, {"F", FBD_FUNCTION}, {"V", FBD_VARIABLE},
                {"K", FBD_CONST},           {"I", FBD_CROSS},    {"C", FBD_CONNECTION},
                {"O", FBD_OPERATOR},        {"R", FBD_RETURN},   {"J", FBD_JUMP},
                {"CO", FBD_COMMENT}};
    if (!tag)
        return 0;
    for (const auto& row : tags)
        if (std::strcmp(row.tag, tag) == 0)
            return row.type;
    return 0;
}

void CGraphManager::SplitPinRef(const char* text, CString& id, CString& pin)
{
    const CString whole(text);
    const int point = whole.Find('.');
    id = point < 0 ? whole : whole.Left(point);
    pin = point < 0 ? CString() : whole.Mid(point + 1);
}

CGraphBlock* CGraphManager::FindElementByRef(const CGraphNetworkIntf* network, const char* reference) const
{
    const CGraphObjArray* elements = GetElements(network);
    const CString text(reference);
    const int colon = text.Find(':');
    if (!elements || colon <= 0 || colon + 1 >= text.GetLength())
        return nullptr;
    const int type = TypeFromTag(text.Left(colon));
    const CString id = text.Mid(colon + 1);
    int number = 0;
    const bool decimal = ReadDecimal(id, number);
    for (CGraphBlock* element : *elements)
    {
        if (!IsValidGraphObject(element) || element->GetType() != type)
            continue;
        if (type == FBD_FUNCTION_BLOCK ? element->GetText() == id : decimal && element->GetNumber() == number)
            return element;
    }
    return nullptr;
}

CGraphBlock* CGraphManager::FindElementByKey(const char* key) const
{
    if (!key || !*key)
        return nullptr;
    for (CGraphNetworkIntf* network : m_Networks)
        for (CGraphBlock* element : *GetElements(network))
            if (IsValidGraphObject(element) && element->GetKey() == key)
                return element;
    return nullptr;
}

CGraphNetworkIntf* CGraphManager::SelectByKey(const char* text)
{
    const CString key(text);
    const int dollar = key.Find('$');
    int number = 0;
    if (!ReadDecimal(dollar < 0 ? key : key.Left(dollar), number))
        return nullptr;
    CGraphNetworkIntf* network = NetworkByNumber(number);
    if (!network)
        return nullptr;
    if (dollar < 0)
    {
        network->SetMark(false);
        return network;
    }
    if (CGraphBlock* element = FindElementByRef(network, key.Mid(dollar + 1)))
    {
        if (!IsInSelection(element))
            m_Selection.push_back(element);
        element->Select(true);
        element->Invalidate();
    }
    return network;
}

bool CGraphManager::GetText(CString& text) const
{
    text.Empty();
    CSourceString source;
    for (CGraphNetworkIntf* network : m_Networks)
    {
        CString line;
        line.Format("%s:%d%c %d,%d\n", "$N", network->GetNumber(), '^', network->GetGridWidth(),
                    network->GetGridHeight());
        bool ok = source.Append(line);
        CString comment = network->GetComment();
        comment.Replace("\r\n", " ");
        comment.Replace('\r', ' ');
        comment.Replace('\n', ' ');
        if (ok && !comment.IsEmpty())
        {
            line.Format("%s %s\n", "@N", static_cast<const char*>(comment));
            ok = source.Append(line);
        }
        if (!ok || !source.Append("$E\n"))
            return false;
    }
    text = source.GetData();
    return true;
}

bool CGraphManager::SetText(const char* text, CWnd* parent)
{
    struct Stored
    {
        CGraphNetworkIntf* network; // null: made when the whole text has been read
        int width;
        int height;
        CString comment;
    };
    int next = GetNetworkCount() + 1;
    std::vector<Stored> stored;
    bool open = false;
    std::istringstream lines(text ? text : "");
    std::string line;
    while (std::getline(lines, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        int number = 0;
        int width = 0;
        int height = 0;
        char mark = 0;
        char rest = 0;
        if (!open &&
            std::sscanf(line.c_str(), "$N:%d%c %d,%d%c", &number, &mark, &width, &height, &rest) == 4 &&
            mark == '^' && height > 0)
        {
            CGraphNetworkIntf* network = NetworkByNumber(number);
            if (!network && (!parent || number != next || width <= 0))
                return false;
            if (!network)
                ++next;
            stored.push_back({network, width, height, CString()});
            open = true;
        }
        else if (open && line.rfind("@N ", 0) == 0)
            stored.back().comment = line.c_str() + 3;
        else if (open && line == "$E")
            open = false;
        else if (!line.empty())
            return false;
    }
    if (open)
        return false;
    for (Stored& entry : stored)
        if (!entry.network)
        {
            entry.network = CreateNetwork(parent, PLACE_LAST, entry.width, entry.height, true, true);
            if (!entry.network)
                return false;
        }
    for (const Stored& entry : stored)
    {
        entry.network->SetGridHeight(entry.height);
        entry.network->SetComment(entry.comment);
    }
    return true;
}
