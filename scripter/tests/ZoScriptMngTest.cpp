// ZoScriptMng created by its ProgID, running scripts in the engine against a scripter with events.
#include <scripter/ZoScripter.h>

#include <com/Com.h>
#include <script/ActiveScript.h>
#include <registry/Profile.h>
#include <ui/MessageBox.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

using namespace tvsk::com;

namespace
{

struct IDrive : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("7A0C94E1-5B3D-4C8E-9F21-3E6D5A1B2C41");

protected:
    ~IDrive() = default;
};
constexpr IID DIID_DriveEvents = MakeGuid("7A0C94E2-5B3D-4C8E-9F21-3E6D5A1B2C41");

// A scripter: scripts call Note, and it fires Changed(value).
class Drive : public DispatchObject<Drive, IDrive, IConnectionPointContainer, IProvideClassInfo2>
{
public:
    static const DispatchTable<Drive>& Dispatch()
    {
        static const DispatchTable<Drive> table =
            DispatchTable<Drive>(InterfaceDescription(IDrive::Iid, "IDrive")).Method(1, "Note", &Drive::Note);
        return table;
    }
    static const ClassDescription& Class()
    {
        static const InterfaceDescription events = []
        {
            InterfaceDescription d(DIID_DriveEvents, "_DriveEvents");
            d.Add({1, "Changed", MemberKind::Method, {VT_I4}});
            return d;
        }();
        static const ClassDescription cls{MakeGuid("7A0C94E3-5B3D-4C8E-9F21-3E6D5A1B2C41"), "Drive",
                                          &Dispatch().Description(), &events};
        return cls;
    }
    HRESULT Note(BSTR text)
    {
        notes.push_back(Utf8FromBstr(text));
        return S_OK;
    }
    HRESULT EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) override
    {
        return FindConnectionPointIn({&m_events}, iid, point);
    }
    HRESULT GetClassInfo(ITypeInfo** info) override
    {
        *info = NewClassTypeInfo(Class());
        return S_OK;
    }
    HRESULT GetGUID(DWORD, GUID* guid) override
    {
        *guid = DIID_DriveEvents;
        return S_OK;
    }
    void Changed(LONG value)
    {
        VARIANT arg = MakeVariantI4(value);
        m_events.Fire(1, {&arg, 1});
    }
    size_t Sinks() const { return m_events.SinkCount(); }

    std::vector<std::string> notes;

private:
    ConnectionPoint m_events{*this, DIID_DriveEvents};
};

// Receives Error events as they arrive.
class ErrorSink final : public ComObject<IDispatch>
{
public:
    struct Call
    {
        DISPID id;
        LCID locale;
        UINT named;
        std::vector<VARTYPE> types;
        std::string errType, errDescr, errSrc;
        LONG line, ch;
        INT code;
    };
    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID id, REFIID, LCID locale, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*, UINT*) override
    {
        Call c{id, locale, p->cNamedArgs, {}, {}, {}, {}, 0, 0, 0};
        for (UINT i = 0; i < p->cArgs; ++i)
            c.types.push_back(p->rgvarg[p->cArgs - 1 - i].vt);
        if (p->cArgs == 6)
        {
            c.errType = Utf8FromBstr(p->rgvarg[5].bstrVal);
            c.errDescr = Utf8FromBstr(p->rgvarg[4].bstrVal);
            c.errSrc = Utf8FromBstr(p->rgvarg[3].bstrVal);
            c.line = p->rgvarg[2].lVal;
            c.ch = p->rgvarg[1].lVal;
            c.code = p->rgvarg[0].intVal;
        }
        calls.push_back(c);
        return S_OK;
    }
    std::vector<Call> calls;
};

class CountingBoxes : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString& caption, UINT type) override
    {
        boxes.push_back(std::string(caption.GetString()) + "|" + text.GetString() + "|" +
                        std::to_string(type));
        if (answers.empty())
            return IDOK;
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    std::vector<std::string> boxes;
    std::vector<int> answers; // the buttons pressed in turn, then OK
};

