// The protocol object's error codes and its own HRESULTs.
#pragma once

#include <com/ComBase.h>

enum DEVLINK_ERR : short
{
    DLE_OK = 0,
    DLE_NO_REPLY = 1,       // no reply, too little of one, or no write acknowledge
    DLE_BAD_TYPE = 2,       // width or VARIANT type not supported
    DLE_PORT_BUSY = 3,      // the port lock was not obtained
    DLE_BAD_REPLY = 4,      // reply does not match the request
    DLE_CHECKSUM = 5,       // binary reply checksum wrong
    DLE_BAD_INDEX = 6,      // parameter, bit or drive address out of range
    DLE_OTHER_ADDRESS = 7,  // a write acknowledged by another address
    DLE_BAD_PORT = 8,       // port number out of 1..255
    DLE_BAD_BAUD = 9,       // baud rate or CAN bit rate, or a CAN-USB part without three values
    DLE_BAD_FRAME = 10,     // parity, data bits or stop bits
    DLE_NO_SETTINGS = 11,   // no settings string
    DLE_NOT_OPEN = 12,      // no port client
    DLE_OPEN_FAILED = 13,   // opening the port failed
    DLE_BAD_PORT_KIND = 14, // port kind missing or unknown
    DLE_BAD_PROTOCOL = 15,  // protocol part missing or not "VrnSer"
};

constexpr HRESULT VRNSER_E_NOT_OPEN = MakeHResult(0x80040500u);
constexpr HRESULT VRNSER_E_TRANSFER = MakeHResult(0x80040501u);
constexpr HRESULT VRNSER_E_OPEN_FAILED = MakeHResult(0x80040502u);
constexpr HRESULT VRNSER_E_NO_SETTINGS = MakeHResult(0x80040503u);
