// The operand texts the ladder view edits: "3.7" of contacts and coils, "P12" of variables and
// "NFIN P12.3" of FIN boxes.
#pragma once

#include <framework/CString.h>

struct LDFinOperand
{
    bool negated = false;
    int parameter = 40;
    int bit = 0;
};

// Negated when the text begins with "N"; the number between the "P" before the last point and
// that point, and the bit after it. Parts that do not read keep their defaults.
LDFinOperand ParseFinText(const char* text);
CString FormatFinText(const LDFinOperand& fin);
// Word and bit of "word.bit"; 0 and 0 when the text is not one ("?").
void ParseBitText(const char* text, int& word, int& bit);
// The number after a leading "P"; 0 when there is none.
int ParseParameterText(const char* text);