class Scripter : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(std::system((std::string(TVSK_REGSVR) + " " + TVSK_ENGINE_MODULE).c_str()), 0);
        ASSERT_EQ(std::system((std::string(TVSK_REGSVR) + " " + TVSK_SCRIPTER_MODULE).c_str()), 0);
    }
    void SetUp() override
    {
        CoInitialize(nullptr);
        previous = AfxSetMessageBoxSink(&boxes);
        CLSID clsid;
        ASSERT_EQ(CLSIDFromProgID(u"ZoScripter.ZoScriptMng", &clsid), S_OK);
        ASSERT_EQ(clsid, CLSID_ZoScriptMng);
        IZoScriptMng* created = nullptr;
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IZoScriptMng::Iid,
                                   reinterpret_cast<void**>(&created)),
                  S_OK);
        mng = ComPtr<IZoScriptMng>::Adopt(created);
        drive = new Drive;
        drive->AddRef();
        sink = new ErrorSink;
        sink->AddRef();
        auto container = mng.As<IConnectionPointContainer>();
        ASSERT_TRUE(container);
        ASSERT_EQ(container->FindConnectionPoint(DIID__IZoScriptMngEvents, point.Receive()), S_OK);
        ASSERT_EQ(point->Advise(static_cast<IDispatch*>(sink), &cookie), S_OK);
    }
    void TearDown() override
    {
        mng->Stop(); // a running engine holds the manager: closing it frees both
        point->Unadvise(cookie);
        point.Reset();
        mng.Reset();
        sink->Release();
        drive->Release();
        AfxSetMessageBoxSink(previous);
        CoUninitialize();
    }
    void Configure(const char* name, const std::string& code)
    {
        BSTR n = BstrFromUtf8(name);
        mng->put_ScripterName(n);
        SysFreeString(n);
        mng->put_Scripter(drive);
        BSTR c = BstrFromUtf8(code);
        mng->put_ScriptCode(c);
        SysFreeString(c);
    }
    LONG Running()
    {
        LONG running = -1;
        mng->get_Running(&running);
        return running;
    }

    CountingBoxes boxes;
    CMessageBoxSink* previous = nullptr;
    ComPtr<IZoScriptMng> mng;
    Drive* drive = nullptr;
    ErrorSink* sink = nullptr;
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
};

TEST_F(Scripter, RunsAScriptThatHandlesTheScriptersEvents)
{
    Configure("Tvsk", "Note \"started\"\nSub Tvsk_Changed(v)\n Tvsk.Note \"changed \" & v\nEnd Sub");
    EXPECT_EQ(Running(), 0);
    ASSERT_EQ(mng->Run(), S_OK);
    EXPECT_EQ(Running(), 1);
    drive->Changed(5);
    EXPECT_EQ(drive->notes, (std::vector<std::string>{"started", "changed 5"}));
    EXPECT_EQ(mng->Stop(), S_OK);
    EXPECT_EQ(Running(), 0);
    EXPECT_EQ(drive->Sinks(), 0u);
    EXPECT_TRUE(sink->calls.empty());
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Scripter, ASyntaxErrorFiresErrorAndShowsOneBox)
{
    Configure("Tvsk", "a = 1\nx = \n");
    EXPECT_EQ(mng->Run(), E_FAIL);
    EXPECT_EQ(Running(), 0);
    ASSERT_EQ(sink->calls.size(), 1u);
    const ErrorSink::Call& c = sink->calls[0];
    EXPECT_EQ(c.id, DISPID_ZoScriptMng_Error);
    EXPECT_EQ(c.locale, 1024u);
    EXPECT_EQ(c.named, 0u);
    EXPECT_EQ(c.types, (std::vector<VARTYPE>{VT_BSTR, VT_BSTR, VT_BSTR, VT_I4, VT_I4, VT_INT}));
    EXPECT_EQ(c.errType, "VBScript compilation error");
    EXPECT_EQ(c.errDescr, "Expected expression");
    EXPECT_EQ(c.errSrc, "x = ");
    EXPECT_EQ(c.line, 1);
    EXPECT_EQ(c.ch, 4);
    EXPECT_EQ(c.code, static_cast<INT>(0x800A03FFu));
    EXPECT_EQ(boxes.boxes, std::vector<std::string>{"Script error|Failed to parse script|" +
                                                    std::to_string(MB_OK | MB_ICONERROR)});
}

