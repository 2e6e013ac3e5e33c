// The node side of SDO transfers, for test equipment that stands in for a drive on a CAN bus.
#pragma once

#include <protocol/SdoProt.h>

#include <optional>
#include <vector>

// The objects a simulated node offers; each call returns 0 or an SDO abort code.
class CSdoObjectDictionary
{
public:
    virtual ~CSdoObjectDictionary() = default;
    virtual DWORD Read(WORD index, BYTE subindex, std::vector<BYTE>& data) = 0;
    virtual DWORD Write(WORD index, BYTE subindex, const std::vector<BYTE>& data) = 0;
};

// Answers one request at a time, keeping the state of a segmented transfer between requests.
class CSdoNode
{
public:
    static constexpr DWORD AbortToggle = 0x05030000;
    static constexpr DWORD AbortCommand = 0x05040001;
    static constexpr DWORD AbortLengthMismatch = 0x06070010;

    explicit CSdoNode(CSdoObjectDictionary& dictionary) : m_dictionary(dictionary) {}

    // The answer to a request, none to a client's abort.
    std::optional<SDO_PROT> Answer(const SDO_PROT& request);

private:
    enum class Session
    {
        Idle,
        Download,
        Upload
    };

    SDO_PROT InitiateDownload(const SDO_PROT& request);
    SDO_PROT DownloadSegment(const SDO_PROT& request);
    SDO_PROT InitiateUpload(const SDO_PROT& request);
    SDO_PROT UploadSegment(const SDO_PROT& request);
    SDO_PROT Abort(DWORD code);

    CSdoObjectDictionary& m_dictionary;
    Session m_session = Session::Idle;
    WORD m_index = 0;
    BYTE m_subindex = 0;
    BYTE m_toggle = 0;
    DWORD m_size = 0;
    DWORD m_position = 0;
    std::vector<BYTE> m_data;
};
