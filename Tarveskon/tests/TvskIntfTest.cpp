// The automation object "Tvsk" as scripts reach it: by name through IDispatch, and its events.
#include "ManagerTestSupport.h"

#include <Tarveskon/TvskIntf.h>
#include <Tarveskon/TvskIntfEvents.h>

#include <com/Com.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{

using namespace tvsk::com;
using tvsk::testing::ProgramFolder;
using tvsk::testing::RecordingUi;

struct ISink : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("5A0C1C11-8E21-4B0F-9F44-2B6A1D6C0E01");

protected:
    ~ISink() = default;
};

// A script's event object: handles the events it lists, the rest are "member not found".
class EventSink : public ComObject<ISink>
{
public:
    std::vector<DISPID> handles;
    std::vector<DISPID> received;
    std::string failure;            // a handler that raises this run-time error
    std::vector<VARTYPE> lastTypes; // the last handled event's argument types in natural order
    std::string lastName;           // and its first argument when it is text

    HRESULT GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO* exception,
                   UINT*) override
    {
        for (const DISPID handled : handles)
            if (handled == id)
            {
                received.push_back(id);
                lastTypes.clear();
                for (UINT i = params->cArgs; i-- > 0;)
                    lastTypes.push_back(params->rgvarg[i].vt);
                lastName = params->cArgs && params->rgvarg[params->cArgs - 1].vt == VT_BSTR
                               ? Utf8FromBstr(params->rgvarg[params->cArgs - 1].bstrVal)
                               : "";
                if (failure.empty())
                    return S_OK;
                exception->bstrDescription = BstrFromUtf8(failure.c_str());
                return DISP_E_EXCEPTION;
            }
        return DISP_E_MEMBERNOTFOUND;
    }
};

class TvskIntfTest : public testing::Test
{
protected:
    void SetUp() override
    {
        tvsk::testing::ResetProfile();
        manager.SetHostUi(&ui);
        intf = new CTvskIntf(&manager);
        intf->AddRef();
    }
    void TearDown() override { intf->Release(); }

    DISPID Id(const char* name)
    {
        std::u16string wide = Utf16FromUtf8(name);
        LPOLESTR names[] = {const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(wide.c_str()))};
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(intf->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK) << name;
        return id;
    }
    // Arguments in natural order; answers the HRESULT, the result in result.
    HRESULT Call(const char* name, WORD flags, std::vector<VARIANT> args, VARIANT& result)
    {
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params{reversed.data(), flags == DISPATCH_PROPERTYPUT ? &named : nullptr,
                          static_cast<UINT>(reversed.size()), flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
        VariantInit(&result);
        const HRESULT hr = intf->Invoke(Id(name), IID_NULL, 0, flags, &params, &result, nullptr, nullptr);
        for (VARIANT& v : args)
            VariantClear(&v);
        return hr;
    }
    static VARIANT Str(const char* text)
    {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = BstrFromUtf8(text);
        return v;
    }
    static VARIANT Long(LONG value)
    {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_I4;
        v.lVal = value;
        return v;
    }
    static VARIANT Real(double value)
    {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_R8;
        v.dblVal = value;
        return v;
    }
    static VARIANT Bool(bool value)
    {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BOOL;
        v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        return v;
    }
    static VARIANT Short(SHORT value)
    {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_I2;
        v.iVal = value;
        return v;
    }
    static std::string Text(const VARIANT& v)
    {
        return v.vt == VT_BSTR ? Utf8FromBstr(v.bstrVal) : "<not text>";
    }

    ProgramFolder folder;
    RecordingUi ui;
    CTvskManager manager{folder.Dir().c_str()};
    CTvskIntf* intf = nullptr;
};

