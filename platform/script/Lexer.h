// Splits a script text into tokens with their line and column (both from 0).
#pragma once

#include "Value.h"

#include <string>
#include <vector>

namespace tvsk::script
{

enum class Kw : unsigned char
{
    None,
    And,
    ByRef,
    ByVal,
    Call,
    Case,
    Class,
    Const,
    Default,
    Dim,
    Do,
    Each,
    Else,
    ElseIf,
    Empty,
    End,
    Eqv,
    Erase,
    Error,
    Exit,
    Explicit,
    False,
    For,
    Function,
    Get,
    GoTo,
    If,
    Imp,
    In,
    Is,
    Let,
    Loop,
    Me,
    Mod,
    New,
    Next,
    Not,
    Nothing,
    Null,
    On,
    Option,
    Or,
    Preserve,
    Private,
    Property,
    Public,
    ReDim,
    Resume,
    Select,
    Set,
    Step,
    Stop,
    Sub,
    Then,
    To,
    True,
    Until,
    Wend,
    While,
    With,
    Xor
};

enum class Tok : unsigned char
{
    End,
    Newline, // a line end or ':'
    Word,
    Number,
    String,
    Date,
    Plus,
    Minus,
    Star,
    Slash,
    Backslash,
    Caret,
    Amp,
    Eq,
    Ne,
    Lt,
    Gt,
    Le,
    Ge,
    LParen,
    RParen,
    Comma,
    Dot,
};

struct Token
{
    Tok kind = Tok::End;
    Kw keyword = Kw::None;
    bool colon = false;       // a Newline written as ':'
    bool spaceBefore = false; // blank or line start before the token ("a .b" against "a.b")
    int line = 0;
    int column = 0;
    std::u16string text; // a word's name or a string's contents
    Value value;         // a number's or date's value
};

// Keywords that cannot name a variable.
bool IsReserved(Kw k) noexcept;

// The tokens of text; a lexical error is thrown as a compilation error at its position.
std::vector<Token> Tokenize(std::u16string_view text, int firstLine = 0);

} // namespace tvsk::script
