#include "ComponentFixture.h"
#include "EventRecorder.h"

#include <registry/Registry.h>

#include <cmath>
#include <string>
#include <vector>

using namespace tvsk::com;

namespace
{

struct Expected
{
    DISPID id;
    VARTYPE vt;
    double value;
};

double NumberOf(const VARIANT& v)
{
    VARIANT d;
    VariantInit(&d);
    VariantChangeType(&d, &v, 0, VT_R8);
    return d.dblVal;
}

} // namespace

using ZoGraphCtl4Test = ComponentFixture;

TEST_F(ZoGraphCtl4Test, EveryPropertyStartsAtItsDefault)
{
    const Expected defaults[] = {
        {DISPID_ZG_Grid, VT_I4, 1},
        {DISPID_ZG_ViewList, VT_I4, 1},
        {DISPID_ZG_ViewTimePosBar, VT_I4, 1},
        {DISPID_ZG_MeasureBar, VT_I4, 1},
        {DISPID_ZG_DragDropEnable, VT_I4, 1},
        {DISPID_ZG_Autoscale, VT_I4, 1},
        {DISPID_ZG_SplitTracks, VT_I4, 0},
        {DISPID_ZG_ViewAcquisitions, VT_I4, 0},
        {DISPID_ZG_ViewTrackMarkers, VT_I4, 1},
        {DISPID_ZG_ViewUserString, VT_I4, 1},
        {DISPID_ZG_TriggerBar, VT_I4, 1},
        {DISPID_ZG_TimeDiv, VT_R8, 1.0},
        {DISPID_ZG_XScale, VT_R4, 1.0},
        {DISPID_ZG_ViewRange, VT_R8, 100},
        {DISPID_ZG_GraphRange, VT_R8, 100},
        {DISPID_ZG_TMin, VT_R8, 0},
        {DISPID_ZG_TMax, VT_R8, 0},
        {DISPID_ZG_TriggerPos, VT_R4, 0},
        {DISPID_ZG_DimBuffer, VT_I4, 1000},
        {DISPID_ZG_StartViewIndex, VT_I4, 1000},
        {DISPID_ZG_MaxTracksNum, VT_I2, 8},
        {DISPID_ZG_BackColor, VT_UI4, 0xFFFFFF},
        {DISPID_ZG_GridColor, VT_UI4, 0xC0C0C0},
        {DISPID_ZG_GraphColor, VT_UI4, 0},
        {DISPID_ZG_TracksNo, VT_I4, 0},
        {DISPID_ZG_UserStringsNum, VT_I4, 0},
    };
    for (const Expected& e : defaults)
    {
        InvokeResult r = GetProperty(Control(), e.id);
        ASSERT_EQ(r.hr, S_OK) << e.id;
        EXPECT_EQ(r.value.vt, e.vt) << e.id;
        EXPECT_DOUBLE_EQ(NumberOf(r.value), e.value) << e.id;
    }
    InvokeResult feature0 = GetProperty(Control(), DISPID_ZG_Feature, {MakeVariantI4(0)});
    EXPECT_EQ(feature0.value.vt, VT_UI4);
    EXPECT_EQ(feature0.value.ulVal, 0u);
    InvokeResult feature1 = GetProperty(Control(), DISPID_ZG_Feature, {MakeVariantI4(1)});
    EXPECT_EQ(feature1.value.vt, VT_BOOL);
    EXPECT_NE(feature1.value.boolVal, 0);
    EXPECT_EQ(GetProperty(Control(), DISPID_ZG_Feature, {MakeVariantI4(2)}).hr, E_ACCESSDENIED);
    EXPECT_EQ(PutProperty(Control(), DISPID_ZG_Feature, {MakeVariantI4(0), MakeVariantI4(1)}),
              E_ACCESSDENIED);
}

TEST_F(ZoGraphCtl4Test, TracesTakeThePaletteAndStopAtTheMaximum)
{
    for (int i = 0; i < 9; ++i)
        AddTrack(("T" + std::to_string(i)).c_str());
    LONG count = 0;
    Control()->get_TracksNo(&count);
    EXPECT_EQ(count, 8);
    const OLE_COLOR palette[] = {0x00FFFF, 0xFFFF00, 0xFF00FF, 0x00FF00,
                                 0x0000FF, 0xFFFFFF, 0xFF6400, 0x00BE00};
    for (LONG i = 0; i < 8; ++i)
    {
        OLE_COLOR color = 0;
        Track(i)->get_Color(&color);
        EXPECT_EQ(color, palette[i]);
    }
    LONG free = 1;
    OLE_COLOR color = 0;
    Control()->get_FirstFreeColor(&free, &color);
    EXPECT_EQ(free, 0);
    Control()->RemoveTrack(2);
    Control()->get_FirstFreeColor(&free, &color);
    EXPECT_EQ(free, 1);
    EXPECT_EQ(color, 0xFF00FFu);
    EXPECT_EQ(Control()->RemoveTrack(7), E_FAIL);
}