TEST_F(Scripter, ARunTimeErrorFiresErrorAndTheNextEventStillRuns)
{
    Configure("Tvsk", "x = 1\ny = 1 / 0\nSub Tvsk_Changed(v)\n If v = 0 Then Err.Raise 6\n Note v\nEnd Sub");
    ASSERT_EQ(mng->Run(), S_OK);
    EXPECT_EQ(Running(), 1);
    drive->Changed(0);
    drive->Changed(2);
    ASSERT_EQ(sink->calls.size(), 2u);
    EXPECT_EQ(sink->calls[0].errType, "VBScript runtime error");
    EXPECT_EQ(sink->calls[0].errDescr, "Division by zero");
    EXPECT_EQ(sink->calls[0].errSrc, "y = 1 / 0");
    EXPECT_EQ(sink->calls[0].line, 1);
    EXPECT_EQ(sink->calls[0].code, static_cast<INT>(0x800A000Bu));
    EXPECT_EQ(sink->calls[1].errDescr, "Overflow");
    EXPECT_EQ(sink->calls[1].line, 3);
    EXPECT_EQ(drive->notes, std::vector<std::string>{"2"});
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Scripter, AnEmptyScripterNameStillAddsAnItem)
{
    Configure("", "Note \"bare\"");
    ASSERT_EQ(mng->Run(), S_OK);
    EXPECT_EQ(drive->notes, std::vector<std::string>{"bare"});
}

TEST_F(Scripter, AnItemAddedAfterRunIsSeenOnlyFromTheNextRun)
{
    Configure("Tvsk", "Extra.Note \"seen\"");
    ASSERT_EQ(mng->Run(), S_OK);
    ASSERT_EQ(sink->calls.size(), 1u);
    EXPECT_EQ(sink->calls[0].errDescr, "Object required");
    auto* extra = new Drive;
    extra->AddRef();
    BSTR name = BstrFromUtf8("Extra");
    EXPECT_EQ(mng->AddGlobalItem(name, extra), S_OK);
    SysFreeString(name);
    EXPECT_TRUE(extra->notes.empty());
    ASSERT_EQ(mng->Run(), S_OK);
    EXPECT_EQ(extra->notes, std::vector<std::string>{"seen"});
    mng->Stop();
    extra->Release();
}

TEST_F(Scripter, RunWhileRunningClosesTheFirstEngine)
{
    Configure("Tvsk", "Sub Tvsk_Changed(v)\n Note v\nEnd Sub");
    ASSERT_EQ(mng->Run(), S_OK);
    ASSERT_EQ(mng->Run(), S_OK);
    EXPECT_EQ(drive->Sinks(), 1u);
    drive->Changed(3);
    EXPECT_EQ(drive->notes, std::vector<std::string>{"3"});
}

TEST_F(Scripter, StopBeforeRunDoesNothing)
{
    EXPECT_EQ(mng->Stop(), S_OK);
    EXPECT_EQ(Running(), 0);
}

TEST_F(Scripter, TheScripterIsHeldWhenTheClientLetsGo)
{
    auto* own = new Drive;
    own->AddRef();
    mng->put_Scripter(own);
    BSTR n = BstrFromUtf8("Tvsk");
    mng->put_ScripterName(n);
    SysFreeString(n);
    BSTR c = BstrFromUtf8("Tvsk.Note \"held\"");
    mng->put_ScriptCode(c);
    SysFreeString(c);
    EXPECT_EQ(own->Release(), 1u);
    ASSERT_EQ(mng->Run(), S_OK);
    IDispatch* scripter = nullptr;
    mng->get_Scripter(&scripter);
    ASSERT_EQ(scripter, static_cast<IDispatch*>(own));
    EXPECT_EQ(static_cast<Drive*>(static_cast<IDrive*>(scripter))->notes, std::vector<std::string>{"held"});
    scripter->Release();
}

