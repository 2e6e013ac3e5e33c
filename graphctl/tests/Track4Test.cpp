#include <graphctl/TrackCollection4.h>

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <vector>

using namespace tvsk::com;

namespace
{

ComPtr<CTrack4> NewTrack()
{
    ComPtr<CTrack4> track(new CTrack4);
    track->put_DimBuffer(1000);
    return track;
}

void Add(CTrack4& track, std::vector<double> values)
{
    track.AddSamples(static_cast<LONG>(values.size()), values.data(), nullptr);
}

} // namespace

TEST(Track4Test, StartsWithTheDocumentedState)
{
    ComPtr<CTrack4> track(new CTrack4);
    BSTR text = nullptr;
    track->get_Name(&text);
    EXPECT_EQ(Utf8FromBstr(text), "Track");
    SysFreeString(text);
    track->get_Um(&text);
    EXPECT_EQ(Utf8FromBstr(text), "...");
    SysFreeString(text);
    OLE_COLOR color = 0;
    track->get_Color(&color);
    EXPECT_EQ(color, 200u);
    double min = 0, max = 0;
    track->get_Min(&min);
    track->get_Max(&max);
    EXPECT_EQ(min, DBL_MAX);
    EXPECT_EQ(max, -DBL_MAX);
    LONG dim = 0;
    track->get_DimBuffer(&dim);
    EXPECT_EQ(dim, 1000);
}

TEST(Track4Test, AutoscaledRangeIsWidenedByFivePercent)
{
    ComPtr<CTrack4> track = NewTrack();
    std::vector<double> values;
    for (int i = 0; i <= 10; ++i)
        values.push_back(i);
    Add(*track.Get(), values);
    track->UpdateRange(true);
    EXPECT_DOUBLE_EQ(track->Min(), -0.5);
    EXPECT_DOUBLE_EQ(track->Max(), 10.5);
    EXPECT_DOUBLE_EQ(track->Scale(), 11.0);

    ComPtr<CTrack4> flat = NewTrack();
    Add(*flat.Get(), {3.0, 3.0, 3.0});
    flat->UpdateRange(true);
    EXPECT_DOUBLE_EQ(flat->Min(), 2.95);
    EXPECT_DOUBLE_EQ(flat->Max(), 3.05);
}

TEST(Track4Test, MaxOfDblMaxIsNotSetAndTheNextFitTakesIt)
{
    ComPtr<CTrack4> track = NewTrack();
    Add(*track.Get(), {1.0, 2.0});
    track->put_Min(0);
    track->put_Max(DBL_MAX);
    double max = 0;
    track->get_Max(&max);
    EXPECT_EQ(max, 2.05);
}

TEST(Track4Test, SetRangeStoresBothEndsOrSwitchesAutoscaleOn)
{
    ComPtr<CTrack4> track = NewTrack();
    Add(*track.Get(), {0.0, 10.0});
    track->SetAutoscale(false);
    EXPECT_EQ(track->SetRange(-5, 5), S_OK);
    EXPECT_EQ(track->Min(), -5.0);
    EXPECT_EQ(track->Max(), 5.0);
    EXPECT_EQ(track->Scale(), 10.0);
    EXPECT_EQ(track->SetRange(0, DBL_MAX), S_OK);
    EXPECT_TRUE(track->Autoscale());
    EXPECT_DOUBLE_EQ(track->Min(), -0.5);
}

TEST(Track4Test, BadSampleArgumentsAreRefused)
{
    ComPtr<CTrack4> track = NewTrack();
    double value = 1;
    EXPECT_EQ(track->AddSamples(0, &value, nullptr), E_INVALIDARG);
    EXPECT_EQ(track->AddSamples(-1, &value, nullptr), E_INVALIDARG);
    EXPECT_EQ(track->AddSamples(1, nullptr, nullptr), E_POINTER);
    EXPECT_EQ(track->put_DimBuffer(0), E_INVALIDARG);
    LONG num = -1;
    track->get_SamplesNum(&num);
    EXPECT_EQ(num, 0);
}