TEST_F(ZoGraphCtl4Test, TrackIsFoundByPositionOrName)
{
    AddTrack("Speed");
    AddTrack("Current");
    ComPtr<IDispatch> byName;
    VARIANT current = MakeVariantBstr("Current");
    Control()->get_track(current, byName.Receive());
    VariantClear(&current);
    EXPECT_EQ(byName.Get(), static_cast<IDispatch*>(Track(1).Get()));
    ComPtr<IDispatch> none;
    VARIANT voltage = MakeVariantBstr("Voltage");
    Control()->get_track(voltage, none.Receive());
    VariantClear(&voltage);
    EXPECT_FALSE(none);
    Control()->get_track(MakeVariantI4(2), none.Receive());
    EXPECT_FALSE(none);
    ComPtr<IDispatch> owner;
    Track(0)->get_GraphControl(owner.Receive());
    EXPECT_EQ(owner.Get(), static_cast<IDispatch*>(Control()));
}

TEST_F(ZoGraphCtl4Test, TimeDivAndViewRangeFollowEachOther)
{
    EXPECT_EQ(PutProperty(Control(), DISPID_ZG_TimeDiv, {MakeVariantR8(2.5)}), S_OK);
    EXPECT_EQ(GetProperty(Control(), DISPID_ZG_GraphRange).value.dblVal, 25.0);
    EXPECT_EQ(PutProperty(Control(), DISPID_ZG_ViewRange, {MakeVariantR8(40)}), S_OK);
    EXPECT_EQ(GetProperty(Control(), DISPID_ZG_TimeDiv).value.dblVal, 4.0);
    PutProperty(Control(), DISPID_ZG_XScale, {MakeVariantR8(2)});
    EXPECT_EQ(GetProperty(Control(), DISPID_ZG_TimeDiv).value.dblVal, 2.0);
    // A range of nothing would divide by zero into pixels: refused, the old one kept.
    EXPECT_EQ(Control()->put_TimeDiv(0), E_INVALIDARG);
    EXPECT_EQ(Control()->put_ViewRange(-1), E_INVALIDARG);
    EXPECT_EQ(Control()->put_ViewRange(NAN), E_INVALIDARG);
    EXPECT_EQ(GetProperty(Control(), DISPID_ZG_GraphRange).value.dblVal, 40.0);
}

TEST_F(ZoGraphCtl4Test, DimBufferGoesToEveryTraceAndRefusesNothing)
{
    AddTrack("A");
    AddTrack("B");
    EXPECT_EQ(PutProperty(Control(), DISPID_ZG_DimBuffer, {MakeVariantI4(15000)}), S_OK);
    LONG dim = 0;
    Track(1)->get_DimBuffer(&dim);
    EXPECT_EQ(dim, 15000);
    EXPECT_EQ(GetProperty(Control(), DISPID_ZG_StartViewIndex).value.lVal, 15000);
    EXPECT_EQ(Control()->put_DimBuffer(0), E_INVALIDARG);
    Control()->get_DimBuffer(&dim);
    EXPECT_EQ(dim, 15000);
}

TEST_F(ZoGraphCtl4Test, UserStringsCountFromOneAndIgnoreOtherIndexes)
{
    BSTR text = nullptr;
    EXPECT_EQ(Control()->get_UserStringText(0, &text), S_OK);
    EXPECT_EQ(SysStringLen(text), 0u);
    SysFreeString(text);
    BSTR hello = BstrFromUtf8("hello");
    Control()->AddUserString(hello, 10, 20, 1);
    EXPECT_EQ(Control()->put_UserStringText(2, hello), S_OK);
    Control()->put_UserStringColor(1, 0x123456);
    SysFreeString(hello);
    Control()->get_UserStringText(1, &text);
    EXPECT_EQ(Utf8FromBstr(text), "hello");
    SysFreeString(text);
    EXPECT_EQ(Control()->get_UserStringText(2, &text), S_OK);
    EXPECT_EQ(SysStringLen(text), 0u);
    SysFreeString(text);
    OLE_COLOR color = 0;
    Control()->get_UserStringColor(1, &color);
    EXPECT_EQ(color, 0x123456u);
    LONG y = 0;
    Control()->get_UserStringPosY(1, &y);
    EXPECT_EQ(y, 20);
    Control()->RemoveUserString(5);
    LONG count = 0;
    Control()->get_UserStringsNum(&count);
    EXPECT_EQ(count, 1);
    Control()->RemoveUserString(1);
    Control()->get_UserStringsNum(&count);
    EXPECT_EQ(count, 0);
}

TEST_F(ZoGraphCtl4Test, SampleTimeBaseIsAcceptedAndIgnored)
{
    EXPECT_EQ(PutProperty(Control(), DISPID_ZG_SampleTimeBase, {MakeVariantR8(4.096)}), S_OK);
    double untouched = 7;
    EXPECT_EQ(Control()->get_SampleTimeBase(&untouched), S_OK);
    EXPECT_EQ(untouched, 7.0);
}

TEST_F(ZoGraphCtl4Test, EmptyTracesHaveNoTimeAndMapNoPixel)
{
    AddTrack("A");
    Control()->Reset();
    double t = 5;
    EXPECT_EQ(Control()->MapPixelToTime(10, &t), S_FALSE);
    EXPECT_EQ(Control()->UpdateBarPosTime(1.0), S_FALSE);
    double total = 1;
    Track(0)->get_TotalTime(&total);
    EXPECT_EQ(total, 0.0);
}

