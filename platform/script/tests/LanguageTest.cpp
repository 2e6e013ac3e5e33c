// The language's core, row by row: a script leaves `result`, or raises an error.
#include "ScriptTestSupport.h"

#include <script/Convert.h>
#include <script/Operators.h>

#include <gtest/gtest.h>

#include <pthread.h>

#include <chrono>

#include <string>
#include <vector>

using tvsk::script::Interpreter;
using tvsk::script::testing::Check;
using tvsk::script::testing::Describe;
using tvsk::script::testing::Outcome;
using tvsk::script::testing::Row;
using tvsk::script::testing::U;

namespace
{

TEST(Language, LiteralsHaveTheirTypes)
{
    Check({
        {"result = 1", "Integer:1"},
        {"result = 32767", "Integer:32767"},
        {"result = 32768", "Long:32768"},
        {"result = -32768", "Long:-32768"},
        {"result = 2147483648", "Double:2147483648"},
        {"result = 1.5", "Double:1.5"},
        {"result = 1e3", "Double:1000"},
        {"result = .5", "Double:0.5"},
        {"result = &HFF", "Integer:255"},
        {"result = &HFFFF", "Integer:-1"},
        {"result = &H8000", "Integer:-32768"},
        {"result = &H10000", "Long:65536"},
        {"result = &HFFFFFFFF", "Integer:-1"},
        {"result = &O17", "Integer:15"},
        {"result = \"a\"\"b\"", "String:a\"b"},
        {"result = #1/2/2000#", "Date:1/2/2000"},
        {"result = #2000-01-02 13:05:00#", "Date:1/2/2000 1:05:00 PM"},
        {"result = #13:05#", "Date:1:05:00 PM"},
        {"result = True", "Boolean:True"},
        {"result = Empty", "Empty:"},
        {"result = Null", "Null:"},
        {"Set result = Nothing", "Nothing:"},
        {"result = \"x\" _\n & \"y\"", "String:xy"},
        {"a = 1 : b = 2 : result = a + b ' comment", "Integer:3"},
        {"Rem a comment\nresult = 4", "Integer:4"},
    });
}

TEST(Language, PrecedenceFollowsTheLanguage)
{
    Check({
        {"result = 2 + 3 * 4", "Integer:14"},
        {"result = -2 ^ 2", "Double:4"},
        {"result = 2 ^ 3 ^ 2", "Double:64"},
        {"result = 2 ^ -1", "Double:0.5"},
        {"result = 7 \\ 2 * 3", "Integer:1"},
        {"result = 7 Mod 4 \\ 2", "Integer:1"},
        {"result = 10 - 4 - 3", "Integer:3"},
        {"result = 1 + 2 & 3", "String:33"},
        {"result = 1 < 2 = True", "Boolean:True"},
        {"result = Not 1 = 2", "Boolean:True"},
        {"result = True Or False And False", "Boolean:True"},
        {"result = True Xor True Or True", "Boolean:False"},
        {"result = False Imp True Eqv True", "Boolean:True"},
        {"result = -(3)", "Integer:-3"},
    });
}

TEST(Language, ArithmeticPromotesOnOverflow)
{
    Check({
        {"result = 32767 + 1", "Long:32768"},
        {"result = 200 * 200", "Long:40000"},
        {"result = 2147483647 + 1", "Double:2147483648"},
        {"result = -32768 - 1", "Long:-32769"},
        {"x = 32767 : y = 1 : result = x + y", "Long:32768"},
        {"x = 32000 : result = x + 767", "Integer:32767"},
        // Operands read in place: locals (ByRef ones too), globals defined after the first turn, objects.
        {"Function F(a, ByVal b)\n F = (a + 1) & (a < b) & (b * a) & (32767 + a)\nEnd Function\nx = 1 : "
         "result = F(x, 2)",
         "String:2True232768"},
        {"For i = 1 To 3\n n = n + i : t = t & i\nNext\nresult = n & t & IsNull(Null + i) & (e = Empty)",
         "String:6123TrueTrue"},
        {"Class C\n Public Default Property Get V\n  V = 5\n End Property\nEnd Class\nFunction F(o, k)\n F = "
         "o "
         "+ k\nEnd Function\nSet x = New C\nresult = F(x, 1)",
         "Integer:6"},
        {"Sub S(a)\n a = 2147483647 : x = a + 1 : y = a * a\n r = TypeName(x) & TypeName(y)\nEnd Sub\nDim r\n"
         "S v : result = r",
         "String:DoubleDouble"},
        {"x = -32768 : result = x - 1", "Long:-32769"},
        {"x = 2147483647 : result = x + 1", "Double:2147483648"},
        {"x = -2147483647 : result = x - 2", "Double:-2147483649"},
        {"x = 65536 : result = x - 65535", "Long:1"},
        {"For i = 32766 To 32767 : n = n + 1 : Next : result = TypeName(i) & n & i", "String:Long232768"},
        {"For i = 2147483646 To 2147483647 : n = n + 1 : Next : result = TypeName(i) & n", "String:Double2"},
        {"For i = 3 To 1 Step -1 : s = s & i : Next : result = s & i", "String:3210"},
        {"For i = 1 To 2.5 : s = s & i : Next : result = s & TypeName(i)", "String:12Integer"},
        {"x = 5 : y = 70000 : result = (x < y) & (y <= x) & (x = 5) & (y <> 70000) & (x >= 5) & (y > x)",
         "String:TrueFalseTrueFalseTrueTrue"},
        {"result = CByte(200) + CByte(100)", "Integer:300"},
        {"result = CByte(2) + CByte(3)", "Byte:5"},
        {"result = 1 + 1.5", "Double:2.5"},
        {"result = CSng(1.5) + 1", "Single:2.5"},
        {"result = CSng(1.5) + 100000", "Double:100001.5"},
        {"result = CCur(1.25) + 1", "Currency:2.25"},
        {"result = CCur(1.5) * CCur(2)", "Currency:3"},
        {"result = 10 / 4", "Double:2.5"},
        {"result = 1 / 3", "Double:0.333333333333333"},
        {"result = 0.1 + 0.2", "Double:0.3"},
        {"result = 1E+20 * 10", "Double:1E+21"},
        {"result = 0.00001", "Double:1E-05"},
        {"result = 1E+308 * 10", "error 6"},
        {"result = 1 / 0", "error 11"},
        {"result = 0 / 0", "error 6"},
        {"result = 5 \\ 0", "error 11"},
        {"result = 5 Mod 0", "error 11"},
        {"result = True + True", "Integer:-2"},
        {"result = Empty + Empty", "Integer:0"},
        {"result = \"3\" + 4", "Double:7"},
        {"result = \"3\" + \"4\"", "String:34"},
        {"result = \"a\" + 1", "error 13"},
        {"result = \"a\" + Empty", "String:a"},
        {"result = -Empty", "Integer:0"},
        {"result = -True", "Integer:1"},
        {"x = -32768 : result = -CInt(x)", "Long:32768"},
        {"x = 300 : result = x * x", "Long:90000"},
        {"x = 100 : result = x * -3", "Integer:-300"},
        {"x = 65536 : result = x * x", "Double:4294967296"},
        {"x = 1.5 : y = 2 : result = (x * y) & (x - y) & (y - x) & (x < y) & (x = 1.5) & (x <> 1.5) & (70000 "
         "> x)",
         "String:3-0.50.5TrueTrueFalseTrue"},
        {"x = 1E+308 : result = x + x", "error 6"},
        {"x = -1E+308 : result = x - 1E+308", "error 6"},
        {"For x = 1.5 To 3 : n = n + x : Next : result = n & TypeName(x) & x", "String:4Double3.5"},
    });
}

TEST(Language, IntegerDivisionAndModKeepTheDividendsSign)
{
    Check({
        {"result = 7 \\ 2", "Integer:3"},
        {"result = -7 \\ 2", "Integer:-3"},
        {"result = 7 \\ -2", "Integer:-3"},
        {"result = 7 Mod 3", "Integer:1"},
        {"result = -7 Mod 3", "Integer:-1"},
        {"result = 7 Mod -3", "Integer:1"},
        {"result = 7.5 Mod 2", "Long:0"},
        {"result = 6.5 \\ 2", "Long:3"},
        {"result = 100000 \\ 3", "Long:33333"},
        {"result = 5.5 Mod 2.5", "Long:0"},
    });
}

TEST(Language, NullAndEmptyPropagate)
{
    Check({
        {"result = Null + 1", "Null:"},
        {"result = Null & \"a\"", "String:a"},
        {"result = Null & Null", "Null:"},
        {"result = Null = Null", "Null:"},
        {"result = Null > 1", "Null:"},
        {"result = Not Null", "Null:"},
        {"result = Null And False", "Boolean:False"},
        {"result = Null And True", "Null:"},
        {"result = Null Or True", "Boolean:True"},
        {"result = Null Or False", "Null:"},
        {"result = IsNull(Null * 2)", "Boolean:True"},
        {"result = Empty = 0", "Boolean:True"},
        {"result = Empty = \"\"", "Boolean:True"},
        {"result = Len(Null)", "Null:"},
        {"result = CInt(Null)", "error 94"},
        {"If Null Then result = 1 Else result = 2", "Integer:2"},
        {"result = IsEmpty(x)", "Boolean:True"},
    });
}

TEST(Language, ComparisonsCoerceAsTheLanguageDoes)
{
    Check({
        {"result = 1 = \"1\"", "Boolean:True"},
        {"x = \"10\" : result = x > 9", "Boolean:True"},
        {"x = 1 : y = \"1\" : result = x = y", "Boolean:False"},
        {"x = 5 : y = \"1\" : result = x < y", "Boolean:True"},
        {"result = \"abc\" < \"abd\"", "Boolean:True"},
        {"result = \"a\" < \"B\"", "Boolean:False"},
        {"result = \"\" < \"a\"", "Boolean:True"},
        {"result = 2 < 10", "Boolean:True"},
        {"result = \"2\" < \"10\"", "Boolean:False"},
        {"result = #1/1/2000# < #1/2/2000#", "Boolean:True"},
        {"result = True = -1", "Boolean:True"},
        {"result = 1.5 >= 1.5", "Boolean:True"},
        {"result = 3 <> 3", "Boolean:False"},
        {"x = \"abc\" : result = x > 5", "Boolean:True"},
        {"x = 1 : result = x = \"1\"", "Boolean:True"},
    });
}

TEST(Language, LogicalOperatorsWorkOnBits)
{
    Check({
        {"result = 12 And 10", "Integer:8"},
        {"result = 12 Or 3", "Integer:15"},
        {"result = 12 Xor 10", "Integer:6"},
        {"result = Not 0", "Integer:-1"},
        {"result = Not True", "Boolean:False"},
        {"result = 5 Eqv 3", "Integer:-7"},
        {"result = True Imp False", "Boolean:False"},
        {"result = 100000 And 1", "Long:0"},
        {"result = True And 3", "Integer:3"},
        {"result = 1.5 Or 0", "Long:2"},
    });
}

TEST(Language, ConversionsRoundHalfToEven)
{
    Check({
        {"result = CInt(2.5)", "Integer:2"},
        {"result = CInt(3.5)", "Integer:4"},
        {"result = CInt(-2.5)", "Integer:-2"},
        {"result = CLng(1.5)", "Long:2"},
        {"result = CLng(\"  42  \")", "Long:42"},
        {"result = CInt(32767.5)", "error 6"},
        {"result = CInt(\"abc\")", "error 13"},
        {"result = CByte(256)", "error 6"},
        {"result = CByte(-1)", "error 6"},
        {"result = CLng(2147483648)", "error 6"},
        {"result = Round(2.5)", "Double:2"},
        {"result = Round(3.5)", "Double:4"},
        {"result = Round(1.2345, 2)", "Double:1.23"},
        {"result = Round(-0.5)", "Double:0"},
        {"result = Round(5)", "Integer:5"},
        {"result = Round(1.5, -1)", "error 5"},
        {"result = Int(-2.5)", "Double:-3"},
        {"result = Fix(-2.5)", "Double:-2"},
        {"result = Int(7)", "Integer:7"},
        {"result = Int(\"3.7\")", "Double:3"},
        {"result = CBool(\"True\")", "Boolean:True"},
        {"result = CBool(\"false\")", "Boolean:False"},
        {"result = CBool(2)", "Boolean:True"},
        {"result = CBool(\"x\")", "error 13"},
        {"result = CStr(True)", "String:True"},
        {"result = CStr(1.5)", "String:1.5"},
        {"result = CStr(123456789012345)", "String:123456789012345"},
        {"result = CStr(1234567890123456)", "String:1.23456789012346E+15"},
        {"result = CDbl(\"1e3\")", "Double:1000"},
        {"result = CDbl(\"&H10\")", "Double:16"},
        {"result = CDbl(\"1,000.5\")", "Double:1000.5"},
        {"result = IsNumeric(\"1,,0\")", "Boolean:False"},
        {"result = CCur(1.23456)", "Currency:1.2346"},
        {"result = CSng(1.1)", "Single:1.1"},
        {"result = CStr(Null)", "error 94"},
        {"result = Hex(255)", "String:FF"},
        {"result = Hex(-1)", "String:FFFF"},
        {"result = Hex(CLng(-1))", "String:FFFFFFFF"},
        {"result = Hex(65536)", "String:10000"},
        {"result = Oct(8)", "String:10"},
        {"result = Abs(-3)", "Integer:3"},
        {"result = Abs(-32768)", "Long:32768"},
        {"result = Sgn(-0.5)", "Integer:-1"},
        {"result = Sqr(16)", "Double:4"},
        {"result = Sqr(-1)", "error 5"},
        {"result = Log(0)", "error 5"},
        {"result = Exp(0)", "Double:1"},
        {"result = Atn(1) * 4 > 3.14", "Boolean:True"},
    });
}

TEST(Language, TypeTestsNameTheVariantTypes)
{
    Check({
        {"result = TypeName(Empty)", "String:Empty"},
        {"result = TypeName(Null)", "String:Null"},
        {"result = TypeName(1)", "String:Integer"},
        {"result = TypeName(CCur(1))", "String:Currency"},
        {"result = TypeName(Now)", "String:Date"},
        {"result = TypeName(Array())", "String:Variant()"},
        {"result = TypeName(Nothing)", "String:Nothing"},
        {"result = TypeName(CByte(1))", "String:Byte"},
        {"Class Foo\nEnd Class\nresult = TypeName(New Foo)", "String:Foo"},
        {"result = VarType(\"a\")", "Integer:8"},
        {"result = VarType(Array(1))", "Integer:8204"},
        {"result = VarType(Null)", "Integer:1"},
        {"result = VarType(CDate(1))", "Integer:7"},
        {"result = IsNumeric(\"12.5\")", "Boolean:True"},
        {"result = IsNumeric(\"12a\")", "Boolean:False"},
        {"result = IsNumeric(\"\")", "Boolean:False"},
        {"result = IsNumeric(Empty)", "Boolean:True"},
        {"result = IsNumeric(Null)", "Boolean:False"},
        {"result = IsDate(\"1/2/2000\")", "Boolean:True"},
        {"result = IsDate(\"x\")", "Boolean:False"},
        {"result = IsArray(Array())", "Boolean:True"},
        {"result = IsObject(Nothing)", "Boolean:True"},
    });
}

TEST(Language, StringFunctionsAtTheirEdges)
{
    Check({
        // Matches at every offset of the first sixteen characters, at the end, and past it.
        {"For k = 0 To 20\n s = String(k, \"a\") & \"bc\" & String(k Mod 9, \"a\")\n"
         " If InStr(s, \"bc\") <> k + 1 Or InStr(k + 2, s, \"bc\") <> 0 Or InStr(s, \"ca\") <> (k + 2) * "
         "Sgn(k Mod 9) "
         "Or InStr(s, \"bd\") <> 0 Or Replace(s, \"a\", \"\") <> \"bc\" Then bad = bad & k & \" \"\n"
         " t = String(k, \"a\") & \"z\"\n"
         " If InStr(t, \"z\") <> k + 1 Or InStr(t, \"zz\") <> 0 Or InStr(t, \"az\") <> k Or "
         "InStr(k + 1, t, \"z\") <> k + 1 Or InStr(k + 2, t, \"z\") <> 0 Then bad = bad & k & \"z \"\n"
         "Next\nresult = \"ok\" & bad",
         "String:ok"},
        {"result = Len(\"abc\")", "Long:3"},
        {"result = Len(123)", "Long:3"},
        {"result = Left(\"abc\", 5)", "String:abc"},
        {"result = Left(\"abc\", -1)", "error 5"},
        {"result = Right(\"abc\", 2)", "String:bc"},
        {"result = Mid(\"abcdef\", 2, 3)", "String:bcd"},
        {"result = Mid(\"abc\", 5)", "String:"},
        {"result = Mid(\"abc\", 2)", "String:bc"},
        {"result = Mid(\"abc\", 0)", "error 5"},
        {"result = Mid(\"abc\", 2, 100)", "String:bc"},
        {"result = InStr(\"abcabc\", \"c\")", "Long:3"},
        {"result = InStr(4, \"abcabc\", \"c\")", "Long:6"},
        {"result = InStr(1, \"ABC\", \"b\", 1)", "Long:2"},
        {"result = InStr(1, \"ABC\", \"b\", 0)", "Long:0"},
        {"result = InStr(\"abc\", \"\")", "Long:1"},
        {"result = InStr(\"\", \"a\")", "Long:0"},
        {"result = InStr(0, \"abc\", \"a\")", "error 5"},
        {"result = InStr(Null, \"a\")", "Null:"},
        {"result = InStrRev(\"abcabc\", \"b\")", "Long:5"},
        {"result = InStrRev(\"abcabc\", \"b\", 4)", "Long:2"},
        {"result = Replace(\"aaaa\", \"a\", \"b\", 1, 2)", "String:bbaa"},
        {"result = Replace(\"abcabc\", \"b\", \"x\", 3)", "String:caxc"},
        {"result = Replace(\"AbAb\", \"b\", \"c\", 1, -1, 1)", "String:AcAc"},
        {"result = Replace(\"abc\", \"\", \"x\")", "String:abc"},
        {"result = Join(Split(\"a,b,,c\", \",\"), \"|\")", "String:a|b||c"},
        {"result = UBound(Split(\"a,b,c\", \",\", 2))", "Long:1"},
        {"a = Split(\"a,b,c\", \",\", 2) : result = a(1)", "String:b,c"},
        {"result = UBound(Split(\"\"))", "Long:-1"},
        {"result = UBound(Split(\"a b\"))", "Long:1"},
        {"result = Split(\"aXbxc\", \"x\", -1, 1)(2)", "String:c"},
        {"result = Join(Array(1, 2, 3))", "String:1 2 3"},
        {"result = UCase(\"abc\") & LCase(\"DEF\")", "String:ABCdef"},
        {"result = \"[\" & Trim(\"  a  \") & LTrim(\" b \") & RTrim(\" c \") & \"]\"", "String:[ab  c]"},
        {"result = StrComp(\"a\", \"B\")", "Integer:1"},
        {"result = StrComp(\"a\", \"A\", 1)", "Integer:0"},
        {"result = StrComp(\"a\", Null)", "Null:"},
        {"result = StrReverse(\"abc\")", "String:cba"},
        {"result = Asc(\"A\")", "Integer:65"},
        {"result = Asc(\"\")", "error 5"},
        {"result = Chr(65) & ChrW(66)", "String:AB"},
        {"result = Chr(256)", "error 5"},
        {"result = Space(3) & \"x\"", "String:   x"},
        {"result = String(3, \"ab\")", "String:aaa"},
        {"result = String(2, 65)", "String:AA"},
        {"result = Len(\"\xE2\x82\xAC\")", "Long:1"},
        {"result = Join(Filter(Array(\"ab\", \"cd\", \"ad\"), \"a\"), \",\")", "String:ab,ad"},
        {"result = Join(Filter(Array(\"ab\", \"cd\"), \"a\", False), \",\")", "String:cd"},
        {"result = \"a\" & 1 & True & Null", "String:a1True"},
        {"result = FormatNumber(1234.567)", "String:1,234.57"},
        {"result = FormatNumber(-0.5, 0)", "String:-1"},
        {"result = FormatNumber(0.5, 2, 0)", "String:.50"},
        {"result = FormatPercent(0.256)", "String:25.60%"},
        {"result = FormatCurrency(-3)", "String:($3.00)"},
    });
}

TEST(Language, ArraysResizeAndReportBounds)
{
    Check({
        {"Dim a(3) : result = UBound(a)", "Long:3"},
        {"Dim a(2, 5) : result = UBound(a, 2)", "Long:5"},
        {"Dim a(2, 5) : result = UBound(a, 3)", "error 9"},
        {"Dim a(2) : result = LBound(a)", "Long:0"},
        {"Dim a(2) : a(3) = 1", "error 9"},
        {"Dim a(2) : ReDim a(4)", "error 10"},
        {"Dim a() : ReDim a(2) : a(2) = 5 : ReDim Preserve a(4) : result = a(2) + UBound(a)", "Long:9"},
        {"ReDim a(2) : a(1) = 7 : ReDim a(3) : result = IsEmpty(a(1))", "Boolean:True"},
        {"ReDim a(1, 2) : a(1, 2) = 3 : ReDim Preserve a(1, 4) : result = a(1, 2)", "Integer:3"},
        {"ReDim a(1, 2) : ReDim Preserve a(2, 2)", "error 9"},
        {"ReDim a(1) : a(0) = 1 : b = a : b(0) = 2 : result = a(0)", "Integer:1"},
        {"a = Array(1, Array(2, 3)) : result = a(1)(1)", "Integer:3"},
        {"a = Array() : result = UBound(a)", "Long:-1"},
        {"Dim a(2) : a(0) = 1 : Erase a : result = IsEmpty(a(0)) And UBound(a) = 2", "Boolean:True"},
        {"ReDim a(2) : Erase a : result = UBound(a)", "error 9"},
        {"ReDim a(1000000000)", "error 7"},
        {"ReDim a(100000, 100000)", "error 7"},
        {"ReDim a(-2)", "error 9"},
        {"a = Array()\nFor i = 1 To 2000 : a = Array(a) : Next", "error 28"},
        {"Dim a(0)\nb = Array()\nFor i = 1 To 2000 : a(0) = b : b = a : Next", "error 28"},
        {"a = Array()\nFor i = 1 To 100 : a = Array(a) : Next : result = UBound(a(0)(0))", "Long:0"},
        {"Dim a() : result = UBound(a)", "error 9"},
        {"x = 1 : result = x(0)", "error 13"},
        {"result = UBound(5)", "error 13"},
        {"a = Array(3, 1, 2) : For Each v In a : s = s & v : Next : result = s", "String:312"},
        {"Dim a(1, 1) : a(0, 0) = 1 : a(1, 0) = 2 : a(0, 1) = 3 : a(1, 1) = 4\n"
         "For Each v In a : s = s & v : Next : result = s",
         "String:1234"},
        {"For Each v In 5 : Next", "error 451"},
    });
}

TEST(Language, StatementsControlTheFlow)
{
    Check({
        {"For i = 1 To 5 : s = s & i : Next : result = s & \"/\" & i", "String:12345/6"},
        {"For i = 10 To 1 Step -3 : s = s & i & \",\" : Next : result = s", "String:10,7,4,1,"},
        {"For i = 1 To 0 : s = \"ran\" : Next : result = IsEmpty(s)", "Boolean:True"},
        {"For i = 0 To 1 Step 0.5 : n = n + 1 : Next : result = n", "Integer:3"},
        {"For i = 1 To 10 : If i = 3 Then Exit For\nNext : result = i", "Integer:3"},
        {"i = 0 : Do While i < 5 : i = i + 1 : Loop : result = i", "Integer:5"},
        {"i = 0 : Do : i = i + 1 : Loop Until i >= 3 : result = i", "Integer:3"},
        {"i = 10 : Do Until i < 5 : i = i - 2 : Loop : result = i", "Integer:4"},
        {"i = 0 : Do : i = i + 1 : If i = 7 Then Exit Do\nLoop : result = i", "Integer:7"},
        {"i = 0 : While i < 4 : i = i + 1 : Wend : result = i", "Integer:4"},
        {"x = 5\nIf x > 3 Then\n result = \"big\"\nElseIf x > 1 Then\n result = \"mid\"\nElse\n result = "
         "\"small\"\nEnd If",
         "String:big"},
        {"x = 2\nIf x > 3 Then\n result = 1\nElseIf x > 1 Then\n result = 2\nElse\n result = 3\nEnd If",
         "Integer:2"},
        {"If 1 > 2 Then result = 1 Else result = 2 : result = result * 10", "Integer:20"},
        {"If True Then a = 1 : b = 2\nresult = a + b", "Integer:3"},
        {"x = 5\nSelect Case x\nCase 1, 2\n result = \"a\"\nCase 3 To 6\n result = \"b\"\nCase Else\n result "
         "= \"c\"\nEnd Select",
         "String:b"},
        {"x = 10\nSelect Case x\nCase Is < 5\n result = 1\nCase Is >= 10\n result = 2\nEnd Select",
         "Integer:2"},
        {"x = \"b\"\nSelect Case x\nCase \"a\"\n result = 1\nCase Else\n result = 9\nEnd Select",
         "Integer:9"},
        {"x = 7\nSelect Case x\nCase 1\n result = 1\nEnd Select\nresult = IsEmpty(result)", "Boolean:True"},
        {"Class P\nPublic V\nEnd Class\nSet o = New P\nWith o\n .V = 4\n result = .V * 2\nEnd With",
         "Integer:8"},
        {"result = 1\nStop", "Integer:1"},
    });
}

TEST(Language, ProceduresPassByRefAndByVal)
{
    Check({
        {"Sub Inc(x)\n x = x + 1\nEnd Sub\nv = 1 : Inc v : result = v", "Integer:2"},
        {"Sub Inc(ByVal x)\n x = x + 1\nEnd Sub\nv = 1 : Inc v : result = v", "Integer:1"},
        {"Sub Inc(x)\n x = x + 1\nEnd Sub\nv = 1 : Inc (v) : result = v", "Integer:1"},
        {"Sub Inc(x)\n x = x + 1\nEnd Sub\nv = 1 : Call Inc(v) : result = v", "Integer:2"},
        {"Sub Inc(x)\n x = x + 1\nEnd Sub\nv = 1 : Inc v + 0 : Inc -v : Inc Abs(v) : result = v",
         "Integer:1"},
        {"Dim r\nConst K = 1\nSub Inc(x)\n x = x + 1 : r = x\nEnd Sub\nInc K : result = K & r", "String:12"},
        {"Function F(n)\n n = n - 1 : F = n\nEnd Function\nv = 5 : result = F(v) & F(v - 1) & v",
         "String:424"},
        {"Function F(a, b)\n F = a * b\nEnd Function\nresult = F(6, 7)", "Integer:42"},
        {"Function Fact(n)\n If n <= 1 Then\n  Fact = 1\n Else\n  Fact = n * Fact(n - 1)\n End If\nEnd "
         "Function\n"
         "result = Fact(10)",
         "Long:3628800"},
        {"Function F()\n F = 1\n Exit Function\n F = 2\nEnd Function\nresult = F()", "Integer:1"},
        {"Function F()\nEnd Function\nresult = IsEmpty(F)", "Boolean:True"},
        {"Sub S(a)\nEnd Sub\nS 1, 2", "error 450"},
        {"Sub S(a, b)\nEnd Sub\nS(1, 2)", "syntax 1044 line 2"},
        {"x = 1\nSub S()\n x = 5\nEnd Sub\nS\nresult = x", "Integer:5"},
        {"Sub S()\n x = 5\nEnd Sub\nS\nresult = IsEmpty(x)", "Boolean:True"},
        {"Sub S()\n x = x + 1\n t = t & x\nEnd Sub\nS\nx = 10\nS\nresult = t & \"/\" & x", "String:/11"},
        {"Dim g\nSub S()\n Dim g\n g = 5\nEnd Sub\ng = 1 : S\nresult = g", "Integer:1"},
        {"Function F(ByRef a)\n a = \"changed\"\nEnd Function\nDim arr(1)\nx = \"x\" : F x : result = x",
         "String:changed"},
        {"Function Deep(n)\n Deep = Deep(n + 1)\nEnd Function\nresult = Deep(1)", "error 28"},
        {"Sub Swap(a, b)\n t = a : a = b : b = t\nEnd Sub\nx = 1 : y = 2 : Swap x, y : result = x & y",
         "String:21"},
        {"Sub Inc(x)\n x = x + 1\nEnd Sub\nDim a(2) : a(1) = 5 : Inc a(1) : result = a(1)", "Integer:6"},
        {"Sub Grow(x)\n ReDim a(10)\nEnd Sub\nReDim a(2) : Grow a(1)", "error 10"},
        {"Sub Wipe(x)\n a = 0\nEnd Sub\nReDim a(2) : Wipe a(1)", "error 10"},
        {"Sub Inc(x)\n x = x + 1\nEnd Sub\nReDim a(2) : Inc a(1) : ReDim a(4) : result = UBound(a)",
         "Long:4"},
    });
}

TEST(Language, CallsAndConditionsKeepTheirRules)
{
    Check({
        {"Sub Down(n, ByRef total)\n If n > 0 Then\n  total = total + n\n  Down n - 1, total\n End If\nEnd "
         "Sub\n"
         "t = 0 : Down 10, t : result = t",
         "Integer:55"},
        {"Function Count(ByRef c)\n If c < 3 Then\n  c = c + 1 : Count = Count(c)\n Else\n  Count = c\n End "
         "If\n"
         "End Function\nx = 0 : result = Count(x) & x",
         "String:33"},
        {"Function F(n)\n If n > 1 Then F = n\nEnd Function\nresult = IsEmpty(F(1)) & F(2)", "String:True2"},
        {"Function F(n)\n F = n\n If n < 3 Then\n  F = F(n + 1) + 1\n  Exit Function\n End If\n F = -1\n"
         "End Function\nresult = F(1)",
         "Integer:1"},
        {"Function G(a, b)\n If a < b Then G = \"lt\" Else G = \"ge\"\nEnd Function\n"
         "result = G(1, 40000) & G(40000, 1) & G(1.5, 1) & G(\"a\", \"b\") & G(Empty, 1) & G(-32768, 32767)",
         "String:ltgegeltltlt"},
        {"Function G(a)\n If a = 1 Then G = \"y\" Else G = \"n\"\nEnd Function\nresult = G(Null) & G(1) & "
         "G(CLng(1))",
         "String:nyy"},
        {"i = 0\nDo\n i = i + 1\nLoop Until i >= 5\nDo While i < 40000\n i = i * 2\nLoop\nresult = i",
         "Long:40960"},
        {"On Error Resume Next\nDim a(1)\nIf a < 1 Then result = 1 Else result = 2\nresult = result & "
         "Err.Number",
         "String:113"},
        // A local and a number literal widen as the general rules do, and other subtypes take those rules.
        {"Function Up(k)\n Up = k + 1\nEnd Function\nresult = TypeName(Up(32766)) & TypeName(Up(32767)) & "
         "TypeName(Up(2147483647)) & TypeName(Up(CLng(1))) & Up(1.5) & Up(\"2\") & TypeName(Up(Empty))",
         "String:IntegerLongDoubleLong2.53Integer"},
        {"Function Down(k)\n Down = k - 40000\nEnd Function\nresult = TypeName(Down(1)) & Down(-2147483647)",
         "String:Long-2147523647"},
        {"Function Small(k)\n If k < 2 Then Small = \"y\" Else Small = \"n\"\nEnd Function\n"
         "result = Small(1) & Small(CLng(2)) & Small(1.5) & Small(\"10\") & Small(Null) & Small(Empty)",
         "String:ynynny"},
        {"Function F(k)\n If k <> 3 Then F = 1 Else F = 0\nEnd Function\nresult = F(3) & F(CLng(3)) & F(4)",
         "String:001"},
        // A local assigned in place: a ByRef parameter writes through, a fixed array is refused.
        {"Sub S(ByRef p)\n p = 7\nEnd Sub\nx = 1 : S x : result = x", "Integer:7"},
        {"Sub S\n On Error Resume Next\n Dim a(2)\n a = 1\n r = Err.Number\nEnd Sub\nr = 0 : S : result = r",
         "Long:10"},
        // A variable copied to a variable: globals, fields, locals, itself, an object's default value, a
        // name that becomes a function.
        {"Class C\n Public f\n Sub Take(x)\n  f = x : y = f : g = y\n End Sub\nEnd Class\n"
         "Set o = New C : g = 0 : o.Take \"v\" : h = g : result = h & o.f",
         "String:vv"},
        {"x = 3 : x = x : y = z : result = TypeName(y) & x", "String:Empty3"},
        {"Class D\n Public Default Property Get V\n  V = 9\n End Property\nEnd Class\n"
         "Set o = New D : Function F(a)\n b = a : F = b\nEnd Function\nresult = F(o)",
         "Integer:9"},
        {"For i = 1 To 2\n y = G\n r = r & TypeName(y)\n If i = 1 Then ExecuteGlobal \"Function G : G = 5 : "
         "End "
         "Function\"\nNext\nresult = r",
         "String:EmptyInteger"},
        {"On Error Resume Next\nDim a(1)\nb = 1\na = b\nresult = Err.Number & TypeName(a)",
         "String:10Variant()"},
    });
}

TEST(Language, ForCountersKeepTheirRules)
{
    Check({
        // The counter is the variable itself: changed in the body, a ByRef parameter, a global.
        {"n = 0\nFor i = 1 To 10\n n = n + 1\n i = i + 1\nNext\nresult = n & i", "String:511"},
        {"Sub Count(ByRef c)\n For c = 1 To 3\n Next\nEnd Sub\nx = 0 : Count x : result = x", "Integer:4"},
        {"Sub S\n For g = 1 To 2\n Next\nEnd Sub\ng = 0 : S : result = g", "Integer:3"},
        // A counter made a string or a Double in the body goes on under the general rules.
        {"For i = 1 To 3\n If i = 1 Then i = \"2\"\n result = result & TypeName(i)\nNext\nresult = result & "
         "i",
         "String:StringDouble4"},
        {"For i = 1 To 3\n i = i + 0.5\n result = result & i & \";\"\nNext", "String:1.5;3;"},
        {"For i = 10 To 1 Step -4\n result = result & i\nNext", "String:1062"},
    });
}

// A limit of n statements runs exactly n (the Do, then a loop turn and its body each), below and beyond
// the clock's interval, and every later statement fails too.
TEST(Language, AStatementLimitLetsExactlyThatManyRun)
{
    for (const auto& [limit, turns] : std::vector<std::pair<unsigned long long, int>>{
             {0, 0}, {3, 1}, {4, 1}, {4095, 2047}, {4096, 2047}, {4097, 2048}, {10000, 4999}})
    {
        auto interp = Interpreter::Create();
        const auto& unit = interp->Compile(U("n = 0\nDo\n n = n + 1\nLoop"));
        interp->LimitStatements(limit + 1); // and the first statement
        try
        {
            interp->Run(unit);
            FAIL() << "no limit";
        }
        catch (const tvsk::script::ScriptException& e)
        {
            EXPECT_EQ(e.error.number, E_ABORT);
        }
        EXPECT_EQ(ToLong(*interp->FindGlobal(u"n")), turns) << "limit " << limit;
        EXPECT_THROW(interp->Run(unit), tvsk::script::ScriptException);
    }
}

TEST(Language, AnErrorDeepInCallsKeepsItsPosition)
{
    auto interp = Interpreter::Create();
    const auto& unit = interp->Compile(U("Function F(n)\n If n = 0 Then\n  F = 1 / 0\n Else\n  F = F(n - 1)\n"
                                         " End If\nEnd Function\nresult = F(200)"));
    try
    {
        interp->Run(unit);
        FAIL() << "no error";
    }
    catch (const tvsk::script::ScriptException& e)
    {
        EXPECT_EQ(e.error.number, 11);
        EXPECT_EQ(e.error.line, 2);
        EXPECT_EQ(e.error.column, 2);
    }
}

// Runs rows on a thread with this much stack.
void CheckOnStack(size_t stackBytes, const std::vector<Row>& rows)
{
    struct Job
    {
        const std::vector<Row>* rows;
        std::vector<std::string> outcomes;
    } job{&rows, {}};
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, stackBytes);
    pthread_t thread;
    ASSERT_EQ(pthread_create(
                  &thread, &attr,
                  [](void* p) -> void*
                  {
                      auto* j = static_cast<Job*>(p);
                      for (const Row& row : *j->rows)
                          j->outcomes.push_back(Outcome(row.script));
                      return nullptr;
                  },
                  &job),
              0);
    pthread_attr_destroy(&attr);
    pthread_join(thread, nullptr);
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(job.outcomes[i], rows[i].expected) << rows[i].script;
}