TEST(Track4Test, FeaturesReadAndStoreTheirFields)
{
    ComPtr<CTrack4> track = NewTrack();
    Add(*track.Get(), {1, 2});
    VARIANT v;
    VariantInit(&v);
    ASSERT_EQ(track->get_Feature(3, &v), S_OK);
    EXPECT_EQ(v.vt, VT_UI4);
    EXPECT_EQ(v.ulVal, 2u);
    EXPECT_EQ(track->put_Feature(3, MakeVariantI4(5)), E_ACCESSDENIED);
    VARIANT half = MakeVariantBstr("0.5");
    EXPECT_EQ(track->put_Feature(8, half), S_OK);
    VariantClear(&half);
    EXPECT_EQ(track->Buffer().SamplePeriod(), 0.5);
    EXPECT_EQ(track->put_Feature(9, MakeVariantR8(17)), S_OK);
    VariantInit(&v);
    track->get_Feature(9, &v);
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(v.lVal, 17);
    for (const double outside : {2147483648.0, -2147483649.0, 1e300, std::nan("")})
        EXPECT_EQ(track->put_Feature(10, MakeVariantR8(outside)), E_INVALIDARG) << outside;
    EXPECT_EQ(track->put_Feature(10, MakeVariantR8(-2147483648.5)), S_OK);
    VariantInit(&v);
    track->get_Feature(10, &v);
    EXPECT_EQ(v.lVal, -2147483647 - 1) << "the last value that fits";
    VARIANT untouched = MakeVariantI4(99);
    EXPECT_EQ(track->get_Feature(42, &untouched), S_OK);
    EXPECT_EQ(untouched.lVal, 99);
    EXPECT_EQ(track->put_Feature(42, MakeVariantI4(1)), S_OK);
}

TEST(Track4Test, AddSamplesVTakesScalarsAndArrays)
{
    ComPtr<CTrack4> track = NewTrack();
    VARIANT none;
    VariantInit(&none);
    VARIANT shortValue{};
    shortValue.vt = VT_I2;
    shortValue.iVal = 7;
    EXPECT_EQ(track->AddSamplesV(shortValue, none), S_OK);
    VARIANT text = MakeVariantBstr("1");
    EXPECT_EQ(track->AddSamplesV(text, none), E_FAIL);
    VariantClear(&text);

    SAFEARRAY* values = SafeArrayCreateVector(VT_R8, 0, 3);
    SAFEARRAY* times = SafeArrayCreateVector(VT_I4, 0, 2);
    for (LONG i = 0; i < 3; ++i)
    {
        double v = 10.0 * (i + 1);
        SafeArrayPutElement(values, &i, &v);
        LONG t = 100 + i;
        if (i < 2)
            SafeArrayPutElement(times, &i, &t);
    }
    VARIANT data{};
    data.vt = VT_ARRAY | VT_R8;
    data.parray = values;
    VARIANT at{};
    at.vt = VT_ARRAY | VT_I4;
    at.parray = times;
    EXPECT_EQ(track->AddSamplesV(data, at), S_OK);
    EXPECT_EQ(track->Buffer().SamplesNum(), 3);
    const TraceBuffer& buffer = track->Buffer();
    EXPECT_EQ(buffer.Value(buffer.NewestSlot()), 20.0);
    EXPECT_EQ(buffer.Time(buffer.NewestSlot()), 101.0);
    SafeArrayDestroy(values);
    SafeArrayDestroy(times);
}

