// The instruction-list editor's text: loaded and coloured, then edited by the rest of the input,
// every edit undone and redone; undo and redo must give back exactly the text they undo.
#include "FuzzInput.h"

#include <TvskLumoPlc/text/CrystalTextBuffer.h>
#include <TvskLumoPlc/text/SyntaxParser.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

std::string AllText(const CCrystalTextBuffer& buffer)
{
    CString text;
    buffer.GetAllText(text, CRLF_STYLE_DOS);
    return std::string(text.GetString(), static_cast<size_t>(text.GetLength()));
}

void Check(bool holds)
{
    if (!holds)
        std::abort();
}

// No line keeps a line-end character, and colour blocks stay in their line, in column order.
void CheckLines(const CCrystalTextBuffer& buffer)
{
    CIlSyntaxParser parser;
    DWORD state = 0;
    std::vector<TEXTBLOCK> blocks;
    for (int i = 0; i < buffer.GetLineCount(); ++i)
    {
        const std::string_view line = buffer.GetLine(i);
        Check(line.find_first_of("\r\n") == std::string_view::npos);
        blocks.clear();
        state = parser.ParseLine(state, line, &blocks);
        int last = 0;
        for (const TEXTBLOCK& block : blocks)
        {
            Check(block.m_nCharPos >= last && block.m_nCharPos <= static_cast<int>(line.size()));
            last = block.m_nCharPos;
        }
    }
}

int Pick(fuzz::InputBytes& in, int count)
{
    return count > 0 ? in.Byte() % count : 0;
}

// One edit chosen by the input, in its own undo group; false when the input is used up.
bool Edit(CCrystalTextBuffer& buffer, fuzz::InputBytes& in)
{
    uint8_t op = 0;
    if (!in.Take(op))
        return false;
    const int lines = buffer.GetLineCount();
    const std::string before = AllText(buffer);
    buffer.OpenActionGroup();
    if (op % 2 == 0)
    {
        const int line = Pick(in, lines);
        const int pos = Pick(in, buffer.GetLineLength(line) + 1);
        std::string text;
        for (int n = in.Byte() % 8; n > 0 && !in.Empty(); --n)
            text += static_cast<char>(in.Byte());
        int endLine = 0, endChar = 0;
        buffer.InsertAt(nullptr, line, pos, text, endLine, endChar, CE_ACTION_TYPING);
    }
    else
    {
        int startLine = Pick(in, lines), endLine = Pick(in, lines);
        if (startLine > endLine)
            std::swap(startLine, endLine);
        int startChar = Pick(in, buffer.GetLineLength(startLine) + 1);
        int endChar = Pick(in, buffer.GetLineLength(endLine) + 1);
        if (startLine == endLine && startChar > endChar)
            std::swap(startChar, endChar);
        buffer.DeleteRange(nullptr, startLine, startChar, endLine, endChar, CE_ACTION_DELETE);
    }
    buffer.CloseActionGroup(nullptr);
    CheckLines(buffer);
    const std::string after = AllText(buffer);
    if (after != before && buffer.CanStepBack())
    {
        CPoint caret;
        Check(buffer.StepBack(caret));
        Check(AllText(buffer) == before);
        Check(buffer.StepForward(caret));
        Check(AllText(buffer) == after);
        CheckLines(buffer);
    }
    return true;
}

} // namespace

// The text runs to the first NUL byte; the bytes after it choose the edits.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto* nul = static_cast<const uint8_t*>(std::memchr(data, 0, size));
    const size_t textSize = nul ? static_cast<size_t>(nul - data) : size;
    CCrystalTextBuffer buffer;
    if (!buffer.LoadString(std::string_view(reinterpret_cast<const char*>(data), textSize)))
        return 0;
    CheckLines(buffer);
    const std::string loaded = AllText(buffer);
    fuzz::InputBytes edits(nul ? nul + 1 : data + size, nul ? size - textSize - 1 : 0);
    int count = 0;
    while (count < 64 && Edit(buffer, edits))
        ++count;
    CPoint caret;
    while (buffer.CanStepBack())
        Check(buffer.StepBack(caret));
    Check(AllText(buffer) == loaded);
    return 0;
}