TEST_F(TvskIntfTest, MembersAreNumberedByPosition)
{
    const struct
    {
        const char* name;
        VARTYPE result;
    } kMembers[] = {{"MRUNum", VT_I4},
                    {"CanEnterWizard", VT_BOOL},
                    {"Connected", VT_BOOL},
                    {"OnLine", VT_BOOL},
                    {"DeviceStatus", VT_I4},
                    {"Connect", VT_BOOL},
                    {"Tvsk", VT_DISPATCH},
                    {"CanRW", VT_BOOL},
                    {"IsChangeEnabled", VT_BOOL},
                    {"ValidComm", VT_I4},
                    {"ErrorCode", VT_I4},
                    {"SetMotor", VT_EMPTY},
                    {"SetDrive", VT_EMPTY},
                    {"EnterWizard", VT_BOOL},
                    {"OpenFile", VT_I4},
                    {"SaveFile", VT_I4},
                    {"NewFile", VT_I4},
                    {"CloseFile", VT_I4},
                    {"Print", VT_I4},
                    {"CreateTvskVar", VT_BOOL},
                    {"DeleteTvskVar", VT_BOOL},
                    {"ExePrgCommand", VT_EMPTY},
                    {"ConfigConnect", VT_EMPTY},
                    {"MsgBox", VT_I4},
                    {"DictioString", VT_BSTR},
                    {"UpdateMotor", VT_EMPTY},
                    {"GetCamIpaBase", VT_I4},
                    {"GetCamStepsNr", VT_I4},
                    {"GetField", VT_BSTR},
                    {"SetField", VT_BOOL},
                    {"Message", VT_I4},
                    {"ChmSetContext", VT_BOOL},
                    {"ChmInvoke", VT_BOOL},
                    {"ExecHtmlCommand", VT_I4},
                    {"MRUItem", VT_BSTR},
                    {"Par", VT_VARIANT},
                    {"TvskVar", VT_VARIANT},
                    {"Version", VT_BSTR},
                    {"TargetPar", VT_VARIANT},
                    {"ParCustomBit", VT_BOOL},
                    {"ParCustomWord", VT_I2},
                    {"ParCustomDWord", VT_I4},
                    {"Modified", VT_BOOL},
                    {"MotorValue", VT_R8},
                    {"DriveValue", VT_R8},
                    {"EncoderValue", VT_BSTR},
                    {"CamValue", VT_R8},
                    {"CamInterp", VT_I2},
                    {"SelectetRoventar", VT_BOOL},
                    {"IsModem", VT_BOOL}};
    const InterfaceDescription& description = CTvskIntf::Dispatch().Description();
    DISPID position = 1;
    for (const auto& member : kMembers)
    {
        EXPECT_EQ(Id(member.name), position++) << member.name;
        EXPECT_EQ(description.FindByName(member.name)->result, member.result) << member.name;
    }
    // Only these are written; the rest refuse a put.
    for (const DISPID id : {6, 8, 11, 36, 37, 39, 40, 41, 42, 43, 47, 48})
        EXPECT_NE(description.Find(id, DISPATCH_PROPERTYPUT), nullptr) << id;
    size_t puts = 0;
    for (const MemberDescription& member : description.Members())
        puts += member.kind == MemberKind::PropertyPut ? 1 : 0;
    EXPECT_EQ(puts, 12u);
}

// The drive type a page or script asks for is the chosen one, with or without a parameter file.
TEST_F(TvskIntfTest, TheDriveTypeIsTheChosenOneFromTheStart)
{
    const auto driveType = [&]
    {
        VARIANT result;
        EXPECT_EQ(Call("DictioString", DISPATCH_METHOD, {Long(60001)}, result), S_OK);
        const std::string text = Text(result);
        VariantClear(&result);
        return text;
    };
    ASSERT_TRUE(manager.NewFile());
    testing::internal::CaptureStderr();
    EXPECT_EQ(driveType(), "");
    ASSERT_EQ(manager.DriveDb().Load(folder.Path("Drives.db").c_str()), 0);
    ASSERT_TRUE(manager.SelectDrive("TK40^8^400"));
    EXPECT_EQ(driveType(), "TK40") << "chosen on the start page, no parameter file yet";
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors, "");
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK40S.dat").c_str()), 0);
    EXPECT_EQ(driveType(), "TK40S");
}

