// CANopen SDO client: expedited and segmented download and upload of one node's objects.
#include "CanOpenProt.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

namespace
{

struct AbortEntry
{
    DWORD abortCode;
    C_ERRO result;
};

constexpr AbortEntry AbortTable[] = {
    {0x05030000, 800}, {0x05040000, 801}, {0x05040001, 802}, {0x05040002, 803}, {0x05040003, 804},
    {0x05040004, 805}, {0x05040005, 806}, {0x06010000, 807}, {0x06010001, 809}, {0x06010002, 810},
    {0x06020000, 811}, {0x06040041, 812}, {0x06040042, 813}, {0x06040043, 814}, {0x06040047, 815},
    {0x06060000, 816}, {0x06070010, 817}, {0x06070012, 818}, {0x06070013, 819}, {0x06090011, 820},
    {0x06090030, 821}, {0x06090031, 822}, {0x06090032, 823}, {0x06090036, 824}, {0x08000000, 825},
    {0x08000020, 826}, {0x08000021, 827}, {0x08000022, 828}, {0x08000023, 829},
};

constexpr bool InRange(BYTE value, BYTE low, BYTE high) noexcept
{
    return value >= low && value <= high;
}
constexpr bool IsAbort(BYTE command) noexcept
{
    return InRange(command, 0x80, 0x9F);
}
constexpr BYTE ToggleOf(BYTE command) noexcept
{
    return (command >> 4) & 1;
}

// Holds the port lock for one whole transfer and empties the queues first.
class PortTransaction
{
public:
    PortTransaction(CCanMessagePort* port, DWORD timeout)
        : m_port(port), m_locked(port != nullptr && port->lock(timeout))
    {
        if (m_locked)
            m_port->reset();
    }
    PortTransaction(const PortTransaction&) = delete;
    PortTransaction& operator=(const PortTransaction&) = delete;
    ~PortTransaction()
    {
        if (m_locked)
            m_port->unlock();
    }
    bool Locked() const noexcept { return m_locked; }

private:
    CCanMessagePort* m_port;
    bool m_locked;
};

// Cuts a text to at most limit bytes without splitting a UTF-8 sequence.
size_t CutUtf8(const std::string& text, size_t limit)
{
    if (text.size() <= limit)
        return text.size();
    size_t cut = limit;
    while (cut > 0 && (static_cast<BYTE>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

} // namespace

CCanOpenProt::CCanOpenProt() : CCanOpenProt(nullptr) {}

CCanOpenProt::CCanOpenProt(CCanMessagePort* port)
    : m_port(port), m_uploadBuffer(BufferSize), m_downloadBuffer(BufferSize)
{
}

CCanOpenProt::CCanOpenProt(const CCanOpenProt& other)
    : m_byteCount(other.m_byteCount), m_timeOut(other.m_timeOut), m_node(other.m_node), m_port(other.m_port),
      m_uploadBuffer(other.m_uploadBuffer), m_downloadBuffer(other.m_downloadBuffer),
      m_downloadState(other.m_downloadState), m_uploadState(other.m_uploadState)
{
    AddFilter();
}

CCanOpenProt& CCanOpenProt::operator=(const CCanOpenProt& other)
{
    if (this == &other)
        return *this;
    RemoveFilter();
    m_byteCount = other.m_byteCount;
    m_timeOut = other.m_timeOut;
    m_node = other.m_node;
    m_port = other.m_port;
    m_uploadBuffer = other.m_uploadBuffer;
    m_downloadBuffer = other.m_downloadBuffer;
    m_downloadState = other.m_downloadState;
    m_uploadState = other.m_uploadState;
    AddFilter();
    return *this;
}

CCanOpenProt::~CCanOpenProt()
{
    RemoveFilter();
}

void CCanOpenProt::AddFilter()
{
    if (m_port && m_node != NoNode)
        m_port->AddMessageFilter(IdentifierMask, static_cast<LONG>(AnswerBase + m_node));
}

void CCanOpenProt::RemoveFilter()
{
    if (m_port && m_node != NoNode)
        m_port->RemMessageFilter(IdentifierMask, static_cast<LONG>(AnswerBase + m_node));
}

C_ERRO CCanOpenProt::SetAddress(BYTE node)
{
    RemoveFilter();
    m_node = node;
    AddFilter();
    return C_ERRO_OK;
}

C_ERRO CCanOpenProt::GetAddress(WORD* node) const
{
    *node = m_node;
    return C_ERRO_OK;
}

void CCanOpenProt::SetComm(CCanMessagePort* port)
{
    RemoveFilter();
    m_port = port;
    AddFilter();
}

C_ERRO CCanOpenProt::Exchange(const SDO_PROT& request, SDO_PROT& answer)
{
    // A request that cannot be sent gets no answer either.
    if (!m_port->WriteMsg(RequestBase + m_node, request.bytes, sizeof(request.bytes)))
        return C_ERRO_TIMEOUT;
    DWORD id = 0;
    LONG length = 0;
    answer = SDO_PROT{};
    if (!m_port->ReadMsg(&id, answer.bytes, &length, m_timeOut))
        return C_ERRO_TIMEOUT;
    return length == static_cast<LONG>(sizeof(answer.bytes)) ? C_ERRO_OK : C_ERRO_LENGTH;
}

C_ERRO CCanOpenProt::DecodeAbtCode(DWORD abortCode)
{
    const auto entry = std::find_if(std::begin(AbortTable), std::end(AbortTable),
                                    [abortCode](const AbortEntry& e) { return e.abortCode == abortCode; });
    return entry != std::end(AbortTable) ? entry->result : C_ERRO_ABORT_GENERAL;
}

C_ERRO CCanOpenProt::SdoAbortRsp(const SDO_PROT& answer)
{
    return DecodeAbtCode(answer.Value());
}

DWORD CCanOpenProt::GetVariantDataLen(VARTYPE type)
{
    switch (type)
    {
    case VT_I2:
    case VT_UI2:
        return 2;
    case VT_I4:
    case VT_R4:
    case VT_UI4:
        return 4;
    case VT_R8:
        return 8;
    case VT_BOOL:
    case VT_I1:
    case VT_UI1:
        return 1;
    default:
        return 0;
    }
}

VARTYPE CCanOpenProt::GetVariantDataType(DWORD length)
{
    switch (length)
    {
    case 1:
        return VT_UI1;
    case 2:
        return VT_UI2;
    case 4:
        return VT_UI4;
    default:
        return VT_EMPTY;
    }
}

// Download

SDO_PROT CCanOpenProt::SdoInitateDownload(WORD index, BYTE subindex, const BYTE* data, DWORD length)
{
    if (length >= 5)
        return SDO_PROT::Initiate(0x21, index, subindex, length);
    DWORD value = 0;
    for (DWORD i = 0; i < length; ++i)
        value |= static_cast<DWORD>(data[i]) << (8 * i);
    return SDO_PROT::Initiate(static_cast<BYTE>(0x23 + 4 * (4 - length)), index, subindex, value);
}

C_ERRO CCanOpenProt::SdoInitiateDownloadRsp(const SDO_PROT& request, const SDO_PROT& answer)
{
    const BYTE command = answer.Command();
    if (!InRange(command, 0x60, 0x7F) && !IsAbort(command))
        return C_ERRO_COMMAND;
    if (!answer.SameObject(request))
        return C_ERRO_OBJECT;
    return IsAbort(command) ? SdoAbortRsp(answer) : C_ERRO_OK;
}

SDO_PROT CCanOpenProt::SdoSegmentDownload(const BYTE* data, DWORD length, bool& last) const
{
    const DWORD count = std::min<DWORD>(SDO_PROT::SegmentCapacity, length - m_downloadState.position);
    last = m_downloadState.position + count == length;
    SDO_PROT segment;
    segment.bytes[0] = static_cast<BYTE>(m_downloadState.toggle << 4 |
                                         (SDO_PROT::SegmentCapacity - count) << 1 | (last ? 1 : 0));
    std::memcpy(segment.SegmentData(), data + m_downloadState.position, count);
    return segment;
}

C_ERRO CCanOpenProt::SdoSegmentDownloadRsp(const SDO_PROT& answer) const
{
    const BYTE command = answer.Command();
    if (IsAbort(command))
        return SdoAbortRsp(answer);
    if (!InRange(command, 0x20, 0x3F))
        return C_ERRO_COMMAND;
    return ToggleOf(command) == m_downloadState.toggle ? C_ERRO_OK : C_ERRO_TOGGLE;
}

C_ERRO CCanOpenProt::DownloadData(WORD index, BYTE subindex, const BYTE* data, DWORD length)
{
    m_byteCount = 0;
    // A node cannot take an empty value; an expedited request would announce a negative size.
    if (data == nullptr || length == 0)
        return C_ERRO_ABORT_LENGTH_TOO_LOW;
    const SDO_PROT request = SdoInitateDownload(index, subindex, data, length);
    const PortTransaction transaction(m_port, LockTimeOut);
    if (!transaction.Locked())
        return C_ERRO_LOCK;
    SDO_PROT answer;
    C_ERRO result = Exchange(request, answer);
    if (result == C_ERRO_OK)
        result = SdoInitiateDownloadRsp(request, answer);
    if (result != C_ERRO_OK || length < 5)
        return result;

    m_downloadState = SegmentState{};
    for (;;)
    {
        bool last = false;
        const SDO_PROT segment = SdoSegmentDownload(data, length, last);
        result = Exchange(segment, answer);
        if (result == C_ERRO_OK)
            result = SdoSegmentDownloadRsp(answer);
        if (result != C_ERRO_OK)
            return result;
        const DWORD count = SDO_PROT::SegmentCapacity - ((segment.Command() >> 1) & 7);
        m_downloadState.position += count;
        m_downloadState.done += count;
        m_byteCount = static_cast<int>(m_downloadState.done);
        if (last)
            return C_ERRO_OK;
        m_downloadState.toggle ^= 1;
    }
}

// Upload

SDO_PROT CCanOpenProt::SdoInitateUpload(WORD index, BYTE subindex)
{
    return SDO_PROT::Initiate(0x40, index, subindex, 0);
}

C_ERRO CCanOpenProt::SdoInitateUploadRsp(const SDO_PROT& request, const SDO_PROT& answer)
{
    const BYTE command = answer.Command();
    if (!InRange(command, 0x40, 0x5F) && !IsAbort(command))
        return C_ERRO_COMMAND;
    if (!answer.SameObject(request))
        return C_ERRO_OBJECT;
    return IsAbort(command) ? SdoAbortRsp(answer) : C_ERRO_OK;
}

SDO_PROT CCanOpenProt::SdoSegmentUpload() const
{
    SDO_PROT request;
    request.bytes[0] = static_cast<BYTE>(0x60 | m_uploadState.toggle << 4);
    return request;
}

C_ERRO CCanOpenProt::SdoSegmentUploadRsp(const SDO_PROT& answer, BYTE* buffer, DWORD size, bool& last)
{
    const BYTE command = answer.Command();
    if (IsAbort(command))
        return SdoAbortRsp(answer);
    if (!InRange(command, 0x00, 0x1F))
        return C_ERRO_COMMAND;
    if (ToggleOf(command) != m_uploadState.toggle)
        return C_ERRO_TOGGLE;
    const DWORD count = SDO_PROT::SegmentCapacity - ((command >> 1) & 7);
    // More than announced would run past the caller's buffer.
    if (m_uploadState.done + count > size)
        return C_ERRO_SIZE;
    std::memcpy(buffer + m_uploadState.position, answer.SegmentData(), count);
    m_uploadState.position += count;
    m_uploadState.done += count;
    m_byteCount = static_cast<int>(m_uploadState.done);
    last = (command & 1) != 0;
    return C_ERRO_OK;
}

C_ERRO CCanOpenProt::UploadData(WORD index, BYTE subindex, BYTE* buffer, DWORD* length)
{
    m_byteCount = 0;
    const DWORD capacity = *length;
    *length = 0;
    const SDO_PROT request = SdoInitateUpload(index, subindex);
    const PortTransaction transaction(m_port, LockTimeOut);
    if (!transaction.Locked())
        return C_ERRO_LOCK;
    SDO_PROT answer;
    C_ERRO result = Exchange(request, answer);
    if (result == C_ERRO_OK)
        result = SdoInitateUploadRsp(request, answer);
    if (result != C_ERRO_OK)
        return result;

    const BYTE command = answer.Command();
    if (command & 0x02)
    {
        const DWORD size = (command & 0x01) ? 4 - ((command >> 2) & 3) : 4;
        if (size > capacity)
            return C_ERRO_LENGTH;
        std::memcpy(buffer, answer.bytes + 4, size);
        *length = size;
        return C_ERRO_OK;
    }
    if (!(command & 0x01))
        return C_ERRO_FORM;

    const DWORD size = answer.Value();
    if (size > capacity)
        return C_ERRO_LENGTH;
    m_uploadState = SegmentState{};
    for (;;)
    {
        bool last = false;
        result = Exchange(SdoSegmentUpload(), answer);
        if (result == C_ERRO_OK)
            result = SdoSegmentUploadRsp(answer, buffer, size, last);
        *length = m_uploadState.done;
        if (result != C_ERRO_OK)
            return result;
        if (last)
            return m_uploadState.done == size ? C_ERRO_OK : C_ERRO_SIZE;
        m_uploadState.toggle ^= 1;
    }
}

// VARIANT transfers

C_ERRO CCanOpenProt::RdPar(WORD index, BYTE subindex, VARIANT& value)
{
    const DWORD width = GetVariantDataLen(value.vt);
    // One byte stays free for the terminating zero of a text.
    DWORD received = width != 0 ? width : BufferSize - 1;
    std::fill_n(m_uploadBuffer.begin(), width, BYTE{0});
    const C_ERRO result = UploadData(index, subindex, m_uploadBuffer.data(), &received);
    if (result != C_ERRO_OK)
        return result;
    if (value.vt == VT_EMPTY)
        value.vt = GetVariantDataType(received);
    if (value.vt == VT_BSTR)
    {
        m_uploadBuffer[received] = 0;
        const auto* text = reinterpret_cast<const char*>(m_uploadBuffer.data());
        VariantClear(&value);
        value.vt = VT_BSTR;
        value.bstrVal = tvsk::com::BstrFromUtf8(std::string_view(text, std::strlen(text)));
        return C_ERRO_OK;
    }
    const DWORD storeWidth = GetVariantDataLen(value.vt);
    if (storeWidth == 0)
        return C_ERRO_TYPE;
    value.llVal = 0;
    std::memcpy(&value.llVal, m_uploadBuffer.data(), storeWidth);
    return C_ERRO_OK;
}

C_ERRO CCanOpenProt::WrPar(WORD index, BYTE subindex, const VARIANT& value)
{
    DWORD length = 0;
    if (value.vt == VT_BSTR)
    {
        const std::string text = tvsk::com::Utf8FromBstr(value.bstrVal);
        const size_t kept = CutUtf8(text, BufferSize - 1);
        std::memcpy(m_downloadBuffer.data(), text.data(), kept);
        m_downloadBuffer[kept] = 0;
        length = static_cast<DWORD>(kept + 1);
    }
    else
    {
        length = GetVariantDataLen(value.vt);
        if (length == 0)
            return C_ERRO_TYPE;
        std::memcpy(m_downloadBuffer.data(), &value.llVal, length);
    }
    return DownloadData(index, subindex, m_downloadBuffer.data(), length);
}
