// The language as its users write it: constructs, values and errors as the language documents them.
#include "ScriptTestSupport.h"

#include <com/ComObject.h>
#include <script/Convert.h>

#include <gtest/gtest.h>

#include <vector>

using namespace tvsk::script;
using tvsk::script::testing::Check;
using tvsk::script::testing::Describe;
using tvsk::script::testing::Outcome;
using tvsk::script::testing::Row;
using tvsk::script::testing::U;

namespace
{

// A host object that answers IUnknown only.
class UnknownOnly final : public tvsk::com::ComObject<IUnknown>
{
};

std::string WithUnknown(const std::string& script)
{
    auto interp = Interpreter::Create();
    try
    {
        interp->Execute(u"Dim host", nullptr);
        VARIANT raw;
        VariantInit(&raw);
        raw.vt = VT_UNKNOWN;
        raw.punkVal = new UnknownOnly;
        raw.punkVal->AddRef();
        *interp->FindGlobal(u"host") = Value::Adopt(raw);
        interp->Run(interp->Compile(U(script)));
        return Describe(*interp, "result");
    }
    catch (const ScriptException& e)
    {
        return "error " + std::to_string(e.error.number);
    }
}

TEST(LanguageReference, AnUnknownOnlyHostObjectIsNoDispatchObject)
{
    const std::vector<Row> rows = {
        {"result = host.Foo", "error 438"},
        {"host.Foo", "error 438"},
        {"result = host", "error 438"},
        {"result = host + 1", "error 438"},
        {"For Each y In host : Next", "error 451"},
        {"host = 1 : result = host", "Integer:1"},
        {"result = IsObject(host)", "Boolean:True"},
        {"Set x = host : result = x Is host", "Boolean:True"},
        {"result = TypeName(host)", "String:Unknown"},
        {"On Error Resume Next : y = host.Foo : result = Err.Number", "Long:438"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(WithUnknown(row.script), row.expected) << row.script;
}

// A host object whose members fail the ways hosts fail, and report what they receive.
class FailingHost final : public tvsk::com::ComObject<IDispatch>
{
public:
    HRESULT GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override
    {
        static const std::u16string known[] = {u"notimpl", u"missing", u"count",    u"type", u"raise",
                                               u"kind",    u"fail",    u"callback", u"inner"};
        const std::u16string name = Lower(names[0]);
        for (size_t i = 0; i < std::size(known); ++i)
            if (name == known[i])
            {
                ids[0] = static_cast<DISPID>(i + 1);
                return S_OK;
            }
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                   UINT*) override
    {
        switch (id)
        {
        case DISPID_NEWENUM:
            return DISP_E_MEMBERNOTFOUND;
        case 1:
            return E_NOTIMPL;
        case 2:
            return DISP_E_MEMBERNOTFOUND;
        case 3:
            return DISP_E_BADPARAMCOUNT;
        case 4:
            return DISP_E_TYPEMISMATCH;
        case 5:
            *info = EXCEPINFO{};
            info->scode = static_cast<SCODE>(0x80040201u);
            info->bstrSource = SysAllocString(u"Drive");
            info->bstrDescription = SysAllocString(u"Axis not ready");
            info->bstrHelpFile = SysAllocString(u"drive.hlp");
            info->dwHelpContext = 42;
            return DISP_E_EXCEPTION;
        case 7:
            // Fails with the HRESULT given.
            return params->rgvarg[0].lVal;
        case 8:
        {
            // Calls the object given second, then answers the upper bound of the array given first.
            DISPPARAMS none{nullptr, nullptr, 0, 0};
            EXCEPINFO ignored{};
            params->rgvarg[0].pdispVal->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr,
                                               &ignored, nullptr);
            SysFreeString(ignored.bstrSource);
            SysFreeString(ignored.bstrDescription);
            SysFreeString(ignored.bstrHelpFile);
            LONG upper = -1;
            SafeArrayGetUBound(*params->rgvarg[1].pvarVal->pparray, 1, &upper);
            result->vt = VT_I4;
            result->lVal = upper;
            return S_OK;
        }
        case 9:
            // The type a reference refers to.
            result->vt = VT_I4;
            result->lVal =
                params->rgvarg[0].vt == (VT_BYREF | VT_VARIANT) ? params->rgvarg[0].pvarVal->vt : -1;
            return S_OK;
        default:
            // The argument's type as it arrived.
            result->vt = VT_I4;
            result->lVal = params->cArgs ? params->rgvarg[0].vt : 0;
            return S_OK;
        }
    }
};

std::string WithHost(const std::string& script, bool globalMembers = false)
{
    auto interp = Interpreter::Create();
    auto* host = new FailingHost;
    host->AddRef();
    interp->AddNamedItem(u"host", globalMembers, host);
    host->Release();
    try
    {
        interp->Run(interp->Compile(U(script)));
        return Describe(*interp, "result");
    }
    catch (const ScriptException& e)
    {
        return "error " + std::to_string(e.error.number);
    }
}

TEST(LanguageReference, HostFailuresCarryTheirNumbersAndExceptionInfo)
{
    const std::vector<Row> rows = {
        {"host.NotImpl", "error 445"},
        {"x = host.Missing", "error 438"},
        {"host.Count 1, 2", "error 450"},
        {"host.Type \"a\"", "error 13"},
        {"host.Nothing", "error 438"},
        {"host.Raise", "error -2147220991"},
        {"On Error Resume Next : host.Raise : result = Err.Number & \"|\" & Err.Source & \"|\" & "
         "Err.Description & "
         "\"|\" & Err.HelpFile & \"|\" & Err.HelpContext",
         "String:-2147220991|Drive|Axis not ready|drive.hlp|42"},
        {"On Error Resume Next : host.NotImpl : result = Err.Description",
         "String:Object doesn't support this action"},
        {"Dim a(2) : result = host.Kind(a) & \"|\" & host.Inner(a)", "String:16396|24588"},
        {"Dim a() : ReDim a(2) : result = host.Kind(a) & \"|\" & host.Inner(a)", "String:16396|8204"},
        {"a = Array(1) : result = host.Inner(a)", "Long:8204"},
        {"Dim a(2) : result = host.Kind((a))", "Long:8204"},
        {"host.Fail &H80004002", "error 430"},
        {"On Error Resume Next : host.Fail &H80004002 : result = Err.Description",
         "String:Class doesn't support Automation"},
        {"host.Fail &H80020001", "error 438"},
        {"host.Fail &H80030002", "error 53"},
        {"host.Fail &H80030003", "error 76"},
        {"host.Fail &H80030005", "error 70"},
        {"host.Fail &H80030050", "error 58"},
        {"host.Fail &H80030070", "error 61"},
        {"host.Fail &H8003001D", "error 57"},
        {"host.Fail &H800401E4", "error 432"},
        {"host.Fail &H800401F3", "error 429"},
        {"host.Fail &H80040154", "error 429"},
        {"host.Fail &H80040201", "error -2147220991"},
        {"host.Fail &H80070005", "error -2147024891"},
        {"host.Fail &H800A000D", "error 13"},
        {"host.Fail &H800A0000", "error -2146828288"},
        {"For Each x In host : Next", "error 451"},
        {"On Error Resume Next : For Each x In host : n = 1 : Next : result = Err.Number & \"|\" & n",
         "String:451|1"},
        {"For Each x In host.Missing : Next", "error 438"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(WithHost(row.script), row.expected) << row.script;
}

TEST(LanguageReference, FixedArraysReachHostsAsArrayReferences)
{
    // A reference (16396: VT_BYREF | VT_VARIANT) to the variable, which refers to the array
    // (24588: VT_BYREF | VT_ARRAY | VT_VARIANT); a copy is 8204 (VT_ARRAY | VT_VARIANT).
    const std::vector<Row> rows = {
        {"Dim a(2) : Call host.Inner(a) : result = host.Inner(a)", "Long:24588"},
        {"Dim a(2) : result = host(a)", "Long:16396"},
        {"Dim a(2) : With host : result = .Inner(a) : End With", "Long:24588"},
        {"Dim a(2, 3) : result = host.Inner(a)", "Long:24588"},
        {"Sub S(x)\n result = host.Inner(x)\nEnd Sub\nDim result, a(2) : S a", "Long:24588"},
        {"Sub S\n Dim a(1)\n result = host.Inner(a)\nEnd Sub\nDim result : S", "Long:24588"},
        {"Class C\n Dim a(1)\n Function K\n  K = host.Inner(a)\n End Function\nEnd Class\n"
         "Set o = New C : result = o.K",
         "Long:24588"},
        {"Dim a(2) : b = a : result = host.Inner(b)", "Long:8204"},
        {"Dim a(2) : result = host.Inner(a) & host.Kind((a)) & host.Inner(a)", "String:24588820424588"},
        {"Dim a(2) : a(0) = 5 : result = host.Kind(a(0)) & \"|\" & host.Inner(a(0))", "String:16396|2"},
        // A script object's default member gets the array itself.
        {"Class C\nPublic Default Function F(x) : x(0) = 1 : F = UBound(x) : End Function\nEnd Class\n"
         "Set o = New C : Dim a(2) : result = o(a) & a(0)",
         "String:21"},
        {"Set r = New RegExp : Dim a(1) : r.Test a", "error 13"},
        // A host holds the array while it runs: the script cannot replace it under the host.
        {"Class C\nPublic Default Sub Run\n On Error Resume Next : Erase a : b = Err.Number\nEnd Sub\n"
         "End Class\nDim a(2), b : result = host.Callback(a, New C) & \"|\" & b & \"|\" & UBound(a)",
         "String:2|10|2"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(WithHost(row.script), row.expected) << row.script;
}

TEST(LanguageReference, MeInTheGlobalCodeReachesTheHostsGlobalMembers)
{
    const std::vector<Row> rows = {
        {"result = Me.Kind(\"a\")", "Long:8"},
        {"Dim result : Sub S : result = Me.Kind(1) : End Sub : S", "Long:2"},
        {"Function Kind(x) : Kind = \"mine\" : End Function : result = Me.Kind(1)", "String:mine"},
        {"x = Me.Missing", "error 438"},
        {"x = Me.Unknown", "error 438"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(WithHost(row.script, true), row.expected) << row.script;
}

TEST(LanguageReference, EmptyParenthesesCallTheDefaultMember)
{
    const std::vector<Row> hostRows = {
        {"result = TypeName(host) & TypeName(host())", "String:ObjectLong"},
        {"Set y = host : result = TypeName(y) & TypeName(y())", "String:ObjectLong"},
        {"Set result = host()", "error 424"},
        {"Set y = host : Set result = y()", "error 424"},
    };
    for (const Row& row : hostRows)
        EXPECT_EQ(WithHost(row.script), row.expected) << row.script;
    const std::string classes =
        "Class C\nPublic Default Function F : Set F = New D : End Function\nEnd Class\n"
        "Class D\nPublic Default Function G : G = 7 : End Function\nEnd Class\n"
        "Class E\nPublic V\nEnd Class\n";
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"Set o = New C : result = TypeName(o) & TypeName(o()) & TypeName(o()())", "String:CDInteger"},
        {"Set o = New C : Set r = o() : result = r", "Integer:7"},
        {"Sub S(p) : Set p = Nothing : End Sub\nSet o = New C : S o() : result = TypeName(o)", "String:C"},
        {"Sub S(p) : Set p = Nothing : End Sub\nSet o = New C : S o : result = TypeName(o)",
         "String:Nothing"},
        {"Set o = New E : x = o()", "error 438"},
        {"Set o = Nothing : x = o()", "error 91"},
    };
    for (const auto& [script, expected] : rows)
        EXPECT_EQ(Outcome(classes + script), expected) << script;
}

TEST(LanguageReference, ProceduresInsideBlocksExistBeforeTheBranchRuns)
{
    Check({
        {"Dim result : If False Then\nSub A\nresult = 1\nEnd Sub\nEnd If\nA", "Integer:1"},
        {"Dim result : result = F(2)\nIf True Then\nFunction F(x)\nF = x * 2\nEnd Function\nEnd If",
         "Integer:4"},
        {"Dim result : For i = 1 To 0\nSub B : result = 7 : End Sub\nNext\nB", "Integer:7"},
        {"Dim result : Do While False\nFunction G() : G = 3 : End Function\nLoop\nresult = G()", "Integer:3"},
        {"Sub A\nSub B\nEnd Sub\nEnd Sub", "syntax 1024 line 1"},
    });
}

TEST(LanguageReference, LetAssignmentReplacesAnObjectVariable)
{
    Check({
        {"Set x = Nothing : x = 5 : result = x", "Integer:5"},
        {"Class C : End Class\nSet x = New C : x = \"a\" : result = x", "String:a"},
        {"Class C : End Class\nSet o = New C : x = o", "error 438"},
        {"Class C\nPublic Default Property Get V : V = 4 : End Property\nEnd Class\nSet o = New C : x = o : "
         "result = x",
         "Integer:4"},
        {"Class C\nPublic v\nEnd Class\nSet o = New C : o.v = 3 : result = o.v", "Integer:3"},
    });
}

TEST(LanguageReference, StatementsEndAfterAColon)
{
    Check({
        {"Dim result : Sub A : result = 1 : End Sub\nA", "Integer:1"},
        {"Dim result : Function F(x) : F = x + 1 : End Function\nresult = F(1)", "Integer:2"},
        {"Dim result : Sub A\nresult = 2 : End Sub\nA", "Integer:2"},
        {"Class C : Public v : End Class\nSet o = New C : o.v = 5 : result = o.v", "Integer:5"},
        {"Class C\nPublic Property Get P : P = 6 : End Property\nEnd Class\nresult = (New C).P", "Integer:6"},
        {"If True Then\nresult = 1 : End If", "Integer:1"},
        {"i = 0 : Do : i = i + 1 : Loop Until i = 3 : result = i", "Integer:3"},
        {"For i = 1 To 3 : result = i : Next", "Integer:3"},
        {"Select Case 2 : Case 1 : result = 1 : Case 2 : result = 2 : End Select", "Integer:2"},
        {"With New RegExp : .Pattern = \"a\" : result = .Pattern : End With", "String:a"},
        // A one-line If inside a one-line procedure ends at its End.
        {"Function F(x) : If x > 0 Then F = 1 Else F = -1 : End Function\nresult = F(2) & F(-2)",
         "String:1-1"},
        {"Dim result : Sub S(x) : If x Then result = 1 : result = result + 1 : End Sub\nS True", "Integer:2"},
        {"Dim result : Sub S(x) : If x Then result = 1 : result = result + 1 : End Sub\nS False", "Empty:"},
        {"Dim result : Sub S : If True Then result = 1 : End If : result = result + 1 : End Sub : S",
         "Integer:2"},
        {"Class C : Property Get P : If True Then P = 4 : End Property : End Class\nresult = (New C).P",
         "Integer:4"},
        {"With New RegExp : If True Then .Pattern = \"b\" : End With : result = 1", "Integer:1"},
        {"If True Then result = 1 : End Sub", "syntax 1024 line 0"},
        {"Sub S : If True Then x = 1 End Sub", "syntax 1024 line 0"},
    });
}

TEST(LanguageReference, OperatorsAndLiteralsAsWritten)
{
    Check({
        {"result = 2 => 1", "Boolean:True"},
        {"result = 2 =< 1", "Boolean:False"},
        {"result = 2 >< 1", "Boolean:True"},
        {"result = 1 >< 1", "Boolean:False"},
        {"result = 1e-400", "Double:0"},
        {"result = 1e400", "syntax 1031 line 0"},
        {"h = 5 : result = \"x\" &h", "String:x5"},
        {"hello = \"w\" : result = \"x\" &hello", "String:xw"},
        {"result = &hA", "Integer:10"},
        {"result = -3^2", "Double:9"},
        {"result = -2 ^ 2", "Double:4"},
        {"result = 2 ^ -1", "Double:0.5"},
        {"result = 2 * -3 ^ 2", "Double:18"},
        {"result = 10 - 3 ^ 2", "Double:1"},
        {"result = -(3 ^ 2)", "Double:-9"},
    });
}

TEST(LanguageReference, CallFormsAsWritten)
{
    Check({
        {"Dim result : Function F(x) : result = x * 2 : End Function\n(F)(3)", "Integer:6"},
        {"Dim result : Function F(x) : result = x * 2 : End Function\n((F)) 5", "Integer:10"},
        {"Dim result : Function F(x) : result = x * 2 : End Function\nCall F(3)", "Integer:6"},
        {"Dim result : Function F(x) : result = x * 2 : End Function\nCall (((F))) (4)", "Integer:8"},
        {"Dim result : Function F(x) : F = x * 3 : End Function\nresult = (F(2))", "Integer:6"},
        {"Dim result : Class C\nSub M : result = 5 : End Sub\nEnd Class\nCall (New C).M", "Integer:5"},
        {"Dim result : Class C\nSub M(x) : result = x : End Sub\nEnd Class\nCall (New C).M(7)", "Integer:7"},
        {"Dim result : Class C\nFunction F : F = 8 : End Function\nEnd Class\nresult = (New C).F",
         "Integer:8"},
        {"Dim result : Sub A : result = 3 : End Sub\nMe.A", "Integer:3"},
        {"Dim result : Function F(x) : F = x + 1 : End Function\nresult = Me.F(2)", "Integer:3"},
        {"v = 4 : result = Me.v", "Integer:4"},
        {"Dim w : Me.w = 5 : result = w", "Integer:5"},
        {"Sub Inc(x) : x = x + 1 : End Sub\nSet g = Me : n = 1 : g.Inc n : result = n", "Integer:2"},
        {"Dim a(2) : a(1) = 7 : result = Me.a(1)", "Integer:7"},
        {"result = IsObject(Me)", "Boolean:True"},
        {"x = Me.Missing", "error 438"},
    });
}

TEST(LanguageReference, KeywordsNameMembersAfterADot)
{
    Check({
        {"Class C\nPublic Function [Step] : [Step] = 2 : End Function\nEnd Class\nSet o = New C : "
         "result = o.Step",
         "Integer:2"},
        {"Class C\nPublic [Rem]\nEnd Class\nSet o = New C : o.Rem = 3 : result = o.Rem", "Integer:3"},
        {"Class C\nPublic [Property]\nEnd Class\nSet o = New C : o.Property = 4 : result = o.Property",
         "Integer:4"},
        {"Class C\nPublic [End]\nEnd Class\nSet o = New C : With o : .End = 5 : result = .End : End With",
         "Integer:5"},
        {"Class C\nPublic [Next]\nEnd Class\nSet o = New C : o.Next = 6 : result = o.next", "Integer:6"},
    });
}

TEST(LanguageReference, ConstantsAndHexLiteralsAreIntegers)
{
    Check({
        {"result = vbSunday", "Integer:1"},
        {"result = vbSaturday", "Integer:7"},
        {"result = vbOK", "Integer:1"},
        {"result = vbYesNo", "Integer:4"},
        {"result = vbCritical", "Integer:16"},
        {"result = vbTextCompare", "Integer:1"},
        {"result = vbString", "Integer:8"},
        {"result = vbArray", "Integer:8192"},
        {"result = vbRed", "Long:255"},
        {"result = vbWhite", "Long:16777215"},
        {"result = vbObjectError", "Long:-2147221504"},
        {"result = vbTrue", "Integer:-1"},
        {"result = vbUseDefault", "Integer:-2"},
        {"result = vbGeneralDate", "Integer:0"},
        {"result = vbFirstJan1", "Integer:1"},
        {"result = vbCr", "String:\r"},
        {"result = &H7FFF", "Integer:32767"},
        {"result = &HFFFF&", "Long:65535"},
        {"result = &H1&", "Integer:1"},
        {"result = &H7FFF&", "Integer:32767"},
        {"result = &HFFFFFFFE&", "Integer:-2"},
        {"result = &H0000FFFF", "Integer:-1"},
        {"result = &H10000&", "Long:65536"},
        {"result = &HFFFF7FFF", "Long:-32769"},
        {"result = &H12345", "Long:74565"},
        {"result = &O777", "Integer:511"},
        {"result = &O177777", "Integer:-1"},
        {"result = &O200000", "Long:65536"},
        {"result = TypeName(vbFalse) & VarType(vbUseDefault) & VarType(vbBinaryCompare) & "
         "VarType(vbSystemModal)",
         "String:Integer222"},
        {"result = VarType(vbMsgBoxRight) & VarType(vbBlack) & VarType(vbYellow) & VarType(vbObjectError)",
         "String:3333"},
        {"result = vbMsgBoxHelpButton", "Long:16384"},
        {"result = VarType(vbCrLf) & VarType(vbNullString) & Len(vbNullString) & Asc(vbNullChar)",
         "String:8800"},
        {"result = -&H8000", "Long:32768"},
        {"result = &H8000&", "Long:32768"},
        {"result = &HFFFFFFFF&", "Integer:-1"},
        {"result = &O77777&", "Integer:32767"},
        {"result = &H100000000", "syntax 1031 line 0"},
        {"result = &H", "syntax 1023 line 0"},
    });
}

TEST(LanguageReference, NullReachesBuiltinsPerArgument)
{
    Check({
        {"result = InStr(Null, \"a\")", "Null:"},
        {"result = InStr(\"a\", Null)", "Null:"},
        {"result = InStr(Null, \"a\", \"b\")", "error 94"},
        {"result = InStr(1, Null, \"a\")", "Null:"},
        {"result = InStrRev(Null, \"a\")", "Null:"},
        {"result = InStrRev(\"a\", Null)", "Null:"},
        {"result = InStrRev(\"a\", \"a\", Null)", "error 94"},
        {"result = Mid(Null, 1)", "Null:"},
        {"result = Mid(\"abc\", Null)", "error 94"},
        {"result = Mid(\"abc\", 1, Null)", "error 94"},
        {"result = Left(Null, 1)", "Null:"},
        {"result = Left(\"a\", Null)", "error 94"},
        {"result = Right(Null, 1)", "Null:"},
        {"result = Replace(Null, \"a\", \"b\")", "error 94"},
        {"result = DateAdd(\"d\", Null, Now)", "error 94"},
        {"result = DateAdd(Null, 1, Now)", "error 94"},
        {"result = Weekday(Null)", "Null:"},
        {"result = Weekday(Now, Null)", "error 94"},
        {"result = MonthName(Null)", "error 94"},
        {"result = WeekdayName(Null)", "error 94"},
        {"result = Year(Null)", "Null:"},
        {"result = UCase(Null)", "Null:"},
        {"result = Trim(Null)", "Null:"},
        {"result = Len(Null)", "Null:"},
        {"result = Hex(Null)", "Null:"},
        {"result = Abs(Null)", "Null:"},
        {"result = Int(Null)", "Null:"},
        {"result = Chr(Null)", "error 94"},
        {"result = Asc(Null)", "error 94"},
        {"result = Space(Null)", "error 94"},
        {"result = String(Null, \"a\")", "error 94"},
        {"result = String(2, Null)", "Null:"},
        {"result = StrComp(Null, \"a\")", "Null:"},
        {"result = Join(Null)", "error 13"},
        {"result = Split(Null)", "error 94"},
        {"result = Split(\"a b\", Null)", "error 94"},
        {"result = Split(\"a b\", \" \", Null)", "error 94"},
        {"result = Split(\"a b\", \" \", 1, Null)", "error 94"},
        {"result = UBound(Split(\"a b\", Empty))", "Long:0"},
        {"result = DateAdd(\"d\", 1, Null)", "Null:"},
        {"result = DateAdd(\"d\", Null, Null)", "error 94"},
        {"result = DateAdd(\"x\", 1, Null)", "error 5"},
        {"result = InStrRev(\"a\", \"a\", 1, Null)", "error 94"},
        {"result = InStrRev(Null, \"a\", 0)", "error 5"},
        {"result = Mid(Null, 0)", "error 5"},
        {"result = MonthName(1, Null)", "error 94"},
        {"result = MonthName(Empty)", "error 5"},
        {"result = FormatNumber(Null)", "error 13"},
        {"result = FormatCurrency(Null)", "error 13"},
        {"result = FormatPercent(Null)", "error 13"},
        {"result = FormatDateTime(Null)", "error 13"},
        {"result = FormatDateTime(Now, Null)", "error 94"},
    });
}

TEST(LanguageReference, ConversionsAsStatementsAndOfBooleans)
{
    Check({
        {"Call CByte(300)", "error 6"},
        {"Call CInt(\"x\")", "error 13"},
        {"CLng 1e10", "error 6"},
        {"result = CByte(True)", "Byte:255"},
        {"result = CByte(False)", "Byte:0"},
        {"result = CInt(True)", "Integer:-1"},
        {"result = CBool(\"#TRUE#\")", "Boolean:True"},
        {"result = CBool(\"#FALSE#\")", "Boolean:False"},
        {"result = CBool(\"#true#\")", "Boolean:True"},
        {"result = CBool(\"yes\")", "error 13"},
        {"result = CInt(\"#TRUE#\")", "error 13"},
        {"result = Round(True)", "Boolean:True"},
        {"result = Round(False, 2)", "Boolean:False"},
        {"result = Round(True, -1)", "error 5"},
        {"result = Round(Empty)", "Integer:0"},
        {"result = Int(True) & Fix(True)", "String:-1-1"},
        {"result = Round(CByte(3))", "Byte:3"},
        {"result = Round(2.5)", "Double:2"},
        {"result = Round(\"2.5\")", "Double:2"},
        {"result = Round(CSng(1.5))", "Single:2"},
        {"result = Round(CCur(1.5))", "Currency:2"},
        {"result = CSng(0.1) = 0.1", "Boolean:True"},
        {"result = CSng(0.1) = CDbl(CSng(0.1))", "Boolean:True"},
        {"result = CSng(0.1) < 0.100000001", "Boolean:False"},
        {"result = CSng(0.5) = 0.5", "Boolean:True"},
        {"result = CSng(1.1) < 1.1", "Boolean:False"},
    });
}

TEST(LanguageReference, HostFailuresBecomeTheLanguagesErrors)
{
    Check({
        {"Set x = Nothing : result = x.Prop", "error 424"},
        {"Set x = Nothing : x.Prop = 1", "error 424"},
        {"With 42 : End With", "error 424"},
        {"With \"a\" : result = 1 : End With", "error 424"},
        {"result = .Prop", "error 505"},
        {"Sub A : result = .Prop : End Sub\nA", "error 505"},
        {"On Error Resume Next : Err.Raise 1000 : result = Err.Description", "String:Unknown runtime error"},
        {"On Error Resume Next : Err.Raise 6, \"S\", \"D\" : Err.Raise 6 : result = Err.Source & "
         "Err.Description",
         "String:SD"},
        {"On Error Resume Next : Err.Raise 6, \"S\", \"D\" : Err.Raise Err.Number : result = Err.Description",
         "String:D"},
        {"On Error Resume Next : x = 1 / 0 : Err.Raise 6 : result = Err.Description", "String:Overflow"},
        {"On Error Resume Next : Err.Raise 6, , , \"f.hlp\", 7 : result = Err.HelpFile & Err.HelpContext",
         "String:f.hlp7"},
        {"On Error Resume Next : Err.Raise 65536 : result = Err.Number", "Long:5"},
        {"On Error Resume Next : Err.Raise 65535 : result = Err.Number", "Long:65535"},
        {"On Error Resume Next : Err.Raise vbObjectError + 1 : result = Err.Number", "Long:-2147221503"},
        {"On Error Resume Next : Err.Raise 0 : result = Err.Number", "Long:5"},
        {"Err.HelpFile = \"a\" : Err.HelpContext = 3 : result = Err.HelpFile & Err.HelpContext", "String:a3"},
    });
}

TEST(LanguageReference, ErrRaiseOfAnHResultRaisesTheLanguagesNumber)
{
    const std::string all = " : result = Err.Number & \"|\" & Err.Source & \"|\" & Err.Description & \"|\" & "
                            "Err.HelpFile & \"|\" & Err.HelpContext";
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"Err.Raise &H800A000D", "String:13|VBScript runtime error|Type mismatch||0"},
        {"Err.Raise &H800A01A8", "String:424|VBScript runtime error|Object required||0"},
        {"Err.Raise vbObjectError + 1", "String:-2147221503|VBScript runtime error|Unknown runtime error||0"},
        {"Err.Raise &H80004002", "String:430|VBScript runtime error|Class doesn't support Automation||0"},
        {"Err.Raise &H80004001", "String:445|VBScript runtime error|Object doesn't support this action||0"},
        {"Err.Raise &H80030002", "String:53|VBScript runtime error|File not found||0"},
        {"Err.Raise &H80070005", "String:-2147024891|VBScript runtime error|Unknown runtime error||0"},
        {"Err.Raise &H800A0005, \"s\", \"d\", \"h\", 3", "String:5|s|d|h|3"},
        {"Err.Raise 5, \"s\", \"d\", \"h\", 3 : Err.Raise &H800A0005", "String:5|s|d|h|3"},
        {"Err.Raise 13, \"s\", \"d\" : Err.Raise &H800A0005", "String:5|VBScript runtime error|"
                                                              "Invalid procedure call or argument||0"},
        {"Err.Number = &H800A0009", "String:9||Subscript out of range||0"},
    };
    for (const auto& [raise, expected] : rows)
        EXPECT_EQ(Outcome("On Error Resume Next : " + raise + all), expected) << raise;
    Check({
        {"Err.Raise &H800A000D", "error 13"},
        {"Err.Raise &H80004002", "error 430"},
        {"Err.Raise &HFFFF&", "error 65535"},
        {"Err.Raise &H10000", "error 5"},
        {"Err.Raise &H800A0000", "error -2146828288"},
        {"Err.Raise -1", "error -1"},
    });
}

TEST(LanguageReference, ResumeNextEntersABodyWhoseHeaderFailed)
{
    Check({
        {"On Error Resume Next\nDo While 1 / 0\nresult = result + 1 : If result = 3 Then Exit Do\nLoop",
         "Integer:3"},
        {"On Error Resume Next\nDo Until 1 / 0\nresult = 2 : Exit Do\nLoop", "Integer:2"},
        {"On Error Resume Next\nDo\nresult = result + 1\nLoop While 1 / 0\nresult = result & Err.Number",
         "String:111"},
        {"On Error Resume Next\nDo\nresult = result + 1\nLoop Until 1 / 0\nresult = result & Err.Number",
         "String:111"},
        {"On Error Resume Next\nDo\nn = n + 1\nLoop While n < 3 And 1 / (2 - n) <> 0\nresult = n & "
         "Err.Number",
         "String:211"},
        {"Do\nn = n + 1\nLoop While 1 / 0", "error 11"},
        {"On Error Resume Next\ni = 0\nWhile i < 3 And 1 / (1 - i) <> 0\ni = i + 1 : result = i\nWend",
         "Integer:3"},
        {"On Error Resume Next\nFor i = 1 To 1 / 0\nresult = 5\nNext", "Integer:5"},
        {"On Error Resume Next\nFor Each x In 5\nresult = 6\nNext", "Integer:6"},
        {"On Error Resume Next\nSet o = Nothing\nWith o.P\nresult = 7\nEnd With", "Integer:7"},
        {"On Error Resume Next\nSelect Case 1 / 0\nCase 1 : result = 1\nCase Else : result = 8\nEnd Select\n"
         "result = result & Err.Number",
         "String:11"},
        {"On Error Resume Next\nSelect Case CInt(\"x\")\nCase Else : result = 8\nEnd Select\nresult = result "
         "& Err.Number",
         "String:13"},
        {"On Error Resume Next\nSelect Case 1 / 0\nCase 1 : result = 1\nEnd Select\nresult = Err.Number",
         "Long:11"},
    });
}

TEST(LanguageReference, ConversionsAreNoStatements)
{
    Check({
        {"Call CInt(1)", "error 458"},
        {"Call CStr(1)", "error 458"},
        {"x = 1 : Call CBool(x)", "error 458"},
        {"CLng 2", "error 458"},
        {"CDate(1)", "error 458"},
        {"On Error Resume Next : Call CDbl(1) : result = Err.Number", "Long:458"},
        {"Call Len(\"a\") : result = 1", "Integer:1"},
        {"Call Hex(1) : result = CInt(\"2\")", "Integer:2"},
    });
}

TEST(LanguageReference, ArraysAsTheLanguageHasThem)
{
    Check({
        {"Dim a(3)\nReDim a(5)", "error 10"},
        {"Dim a(3)\nReDim Preserve a(5)", "error 10"},
        {"Dim a(3)\na = 1", "error 10"},
        {"Dim a(3)\nSet a = Nothing", "error 10"},
        {"Dim a(3)\nOn Error Resume Next : a = Split(\"x,y\", \",\") : result = Err.Number & UBound(a)",
         "String:103"},
        {"Sub S(x) : x = 1 : End Sub\nDim a(3) : S a", "error 10"},
        {"Dim result : Sub S(ByVal x) : x = 1 : result = x : End Sub\nDim a(3) : S a", "Integer:1"},
        {"Class C\nPublic a(2)\nEnd Class\nSet o = New C : o.a = 1", "error 10"},
        {"Sub S\n Dim a(2)\n a = 3\nEnd Sub\nS", "error 10"},
        {"Dim a(3)\nMe.a = 1", "error 10"},
        {"Dim a(3)\nErase a : a(0) = 2 : b = a : b = 1 : result = a(0) & b", "String:21"},
        {"Dim a : ReDim a(2) : a = 1 : result = a", "Integer:1"},
        {"Dim result : Sub S(x) : result = VarType(x) : End Sub\nDim a(3) : S a", "Integer:8204"},
        {"Dim result : Sub S(ByVal x) : result = VarType(x) : End Sub\nDim a(3) : S a", "Integer:8204"},
        {"Dim a(3) : result = VarType(a)", "Integer:8204"},
        {"Dim a() : ReDim a(2) : a(1) = 4 : result = a(1)", "Integer:4"},
        {"Dim result : Class C\nPublic Default Function F : F = 9 : End Function\nEnd Class\nSet o = New C : "
         "result = o()",
         "Integer:9"},
        {"Dim result : Class C\nPublic Default Sub S : result = 8 : End Sub\nEnd Class\nSet o = New C : o()",
         "Integer:8"},
        {"Class C\nPublic Default Function F : Set F = New D : End Function\nEnd Class\n"
         "Class D\nPublic Default Function G : G = 7 : End Function\nEnd Class\nSet o = New C : result = "
         "o()()",
         "Integer:7"},
        {"Class C\nPublic Default Property Get P(i) : P = i : End Property\nEnd Class\nSet o = New C : "
         "result = o()",
         "error 450"},
        {"Class C\nPublic V\nEnd Class\nSet o = New C : o()", "error 438"},
        {"x = 5 : x()", "error 13"},
        {"a = Split(\"a,b\", \",\", -1, 2)", "error 5"},
        {"a = Split(\"a,b\", \",\", -1, -1)", "error 5"},
        {"result = UBound(Split(\"a,b\", \",\", -1, 1))", "Long:1"},
        {"result = DateSerial(10000, 1, 1)", "error 5"},
        {"result = DateSerial(9999, 12, 31)", "Date:12/31/9999"},
        {"result = Weekday(#1/1/2000#, 8)", "error 5"},
        {"result = Weekday(#1/1/2000#, -1)", "error 5"},
        {"result = Weekday(#1/1/2000#, 0)", "Integer:7"},
        {"result = WeekdayName(1, False, 8)", "error 5"},
    });
}

TEST(LanguageReference, IsNumericAndRndFollowTheLanguage)
{
    Check({
        {"Class C\nPublic Default Property Get V : V = 4 : End Property\nEnd Class\nresult = IsNumeric(New "
         "C)",
         "Boolean:True"},
        {"Class C\nPublic Default Property Get V : V = \"a\" : End Property\nEnd Class\nresult = "
         "IsNumeric(New C)",
         "Boolean:False"},
        {"Class C : End Class\nresult = IsNumeric(New C)", "Boolean:False"},
        {"result = Rnd(0)", "Single:0.01953125"},
        {"result = Rnd", "Single:0.7055475"},
        {"x = Rnd : result = Rnd(0)", "Single:0.7055475"},
        {"x = Rnd : result = Rnd", "Single:0.533424"},
        {"result = Rnd(-1)", "Single:0.224007"},
        {"x = Rnd(-1) : result = Rnd", "Single:0.03584582"},
    });
}

TEST(LanguageReference, RegExpMatchesAsTheLanguageDefines)
{
    Check({
        {"Set r = New RegExp : result = TypeName(r)", "String:IRegExp2"},
        {"Class RegExp\n Function Test(s)\n  Test = \"mine\"\n End Function\nEnd Class\n"
         "Set r = New RegExp : result = TypeName(r) & r.Test(\"a\")",
         "String:RegExpmine"},
        {"Class regexp\n Public Pattern\nEnd Class\nSet r = New REGEXP : r.Pattern = \"a\" : result = "
         "r.Pattern",
         "String:a"},
        {"Class RegExp\nEnd Class\nSet r = New RegExp : r.Execute \"a\"", "error 438"},
        {"Set r = New RegExp : result = r.Pattern & r.IgnoreCase & r.Global & r.Multiline",
         "String:FalseFalseFalse"},
        {"Set r = New RegExp : r.Pattern = \"b+\" : result = r.Test(\"abbc\")", "Boolean:True"},
        {"Set r = New RegExp : r.Pattern = \"B\" : result = r.Test(\"abc\")", "Boolean:False"},
        {"Set r = New RegExp : r.Pattern = \"B\" : r.IgnoreCase = True : result = r.Test(\"abc\")",
         "Boolean:True"},
        {"Set r = New RegExp : r.Pattern = \"\\d+\" : Set m = r.Execute(\"a12b345\") : "
         "result = m.Count & \"/\" & m(0) & \"/\" & m(0).FirstIndex & \"/\" & m(0).Length",
         "String:1/12/1/2"},
        {"Set r = New RegExp : r.Pattern = \"\\d+\" : r.Global = True : Set m = r.Execute(\"a12b345\") : "
         "result = m.Count & \"/\" & m.Item(1).Value & \"/\" & m(1).FirstIndex",
         "String:2/345/4"},
        {"Set r = New RegExp : r.Pattern = \"(\\w)(\\d)?-\" : Set m = r.Execute(\"a-\") : "
         "Set s = m(0).SubMatches : result = s.Count & s(0) & IsEmpty(s(1))",
         "String:2aTrue"},
        {"Set r = New RegExp : r.Pattern = \"o\" : result = r.Replace(\"foo\", \"0\")", "String:f0o"},
        {"Set r = New RegExp : r.Pattern = \"o\" : r.Global = True : result = r.Replace(\"foo\", \"0\")",
         "String:f00"},
        {"Set r = New RegExp : r.Pattern = \"(\\w+) (\\w+)\" : result = r.Replace(\"ab cd\", \"$2 $1 $$ "
         "[$&]\")",
         "String:cd ab $ [ab cd]"},
        {"Set r = New RegExp : r.Pattern = \"^b\" : result = r.Test(\"a\" & vbLf & \"b\")", "Boolean:False"},
        {"Set r = New RegExp : r.Pattern = \"^b$\" : r.Multiline = True : result = r.Test(\"a\" & vbLf & "
         "\"b\")",
         "Boolean:True"},
        {"Set r = New RegExp : r.Pattern = \"x*\" : r.Global = True : result = r.Execute(\"ab\").Count",
         "Long:3"},
        {"Set r = New RegExp : r.Pattern = \"x*\" : r.Global = True : result = r.Replace(\"ab\", \"-\")",
         "String:-a-b-"},
        {"Set r = New RegExp : r.Pattern = \"\\u0041\\x42\" : result = r.Test(\"AB\")", "Boolean:True"},
        {"Set r = New RegExp : r.Pattern = \"(\" : result = r.Test(\"a\")", "error 5017"},
        {"Set r = New RegExp : r.Pattern = \"a\" : Set m = r.Execute(\"b\") : result = m.Count", "Long:0"},
        {"Set r = New RegExp : r.Pattern = \"a\" : Set m = r.Execute(\"a\") : x = m(1)", "error 5"},
        {"Set r = New RegExp : r.Pattern = \".\" : r.Global = True\nFor Each m In r.Execute(\"xyz\")\n"
         "result = result & m.Value & m.FirstIndex\nNext",
         "String:x0y1z2"},
        {"Set r = New RegExp : r.Pattern = \".\" : r.Global = True\nFor Each m In r.Execute(\"xy\") : Next\n"
         "result = IsEmpty(m)",
         "Boolean:True"},
        {"Set r = New RegExp : result = r.Test()", "error 450"},
        {"Set r = New RegExp : r.Foo = 1", "error 438"},
    });
}

TEST(LanguageReference, GetRefEscapeAndUnescape)
{
    Check({
        {"Function Twice(x) : Twice = x * 2 : End Function\nSet f = GetRef(\"Twice\") : result = f(4)",
         "Integer:8"},
        {"Dim result : Sub Put(x) : result = x : End Sub\nSet f = GetRef(\"put\") : f 5", "Integer:5"},
        {"Dim result : Sub Put(x) : result = x : End Sub\nSet f = GetRef(\"Put\") : Call f(6)", "Integer:6"},
        {"Sub Inc(x) : x = x + 1 : End Sub\nSet f = GetRef(\"Inc\") : result = 1 : f result", "Integer:2"},
        {"Sub S : End Sub\nresult = TypeName(GetRef(\"S\"))", "String:Object"},
        {"Sub S(a) : End Sub\nSet f = GetRef(\"S\") : f", "error 450"},
        {"Set f = GetRef(\"Missing\")", "error 5"},
        {"result = Escape(\"a b+c/ä€\")", "String:a%20b+c/%E4%u20AC"},
        {"result = Escape(\"@*_-.\")", "String:@*_-."},
        {"result = Unescape(\"a%20b%E4%u20AC%zz%u12\")", "String:a bä€%zz%u12"},
        {"result = Unescape(Escape(\"x=1&y=\"\"z\"\"\"))", "String:x=1&y=\"z\""},
        {"result = Escape(Null)", "Null:"},
    });
}

TEST(LanguageReference, SetLocaleChoosesDateAndNumberFormats)
{
    Check({
        {"result = GetLocale", "Long:1033"},
        {"result = SetLocale(2057)", "Long:1033"},
        {"x = SetLocale(\"de-de\") : result = GetLocale", "Long:1031"},
        {"x = SetLocale(\"fr\") : result = GetLocale", "Long:1036"},
        {"result = SetLocale(99999)", "error 5"},
        {"result = SetLocale(\"xx-yy\")", "error 5"},
        {"x = SetLocale(\"en-gb\") : result = CStr(#1/2/2000 13:05#)", "String:02/01/2000 13:05:00"},
        {"x = SetLocale(\"de-de\") : result = CStr(#1/2/2000#)", "String:02.01.2000"},
        {"x = SetLocale(\"de-de\") : result = CStr(1.5)", "String:1,5"},
        {"x = SetLocale(\"de-de\") : result = CDbl(\"1,5\")", "Double:1,5"},
        {"x = SetLocale(\"de-de\") : result = \"x\" & 2.25", "String:x2,25"},
        {"x = SetLocale(\"de-de\") : result = FormatNumber(1234.5, 2)", "String:1.234,50"},
        {"x = SetLocale(\"sv-se\") : result = CStr(#1/2/2000#)", "String:2000-01-02"},
        {"x = SetLocale(\"en-gb\") : result = Month(CDate(\"02/01/2000\"))", "Integer:1"},
        {"x = SetLocale(\"de-de\") : result = Day(CDate(\"3.4.2000\"))", "Integer:3"},
        {"x = SetLocale(\"de-de\") : result = Day(#3/4/2000#)", "Integer:4"},
        {"result = Day(CDate(\"3/4/2000\"))", "Integer:4"},
        {"x = SetLocale(1031) : x = SetLocale(0) : result = CStr(1.5) & \" \" & #1/2/2000#",
         "String:1.5 1/2/2000"},
        {"result = CStr(#1/2/2000 13:05#) & \" \" & FormatNumber(1234.5, 1)",
         "String:1/2/2000 1:05:00 PM 1,234.5"},
    });
}

} // namespace
