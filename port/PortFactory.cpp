// One client kind per open-string kind.
#include "PortFactory.h"

#include "ComCan.h"
#include "ComCanPC.h"
#include "ComDP.h"
#include "ComModem.h"
#include "ComNet.h"
#include "ComPC.h"
#include "ComSer.h"
#include "ComSocket.h"
#include "ComTcpIp.h"
#include "OpenString.h"

namespace
{

using namespace lanyard;

struct ClientBuilder
{
    std::unique_ptr<ComPort> operator()(const SerialRequest& r) const
    {
        return std::make_unique<ComSer>(r.port, r.baud, r.bits, r.parity, r.stop);
    }
    std::unique_ptr<ComPort> operator()(const ModemRequest& r) const
    {
        return std::make_unique<ComModem>(r.line.port, r.line.baud, r.line.bits, r.line.parity, r.line.stop,
                                          r.dial.c_str());
    }
    std::unique_ptr<ComPort> operator()(const CanRequest& r) const
    {
        return std::make_unique<ComCan>(r.bitrate);
    }
    std::unique_ptr<ComPort> operator()(const CanPCRequest& r) const
    {
        return std::make_unique<ComCanPC>(static_cast<unsigned char>(r.adapter), r.first, r.second, r.usb);
    }
    std::unique_ptr<ComPort> operator()(const NetRequest& r) const
    {
        return std::make_unique<ComNet>(r.text.c_str());
    }
    std::unique_ptr<ComPort> operator()(const TcpIpRequest& r) const
    {
        return std::make_unique<ComTcpIp>(r.text.c_str());
    }
    std::unique_ptr<ComPort> operator()(const SocketRequest& r) const
    {
        return std::make_unique<ComSocket>(r.first.c_str(), r.second.c_str());
    }
    std::unique_ptr<ComPort> operator()(const DPRequest& r) const { return std::make_unique<ComDP>(r.debug); }
    std::unique_ptr<ComPort> operator()(const PCRequest& r) const
    {
        return std::make_unique<ComPC>(r.number);
    }
};

} // namespace

bool PortFactory::Open(const std::string& text)
{
    Close();
    const auto parts = SplitOpenString(text);
    if (!parts)
        return false;
    m_kind = parts->kind;
    m_fields = parts->fields;
    const auto request = ReadPortRequest(*parts);
    if (!request)
        return false;
    m_port = std::visit(ClientBuilder{}, *request);
    if (m_port->com_ok())
        return true;
    m_port.reset();
    return false;
}

void PortFactory::Close()
{
    m_port.reset();
}
