#include "LanyardTestSupport.h"

#include <com/Com.h>

#include <cstring>

using namespace porttest;
using namespace tvsk::com;

namespace
{

VARIANT ByRef(VARTYPE vt, void* target)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = static_cast<VARTYPE>(VT_BYREF | vt);
    v.byref = target;
    return v;
}

VARIANT Bytes(std::initializer_list<BYTE> bytes)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_ARRAY | VT_UI1;
    v.parray = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    BYTE* data = nullptr;
    SafeArrayAccessData(v.parray, reinterpret_cast<void**>(&data));
    std::copy(bytes.begin(), bytes.end(), data);
    SafeArrayUnaccessData(v.parray);
    return v;
}

} // namespace

TEST_F(LanyardTest, BothClassesRegisterWithTheirIdentities)
{
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(u"Lanyard.Lanyard", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_Lanyard);
    ASSERT_EQ(CLSIDFromProgID(u"Lanyard.Lanyard2.1", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_Lanyard2);
    const std::string lanyard = "CLSID\\{B31FCA7F-41C0-466E-8F85-A3F7D9D7B25F}";
    const std::string lanyard2 = "CLSID\\{0918A6F5-47A9-466E-8E92-65D0B75DB555}";
    EXPECT_EQ(ClassesRootValue(lanyard.c_str(), nullptr), "Lanyard Class");
    EXPECT_EQ(ClassesRootValue((lanyard + "\\InprocServer32").c_str(), "ThreadingModel"), "Apartment");
    EXPECT_EQ(ClassesRootValue((lanyard + "\\TypeLib").c_str(), nullptr),
              "{13E5476B-BCDC-4F1F-A577-05D0FBAE83C7}");
    EXPECT_EQ(ClassesRootValue(lanyard2.c_str(), nullptr), "Lanyard2 Class");
    EXPECT_EQ(ClassesRootValue((lanyard2 + "\\InprocServer32").c_str(), "ThreadingModel"), "both");
    EXPECT_EQ(ClassesRootValue((lanyard2 + "\\TypeLib").c_str(), nullptr), "<none>");
    EXPECT_EQ(ClassesRootValue("Lanyard.Lanyard2\\CurVer", nullptr), "<none>");
    EXPECT_EQ(ClassesRootValue("TypeLib\\{13E5476B-BCDC-4F1F-A577-05D0FBAE83C7}\\1.0", nullptr),
              "Lanyard 1.0 Type Library");

    auto port = Create<ILanyard>(u"Lanyard.Lanyard.1");
    ASSERT_TRUE(port);
    EXPECT_FALSE(port.As<ILanyard2>()) << "the first class offers only ILanyard";
    auto errors = port.As<ISupportErrorInfo>();
    ASSERT_TRUE(errors);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(ILanyard::Iid), S_OK);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IDispatch::Iid), S_FALSE);
    EXPECT_TRUE(Create<ILanyard2>(u"Lanyard.Lanyard2.1"));
}

TEST_F(LanyardTest, DispatchNamesIdsAndHelpStringsFollowTheInterface)
{
    auto port = Create<ILanyard2>(u"Lanyard.Lanyard2.1");
    ASSERT_TRUE(port);
    OLECHAR name[] = u"receivevariantmessage";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    ASSERT_EQ(port->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 12);
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(port->GetTypeInfo(0, 0, info.Receive()), S_OK);
    BSTR help = nullptr;
    ASSERT_EQ(info->GetDocumentation(16, nullptr, &help, nullptr, nullptr), S_OK);
    EXPECT_EQ(Utf8FromBstr(help), "method ReciveVariantEvent");
    SysFreeString(help);
    ASSERT_EQ(info->GetDocumentation(10, nullptr, &help, nullptr, nullptr), S_OK);
    EXPECT_EQ(Utf8FromBstr(help), "property ErrorCode");
    SysFreeString(help);

    // Open through Invoke: a malformed string gives error code 5, read back as the property.
    VARIANT argument = MakeVariantBstr("COM1");
    DISPPARAMS params{&argument, nullptr, 1, 0};
    EXPECT_EQ(port->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), E_FAIL);
    VariantClear(&argument);
    VARIANT code;
    VariantInit(&code);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    ASSERT_EQ(port->Invoke(10, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &code, nullptr, nullptr), S_OK);
    EXPECT_EQ(code.vt, VT_I4);
    EXPECT_EQ(code.lVal, 5);
}

