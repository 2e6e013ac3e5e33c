#include "TokString.h"

#include <cstring>

void CTokString::Set(const char* text, const char* separators, char quote)
{
    m_tokens.RemoveAll();
    if (!text || !*text)
        return;
    const char* seps = separators ? separators : "";
    CString token;
    bool quoted = false;
    for (const char* p = text; *p; ++p)
    {
        if (quote && *p == quote)
            quoted = !quoted;
        else if (!quoted && std::strchr(seps, *p))
        {
            m_tokens.Add(token);
            token.Empty();
        }
        else
            token += *p;
    }
    m_tokens.Add(token);
}

CString CTokString::operator[](int i) const
{
    return i >= 0 && i < NumToks() ? m_tokens.GetAt(i) : CString();
}