std::string Nested(int depth, const std::string& inner)
{
    return std::string(static_cast<size_t>(depth), '(') + inner +
           std::string(static_cast<size_t>(depth), ')');
}

TEST(Language, DeepCallsOnASmallStackEndInOutOfStack)
{
    const std::string deepExpression =
        "Function Deep(n)\n Deep = " + Nested(10, "Deep(n + 1)") + "\nEnd Function\nresult = Deep(1)";
    const std::string deepParse = "result = " + Nested(60, "1") + " + Len(" + Nested(60, "\"ab\"") + ")";
    const std::string deeperParse = "result = " + Nested(190, "1");
    const std::vector<Row> endless{
        {"Function Deep(n)\n Deep = Deep(n + 1)\nEnd Function\nresult = Deep(1)", "error 28"},
        {deepExpression.c_str(), "error 28"},
        {"Class C\n Function Deep(n)\n  Set o = New C : Deep = o.Deep(n + 1)\n End Function\nEnd Class\n"
         "Set x = New C : result = x.Deep(1)",
         "error 28"},
    };
    CheckOnStack(256u << 10, endless);
    CheckOnStack(8u << 20, endless);
    // Nesting the parser cannot hold on the stack it has is Out of stack space too.
    CheckOnStack(256u << 10, {{deeperParse.c_str(), "syntax 28 line 0"}});
    CheckOnStack(8u << 20,
                 {
                     {deeperParse.c_str(), "Integer:1"},
                     {deepParse.c_str(), "Long:3"},
                     {"Function Deep(n)\n If n < 1000 Then Deep = Deep(n + 1) Else Deep = n\nEnd Function\n"
                      "result = Deep(1)",
                      "Integer:1000"},
                 });
}

