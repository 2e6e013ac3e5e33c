#include "LDOperandText.h"

#include <ZoLumoPlcObj/PlcOperandText.h>

LDFinOperand ParseFinText(const char* text)
{
    LDFinOperand fin;
    const CString whole(text ? text : "");
    fin.negated = whole.Left(1) == "N";
    const int point = whole.ReverseFind('.');
    const int p = point > 0 ? whole.Left(point).ReverseFind('P') : -1;
    if (p < 0)
        return fin;
    int parameter = 0;
    int bit = 0;
    if (PlcOperandText::ParseDigits(whole.Mid(p + 1, point - p - 1), parameter))
        fin.parameter = parameter;
    if (PlcOperandText::ParseDigits(whole.Mid(point + 1), bit))
        fin.bit = bit;
    return fin;
}

CString FormatFinText(const LDFinOperand& fin)
{
    CString text;
    text.Format("%s%s P%d.%d", fin.negated ? "N" : "", "FIN", fin.parameter, fin.bit);
    return text;
}

void ParseBitText(const char* text, int& word, int& bit)
{
    if (!PlcOperandText::ParseBitAddress(text ? text : "", word, bit))
        word = bit = 0;
}

int ParseParameterText(const char* text)
{
    int word = 0;
    return PlcOperandText::ParseWordAddress(text ? text : "", word) ? word : 0;
}
