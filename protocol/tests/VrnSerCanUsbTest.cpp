// The protocol object over "CANUSB": Lanyard, the fake CAN-USB server and its CANopen node.
#include <protocol/DeviceLink.h>
#include <protocol/DeviceLinkError.h>

#include <KernelTestSupport.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using namespace tvsk::com;

namespace
{

class VrnSerCanUsbTest : public kerneltest::NamespaceTest
{
protected:
    void SetUp() override
    {
        NamespaceTest::SetUp();
        setenv("TARVESKON_PROGRAM_DIR", FAKE_PORT_DIR, 1);
        setenv("TVSK_FAKE_CANOPEN_NODE", "5", 1);
        journal = storeDirectory / "journal";
        setenv("TVSK_FAKE_PORT_LOG", journal.c_str(), 1);
        for (const char* component : {LANYARD_COMPONENT, VRNSER_COMPONENT})
            ASSERT_EQ(std::system((std::string(TVSK_REGSVR) + " " + component).c_str()), 0);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        CLSID clsid{};
        ASSERT_EQ(CLSIDFromProgID(u"VrnSer.VrnSer.1", &clsid), S_OK);
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IVrnSer::Iid,
                                   reinterpret_cast<void**>(link.Receive())),
                  S_OK);
        ASSERT_EQ(link->put_MsgOn(0), S_OK);
    }
    void TearDown() override
    {
        // Releasing the object closes the port, which lets the fake server end.
        link.Reset();
        CoUninitialize();
        unsetenv("TVSK_FAKE_CANOPEN_NODE");
        NamespaceTest::TearDown();
    }

    HRESULT Init(const char* settings)
    {
        const BSTR text = BstrFromUtf8(settings);
        const HRESULT hr = link->Init(text);
        SysFreeString(text);
        return hr;
    }
    HRESULT Put(LONG ipa, LONG bit, VARTYPE type, LONG value)
    {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_I4;
        v.lVal = value;
        return link->put_Par(ipa, bit, static_cast<SHORT>(type), v);
    }
    // The value read, or -1 when the read failed.
    LONG Get(LONG ipa, LONG bit, VARTYPE type)
    {
        VARIANT v;
        VariantInit(&v);
        if (FAILED(link->get_Par(ipa, bit, static_cast<SHORT>(type), &v)))
            return -1;
        EXPECT_EQ(v.vt, type);
        return static_cast<LONG>(v.ulVal);
    }
    SHORT ErrorCode()
    {
        SHORT code = -1;
        EXPECT_EQ(link->get_ErrorCode(&code), S_OK);
        return code;
    }
    long JournalCount(const std::string& start) const
    {
        std::ifstream file(journal);
        long count = 0;
        for (std::string line; std::getline(file, line);)
            count += line.rfind(start, 0) == 0 ? 1 : 0;
        return count;
    }

    std::filesystem::path journal;
    ComPtr<IVrnSer> link;
};

} // namespace

TEST_F(VrnSerCanUsbTest, ParametersBitsAndMemoryWordsTravelAsSdoTransfers)
{
    ASSERT_EQ(Init("VrnSer:5,200#CANUSB:0,500000,0"), S_OK);

    ASSERT_EQ(Put(10, 0, VT_UI2, 0x1234), S_OK);
    EXPECT_EQ(Get(10, 0, VT_UI2), 0x1234);
    ASSERT_EQ(Put(20, 0, VT_UI4, 0x12345678), S_OK);
    EXPECT_EQ(Get(20, 0, VT_UI4), 0x12345678);
    ASSERT_EQ(Put(30, 0, VT_I1, -2), S_OK);
    EXPECT_EQ(Get(30, 0, VT_UI1), 0xFE);

    ASSERT_EQ(Put(2, 9, VT_BOOL, 1), S_OK);
    ASSERT_EQ(Put(2, 3, VT_BOOL, 1), S_OK);
    EXPECT_EQ(Get(2, 9, VT_BOOL), 1);
    ASSERT_EQ(Put(2, 3, VT_BOOL, 0), S_OK);
    EXPECT_EQ(Get(2, 3, VT_BOOL), 0);
    EXPECT_EQ(Get(2, 0, VT_UI2), 0x200) << "each bit write changes only its own bit";

    ASSERT_EQ(Put(0x4010, 0, VT_UI2, 0xABCD), S_OK);
    EXPECT_EQ(Get(0x4010, 0, VT_UI2), 0xABCD);
    EXPECT_EQ(Get(10, 0, VT_UI2), 0x1234) << "memory words are not parameters";

    EXPECT_EQ(ErrorCode(), DLE_OK);
    EXPECT_GT(JournalCount("filter add"), 0);
    EXPECT_EQ(JournalCount("filter add"), JournalCount("filter remove")) << "each call removes its filter";
}

TEST_F(VrnSerCanUsbTest, RefusalsAndFailedTransfersKeepTheErrorCode)
{
    ASSERT_EQ(Init("VrnSer:5,200#CANUSB:0,500000,0"), S_OK);
    EXPECT_EQ(Get(10, 0, VT_R8), -1);
    EXPECT_EQ(ErrorCode(), DLE_BAD_TYPE) << "a width no transfer carries";

    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(link->get_Par(300, 0, VT_UI2, &v), E_INVALIDARG) << "beyond the highest subindex";
    EXPECT_EQ(link->get_Par(0x4000 + 255, 0, VT_UI2, &v), E_INVALIDARG);
    EXPECT_EQ(Put(300, 0, VT_UI2, 1), E_INVALIDARG);
    EXPECT_EQ(ErrorCode(), DLE_BAD_TYPE);
    EXPECT_EQ(Put(254, 0, VT_UI2, 7), S_OK) << "the last object number";
    EXPECT_EQ(Get(254, 0, VT_UI2), 7);

    ASSERT_EQ(Init("VrnSer:6,200#CANUSB:0,500000,0"), S_OK);
    EXPECT_EQ(link->get_Par(10, 0, VT_UI2, &v), VRNSER_E_TRANSFER) << "no node 6 answers";
    EXPECT_EQ(Put(10, 0, VT_UI2, 1), VRNSER_E_TRANSFER);
    EXPECT_EQ(ErrorCode(), DLE_BAD_TYPE);

    ASSERT_EQ(Init("VrnSer:200,200#CANUSB:0,500000,0"), S_OK);
    EXPECT_EQ(Put(10, 0, VT_UI2, 1), E_INVALIDARG) << "no node number";
    EXPECT_EQ(ErrorCode(), DLE_BAD_INDEX);
}
