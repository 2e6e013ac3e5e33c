// CANopen SDO answers: every message the node sends comes from the input, eight bytes each, for an
// upload into a buffer, a read into a VARIANT and a download.
#include "FuzzInput.h"

#include <protocol/CanMessagePort.h>
#include <protocol/CanOpenProt.h>

#include <com/Variant.h>

#include <algorithm>
#include <vector>

namespace
{
class InputPort : public CCanMessagePort
{
public:
    explicit InputPort(fuzz::InputBytes& input) : m_input(input) {}
    BOOL lock(DWORD) override { return TRUE; }
    BOOL unlock() override { return TRUE; }
    BOOL reset() override { return TRUE; }
    BOOL WriteMsg(DWORD, const BYTE*, LONG) override { return TRUE; }
    BOOL ReadMsg(DWORD* id, BYTE* data, LONG* length, WORD) override
    {
        if (m_input.Empty())
            return FALSE;
        const BYTE control = m_input.Byte();
        *id = CCanOpenProt::AnswerBase + (control & 0x80 ? 1 : 2);
        *length = control % 10;
        for (LONG i = 0; i < CCanMessagePort::MaxMessageLength; ++i)
            data[i] = m_input.Byte();
        return TRUE;
    }
    BOOL AddMessageFilter(LONG, LONG) override { return TRUE; }
    BOOL RemMessageFilter(LONG, LONG) override { return TRUE; }

private:
    fuzz::InputBytes& m_input;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::InputBytes input(data, size);
    InputPort port(input);
    CCanOpenProt sdo(&port);
    sdo.SetAddress(1);
    std::vector<BYTE> buffer(1 + input.Byte() * 4);
    DWORD length = static_cast<DWORD>(buffer.size());
    sdo.UploadData(0x2000, 1, buffer.data(), &length);
    VARIANT value;
    VariantInit(&value);
    sdo.RdPar(0x2001, 0, value);
    VariantClear(&value);
    const BYTE bytes[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    sdo.DownloadData(0x2002, 0, bytes, sizeof bytes);
    return 0;
}
