#include "TestObjects.h"

#include <gtest/gtest.h>

using namespace tvsk::com;

namespace
{

DISPID IdOf(IDispatch* d, const char16_t* name)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = 12345;
    d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

} // namespace

class DispatchTest : public testing::Test
{
protected:
    HRESULT Call(DISPID id, WORD flags, std::vector<VARIANT> reversed, VARIANT* result = nullptr,
                 std::vector<DISPID> named = {}, EXCEPINFO* exception = nullptr, UINT* argError = nullptr)
    {
        DISPPARAMS params{reversed.data(), named.data(), static_cast<UINT>(reversed.size()),
                          static_cast<UINT>(named.size())};
        const HRESULT hr =
            counter->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, exception, argError);
        for (VARIANT& v : reversed)
            VariantClear(&v);
        return hr;
    }

    ComPtr<ICounter> counter = NewCounter();
};

TEST_F(DispatchTest, ReferenceCountsFollowAddRefReleaseAndQueryInterface)
{
    EXPECT_EQ(RefCount(counter.Get()), 1u);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(counter->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(RefCount(counter.Get()), 2u);
    IDispatch* dispatch = nullptr;
    ASSERT_EQ(counter->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
    IUnknown* again = nullptr;
    ASSERT_EQ(dispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again)), S_OK);
    EXPECT_EQ(again, unknown) << "one identity whatever interface is asked";
    again->Release();
    dispatch->Release();
    unknown->Release();
    EXPECT_EQ(RefCount(counter.Get()), 1u);
}

TEST_F(DispatchTest, QueryInterfaceForAnUnknownIdFailsAndClearsTheResult)
{
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(counter->QueryInterface(IID_IClassFactory, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(counter->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(RefCount(counter.Get()), 1u);
}

TEST_F(DispatchTest, NamesResolveWithoutCase)
{
    EXPECT_EQ(IdOf(counter.Get(), u"join"), 3);
    EXPECT_EQ(IdOf(counter.Get(), u"ITEM"), 4);
    EXPECT_EQ(IdOf(counter.Get(), u"Missing"), DISPID_UNKNOWN);
    LPOLESTR names[] = {const_cast<LPOLESTR>(u"Join"), const_cast<LPOLESTR>(u"first")};
    DISPID ids[2];
    EXPECT_EQ(counter->GetIDsOfNames(IID_NULL, names, 2, 0, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], 3);
    EXPECT_EQ(ids[1], DISPID_UNKNOWN);
}

TEST_F(DispatchTest, ArgumentsArriveLastFirstAndResultsComeBack)
{
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(Call(3, DISPATCH_METHOD, {MakeVariantBstr("second"), MakeVariantBstr("first")}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(Utf8FromBstr(result.bstrVal), "firstsecond");
    VariantClear(&result);

    ASSERT_EQ(Call(2, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {MakeVariantBstr("12")}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_I4) << "the text argument is converted to the parameter's type";
    EXPECT_EQ(result.lVal, 12);
    ASSERT_EQ(Call(6, DISPATCH_PROPERTYGET, {}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
}

TEST_F(DispatchTest, PropertyPutsTakeTheNamedValueAndIndexesBeforeIt)
{
    const std::vector<DISPID> put = {DISPID_PROPERTYPUT};
    ASSERT_EQ(Call(1, DISPATCH_PROPERTYPUT, {MakeVariantI4(9)}, nullptr, put), S_OK);
    LONG value = 0;
    counter->get_Value(&value);
    EXPECT_EQ(value, 9);

    ASSERT_EQ(Call(4, DISPATCH_PROPERTYPUT, {MakeVariantR8(2.5), MakeVariantBstr("gain")}, nullptr, put),
              S_OK);
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(Call(4, DISPATCH_PROPERTYGET, {MakeVariantBstr("gain")}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_R8);
    EXPECT_EQ(result.dblVal, 2.5);

    EXPECT_EQ(Call(1, DISPATCH_PROPERTYPUT, {MakeVariantI4(1)}), DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(Call(1, DISPATCH_METHOD, {MakeVariantI4(1)}, nullptr, put), DISP_E_MEMBERNOTFOUND);
}

TEST_F(DispatchTest, BadCallsAreRefusedWithTheFaultyArgument)
{
    EXPECT_EQ(Call(3, DISPATCH_METHOD, {MakeVariantBstr("only one")}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(99, DISPATCH_METHOD, {}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Call(2, DISPATCH_METHOD, {MakeVariantI4(1)}, nullptr, {7}), DISP_E_NONAMEDARGS);
    UINT argError = 99;
    EXPECT_EQ(Call(2, DISPATCH_METHOD, {MakeVariantBstr("ten")}, nullptr, {}, nullptr, &argError),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 0u);
    EXPECT_EQ(Call(2, DISPATCH_METHOD, {MakeVariantR8(1e10)}, nullptr, {}, nullptr, &argError),
              DISP_E_OVERFLOW);
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(counter->Invoke(6, ICounter::Iid, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
}

TEST_F(DispatchTest, ReferenceArgumentsAreWrittenBack)
{
    LONG a = 1, b = 2;
    VARIANT ra, rb;
    VariantInit(&ra);
    VariantInit(&rb);
    ra.vt = rb.vt = VT_BYREF | VT_I4;
    ra.plVal = &a;
    rb.plVal = &b;
    ASSERT_EQ(Call(5, DISPATCH_METHOD, {rb, ra}), S_OK);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(Call(5, DISPATCH_METHOD, {MakeVariantI4(3), MakeVariantI4(4)}), S_OK)
        << "values may be passed too";
}

TEST_F(DispatchTest, AFailingMemberReportsItsErrorInformation)
{
    ComPtr<ISupportErrorInfo> support = counter.As<ISupportErrorInfo>();
    ASSERT_TRUE(support);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(ICounter::Iid), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);

    EXPECT_EQ(counter->Refuse(), E_FAIL);
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.Receive()), S_OK);
    BSTR text = nullptr;
    info->GetDescription(&text);
    EXPECT_EQ(Utf8FromBstr(text), "counter refused");
    SysFreeString(text);
    EXPECT_EQ(GetErrorInfo(0, info.Receive()), S_FALSE) << "taking the information clears it";

    EXCEPINFO exception{};
    EXPECT_EQ(Call(7, DISPATCH_METHOD, {}, nullptr, {}, &exception), DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, E_FAIL);
    EXPECT_EQ(Utf8FromBstr(exception.bstrSource), "Counter");
    EXPECT_EQ(Utf8FromBstr(exception.bstrDescription), "counter refused");
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    EXPECT_EQ(Call(7, DISPATCH_METHOD, {}), E_FAIL) << "without exception details the code itself";
}

TEST_F(DispatchTest, TypeInformationNamesTheMembers)
{
    UINT count = 0;
    ASSERT_EQ(counter->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(counter->GetTypeInfo(0, 0, info.Receive()), S_OK);
    BSTR name = nullptr;
    UINT names = 0;
    ASSERT_EQ(info->GetNames(3, &name, 1, &names), S_OK);
    EXPECT_EQ(Utf8FromBstr(name), "Join");
    SysFreeString(name);
    const MemberDescription* join = info->GetInterfaceDescription()->FindByName("join");
    ASSERT_NE(join, nullptr);
    EXPECT_EQ(join->parameters, (std::vector<VARTYPE>{VT_BSTR, VT_BSTR}));
    EXPECT_EQ(join->result, VT_BSTR);
}