TEST_F(TvskIntfTest, TextsValuesAndRefusals)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK40.dat").c_str()), 0);
    VARIANT result;
    ASSERT_EQ(Call("DictioString", DISPATCH_METHOD, {Long(50000)}, result), S_OK);
    EXPECT_EQ(Text(result), "");
    VariantClear(&result);
    ASSERT_EQ(Call("DictioString", DISPATCH_METHOD, {Long(60003)}, result), S_OK);
    EXPECT_EQ(Text(result), folder.Dir());
    VariantClear(&result);

    ASSERT_EQ(Call("TargetPar", DISPATCH_PROPERTYGET, {Str("@Pr1")}, result), S_OK);
    EXPECT_EQ(result.vt, VT_EMPTY);
    ASSERT_EQ(Call("ErrorCode", DISPATCH_PROPERTYGET, {}, result), S_OK);
    EXPECT_EQ(result.lVal, 21);

    EXPECT_EQ(Call("Connected", DISPATCH_PROPERTYPUT, {Long(1)}, result), DISP_E_MEMBERNOTFOUND)
        << "get-only";

    ASSERT_EQ(Call("ExecHtmlCommand", DISPATCH_METHOD, {Str("DownlPlc")}, result), S_OK);
    EXPECT_EQ(result.lVal, manager.SendCommand(32, 0, 0));

    ASSERT_EQ(Call("MotorValue", DISPATCH_PROPERTYGET, {Long(99)}, result), S_OK);
    EXPECT_EQ(result.dblVal, 0.0);
    ASSERT_EQ(Call("EncoderValue", DISPATCH_PROPERTYGET, {Long(-1)}, result), S_OK);
    EXPECT_EQ(Text(result), "-1");
    VariantClear(&result);

    // A value that does not read as a number changes nothing.
    const double before = manager.ParDb().GetPar(0L, true)->dblDefVal;
    ASSERT_EQ(Call("SetField", DISPATCH_METHOD, {Str("PAR"), Str("dblDefVal"), Long(0), Str("abc")}, result),
              S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    ASSERT_EQ(Call("SetField", DISPATCH_METHOD, {Str("PAR"), Str("dblDefVal"), Long(0), Str("nan")}, result),
              S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    EXPECT_EQ(manager.ParDb().GetPar(0L, true)->dblDefVal, before);
}

TEST_F(TvskIntfTest, SetFieldAnswersWhetherTheFieldWasWritten)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK40.dat").c_str()), 0);
    VARIANT result;
    ASSERT_EQ(Call("SetField", DISPATCH_METHOD, {Str("PAR"), Str("szUm"), Long(0), Str("rpm")}, result),
              S_OK);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    ASSERT_EQ(Call("GetField", DISPATCH_METHOD, {Str("PAR"), Str("szUm"), Long(0)}, result), S_OK);
    EXPECT_EQ(Text(result), "rpm");
    VariantClear(&result);
    ASSERT_EQ(Call("SetField", DISPATCH_METHOD, {Str("PAR"), Str("NoSuchField"), Long(0), Str("x")}, result),
              S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);

    ASSERT_EQ(
        Call("SetField", DISPATCH_METHOD, {Str("PAR"), Str("dblDefVal"), Long(0), Str(" 12.5 ")}, result),
        S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    ASSERT_EQ(Call("GetField", DISPATCH_METHOD, {Str("PAR"), Str("dblDefVal"), Long(0)}, result), S_OK);
    EXPECT_EQ(Text(result), "        12.5");
    VariantClear(&result);
}

TEST_F(TvskIntfTest, HelpWithoutAWindowLayerIsKeptButNotShown)
{
    VARIANT result;
    ASSERT_EQ(
        Call("ChmSetContext", DISPATCH_METHOD, {Long(0), Long(0), Str("DEFAULT"), Str("Start")}, result),
        S_OK);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    EXPECT_EQ(manager.GetHelpWindow(), nullptr);
    ASSERT_EQ(Call("ChmInvoke", DISPATCH_METHOD, {}, result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    EXPECT_EQ(manager.SendCommand(50, 0, 0), 13);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(TvskIntfTest, CamValuePutStoresInterpolationZero)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK40Cam.dat").c_str()), 0);
    ASSERT_TRUE(manager.SetCamData(7, 350, 2, TRUE, 0));
    VARIANT result;
    ASSERT_EQ(Call("CamValue", DISPATCH_PROPERTYPUT, {Long(7), Long(0), Real(123)}, result), S_OK);
    ASSERT_EQ(Call("CamInterp", DISPATCH_PROPERTYGET, {Long(7), Long(0)}, result), S_OK);
    EXPECT_EQ(result.iVal, 0);
    ASSERT_EQ(Call("CamValue", DISPATCH_PROPERTYGET, {Long(7), Long(0)}, result), S_OK);
    EXPECT_EQ(result.dblVal, 123);
}

TEST_F(TvskIntfTest, DeliveredMeansAHandlerRan)
{
    CTvskIntfEvents events(*intf);
    EXPECT_FALSE(events.MayFire());
    events.SetRunning([] { return true; });
    EXPECT_FALSE(events.ConnectionTimeout()) << "no sink";

    auto* sink = new EventSink;
    sink->AddRef();
    sink->handles = {12, 7};
    DWORD cookie = 0;
    ASSERT_EQ(intf->EventPoint().Advise(sink, &cookie), S_OK);
    EXPECT_TRUE(events.BeforeWritePLC());
    EXPECT_TRUE(events.ChangeValue("Pr1", 2.5));
    EXPECT_EQ(sink->lastTypes, (std::vector<VARTYPE>{VT_BSTR, VT_R8}));
    EXPECT_EQ(sink->lastName, "Pr1");
    EXPECT_FALSE(events.ConnectionTimeout()) << "a script without the handler keeps the built-in behaviour";
    EXPECT_FALSE(events.LoadDefault(1));
    EXPECT_EQ(sink->received, (std::vector<DISPID>{12, 7}));

    std::vector<std::string> boxes;
    intf->SetFailureBox([&](const CString& text) { boxes.push_back(text.str()); });
    intf->SetVerbose(true);
    events.AfterWritePLC();
    EXPECT_EQ(boxes, (std::vector<std::string>{"FireEvent nr. 13 failed"}));

    // A handler that fails is told with the failure's own text, and did not deliver.
    boxes.clear();
    sink->failure = "Division by zero";
    EXPECT_FALSE(events.BeforeWritePLC());
    EXPECT_EQ(boxes, (std::vector<std::string>{"Script event failure message: Division by zero",
                                               "FireEvent nr. 12 failed"}));
    sink->failure.clear();

    intf->EventPoint().Unadvise(cookie);
    sink->Release();
    boxes.clear();
    events.AfterWritePLC();
    EXPECT_EQ(boxes, (std::vector<std::string>{"Script non initialized"}));
}

TEST_F(TvskIntfTest, BooleanArgumentsTakeWhatScriptsPass)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK40.dat").c_str()), 0);
    VARIANT result;
    ASSERT_EQ(Call("Modified", DISPATCH_PROPERTYPUT, {Str("True")}, result), S_OK);
    EXPECT_TRUE(manager.IsModified());
    ASSERT_EQ(Call("Modified", DISPATCH_PROPERTYPUT, {Str("False")}, result), S_OK);
    EXPECT_FALSE(manager.IsModified());
    ASSERT_EQ(Call("Modified", DISPATCH_PROPERTYPUT, {Real(0.25)}, result), S_OK);
    EXPECT_TRUE(manager.IsModified()) << "any number but zero is true";

    manager.SetCanRW(FALSE);
    ASSERT_EQ(Call("CanRW", DISPATCH_PROPERTYPUT, {Long(65536)}, result), S_OK) << "wider than a short";
    EXPECT_TRUE(manager.GetCanRW());

    ASSERT_EQ(Call("CreateTvskVar", DISPATCH_METHOD, {Str("Probe"), Str("true")}, result), S_OK);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    ASSERT_EQ(Call("TvskVar", DISPATCH_PROPERTYPUT, {Str("Probe"), Real(2.5)}, result), S_OK);
    ASSERT_EQ(Call("TvskVar", DISPATCH_PROPERTYGET, {Str("Probe")}, result), S_OK);
    EXPECT_EQ(Text(result), "2.5");
    VariantClear(&result);

    EXPECT_EQ(Call("Connect", DISPATCH_PROPERTYPUT, {Str("Maybe")}, result), DISP_E_TYPEMISMATCH);

    // Callers that read the type information see booleans where booleans are taken.
    const InterfaceDescription& description = CTvskIntf::Dispatch().Description();
    EXPECT_EQ(description.Find(20, DISPATCH_METHOD)->parameters, (std::vector<VARTYPE>{VT_BSTR, VT_BOOL}));
    for (const DISPID property : {6, 8, 43})
        EXPECT_EQ(description.Find(property, DISPATCH_PROPERTYPUT)->parameters,
                  (std::vector<VARTYPE>{VT_BOOL}))
            << property;
    EXPECT_EQ(description.Find(40, DISPATCH_PROPERTYPUT)->parameters,
              (std::vector<VARTYPE>{VT_BSTR, VT_BOOL}));
    EXPECT_EQ(description.Find(41, DISPATCH_PROPERTYPUT)->parameters, (std::vector<VARTYPE>{VT_BSTR, VT_I2}));
}

TEST_F(TvskIntfTest, NumbersAndTextsConvertToTheMembersTypes)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK40.dat").c_str()), 0);
    VARIANT result;
    ASSERT_EQ(Call("DictioString", DISPATCH_METHOD, {Str("60003")}, result), S_OK);
    EXPECT_EQ(Text(result), folder.Dir());
    VariantClear(&result);
    ASSERT_EQ(Call("DictioString", DISPATCH_METHOD, {Real(60003.2)}, result), S_OK);
    EXPECT_EQ(Text(result), folder.Dir());
    VariantClear(&result);

    ASSERT_EQ(Call("MotorValue", DISPATCH_PROPERTYGET, {Long(0)}, result), S_OK);
    EXPECT_EQ(result.vt, VT_R8);
    EXPECT_EQ(Call("MotorValue", DISPATCH_PROPERTYGET, {Long(70000)}, result), DISP_E_OVERFLOW);

    ASSERT_EQ(Call("ParCustomWord", DISPATCH_PROPERTYGET, {Str("Pr1")}, result), S_OK);
    EXPECT_EQ(result.vt, VT_I2);
    ASSERT_EQ(Call("ParCustomDWord", DISPATCH_PROPERTYGET, {Str("Pr1")}, result), S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    ASSERT_EQ(Call("Tvsk", DISPATCH_PROPERTYGET, {}, result), S_OK);
    EXPECT_EQ(result.vt, VT_DISPATCH);
    VariantClear(&result);

    // A script passes its variables by reference.
    VARIANT held = Short(2);
    VARIANT byRef;
    VariantInit(&byRef);
    byRef.vt = VT_BYREF | VT_VARIANT;
    byRef.pvarVal = &held;
    ASSERT_EQ(Call("MsgBox", DISPATCH_METHOD, {Str("Hello"), byRef}, result), S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    ASSERT_EQ(ui.boxes, (std::vector<std::string>{"Hello"}));

    // No window of the program active: no box, and 0.
    ui.activeWindow = false;
    ui.answers = {1};
    ASSERT_EQ(Call("MsgBox", DISPATCH_METHOD, {Str("Nobody"), Long(2)}, result), S_OK);
    EXPECT_EQ(result.lVal, 0);
    EXPECT_EQ(ui.boxes.size(), 1u);
}

TEST_F(TvskIntfTest, IndexesAndNamesOutOfRangeAnswerNeutralValues)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK40Cam.dat").c_str()), 0);
    manager.SetModified(FALSE);
    VARIANT result;
    for (const LONG index : {-1L, 1000000L})
    {
        ASSERT_EQ(Call("GetField", DISPATCH_METHOD, {Str("PAR"), Str("szID"), Long(index)}, result), S_OK);
        EXPECT_EQ(Text(result), "") << index;
        VariantClear(&result);
        ASSERT_EQ(Call("GetField", DISPATCH_METHOD, {Str("PAR"), Str("dblDefVal"), Long(index)}, result),
                  S_OK);
        EXPECT_EQ(Text(result), "") << index;
        VariantClear(&result);
        ASSERT_EQ(
            Call("SetField", DISPATCH_METHOD, {Str("PAR"), Str("dblDefVal"), Long(index), Str("1")}, result),
            S_OK);
        EXPECT_EQ(result.boolVal, VARIANT_FALSE) << index;
        ASSERT_EQ(Call("SetField", DISPATCH_METHOD, {Str("PAR"), Str("szID"), Long(index), Str("x")}, result),
                  S_OK);
        EXPECT_EQ(result.boolVal, VARIANT_FALSE) << index;
    }
    for (const SHORT index : {SHORT(-1), SHORT(32767)})
    {
        ASSERT_EQ(Call("CamValue", DISPATCH_PROPERTYGET, {Short(index), Short(0)}, result), S_OK);
        EXPECT_EQ(result.dblVal, 0.0) << index;
        ASSERT_EQ(Call("CamValue", DISPATCH_PROPERTYGET, {Short(0), Short(index)}, result), S_OK);
        EXPECT_EQ(result.dblVal, 0.0) << index;
        ASSERT_EQ(Call("CamInterp", DISPATCH_PROPERTYGET, {Short(index), Short(0)}, result), S_OK);
        EXPECT_EQ(result.iVal, 0) << index;
        ASSERT_EQ(Call("DriveValue", DISPATCH_PROPERTYGET, {Short(index)}, result), S_OK);
        EXPECT_EQ(result.dblVal, 0.0) << index;
        ASSERT_EQ(Call("EncoderValue", DISPATCH_PROPERTYGET, {Short(index)}, result), S_OK);
        EXPECT_EQ(Text(result), "-1") << index;
        VariantClear(&result);
        ASSERT_EQ(Call("GetCamIpaBase", DISPATCH_METHOD, {Short(index)}, result), S_OK);
    }
    ASSERT_EQ(Call("DictioString", DISPATCH_METHOD, {Long(-1)}, result), S_OK);
    EXPECT_EQ(Text(result), "");
    VariantClear(&result);
    ASSERT_EQ(Call("Version", DISPATCH_PROPERTYGET, {Long(-7)}, result), S_OK);
    EXPECT_EQ(result.vt, VT_BSTR);
    VariantClear(&result);
    ASSERT_EQ(Call("Par", DISPATCH_PROPERTYGET, {Str("NoSuchPar")}, result), S_OK);
    EXPECT_EQ(result.vt, VT_EMPTY);
    ASSERT_EQ(Call("Par", DISPATCH_PROPERTYPUT, {Str("NoSuchPar"), Long(3)}, result), S_OK);
    ASSERT_EQ(Call("ParCustomBit", DISPATCH_PROPERTYGET, {Str("NoSuchPar")}, result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    ASSERT_EQ(Call("TvskVar", DISPATCH_PROPERTYGET, {Str("")}, result), S_OK);
    EXPECT_EQ(result.vt, VT_EMPTY);
    ASSERT_EQ(Call("DeleteTvskVar", DISPATCH_METHOD, {Str("NoSuchVar")}, result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    ASSERT_EQ(Call("TargetPar", DISPATCH_PROPERTYGET, {Str("")}, result), S_OK);
    EXPECT_EQ(result.vt, VT_EMPTY);
}

TEST_F(TvskIntfTest, WithoutItsManagerEachMemberAnswersItsNeutralValue)
{
    CTvskIntf* lone = new CTvskIntf(nullptr);
    lone->AddRef();
    std::swap(lone, intf);
    testing::internal::CaptureStderr();
    VARIANT result;
    const struct
    {
        const char* name;
        std::vector<VARIANT> args;
        VARTYPE vt;
        LONG value;
    } kCases[] = {{"ValidComm", {}, VT_I4, 0},
                  {"Message", {Str("Hi"), Long(0)}, VT_I4, 0},
                  {"ExecHtmlCommand", {Str("GoOnline")}, VT_I4, 11},
                  {"ErrorCode", {}, VT_I4, 0},
                  {"OpenFile", {Str("x.dat")}, VT_I4, 0},
                  {"MsgBox", {Str("Hi"), Long(2)}, VT_I4, 0},
                  {"GetCamIpaBase", {Short(0)}, VT_I4, 0}};
    for (const auto& c : kCases)
    {
        const WORD flags = c.args.empty() ? DISPATCH_PROPERTYGET : DISPATCH_METHOD;
        ASSERT_EQ(Call(c.name, flags, c.args, result), S_OK) << c.name;
        EXPECT_EQ(result.vt, c.vt) << c.name;
        EXPECT_EQ(result.lVal, c.value) << c.name;
    }
    for (const char* name :
         {"Connected", "CanRW", "Modified", "IsModem", "SelectetRoventar", "CanEnterWizard"})
    {
        ASSERT_EQ(Call(name, DISPATCH_PROPERTYGET, {}, result), S_OK) << name;
        EXPECT_EQ(result.vt, VT_BOOL) << name;
        EXPECT_EQ(result.boolVal, VARIANT_FALSE) << name;
    }
    ASSERT_EQ(Call("EnterWizard", DISPATCH_METHOD, {}, result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    ASSERT_EQ(Call("GetField", DISPATCH_METHOD, {Str("PAR"), Str("dblDefVal"), Long(0)}, result), S_OK);
    EXPECT_EQ(Text(result), "");
    VariantClear(&result);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("ProgramError: TvskIntf.cpp("), std::string::npos) << errors;
    EXPECT_TRUE(ui.boxes.empty());
    std::swap(lone, intf);
    lone->Release();
}

TEST_F(TvskIntfTest, ClassInformationNamesTheEventInterface)
{
    GUID source{};
    ASSERT_EQ(intf->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
    EXPECT_TRUE(source == DIID_ITvskIntfEvents);
    ASSERT_NE(CTvskIntf::Class().defaultSource, nullptr);
    EXPECT_EQ(CTvskIntf::Class().defaultSource->Members().size(), 22u);
    EXPECT_EQ(CTvskIntf::Class().defaultSource->FindByName("ConnectionTimeout")->id, 22);
    EXPECT_EQ(CTvskIntf::Class().defaultSource->FindByName("LoadDefault")->parameters,
              std::vector<VARTYPE>{VT_I2});
    EXPECT_EQ(CTvskIntf::Class().defaultSource->FindByName("ChangeValue")->parameters,
              (std::vector<VARTYPE>{VT_BSTR, VT_R8}));
}

} // namespace