TEST_F(LanyardTest, WithoutAnOpenPortEveryPortMemberFailsWithCodeThree)
{
    auto port = Create<ILanyard>(u"Lanyard.Lanyard.1");
    ASSERT_TRUE(port);
    EXPECT_EQ(ErrorCode(port), 0);
    SHORT buffer[4] = {};
    LONG id = 0;
    LONG len = 8;
    VARIANT value = MakeVariantI4(1);
    VARIANT target = ByRef(VT_I4, &id);
    const std::vector<std::function<HRESULT()>> members = {
        [&] { return port->Close(); },
        [&] { return port->Reset(); },
        [&] { return port->Lock(); },
        [&] { return port->Unlock(); },
        [&] { return port->ReadData(buffer, 1, 10); },
        [&] { return port->WriteData(buffer, 1); },
        [&] { return port->WriteVariantData(value); },
        [&] { return port->ReadVariantData(&target, 10); },
        [&] { return port->SendVariantMessage(1, value); },
        [&] { return port->ReceiveVariantMessage(&id, &len, &target, 10); },
        [&] { return port->AddMessageFilter(1, 1); },
        [&] { return port->RemMessageFilter(1, 1); },
        [&] { return port->RequireMessage(1, 1); },
        [&] { return port->ReceiveVariantEvent(&id, &id, &len, &target, 10); },
    };
    for (size_t i = 0; i < members.size(); ++i)
    {
        EXPECT_EQ(members[i](), E_FAIL) << "member " << i;
        EXPECT_EQ(ErrorCode(port), 3) << "member " << i;
    }
}

TEST_F(LanyardTest, ThePropertiesOfTheFirstClassNeedNoPort)
{
    auto port = Create<ILanyard>(u"Lanyard.Lanyard.1");
    ASSERT_TRUE(port);
    EXPECT_EQ(port->PutProperty(3, MakeVariantI4(7)), S_OK);
    VARIANT self;
    VariantInit(&self);
    ASSERT_EQ(port->GetProperty(0, &self), S_OK);
    ASSERT_EQ(self.vt, VT_DISPATCH);
    EXPECT_EQ(self.pdispVal, static_cast<IDispatch*>(port.Get()));
    VariantClear(&self);
    EXPECT_EQ(port->GetProperty(2, &self), E_FAIL);
    EXPECT_EQ(self.vt, VT_EMPTY);
    EXPECT_EQ(ErrorCode(port), 0);
}

