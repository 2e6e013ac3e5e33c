// Reads instruction-list text into a list of instructions with the table-driven parser.
#pragma once

#include <ZoLumoPlcObj/CodeParser.h>

#include <memory>
#include <vector>

class ILSourceReader : public CParseHandler
{
public:
    ILSourceReader();
    // True when the whole text is a program ending in END.
    bool Parse(const char* text);
    // Instruction i: its text ("COMM:" and the words for a comment), operands and line.
    bool GetItem(int i, CString& text, int operands[3], int& line) const;
    int GetErrorCode() const noexcept { return m_Listener.m_nError; }
    int GetErrorLine() const noexcept { return m_Listener.m_nLine; }

    CParseHandler* GetHandler(const char* name) override;
    void BeginTable(const char* name) override;
    bool EndTable(const char* name) override;
    void TableFailed(const char* name) override;
    bool HandleToken(const char* text, int tokenClass) override;

private:
    struct Item
    {
        CString strText;
        int operands[3] = {-1, -1, -1};
        int nLine = -1;
    };

    // Keeps the error and the position of the last token read.
    class Listener : public CParseListener
    {
    public:
        void Reset() override;
        void SetPosition(const CSourceRef& position) override { m_nLine = position.m_nLine; }
        void SetError(int code, bool /*freeze*/) override { m_nError = code; }
        int m_nError = 0;
        int m_nLine = -1;
    };

    bool HandleOperand(const CString& token);
    bool OperandsComplete() const;

    Listener m_Listener;
    CParser m_Tokenizer;
    CCodeParser m_CodeParser;
    std::vector<Item> m_Items;
    std::unique_ptr<Item> m_pPending;
    int m_nPendingRow = -1; // instruction table row of the pending mnemonic
    CString m_strSource;
    int m_nCommentStart = -1; // source span of the comment words being collected
    int m_nCommentEnd = -1;
};
