#include "ZoHelpListPage.h"

#include <cctype>

CString EscapeHtml(const char* text)
{
    CString escaped;
    for (const char* at = text ? text : ""; *at; ++at)
    {
        switch (*at)
        {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += *at;
        }
    }
    return escaped;
}

CString EscapeUrlPath(const char* path)
{
    CString escaped;
    for (const char* at = path ? path : ""; *at; ++at)
    {
        const unsigned char ch = static_cast<unsigned char>(*at);
        if (std::isalnum(ch) || ch == '/' || ch == '-' || ch == '.' || ch == '_' || ch == '~')
            escaped += static_cast<char>(ch);
        else
            escaped.AppendFormat("%%%02X", ch);
    }
    return escaped;
}

CString MakeHelpListPage(const char* heading, const std::vector<ZoHelpLink>& links, const char* emptyNote)
{
    CString page =
        "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + EscapeHtml(heading) +
        "</title>\n<style>body { font-family: sans-serif; font-size: 10pt; margin: 12px; }</style>\n"
        "</head>\n<body>\n<h1>" +
        EscapeHtml(heading) + "</h1>\n";
    if (links.empty())
        page += "<p>" + EscapeHtml(emptyNote) + "</p>\n";
    else
    {
        page += "<ul>\n";
        for (const ZoHelpLink& link : links)
            page +=
                "<li><a href=\"" + EscapeUrlPath(link.page) + "\">" + EscapeHtml(link.text) + "</a></li>\n";
        page += "</ul>\n";
    }
    return page + "</body>\n</html>\n";
}
