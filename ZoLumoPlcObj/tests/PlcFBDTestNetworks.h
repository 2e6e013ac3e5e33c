// Hand-built FBD and ladder networks, and a dump reader, for the object model tests.
#pragma once

#include <ZoLumoPlcObj/PlcFBDBlocks.h>
#include <ZoLumoPlcObj/PlcFBDCode.h>
#include <ZoLumoPlcObj/PlcFBDConnectionNetwork.h>
#include <ZoLumoPlcObj/PlcFBDElements.h>
#include <ZoLumoPlcObj/PlcLDElements.h>
#include <ZoLumoPlcObj/PlcLDNetwork.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace plctest
{
// Opens the protected network passes to the tests.
class FBDNet : public CPlcFBDNetwork
{
public:
    using CPlcFBDNetwork::CalculateFeedbacks;
    using CPlcFBDNetwork::CheckObjectsConnections;
    using CPlcFBDNetwork::FindCrossPin;
    using CPlcFBDNetwork::FindFBDObject;
    using CPlcFBDNetwork::ResolvePinConnection;
    using CPlcFBDNetwork::UpdateConnectionNetworks;
};

class LDNet : public CPlcLDNetwork
{
public:
    using CPlcLDNetwork::CheckObjectsConnections;
    using CPlcLDNetwork::ResolvePinConnection;
};

inline void Refer(CPlcFBDPin& pin, const char* id, int type)
{
    pin.m_strConnectedID = id;
    pin.m_nConnectedType = type;
}

template <class Block>
Block* AddBlock(CPlcFBDNetwork& net, const char* id, const char* name, int x = 0, int y = 0)
{
    auto* block = new Block;
    block->m_strID = id;
    block->m_strBlockName = name;
    block->m_bValid = true;
    block->m_nX = x;
    block->m_nY = y;
    net.AddNetworkObject(block);
    return block;
}

inline CPlcFBDPin* AddPin(CPlcFBDExeObject* block, const char* id, int direction, const char* to = "",
                          int toType = FBD_UNKNOWN)
{
    auto* pin = new CPlcFBDPin(direction);
    pin->m_strID = id;
    pin->m_pParent = block;
    Refer(*pin, to, toType);
    (direction == CPlcFBDPin::DIR_OUT ? block->m_Outputs : block->m_Inputs).AddTail(pin);
    return pin;
}

inline CPlcFBDVariable* AddVariable(CPlcFBDNetwork& net, const char* id, const char* name, const char* to,
                                    int direction = CPlcFBDPin::DIR_PASS)
{
    auto* variable = new CPlcFBDVariable;
    variable->m_strID = id;
    variable->m_strVarName = name;
    variable->m_bValid = true;
    variable->m_Pin.m_pParent = variable;
    variable->m_Pin.m_nDirection = direction;
    Refer(variable->m_Pin, to, to[0] ? FBD_CONNECTION : FBD_UNKNOWN);
    net.AddNetworkObject(variable);
    return variable;
}

inline CPlcFBDConst* AddConst(CPlcFBDNetwork& net, const char* id, const char* value, const char* to)
{
    auto* constant = new CPlcFBDConst;
    constant->m_strID = id;
    constant->m_strValue = value;
    constant->m_bValid = true;
    constant->m_Pin.m_pParent = constant;
    Refer(constant->m_Pin, to, FBD_CONNECTION);
    net.AddNetworkObject(constant);
    return constant;
}

inline CPlcFBDConnection* AddConnection(CPlcFBDNetwork& net, const char* id, const char* from, int fromType,
                                        const char* to, int toType)
{
    auto* connection = new CPlcFBDConnection;
    connection->m_strID = id;
    connection->m_StartPin.m_pParent = connection;
    connection->m_EndPin.m_pParent = connection;
    Refer(connection->m_StartPin, from, fromType);
    Refer(connection->m_EndPin, to, toType);
    net.AddNetworkObject(connection);
    return connection;
}

// Sides are given top, bottom, left, right; an empty text leaves the side open.
inline CPlcFBDCross* AddCross(CPlcFBDNetwork& net, const char* id, const char* top, const char* bottom,
                              const char* left, const char* right)
{
    auto* cross = new CPlcFBDCross;
    cross->m_strID = id;
    CPlcFBDPin* pins[] = {&cross->m_TopPin, &cross->m_BottomPin, &cross->m_LeftPin, &cross->m_RightPin};
    const char* sides[] = {top, bottom, left, right};
    for (int i = 0; i < 4; ++i)
    {
        pins[i]->m_pParent = cross;
        Refer(*pins[i], sides[i], sides[i][0] ? FBD_CONNECTION : FBD_UNKNOWN);
    }
    net.AddNetworkObject(cross);
    return cross;
}

inline CPlcLDPowerRail* AddRail(CPlcLDNetwork& net, const char* id, int side, const char* to)
{
    auto* rail = new CPlcLDPowerRail;
    rail->m_strID = id;
    rail->m_nSide = side;
    auto* pin = new CPlcFBDPin(side == CPlcLDPowerRail::SIDE_LEFT ? CPlcFBDPin::DIR_OUT : CPlcFBDPin::DIR_IN);
    pin->m_strID = "0";
    pin->m_pParent = rail;
    Refer(*pin, to, FBD_CONNECTION);
    rail->m_Pins.AddTail(pin);
    net.AddNetworkObject(rail);
    return rail;
}

template <class Element>
Element* AddElement(CPlcLDNetwork& net, const char* id, const char* name, int kind, const char* in,
                    const char* out)
{
    auto* element = new Element;
    element->m_strID = id;
    element->m_strVarName = name;
    element->m_nKind = kind;
    element->m_bValid = true;
    element->m_InPin.m_strID = "I";
    element->m_InPin.m_pParent = element;
    element->m_OutPin.m_strID = "O";
    element->m_OutPin.m_pParent = element;
    Refer(element->m_InPin, in, FBD_CONNECTION);
    Refer(element->m_OutPin, out, FBD_CONNECTION);
    net.AddNetworkObject(element);
    return element;
}

inline CPlcFBDConnectionNetwork* Net(CPlcFBDNetwork& net, WORD index)
{
    return static_cast<CPlcFBDConnectionNetwork*>(net.m_ConnNets[index]);
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A dump file of its own for each test, so tests run side by side.
class DumpFile
{
public:
    DumpFile()
    {
        static int count = 0;
        m_path = (std::filesystem::temp_directory_path() /
                  ("plcdump-" + std::to_string(::getpid()) + "-" + std::to_string(++count) + ".txt"))
                     .string();
    }
    ~DumpFile() { std::remove(m_path.c_str()); }
    DumpFile(const DumpFile&) = delete;
    DumpFile& operator=(const DumpFile&) = delete;

    const char* Path() const { return m_path.c_str(); }
    std::string Text() const { return ReadFile(m_path); }

private:
    std::string m_path;
};

// The dump of a network on its own, as the program dump writes it.
inline std::string DumpOf(CPlcFBDNetwork* network)
{
    DumpFile file;
    CPlcFBDCode code;
    code.AddTail(network);
    code.Dump(file.Path());
    code.RemoveAll();
    return file.Text();
}
} // namespace plctest
