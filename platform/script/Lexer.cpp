// The tokenizer.
#include "Lexer.h"

#include "Convert.h"
#include "DateTime.h"
#include "ScriptError.h"

#include <charconv>
#include <cmath>
#include <string>
#include <unordered_map>

namespace tvsk::script
{

namespace
{

const std::unordered_map<std::u16string, Kw>& Keywords()
{
    static const std::unordered_map<std::u16string, Kw> map = {
        {u"and", Kw::And},
        {u"byref", Kw::ByRef},
        {u"byval", Kw::ByVal},
        {u"call", Kw::Call},
        {u"case", Kw::Case},
        {u"class", Kw::Class},
        {u"const", Kw::Const},
        {u"default", Kw::Default},
        {u"dim", Kw::Dim},
        {u"do", Kw::Do},
        {u"each", Kw::Each},
        {u"else", Kw::Else},
        {u"elseif", Kw::ElseIf},
        {u"empty", Kw::Empty},
        {u"end", Kw::End},
        {u"eqv", Kw::Eqv},
        {u"erase", Kw::Erase},
        {u"error", Kw::Error},
        {u"exit", Kw::Exit},
        {u"explicit", Kw::Explicit},
        {u"false", Kw::False},
        {u"for", Kw::For},
        {u"function", Kw::Function},
        {u"get", Kw::Get},
        {u"goto", Kw::GoTo},
        {u"if", Kw::If},
        {u"imp", Kw::Imp},
        {u"in", Kw::In},
        {u"is", Kw::Is},
        {u"let", Kw::Let},
        {u"loop", Kw::Loop},
        {u"me", Kw::Me},
        {u"mod", Kw::Mod},
        {u"new", Kw::New},
        {u"next", Kw::Next},
        {u"not", Kw::Not},
        {u"nothing", Kw::Nothing},
        {u"null", Kw::Null},
        {u"on", Kw::On},
        {u"option", Kw::Option},
        {u"or", Kw::Or},
        {u"preserve", Kw::Preserve},
        {u"private", Kw::Private},
        {u"property", Kw::Property},
        {u"public", Kw::Public},
        {u"redim", Kw::ReDim},
        {u"resume", Kw::Resume},
        {u"select", Kw::Select},
        {u"set", Kw::Set},
        {u"step", Kw::Step},
        {u"stop", Kw::Stop},
        {u"sub", Kw::Sub},
        {u"then", Kw::Then},
        {u"to", Kw::To},
        {u"true", Kw::True},
        {u"until", Kw::Until},
        {u"wend", Kw::Wend},
        {u"while", Kw::While},
        {u"with", Kw::With},
        {u"xor", Kw::Xor},
    };
    return map;
}

bool Letter(char16_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool Digit(char16_t c)
{
    return c >= '0' && c <= '9';
}
bool Space(char16_t c)
{
    return c == ' ' || c == '\t' || c == 0xA0 || c == 0xFEFF;
}

class Lexer
{
public:
    Lexer(std::u16string_view text, int firstLine) : m_text(text), m_line(firstLine) {}

    std::vector<Token> Run()
    {
        bool space = true;
        while (m_pos < m_text.size())
        {
            const char16_t c = m_text[m_pos];
            if (Space(c))
            {
                ++m_pos;
                space = true;
                continue;
            }
            if (c == '\'')
            {
                SkipComment();
                continue;
            }
            if (c == '\r' || c == '\n')
            {
                AddNewline(false);
                if (c == '\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n')
                    ++m_pos;
                ++m_pos;
                NextLine();
                space = true;
                continue;
            }
            if (c == ':')
            {
                AddNewline(true);
                ++m_pos;
                space = true;
                continue;
            }
            if (c == '_' && Continuation())
            {
                space = true;
                continue;
            }
            Token t;
            t.line = m_line;
            t.column = static_cast<int>(m_pos - m_lineStart);
            t.spaceBefore = space;
            space = false;
            if (Letter(c) || c == '[')
                Word(t);
            else if (Digit(c) || (c == '.' && m_pos + 1 < m_text.size() && Digit(m_text[m_pos + 1])))
                Number(t);
            else if (c == '&' && StartsRadix())
                Radix(t);
            else if (c == '"')
                String(t);
            else if (c == '#')
                Date(t);
            else
                Operator(t, c);
            // After a dot "Rem" names a member.
            const bool member = !m_tokens.empty() && m_tokens.back().kind == Tok::Dot && !t.spaceBefore;
            if (t.kind == Tok::Word && t.keyword == Kw::None && IsRem(t.text) && !member)
            {
                SkipComment();
                continue;
            }
            m_tokens.push_back(std::move(t));
        }
        AddNewline(false);
        Token end;
        end.kind = Tok::End;
        end.line = m_line;
        end.column = static_cast<int>(m_pos - m_lineStart);
        m_tokens.push_back(std::move(end));
        return std::move(m_tokens);
    }

private:
    [[noreturn]] void Fail(long number)
    {
        ThrowCompile(number, m_line, static_cast<int>(m_pos - m_lineStart));
    }

    static bool IsRem(const std::u16string& lower) { return lower == u"rem"; }

    static int DigitValue(char16_t c, int base)
    {
        int d = -1;
        if (Digit(c))
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        return d < base ? d : -1;
    }

    // "&H1F", "&O17", "&17": a literal; "&h" or "&hello" is the & operator before a name.
    bool StartsRadix() const
    {
        size_t p = m_pos + 1;
        if (p >= m_text.size())
            return false;
        int base = 8;
        if (m_text[p] == 'h' || m_text[p] == 'H')
            base = 16, ++p;
        else if (m_text[p] == 'o' || m_text[p] == 'O')
            ++p;
        else if (!Digit(m_text[p]))
            return false;
        const size_t first = p;
        while (p < m_text.size() && DigitValue(m_text[p], base) >= 0)
            ++p;
        if (base == 8 && first == m_pos + 1)
            return true;
        return p > first && !(p < m_text.size() && (Letter(m_text[p]) || m_text[p] == '_'));
    }

    void NextLine()
    {
        ++m_line;
        m_lineStart = m_pos;
    }

    void SkipComment()
    {
        while (m_pos < m_text.size() && m_text[m_pos] != '\r' && m_text[m_pos] != '\n')
            ++m_pos;
    }

    // "_" followed by blanks and a line end joins the next line.
    bool Continuation()
    {
        size_t p = m_pos + 1;
        while (p < m_text.size() && Space(m_text[p]))
            ++p;
        if (p < m_text.size() && m_text[p] != '\r' && m_text[p] != '\n')
            return false;
        if (p < m_text.size() && m_text[p] == '\r' && p + 1 < m_text.size() && m_text[p + 1] == '\n')
            ++p;
        m_pos = p + 1;
        NextLine();
        return true;
    }

    void AddNewline(bool colon)
    {
        if (!m_tokens.empty() && m_tokens.back().kind == Tok::Newline && !colon && !m_tokens.back().colon)
            return;
        Token t;
        t.kind = Tok::Newline;
        t.colon = colon;
        t.line = m_line;
        t.column = static_cast<int>(m_pos - m_lineStart);
        m_tokens.push_back(std::move(t));
    }

    void Word(Token& t)
    {
        t.kind = Tok::Word;
        if (m_text[m_pos] == '[')
        {
            const size_t end = m_text.find(']', m_pos);
            if (end == std::u16string_view::npos ||
                m_text.substr(m_pos, end - m_pos).find('\n') != std::u16string_view::npos)
                Fail(1007);
            t.text = std::u16string(m_text.substr(m_pos + 1, end - m_pos - 1));
            m_pos = end + 1;
            return;
        }
        const size_t start = m_pos;
        while (m_pos < m_text.size() &&
               (Letter(m_text[m_pos]) || Digit(m_text[m_pos]) || m_text[m_pos] == '_'))
            ++m_pos;
        if (m_pos - start > 255)
            Fail(1030);
        t.text = std::u16string(m_text.substr(start, m_pos - start));
        std::u16string lower = t.text;
        for (auto& ch : lower)
            if (ch >= 'A' && ch <= 'Z')
                ch = static_cast<char16_t>(ch + 32);
        auto it = Keywords().find(lower);
        if (it != Keywords().end())
            t.keyword = it->second;
        else if (lower == u"rem")
            t.text = lower;
    }

    void Number(Token& t)
    {
        t.kind = Tok::Number;
        const size_t start = m_pos;
        bool real = false;
        while (m_pos < m_text.size() && Digit(m_text[m_pos]))
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '.')
        {
            real = true;
            ++m_pos;
            while (m_pos < m_text.size() && Digit(m_text[m_pos]))
                ++m_pos;
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E'))
        {
            size_t p = m_pos + 1;
            if (p < m_text.size() && (m_text[p] == '+' || m_text[p] == '-'))
                ++p;
            if (p < m_text.size() && Digit(m_text[p]))
            {
                real = true;
                m_pos = p;
                while (m_pos < m_text.size() && Digit(m_text[m_pos]))
                    ++m_pos;
            }
            else
                Fail(1031);
        }
        std::string ascii(m_text.begin() + static_cast<long>(start),
                          m_text.begin() + static_cast<long>(m_pos));
        if (m_pos < m_text.size() && (Letter(m_text[m_pos]) || m_text[m_pos] == '_'))
        {
            // A type suffix is not part of the language: "1x" is not a number.
            if (m_text[m_pos] != '&' && m_text[m_pos] != '#' && m_text[m_pos] != '!' && m_text[m_pos] != '@')
                Fail(1025);
        }
        double d = 0;
        auto [p, ec] =
            std::from_chars(ascii.data(), ascii.data() + ascii.size(), d, std::chars_format::general);
        // An exponent far below the range reads as 0; one above it is no number.
        if (ec == std::errc::result_out_of_range && Underflows(ascii))
            d = 0;
        else if (ec == std::errc::result_out_of_range || !std::isfinite(d))
            Fail(1031);
        (void)p;
        if (!real && d <= 32767)
            t.value = Value::Int(static_cast<SHORT>(d));
        else if (!real && d <= 2147483647.0)
            t.value = Value::Long(static_cast<LONG>(d));
        else
            t.value = Value::Double(d);
    }

    void Radix(Token& t)
    {
        t.kind = Tok::Number;
        ++m_pos;
        int base = 8;
        if (m_text[m_pos] == 'h' || m_text[m_pos] == 'H')
            base = 16, ++m_pos;
        else if (m_text[m_pos] == 'o' || m_text[m_pos] == 'O')
            ++m_pos;
        unsigned long long v = 0;
        int digits = 0;
        while (m_pos < m_text.size())
        {
            const int d = DigitValue(m_text[m_pos], base);
            if (d < 0)
                break;
            v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
            if (v > 0xFFFFFFFFull)
                Fail(1031);
            ++digits;
            ++m_pos;
        }
        if (digits == 0)
            Fail(1031);
        // 16 bits wrap as an Integer's (&HFFFF is -1) unless a trailing "&" reads them as 32 (&HFFFF& is
        // 65535). Then, as every number literal, it is an Integer where its value fits: &H10& is 16.
        const bool longSuffix = m_pos < m_text.size() && m_text[m_pos] == '&';
        if (longSuffix)
            ++m_pos;
        LONG value = static_cast<LONG>(static_cast<ULONG>(v));
        if (!longSuffix && v <= 0xFFFF)
            value = static_cast<SHORT>(static_cast<USHORT>(v));
        if (value >= -32768 && value <= 32767)
            t.value = Value::Int(static_cast<SHORT>(value));
        else
            t.value = Value::Long(value);
    }

    void String(Token& t)
    {
        t.kind = Tok::String;
        ++m_pos;
        for (;;)
        {
            if (m_pos >= m_text.size() || m_text[m_pos] == '\r' || m_text[m_pos] == '\n')
                Fail(1033);
            const char16_t c = m_text[m_pos++];
            if (c == '"')
            {
                if (m_pos < m_text.size() && m_text[m_pos] == '"')
                {
                    t.text += u'"';
                    ++m_pos;
                    continue;
                }
                break;
            }
            t.text += c;
        }
        t.value = Value::String(t.text);
    }

    void Date(Token& t)
    {
        t.kind = Tok::Date;
        const size_t end = m_text.find('#', m_pos + 1);
        if (end == std::u16string_view::npos)
            Fail(1002);
        const auto body = m_text.substr(m_pos + 1, end - m_pos - 1);
        if (body.find('\n') != std::u16string_view::npos)
            Fail(1002);
        auto date = ParseDate(body, true);
        if (!date)
            Fail(1002);
        t.value = Value::Date(*date);
        m_pos = end + 1;
    }

    void Operator(Token& t, char16_t c)
    {
        auto next = [&](char16_t n)
        {
            if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == n)
            {
                ++m_pos;
                return true;
            }
            return false;
        };
        switch (c)
        {
        case '+':
            t.kind = Tok::Plus;
            break;
        case '-':
            t.kind = Tok::Minus;
            break;
        case '*':
            t.kind = Tok::Star;
            break;
        case '/':
            t.kind = Tok::Slash;
            break;
        case '\\':
            t.kind = Tok::Backslash;
            break;
        case '^':
            t.kind = Tok::Caret;
            break;
        case '&':
            t.kind = Tok::Amp;
            break;
        case '=':
            // "=>" and "=<" are ">=" and "<=".
            t.kind = next('>') ? Tok::Ge : next('<') ? Tok::Le : Tok::Eq;
            break;
        case '<':
            t.kind = next('>') ? Tok::Ne : next('=') ? Tok::Le : Tok::Lt;
            break;
        case '>':
            t.kind = next('=') ? Tok::Ge : next('<') ? Tok::Ne : Tok::Gt;
            break;
        case '(':
            t.kind = Tok::LParen;
            break;
        case ')':
            t.kind = Tok::RParen;
            break;
        case ',':
            t.kind = Tok::Comma;
            break;
        case '.':
            t.kind = Tok::Dot;
            break;
        default:
            Fail(1032);
        }
        ++m_pos;
    }

    std::u16string_view m_text;
    size_t m_pos = 0;
    int m_line = 0;
    size_t m_lineStart = 0;
    std::vector<Token> m_tokens;
};

} // namespace

bool IsReserved(Kw k) noexcept
{
    switch (k)
    {
    case Kw::None:
    case Kw::Default:
    case Kw::Error:
    case Kw::Explicit:
    case Kw::Get:
    case Kw::Let:
    case Kw::Preserve:
    case Kw::Property:
    case Kw::Resume:
    case Kw::Step:
    case Kw::GoTo:
        return false;
    default:
        return true;
    }
}

std::vector<Token> Tokenize(std::u16string_view text, int firstLine)
{
    return Lexer(text, firstLine).Run();
}

} // namespace tvsk::script