TEST(Language, ReadingALongStringCostsWhatIsRead)
{
    tvsk::script::Limits() = {}; // the fuzz target's smaller ones may be left on this thread
    auto interp = Interpreter::Create();
    interp->Run(interp->Compile(U("s = Space(50 * 1048576) : t = s : Const k = \"  \"")));
    const auto start = std::chrono::steady_clock::now();
    interp->Run(interp->Compile(
        U("For i = 1 To 100\n n = n + Len(s) + InStr(3, s, \" \") + InStrRev(s, \" \") + Asc(s)\n"
          " m = m & Mid(s, 5, 1) & Left(s, 1) & Right(s, 1)\n"
          " If s = \"\" Or s < k Or StrComp(s, \"x\") = 0 Then m = \"\"\nNext\nresult = n & Len(m)")));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(Describe(*interp, "result"), "String:10485763500300");
    EXPECT_LT(took, std::chrono::milliseconds(50));
}

// Copies share a string until one of them is written: appends, elements, arguments and results.
TEST(Language, ACopiedStringChangesOnlyWhereItIsWritten)
{
    Check({
        {"s = \"ab\" : t = s : s = s & \"c\" : t = t & \"d\" : result = s & \"/\" & t", "String:abc/abd"},
        {"s = String(40, \"x\") : t = s : For i = 1 To 3 : s = s & i : Next : result = Len(t) & Right(s, 3)",
         "String:40123"},
        {"Dim a(1) : a(0) = \"k\" : a(1) = a(0) : a(1) = a(1) & \"!\" : result = a(0) & a(1)", "String:kk!"},
        {"Sub Add(ByVal v)\n v = v & \"+\" : r = r & v\nEnd Sub\nr = \"\" : s = \"q\" : Add s : result = s & "
         "r",
         "String:qq+"},
        {"Function Echo(v)\n Echo = v\nEnd Function\ns = \"e\" : t = Echo(s) : t = t & \"2\" : result = s & "
         "t",
         "String:ee2"},
        {"Class C\n Public f\nEnd Class\nSet o = New C : s = \"m\" : o.f = s : o.f = o.f & \"n\" : result = "
         "s & o.f",
         "String:mmn"},
    });
}

TEST(Language, CopyingALongStringCostsNoCopy)
{
    tvsk::script::Limits() = {};
    auto interp = Interpreter::Create();
    interp->Run(interp->Compile(U("s = Space(50 * 1048576)")));
    const auto start = std::chrono::steady_clock::now();
    interp->Run(interp->Compile(
        U("Function Same(v)\n Same = v\nEnd Function\n"
          "Dim a(99)\nFor i = 0 To 99\n a(i) = s : t = Same(s)\nNext\nresult = Len(a(99)) + Len(t)")));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(Describe(*interp, "result"), "Long:104857600");
    EXPECT_LT(took, std::chrono::milliseconds(50));
}

TEST(Language, ReadsInPlaceKeepTheOrderOfEvaluation)
{
    Check({
        {"Function F()\n s = \"zz\" : F = 2\nEnd Function\ns = \"abc\" : result = Mid(s, F())", "String:bc"},
        {"Function F()\n s = \"zz\" : F = \"!\"\nEnd Function\ns = \"abc\" : result = s & F()",
         "String:abc!"},
        {"Function F()\n s = \"zz\" : F = \"!\"\nEnd Function\ns = \"abc\" : result = F() & s", "String:!zz"},
        {"Class C\n Public Default Property Get V\n  s = \"zz\" : V = \"!\"\n End Property\nEnd Class\n"
         "Set o = New C : s = \"abc\" : result = s & o",
         "String:abc!"},
        {"Class C\n Public Default Property Get V\n  s = \"zzzz\" : V = 2\n End Property\nEnd Class\n"
         "Set o = New C : s = \"abc\" : result = Left(s, o) & s",
         "String:abzzzz"},
        {"s = \"abc\" : t = s : t = t & \"d\" : result = s & t & Len(s) & InStr(t, \"d\")",
         "String:abcabcd34"},
        {"Const k = \"abc\" : result = Len(k) & Mid(k, 2) & (k = \"abc\") & Left(k, 1)", "String:3bcTruea"},
        {"x = 5 : result = Len(x) & Mid(x, 1) & Asc(x) & StrComp(x, 5)", "String:15530"},
        {"result = Len(Empty) & Left(Empty, 1) & IsNull(Mid(Null, 1))", "String:0True"},
        {"s = \"abc\" : result = InStr(s, Mid(s, 2, 1)) & Replace(s, \"b\", Mid(s, 3)) & s",
         "String:2accabc"},
        {"Class C\n Public Default Property Get V\n  s = \"zzzz\" : V = \"b\"\n End Property\nEnd Class\n"
         "Set o = New C : s = \"abc\" : result = InStr(s, Mid(o, 1)) & s",
         "String:2zzzz"},
        {"Class C\n Public Default Property Get V\n  s = \"zzzz\" : V = \"b\"\n End Property\nEnd Class\n"
         "Function F()\n Set u = New C : F = 1\nEnd Function\n"
         "u = \"b\" : s = \"abc\" : result = InStr(F(), s, Mid(u, 1)) & s",
         "String:2zzzz"},
        {"Dim a(2) : a(1) = 5 : i = 1 : j = CInt(1) : result = a(i) + a(j) + a(1.4) + a(\"1\")",
         "Integer:20"},
        {"Dim a(2) : i = 3 : result = a(i)", "error 9"},
        {"Dim a(2) : i = -1 : result = a(i)", "error 9"},
        {"Dim a(2, 2) : a(1, 2) = 7 : i = 1 : result = a(i, 2) & a(i)", "error 9"},
        {"Dim a(2, 2) : a(1, 2) = 7 : i = 1 : result = a(i, 2)", "Integer:7"},
        {"Class C\n Public Property Get V\n  Set o = Nothing : V = 3\n End Property\nEnd Class\n"
         "Set o = New C : result = o.V & TypeName(o)",
         "String:3Nothing"},
        {"x = 1 : result = x.V", "error 424"},
        {"Dim a(2) : a(1) = 5 : i = 1 : result = (a(i) + 1) & (a(i) < 2) & (1 + a(i)) & (a(a(0)) - a(i))",
         "String:6False6-5"},
        {"Class C\n Public Default Property Get V\n  Erase a : V = 2\n End Property\nEnd Class\n"
         "Dim a() : ReDim a(1) : Set a(0) = New C : result = (a(0) + 1) & IsArray(a)",
         "String:3True"},
    });
}

TEST(Language, ClassesHavePropertiesAndLifecycle)
{
    Check({
        {"Class C\n Private m\n Public Property Get V\n  V = m\n End Property\n Public Property Let V(x)\n  "
         "m = x * 2\n End Property\n"
         "End Class\nSet o = New C : o.V = 5 : result = o.V",
         "Integer:10"},
        {"Class C\n Public Default Property Get Item(i)\n  Item = i * 3\n End Property\nEnd Class\nSet o = "
         "New C : result = o(4)",
         "Integer:12"},
        {"Class C\n Public Default Function Run()\n  Run = \"ran\"\n End Function\nEnd Class\nSet o = New C "
         ": result = o",
         "String:ran"},
        {"Class C\n Private x\nEnd Class\nSet o = New C : result = o.x", "error 438"},
        {"Class C\nEnd Class\nSet o = New C : result = o", "error 438"},
        {"Dim trace\nClass C\n Sub Class_Initialize\n  trace = trace & \"i\"\n End Sub\n Sub "
         "Class_Terminate\n  trace = "
         "trace & \"t\"\n End Sub\nEnd Class\n"
         "Set o = New C : trace = trace & \"-\" : Set o = Nothing : result = trace",
         "String:i-t"},
        {"Class C\n Public N\n Sub Class_Terminate\n  trace = trace & N\n End Sub\nEnd Class\n"
         "Set a = New C : a.N = 1 : Set b = New C : b.N = 2 : Set k = a : Set a = Nothing : trace = trace & "
         "\"-\" : Set k = Nothing : Set b = Nothing : result = trace",
         "String:-12"},
        {"Class C\n Public Items\n Sub Class_Initialize\n  Items = Array(1, 2)\n End Sub\nEnd Class\nSet o = "
         "New C : result = o.Items(1)",
         "Integer:2"},
        {"Class C\n Public Me2\n Function Self\n  Set Self = Me\n End Function\nEnd Class\nSet o = New C : "
         "result = o.Self Is o",
         "Boolean:True"},
        {"Class C\n Private v\n Property Get Value\n  Set Value = v\n End Property\n Property Set Value(o)\n "
         " Set v = o\n End Property\nEnd Class\n"
         "Set o = New C : Set o.Value = o : result = o.Value Is o : Set o.Value = Nothing",
         "Boolean:True"},
        {"Class C\n Function Twice(x)\n  Twice = Helper(x) * 2\n End Function\n Private Function Helper(x)\n "
         " Helper = x + 1\n End Function\nEnd Class\n"
         "Set o = New C : result = o.Twice(2)",
         "Integer:6"},
        {"Set o = New Missing", "error 506"},
        {"x = 5 : Set y = x", "error 424"},
        {"Set o = Nothing : o.Go", "error 424"},
        {"x = 5 : x.Go", "error 424"},
        {"Class N\n Public Nxt\nEnd Class\nSet h = New N\nSet c = h\nFor i = 1 To 200000\n Set c.Nxt = New "
         "N\n Set c = c.Nxt\nNext\nSet c = Nothing\nSet h = Nothing\nresult = 1",
         "Integer:1"},
    });
}

TEST(Language, ErrorsSetErrAndResumeNext)
{
    Check({
        {"On Error Resume Next\nx = 1 / 0\nresult = Err.Number & \" \" & Err.Description",
         "String:11 Division by zero"},
        {"On Error Resume Next\nx = CInt(\"a\")\nresult = Err.Number", "Long:13"},
        {"On Error Resume Next\nDim a(1) : a(5) = 1\nresult = Err.Number", "Long:9"},
        {"On Error Resume Next\nSet o = Nothing : o.X\nresult = Err.Number", "Long:424"},
        {"On Error Resume Next\nx = 1 / 0\nresult = \"after\"", "String:after"},
        {"On Error Resume Next\nx = 1 / 0\nErr.Clear\nresult = Err.Number", "Long:0"},
        {"On Error Resume Next\nErr.Raise 1000, \"src\", \"mine\"\nresult = Err.Number & Err.Source & "
         "Err.Description",
         "String:1000srcmine"},
        {"On Error Resume Next\nErr.Raise 5\nresult = Err.Description",
         "String:Invalid procedure call or argument"},
        {"On Error Resume Next\nErr.Raise vbObjectError + 1\nresult = Err.Number", "Long:-2147221503"},
        {"On Error Resume Next\nx = 1 / 0\nOn Error GoTo 0\nresult = Err.Number", "Long:0"},
        {"Sub S\n On Error Resume Next\n x = 1 / 0\n Exit Sub\nEnd Sub\nS\nresult = Err.Number", "Long:0"},
        {"Sub S\n On Error Resume Next\n x = 1 / 0\nEnd Sub\nS\nresult = Err.Number", "Long:11"},
        {"result = Replace(Null, \"a\", \"b\")", "error 94"},
        {"For i = \"1\" To \"3\" : n = n + 1 : Next : result = n & TypeName(i)", "String:3Double"},
        {"On Error Resume Next\nx = 1 / 0\nOn Error GoTo 0\ny = 1 / 0", "error 11"},
        {"Err.Raise 13", "error 13"},
        {"Sub Fail\n x = 1 / 0\n trace = \"not here\"\nEnd Sub\nOn Error Resume Next\nFail\nresult = "
         "Err.Number & trace",
         "String:11"},
        {"result = Err.Number", "Long:0"},
        {"result = Err", "Long:0"},
        {"On Error Resume Next\nundefinedthing.Go\nresult = Err.Number", "Long:424"},
        {"Option Explicit\nDim a\na = 1\nb = 2", "error 500"},
        {"Option Explicit\nresult = c", "error 500"},
        {"Option Explicit\nDim result\nSub S\n ReDim b(2)\n b(0) = 1\nEnd Sub\nS\nReDim q(1)\nresult = "
         "UBound(q)",
         "Long:1"},
        {"Option Explicit\nDim result\nOn Error Resume Next\nzz = 1\nresult = Err.Number & \" \" & "
         "Err.Description",
         "String:500 Variable is undefined"},
        {"On Error Resume Next\nSet o = CreateObject(\"No.Such.Thing\")\nresult = Err.Number", "Long:429"},
        {"Class C\n Sub Class_Initialize\n  Err.Raise 9\n End Sub\nEnd Class\nSet o = New C", "error 9"},
        {"Class C\n Private v\n Public Default Property Get Value\n  Value = v\n End Property\n"
         " Public Property Let Value(x)\n  v = x\n End Property\nEnd Class\nSet o = New C : o = 7 : result = "
         "o + 1",
         "Integer:8"},
        {"Option Explicit\nDim result\nresult = 3", "Integer:3"},
        {"Const K = 5\nK = 6", "error 501"},
        {"Const K = 5, S = \"s\"\nresult = K & S", "String:5s"},
        {"Const N = -2\nresult = N", "Integer:-2"},
    });
}

TEST(Language, SyntaxErrorsCarryTheirNumberAndLine)
{
    Check({
        {"x = ", "syntax 1023 line 0"},
        {"If x Then\n y = 1\n", "syntax 1014 line 2"},
        {"x = \"abc", "syntax 1033 line 0"},
        {"\nx = (1 + 2", "syntax 1006 line 1"},
        {"For i = 1 To 2\n", "syntax 1020 line 1"},
        {"Do\nx = 1", "syntax 1019 line 1"},
        {"x = 1 2", "syntax 1025 line 0"},
        {"Next", "syntax 1055 line 0"},
        {"Loop", "syntax 1038 line 0"},
        {"Exit For", "syntax 1039 line 0"},
        {"Sub A\nSub B\nEnd Sub\nEnd Sub", "syntax 1024 line 1"},
        {"x = 1 @ 2", "syntax 1032 line 0"},
        {"Dim a, a", "syntax 1041 line 0"},
        {"Class C\n Public Default Sub A\n End Sub\n Public Default Sub B\n End Sub\nEnd Class",
         "syntax 1052 line 3"},
        {"Const x = y", "syntax 1045 line 0"},
        {"Select x", "syntax 1021 line 0"},
        {"x = "
         "((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((("
         "((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((("
         "(1",
         "syntax 28 line 0"},
    });
}

