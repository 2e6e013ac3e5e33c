// Colouring of one line of text: blocks of (start column, colour index) and the state carried to
// the next line.
#pragma once

#include <framework/WinTypes.h>

#include <string_view>
#include <vector>

struct TEXTBLOCK
{
    int m_nCharPos;
    int m_nColorIndex;
};

// Colour indexes of the text view.
enum
{
    COLORINDEX_WHITESPACE = 0,
    COLORINDEX_BKGND = 1,
    COLORINDEX_NORMALTEXT = 2,
    COLORINDEX_SELMARGIN = 3,
    COLORINDEX_SELBKGND = 4,
    COLORINDEX_SELTEXT = 5,
    COLORINDEX_KEYWORD = 7,
    COLORINDEX_COMMENT = 8,
    COLORINDEX_NUMBER = 9,
    COLORINDEX_STRING = 11,
    COLORINDEX_PREPROCESSOR = 12,
    COLORINDEX_COUNT = 13,
};

// The plain parser: no colours, state 0.
class CSyntaxParser
{
public:
    virtual ~CSyntaxParser() = default;
    // state: the state at the end of the previous line; blocks (may be null) receives the line's
    // colour blocks in column order.
    virtual DWORD ParseLine(DWORD state, std::string_view line, std::vector<TEXTBLOCK>* blocks);
};

// Instruction-list colouring: keywords, numbers, comments, strings, directives.
class CIlSyntaxParser : public CSyntaxParser
{
public:
    static constexpr DWORD COOKIE_EXT_LINE = 0x01;
    static constexpr DWORD COOKIE_PREPROCESSOR = 0x02;
    static constexpr DWORD COOKIE_COMMENT = 0x04;
    static constexpr DWORD COOKIE_STRING = 0x08;
    static constexpr DWORD COOKIE_CHAR = 0x10;

    DWORD ParseLine(DWORD state, std::string_view line, std::vector<TEXTBLOCK>* blocks) override;

    static bool IsKeyword(std::string_view word);
    static bool IsNumber(std::string_view word);
};
