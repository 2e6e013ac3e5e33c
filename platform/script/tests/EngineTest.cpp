// The engine component through its interfaces, with a site and a host object that fires events.
#include "Probe.h"

#include <script/ActiveScript.h>
#include <script/ScriptEngine.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <atomic>
#include <filesystem>
#include <thread>
#include <map>

using namespace tvsk::script;
using namespace tvsk::script::testing;
using tvsk::com::Utf16FromUtf8;
using tvsk::com::Utf8FromBstr;

namespace
{

struct ReportedError
{
    std::string source, description, line;
    HRESULT code = S_OK;
    ULONG lineNumber = 0;
    LONG character = 0;
};

class TestSite final
    : public tvsk::com::ComObject<IActiveScriptSite, IScriptDialogs, IActiveScriptSiteInterruptPoll>
{
public:
    HRESULT GetLCID(LCID*) override { return E_NOTIMPL; }
    HRESULT GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** typeInfo) override
    {
        auto it = items.find(std::u16string(name));
        if (it == items.end())
            return E_INVALIDARG;
        if (mask & SCRIPTINFO_IUNKNOWN)
        {
            *item = static_cast<IUnknown*>(static_cast<IProbe*>(it->second));
            (*item)->AddRef();
        }
        if (mask & SCRIPTINFO_ITYPEINFO)
            it->second->GetClassInfo(typeInfo);
        return S_OK;
    }
    HRESULT GetDocVersionString(BSTR*) override { return E_NOTIMPL; }
    HRESULT OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
    HRESULT OnStateChange(SCRIPTSTATE state) override
    {
        states.push_back(state);
        return S_OK;
    }
    HRESULT OnScriptError(IActiveScriptError* error) override
    {
        ReportedError r;
        EXCEPINFO info{};
        error->GetExceptionInfo(&info);
        r.source = Utf8FromBstr(info.bstrSource);
        r.description = Utf8FromBstr(info.bstrDescription);
        r.code = info.scode;
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        DWORD context = 0;
        error->GetSourcePosition(&context, &r.lineNumber, &r.character);
        BSTR text = nullptr;
        error->GetSourceLineText(&text);
        r.line = Utf8FromBstr(text);
        SysFreeString(text);
        errors.push_back(r);
        return S_OK;
    }
    HRESULT OnEnterScript() override
    {
        ++entered;
        return S_OK;
    }
    HRESULT OnLeaveScript() override
    {
        ++left;
        return S_OK;
    }
    HRESULT MessageBox(BSTR prompt, LONG buttons, BSTR title, LONG* pressed) override
    {
        boxes.push_back(Utf8FromBstr(title) + "|" + Utf8FromBstr(prompt) + "|" + std::to_string(buttons));
        *pressed = 6;
        return S_OK;
    }
    HRESULT InputBox(BSTR prompt, BSTR, BSTR defaultText, BSTR* answer) override
    {
        boxes.push_back("input|" + Utf8FromBstr(prompt));
        *answer = tvsk::com::BstrFromUtf8(Utf8FromBstr(defaultText) + "!");
        return S_OK;
    }

    HRESULT QueryContinue() override { return ++polls > pollsToStop ? S_FALSE : S_OK; }

    std::map<std::u16string, Probe*> items;
    int polls = 0;
    int pollsToStop = 1 << 30;
    std::vector<SCRIPTSTATE> states;
    std::vector<ReportedError> errors;
    std::vector<std::string> boxes;
    int entered = 0, left = 0;
};

class Engine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        probe = new Probe;
        probe->AddRef();
        site = new TestSite;
        site->AddRef();
        site->items[u"Probe"] = probe;
        engine = ComPtr<IActiveScript>::Adopt(nullptr);
        IActiveScript* created = nullptr;
        ASSERT_EQ(
            tvsk::com::CreateObject<ScriptEngine>(IActiveScript::Iid, reinterpret_cast<void**>(&created)),
            S_OK);
        engine = ComPtr<IActiveScript>::Adopt(created);
        parse = engine.As<IActiveScriptParse>();
        ASSERT_TRUE(parse);
        ASSERT_EQ(engine->SetScriptSite(site), S_OK);
        ASSERT_EQ(parse->InitNew(), S_OK);
    }
    void TearDown() override
    {
        engine->Close();
        parse.Reset();
        engine.Reset();
        site->Release();
        probe->Release();
    }
    HRESULT Parse(const std::string& text, ULONG line = 0)
    {
        const std::u16string code = Utf16FromUtf8(text);
        return parse->ParseScriptText(code.c_str(), nullptr, nullptr, nullptr, 0, line, 0, nullptr, nullptr);
    }
    HRESULT Connect() { return engine->SetScriptState(SCRIPTSTATE_CONNECTED); }

    Probe* probe = nullptr;
    TestSite* site = nullptr;
    ComPtr<IActiveScript> engine;
    ComPtr<IActiveScriptParse> parse;
};

