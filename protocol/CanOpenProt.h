// CANopen SDO client: expedited and segmented download and upload of one node's objects.
#pragma once

#include <protocol/CanMessagePort.h>
#include <protocol/SdoProt.h>

#include <com/Variant.h>

#include <vector>

// Result of an SDO transfer: 0 done, 800..829 the node's abort codes, 850.. protocol errors.
using C_ERRO = int;

enum : C_ERRO
{
    C_ERRO_OK = 0,
    // RdPar and WrPar: the VARIANT's type cannot be transferred.
    C_ERRO_TYPE = 1,
    C_ERRO_ABORT_LENGTH_TOO_LOW = 819,
    C_ERRO_ABORT_GENERAL = 825,
    C_ERRO_FORM = 850,
    C_ERRO_LENGTH = 851,
    C_ERRO_COMMAND = 852,
    C_ERRO_OBJECT = 853,
    C_ERRO_TOGGLE = 854,
    C_ERRO_SIZE = 855,
    C_ERRO_LOCK = 900,
    C_ERRO_TIMEOUT = 910,
};

class CCanOpenProt
{
public:
    static constexpr BYTE NoNode = 255;
    static constexpr WORD DefaultTimeOut = 1000;
    static constexpr DWORD BufferSize = 65536;
    static constexpr DWORD RequestBase = 0x600;
    static constexpr DWORD AnswerBase = 0x580;
    static constexpr LONG IdentifierMask = 0x7FF;
    static constexpr DWORD LockTimeOut = 2000;

    CCanOpenProt();
    explicit CCanOpenProt(CCanMessagePort* port);
    // A copy takes its own answer filter on the port, so each object removes only its own.
    CCanOpenProt(const CCanOpenProt& other);
    CCanOpenProt& operator=(const CCanOpenProt& other);
    ~CCanOpenProt();

    // Moves the answer filter of the port to the new node.
    C_ERRO SetAddress(BYTE node);
    C_ERRO GetAddress(WORD* node) const;
    void SetTimeOut(WORD milliseconds) { m_timeOut = milliseconds; }
    WORD GetTimeOut() const { return m_timeOut; }
    // The port is not owned; the answer filter moves with the object to the new port.
    void SetComm(CCanMessagePort* port);
    CCanMessagePort* GetCom() const { return m_port; }

    // Upload into value; a VT_EMPTY value takes the type of the received length. C_ERRO_TYPE for
    // a type that cannot hold the data.
    C_ERRO RdPar(WORD index, BYTE subindex, VARIANT& value);
    // Download of the value's bytes (a text with its terminating zero).
    C_ERRO WrPar(WORD index, BYTE subindex, const VARIANT& value);
    C_ERRO DownloadData(WORD index, BYTE subindex, const BYTE* data, DWORD length);
    // On entry *length is the buffer's capacity, on return the number of bytes received.
    C_ERRO UploadData(WORD index, BYTE subindex, BYTE* buffer, DWORD* length);

private:
    // Where a segmented transfer stands.
    struct SegmentState
    {
        DWORD position = 0;
        DWORD done = 0;
        BYTE toggle = 0;
    };

    static SDO_PROT SdoInitateDownload(WORD index, BYTE subindex, const BYTE* data, DWORD length);
    static C_ERRO SdoInitiateDownloadRsp(const SDO_PROT& request, const SDO_PROT& answer);
    SDO_PROT SdoSegmentDownload(const BYTE* data, DWORD length, bool& last) const;
    C_ERRO SdoSegmentDownloadRsp(const SDO_PROT& answer) const;
    static SDO_PROT SdoInitateUpload(WORD index, BYTE subindex);
    static C_ERRO SdoInitateUploadRsp(const SDO_PROT& request, const SDO_PROT& answer);
    SDO_PROT SdoSegmentUpload() const;
    C_ERRO SdoSegmentUploadRsp(const SDO_PROT& answer, BYTE* buffer, DWORD size, bool& last);
    static C_ERRO SdoAbortRsp(const SDO_PROT& answer);
    static C_ERRO DecodeAbtCode(DWORD abortCode);
    static DWORD GetVariantDataLen(VARTYPE type);
    static VARTYPE GetVariantDataType(DWORD length);

    // Sends the request to the node and takes its one answer.
    C_ERRO Exchange(const SDO_PROT& request, SDO_PROT& answer);
    void AddFilter();
    void RemoveFilter();

    int m_byteCount = 0;
    WORD m_timeOut = DefaultTimeOut;
    BYTE m_node = NoNode;
    CCanMessagePort* m_port = nullptr;
    std::vector<BYTE> m_uploadBuffer;
    std::vector<BYTE> m_downloadBuffer;
    SegmentState m_downloadState;
    SegmentState m_uploadState;
};
