// The node side of SDO transfers, for test equipment that stands in for a drive on a CAN bus.
#include "SdoNode.h"

#include <algorithm>

std::optional<SDO_PROT> CSdoNode::Answer(const SDO_PROT& request)
{
    switch (request.Command() >> 5)
    {
    case 0:
        return DownloadSegment(request);
    case 1:
        return InitiateDownload(request);
    case 2:
        return InitiateUpload(request);
    case 3:
        return UploadSegment(request);
    case 4:
        m_session = Session::Idle;
        return std::nullopt;
    default:
        m_index = request.Index();
        m_subindex = request.Subindex();
        return Abort(AbortCommand);
    }
}

SDO_PROT CSdoNode::Abort(DWORD code)
{
    m_session = Session::Idle;
    return SDO_PROT::Initiate(0x80, m_index, m_subindex, code);
}

SDO_PROT CSdoNode::InitiateDownload(const SDO_PROT& request)
{
    m_index = request.Index();
    m_subindex = request.Subindex();
    const BYTE command = request.Command();
    if (command & 0x02)
    {
        const DWORD size = (command & 0x01) ? 4 - ((command >> 2) & 3) : 4;
        const std::vector<BYTE> data(request.bytes + 4, request.bytes + 4 + size);
        if (const DWORD abort = m_dictionary.Write(m_index, m_subindex, data))
            return Abort(abort);
        m_session = Session::Idle;
        return SDO_PROT::Initiate(0x60, m_index, m_subindex, 0);
    }
    if (!(command & 0x01))
        return Abort(AbortCommand);
    m_session = Session::Download;
    m_size = request.Value();
    m_toggle = 0;
    m_data.clear();
    return SDO_PROT::Initiate(0x60, m_index, m_subindex, 0);
}

SDO_PROT CSdoNode::DownloadSegment(const SDO_PROT& request)
{
    const BYTE command = request.Command();
    if (m_session != Session::Download)
        return Abort(AbortCommand);
    if (((command >> 4) & 1) != m_toggle)
        return Abort(AbortToggle);
    const DWORD count = SDO_PROT::SegmentCapacity - ((command >> 1) & 7);
    m_data.insert(m_data.end(), request.SegmentData(), request.SegmentData() + count);
    if (m_data.size() > m_size)
        return Abort(AbortLengthMismatch);
    SDO_PROT answer;
    answer.bytes[0] = static_cast<BYTE>(0x20 | m_toggle << 4);
    m_toggle ^= 1;
    if (command & 0x01)
    {
        if (m_data.size() != m_size)
            return Abort(AbortLengthMismatch);
        if (const DWORD abort = m_dictionary.Write(m_index, m_subindex, m_data))
            return Abort(abort);
        m_session = Session::Idle;
    }
    return answer;
}

SDO_PROT CSdoNode::InitiateUpload(const SDO_PROT& request)
{
    m_index = request.Index();
    m_subindex = request.Subindex();
    m_data.clear();
    if (const DWORD abort = m_dictionary.Read(m_index, m_subindex, m_data))
        return Abort(abort);
    const auto size = static_cast<DWORD>(m_data.size());
    if (size >= 1 && size <= 4)
    {
        m_session = Session::Idle;
        SDO_PROT answer =
            SDO_PROT::Initiate(static_cast<BYTE>(0x43 | (4 - size) << 2), m_index, m_subindex, 0);
        std::copy(m_data.begin(), m_data.end(), answer.bytes + 4);
        return answer;
    }
    m_session = Session::Upload;
    m_size = size;
    m_position = 0;
    m_toggle = 0;
    return SDO_PROT::Initiate(0x41, m_index, m_subindex, size);
}

SDO_PROT CSdoNode::UploadSegment(const SDO_PROT& request)
{
    if (m_session != Session::Upload)
        return Abort(AbortCommand);
    if (((request.Command() >> 4) & 1) != m_toggle)
        return Abort(AbortToggle);
    const DWORD count = std::min<DWORD>(SDO_PROT::SegmentCapacity, m_size - m_position);
    const bool last = m_position + count == m_size;
    SDO_PROT answer;
    answer.bytes[0] =
        static_cast<BYTE>(m_toggle << 4 | (SDO_PROT::SegmentCapacity - count) << 1 | (last ? 1 : 0));
    std::copy_n(m_data.begin() + m_position, count, answer.SegmentData());
    m_position += count;
    m_toggle ^= 1;
    if (last)
        m_session = Session::Idle;
    return answer;
}