namespace
{

// GetProperty (code, data) called as a script calls it, through IDispatch.
HRESULT InvokeGetProperty(IDispatch* port, SHORT code, VARIANT& data)
{
    VARIANT args[2];
    args[0] = data;
    VariantInit(&args[1]);
    args[1].vt = VT_I2;
    args[1].iVal = code;
    DISPPARAMS params{args, nullptr, 2, 0};
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr = port->Invoke(18, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
    data = args[0];
    VariantClear(&result);
    return hr;
}

} // namespace

TEST_F(LanyardTest, ADispatchCallerKeepsItsByValueArgument)
{
    auto port = Create<ILanyard>(u"Lanyard.Lanyard.1");
    ASSERT_TRUE(port);
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(u"kept");
    const BSTR before = text.bstrVal;
    ASSERT_EQ(InvokeGetProperty(port.Get(), 0, text), S_OK);
    ASSERT_EQ(text.vt, VT_BSTR) << "the member cleared the caller's own argument";
    EXPECT_EQ(text.bstrVal, before);
    VariantClear(&text);

    VARIANT holder;
    VariantInit(&holder);
    VARIANT reference = ByRef(VT_VARIANT, &holder);
    ASSERT_EQ(InvokeGetProperty(port.Get(), 0, reference), S_OK);
    ASSERT_EQ(holder.vt, VT_DISPATCH) << "a variable passed by reference receives the object";
    EXPECT_EQ(holder.pdispVal, static_cast<IDispatch*>(port.Get()));
    VariantClear(&holder);

    auto second = Create<ILanyard2>(u"Lanyard.Lanyard2.1");
    ASSERT_EQ(Open(second, "CANPC:1,2,3"), S_OK);
    VARIANT number = MakeVariantI4(7);
    EXPECT_EQ(InvokeGetProperty(second.Get(), 3, number), E_FAIL) << "a value is no place to read into";
    EXPECT_EQ(number.vt, VT_I4);
}

TEST_F(LanyardTest, AFailedOpenLeavesNoPortAndItsCodeOutlivesALaterGoodOpen)
{
    auto port = Create<ILanyard>(u"Lanyard.Lanyard.1");
    ASSERT_TRUE(port);
    ASSERT_EQ(Open(port, "TCPIP:first"), S_OK);
    EXPECT_EQ(Open(port, "tcpip:first"), E_FAIL) << "the kind is compared with case";
    EXPECT_EQ(ErrorCode(port), 5);
    EXPECT_TRUE(Noted("detach")) << "the second open let go of the first port";
    EXPECT_EQ(port->Reset(), E_FAIL);
    EXPECT_EQ(ErrorCode(port), 3);
    EXPECT_EQ(Open(port, "PC:9"), E_FAIL) << "nobody keeps the block";
    ASSERT_EQ(Open(port, "TCPIP:second"), S_OK);
    EXPECT_EQ(ErrorCode(port), 5);
    EXPECT_EQ(port->Close(), S_OK);
    EXPECT_EQ(port->Close(), E_FAIL);
    EXPECT_EQ(Open(port, nullptr), E_FAIL);
}

TEST_F(LanyardTest, VariantDataMovesTheBytesOfScalarsAndArrays)
{
    auto port = Create<ILanyard>(u"Lanyard.Lanyard.1");
    ASSERT_EQ(Open(port, "TCPIP:variants"), S_OK);

    EXPECT_EQ(port->WriteVariantData(MakeVariantR8(1.5)), S_OK);
    EXPECT_TRUE(Noted("write 8"));
    EXPECT_EQ(port->WriteVariantData(MakeVariantBool(true)), E_FAIL);
    double r8 = 0;
    VARIANT intoR8 = ByRef(VT_R8, &r8);
    ASSERT_EQ(port->ReadVariantData(&intoR8, 0xFFFF), S_OK);
    EXPECT_EQ(r8, 1.5);
    EXPECT_EQ(ErrorCode(port), 0);

    VARIANT i2;
    VariantInit(&i2);
    i2.vt = VT_I2;
    i2.iVal = 0x1234;
    ASSERT_EQ(port->WriteVariantData(i2), S_OK);
    EXPECT_TRUE(Noted("write 2"));
    EXPECT_EQ(port->ReadVariantData(&i2, 0xFFFF), E_FAIL) << "a scalar by value cannot be read into";
    SHORT back = 0;
    VARIANT intoI2 = ByRef(VT_I2, &back);
    ASSERT_EQ(port->ReadVariantData(&intoI2, 0xFFFF), S_OK);
    EXPECT_EQ(back, 0x1234);
    EXPECT_EQ(port->ReadVariantData(&intoI2, 0xFFFF), S_OK) << "nothing came, yet the scalar read succeeds";
    EXPECT_EQ(ErrorCode(port), 2);

    VARIANT bytes = Bytes({1, 2, 3});
    ASSERT_EQ(port->WriteVariantData(bytes), S_OK);
    EXPECT_TRUE(Noted("write 3"));
    VARIANT intoArray = ByRef(VT_ARRAY | VT_UI1, &bytes.parray);
    std::memset(bytes.parray->pvData, 0, 3);
    ASSERT_EQ(port->ReadVariantData(&intoArray, 0xFFFF), S_OK);
    EXPECT_EQ(static_cast<BYTE*>(bytes.parray->pvData)[2], 3);
    EXPECT_EQ(bytes.parray->cLocks, 0u) << "released again";
    EXPECT_EQ(port->ReadVariantData(&intoArray, 0xFFFF), E_FAIL);
    EXPECT_EQ(bytes.parray->cLocks, 0u) << "released also after a failed read";
    EXPECT_EQ(port->WriteVariantData(intoArray), E_FAIL) << "nothing by reference is written";
    VariantClear(&bytes);

    SHORT raw[2] = {0x0201, 0x0403};
    ASSERT_EQ(port->WriteData(raw, 4), S_OK);
    SHORT rawBack[2] = {};
    EXPECT_EQ(port->ReadData(rawBack, 4, -1), S_OK);
    EXPECT_EQ(rawBack[1], 0x0403);
    EXPECT_EQ(port->ReadData(rawBack, 4, -1), E_FAIL);
}

TEST_F(LanyardTest, MessagesTravelInEveryVariantForm)
{
    auto port = Create<ILanyard>(u"Lanyard.Lanyard.1");
    ASSERT_EQ(Open(port, "CAN:250"), S_OK);
    EXPECT_TRUE(Noted("setline 250 0"));

    VARIANT empty;
    VariantInit(&empty);
    empty.vt = VT_ARRAY | VT_UI1;
    empty.parray = SafeArrayCreateVector(VT_UI1, 0, 0);
    empty.parray->cDims = 0;
    EXPECT_EQ(port->SendVariantMessage(0x10, empty), S_OK);
    EXPECT_TRUE(Noted("send 10 0"));
    empty.parray->cDims = 1;
    VariantClear(&empty);

    BYTE received[8] = {};
    LONG id = 0;
    LONG len = sizeof received;
    VARIANT typeless = ByRef(VT_EMPTY, received);
    ASSERT_EQ(port->ReceiveVariantMessage(&id, &len, &typeless, 10), S_OK);
    EXPECT_EQ(id, 0x10);
    EXPECT_EQ(len, 0);

    BYTE payload[3] = {0xA, 0xB, 0xC};
    LANYARD_MSG pair{3, payload};
    ASSERT_EQ(port->SendVariantMessage(0x11, ByRef(VT_EMPTY, &pair)), S_OK);
    EXPECT_TRUE(Noted("send 11 3 0A 0B 0C"));
    len = 2;
    EXPECT_EQ(port->ReceiveVariantMessage(&id, &len, &typeless, 10), S_OK);
    EXPECT_EQ(len, -1) << "three bytes do not fit the two the caller has";
    EXPECT_EQ(ErrorCode(port), 2);

    ASSERT_EQ(port->SendVariantMessage(0x12, ByRef(VT_EMPTY, &pair)), S_OK);
    len = sizeof received;
    ASSERT_EQ(port->ReceiveVariantMessage(&id, &len, &typeless, 10), S_OK);
    EXPECT_EQ(id, 0x12);
    EXPECT_EQ(len, 3);
    EXPECT_EQ(received[2], 0xC);

    ASSERT_EQ(port->SendVariantMessage(0x13, MakeVariantI4(0x01020304)), S_OK);
    LONG value = 0;
    VARIANT intoI4 = ByRef(VT_I4, &value);
    ASSERT_EQ(port->ReceiveVariantEvent(&id, &id, &len, &intoI4, 10), S_OK);
    EXPECT_EQ(value, 0x01020304);
    EXPECT_EQ(len, 4);

    EXPECT_EQ(port->AddMessageFilter(0x7FF, 0x585), S_OK);
    EXPECT_EQ(port->RemMessageFilter(0x7FF, 0x585), S_OK);
    EXPECT_EQ(port->RemMessageFilter(0x7FF, 0x585), E_FAIL);
    EXPECT_EQ(port->RequireMessage(0x20, 1), S_OK);
    VARIANT bytes = Bytes({0, 0});
    VARIANT intoArray = ByRef(VT_ARRAY | VT_UI1, &bytes.parray);
    ASSERT_EQ(port->ReceiveVariantMessage(&id, &len, &intoArray, 10), S_OK);
    EXPECT_EQ(id, 0x20);
    EXPECT_EQ(len, 1);
    EXPECT_EQ(port->ReceiveVariantMessage(&id, &len, &bytes, 10), E_FAIL)
        << "an array by value takes no message";
    VariantClear(&bytes);

    ASSERT_EQ(Open(port, "TCPIP:nomessages"), S_OK);
    EXPECT_EQ(port->RequireMessage(0x20, 1), E_FAIL);
    EXPECT_EQ(ErrorCode(port), 8);
}

TEST_F(LanyardTest, PropertiesFollowTheClass)
{
    auto first = Create<ILanyard>(u"Lanyard.Lanyard.1");
    ASSERT_EQ(Open(first, "CANPC:1,2,3"), S_OK);
    VARIANT self;
    VariantInit(&self);
    ASSERT_EQ(first->GetProperty(0, &self), S_OK);
    ASSERT_EQ(self.vt, VT_DISPATCH);
    EXPECT_EQ(self.pdispVal, static_cast<IDispatch*>(first.Get()));
    VariantClear(&self);
    EXPECT_EQ(first->GetProperty(1, &self), E_FAIL);
    EXPECT_EQ(first->PutProperty(3, MakeVariantI4(7)), S_OK);
    EXPECT_FALSE(Noted("property set 3 7")) << "the first class passes no property on";
    first->Close();

    auto second = Create<ILanyard2>(u"Lanyard.Lanyard2.1");
    ASSERT_EQ(Open(second, "CANPC:1,2,3"), S_OK);
    VARIANT seven;
    VariantInit(&seven);
    seven.vt = VT_UI1;
    seven.bVal = 7;
    ASSERT_EQ(second->PutProperty(3, seven), S_OK);
    EXPECT_TRUE(Noted("property set 3 7"));
    BYTE got = 0;
    VARIANT into = ByRef(VT_UI1, &got);
    ASSERT_EQ(second->GetProperty(3, &into), S_OK);
    EXPECT_EQ(got, 7);
    EXPECT_EQ(second->PutProperty(12, seven), E_FAIL);
    EXPECT_EQ(ErrorCode(second), 3);
    EXPECT_EQ(second->Command(5, nullptr), S_OK);
    EXPECT_TRUE(Noted("command 5"));
    EXPECT_EQ(second->Flush(), S_OK);
}

TEST_F(LanyardTest, OpenStringsReachTheServersOfTheirKinds)
{
    auto port = Create<ILanyard2>(u"Lanyard.Lanyard2.1");
    ASSERT_TRUE(port);
    ASSERT_EQ(Open(port, "CAN:7"), S_OK);
    EXPECT_TRUE(Noted("setline 7 0")) << "the number is the bit rate, the objects stay those of 0";
    ASSERT_EQ(Open(port, "CANUSB:260,1000,0"), S_OK);
    EXPECT_TRUE(Noted("start TOLLGATE 4"));
    EXPECT_TRUE(Noted("setline 1000 0"));
    ASSERT_EQ(Open(port, "NET:host,1"), S_OK);
    EXPECT_TRUE(Noted("setline host:1,"));
    ASSERT_EQ(Open(port, "SOCK:srv_9000,a,b"), S_OK);
    EXPECT_TRUE(Noted("start HALYARD srv 9000:a,b"));
    ASSERT_EQ(Open(port, "DPDEB:"), S_OK);
    EXPECT_TRUE(Noted("start WAYBRIDGE 1"));
    EXPECT_EQ(Open(port, "SOCK:srv"), E_FAIL);
    EXPECT_EQ(ErrorCode(port), 5);
}