TEST_F(ZoGraphCtl4Test, ViewPositionPutsTheRightEdgeBeforeTheNewest)
{
    AddTrack("A");
    Control()->put_DimBuffer(100);
    std::vector<double> values(100, 1.0);
    Track(0)->AddSamples(100, values.data(), nullptr);
    double tmax = 0;
    Control()->get_TMax(&tmax);
    EXPECT_EQ(tmax, 99.0);
    EXPECT_EQ(Control()->UpdateBarPosTime(90.0), S_OK);
    EXPECT_EQ(GetProperty(Control(), DISPID_ZG_StartViewIndex).value.lVal, 91);
    Control()->get_TMax(&tmax);
    EXPECT_EQ(tmax, 90.0);
    Control()->put_Feature(2, MakeVariantR8(4.096));
    EXPECT_EQ(GetProperty(Control(), DISPID_ZG_StartViewIndex).value.lVal, 100);
}

TEST_F(ZoGraphCtl4Test, SplitTracksArrangesTracesOneAboveTheOther)
{
    AddTrack("A");
    AddTrack("B");
    Control()->Reset();
    double a[] = {0, 10};
    double b[] = {0, 10};
    Track(0)->AddSamples(2, a, nullptr);
    Track(1)->AddSamples(2, b, nullptr);
    EXPECT_EQ(PutProperty(Control(), DISPID_ZG_SplitTracks, {MakeVariantI4(1)}), S_OK);
    EXPECT_EQ(GetProperty(Control(), DISPID_ZG_SplitTracks).value.lVal, 1);
    EXPECT_EQ(GetProperty(Control(), DISPID_ZG_Autoscale).value.lVal, 0);
    double minA = 0, maxA = 0, minB = 0, maxB = 0;
    Track(0)->get_Min(&minA);
    Track(0)->get_Max(&maxA);
    Track(1)->get_Min(&minB);
    Track(1)->get_Max(&maxB);
    // The first trace in the upper half, the second in the lower half.
    EXPECT_DOUBLE_EQ(minA, -11.5);
    EXPECT_DOUBLE_EQ(maxA, 10.5);
    EXPECT_DOUBLE_EQ(minB, -0.5);
    EXPECT_DOUBLE_EQ(maxB, 21.5);
}

TEST_F(ZoGraphCtl4Test, SinksReceiveEventArgumentsInOrder)
{
    ComPtr<IConnectionPointContainer> container = m_control.As<IConnectionPointContainer>();
    ASSERT_TRUE(container);
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(container->FindConnectionPoint(DIID__IZoGraphCtl4Events, point.Receive()), S_OK);
    ComPtr<EventRecorder> first(new EventRecorder);
    ComPtr<EventRecorder> second(new EventRecorder);
    DWORD cookie1 = 0, cookie2 = 0;
    ASSERT_EQ(point->Advise(static_cast<IDispatch*>(first.Get()), &cookie1), S_OK);
    ASSERT_EQ(point->Advise(static_cast<IDispatch*>(second.Get()), &cookie2), S_OK);

    AddTrack("A");
    Control()->put_DimBuffer(10);
    Control()->UpdateBarPosIndex(4);
    Control()->put_Feature(2, MakeVariantI4(1));
    for (EventRecorder* sink : {first.Get(), second.Get()})
    {
        ASSERT_EQ(sink->events.size(), 1u);
        EXPECT_EQ(sink->events[0].id, DISPID_ZG_TimeRefChange);
        EXPECT_EQ(sink->events[0].args, std::vector<std::string>{"10"});
    }
    point->Unadvise(cookie1);
    point->Unadvise(cookie2);
}

TEST_F(ZoGraphCtl4Test, RegistersAsAControlWithItsObjects)
{
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(u"ZoGraph4.ZoGraphCtl4", &clsid), S_OK);
    EXPECT_EQ(CLSIDFromProgID(u"ZoGraph4.Track4", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_Track4);
    EXPECT_EQ(CLSIDFromProgID(u"ZoGraph4.TrackCollection4.1", &clsid), S_OK);
    EXPECT_EQ(CLSIDFromProgID(u"ZoGraph4.DescString4", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_DescString4);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "CLSID\\{185F51C9-95ED-4D4A-90DC-5B691B37EC71}\\MiscStatus\\1",
                           0, KEY_READ, &key),
              ERROR_SUCCESS);
    char value[32] = {};
    DWORD size = sizeof value;
    ASSERT_EQ(RegQueryValueEx(key, nullptr, nullptr, nullptr, reinterpret_cast<LPBYTE>(value), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(value, "131473");
    RegCloseKey(key);
    ComPtr<ITrack4> track;
    EXPECT_EQ(CoCreateInstance(CLSID_Track4, nullptr, CLSCTX_INPROC_SERVER, ITrack4::Iid,
                               reinterpret_cast<void**>(track.Receive())),
              S_OK);
}
