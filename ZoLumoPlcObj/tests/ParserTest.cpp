#include <ZoLumoPlcObj/CodeParser.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{

std::vector<std::string> Tokens(const CParser& parser)
{
    std::vector<std::string> out;
    for (const CString& t : parser.GetTokens())
        out.push_back(t.str());
    return out;
}

using V = std::vector<std::string>;

} // namespace

class ParserTest : public ::testing::Test
{
protected:
    CParser parser{" \t\r\n", 0, '\\', nullptr};
};

TEST_F(ParserTest, TokenSeparatorsBecomeTokensOfTheirOwn)
{
    parser.AddTokSep("(*");
    parser.AddTokSep("*)");
    parser.AddTokSep(",");
    parser.Parse("LD 1.0,2 (*x*)");
    EXPECT_EQ(Tokens(parser), (V{"LD", "1.0", ",", "2", "(*", "x", "*)"}));
}

TEST_F(ParserTest, LongerTokenSeparatorsAreTriedFirst)
{
    parser.AddTokSep("*");
    parser.AddTokSep("**");
    parser.Parse("a**b*c");
    EXPECT_EQ(Tokens(parser), (V{"a", "**", "b", "*", "c"}));
}

TEST_F(ParserTest, QuotedTokensKeepQuotesAndSeparatorsAndDropTheEscape)
{
    parser.SetCloser('"');
    parser.AddTokSep(",");
    parser.Parse("say\"a, \\\"b\\\" c\"end \"open, x");
    EXPECT_EQ(Tokens(parser), (V{"say", "\"a, \"b\" c\"", "end", "\"open, x"}));
}

TEST_F(ParserTest, CommentsAreDroppedAndRecognisedOnlyOnWholeTokens)
{
    parser.AddComm("(*", "*)");
    parser.AddComm("//", nullptr);
    parser.Parse("a (* b c *) d // e f\ng x(*y");
    EXPECT_EQ(Tokens(parser), (V{"a", "d", "g", "x(*y"}));
}

TEST_F(ParserTest, TokensKeepTheLineAndOffsetsWhereTheyStart)
{
    parser.SetKeepLines(true);
    parser.SetKeepPositions(true);
    parser.AddTokSep(",");
    parser.Parse("ab  cd\nef,g\n\nh");
    EXPECT_EQ(Tokens(parser), (V{"ab", "cd", "ef", ",", "g", "h"}));
    std::vector<DWORD> lines(parser.GetTokenLines().begin(), parser.GetTokenLines().end());
    EXPECT_EQ(lines, (std::vector<DWORD>{0, 0, 1, 1, 1, 3}));
    const auto& pos = parser.GetTokenPositions();
    EXPECT_EQ(pos[1].nStart, 4);
    EXPECT_EQ(pos[1].nEnd, 6);
    EXPECT_EQ(pos[3].nStart, 9);
    EXPECT_EQ(pos[4].nEnd, 11);
}

TEST_F(ParserTest, AFileIsTokenizedLikeAText)
{
    const std::string path = ::testing::TempDir() + "/parser_" + std::to_string(getpid()) + ".txt";
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "word" + std::to_string(i) + " ";
    std::ofstream(path) << text;
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    EXPECT_TRUE(parser.Parse(file));
    std::remove(path.c_str());
    ASSERT_EQ(parser.GetTokens().GetSize(), 60);
    EXPECT_EQ(parser.GetTokens()[59], "word59");
    EXPECT_TRUE(parser.InParsing());
}

