// A protocol object on simulated drives behind a fake port object, with a fake clock and sink.
#pragma once

#include "ProtocolTestSupport.h"

#include <protocol/VrnSer.h>

#include <gtest/gtest.h>

class VrnSerFixture : public testing::Test
{
protected:
    VrnSerFixture()
        : line({0, 3}), ports(line, clock),
          vrnser(new CVrnSer({ports, clock, &sink, TVSK_SAMPLE_DATA_DIR "/VRNSER.ERR"}))
    {
    }

    HRESULT Init(const char* settings)
    {
        BSTR text = tvsk::com::BstrFromUtf8(settings);
        const HRESULT hr = vrnser->Init(text);
        SysFreeString(text);
        return hr;
    }
    HRESULT Get(LONG ipa, LONG subI, VARTYPE type, VARIANT& value)
    {
        VariantInit(&value);
        return vrnser->get_Par(ipa, subI, static_cast<SHORT>(type), &value);
    }
    HRESULT Put(LONG ipa, LONG subI, VARTYPE type, VARIANT value)
    {
        return vrnser->put_Par(ipa, subI, static_cast<SHORT>(type), value);
    }
    HRESULT PutR8(LONG ipa, LONG subI, VARTYPE type, double value)
    {
        return Put(ipa, subI, type, tvsk::com::MakeVariantR8(value));
    }
    SHORT ErrorCode()
    {
        SHORT code = -1;
        vrnser->get_ErrorCode(&code);
        return code;
    }
    std::string ConfString()
    {
        BSTR text = nullptr;
        vrnser->get_ConfString(&text);
        const std::string result = tvsk::com::Utf8FromBstr(text);
        SysFreeString(text);
        return result;
    }
    CSimulatedDrive& Drive(int address = 0) { return *line.Drive(address); }
    CFakeLanyard& Port() { return *ports.last.Get(); }

    CDriveLine line;
    CFakeTickClock clock;
    CCountingSink sink;
    CFakePortFactory ports;
    ComPtr<IVrnSer> vrnser;
};
