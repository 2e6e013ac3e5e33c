// Copies a ".slv" listing into the text database syntax: PLC lines get the keyword "PLC",
// a comment row's text becomes one quoted field.
#pragma once

#include <framework/CString.h>

class CStdioFile;
class CTvskTempFile;

class CSlvListingCopy
{
public:
    // Error type of a PLC mnemonic or operand longer than its field.
    static constexpr int ErrFieldTooLong = 9;

    // False when a line cannot be taken over or written; Line, Type and Info then say why.
    // A failed read of the listing throws the framework's file exception.
    bool Copy(CStdioFile& listing, CTvskTempFile& target);

    int Line() const { return m_line; }
    int Type() const { return m_type; }
    const CString& Info() const { return m_info; }
    // The listing held a block header ("'" line): a listing, if one where no line qualified.
    bool HeldBlockHeader() const { return m_heldBlockHeader; }

private:
    bool CheckPlcFields(const CString& line);
    bool CheckCommentRow(const CString& text);

    int m_line = 0;
    int m_type = 0;
    CString m_info;
    bool m_heldBlockHeader = false;
};