TEST_F(Scripter, GetItemInfoChecksItsArgumentsAndAnswersBoth)
{
    Configure("Tvsk", "");
    BSTR nullName = BstrFromUtf8("Empty");
    mng->AddGlobalItem(nullName, nullptr);
    SysFreeString(nullName);
    auto site = mng.As<IActiveScriptSite>();
    ASSERT_TRUE(site);
    IUnknown* item = nullptr;
    ITypeInfo* info = nullptr;
    EXPECT_EQ(site->GetItemInfo(u"Tvsk", SCRIPTINFO_IUNKNOWN, nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(site->GetItemInfo(u"Tvsk", SCRIPTINFO_ITYPEINFO, nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(site->GetItemInfo(u"Other", SCRIPTINFO_IUNKNOWN, &item, nullptr), E_INVALIDARG);
    EXPECT_EQ(site->GetItemInfo(u"empty", SCRIPTINFO_IUNKNOWN, &item, nullptr), E_FAIL);
    ASSERT_EQ(site->GetItemInfo(u"tvsk", SCRIPTINFO_IUNKNOWN | SCRIPTINFO_ITYPEINFO, &item, &info), S_OK);
    ASSERT_TRUE(item);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->GetClassDescription(), &Drive::Class());
    item->Release();
    info->Release();
}

TEST_F(Scripter, MembersAnswerThroughTheirDispatchIds)
{
    Configure("Tvsk", "");
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(mng->Invoke(5, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 0);
    ASSERT_EQ(mng->Invoke(3, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK);
    EXPECT_EQ(Utf8FromBstr(result.bstrVal), "Tvsk");
    VariantClear(&result);
    EXPECT_EQ(mng->Invoke(7, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), S_OK);
    auto errors = mng.As<ISupportErrorInfo>();
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IZoScriptMng::Iid), S_OK);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
}

TEST_F(Scripter, MessageBoxesOfTheScriptGoThroughTheProgramsBoxes)
{
    Configure("Tvsk",
              "Note MsgBox(\"hello\", vbOKCancel, \"Title\")\nNote \"[\" & InputBox(\"name?\") & \"]\"");
    ASSERT_EQ(mng->Run(), S_OK);
    EXPECT_EQ(boxes.boxes, std::vector<std::string>{"Title|hello|1"});
    EXPECT_EQ(drive->notes, (std::vector<std::string>{"1", "[]"}));
}

// The profile's limit of a busy script for one test.
class BusyLimit
{
public:
    explicit BusyLimit(int ms)
    {
        CProfile::Instance().SetRegistryKey("MurnApps");
        CProfile::Instance().WriteProfileInt("Settings", "ScriptBusyLimit", ms);
    }
    ~BusyLimit() { CProfile::Instance().WriteProfileString("Settings", "ScriptBusyLimit", nullptr); }
};

constexpr const char* StopQuestion = "Script error|A script keeps the program busy. Stop the script?|36";

TEST_F(Scripter, AnEndlessScriptIsStoppedWhenTheUserSaysSoAndTheProgramGoesOn)
{
    const BusyLimit limit(200);
    Configure("Tvsk", "Note \"start\"\nOn Error Resume Next\nDo : n = n + 1 : Loop\n"
                      "Sub Tvsk_Changed(v)\n Tvsk.Note \"changed \" & v\nEnd Sub");
    boxes.answers = {IDNO, IDYES};
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(mng->Run(), S_OK);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
    EXPECT_EQ(boxes.boxes, (std::vector<std::string>{StopQuestion, StopQuestion}));
    ASSERT_EQ(sink->calls.size(), 1u);
    EXPECT_EQ(sink->calls[0].code, E_ABORT);
    EXPECT_EQ(sink->calls[0].errDescr, "Operation aborted");
    EXPECT_EQ(sink->calls[0].errSrc, "Do : n = n + 1 : Loop");
    EXPECT_EQ(Running(), 1);
    drive->Changed(4);
    EXPECT_EQ(drive->notes, (std::vector<std::string>{"start", "changed 4"}));
}

TEST_F(Scripter, TheScriptsOwnBoxesDoNotCountAsBusy)
{
    const BusyLimit limit(150);
    Configure("Tvsk", "t = Timer\nDo While Timer - t < 0.1 : Loop\nMsgBox \"wait\"\n"
                      "t = Timer\nDo While Timer - t < 0.1 : Loop\nNote \"done\"");
    ASSERT_EQ(mng->Run(), S_OK);
    EXPECT_EQ(boxes.boxes, std::vector<std::string>{"VBScript|wait|0"});
    EXPECT_EQ(drive->notes, std::vector<std::string>{"done"});
    EXPECT_TRUE(sink->calls.empty());
}

} // namespace