TEST_F(Engine, SyntaxErrorReachesTheSiteWithItsLineAndText)
{
    EXPECT_EQ(Parse("a = 1\nb = 2\nc = = 3\nd = 4"), OLESCRIPT_E_SYNTAX);
    ASSERT_EQ(site->errors.size(), 1u);
    EXPECT_EQ(site->errors[0].lineNumber, 2u);
    EXPECT_EQ(site->errors[0].character, 4);
    EXPECT_EQ(site->errors[0].line, "c = = 3");
    EXPECT_EQ(site->errors[0].description, "Expected expression");
    EXPECT_EQ(site->errors[0].code, static_cast<HRESULT>(0x800A03FFu));
    EXPECT_EQ(site->errors[0].source, "VBScript compilation error");
}

TEST_F(Engine, LinesCountFromTheStartingLine)
{
    EXPECT_EQ(Parse("x = 1\r\ny = 1 / 0", 10), S_OK);
    EXPECT_EQ(Connect(), S_OK);
    ASSERT_EQ(site->errors.size(), 1u);
    EXPECT_EQ(site->errors[0].lineNumber, 11u);
    EXPECT_EQ(site->errors[0].line, "y = 1 / 0");
    EXPECT_EQ(site->errors[0].code, static_cast<HRESULT>(0x800A000Bu));
    EXPECT_EQ(site->errors[0].description, "Division by zero");
    EXPECT_EQ(site->errors[0].source, "VBScript runtime error");
}

TEST_F(Engine, ConnectingRunsGlobalCodeOnceThenDeliversEvents)
{
    ASSERT_EQ(engine->AddNamedItem(u"Probe", SCRIPTITEM_ISVISIBLE | SCRIPTITEM_ISSOURCE), S_OK);
    ASSERT_EQ(Parse("Probe.Record \"start\"\nSub Probe_Ping(n)\n Probe.Record \"ping\" & n\nEnd Sub"), S_OK);
    EXPECT_TRUE(probe->records.empty());
    ASSERT_EQ(Connect(), S_OK);
    EXPECT_EQ(probe->Sinks(), 1u);
    probe->Fire(DISPID_Ping, {tvsk::com::MakeVariantI4(7)});
    probe->Fire(DISPID_Ping, {tvsk::com::MakeVariantI4(8)});
    EXPECT_EQ(probe->records, (std::vector<std::string>{"start", "ping7", "ping8"}));
    EXPECT_EQ(site->entered, site->left);
    EXPECT_EQ(site->states.back(), SCRIPTSTATE_CONNECTED);
}

TEST_F(Engine, ARunTimeErrorInAnEventEndsOnlyThatEvent)
{
    engine->AddNamedItem(u"Probe", SCRIPTITEM_ISVISIBLE | SCRIPTITEM_ISSOURCE);
    Parse("Sub Probe_Ping(n)\n If n = 1 Then x = 1 / 0\n Probe.Record \"ping\" & n\nEnd Sub");
    Connect();
    EXPECT_EQ(probe->Fire(DISPID_Ping, {tvsk::com::MakeVariantI4(1)}).firstFailure, DISP_E_EXCEPTION);
    probe->Fire(DISPID_Ping, {tvsk::com::MakeVariantI4(2)});
    EXPECT_EQ(probe->records, std::vector<std::string>{"ping2"});
    ASSERT_EQ(site->errors.size(), 1u);
    EXPECT_EQ(site->errors[0].lineNumber, 1u);
}