TEST(Language, ScopesAndNamesResolveAsTheLanguageDoes)
{
    Check({
        {"Function F()\n Const K = 3\n F = K * 2\nEnd Function\nresult = F()", "Integer:6"},
        {"Sub S()\n Const K = 3\n K = 4\nEnd Sub\nS", "error 501"},
        {"Dim x\nx = 1\nSub S(x)\n x = 7\nEnd Sub\nS 5\nresult = x", "Integer:1"},
        {"Function Twice(n)\n Twice = n * 2\nEnd Function\nFunction Quad(n)\n Quad = Twice(Twice(n))\nEnd "
         "Function\n"
         "result = Quad(3)",
         "Integer:12"},
        {"result = F(2)\nFunction F(n)\n F = n + 1\nEnd Function", "Integer:3"},
        {"Class Counter\n Private n\n Sub Add(k)\n  n = n + k\n End Sub\n Property Get Total\n  Total = n\n "
         "End Property\n"
         "End Class\nSet c = New Counter\nc.Add 2 : c.Add 3\nresult = c.Total",
         "Integer:5"},
        {"Class A\n Public V\n Function Make(v)\n  Set Make = New A\n  Make.V = v\n End Function\nEnd Class\n"
         "Set o = (New A).Make(4)\nresult = o.V",
         "Integer:4"},
        {"Class P\n Public X\nEnd Class\nSet p1 = New P : Set p2 = p1 : p2.X = 9 : result = p1.X",
         "Integer:9"},
        {"Class P\n Public X\nEnd Class\nSet p1 = New P : Set p2 = New P : result = (p1 Is p2) & (p1 Is p1)",
         "String:FalseTrue"},
        {"Class Outer\n Public Inner\n Sub Class_Initialize\n  Set Inner = New InnerC\n End Sub\nEnd Class\n"
         "Class InnerC\n Public V\nEnd Class\nSet o = New Outer\nWith o\n With .Inner\n  .V = 5\n End "
         "With\nEnd With\n"
         "result = o.Inner.V",
         "Integer:5"},
        {"Class C\n Property Get Item(i, j)\n  Item = i * 10 + j\n End Property\nEnd Class\nSet k = New C : "
         "result = k.Item(2, 3)",
         "Integer:23"},
        {"Class C\n Private d(3)\n Property Let Item(i, v)\n  d(i) = v\n End Property\n Property Get "
         "Item(i)\n  Item = d(i)\n"
         " End Property\nEnd Class\nSet k = New C : k.Item(2) = \"x\" : result = k.Item(2)",
         "String:x"},
        {"Class C\n Property Get V\n  V = 1\n End Property\nEnd Class\nSet k = New C : k.V = 2", "error 450"},
        {"Class C\n Sub M(a)\n End Sub\nEnd Class\nSet k = New C : k.M", "error 450"},
        {"Class C\nEnd Class\nSet k = New C : k.Missing = 1", "error 438"},
        {"result = Empty : result = IsEmpty(result)", "Boolean:True"},
        {"x = Array(1, 2)\nSub Change(a)\n a(0) = 9\nEnd Sub\nChange x\nresult = x(0)", "Integer:9"},
        {"x = Array(1, 2)\nSub Change(ByVal a)\n a(0) = 9\nEnd Sub\nChange x\nresult = x(0)", "Integer:1"},
        {"Function Build()\n Dim a(1)\n a(0) = \"p\" : a(1) = \"q\"\n Build = a\nEnd Function\nresult = "
         "Join(Build(), \"\")",
         "String:pq"},
        {"Dim i\nFor i = 1 To 3\n Select Case i\n Case 2\n  Exit For\n End Select\nNext\nresult = i",
         "Integer:2"},
        {"Do\n Do\n  n = n + 1\n  If n > 2 Then Exit Do\n Loop\n m = m + 1\nLoop While m < 2\nresult = n & m",
         "String:42"},
        {"x = 0\nWhile x < 3\n x = x + 1\n If x = 2 Then y = \"two\"\nWend\nresult = y & x", "String:two3"},
        {"s = \"\"\nFor Each w In Split(\"a b c\")\n s = w & s\nNext\nresult = s", "String:cba"},
        {"If False Then\nElseIf True Then\n result = \"second\"\nEnd If", "String:second"},
        {"If 0 Then result = 1 Else If 1 Then result = 2 Else result = 3", "Integer:2"},
        {"Select Case \"B\"\nCase \"a\", \"b\"\n result = 1\nCase \"A\" To \"C\"\n result = 2\nEnd Select",
         "Integer:2"},
        {"Select Case 5\nCase Is > 10, 5\n result = \"hit\"\nEnd Select", "String:hit"},
        {"Sub S()\n Exit Sub\n result = 1\nEnd Sub\nS\nresult = IsEmpty(result)", "Boolean:True"},
        {"result = 1 : Call NoSuch(1)", "error 13"},
        {"Function F(a, b)\n F = a & b\nEnd Function\nresult = F(1)", "error 450"},
        {"Function F(a)\n F = a\nEnd Function\nresult = F(, )", "error 450"},
    });
}

TEST(Language, LongOperatorChainsAreBounded)
{
    std::string chain = "result = 1";
    for (int i = 0; i < 900; ++i)
        chain += " + 1";
    EXPECT_EQ(Outcome(chain), "Integer:901");
    for (int i = 0; i < 600; ++i)
        chain += " + 1";
    EXPECT_EQ(Outcome(chain), "syntax 28 line 0");
}

TEST(Language, DatesAddAndDiffer)
{
    Check({
        {"result = #1/31/2000# + 1", "Date:2/1/2000"},
        {"result = #1/2/2000# - #1/1/2000#", "Double:1"},
        {"result = DateSerial(2000, 13, 1)", "Date:1/1/2001"},
        {"result = DateSerial(2000, 3, 0)", "Date:2/29/2000"},
        {"result = DateSerial(99, 1, 1)", "Date:1/1/1999"},
        {"result = DateAdd(\"m\", 1, #1/31/2000#)", "Date:2/29/2000"},
        {"result = DateAdd(\"yyyy\", -1, #2/29/2000#)", "Date:2/28/1999"},
        {"result = DateAdd(\"h\", 25, #1/1/2000#)", "Date:1/2/2000 1:00:00 AM"},
        {"result = DateAdd(\"x\", 1, #1/1/2000#)", "error 5"},
        {"result = DateDiff(\"d\", #1/1/2000#, #3/1/2000#)", "Long:60"},
        {"result = DateDiff(\"m\", #1/31/2000#, #2/1/2000#)", "Long:1"},
        {"result = DateDiff(\"yyyy\", #12/31/1999#, #1/1/2000#)", "Long:1"},
        {"result = DateDiff(\"h\", #1/1/2000 23:59#, #1/2/2000#)", "Long:1"},
        {"result = DateDiff(\"ww\", #1/1/2000#, #1/9/2000#)", "Long:2"},
        {"result = Year(#7/4/1999#) & \"-\" & Month(#7/4/1999#) & \"-\" & Day(#7/4/1999#)",
         "String:1999-7-4"},
        {"result = Hour(#1:02:03 PM#) & Minute(#1:02:03 PM#) & Second(#1:02:03 PM#)", "String:1323"},
        {"result = Weekday(#1/1/2000#)", "Integer:7"},
        {"result = Weekday(#1/1/2000#, vbMonday)", "Integer:6"},
        {"result = WeekdayName(1)", "String:Sunday"},
        {"result = MonthName(2, True)", "String:Feb"},
        {"result = DatePart(\"q\", #8/1/2000#)", "Integer:3"},
        {"result = DatePart(\"y\", #2/1/2000#)", "Integer:32"},
        {"result = TimeSerial(25, 0, 0)", "Date:12/31/1899 1:00:00 AM"},
        {"result = CDate(\"March 5, 2001\")", "Date:3/5/2001"},
        {"result = CDate(\"x\")", "error 13"},
        {"result = CDate(36526)", "Date:1/1/2000"},
        {"result = CDbl(#1/1/2000#)", "Double:36526"},
        {"result = FormatDateTime(#1/2/2000 13:05:09#, vbLongDate)", "String:Sunday, January 02, 2000"},
        {"result = FormatDateTime(#1/2/2000 13:05:09#, vbShortTime)", "String:13:05"},
        {"result = DateValue(#1/2/2000 13:05#)", "Date:1/2/2000"},
        {"result = TimeValue(#1/2/2000 13:05#)", "Date:1:05:00 PM"},
        {"result = Now > #1/1/2020#", "Boolean:True"},
        {"result = Timer >= 0", "Boolean:True"},
    });
}

TEST(Language, EvalAndExecuteReachTheirScopes)
{
    Check({
        {"x = 4 : result = Eval(\"x * 2\")", "Integer:8"},
        {"Execute \"y = 3\" : result = y", "Integer:3"},
        {"ExecuteGlobal \"Function G() : G = 7 : End Function\" : result = G()", "Integer:7"},
        {"Function F()\n Dim z : z = 5\n F = Eval(\"z + 1\")\nEnd Function\nresult = F()", "Integer:6"},
        {"Function S()\n Dim z\n Execute \"z = 9\"\n S = z\nEnd Function\nresult = S()", "Integer:9"},
        {"result = Eval(\"1 +\")", "syntax 1023 line 0"},
        {"result = ScriptEngine", "String:VBScript"},
        {"result = RGB(1, 2, 3)", "Long:197121"},
        {"Randomize 1 : r = Rnd : result = r >= 0 And r < 1", "Boolean:True"},
        {"result = Rnd(-1) = Rnd(-1)", "Boolean:True"},
    });
}

TEST(Language, StatementsAtTheirEdges)
{
    Check({
        {"ReDim a(3) : a(1) = 4 : ReDim Preserve a(1) : result = a(1) & UBound(a)", "String:41"},
        {"Dim a(2)\nReDim Preserve a(5)", "error 10"},
        {"Dim a(2) : a(1) = \"x\" : Erase a : result = a(1) = \"\"", "Boolean:True"},
        {"ReDim a(2, 3) : result = UBound(a, 1) & UBound(a, 2) & LBound(a, 2)", "String:230"},
        {"Dim a(2, 3) : result = UBound(a, 0)", "error 9"},
        {"Private Const P = 2\nPublic Const Q = \"q\"\nresult = P & Q", "String:2q"},
        {"Const D = #1/2/2000#\nresult = Year(D)", "Integer:2000"},
        {"Const H = &H10\nresult = H", "Integer:16"},
        {"If True Then result = 1 Else result = 2", "Integer:1"},
        {"If False Then result = 1 Else If False Then result = 2 Else result = 3", "Integer:3"},
        {"If 1 Then\n result = 1\nEnd If", "Integer:1"},
        {"x = 3\nIf x = 1 Then\n result = 1\nElseIf x = 2 Then\n result = 2\nElseIf x = 3 Then\n result = "
         "3\nEnd If",
         "Integer:3"},
        {"Select Case 7\nCase 1 To 3, 7, Is > 10\n result = \"hit\"\nCase Else\n result = \"miss\"\nEnd "
         "Select",
         "String:hit"},
        {"Select Case Null\nCase 1\n result = 1\nCase Else\n result = 2\nEnd Select", "Integer:2"},
        {"Select Case \"10\"\nCase 10\n result = 1\nCase Else\n result = 2\nEnd Select", "Integer:1"},
        {"Select Case 2\nCase 1 : result = \"a\"\nCase 2 : result = \"b\"\nEnd Select", "String:b"},
        {"Select Case 2\nCase 2\n result = 1\nCase 2\n result = 2\nEnd Select", "Integer:1"},
        {"n = 3 : For i = 1 To n : n = 1 : c = c + 1 : Next : result = c", "Integer:3"},
        {"For i = 5 To 1 Step -1 : s = s & i : Next : result = s & i", "String:543210"},
        {"For i = 1 To 3 : For j = 1 To 3 : If j = 2 Then Exit For\n n = n + 1 : Next : Next : result = n",
         "Integer:3"},
        {"For i = 1 To 10 Step 4 : Next : result = i", "Integer:13"},
        {"a = Array(1, 2, 3) : For Each v In a : v = v * 2 : Next : result = a(0)", "Integer:1"},
        {"For Each v In Array() : n = 1 : Next : result = IsEmpty(n)", "Boolean:True"},
        {"For Each v In Array(1, 2, 3) : If v = 2 Then Exit For\nNext : result = v", "Integer:2"},
        {"i = 10 : Do : i = i + 1 : Loop While i < 3 : result = i", "Integer:11"},
        {"i = 0 : Do Until True : i = 1 : Loop : result = i", "Integer:0"},
        {"i = 0 : Do : i = i + 1 : Loop Until True : result = i", "Integer:1"},
        {"i = 0 : While i < 2 : j = 0 : While j < 2 : j = j + 1 : n = n + 1 : Wend : i = i + 1 : Wend : "
         "result = n",
         "Integer:4"},
        {"Function F()\n For i = 1 To 10\n  If i = 4 Then\n   F = i\n   Exit Function\n  End If\n "
         "Next\nEnd Function\nresult = F()",
         "Integer:4"},
        {"Sub S(ByRef a, ByVal b)\n a = a + 1 : b = b + 1\nEnd Sub\nx = 1 : y = 1 : S x, y : result = x & y",
         "String:21"},
        {"Sub Inc(x)\n x = x + 1\nEnd Sub\nv = 1 : Call Inc((v)) : result = v", "Integer:1"},
        {"Sub Inc(x)\n x = x + 1\nEnd Sub\nv = 1 : Inc v + 0 : result = v", "Integer:1"},
        {"Class C\n Public V\nEnd Class\nSub Inc(x)\n x = x + 1\nEnd Sub\nSet o = New C : o.V = 1 : Inc o.V "
         ": result = o.V",
         "Integer:1"},
        {"Function F()\n F = 1\n F = F + 1\nEnd Function\nresult = F()", "Integer:2"},
        {"Dim result\nSub S : result = \"ran\" : End Sub\nCall S", "String:ran"},
        {"Dim result\nSub S()\n result = \"ran\"\nEnd Sub\nS()", "String:ran"},
        {"Class C\n Public V\n Function Get2\n  Get2 = Me.V * 2\n End Function\nEnd Class\nSet o = New C : "
         "o.V = 3 : result = o.Get2",
         "Integer:6"},
        {"Dim trace\nClass C\n Sub Class_Terminate\n  trace = trace & \"t\"\n End Sub\nEnd Class\nSub T\n "
         "Dim o\n Set o "
         "= New C\nEnd Sub\nT\nresult = trace",
         "String:t"},
        {"Set x = Nothing : result = x Is Nothing", "Boolean:True"},
        {"result = Nothing Is Nothing", "Boolean:True"},
        {"x = 1 : result = x Is Nothing", "error 424"},
        {"Class C\nEnd Class\nSet a = New C : result = a Is Nothing", "Boolean:False"},
        {"With New Thing\nEnd With", "error 506"},
        {"Class C\n Public V\nEnd Class\nSet o = New C\nWith o\n .V = 2\n With o\n  .V = .V + 1\n End "
         "With\n result = .V\nEnd With",
         "Integer:3"},
        {"Class C\n Private m\n Property Set O(x)\n  Set m = x\n End Property\n Property Get O\n  Set O = "
         "m\n "
         "End Property\nEnd Class\nSet k = New C : Set k.O = k : result = TypeName(k.O) : Set k.O = Nothing",
         "String:C"},
        {"Class C\n Public V\n Sub Class_Initialize\n  V = 42\n End Sub\nEnd Class\nresult = (New C).V",
         "Integer:42"},
    });
}

TEST(Language, ErrKeepsNumbersAndTexts)
{
    Check({
        {"On Error Resume Next\nx = 1 / 0\nOn Error Resume Next\nresult = Err.Number", "Long:0"},
        {"On Error Resume Next\nx = 1 / 0\ny = 1\nresult = Err.Number", "Long:11"},
        {"On Error Resume Next\nErr.Raise 6\nresult = Err.Description", "String:Overflow"},
        {"On Error Resume Next\nErr.Raise 9\nresult = Err.Description", "String:Subscript out of range"},
        {"On Error Resume Next\nErr.Raise 13\nresult = Err.Description", "String:Type mismatch"},
        {"On Error Resume Next\nErr.Raise 91\nresult = Err.Description", "String:Object variable not set"},
        {"On Error Resume Next\nErr.Raise 424\nresult = Err.Description", "String:Object required"},
        {"On Error Resume Next\nErr.Raise 438\nresult = Err.Description",
         "String:Object doesn't support this property or method"},
        {"On Error Resume Next\nErr.Raise 450\nresult = Err.Description",
         "String:Wrong number of arguments or invalid property assignment"},
        {"On Error Resume Next\nErr.Raise 500\nresult = Err.Description", "String:Variable is undefined"},
        {"On Error Resume Next\nErr.Raise 10\nresult = Err.Description",
         "String:This array is fixed or temporarily locked"},
        {"On Error Resume Next\nErr.Raise 94\nresult = Err.Description", "String:Invalid use of Null"},
        {"On Error Resume Next\nErr.Raise 1000\nresult = Err.Description", "String:Unknown runtime error"},
        {"On Error Resume Next\nErr.Raise 5, , \"mine\"\nresult = Err.Number & Err.Description",
         "String:5mine"},
        {"On Error Resume Next\nErr.Raise 70000\nresult = Err.Number", "Long:5"},
        {"On Error Resume Next\nErr.Raise\nresult = Err.Number", "Long:450"},
        {"On Error Resume Next\nErr.Number = 7\nresult = Err.Number", "Long:7"},
        {"On Error Resume Next\nErr.Raise 1\nErr.Clear\nresult = Err.Description & \"|\" & Err.Source",
         "String:|"},
        {"On Error Resume Next\nDim a(1)\nx = a(2)\nresult = Err.Number", "Long:9"},
        {"On Error Resume Next\nx = Null + Len(Null) : y = CLng(Null)\nresult = Err.Number", "Long:94"},
        {"On Error Resume Next\nIf 1 / 0 Then result = \"then\"\nresult = result & Err.Number",
         "String:then11"},
        {"Sub S\n Err.Raise 5\nEnd Sub\nOn Error Resume Next\nS\nresult = Err.Number", "Long:5"},
        {"Function F\n On Error Resume Next\n x = 1 / 0\n F = Err.Number\nEnd Function\nresult = F()",
         "Long:11"},
        {"x = CLng(\"1e20\")", "error 6"},
        {"x = 1 : Set x.y = Nothing", "error 424"},
    });
}

