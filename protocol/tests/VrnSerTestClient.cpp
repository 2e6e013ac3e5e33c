// vrnser_test_client <settings> <parameter> <count>: a second process on the drive's port; writes
// count values to a 16-bit parameter through its own protocol object and reads each back.
#include <protocol/DeviceLink.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::fputs("usage: vrnser_test_client <settings> <parameter> <count>\n", stderr);
        return 2;
    }
    const LONG parameter = std::atol(argv[2]);
    const int count = std::atoi(argv[3]);
    if (CoInitialize(nullptr) != S_OK)
        return 3;
    int failures = 0;
    {
        CLSID clsid{};
        ComPtr<IVrnSer> link;
        if (FAILED(CLSIDFromProgID(u"VrnSer.VrnSer.1", &clsid)) ||
            FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IVrnSer::Iid,
                                    reinterpret_cast<void**>(link.Receive()))))
        {
            std::fputs("vrnser_test_client: no protocol object\n", stderr);
            CoUninitialize();
            return 3;
        }
        link->put_MsgOn(0);
        BSTR settings = tvsk::com::BstrFromUtf8(argv[1]);
        const HRESULT init = link->Init(settings);
        SysFreeString(settings);
        if (FAILED(init))
        {
            std::fprintf(stderr, "vrnser_test_client: Init failed (%08X)\n", static_cast<unsigned>(init));
            CoUninitialize();
            return 3;
        }
        for (int i = 0; i < count; ++i)
        {
            const double written = 1000 + i;
            VARIANT value;
            VariantInit(&value);
            const bool ok =
                SUCCEEDED(link->put_Par(parameter, 0, VT_UI2, tvsk::com::MakeVariantR8(written))) &&
                SUCCEEDED(link->get_Par(parameter, 0, VT_UI2, &value)) && value.uiVal == written;
            if (!ok)
            {
                SHORT code = 0;
                link->get_ErrorCode(&code);
                std::fprintf(stderr, "vrnser_test_client: round %d failed, error %d\n", i, code);
                ++failures;
            }
        }
    }
    CoUninitialize();
    return failures == 0 ? 0 : 1;
}
