// Instruction-list colouring, checked column by column.
#include <TvskLumoPlc/text/SyntaxParser.h>

#include <gtest/gtest.h>

namespace
{

// The colour of every column of a line.
std::vector<int> Colours(const std::vector<TEXTBLOCK>& blocks, size_t length)
{
    std::vector<int> colours(length, -1);
    for (size_t b = 0; b < blocks.size(); ++b)
    {
        const size_t end = b + 1 < blocks.size() ? static_cast<size_t>(blocks[b + 1].m_nCharPos) : length;
        for (size_t c = static_cast<size_t>(blocks[b].m_nCharPos); c < end; ++c)
            colours[c] = blocks[b].m_nColorIndex;
    }
    return colours;
}

struct Coloured
{
    std::vector<int> colours;
    DWORD state;
};

Coloured Parse(std::string_view line, DWORD state = 0)
{
    CIlSyntaxParser parser;
    std::vector<TEXTBLOCK> blocks;
    const DWORD next = parser.ParseLine(state, line, &blocks);
    return {Colours(blocks, line.size()), next};
}

std::vector<int> Repeat(std::initializer_list<std::pair<int, int>> runs)
{
    std::vector<int> colours;
    for (auto [count, colour] : runs)
        colours.insert(colours.end(), static_cast<size_t>(count), colour);
    return colours;
}

TEST(IlSyntaxParser, KeywordsWithoutCaseAndPlainOperands)
{
    EXPECT_EQ(Parse("ld P1.2").colours, Repeat({{2, 7}, {5, 2}}));
    EXPECT_EQ(Parse("NFIN COMM").colours, Repeat({{9, 2}}));
    EXPECT_EQ(Parse("AndN x").colours, Repeat({{4, 7}, {2, 2}}));
    EXPECT_TRUE(CIlSyntaxParser::IsKeyword("end"));
    EXPECT_FALSE(CIlSyntaxParser::IsKeyword("ENDE"));
}

TEST(IlSyntaxParser, Numbers)
{
    EXPECT_EQ(Parse("0x1F").colours, Repeat({{4, 9}}));
    EXPECT_EQ(Parse("12.5E+3").colours, Repeat({{7, 9}}));
    EXPECT_EQ(Parse("0x").colours, Repeat({{2, 2}}));
    EXPECT_EQ(Parse("LD 7 ").colours, Repeat({{2, 7}, {1, 2}, {1, 9}, {1, 2}}));
    EXPECT_FALSE(CIlSyntaxParser::IsNumber("0xG"));
    EXPECT_FALSE(CIlSyntaxParser::IsNumber("1A"));
}

TEST(IlSyntaxParser, AnOpenCommentColoursTheFollowingLinesUntilItCloses)
{
    const Coloured first = Parse("LD 1 (* start");
    EXPECT_EQ(first.colours, Repeat({{2, 7}, {1, 2}, {1, 9}, {1, 2}, {8, 8}}));
    EXPECT_EQ(first.state, CIlSyntaxParser::COOKIE_COMMENT);
    const Coloured middle = Parse("LD still comment", first.state);
    EXPECT_EQ(middle.colours, Repeat({{16, 8}}));
    EXPECT_EQ(Parse("", middle.state).state, CIlSyntaxParser::COOKIE_COMMENT);
    const Coloured last = Parse("end *) OUT", middle.state);
    EXPECT_EQ(last.colours, Repeat({{6, 8}, {1, 2}, {3, 7}}));
    EXPECT_EQ(last.state, 0u);
    EXPECT_EQ(Parse("(*)").state, CIlSyntaxParser::COOKIE_COMMENT);
}

TEST(IlSyntaxParser, DirectivesKeepTheirColourAroundAComment)
{
    EXPECT_EQ(Parse("  #def (* c *) LD").colours, Repeat({{2, 2}, {5, 12}, {7, 8}, {3, 12}}));
    EXPECT_EQ(Parse("LD #1").colours, Repeat({{2, 7}, {2, 2}, {1, 9}}));
}

TEST(IlSyntaxParser, StringsAndContinuationLines)
{
    EXPECT_EQ(Parse("LD \"a\\\"b\" x").colours, Repeat({{2, 7}, {1, 2}, {6, 11}, {2, 2}}));
    EXPECT_EQ(Parse("'LD'").colours, Repeat({{4, 11}}));
    const Coloured open = Parse("\"goes on\\");
    EXPECT_EQ(open.state, CIlSyntaxParser::COOKIE_STRING);
    const Coloured next = Parse("LD\" OR", open.state);
    EXPECT_EQ(next.colours, Repeat({{3, 11}, {1, 2}, {2, 7}}));
    EXPECT_EQ(Parse("\"not carried").state, 0u);
}

TEST(IlSyntaxParser, ThePlainParserColoursNothing)
{
    CSyntaxParser parser;
    std::vector<TEXTBLOCK> blocks{{0, 7}};
    EXPECT_EQ(parser.ParseLine(4, "LD 1", &blocks), 0u);
    EXPECT_TRUE(blocks.empty());
}

} // namespace