TEST(Language, ExpressionsCoerceAndPromote)
{
    Check({
        {"result = 2 * 3 Mod 4", "Integer:2"},
        {"result = 10 \\ 3 * 2", "Integer:1"},
        {"result = 2 ^ 2 * 3", "Double:12"},
        {"result = 1 & 2 + 3", "String:15"},
        {"result = Not 5", "Integer:-6"},
        {"result = 5 Imp 3", "Integer:-5"},
        {"result = True Eqv Null", "Null:"},
        {"result = False Imp Null", "Boolean:True"},
        {"result = Null Imp True", "Boolean:True"},
        {"result = CLng(2147483647) + 1", "Double:2147483648"},
        {"result = CInt(100) * CInt(400)", "Long:40000"},
        {"result = CLng(65536) * 65536", "Double:4294967296"},
        {"result = 32767 * -1 - 1", "Integer:-32768"},
        {"result = -32768 \\ -1", "Long:32768"},
        {"result = CByte(1) * CByte(255)", "Byte:255"},
        {"result = CByte(255) + 1", "Integer:256"},
        {"result = CByte(0) - CByte(1)", "Integer:-1"},
        {"result = \"5\" * \"2\"", "Double:10"},
        {"result = \"5\" - 2", "Double:3"},
        {"result = Empty & Empty", "String:"},
        {"result = Null & Empty", "String:"},
        {"result = Empty * 5", "Integer:0"},
        {"result = \"\" + 1", "error 13"},
        {"result = 1 + \"1.5\"", "Double:2.5"},
        {"result = #1/1/2000# + 0.5", "Date:1/1/2000 12:00:00 PM"},
        {"result = 1E+300 * 1E+300", "error 6"},
        {"result = \"abc\" = \"ABC\"", "Boolean:False"},
        {"result = \"abc\" & 1.5", "String:abc1.5"},
        {"result = 5 \\ 2.5", "Long:2"},
        {"result = -7 Mod 2.5", "Long:-1"},
        {"result = 2147483647 Mod 2", "Long:1"},
        {"result = 1 = 1 = True", "Boolean:True"},
        {"result = 3 > 2 > 1", "Boolean:False"},
        {"result = 1 + -1", "Integer:0"},
        {"result = - - 2", "Integer:2"},
        {"result = 2 - -2", "Integer:4"},
        {"result = 4 ^ 0.5", "Double:2"},
        {"result = (-8) ^ (1 / 3)", "error 5"},
        {"result = 0 ^ 0", "Double:1"},
        {"result = CCur(922337203685477) * 10", "error 6"},
        {"result = True Xor 1", "Integer:-2"},
        {"result = CByte(12) And CByte(10)", "Byte:8"},
        {"result = \"1\" And 3", "Long:1"},
        {"result = 1.5E+10 And 1", "error 6"},
        {"result = \"a\" < 1", "Boolean:False"},
        {"result = Empty < 1", "Boolean:True"},
        {"result = Empty = Null", "Null:"},
        {"result = \"\" = Empty", "Boolean:True"},
        {"result = 0 = Empty", "Boolean:True"},
        {"x = \"abc\" : y = \"abd\" : result = x < y", "Boolean:True"},
        {"x = 12 : y = \"9\" : result = x < y", "Boolean:True"},
        {"result = #1/1/2000# = 36526", "Boolean:True"},
        {"result = 1 / 3 * 3 = 1", "Boolean:True"},
        {"result = 10 Mod 3 ^ 2", "Long:1"},
        {"result = -2 ^ -2", "Double:0.25"},
        {"result = 5 - 3 - 1 & \"\"", "String:1"},
        {"result = 1 Or 2 And 0", "Integer:1"},
        {"result = Not 1 + 1", "Integer:-3"},
    });
}

TEST(Language, ReplaceOfOneCharacter)
{
    Check({
        {"result = Replace(\"banana\", \"a\", \"o\")", "String:bonono"},
        {"result = Replace(\"banana\", \"a\", \"\")", "String:bnn"},
        {"result = Replace(\"banana\", \"a\", \"<>\")", "String:b<>n<>n<>"},
        {"result = Replace(\"banana\", \"a\", \"o\", 3)", "String:nono"},
        {"result = Replace(\"banana\", \"a\", \"oo\", 1, 2)", "String:boonoona"},
        {"result = Replace(\"banana\", \"a\", \"o\", 1, 5)", "String:bonono"},
        {"result = Replace(\"banana\", \"x\", \"o\", 1, 2)", "String:banana"},
        {"result = Replace(\"banana\", \"a\", \"o\", 1, -2)", "error 5"},
        {"result = Replace(\"bAnana\", \"a\", \"o\")", "String:bAnono"},
        {"result = Replace(\"bAnana\", \"a\", \"o\", 1, -1, vbTextCompare)", "String:bonono"},
        {"result = Replace(12101, 1, 7)", "String:72707"},
        {"result = Replace(Empty, \"a\", \"b\")", "String:"},
        {"result = Replace(\"a-b\", \"-\", Empty)", "String:ab"},
        {"result = Replace(\"a-b\", \"-\", Null)", "error 94"},
        {"result = Replace(\"a-b\", Null, \"+\")", "error 94"},
        {"result = Replace(\"a\" & ChrW(0) & \"b\" & ChrW(0), ChrW(0), \"|\")", "String:a|b|"},
        {"result = Len(Replace(\"a\" & ChrW(0) & \"b\", \"b\", ChrW(0) & ChrW(0)))", "Long:4"},
        {"result = Asc(Replace(Chr(228), Chr(196), \"x\"))", "Integer:228"},
        {"result = Replace(Chr(228) & \"b\", Chr(196), \"x\", 1, -1, 1)", "String:xb"},
        {"s = String(100000, \"ab\") : t = Replace(s, \"a\", \"cd\") : "
         "result = Len(t) & Mid(t, 199999) & InStr(t, \"b\")",
         "String:200000cd0"},
        {"s = Space(70000) & \"x\" : result = InStr(Replace(s, \" \", \"\"), \"x\")", "Long:1"},
        // Every length and position around the eight-character steps, against the counted path.
        {"bad = \"\" : For n = 0 To 40 : s = \"\" : For i = 1 To n : s = s & Mid(\"aBcB\" & ChrW(0), 1 + i "
         "Mod 5, 1) : "
         "Next : If Replace(s, \"B\", \"-\") <> Replace(s, \"B\", \"-\", 1, n + 1) Or "
         "Len(Replace(s, \"B\", \"\")) <> Len(Replace(s, \"B\", \"\", 1, n)) Or "
         "Replace(s, ChrW(0), \"0\") <> Replace(s, ChrW(0), \"0\", 1, n) Then bad = bad & n & \" \"\n"
         "Next : result = bad & Replace(Replace(\"aBcBaBcB\" & ChrW(0) & \"B\", \"B\", \"-\"), ChrW(0), "
         "\"0\")",
         "String:a-c-a-c-0-"},
    });
}

TEST(Language, BuiltinsAtTheirEdges)
{
    Check({
        {"result = InStrRev(\"ABCabc\", \"B\", -1, 1)", "Long:5"},
        {"result = InStrRev(\"abc\", \"\")", "Long:3"},
        {"result = InStrRev(\"abc\", \"c\", 2)", "Long:0"},
        {"result = InStrRev(\"abc\", \"a\", 0)", "error 5"},
        {"result = InStrRev(\"abc\", \"x\", 10)", "Long:0"},
        {"result = InStrRev(\"abcabc\", \"bc\")", "Long:5"},
        {"result = InStr(2, \"abc\", \"\")", "Long:2"},
        {"result = InStr(5, \"abc\", \"a\")", "Long:0"},
        {"result = InStr(\"abc\", Null)", "Null:"},
        {"result = StrComp(\"a\", \"b\")", "Integer:-1"},
        {"result = StrComp(\"abc\", \"abc\")", "Integer:0"},
        {"result = StrComp(\"B\", \"a\", 1)", "Integer:1"},
        {"result = StrComp(\"\", \"a\")", "Integer:-1"},
        {"result = Replace(\"abcabc\", \"a\", \"x\", 2)", "String:bcxbc"},
        {"result = Replace(\"aaa\", \"a\", \"b\", 1, 0)", "String:aaa"},
        {"result = Replace(\"\", \"a\", \"b\")", "String:"},
        {"result = Replace(\"abc\", \"b\", \"\")", "String:ac"},
        {"result = Replace(\"abc\", \"a\", \"x\", 5)", "String:"},
        {"result = Replace(\"abc\", \"a\", \"x\", 0)", "error 5"},
        {"result = Replace(\"aaa\", \"aa\", \"b\")", "String:ba"},
        {"result = Replace(\"ABab\", \"a\", \"x\", 1, 1, vbTextCompare)", "String:xBab"},
        {"result = Split(\"a,b,c\", \",\", 1)(0)", "String:a,b,c"},
        {"a = Split(\"abc\", \"\") : result = UBound(a) & a(0)", "String:0abc"},
        {"result = Split(\"a::b\", \"::\")(1)", "String:b"},
        {"result = UBound(Split(\"a,b\", \",\", 0))", "Long:-1"},
        {"result = Join(Array(\"a\", \"b\"), \"\")", "String:ab"},
        {"result = Join(Array())", "String:"},
        {"result = Join(Filter(Array(\"Ab\", \"cd\"), \"a\", True, 1), \",\")", "String:Ab"},
        {"result = UBound(Filter(Array(\"x\"), \"a\"))", "Long:-1"},
        {"result = LBound(Array(1))", "Long:0"},
        {"result = IsEmpty(\"\")", "Boolean:False"},
        {"result = IsEmpty(Null)", "Boolean:False"},
        {"result = IsNull(Empty)", "Boolean:False"},
        {"result = IsNumeric(\"  12  \")", "Boolean:True"},
        {"result = IsNumeric(\"1e5\")", "Boolean:True"},
        {"result = IsNumeric(\"&H10\")", "Boolean:True"},
        {"result = IsNumeric(\"-\")", "Boolean:False"},
        {"result = IsNumeric(\"1.2.3\")", "Boolean:False"},
        {"result = IsNumeric(True)", "Boolean:True"},
        {"result = IsNumeric(#1/1/2000#)", "Boolean:False"},
        {"result = IsDate(\"2/30/2000\")", "Boolean:False"},
        {"result = IsDate(#1/1/2000#)", "Boolean:True"},
        {"result = IsArray(\"a\")", "Boolean:False"},
        {"Class C\nEnd Class\nresult = IsObject(New C) & IsObject(1)", "String:TrueFalse"},
        {"result = TypeName(\"\") & TypeName(1.5) & TypeName(CLng(1)) & TypeName(True) & TypeName(CSng(1))",
         "String:StringDoubleLongBooleanSingle"},
        {"result = VarType(Empty) & VarType(1) & VarType(32768) & VarType(CSng(1)) & VarType(1.5)",
         "String:02345"},
        {"result = VarType(CCur(1)) & VarType(Nothing) & VarType(True) & VarType(CByte(1))", "String:691117"},
        {"Dim a(1) : result = TypeName(a) & VarType(a)", "String:Variant()8204"},
        {"result = CInt(0.5) & CInt(1.5) & CInt(-1.5) & CInt(\"2.5\")", "String:02-22"},
        {"result = CInt(-32768.5)", "Integer:-32768"},
        {"result = CInt(True) & CInt(Empty)", "String:-10"},
        {"result = CInt(\"\")", "error 13"},
        {"result = CLng(-2.5)", "Long:-2"},
        {"result = Round(-2.5)", "Double:-2"},
        {"result = Round(0.125, 2)", "Double:0.12"},
        {"result = Round(\"3.5\")", "Double:4"},
        {"result = Round(Null)", "Null:"},
        {"result = Round(CCur(2.5))", "Currency:2"},
        {"result = Round(1.005, 2)", "Double:1"},
        {"result = Int(-0.5) & Fix(-0.5)", "String:-10"},
        {"result = Int(Null)", "Null:"},
        {"result = Int(CCur(-1.5))", "Currency:-2"},
        {"result = Int(CLng(5))", "Long:5"},
        {"result = Fix(\"-3.7\")", "Double:-3"},
        {"result = Hex(CLng(-32768))", "String:FFFF8000"},
        {"result = Hex(CInt(-32768))", "String:8000"},
        {"result = Hex(1.5)", "String:2"},
        {"result = Hex(Null)", "Null:"},
        {"result = Hex(Empty)", "String:0"},
        {"result = Oct(-1)", "String:177777"},
        {"result = Oct(0)", "String:0"},
        {"result = Hex(2147483648)", "error 6"},
        {"result = Len(Chr(0))", "Long:1"},
        {"result = Asc(\"ABC\")", "Integer:65"},
        {"result = AscW(\"\xE2\x82\xAC\")", "Integer:8364"},
        {"result = ChrW(8364) = \"\xE2\x82\xAC\"", "Boolean:True"},
        {"result = Chr(-1)", "error 5"},
        {"result = AscW(\"\")", "error 5"},
        {"result = LCase(Null)", "Null:"},
        {"result = UCase(1)", "String:1"},
        {"result = Trim(Null)", "Null:"},
        {"result = Space(0)", "String:"},
        {"result = Space(-1)", "error 5"},
        {"result = String(0, \"a\")", "String:"},
        {"result = String(-1, \"a\")", "error 5"},
        {"result = String(3, \"\")", "error 5"},
        {"result = StrReverse(\"\")", "String:"},
        {"result = StrReverse(Null)", "error 94"},
        {"result = Left(Null, 1)", "Null:"},
        {"result = Right(\"abc\", 0)", "String:"},
        {"result = Mid(\"abc\", 1, 0)", "String:"},
        {"result = Mid(\"abc\", 2, -1)", "error 5"},
        {"result = Len(Empty)", "Long:0"},
        {"result = Left(\"abc\", 1.5)", "String:ab"},
        {"result = LTrim(vbTab & \"a\")", "String:\ta"},
        {"result = Len(vbCrLf) & Asc(vbLf) & Asc(vbCr)", "String:21013"},
        {"result = Abs(Null)", "Null:"},
        {"result = Abs(\"-2\")", "Double:2"},
        {"result = CStr(1E+15)", "String:1E+15"},
        {"result = CStr(0.1 + 0.7)", "String:0.8"},
        {"result = CStr(-0.000001)", "String:-1E-06"},
        {"result = CStr(123456789.123)", "String:123456789.123"},
        {"result = CStr(CSng(1) / 3)", "String:0.3333333"},
        {"result = CStr(1 / 3)", "String:0.333333333333333"},
        {"result = CStr(CCur(1) / 3)", "String:0.333333333333333"},
        {"result = CCur(1) / 3", "Double:0.333333333333333"},
        {"result = CStr(CDbl(100))", "String:100"},
        {"result = CDbl(\"  -1.5e2 \")", "Double:-150"},
        {"result = CLng(\"&HFFFF\")", "Long:-1"},
        {"result = CInt(\"&HFFFF\")", "Integer:-1"},
        {"result = CBool(\"0\")", "Boolean:False"},
        {"result = CBool(Empty)", "Boolean:False"},
        {"result = CBool(0.1)", "Boolean:True"},
        {"result = CByte(255.5)", "error 6"},
        {"result = CByte(254.5)", "Byte:254"},
    });
}

