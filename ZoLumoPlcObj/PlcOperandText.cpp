// Operand texts of PLC instructions.
#include <ZoLumoPlcObj/PlcOperandText.h>

#include <climits>

bool PlcOperandText::ParseDigits(const char* text, int& value)
{
    if (!text || !*text)
        return false;
    long long v = 0;
    for (const char* p = text; *p; ++p)
    {
        if (*p < '0' || *p > '9')
            return false;
        v = v * 10 + (*p - '0');
        if (v > INT_MAX)
            return false;
    }
    value = static_cast<int>(v);
    return true;
}

bool PlcOperandText::ParseBitAddress(const char* text, int& word, int& bit)
{
    const CString s(text);
    const int point = s.Find('.');
    return point >= 0 && ParseDigits(s.Left(point), word) && ParseDigits(s.Mid(point + 1), bit);
}

bool PlcOperandText::ParseWordAddress(const char* text, int& word)
{
    return text && text[0] == 'P' && ParseDigits(text + 1, word);
}
