// Instruction-list grammar and the handler that collects its instructions.
#include <ZoLumoPlcObj/ILSourceReader.h>
#include <ZoLumoPlcObj/LumoPlcCodeGen.h>
#include <ZoLumoPlcObj/PlcInstrTable.h>
#include <ZoLumoPlcObj/PlcOperandText.h>

#include <cstdint>

namespace
{

enum
{
    IL_COMMENT_WORD = 257,
    IL_MNEMONIC = 258,
    IL_OPERAND = 259
};

const void* TokenClass(int c)
{
    return reinterpret_cast<const void*>(static_cast<intptr_t>(c));
}

const PRS_ELEM kInstrNxtOps[] = {{nullptr, PRS_LITERAL, PRS_COMMIT, ","},
                                 {nullptr, PRS_TOKEN, PRS_MANDATORY, TokenClass(IL_OPERAND)},
                                 {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM kInstrOps[] = {{nullptr, PRS_TOKEN, PRS_MANDATORY, TokenClass(IL_OPERAND)},
                              {"ilInstrNxtOps", PRS_SUBTABLE, PRS_REPEAT, kInstrNxtOps},
                              {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM kInstruction[] = {{nullptr, PRS_TOKEN, PRS_MANDATORY, TokenClass(IL_MNEMONIC)},
                                 {"ilInstrOps", PRS_SUBTABLE, PRS_OPTIONAL, kInstrOps},
                                 {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM kComment[] = {{nullptr, PRS_LITERAL, PRS_MANDATORY, "(*"},
                             {nullptr, PRS_TOKEN, PRS_REPEAT, TokenClass(IL_COMMENT_WORD)},
                             {nullptr, PRS_LITERAL, PRS_MANDATORY, "*)"},
                             {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM kNetElem[] = {{"ilComment", PRS_SUBTABLE, PRS_FIRST_ALT, kComment},
                             {"ilInstruction", PRS_SUBTABLE, PRS_LAST_ALT, kInstruction},
                             {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM kNetwork[] = {{"ilNetElem", PRS_SUBTABLE, PRS_MANDATORY, kNetElem},
                             {"ilNetElem", PRS_SUBTABLE, PRS_REPEAT, kNetElem},
                             {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM kProgram[] = {{"ilNetwork", PRS_SUBTABLE, PRS_REPEAT, kNetwork},
                             {nullptr, PRS_LITERAL_NOCASE, PRS_MANDATORY, "END"},
                             {nullptr, PRS_END, 0, nullptr}};
const char* const kKeywords[] = {"END", nullptr};

bool Is(const char* name, const char* table)
{
    return name && CString(name) == table;
}

} // namespace

void ILSourceReader::Listener::Reset()
{
    m_nError = 0;
    m_nLine = -1;
}

ILSourceReader::ILSourceReader()
    : m_Tokenizer("\n\r \t", 0, '\\', nullptr), m_CodeParser(&m_Tokenizer, kProgram, nullptr)
{
    m_Tokenizer.AddTokSep("(*");
    m_Tokenizer.AddTokSep("*)");
    m_Tokenizer.AddTokSep(",");
    m_Tokenizer.SetKeepLines(true);
    m_Tokenizer.SetKeepPositions(true);
    m_CodeParser.SetHandler(this);
    m_CodeParser.SetListener(&m_Listener);
    m_CodeParser.SetKeywords(kKeywords);
    m_CodeParser.SetCaseInsensitive(true);
}

bool ILSourceReader::Parse(const char* text)
{
    m_Items.clear();
    m_pPending.reset();
    m_strSource = text;
    return m_CodeParser.ParseLine(m_strSource);
}

bool ILSourceReader::GetItem(int i, CString& text, int operands[3], int& line) const
{
    if (i < 0 || i >= static_cast<int>(m_Items.size()))
        return false;
    const Item& item = m_Items[static_cast<size_t>(i)];
    text = item.strText;
    for (int s = 0; s < 3; ++s)
        operands[s] = item.operands[s];
    line = item.nLine;
    return true;
}

CParseHandler* ILSourceReader::GetHandler(const char* /*name*/)
{
    return this;
}

void ILSourceReader::BeginTable(const char* name)
{
    if (Is(name, "ilNetElem"))
    {
        if (!m_pPending)
            m_pPending = std::make_unique<Item>();
        *m_pPending = Item();
        m_nPendingRow = -1;
    }
    else if (Is(name, "ilComment"))
    {
        m_nCommentStart = m_nCommentEnd = -1;
        // Comment words are free text: END inside a comment does not end the program.
        m_CodeParser.SetKeywords(nullptr);
    }
}

bool ILSourceReader::EndTable(const char* name)
{
    if (Is(name, "ilInstruction"))
    {
        if (!m_pPending)
            return false;
        if (!OperandsComplete())
        {
            m_Listener.Freeze(PLCIL_BAD_OPERAND);
            return false;
        }
        m_Items.push_back(*m_pPending);
        m_pPending.reset();
    }
    else if (Is(name, "ilComment"))
    {
        m_CodeParser.SetKeywords(kKeywords);
        if (!m_pPending)
            return false;
        // The words as written, so that commas and spacing survive a round trip.
        m_pPending->strText = "COMM:";
        if (m_nCommentStart >= 0)
            m_pPending->strText += m_strSource.Mid(m_nCommentStart, m_nCommentEnd - m_nCommentStart);
        m_pPending->nLine = m_CodeParser.GetPosition().m_nLine;
        m_Items.push_back(*m_pPending);
        m_pPending.reset();
    }
    else if (Is(name, "ilNetwork"))
    {
        m_pPending.reset();
    }
    return true;
}

void ILSourceReader::TableFailed(const char* name)
{
    if (Is(name, "ilNetwork"))
        m_pPending.reset();
    if (Is(name, "ilComment"))
        m_CodeParser.SetKeywords(kKeywords);
}

bool ILSourceReader::HandleToken(const char* text, int tokenClass)
{
    const CString token(text);
    switch (tokenClass)
    {
    case IL_COMMENT_WORD:
        if (token == "*)")
            return false;
        if (m_nCommentStart < 0)
            m_nCommentStart = m_CodeParser.GetPosition().m_nStart;
        m_nCommentEnd = m_CodeParser.GetPosition().m_nEnd;
        return true;
    case IL_MNEMONIC:
        if (!m_pPending)
            return false;
        m_pPending->strText = token;
        m_pPending->nLine = m_CodeParser.GetPosition().m_nLine;
        m_nPendingRow = PlcInstrTable::FindNoCase(token);
        if (m_nPendingRow >= 0)
            return true;
        m_Listener.Freeze(PLCIL_UNKNOWN_MNEMONIC);
        return false;
    case IL_OPERAND:
        return HandleOperand(token);
    default:
        return false;
    }
}

// Each operand must be of the kind the instruction takes in its slot, and in range.
bool ILSourceReader::HandleOperand(const CString& token)
{
    if (!m_pPending || m_nPendingRow < 0)
        return false;
    int slot = 0;
    while (slot < 3 && m_pPending->operands[slot] != -1)
        ++slot;
    const PLC_INSTR_ROW& row = PlcInstrTable::Row(m_nPendingRow);
    if (slot == 3 || row.kinds[slot] == PLCOPND_NONE)
    {
        m_Listener.Freeze(PLCIL_TOO_MANY_OPERANDS);
        return false;
    }
    int word = 0, bit = 0;
    bool ok = false;
    if (PlcOperandText::ParseDigits(token, word))
    {
        ok = row.kinds[slot] == PLCOPND_WORD && (slot == 2 || row.kinds[slot + 1] != PLCOPND_BIT) &&
             PlcInstrTable::OperandInRange(m_nPendingRow, slot, word);
        if (ok)
            m_pPending->operands[slot] = word;
    }
    else if (PlcOperandText::ParseBitAddress(token, word, bit))
    {
        ok = slot < 2 && row.kinds[slot] == PLCOPND_WORD && row.kinds[slot + 1] == PLCOPND_BIT &&
             PlcInstrTable::OperandInRange(m_nPendingRow, slot, word) &&
             PlcInstrTable::OperandInRange(m_nPendingRow, slot + 1, bit);
        if (ok)
        {
            m_pPending->operands[slot] = word;
            m_pPending->operands[slot + 1] = bit;
        }
    }
    if (!ok)
        m_Listener.Freeze(PLCIL_BAD_OPERAND);
    return ok;
}

bool ILSourceReader::OperandsComplete() const
{
    if (m_nPendingRow < 0)
        return false;
    const PLC_INSTR_ROW& row = PlcInstrTable::Row(m_nPendingRow);
    for (int slot = 0; slot < 3; ++slot)
        if (row.kinds[slot] != PLCOPND_NONE && m_pPending->operands[slot] == -1)
            return false;
    return true;
}