TEST(Language, DateFunctionsAtTheirEdges)
{
    Check({
        {"result = DateAdd(\"d\", 1, \"1/31/2000\")", "Date:2/1/2000"},
        {"result = DateAdd(\"q\", 1, #1/31/2000#)", "Date:4/30/2000"},
        {"result = DateAdd(\"ww\", 1, #1/1/2000#)", "Date:1/8/2000"},
        {"result = DateAdd(\"n\", 90, #1/1/2000#)", "Date:1/1/2000 1:30:00 AM"},
        {"result = DateAdd(\"s\", -1, #1/1/2000#)", "Date:12/31/1999 11:59:59 PM"},
        {"result = DateAdd(\"y\", 1, #1/1/2000#)", "Date:1/2/2000"},
        {"result = DateAdd(\"w\", 1, #1/1/2000#)", "Date:1/2/2000"},
        {"result = DateAdd(\"yyyy\", 1, #2/29/2000#)", "Date:2/28/2001"},
        {"result = DateAdd(\"m\", -1, #3/31/2000#)", "Date:2/29/2000"},
        {"result = DateAdd(\"d\", Null, #1/1/2000#)", "error 94"},
        {"result = DateDiff(\"d\", #3/1/2000#, #1/1/2000#)", "Long:-60"},
        {"result = DateDiff(\"n\", #1/1/2000#, #1/1/2000 1:30#)", "Long:90"},
        {"result = DateDiff(\"s\", #1/1/2000#, #1/1/2000 0:01#)", "Long:60"},
        {"result = DateDiff(\"q\", #1/1/2000#, #12/31/2000#)", "Long:3"},
        {"result = DateDiff(\"w\", #1/1/2000#, #1/15/2000#)", "Long:2"},
        {"result = DateDiff(\"w\", #1/1/2000#, #1/14/2000#)", "Long:1"},
        {"result = DateDiff(\"ww\", #1/1/2000#, #1/2/2000#)", "Long:1"},
        {"result = DateDiff(\"y\", #1/1/2000#, #1/3/2000#)", "Long:2"},
        {"result = DateDiff(\"yyyy\", #1/1/2000#, #12/31/2000#)", "Long:0"},
        {"result = DateDiff(\"d\", #1/1/2000 23:00#, #1/2/2000 1:00#)", "Long:1"},
        {"result = DateDiff(\"z\", #1/1/2000#, #1/2/2000#)", "error 5"},
        {"result = DateDiff(\"ww\", #1/1/2000#, #1/9/2000#, vbMonday)", "Long:1"},
        {"result = DatePart(\"ww\", #1/1/2000#)", "Integer:1"},
        {"result = DatePart(\"ww\", #1/2/2000#)", "Integer:2"},
        {"result = DatePart(\"w\", #1/1/2000#)", "Integer:7"},
        {"result = DatePart(\"yyyy\", #1/1/2000#)", "Integer:2000"},
        {"result = DatePart(\"h\", #1/1/2000 13:00#)", "Integer:13"},
        {"result = DatePart(\"d\", #1/15/2000#) & DatePart(\"m\", #1/15/2000#)", "String:151"},
        {"result = DatePart(\"n\", #1:02:03#) & DatePart(\"s\", #1:02:03#)", "String:23"},
        {"result = DatePart(\"x\", #1/1/2000#)", "error 5"},
        {"result = DatePart(\"w\", #1/1/2000#, vbMonday)", "Integer:6"},
        {"result = DateSerial(2000, 2, 30)", "Date:3/1/2000"},
        {"result = DateSerial(2000, 0, 1)", "Date:12/1/1999"},
        {"result = DateSerial(1, 1, 1)", "Date:1/1/2001"},
        {"result = DateSerial(30, 1, 1)", "Date:1/1/1930"},
        {"result = DateSerial(2000, 1, -1)", "Date:12/30/1999"},
        {"result = TimeSerial(12, 30, 0)", "Date:12:30:00 PM"},
        {"result = TimeSerial(1, 90, 0)", "Date:2:30:00 AM"},
        {"result = TimeSerial(0, 0, 0)", "Date:12:00:00 AM"},
        {"result = TimeSerial(23, 59, 59)", "Date:11:59:59 PM"},
        {"result = Year(Null)", "Null:"},
        {"result = Month(\"x\")", "error 13"},
        {"result = Month(\"2/3/2000\") & Day(\"2/3/2000\")", "String:23"},
        {"result = Weekday(#1/2/2000#)", "Integer:1"},
        {"result = Weekday(#1/2/2000#, vbSaturday)", "Integer:2"},
        {"result = WeekdayName(1, True)", "String:Sun"},
        {"result = WeekdayName(1, False, vbMonday)", "String:Monday"},
        {"result = WeekdayName(8)", "error 5"},
        {"result = WeekdayName(0)", "error 5"},
        {"result = MonthName(13)", "error 5"},
        {"result = MonthName(12)", "String:December"},
        {"result = MonthName(1, False)", "String:January"},
        {"result = FormatNumber(1234.5, 2, , , 0)", "String:1234.50"},
        {"result = FormatNumber(-1234.5, 1, , True)", "String:(1,234.5)"},
        {"result = FormatNumber(0.5, 0)", "String:1"},
        {"result = FormatNumber(\"abc\")", "error 13"},
        {"result = FormatNumber(1234567)", "String:1,234,567.00"},
        {"result = FormatNumber(0.25, 1)", "String:0.3"},
        {"result = FormatNumber(123, 0)", "String:123"},
        {"result = FormatNumber(-0.001, 2)", "String:0.00"},
        {"result = FormatPercent(0.5, 0)", "String:50%"},
        {"result = FormatPercent(1)", "String:100.00%"},
        {"result = FormatCurrency(1234.5)", "String:$1,234.50"},
        {"result = FormatCurrency(0)", "String:$0.00"},
        {"result = FormatDateTime(#1/2/2000 13:05:09#)", "String:1/2/2000 1:05:09 PM"},
        {"result = FormatDateTime(#1/2/2000 13:05:09#, vbShortDate)", "String:1/2/2000"},
        {"result = FormatDateTime(#1/2/2000 13:05:09#, vbLongTime)", "String:1:05:09 PM"},
        {"result = FormatDateTime(#1/2/2000#)", "String:1/2/2000"},
        {"result = FormatDateTime(#13:05#)", "String:1:05:00 PM"},
        {"result = FormatDateTime(#1/2/2000#, 5)", "error 5"},
        {"result = CStr(#1/2/2000#)", "String:1/2/2000"},
        {"result = CDate(\"1/2/2000 13:05\")", "Date:1/2/2000 1:05:00 PM"},
        {"result = CDate(\"13:05\")", "Date:1:05:00 PM"},
        {"result = CDate(\"2000-01-02\")", "Date:1/2/2000"},
        {"result = CDate(0)", "Date:12:00:00 AM"},
        {"result = CDate(1.5)", "Date:12/31/1899 12:00:00 PM"},
        {"result = DateValue(\"February 29, 2000\")", "Date:2/29/2000"},
        {"result = DateValue(\"2/30/2000\")", "error 13"},
        {"result = Day(DateSerial(2000, 3, 0))", "Integer:29"},
        {"result = #12/31/1999# + 1 = #1/1/2000#", "Boolean:True"},
        {"result = TypeName(Date) & TypeName(Time)", "String:DateDate"},
        {"result = Int(Now) = Date", "Boolean:True"},
    });
}

TEST(Language, ProceduresAndLoopsKeepTheirSemantics)
{
    Check({
        {"Class C\n Dim V\nEnd Class\nSet o = New C : o.V = 3 : result = o.V", "Integer:3"},
        {"Class C\n Private a(3)\n Sub Put(i, v)\n  a(i) = v\n End Sub\n Function GetAt(i)\n  GetAt = a(i)\n "
         "End Function\nEnd Class\nSet o = New C : o.Put 2, \"z\" : result = o.GetAt(2)",
         "String:z"},
        {"Class C\n Property Get V\n  V = 1\n  Exit Property\n  V = 2\n End Property\nEnd Class\nSet o = New "
         "C : result = o.V",
         "Integer:1"},
        {"Class C\n Public N\nEnd Class\nFunction Make(n)\n Set Make = New C\n Make.N = n\nEnd "
         "Function\nresult = Make(5).N",
         "Integer:5"},
        {"Class C\n Public N\n Sub Class_Initialize\n  Init 4\n End Sub\n Sub Init(x)\n  N = x\n End "
         "Sub\nEnd Class\nSet o = New C : result = o.N",
         "Integer:4"},
        {"Dim t\nClass C\n Sub Class_Terminate\n  t = t & \"x\"\n End Sub\nEnd Class\nSet o = New C : Set o "
         "= New C : result = t",
         "String:x"},
        {"Class C\nEnd Class\nSet o = New C : o2 = o", "error 438"},
        {"Class C\n Public V\nEnd Class\nSub Touch(x)\n x.V = 7\nEnd Sub\nSet o = New C : Touch o : result = "
         "o.V",
         "Integer:7"},
        {"Class C\n Public V\nEnd Class\nSub Swap(ByVal x)\n Set x = Nothing\nEnd Sub\nSet o = New C : Swap "
         "o : result = o Is Nothing",
         "Boolean:False"},
        {"Class C\n Public V\nEnd Class\nSub Swap(x)\n Set x = Nothing\nEnd Sub\nSet o = New C : Swap o : "
         "result = o Is Nothing",
         "Boolean:True"},
        {"Sub A(x)\n B x\nEnd Sub\nSub B(y)\n y = 5\nEnd Sub\nv = 1 : A v : result = v", "Integer:5"},
        {"Sub S(x)\n x = 10\nEnd Sub\nFor i = 1 To 3 : S i : Next : result = i", "Integer:11"},
        {"Dim a(2) : result = IsEmpty(a(0))", "Boolean:True"},
        {"x = 1 : Erase x", "error 13"},
        {"Dim a(2), b : b = 3 : result = UBound(a) + b", "Long:5"},
        {"ReDim a(2), b(3) : result = UBound(a) & UBound(b)", "String:23"},
        {"ReDim Preserve q(2) : q(2) = 1 : result = UBound(q)", "Long:2"},
        {"Dim a(1, 1) : a(1, 1) = 5 : Erase a : result = UBound(a, 2) & IsEmpty(a(1, 1))", "String:1True"},
        {"For i = 1 To 3\n Do\n  Exit Do\n Loop\n n = n + 1\nNext\nresult = n", "Integer:3"},
        {"Do\n For i = 1 To 3\n  If i = 2 Then Exit Do\n Next\nLoop\nresult = i", "Integer:2"},
        {"i = 0 : While Null : i = 1 : Wend : result = i", "Integer:0"},
        {"i = 0 : Do While Null : i = 1 : Loop : result = i", "Integer:0"},
        {"Dim calls\nFunction F()\n calls = calls + 1 : F = 2\nEnd Function\nSelect Case F()\nCase 1\nCase "
         "2\nCase 3\nEnd Select\nresult = calls",
         "Integer:1"},
        {"x = 7\nSelect Case True\nCase x > 5\n result = \"big\"\nCase Else\n result = \"small\"\nEnd Select",
         "String:big"},
        {"Select Case \"k\"\nCase \"a\" To \"m\"\n result = 1\nCase Else\n result = 2\nEnd Select",
         "Integer:1"},
        {"Select Case 5\nCase Is = 5\n result = 1\nEnd Select", "Integer:1"},
        {"Select Case 5\nCase Is <> 5\n result = 1\nCase Else\n result = 2\nEnd Select", "Integer:2"},
        {"Select Case 1.5\nCase 1 To 2\n result = 1\nEnd Select", "Integer:1"},
        {"Select Case 4\nCase 5 To 3\n result = 1\nCase Else\n result = 2\nEnd Select", "Integer:2"},
        {"Function F(x)\n F = x * 2\nEnd Function\nCall F(1)\nresult = 1", "Integer:1"},
        {"Sub S\n For i = 1 To 5\n  If i = 2 Then Exit Sub\n  n = i\n Next\nEnd Sub\nS\nresult = 1",
         "Integer:1"},
        {"Function F(a)\n F = a\nEnd Function\nOn Error Resume Next\nx = 5\nx = F(1 / 0)\nresult = x",
         "Integer:5"},
        {"Dim o : result = TypeName(o)", "String:Empty"},
        {"Dim a(2) : a(-1) = 1", "error 9"},
        {"If \"True\" Then result = 1", "Integer:1"},
        {"If \"abc\" Then result = 1", "error 13"},
        {"If Empty Then result = 1 Else result = 2", "Integer:2"},
        {"x = \"3\" : For i = 1 To x : n = n + 1 : Next : result = n", "Integer:3"},
        {"For i = 1 To 3 Step -1 : n = 1 : Next : result = i & IsEmpty(n)", "String:1True"},
        {"For i = 1.5 To 3 : n = n + 1 : Next : result = n & \"/\" & i", "String:2/3.5"},
        {"For i = 3 To 1 : Next : result = i", "Integer:3"},
        {"For i = 1 To 10 : i = i + 1 : n = n + 1 : Next : result = n", "Integer:5"},
        {"Dim x : x.Foo", "error 424"},
        {"Class C\n Sub M\n  Err.Raise 9\n End Sub\nEnd Class\nSet o = New C\nOn Error Resume "
         "Next\no.M\nresult = Err.Number",
         "Long:9"},
        {"If False Then\n result = 1\nElse result = 3\nEnd If", "Integer:3"},
        {"IF TRUE THEN RESULT = 1\nresult = result + 1", "Integer:2"},
        {"dim x : x = 2 : if x = 2 then\n result = \"y\"\nend if", "String:y"},
        {"Dim x()\nReDim x(2)\nresult = UBound(x)", "Long:2"},
        {"Class C\n Public V\n Sub M(a)\n  V = a\n End Sub\nEnd Class\nSet o = New C : Call o.M(3) : result "
         "= o.V",
         "Integer:3"},
        {"Class C\n Sub M(a)\n  a = a + 1\n End Sub\nEnd Class\nSet o = New C : x = 1 : o.M (x) : result = x",
         "Integer:1"},
        {"Class C\n Sub M(a)\n  a = a + 1\n End Sub\nEnd Class\nSet o = New C : x = 1 : o.M x : result = x",
         "Integer:2"},
        {":::\nresult = 1", "Integer:1"},
        {"Function F(n)\n If n > 0 Then F = F(n - 1) + 1 Else F = 0\nEnd Function\nresult = F(5)",
         "Integer:5"},
        {"Function F()\n F = Array(7, 8)\nEnd Function\nresult = F()(1)", "Integer:8"},
        {"Execute \"Sub Q : x = 1 : End Sub\"\nQ\nresult = 1", "Integer:1"},
        {"Execute \"x = 1 = 1\" : result = x", "Boolean:True"},
        {"a = Array(1, 2, 3) : For Each v In a : a(2) = 9 : s = s & v : Next : result = s", "String:123"},
        {"For Each v In Array(1, 2) : Next : result = v", "Integer:2"},
        {"For i = 32760 To 32770 : Next : result = i", "Long:32771"},
        {"Dim o : o.X = 1", "error 424"},
        {"Class C\n Public V\nEnd Class\nDim a(1) : Set a(0) = New C : a(0).V = 2 : result = a(0).V",
         "Integer:2"},
        {"Class C\n Public Items\n Sub Class_Initialize\n  Items = Array(1, 2)\n End Sub\nEnd Class\nSet o = "
         "New C : o.Items(0) = 5 : result = o.Items(0)",
         "Integer:5"},
        {"Class C\n Public Default Property Get It(i)\n  It = i\n End Property\nEnd Class\nSet o = New C : "
         "result = o.It(3) + o(4)",
         "Integer:7"},
        {"Dim t\nClass C\n Public N\n Sub Class_Terminate\n  t = t & N\n End Sub\nEnd Class\nSub S\n Set a = "
         "New C : a.N = 1\n Set b = New C : b.N = 2\nEnd Sub\nS\nresult = t",
         "String:12"},
        {"x = 5\nFunction F\n F = x\nEnd Function\nresult = F", "Integer:5"},
        {"Function F(x)\n x = 9\n F = x\nEnd Function\nresult = F(1) ", "Integer:9"},
        {"Dim a(2)\nFunction F(x)\n x = 9\nEnd Function\nF a(1)\nresult = a(1)", "Integer:9"},
        {"Class C\nEnd Class\nSet a = New C : Set b = New C : result = a = b", "error 438"},
        {"s = \"\" : For i = 1 To 3 : s = s & Chr(64 + i) : Next : result = s", "String:ABC"},
        {"x = 10\nDo While x > 0\n x = x - 3\nLoop\nresult = x", "Integer:-2"},
        {"Dim a(2)\nresult = UBound(a) - LBound(a) + 1", "Long:3"},
        {"Sub S(x)\nEnd Sub\nS", "error 450"},
    });
}

TEST(Language, DateArithmeticAndParts)
{
    Check({
        {"result = CStr(#13:05#)", "String:1:05:00 PM"},
        {"result = vbGeneralDate & vbLongDate & vbShortDate & vbLongTime & vbShortTime & vbTrue & vbFalse & "
         "vbUseDefault",
         "String:01234-10-2"},
        {"result = #1/2/2000# & \"\"", "String:1/2/2000"},
        {"result = IsDate(\"12:30\") & IsDate(\"\") & IsDate(Null)", "String:TrueFalseFalse"},
        {"result = DateDiff(\"m\", #1/1/2000#, #1/1/2001#)", "Long:12"},
        {"result = DatePart(\"q\", #12/31/2000#)", "Integer:4"},
        {"result = DatePart(\"ww\", #12/31/2000#)", "Integer:54"},
        {"result = Weekday(\"x\")", "error 13"},
        {"result = MonthName(0)", "error 5"},
        {"result = Hour(0.75)", "Integer:18"},
        {"result = Minute(#12:30:45#) & Second(#12:30:45#)", "String:3045"},
        {"result = TypeName(Timer)", "String:Single"},
        {"result = TimeValue(\"1:30 PM\")", "Date:1:30:00 PM"},
        {"result = DateValue(\"1/2/2000 3:00\")", "Date:1/2/2000"},
        {"result = FormatDateTime(\"1/2/2000\")", "String:1/2/2000"},
        {"result = CDate(Null)", "error 94"},
        {"result = DateAdd(\"m\", 1, #1/31/2001#)", "Date:2/28/2001"},
        {"result = DateAdd(\"d\", -1, #3/1/2000#)", "Date:2/29/2000"},
        {"result = DateAdd(\"h\", -1, #1/1/2000#)", "Date:12/31/1999 11:00:00 PM"},
        {"result = DateAdd(\"yyyy\", 10000, #1/1/2000#)", "error 5"},
        {"result = DateDiff(\"d\", \"1/1/2000\", \"1/2/2000\")", "Long:1"},
        {"result = DateDiff(\"h\", #1/1/2000 10:59#, #1/1/2000 11:00#)", "Long:1"},
        {"result = DateDiff(\"n\", #10:00:59#, #10:01:00#)", "Long:1"},
        {"result = DateDiff(\"yyyy\", #12/31/2000#, #1/1/2000#)", "Long:0"},
        {"result = DatePart(\"y\", #12/31/2000#)", "Integer:366"},
        {"result = Year(#12/31/9999#)", "Integer:9999"},
        {"result = #12/31/1899#", "Date:12/31/1899"},
        {"result = CDate(-1)", "Date:12/29/1899"},
        {"result = CDate(-1.5)", "Date:12/29/1899 12:00:00 PM"},
        {"result = CDbl(#12/29/1899 6:00#)", "Double:-1.25"},
        {"result = Weekday(0)", "Integer:7"},
        {"result = DateValue(\"1/2/2000\") = #1/2/2000#", "Boolean:True"},
        {"result = FormatDateTime(#12:00:00 AM#, vbLongTime)", "String:12:00:00 AM"},
        {"result = #1/2/2000# - 1", "Date:1/1/2000"},
        {"result = TypeName(#1/2/2000# - #1/1/2000#)", "String:Double"},
        {"result = #1/2/2000# * 1", "Double:36527"},
        {"result = CDate(\"1/2/2000\") < CDate(\"1/10/2000\")", "Boolean:True"},
        {"result = DateSerial(2000, 1, 1) = #1/1/2000#", "Boolean:True"},
        {"result = CInt(#1/1/2000#)", "error 6"},
        {"result = CLng(#1/1/2000 18:00#)", "Long:36527"},
        {"result = Round(#1/1/2000 18:00#)", "Date:1/2/2000"},
    });
}

