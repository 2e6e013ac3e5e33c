#include "TextSearch.h"

#include <algorithm>
#include <cctype>

namespace
{

bool IsWordChar(char ch)
{
    return std::isalnum(static_cast<unsigned char>(ch)) || ch == '_';
}

std::string Upper(std::string_view text)
{
    std::string upper(text);
    for (char& ch : upper)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return upper;
}

class CLineMatcher
{
public:
    CLineMatcher(std::string_view what, DWORD flags)
        : m_matchCase(flags & FIND_MATCH_CASE), m_wholeWord(flags & FIND_WHOLE_WORD),
          m_what(m_matchCase ? std::string(what) : Upper(what))
    {
    }

    // The first (or last) match lying within [from, to) of the line, -1 when none.
    int Find(std::string_view line, int from, int to, bool last) const
    {
        if (m_what.empty())
            return -1;
        const std::string folded = m_matchCase ? std::string() : Upper(line);
        const std::string_view text = m_matchCase ? line : std::string_view(folded);
        int found = -1;
        for (size_t pos = text.find(m_what, static_cast<size_t>(from)); pos != std::string_view::npos;
             pos = text.find(m_what, pos + 1))
        {
            if (static_cast<int>(pos + m_what.size()) > to)
                break;
            if (m_wholeWord && !IsWholeWord(text, pos))
                continue;
            found = static_cast<int>(pos);
            if (!last)
                break;
        }
        return found;
    }

private:
    bool IsWholeWord(std::string_view text, size_t pos) const
    {
        const size_t end = pos + m_what.size();
        return (pos == 0 || !IsWordChar(text[pos - 1])) && (end >= text.size() || !IsWordChar(text[end]));
    }

    bool m_matchCase;
    bool m_wholeWord;
    std::string m_what;
};

bool SearchDown(const CCrystalTextBuffer& buffer, const CLineMatcher& matcher, CPoint from, CPoint to,
                CPoint& found)
{
    for (int line = from.y; line <= to.y; ++line)
    {
        const std::string_view text = buffer.GetLine(line);
        const int begin = line == from.y ? from.x : 0;
        const int end =
            line == to.y ? std::min<int>(to.x, static_cast<int>(text.size())) : static_cast<int>(text.size());
        const int pos = matcher.Find(text, begin, end, false);
        if (pos >= 0)
        {
            found = CPoint(pos, line);
            return true;
        }
    }
    return false;
}

bool SearchUp(const CCrystalTextBuffer& buffer, const CLineMatcher& matcher, CPoint from, CPoint to,
              CPoint& found)
{
    for (int line = from.y; line >= to.y; --line)
    {
        const std::string_view text = buffer.GetLine(line);
        const int begin = line == to.y ? to.x : 0;
        const int end = line == from.y ? std::min<int>(from.x, static_cast<int>(text.size()))
                                       : static_cast<int>(text.size());
        const int pos = matcher.Find(text, begin, end, true);
        if (pos >= 0)
        {
            found = CPoint(pos, line);
            return true;
        }
    }
    return false;
}

CPoint Clamp(const CCrystalTextBuffer& buffer, CPoint point)
{
    const int lines = buffer.GetLineCount();
    point.y = std::clamp<int>(point.y, 0, lines - 1);
    point.x = std::clamp<int>(point.x, 0, buffer.GetLineLength(point.y));
    return point;
}

} // namespace

bool FindTextInBlock(const CCrystalTextBuffer& buffer, std::string_view what, CPoint start, CPoint blockBegin,
                     CPoint blockEnd, DWORD flags, bool wrap, CPoint& found)
{
    if (what.empty() || buffer.GetLineCount() == 0)
        return false;
    const CLineMatcher matcher(what, flags);
    blockBegin = Clamp(buffer, blockBegin);
    blockEnd = Clamp(buffer, blockEnd);
    start = Clamp(buffer, start);
    if (start.y < blockBegin.y || (start.y == blockBegin.y && start.x < blockBegin.x))
        start = blockBegin;
    if (start.y > blockEnd.y || (start.y == blockEnd.y && start.x > blockEnd.x))
        start = blockEnd;
    if (flags & FIND_DIRECTION_UP)
        return SearchUp(buffer, matcher, start, blockBegin, found) ||
               (wrap && SearchUp(buffer, matcher, blockEnd, start, found));
    return SearchDown(buffer, matcher, start, blockEnd, found) ||
           (wrap && SearchDown(buffer, matcher, blockBegin, start, found));
}