TEST(Track4Test, GetSamplesVStaysInsideTheCallersArray)
{
    ComPtr<CTrack4> track = NewTrack();
    Add(*track.Get(), {1, 2, 3, 4, 5});
    SAFEARRAY* small = SafeArrayCreateVector(VT_R8, 0, 2);
    VARIANT target{};
    target.vt = VT_ARRAY | VT_R8 | VT_BYREF;
    target.pparray = &small;
    EXPECT_EQ(track->GetSamplesV(5, 0, &target, nullptr), S_OK);
    LONG i = 1;
    double v = 0;
    SafeArrayGetElement(small, &i, &v);
    EXPECT_EQ(v, 2.0);
    SafeArrayDestroy(small);

    float single = 0;
    VARIANT scalar{};
    scalar.vt = VT_R4 | VT_BYREF;
    scalar.pfltVal = &single;
    EXPECT_EQ(track->GetSamplesV(1, 2, &scalar, nullptr), S_OK);
    EXPECT_EQ(single, 3.0f);

    VARIANT empty;
    VariantInit(&empty);
    EXPECT_EQ(track->GetSamplesV(1, 3, nullptr, &empty), S_OK);
    EXPECT_EQ(empty.vt, VT_R8);
    EXPECT_EQ(empty.dblVal, 3.0);

    EXPECT_EQ(track->GetSamplesV(1, 0, &scalar, &scalar), S_OK);
    VARIANT text = MakeVariantBstr("x");
    EXPECT_EQ(track->GetSamplesV(1, 0, &text, nullptr), E_FAIL);
    VariantClear(&text);
}

TEST(Track4Test, UserDataIsCopiedInAndOut)
{
    ComPtr<CTrack4> track = NewTrack();
    VARIANT in = MakeVariantBstr("client");
    EXPECT_EQ(track->put_UserData(in), S_OK);
    VariantClear(&in);
    VARIANT out;
    VariantInit(&out);
    EXPECT_EQ(track->get_UserData(&out), S_OK);
    EXPECT_EQ(Utf8FromBstr(out.bstrVal), "client");
    VariantClear(&out);
}

TEST(TrackCollection4Test, ItemCountsFromOneAndRemoveFromZero)
{
    ComPtr<CTrackCollection4> tracks(new CTrackCollection4);
    tracks->Add("A");
    tracks->Add("B");
    VARIANT item = MakeVariantI4(5);
    EXPECT_EQ(tracks->get_Item(0, &item), E_INVALIDARG);
    EXPECT_EQ(item.vt, VT_UNKNOWN);
    EXPECT_EQ(item.punkVal, nullptr);
    EXPECT_EQ(tracks->get_Item(3, &item), E_INVALIDARG);
    EXPECT_EQ(item.vt, VT_UNKNOWN);
    ASSERT_EQ(tracks->get_Item(2, &item), S_OK);
    EXPECT_EQ(item.vt, VT_DISPATCH);
    EXPECT_EQ(item.pdispVal, static_cast<IDispatch*>(tracks->At(1)));
    VariantClear(&item);
    EXPECT_EQ(tracks->get_Item(1, nullptr), E_POINTER);

    EXPECT_EQ(tracks->Remove(2), E_FAIL);
    EXPECT_EQ(tracks->Remove(0), S_OK);
    EXPECT_EQ(tracks->At(0)->NameText(), "B");
    IUnknown* enumerator = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(tracks->get__NewEnum(&enumerator), E_NOTIMPL);
}

TEST(TrackCollection4Test, NewTraceWritesAfterTheFirstTrace)
{
    ComPtr<CTrackCollection4> tracks(new CTrackCollection4);
    CTrack4* first = tracks->Add("A");
    first->put_DimBuffer(1000);
    // The first trace's write position is its capacity after a reset: the next one starts at slot 0.
    CTrack4* second = tracks->Add("B");
    EXPECT_EQ(second->Buffer().WritePosition(), 999);
    double v = 1;
    first->AddSamples(1, &v, nullptr);
    CTrack4* third = tracks->Add("C");
    EXPECT_EQ(third->Buffer().WritePosition(), 1);
}

TEST(TrackCollection4Test, SelectedTraceIsDrawnLastAndNamesAreFoundExactly)
{
    ComPtr<CTrackCollection4> tracks(new CTrackCollection4);
    CTrack4* a = tracks->Add("A");
    CTrack4* b = tracks->Add("B");
    CTrack4* a2 = tracks->Add("A");
    tracks->Select(0);
    EXPECT_EQ(tracks->DrawOrder(), (std::vector<CTrack4*>{b, a2, a}));
    EXPECT_EQ(tracks->Find("A"), a);
    EXPECT_EQ(tracks->Find("a"), nullptr);
    tracks->Add("D");
    EXPECT_EQ(tracks->Selected(), nullptr);
}