TEST(Language, ConstantsAndLiterals)
{
    Check({
        {"result = InStr(1, \"abc\", \"C\", vbTextCompare)", "Long:3"},
        {"result = vbBinaryCompare & vbTextCompare & vbSunday & vbSaturday & vbUseSystemDayOfWeek & "
         "vbFirstJan1 & vbFirstFourDays & vbFirstFullWeek",
         "String:01170123"},
        {"result = vbOKOnly & vbOKCancel & vbAbortRetryIgnore & vbYesNoCancel & vbYesNo & vbRetryCancel & "
         "vbOK & vbCancel & vbAbort & vbRetry & vbIgnore & vbYes & vbNo",
         "String:0123451234567"},
        {"result = vbCritical & vbQuestion & vbExclamation & vbInformation & vbDefaultButton2",
         "String:16324864256"},
        {"result = vbObjectError", "Long:-2147221504"},
        {"result = vbRed & \" \" & vbBlack & \" \" & vbWhite & \" \" & vbBlue & \" \" & vbGreen & \" \" & "
         "vbYellow & \" \" & vbMagenta & \" \" & vbCyan",
         "String:255 0 16777215 16711680 65280 65535 16711935 16776960"},
        {"vbCr = 1", "error 501"},
        {"result = &H7FFFFFFF", "Long:2147483647"},
        {"result = &H80000000", "Long:-2147483648"},
        {"result = &O777", "Integer:511"},
        {"result = &h1f", "Integer:31"},
        {"result = StrComp(\"abc\", \"ABD\", vbTextCompare)", "Integer:-1"},
        {"result = Hex(&H7FFFFFFF + 1)", "error 6"},
        {"result = &HFFFF&", "Long:65535"},
        {"result = &HFFFF&", "Long:65535"},
        {"result = &H8000&", "Long:32768"},
        {"result = &HFFFFFFFF&", "Integer:-1"},
        {"result = &O177777&", "Long:65535"},
        {"result = &HFF & \"x\"", "String:255x"},
        {"result = vbNewLine = vbCrLf And vbNullString = \"\" And vbNullChar = Chr(0) And vbFormFeed = "
         "Chr(12) And vbVerticalTab = Chr(11)",
         "Boolean:True"},
    });
}

TEST(Language, ConversionsAndStringsAtTheirEdges)
{
    Check({
        {"result = UBound(Array(1, 2), 1)", "Long:1"},
        {"Public P : Private Q : P = 1 : Q = 2 : result = P + Q", "Integer:3"},
        {"result = Mid(\"abc\", 4)", "String:"},
        {"result = Len(1.5)", "Long:3"},
        {"result = Left(\"abc\", Null)", "error 94"},
        {"result = Join(Filter(Array(1, 2, 12), 1), \",\")", "String:1,12"},
        {"result = Filter(\"abc\", \"a\")", "error 13"},
        {"result = Chr(65.6)", "String:B"},
        {"result = Asc(Null)", "error 94"},
        {"result = Len(Space(3.5))", "Long:4"},
        {"result = CStr(Empty)", "String:"},
        {"result = CDbl(True) & CDbl(Empty)", "String:-10"},
        {"result = CSng(\"abc\")", "error 13"},
        {"result = CInt(32767.4)", "Integer:32767"},
        {"result = CInt(-32768.6)", "error 6"},
        {"result = CLng(\"-2147483648\")", "Long:-2147483648"},
        {"result = CCur(\"1.23456\")", "Currency:1.2346"},
        {"result = Round(2.5, 0)", "Double:2"},
        {"result = Round(12345.6789, 2)", "Double:12345.68"},
        {"result = Int(2.5) & Fix(2.5)", "String:22"},
        {"result = Int(\"abc\")", "error 13"},
        {"result = Hex(-2147483648)", "String:80000000"},
        {"result = Oct(8.5)", "String:10"},
        {"result = Sgn(\"-3\")", "Integer:-1"},
        {"result = Log(Exp(1))", "Double:1"},
        {"result = Tan(0) + Sin(0) + Cos(0)", "Double:1"},
        {"result = CSng(0.1)", "Single:0.1"},
        {"result = CSng(1E+20)", "Single:1E+20"},
        {"result = 123456789012345.6", "Double:123456789012346"},
        {"result = \"a\" = Null", "Null:"},
        {"result = 1 & 2", "String:12"},
        {"result = True & \"\"", "String:True"},
        {"result = CCur(1.5) & \"\"", "String:1.5"},
        {"result = 1.0 & \"\"", "String:1"},
        {"result = True Eqv True", "Boolean:True"},
        {"result = False Eqv False", "Boolean:True"},
        {"result = 5 Eqv 5", "Integer:-1"},
        {"result = Null Imp Null", "Null:"},
        {"result = True Imp Null", "Null:"},
        {"result = Not Empty", "Integer:-1"},
        {"result = CInt(20000) + CInt(20000)", "Long:40000"},
        {"result = -32768 * -1", "Long:32768"},
        {"result = CInt(-32768) * -1", "Long:32768"},
        {"result = 2147483647 * 2", "Double:4294967294"},
        {"result = 1000000 * 1000000", "Double:1000000000000"},
        {"result = CByte(255) * CByte(2)", "Integer:510"},
        {"result = 32767 + True", "Integer:32766"},
        {"result = \"32767\" + 1", "Double:32768"},
        {"result = 7 / 7", "Double:1"},
        {"result = 7.9 \\ 2", "Long:4"},
        {"result = -7.5 \\ 2", "Long:-4"},
        {"result = Null Mod 2", "Null:"},
        {"result = 5 \\ Null", "Null:"},
        {"result = (-2) ^ 2", "Double:4"},
        {"result = CInt(-32768) \\ -1", "Long:32768"},
        {"result = CInt(-32768) Mod -1", "Integer:0"},
        {"result = Err.HelpContext & Err.HelpFile", "String:0"},
        {"On Error Resume Next\nErr.Description = \"x\"\nresult = Err.Description", "String:x"},
        {"On Error Resume Next\nErr.Raise 13, \"me\"\nresult = Err.Description & \"|\" & Err.Source",
         "String:Type mismatch|me"},
        {"On Error Resume Next\nx = 1 / 0\nresult = Err", "Long:11"},
        {"result = FormatNumber(1234.5678, 3)", "String:1,234.568"},
        {"result = FormatNumber(-0.5)", "String:-0.50"},
        {"result = FormatNumber(Empty)", "String:0.00"},
        {"result = FormatPercent(0.12345, 1)", "String:12.3%"},
        {"result = FormatPercent(-0.5, 0, , True)", "String:(50%)"},
        {"result = FormatCurrency(-1234.567, 2)", "String:($1,234.57)"},
        {"result = FormatCurrency(1234.5, 0)", "String:$1,235"},
        {"result = FormatNumber(1234.5, 2, True, False, True)", "String:1,234.50"},
        {"result = FormatNumber(0.1, 2, False)", "String:.10"},
        {"result = FormatNumber(-1, 0, , -1)", "String:(1)"},
        {"result = IsObject(Empty)", "Boolean:False"},
        {"result = Array(1, 2)(2)", "error 9"},
        {"a = Array(1, 2) : a(0) = a : result = UBound(a(0))", "Long:1"},
        {"result = UBound(Array(Array(1, 2, 3))(0))", "Long:2"},
        {"x = Array(1, 2) : y = x : y(0) = 5 : result = x(0)", "Integer:1"},
        {"result = LBound(Split(\"a b\"))", "Long:0"},
        {"result = IsArray(Split(\"\"))", "Boolean:True"},
        {"result = 1E+16", "Double:1E+16"},
        {"result = 100000000000000", "Double:100000000000000"},
        {"result = 0.1 * 3", "Double:0.3"},
        {"result = 1 / 7", "Double:0.142857142857143"},
        {"result = 2 / 3", "Double:0.666666666666667"},
        {"result = -1.5E-10", "Double:-1.5E-10"},
        {"result = CSng(3.14159265)", "Single:3.141593"},
        {"result = IsNumeric(\"1e\")", "Boolean:False"},
        {"result = IsNumeric(\" \")", "Boolean:False"},
        {"result = IsNumeric(\"+5\") & IsNumeric(\".5\") & IsNumeric(\"5.\")", "String:TrueTrueTrue"},
        {"result = CDbl(\"1,5\")", "Double:15"},
        {"result = CStr(False)", "String:False"},
        {"result = True + \"1\"", "Double:0"},
        {"result = \"10\" > \"9\"", "Boolean:False"},
        {"result = \"7\" \\ \"2\"", "Long:3"},
        {"result = \"abc\" * 1", "error 13"},
        {"result = CBool(\"yes\")", "error 13"},
        {"result = CBool(\"-1\")", "Boolean:True"},
        {"result = Replace(\"aaa\", \"a\", \"bb\")", "String:bbbbbb"},
        {"result = Replace(\"abc\", \"B\", \"x\")", "String:abc"},
        {"result = Replace(String(20, \"a\") & \"-\", \"a\", \"xy\", 3, 17)",
         "String:xyxyxyxyxyxyxyxyxyxyxyxyxyxyxyxyxya-"},
        {"result = Replace(\"a1a2a\", \"a\", \"\", 1, -1, vbTextCompare) & Len(Replace(\"AbA\", \"a\", \"\", "
         "1, -1, 1))",
         "String:121"},
        {"result = InStr(\"abc\", \"bc\")", "Long:2"},
        {"result = InStr(1, Null, \"a\")", "Null:"},
        {"result = InStrRev(\"a,b,c\", \",\")", "Long:4"},
        {"result = StrComp(Null, Null)", "Null:"},
        {"result = LCase(Empty)", "String:"},
        {"result = Left(\"abc\", 2.5)", "String:ab"},
        {"result = Mid(\"abcdef\", 3.5, 1)", "String:d"},
        {"result = Right(\"abc\", 10)", "String:abc"},
        {"result = String(2, 321)", "String:AA"},
        {"result = UBound(Split(\"a,b,c\", \",\", -1))", "Long:2"},
        {"result = UBound(Split(\" a  b \"))", "Long:4"},
        {"result = Join(Filter(Array(\"abc\", \"ABC\"), \"b\"), \",\")", "String:abc"},
        {"result = CInt(\"  12  \") + CInt(\"1e2\")", "Integer:112"},
        {"result = CLng(True)", "Long:-1"},
        {"result = CByte(\"255\")", "Byte:255"},
        {"result = CCur(Null)", "error 94"},
        {"result = Hex(\"255\")", "String:FF"},
        {"result = Hex(True)", "String:FFFF"},
        {"result = Oct(-8)", "String:177770"},
        {"result = Len(Chr(0) & \"a\")", "Long:2"},
        {"result = Day(-1)", "Integer:29"},
        {"result = Len(\"a\", \"b\")", "error 450"},
        {"result = Left(\"a\")", "error 450"},
        {"Err.Raise \"abc\"", "error 13"},
        {"result = Now - Now < 1", "Boolean:True"},
        {"x = 1 : Rem comment\nresult = x", "Integer:1"},
        {"x = 1 ' it's \"quoted\"\nresult = x", "Integer:1"},
        {"[a b] = 5 : result = [a b]", "Integer:5"},
        {"x = \"a\"&\"b\" : result = x", "String:ab"},
        {"result = Eval(\"1 = 1\")", "Boolean:True"},
        {"result = -7.5 Mod 2", "Long:0"},
        {"result = CCur(1) + CInt(1)", "Currency:2"},
        {"result = CCur(0.1) * 3", "Currency:0.3"},
        {"result = CStr(CCur(1234567.89))", "String:1234567.89"},
        {"result = True * 2", "Integer:-2"},
        {"result = True Or False", "Boolean:True"},
        {"result = IsNull(Null = 1)", "Boolean:True"},
        {"result = CStr(0 * -1.5)", "String:0"},
        {"result = CStr(Round(-0.4))", "String:0"},
        {"Set o = Nothing : o.X = 1", "error 424"},
        {"result = Array(1, 2) = Array(1, 2)", "error 13"},
        {"result = Empty Is Nothing", "error 424"},
        {"result = Len(String(10, \"x\") & Space(5))", "Long:15"},
        {"result = 1: result = result + 1", "Integer:2"},
        {"result = Abs(-2147483648)", "Double:2147483648"},
        {"result = CLng(-2147483648)", "Long:-2147483648"},
        {"result = Sgn(-0)", "Integer:0"},
        {"result = 5 Mod 2.5", "Long:1"},
        {"result = 2.5 Mod 5", "Long:2"},
        {"result = 3 Xor Null", "Null:"},
        {"result = CSng(1) / 3", "Single:0.3333333"},
    });
}

TEST(Language, WeeksOfTheYearFollowTheFirstWeekRule)
{
    Check({
        {"result = DatePart(\"ww\", #1/1/2000#, vbSunday, vbFirstFullWeek)", "Integer:52"},
        {"result = DatePart(\"ww\", #1/2/2000#, vbSunday, vbFirstFullWeek)", "Integer:1"},
        {"result = DatePart(\"ww\", #1/3/2000#, vbMonday, vbFirstFourDays)", "Integer:1"},
        {"result = DatePart(\"ww\", #1/1/2000#, vbMonday, vbFirstFourDays)", "Integer:52"},
        {"result = DatePart(\"ww\", #1/1/2005#, vbMonday, vbFirstFourDays)", "Integer:53"},
        {"result = DatePart(\"ww\", #12/31/2002#, vbMonday, vbFirstFourDays)", "Integer:1"},
        {"result = DatePart(\"ww\", #12/30/2004#, vbMonday, vbFirstFourDays)", "Integer:53"},
        {"result = DatePart(\"ww\", #1/1/2004#, vbMonday, vbFirstFourDays)", "Integer:1"},
        {"result = DatePart(\"ww\", #12/31/2000#)", "Integer:54"},
        {"result = DatePart(\"ww\", #12/31/2000#, vbSunday, vbFirstJan1)", "Integer:54"},
        {"result = DatePart(\"ww\", #12/31/2000#, vbSunday, vbUseSystem)", "Integer:54"},
        {"result = DatePart(\"ww\", #1/1/2000#, vbSunday, 4)", "error 5"},
        {"result = DatePart(\"ww\", #6/15/2000#, vbMonday, vbFirstFourDays)", "Integer:24"},
        {"result = DatePart(\"ww\", #1/1/100#, vbMonday, vbFirstFourDays)", "Integer:53"},
        {"result = DatePart(\"ww\", #12/31/9999#, vbMonday, vbFirstFourDays)", "Integer:52"},
        {"result = DatePart(\"ww\", #12/1/1800#, vbMonday, vbFirstFourDays)", "Integer:49"},
    });
}

TEST(Language, ParsingAndControlFlowCorners)
{
    Check({
        {"ReDim x(5) : x(5) = 1 : ReDim Preserve x(2) : result = UBound(x) & IsEmpty(x(2))", "String:2True"},
        {"Sub G(a)\n ReDim Preserve a(5)\nEnd Sub\nReDim x(1) : G x : result = UBound(x)", "Long:5"},
        {"Function F()\n F = Array(1, 2, 3)\nEnd Function\nDim a() : a = F() : result = UBound(a)", "Long:2"},
        {"a = True : b = False : If a Then If b Then c = 1 Else c = 2\nresult = c", "Integer:2"},
        {"If True Then x = 1 : y = 2 Else z = 3\nresult = x + y & IsEmpty(z)", "String:3True"},
        {"Do : n = n + 1 : Loop While False : result = n", "Integer:1"},
        {"While False : Wend : result = 1", "Integer:1"},
        {"Select Case 1 : Case 1 : result = \"one\" : End Select", "String:one"},
        {"Class C\n Public V\nEnd Class\nSet o = Eval(\"New C\") : o.V = 1 : result = o.V", "Integer:1"},
    });
}

TEST(Language, DateAndTimeCallForms)
{
    Check({
        {"result = Year(Date()) > 2000", "Boolean:True"},
        {"result = Timer() >= 0", "Boolean:True"},
        {"result = Now() >= Date()", "Boolean:True"},
    });
}

TEST(Language, TextCompareAndNumericLimits)
{
    Check({
        {"result = StrComp(\"\xC3\x84"
         "\", \"\xC3\xA4"
         "\", 1)",
         "Integer:0"},
        {"result = InStr(1, \"x\xC3\x84"
         "y\", \"\xC3\xA4"
         "\", 1)",
         "Long:2"},
        {"result = UCase(\"\xC3\xA4"
         "\") = \"\xC3\x84"
         "\"",
         "Boolean:True"},
        {"result = LCase(\"\xC3\x84"
         "B\") = \"\xC3\xA4"
         "b\"",
         "Boolean:True"},
        {"result = Len(\"\xF0\x9F\x98\x80"
         "\")",
         "Long:2"},
        {"result = Replace(\"\xC3\x84"
         "a\", \"\xC3\xA4"
         "\", \"x\", 1, -1, 1)",
         "String:xa"},
        {"result = Exp(710)", "error 6"},
        {"result = 10 ^ 400", "error 6"},
        {"result = CDbl(\"1e400\")", "error 6"},
        {"result = Int(1E+20)", "Double:1E+20"},
        {"result = CLng(1E+10)", "error 6"},
        {"result = CCur(1E+16)", "error 6"},
        {"result = Log(-1)", "error 5"},
        {"result = \"it's\"", "String:it's"},
        {"x = Rnd() : result = x < 1", "Boolean:True"},
        {"result = Eval(\"Array(1, 2)\")(1)", "Integer:2"},
        {"On Error Resume Next\nWith Nothing\n .X = 1\nEnd With\nresult = Err.Number", "Long:424"},
        {"result = CStr(CDbl(\"1.5E-3\"))", "String:0.0015"},
        {"result = CStr(-1.5)", "String:-1.5"},
        {"result = 5 + \"  \"", "error 13"},
        {"result = IsNumeric(\"1 2\")", "Boolean:False"},
        {"result = \"1\" + 1 & \"1\" - 1", "String:20"},
        {"result = 1 / 3 = 1 / 3", "Boolean:True"},
        {"result = (1 = 1) + 1", "Integer:0"},
        {"result = -\"2\"", "Double:-2"},
        {"result = Not \"0\"", "Long:-1"},
        {"result = Not 1.5", "Long:-3"},
        {"result = 2.5 And 3", "Long:2"},
        {"result = CInt(1) / CInt(0)", "error 11"},
        {"result = 0 / 0.0", "error 6"},
        {"result = 1 Mod 0.4", "error 11"},
        {"result = -1 ^ 0.5", "error 5"},
    });
}

