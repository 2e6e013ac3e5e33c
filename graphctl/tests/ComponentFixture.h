// The graph control as the build registered it, created by its ProgID.
#pragma once

#include "DispatchCall.h"

#include <graphctl/ZoGraph4.h>

#include <gtest/gtest.h>

#include <cstdlib>

class ComponentFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("TARVESKON_REGISTRY", TVSK_BIN_DIR "/registry", 1);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        CLSID clsid{};
        ASSERT_EQ(CLSIDFromProgID(u"ZoGraph4.ZoGraphCtl4.1", &clsid), S_OK);
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IZoGraphCtl4::Iid,
                                   reinterpret_cast<void**>(m_control.Receive())),
                  S_OK);
    }
    void TearDown() override
    {
        m_control.Reset();
        CoUninitialize();
        ::unsetenv("TARVESKON_REGISTRY");
    }

    IZoGraphCtl4* Control() { return m_control.Get(); }

    ComPtr<ITrack4> Track(LONG position)
    {
        ComPtr<IDispatch> track;
        m_control->get_track(tvsk::com::MakeVariantI4(position), track.Receive());
        return track.As<ITrack4>();
    }

    void AddTrack(const char* name)
    {
        VARIANT arg = tvsk::com::MakeVariantBstr(name);
        InvokeResult r = CallMethod(Control(), DISPID_ZG_AddTrack, {arg});
        VariantClear(&arg);
        ASSERT_EQ(r.hr, S_OK);
    }

    ComPtr<IZoGraphCtl4> m_control;
};