namespace
{

enum
{
    NAME = 1,
    NUMBER = 2
};
#define CLASS(c) reinterpret_cast<const void*>(static_cast<intptr_t>(c))

// expr := NUMBER | NAME | "[" NUMBER? ("," NUMBER)* "]"
const PRS_ELEM kList[] = {
    {nullptr, PRS_LITERAL, PRS_MANDATORY, "["}, {nullptr, PRS_TOKEN, PRS_OPTIONAL, CLASS(NUMBER)},
    {nullptr, PRS_LITERAL, PRS_GROUP, ","},     {nullptr, PRS_TOKEN, PRS_REPEAT, CLASS(NUMBER)},
    {nullptr, PRS_LITERAL, PRS_MANDATORY, "]"}, {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM kExpr[] = {{nullptr, PRS_TOKEN, PRS_FIRST_ALT, CLASS(NUMBER)},
                          {nullptr, PRS_TOKEN, PRS_FIRST_ALT, CLASS(NAME)},
                          {"list", PRS_SUBTABLE, PRS_LAST_ALT, kList},
                          {nullptr, PRS_END, 0, nullptr}};
// stmt := NAME "=" expr ";"   (committed after "=")
const PRS_ELEM kStmt[] = {{nullptr, PRS_TOKEN, PRS_MANDATORY, CLASS(NAME)},
                          {nullptr, PRS_LITERAL, PRS_COMMIT, "="},
                          {"expr", PRS_SUBTABLE, PRS_MANDATORY, kExpr},
                          {nullptr, PRS_LITERAL, PRS_MANDATORY, ";"},
                          {nullptr, PRS_END, 0, nullptr}};
// program := stmt* "END"
const PRS_ELEM kProgram[] = {{"stmt", PRS_SUBTABLE, PRS_REPEAT, kStmt},
                             {nullptr, PRS_LITERAL_NOCASE, PRS_MANDATORY, "END"},
                             {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM kOneName[] = {{nullptr, PRS_TOKEN, PRS_MANDATORY, CLASS(NAME)},
                             {nullptr, PRS_END, 0, nullptr}};
// nested := "(" nested ")" | NAME
extern const PRS_ELEM kNested[];
const PRS_ELEM kParenthesised[] = {{nullptr, PRS_LITERAL, PRS_MANDATORY, "("},
                                   {"nested", PRS_SUBTABLE, PRS_MANDATORY, kNested},
                                   {nullptr, PRS_LITERAL, PRS_MANDATORY, ")"},
                                   {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM kNested[] = {{"parenthesised", PRS_SUBTABLE, PRS_FIRST_ALT, kParenthesised},
                            {nullptr, PRS_TOKEN, PRS_LAST_ALT, CLASS(NAME)},
                            {nullptr, PRS_END, 0, nullptr}};
// backtrack := "(" backtrack ")" "!" | "(" backtrack ")" | NAME: every level parses its inside twice.
extern const PRS_ELEM kBacktrack[];
const PRS_ELEM kBanged[] = {{nullptr, PRS_LITERAL, PRS_MANDATORY, "("},
                            {"backtrack", PRS_SUBTABLE, PRS_MANDATORY, kBacktrack},
                            {nullptr, PRS_LITERAL, PRS_MANDATORY, ")"},
                            {nullptr, PRS_LITERAL, PRS_MANDATORY, "!"},
                            {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM kPlain[] = {{nullptr, PRS_LITERAL, PRS_MANDATORY, "("},
                           {"backtrack", PRS_SUBTABLE, PRS_MANDATORY, kBacktrack},
                           {nullptr, PRS_LITERAL, PRS_MANDATORY, ")"},
                           {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM kBacktrack[] = {{"banged", PRS_SUBTABLE, PRS_FIRST_ALT, kBanged},
                               {"plain", PRS_SUBTABLE, PRS_FIRST_ALT, kPlain},
                               {nullptr, PRS_TOKEN, PRS_LAST_ALT, CLASS(NAME)},
                               {nullptr, PRS_END, 0, nullptr}};
const char* const kKeywords[] = {"END", nullptr};
const char* const kSkipped[] = {"then", nullptr};

class RecordingHandler : public CParseHandler
{
public:
    CParseHandler* GetHandler(const char* name) override
    {
        return refuse.size() && name && refuse == name ? nullptr : this;
    }
    void BeginTable(const char* name) override { events += std::string("<") + (name ? name : "top") + " "; }
    bool EndTable(const char* name) override
    {
        events += std::string(name ? name : "top") + "> ";
        return true;
    }
    void TableFailed(const char* name) override { events += std::string(name ? name : "top") + "! "; }
    void SubTableDone(const char* name) override { events += std::string("done:") + name + " "; }
    bool HandleToken(const char* text, int tokenClass) override
    {
        const bool ok = tokenClass == NUMBER ? std::isdigit(static_cast<unsigned char>(text[0]))
                                             : std::isalpha(static_cast<unsigned char>(text[0]));
        if (ok)
            values += std::string(text) + " ";
        return ok;
    }

    std::string events, values, refuse;
};

class RecordingListener : public CParseListener
{
public:
    void Reset() override { errors.clear(); }
    void End(bool result) override { ended = result ? 1 : 0; }
    void SetPosition(const CSourceRef& position) override { line = position.m_nLine; }
    void SetError(int code, bool freeze) override { errors.push_back(freeze ? -code : code); }
    std::vector<int> errors; // frozen codes negative
    int ended = -1;
    int line = -1;
};

} // namespace

class CodeParserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tokenizer.AddTokSep("=");
        tokenizer.AddTokSep(";");
        tokenizer.AddTokSep(",");
        tokenizer.AddTokSep("[");
        tokenizer.AddTokSep("]");
        tokenizer.SetKeepLines(true);
        code.SetHandler(&handler);
        code.SetListener(&listener);
        code.SetKeywords(kKeywords);
        code.SetCaseInsensitive(true);
    }

    CParser tokenizer{" \t\r\n", 0, '\\', nullptr};
    CCodeParser code{&tokenizer, kProgram, nullptr};
    RecordingHandler handler;
    RecordingListener listener;
};

TEST_F(CodeParserTest, AProgramIsHandedToTheHandlerTableByTable)
{
    EXPECT_TRUE(code.ParseLine("a = 1; b = [4, 5,6];\nc = x; end"));
    EXPECT_EQ(handler.values, "a 1 b 4 5 6 c x ");
    EXPECT_EQ(listener.ended, 1);
    EXPECT_EQ(listener.line, 1);
    handler.events.clear();
    EXPECT_TRUE(code.ParseLine("a = [];END"));
    EXPECT_EQ(handler.events,
              "<top <stmt <expr <list list> done:list expr> done:expr stmt> done:stmt <stmt stmt! "
              "done:stmt top> ");
}

TEST_F(CodeParserTest, SkippedTokensArePassedOverUnlessSwitchedOff)
{
    code.SetSeparators(kSkipped);
    EXPECT_TRUE(code.ParseLine("a = then 1; END"));
    code.EnableSeparators(true);
    EXPECT_FALSE(code.ParseLine("a = then 1; END"));
}

TEST_F(CodeParserTest, EveryFailureHasItsCode)
{
    struct Case
    {
        const char* text;
        int error;
    } cases[] = {
        {"", PRSERR_NO_TOKEN}, // END missing
        {"a = 1;", PRSERR_NO_TOKEN},
        {"a = 1; end more", PRSERR_UNEXPECTED},
        {"a = end; end", PRSERR_KEYWORD}, // keyword where a free token was expected, frozen by the commit
        {"a = ; end", PRSERR_UNEXPECTED}, // no alternative of expr takes ";"
        {"a = [1,]; end", PRSERR_REFUSED_TOKEN},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(code.ParseLine(c.text));
        EXPECT_EQ(code.GetError(), c.error);
        EXPECT_EQ(listener.ended, 0);
    }

    code.SetParseTable(kOneName);
    EXPECT_FALSE(code.ParseLine("5"));
    EXPECT_EQ(code.GetError(), PRSERR_REFUSED_TOKEN);
    code.SetParseTable(kProgram);

    handler.refuse = "expr";
    EXPECT_FALSE(code.ParseLine("a = 1; end"));
    EXPECT_EQ(listener.errors.back(), -PRSERR_REFUSED_TABLE);
    handler.refuse.clear();

    code.SetHandler(nullptr);
    EXPECT_FALSE(code.ParseLine("end"));
    EXPECT_EQ(code.GetError(), PRSERR_NO_HANDLER);
    code.SetHandler(&handler);

    code.SetParser(nullptr);
    EXPECT_FALSE(code.ParseLine("end"));
    EXPECT_EQ(code.GetError(), PRSERR_NO_TABLE);
    code.SetParser(&tokenizer);

    EXPECT_FALSE(code.ParseFile(nullptr));
    EXPECT_EQ(code.GetError(), PRSERR_NO_FILE_NAME);
    EXPECT_FALSE(code.ParseFile("/nonexistent/dir/program.txt"));
    EXPECT_EQ(code.GetError(), PRSERR_FILE_OPEN);
    EXPECT_STREQ(code.GetPosition().m_pszSource, "/nonexistent/dir/program.txt");
}

TEST_F(CodeParserTest, TheFirstErrorInsideACommittedConstructStays)
{
    EXPECT_FALSE(code.ParseLine("a = [1,];\nb = 1; end"));
    ASSERT_FALSE(listener.errors.empty());
    EXPECT_EQ(listener.errors.back(), -PRSERR_REFUSED_TOKEN);
    EXPECT_TRUE(listener.m_bFrozen);
    EXPECT_EQ(listener.line, 0);
    EXPECT_TRUE(code.ParseLine("b = 1; end"));
    EXPECT_FALSE(listener.m_bFrozen);
}

TEST_F(CodeParserTest, NestingBeyondTheLimitFailsWithItsOwnCode)
{
    tokenizer.AddTokSep("(");
    tokenizer.AddTokSep(")");
    code.SetParseTable(kNested);
    const auto nested = [](int depth) { return std::string(depth, '(') + "a" + std::string(depth, ')'); };
    EXPECT_TRUE(code.ParseLine(nested(CCodeParser::kMaxTableDepth / 2 - 1).c_str()));
    EXPECT_FALSE(code.ParseLine(nested(4000).c_str()));
    EXPECT_EQ(code.GetError(), PRSERR_TOO_DEEP);
    ASSERT_FALSE(listener.errors.empty());
    EXPECT_EQ(listener.errors.back(), -PRSERR_TOO_DEEP) << "the reason stays";
    EXPECT_EQ(listener.ended, 0);
    EXPECT_TRUE(code.ParseLine(nested(3).c_str())) << "the next parse starts afresh";
}

TEST_F(CodeParserTest, InputThatWouldBacktrackWithoutEndFailsWithTheSameCode)
{
    tokenizer.AddTokSep("(");
    tokenizer.AddTokSep(")");
    tokenizer.AddTokSep("!");
    code.SetParseTable(kBacktrack);
    const auto nested = [](int depth) { return std::string(depth, '(') + "a" + std::string(depth, ')'); };
    EXPECT_TRUE(code.ParseLine(nested(6).c_str()));
    EXPECT_TRUE(code.ParseLine("((a)!)"));
    EXPECT_FALSE(code.ParseLine(nested(60).c_str())) << "2^60 tries";
    EXPECT_EQ(code.GetError(), PRSERR_TOO_DEEP);
    EXPECT_TRUE(code.ParseLine(nested(6).c_str())) << "the next parse starts afresh";
}

TEST_F(CodeParserTest, AFileIsParsedWithItsNameAsSource)
{
    const std::string path = ::testing::TempDir() + "/codeparser_" + std::to_string(getpid()) + ".txt";
    std::ofstream(path) << "x = 7;\nEND\n";
    EXPECT_TRUE(code.ParseFile(path.c_str()));
    std::remove(path.c_str());
    EXPECT_EQ(handler.values, "x 7 ");
    EXPECT_EQ(code.GetPosition().m_nLine, 1);
}