TEST_F(Engine, AnEventWithoutASubIsMemberNotFound)
{
    engine->AddNamedItem(u"Probe", SCRIPTITEM_ISVISIBLE | SCRIPTITEM_ISSOURCE);
    Parse("Sub probe_ping(n)\nEnd Sub");
    Connect();
    EXPECT_EQ(probe->Fire(DISPID_Unhandled).firstFailure, DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(probe->Fire(DISPID_Ping, {tvsk::com::MakeVariantI4(1)}).firstFailure, S_OK);
}

TEST_F(Engine, EventArgumentsPassedByReferenceAreWrittenBack)
{
    engine->AddNamedItem(u"Probe", SCRIPTITEM_ISVISIBLE | SCRIPTITEM_ISSOURCE);
    Parse("Sub Probe_Named(s, r)\n r = r * 10\n Probe.Record s\nEnd Sub");
    Connect();
    VARIANT target = tvsk::com::MakeVariantI4(4);
    VARIANT ref;
    ref.vt = VT_BYREF | VT_VARIANT;
    ref.pvarVal = &target;
    VARIANT text = tvsk::com::MakeVariantBstr("named");
    probe->Fire(DISPID_Named, {text, ref});
    VariantClear(&text);
    EXPECT_EQ(target.vt, VT_I4);
    EXPECT_EQ(target.lVal, 40);
    EXPECT_EQ(probe->records, std::vector<std::string>{"named"});
}

TEST_F(Engine, GlobalMembersAreCalledWithoutTheNameAfterTheScriptsOwnNames)
{
    engine->AddNamedItem(u"Probe", SCRIPTITEM_ISVISIBLE | SCRIPTITEM_ISSOURCE | SCRIPTITEM_GLOBALMEMBERS);
    Parse("Record \"bare\"\nValue = 3\nProbe.Record Twice(Value)\nFunction Twice(x)\n Twice = \"mine\"\nEnd "
          "Function");
    Connect();
    EXPECT_EQ(probe->records, (std::vector<std::string>{"bare", "mine"}));
    EXPECT_EQ(probe->value, 3);
}

TEST_F(Engine, ByRefArgumentsToHostObjectsAreWrittenBack)
{
    engine->AddNamedItem(u"Probe", SCRIPTITEM_ISVISIBLE);
    Parse("v = 5\nProbe.Inc v\nProbe.Fill s\nProbe.Record v & s\nProbe.Inc (v)\nProbe.Record v\n"
          "Probe.Value = Probe.Twice(21)");
    Connect();
    EXPECT_EQ(probe->records, (std::vector<std::string>{"6filled", "6"}));
    EXPECT_EQ(probe->value, 42);
}

TEST_F(Engine, IndexedPropertiesOfGlobalMembersAndCollectionsWork)
{
    engine->AddNamedItem(u"Probe", SCRIPTITEM_ISVISIBLE | SCRIPTITEM_GLOBALMEMBERS);
    Parse("Item(\"Pr1\") = 2\nProbe.Item(\"Pr2\") = Item(\"Pr1\") * 3\nRecord \"a\"\nRecord \"b\"\n"
          "For Each r In Probe\n s = s & r\nNext\nRecord s\nOn Error Resume Next\nx = Item(\"none\")\n"
          "Record Err.Number");
    Connect();
    EXPECT_EQ(probe->items["Pr1"], "2");
    EXPECT_EQ(probe->items["Pr2"], "6");
    EXPECT_EQ(probe->records, (std::vector<std::string>{"a", "b", "ab", "5"}));
}

TEST_F(Engine, GetScriptDispatchCallsFunctionsAndReadsVariables)
{
    Parse("Dim total\ntotal = 2\nFunction Add(a, b)\n Add = a + b + total\nEnd Function");
    Connect();
    IDispatch* raw = nullptr;
    ASSERT_EQ(engine->GetScriptDispatch(nullptr, &raw), S_OK);
    ComPtr<IDispatch> global = ComPtr<IDispatch>::Adopt(raw);
    std::u16string name = u"add";
    LPOLESTR names[] = {name.data()};
    DISPID id = 0;
    ASSERT_EQ(global->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    VARIANT args[2] = {tvsk::com::MakeVariantI4(4), tvsk::com::MakeVariantI4(3)};
    DISPPARAMS params{args, nullptr, 2, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(global->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 9);
    std::u16string missing = u"nothere";
    names[0] = missing.data();
    EXPECT_EQ(global->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
}

TEST_F(Engine, AnExpressionIsEvaluatedIntoTheResult)
{
    Parse("Dim base\nbase = 40");
    Connect();
    VARIANT result;
    EXPECT_EQ(parse->ParseScriptText(u"base + 2", nullptr, nullptr, nullptr, 0, 0, SCRIPTTEXT_ISEXPRESSION,
                                     &result, nullptr),
              S_OK);
    EXPECT_EQ(result.vt, VT_I2);
    EXPECT_EQ(result.iVal, 42);
    EXPECT_EQ(parse->ParseScriptText(u"1 / 0", nullptr, nullptr, nullptr, 0, 0, SCRIPTTEXT_ISEXPRESSION,
                                     &result, nullptr),
              DISP_E_EXCEPTION);
    EXPECT_EQ(site->errors.size(), 1u);
}

TEST_F(Engine, TextParsedWhileConnectedRunsAtOnce)
{
    engine->AddNamedItem(u"Probe", SCRIPTITEM_ISVISIBLE);
    Connect();
    EXPECT_EQ(Parse("Probe.Record \"now\""), S_OK);
    EXPECT_EQ(probe->records, std::vector<std::string>{"now"});
}

TEST_F(Engine, CloseDisconnectsAndReleasesTheItems)
{
    engine->AddNamedItem(u"Probe", SCRIPTITEM_ISVISIBLE | SCRIPTITEM_ISSOURCE);
    Parse("Set keep = Probe\nSub Probe_Ping(n)\n Probe.Record n\nEnd Sub");
    Connect();
    EXPECT_EQ(engine->SetScriptState(SCRIPTSTATE_CLOSED), S_OK);
    EXPECT_EQ(probe->Sinks(), 0u);
    probe->AddRef();
    EXPECT_EQ(probe->Release(), 1u);
    SCRIPTSTATE state;
    engine->GetScriptState(&state);
    EXPECT_EQ(state, SCRIPTSTATE_CLOSED);
    EXPECT_EQ(Parse("x = 1"), E_UNEXPECTED);
}

TEST_F(Engine, MessageAndInputBoxesGoThroughTheSite)
{
    engine->AddNamedItem(u"Probe", SCRIPTITEM_ISVISIBLE);
    Parse("r = MsgBox(\"hello\", vbYesNo, \"T\")\nProbe.Record r & InputBox(\"name?\", , \"x\")");
    Connect();
    EXPECT_EQ(site->boxes, (std::vector<std::string>{"T|hello|4", "input|name?"}));
    EXPECT_EQ(probe->records, std::vector<std::string>{"6x!"});
}

TEST_F(Engine, ScriptObjectsCrossIntoTheHost)
{
    engine->AddNamedItem(u"Probe", SCRIPTITEM_ISVISIBLE);
    Parse("Class Greeter\n Function Hello(n)\n  Hello = \"hi \" & n\n End Function\nEnd Class\n"
          "Function Make()\n Set Make = New Greeter\nEnd Function");
    Connect();
    IDispatch* raw = nullptr;
    engine->GetScriptDispatch(nullptr, &raw);
    ComPtr<IDispatch> global = ComPtr<IDispatch>::Adopt(raw);
    std::u16string make = u"Make";
    LPOLESTR names[] = {make.data()};
    DISPID id = 0;
    global->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
    VARIANT object;
    VariantInit(&object);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    ASSERT_EQ(global->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, &object, nullptr, nullptr), S_OK);
    ASSERT_EQ(object.vt, VT_DISPATCH);
    engine->Close();
    // The object outlives the engine: calls fail cleanly.
    std::u16string hello = u"Hello";
    names[0] = hello.data();
    ASSERT_EQ(object.pdispVal->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    VARIANT arg = tvsk::com::MakeVariantI4(1);
    DISPPARAMS params{&arg, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(object.pdispVal->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
              E_UNEXPECTED);
    VariantClear(&object);
}

TEST_F(Engine, AnotherThreadStopsAnEndlessLoopAndTheNextEventRuns)
{
    engine->AddNamedItem(u"Probe", SCRIPTITEM_ISVISIBLE | SCRIPTITEM_ISSOURCE);
    std::atomic<bool> looping{false};
    probe->onRecord = [&] { looping = true; };
    ASSERT_EQ(
        Parse("On Error Resume Next\nProbe.Record \"in\"\nDo : n = n + 1 : Loop\nProbe.Record \"after\"\n"
              "Sub Probe_Ping(v)\n Probe.Record \"ping\" & v\nEnd Sub"),
        S_OK);
    IActiveScript* raw = engine.Get();
    std::thread stopper(
        [&]
        {
            while (!looping)
                std::this_thread::yield();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            EXPECT_EQ(raw->InterruptScriptThread(SCRIPTTHREADID_ALL, nullptr, 0), S_OK);
        });
    EXPECT_EQ(Connect(), S_OK);
    stopper.join();
    ASSERT_EQ(site->errors.size(), 1u);
    EXPECT_EQ(site->errors[0].code, E_ABORT);
    EXPECT_EQ(site->errors[0].description, "Operation aborted");
    EXPECT_EQ(site->errors[0].line, "Do : n = n + 1 : Loop");
    probe->Fire(DISPID_Ping, {tvsk::com::MakeVariantI4(3)});
    EXPECT_EQ(probe->records, (std::vector<std::string>{"in", "ping3"}));
    EXPECT_EQ(site->entered, site->left);
}

TEST_F(Engine, TheRunningCallStopsItsScriptWithTheGivenError)
{
    engine->AddNamedItem(u"Probe", SCRIPTITEM_ISVISIBLE | SCRIPTITEM_ISSOURCE);
    probe->onRecord = [&]
    {
        EXCEPINFO info{};
        info.scode = static_cast<HRESULT>(0x800A0005u);
        info.bstrDescription = tvsk::com::BstrFromUtf8("Stopped by the host");
        EXPECT_EQ(engine->InterruptScriptThread(SCRIPTTHREADID_CURRENT, &info, 0), S_OK);
        SysFreeString(info.bstrDescription);
    };
    ASSERT_EQ(Parse("On Error Resume Next\nDo\n Probe.Record \"turn\"\nLoop"), S_OK);
    EXPECT_EQ(Connect(), S_OK);
    EXPECT_EQ(probe->records, std::vector<std::string>{"turn"});
    ASSERT_EQ(site->errors.size(), 1u);
    EXPECT_EQ(site->errors[0].code, static_cast<HRESULT>(0x800A0005u));
    EXPECT_EQ(site->errors[0].description, "Stopped by the host");
    EXPECT_EQ(site->errors[0].source, "VBScript runtime error");
    EXPECT_EQ(engine->InterruptScriptThread(42, nullptr, 0), E_INVALIDARG);
}

TEST_F(Engine, AnInterruptWhileNoScriptRunsStopsNothing)
{
    engine->AddNamedItem(u"Probe", SCRIPTITEM_ISVISIBLE | SCRIPTITEM_ISSOURCE);
    EXPECT_EQ(engine->InterruptScriptThread(SCRIPTTHREADID_ALL, nullptr, 0), S_OK);
    ASSERT_EQ(Parse("For i = 1 To 3 : Probe.Record i : Next"), S_OK);
    EXPECT_EQ(Connect(), S_OK);
    EXPECT_EQ(probe->records, (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_TRUE(site->errors.empty());
}

TEST_F(Engine, TheSitesPollStopsARunawayScript)
{
    site->pollsToStop = 2;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Parse("On Error Resume Next\nDo : n = n + 1 : Loop"), S_OK);
    EXPECT_EQ(Connect(), S_OK);
    EXPECT_EQ(site->polls, 3);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
    ASSERT_EQ(site->errors.size(), 1u);
    EXPECT_EQ(site->errors[0].code, E_ABORT);
}

TEST(EngineComponent, IsCreatedByItsClassId)
{
    const auto dir = std::filesystem::temp_directory_path() / ("tvsk-script-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    ::setenv("TARVESKON_REGISTRY", (dir / "registry").c_str(), 1);
    ASSERT_EQ(std::system((std::string(TVSK_REGSVR) + " " + TVSK_ENGINE_MODULE).c_str()), 0);
    CoInitialize(nullptr);
    IActiveScript* engine = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_VBScript, nullptr, CLSCTX_INPROC_SERVER, IActiveScript::Iid,
                               reinterpret_cast<void**>(&engine)),
              S_OK);
    ASSERT_TRUE(engine);
    IActiveScriptParse* parse = nullptr;
    EXPECT_EQ(engine->QueryInterface(IActiveScriptParse::Iid, reinterpret_cast<void**>(&parse)), S_OK);
    parse->Release();
    engine->Release();
    CoUninitialize();
    ::unsetenv("TARVESKON_REGISTRY");
    std::filesystem::remove_all(dir);
}

} // namespace
