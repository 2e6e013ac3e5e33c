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

    HRESULT GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        for (const DISPID handled : handles)
            if (handled == id)
            {
                received.push_back(id);
                return S_OK;
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
    EXPECT_EQ(Id("MRUNum"), 1);
    EXPECT_EQ(Id("Tvsk"), 7);
    EXPECT_EQ(Id("ErrorCode"), 11);
    EXPECT_EQ(Id("ExecHtmlCommand"), 34);
    EXPECT_EQ(Id("Par"), 36);
    EXPECT_EQ(Id("TargetPar"), 39);
    EXPECT_EQ(Id("SelectetRoventar"), 49);
    EXPECT_EQ(Id("IsModem"), 50);
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

    EXPECT_NE(Call("Connected", DISPATCH_PROPERTYPUT, {Long(1)}, result), S_OK) << "get-only";

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
    EXPECT_FALSE(events.ConnectionTimeout()) << "a script without the handler keeps the built-in behaviour";
    EXPECT_FALSE(events.LoadDefault(1));
    EXPECT_EQ(sink->received, (std::vector<DISPID>{12, 7}));

    std::vector<std::string> boxes;
    intf->SetFailureBox([&](const CString& text) { boxes.push_back(text.str()); });
    intf->SetVerbose(true);
    events.AfterWritePLC();
    EXPECT_EQ(boxes, (std::vector<std::string>{"FireEvent nr. 13 failed"}));

    intf->EventPoint().Unadvise(cookie);
    sink->Release();
    boxes.clear();
    events.AfterWritePLC();
    EXPECT_EQ(boxes, (std::vector<std::string>{"Script non initialized"}));
}

TEST_F(TvskIntfTest, ClassInformationNamesTheEventInterface)
{
    GUID source{};
    ASSERT_EQ(intf->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
    EXPECT_TRUE(source == DIID_ITvskIntfEvents);
    ASSERT_NE(CTvskIntf::Class().defaultSource, nullptr);
    EXPECT_EQ(CTvskIntf::Class().defaultSource->Members().size(), 22u);
    EXPECT_EQ(CTvskIntf::Class().defaultSource->FindByName("ConnectionTimeout")->id, 22);
}

} // namespace
