// A text split into tokens at separator characters.
#pragma once

#include <framework/Array.h>

class CTokString
{
public:
    CTokString() {}
    CTokString(const char* text, const char* separators, char quote) { Set(text, separators, quote); }
    ~CTokString() {}

    // Splits text at any of the separators; empty tokens between adjacent separators are kept.
    // A quote character other than 0 encloses separators that belong to a token (and is dropped).
    void Set(const char* text, const char* separators, char quote);
    // Token i (from 0); empty past the end.
    CString operator[](int i) const;
    int NumToks() const { return static_cast<int>(m_tokens.GetSize()); }

private:
    CStringArray m_tokens;
};