TEST(Language, ResultTypesFollowTheOperandTypes)
{
    Check({
        {"For x = 0 To 1 Step 0.1 : n = n + 1 : Next : result = n", "Integer:11"},
        {"For i = 1 To 3 Step 0.5 : Next : result = TypeName(i)", "String:Double"},
        {"result = CDate(\"\")", "error 13"},
        {"result = CDate(True)", "Date:12/29/1899"},
        {"result = #1/1/2000# + CCur(1)", "Date:1/2/2000"},
        {"result = TypeName(#1/1/2000# - 1)", "String:Date"},
        {"result = TypeName(1 - #1/1/2000#)", "String:Date"},
        {"result = #1/1/2000# * 2", "Double:73052"},
        {"result = TypeName(-#1/1/2000#)", "String:Date"},
        {"result = Mid(Null, 1) & Right(Null, 1)", "Null:"},
        {"result = Space(Null)", "error 94"},
        {"result = UBound(Null)", "error 13"},
        {"result = IsArray(Null)", "Boolean:False"},
        {"result = TypeName(ScriptEngineMajorVersion)", "String:Long"},
        {"x = CLng(-2147483647) - 1 : result = x \\ -1", "error 6"},
        {"x = CLng(-2147483647) - 1 : result = x Mod -1", "Long:0"},
        {"x = CLng(-2147483647) - 1 : result = -x", "Double:2147483648"},
        {"result = CLng(2147483647) * CLng(2147483647)", "Double:4.61168601413242E+18"},
        {"result = CByte(255) + CByte(1)", "Integer:256"},
        {"result = CSng(3.4E+38) * 10", "Double:3.39999995214436E+39"},
        {"result = CCur(900000000000000) * 2", "error 6"},
        {"result = CCur(1) + 0.5", "Currency:1.5"},
        {"result = CCur(1) + CSng(0.5)", "Currency:1.5"},
        {"result = CCur(1) + True", "Currency:0"},
        {"result = CCur(2) * 3", "Currency:6"},
        {"result = CCur(7) \\ 2", "Long:3"},
        {"result = CSng(1.5) + CLng(1)", "Double:2.5"},
        {"result = CSng(1.5) + CInt(1)", "Single:2.5"},
        {"result = TypeName(CByte(1) + True)", "String:Integer"},
        {"result = TypeName(Empty + Empty)", "String:Integer"},
        {"result = TypeName(\"1\" & Empty)", "String:String"},
        {"result = TypeName(1 & 1)", "String:String"},
        {"result = TypeName(True + True)", "String:Integer"},
        {"result = TypeName(True And True)", "String:Boolean"},
        {"result = TypeName(True And 1)", "String:Integer"},
        {"result = TypeName(CByte(1) And 1)", "String:Integer"},
        {"result = TypeName(CByte(1) Or CByte(2))", "String:Byte"},
        {"result = TypeName(CLng(1) And 1)", "String:Long"},
        {"result = TypeName(1.5 And 1)", "String:Long"},
        {"result = TypeName(Not CByte(1))", "String:Byte"},
        {"result = Not CByte(1)", "Byte:254"},
        {"result = TypeName(-CByte(1))", "String:Integer"},
        {"result = TypeName(Null + Empty)", "String:Null"},
        {"result = TypeName(10 / 2)", "String:Double"},
        {"result = TypeName(CSng(10) / 2)", "String:Single"},
        {"result = TypeName(2 ^ 2)", "String:Double"},
        {"result = TypeName(CSng(2) ^ 2)", "String:Double"},
        {"result = TypeName(7 Mod 2)", "String:Integer"},
        {"result = TypeName(CByte(7) Mod CByte(2))", "String:Byte"},
        {"result = TypeName(CByte(7) \\ CByte(2))", "String:Byte"},
        {"result = TypeName(CLng(7) Mod 2)", "String:Long"},
        {"result = TypeName(CCur(7) Mod 2)", "String:Long"},
        {"result = TypeName(-CCur(1))", "String:Currency"},
        {"result = TypeName(-\"1\")", "String:Double"},
        {"result = TypeName(-Null)", "String:Null"},
        {"result = TypeName(CInt(1) * CSng(1))", "String:Single"},
        {"result = TypeName(CLng(1) * CSng(1))", "String:Double"},
        {"result = 2147483648 \\ 1", "error 6"},
        {"result = 2147483648 Mod 2", "error 6"},
        {"result = 2147483647.6 \\ 1", "error 6"},
        {"result = CLng(2147483647) \\ 1", "Long:2147483647"},
        {"result = 1E+20 \\ 3", "error 6"},
    });
}

TEST(Language, ResumeNextAndExecuteReachTheRightStatements)
{
    Check({
        {"On Error Resume Next\nresult = 1\nresult = 1 / 0\nresult = result + 1", "Integer:2"},
        {"On Error Resume Next\nFor i = 1 To 1 / 0\n n = n + 1\nNext\nresult = n & \"/\" & Err.Number",
         "String:1/11"},
        {"On Error Resume Next\nIf False Then\nElseIf 1 / 0 Then\n result = \"elseif\"\nElse\n result = "
         "\"else\"\nEnd If",
         "String:elseif"},
        {"Dim t\nClass C\n Sub Class_Terminate\n  Err.Raise 5\n End Sub\nEnd Class\nSet o = New C : Set o = "
         "Nothing : result = \"after\"",
         "String:after"},
        {"Class C\n Public V\nEnd Class\nWith New C\n .V = 5\n result = .V\nEnd With", "Integer:5"},
        {"Execute \"Dim q : q = 5\" : result = q", "Integer:5"},
        {"Sub S\n Execute \"Dim z : z = 2\"\n result2 = z\nEnd Sub\nDim result2\nS\nresult = result2",
         "Integer:2"},
        {"Function F\n F = Eval(\"Me\")\nEnd Function", "Empty:"},
        {"x = 1\nSub S\n ExecuteGlobal \"x = 7\"\nEnd Sub\nS\nresult = x", "Integer:7"},
        {"Execute \"If True Then y = 1 Else y = 2\" : result = y", "Integer:1"},
        {"Execute \"For i = 1 To 3\" & vbCrLf & \"n = n + i\" & vbCrLf & \"Next\" : result = n", "Integer:6"},
        {"Class C\n Public V\n Sub Class_Initialize\n  V = 1\n End Sub\nEnd Class\nExecute \"Set o = New C\" "
         ": result = o.V",
         "Integer:1"},
    });
}

TEST(Language, DatesBeforeDayZeroKeepTheirTimeOfDay)
{
    Check({
        {"result = #1/1/2000 12:00#", "Date:1/1/2000 12:00:00 PM"},
        {"result = #0:00:01#", "Date:12:00:01 AM"},
        {"result = CDate(-0.5)", "Date:12:00:00 PM"},
        {"result = CDate(-1.25)", "Date:12/29/1899 6:00:00 AM"},
        {"result = Hour(CDate(-1.25))", "Integer:6"},
        {"result = Eval(\"x = 1\")", "Boolean:False"},
        {"x = 1 : result = Eval(\"x = 1\")", "Boolean:True"},
    });
}

TEST(Language, OperatorsAndErrorsInContext)
{
    Check({
        {"Dim a(2) : a(1, 1) = 1", "error 9"},
        {"Dim a(2) : x = a(1, 1)", "error 9"},
        {"x = Array(1)(0)(0)", "error 13"},
        {"Set a = Array(1)", "error 424"},
        {"x = Nothing", "error 91"},
        {"x = \"s\" : x.Go", "error 424"},
        {"result = Len()", "error 450"},
        {"On Error Resume Next\nErr.Raise 5, \"src\"\nresult = Err.Source", "String:src"},
        {"Set o = Nothing : result = o Is Nothing = False", "Boolean:False"},
        {"a = 1 : b = 2 : result = a < b And b < 3", "Boolean:True"},
        {"result = 1 + 2 * 3 ^ 2 \\ 4 Mod 3 - 1", "Long:1"},
        {"result = \"a\" & 1 + 2 & \"b\"", "String:a3b"},
        {"result = Not True = False", "Boolean:True"},
        {"result = 5 > 3 Eqv 2 > 1", "Boolean:True"},
        {"result = 1 < 2 Xor 2 < 3", "Boolean:False"},
        {"result = 3 * -2", "Integer:-6"},
        {"result = 3 - -2 ^ 2", "Double:-1"},
    });
}

TEST(Language, ClassesAndScopesInDepth)
{
    Check({
        {"Class C\n Private Sub Hidden\n End Sub\nEnd Class\nSet o = New C : o.Hidden", "error 438"},
        {"Class C\n Function Name\n  Name = TypeName(Me) & IsObject(Me)\n End Function\nEnd Class\nSet o = "
         "New C : result = o.Name",
         "String:CTrue"},
        {"Class C\n Public V\n Public Child\nEnd Class\nSet o = New C : Set o.Child = New C : o.Child.V = 3 "
         ": result = o.Child.V",
         "Integer:3"},
        {"Class C\n Public V\n Property Get V2\n  V2 = 1\n End Property\nEnd Class\nSet o = New C : result = "
         "IsEmpty(o.V)",
         "Boolean:True"},
        {"Class C\n Function F(n)\n  If n = 0 Then F = 0 Else F = n + F(n - 1)\n End Function\nEnd "
         "Class\nSet o = New C : result = o.F(4)",
         "Integer:10"},
        {"Dim a(3)\nFor i = 0 To 3 : a(i) = i * i : Next\nFor Each v In a : s = s + v : Next\nresult = s",
         "Integer:14"},
        {"x = 5\nSub S\n Dim x\n x = 1\nEnd Sub\nS\nresult = x", "Integer:5"},
    });
}

TEST(Language, DateFunctionsInDepth)
{
    Check({
        {"result = Weekday(#1/2/2000#, 0)", "Integer:1"},
        {"result = Weekday(#1/2/2000#, 8)", "error 5"},
        {"result = DateDiff(\"ww\", #1/1/2000#, #1/8/2000#)", "Long:1"},
        {"result = DateDiff(\"w\", #1/1/2000#, #1/7/2000#)", "Long:0"},
        {"result = DateDiff(\"w\", #1/15/2000#, #1/1/2000#)", "Long:-2"},
        {"result = DateDiff(\"m\", #1/31/2000 23:59#, #2/1/2000#)", "Long:1"},
        {"result = DateDiff(\"s\", #1/1/2000#, #1/2/2000#)", "Long:86400"},
        {"result = DateDiff(\"s\", #1/1/1900#, #1/1/2000#)", "error 6"},
        {"result = DateAdd(\"m\", 1, #1/31/2000 10:30#)", "Date:2/29/2000 10:30:00 AM"},
        {"result = DateAdd(\"d\", 0.5, #1/1/2000#)", "Date:1/1/2000"},
        {"result = DateSerial(2000, 1, 1.5)", "Date:1/2/2000"},
        {"result = DateSerial(\"2000\", \"2\", \"3\")", "Date:2/3/2000"},
        {"result = DateSerial(2000, 1, 1) + TimeSerial(6, 0, 0)", "Date:1/1/2000 6:00:00 AM"},
        {"result = TimeSerial(6, 30, 90)", "Date:6:31:30 AM"},
        {"result = Minute(TimeSerial(0, 59, 60))", "Integer:0"},
        {"result = Year(0) & Month(0) & Day(0)", "String:18991230"},
        {"result = IsDate(\"13/13/2000\")", "Boolean:False"},
        {"result = IsDate(\"2000-02-29\")", "Boolean:True"},
        {"result = IsDate(\"2001-02-29\")", "Boolean:False"},
        {"result = IsDate(\"1/1/100\")", "Boolean:True"},
        {"result = CDate(\"12/31/1999 11:59:59 PM\")", "Date:12/31/1999 11:59:59 PM"},
        {"result = CDate(\"12:00 PM\")", "Date:12:00:00 PM"},
        {"result = CDate(\"12:00 AM\")", "Date:12:00:00 AM"},
        {"result = CDate(\"Jan 5 2001\")", "Date:1/5/2001"},
        {"result = CDate(\"5 January 2001\")", "Date:1/5/2001"},
        {"result = MonthName(Month(#3/1/2000#), True)", "String:Mar"},
        {"result = FormatDateTime(#1/2/2000 13:05:09#, vbShortTime)", "String:13:05"},
        {"result = FormatDateTime(#1/2/2000 00:05:09#, vbShortTime)", "String:00:05"},
        {"result = FormatDateTime(#2/3/2001#, vbLongDate)", "String:Saturday, February 03, 2001"},
    });
}

TEST(Language, NumbersPrintAndRoundAsTheLanguageDoes)
{
    Check({
        {"result = \"&H10\" + 0", "Double:16"},
        {"result = ChrW(&H41)", "String:A"},
        {"On Error Resume Next\nErr.Raise 0\nresult = Err.Number", "Long:5"},
        {"result = Len(Space(2 ^ 28))", "error 7"},
        {"result = CStr(123456.789012345678)", "String:123456.789012346"},
        {"result = CStr(0.0001)", "String:0.0001"},
        {"result = CStr(999999999999999)", "String:999999999999999"},
        {"result = CStr(CSng(123456789))", "String:1.234568E+08"},
        {"result = CStr(CSng(1234567))", "String:1234567"},
        {"result = CStr(CCur(0.0001))", "String:0.0001"},
        {"result = CStr(2 ^ 53)", "String:9.00719925474099E+15"},
        {"result = CStr(-1E-300)", "String:-1E-300"},
        {"result = CStr(1.5E+300)", "String:1.5E+300"},
        {"result = CStr(CSng(0.000001))", "String:1E-06"},
        {"result = CStr(CSng(1E-7))", "String:1E-07"},
        {"x = True : y = \"True\" : result = x = y", "Boolean:False"},
        {"result = \"a\" < Null", "Null:"},
        {"result = Join(Array(1, Empty, 2), \"-\")", "String:1--2"},
        {"result = UBound(Array(1,2,3)) + LBound(Array())", "Long:2"},
        {"result = CBool(\"True \")", "Boolean:True"},
        {"result = IsNumeric(\"True\")", "Boolean:False"},
        {"result = Int(Empty)", "Integer:0"},
        {"result = Round(2.345, 2)", "Double:2.35"},
        {"result = Round(-2.345, 2)", "Double:-2.35"},
        {"result = Round(0.5) & Round(1.5) & Round(2.5) & Round(-1.5)", "String:022-2"},
        {"result = CInt(CSng(2.5))", "Integer:2"},
        {"result = CLng(CCur(2.5))", "Long:2"},
        {"result = CInt(\"2.5\")", "Integer:2"},
        {"result = CByte(0.5)", "Byte:0"},
        {"result = Fix(2147483648.5)", "Double:2147483648"},
        {"result = Int(CSng(-1.5))", "Single:-2"},
        {"result = TypeName(Fix(1.5))", "String:Double"},
        {"result = Hex(-32769)", "String:FFFF7FFF"},
        {"result = Oct(65535)", "String:177777"},
        {"result = Hex(4294967295)", "error 6"},
        {"result = AscW(\"A\")", "Integer:65"},
        {"result = Asc(Mid(StrReverse(\"a\" & Chr(0) & \"b\"), 2, 1))", "Integer:0"},
        {"result = Left(123, 2)", "String:12"},
        {"result = InStr(\"2\", \"12345\", \"3\")", "Long:3"},
        {"result = StrComp(12, 12)", "Integer:0"},
        {"result = Second(0.5 / 86400 * 2)", "Integer:1"},
        {"result = FormatNumber(1E+15, 0)", "String:1,000,000,000,000,000"},
        {"result = FormatNumber(-1234567.891, 2)", "String:-1,234,567.89"},
        {"result = FormatNumber(12, -1)", "String:12.00"},
        {"result = FormatNumber(0.123456, 4)", "String:0.1235"},
        {"result = FormatNumber(True)", "String:-1.00"},
        {"result = FormatNumber(\"1.5\")", "String:1.50"},
        {"result = FormatPercent(0.005, 1)", "String:0.5%"},
        {"result = FormatCurrency(0.5, 0)", "String:$1"},
        {"result = FormatCurrency(-0.5, 2, , False)", "String:-$0.50"},
    });
}

TEST(Language, CharacterCodesAndEmptySubjects)
{
    Check({
        {"x = Empty\nSelect Case x\nCase 0\n result = \"zero\"\nCase Else\n result = \"else\"\nEnd Select",
         "String:zero"},
        {"x = Empty\nSelect Case x\nCase \"\"\n result = \"blank\"\nCase Else\n result = \"else\"\nEnd "
         "Select",
         "String:blank"},
        {"Dim e : For Each v In e : Next", "error 451"},
        {"result = AscW(ChrW(40000))", "Integer:-25536"},
        {"result = AscW(ChrW(-1))", "Integer:-1"},
        {"result = ChrW(65536)", "error 5"},
        {"result = ChrW(-32769)", "error 5"},
        {"result = Chr(255) = ChrW(255)", "Boolean:True"},
    });
}

} // namespace
