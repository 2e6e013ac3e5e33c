// The creatable port objects "Lanyard.Lanyard.1" and "Lanyard.Lanyard2.1" and the component's exports.
#include "Lanyard.h"
#include "LanyardPort.h"

using namespace tvsk::com;

namespace
{

// The members both interfaces share, forwarded to the port.
template <class Self, class Interface, class... Extra>
class LanyardMembers : public DispatchObject<Self, Interface, Extra...>
{
public:
    HRESULT Open(BSTR bstrOpenData) override { return m_port.Open(bstrOpenData); }
    HRESULT Close() override { return m_port.Close(); }
    HRESULT Reset() override { return m_port.Reset(); }
    HRESULT Lock() override { return m_port.Lock(); }
    HRESULT Unlock() override { return m_port.Unlock(); }
    HRESULT ReadData(SHORT* buff, LONG len, SHORT to) override { return m_port.ReadData(buff, len, to); }
    HRESULT WriteData(SHORT* buff, LONG len) override { return m_port.WriteData(buff, len); }
    HRESULT WriteVariantData(VARIANT data) override { return m_port.WriteVariantData(data); }
    HRESULT ReadVariantData(VARIANT* data, LONG to) override { return m_port.ReadVariantData(data, to); }
    HRESULT get_ErrorCode(LONG* pVal) override
    {
        if (!pVal)
            return E_POINTER;
        *pVal = m_port.ErrorCode();
        return S_OK;
    }
    HRESULT SendVariantMessage(LONG id, VARIANT msg) override { return m_port.SendVariantMessage(id, msg); }
    HRESULT ReceiveVariantMessage(LONG* id, LONG* len, VARIANT* data, LONG to) override
    {
        return m_port.ReceiveVariantMessage(id, len, data, to);
    }
    HRESULT AddMessageFilter(LONG mask, LONG filter) override
    {
        return m_port.AddMessageFilter(mask, filter);
    }
    HRESULT RemMessageFilter(LONG mask, LONG filter) override
    {
        return m_port.RemMessageFilter(mask, filter);
    }
    HRESULT RequireMessage(LONG id, LONG len) override { return m_port.RequireMessage(id, len); }
    HRESULT ReceiveVariantEvent(LONG* time, LONG* id, LONG* len, VARIANT* data, LONG to) override
    {
        return m_port.ReceiveVariantEvent(time, id, len, data, to);
    }

protected:
    // The dispatch names of the shared members, in their DISPID order.
    static DispatchTable<Self> SharedTable(const IID& iid, const char* name)
    {
        return DispatchTable<Self>(InterfaceDescription(iid, name))
            .Method(1, "Open", &Self::Open, "method Open")
            .Method(2, "Close", &Self::Close, "method Close")
            .Method(3, "Reset", &Self::Reset, "method Reset")
            .Method(4, "Lock", &Self::Lock, "method Lock")
            .Method(5, "Unlock", &Self::Unlock, "method Unlock")
            .Method(6, "ReadData", &Self::ReadData, "method ReadData")
            .Method(7, "WriteData", &Self::WriteData, "method WriteData")
            .Method(8, "WriteVariantData", &Self::WriteVariantData, "method WriteVariantData")
            .Method(9, "ReadVariantData", &Self::ReadVariantData, "method ReadVariantData")
            .Get(10, "ErrorCode", &Self::get_ErrorCode, "property ErrorCode")
            .Method(11, "SendVariantMessage", &Self::SendVariantMessage, "method SendVariantMessage")
            .Method(12, "ReceiveVariantMessage", &Self::ReceiveVariantMessage, "method ReciveVariantMessage")
            .Method(13, "AddMessageFilter", &Self::AddMessageFilter, "method AddMessageFilter")
            .Method(14, "RemMessageFilter", &Self::RemMessageFilter, "method RemMessageFilter")
            .Method(15, "RequireMessage", &Self::RequireMessage, "method RequireMessage")
            .Method(16, "ReceiveVariantEvent", &Self::ReceiveVariantEvent, "method ReciveVariantEvent")
            .Method(17, "PutProperty", &Self::PutProperty, "method PutProperty")
            .Method(18, "GetProperty", &Self::GetProperty, "method GetProperty");
    }

    LanyardPort m_port;
};

class CLanyard : public LanyardMembers<CLanyard, ILanyard, ISupportErrorInfo>
{
public:
    static const DispatchTable<CLanyard>& Dispatch()
    {
        static const DispatchTable<CLanyard> table = SharedTable(ILanyard::Iid, "ILanyard");
        return table;
    }

    // Neither needs an open port.
    HRESULT PutProperty(SHORT, VARIANT) override { return S_OK; }
    // Code 0 hands out this object.
    HRESULT GetProperty(SHORT code, VARIANT* data) override
    {
        if (code != 0 || !data)
            return E_FAIL;
        VariantClear(data);
        data->vt = VT_DISPATCH;
        data->pdispVal = static_cast<ILanyard*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override { return iid == ILanyard::Iid ? S_OK : S_FALSE; }
};

class CLanyard2 : public LanyardMembers<CLanyard2, ILanyard2>
{
public:
    static const DispatchTable<CLanyard2>& Dispatch()
    {
        static const DispatchTable<CLanyard2> table =
            SharedTable(ILanyard2::Iid, "ILanyard2")
                .Method(19, "Flush", &CLanyard2::Flush, "method Flush")
                .Method(20, "Command", &CLanyard2::Command, "method Command");
        return table;
    }

    HRESULT PutProperty(SHORT code, VARIANT data) override { return m_port.PutPortProperty(code, data); }
    HRESULT GetProperty(SHORT code, VARIANT* data) override { return m_port.GetPortProperty(code, data); }
    HRESULT Flush() override { return m_port.Flush(); }
    HRESULT Command(LONG cmd, VARIANT*) override { return m_port.Command(cmd); }
};

const ComClass kClasses[] = {
    {CLSID_Lanyard, "Lanyard Class", "Lanyard.Lanyard.1", "Lanyard.Lanyard", true, "Apartment",
     &LIBID_LANYARDLib, true, &CreateObject<CLanyard>},
    {CLSID_Lanyard2, "Lanyard2 Class", "Lanyard.Lanyard2.1", "Lanyard.Lanyard2", false, "both", nullptr,
     false, &CreateObject<CLanyard2>},
};
const TypeLibrary kLibrary{LIBID_LANYARDLib, "1.0", "Lanyard 1.0 Type Library"};

} // namespace

TVSK_COM_MODULE_EXPORTS(kClasses, &kLibrary)
