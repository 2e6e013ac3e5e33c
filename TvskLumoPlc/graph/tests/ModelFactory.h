// Generated objects for building elements in tests, kept alive for the test's length.
#pragma once

#include "GraphTestSupport.h"

#include <TvskLumoPlc/graph/LDManager.h>

#include <gtest/gtest.h>

#include <ZoLumoPlcObj/PlcFBDBlocks.h>
#include <ZoLumoPlcObj/PlcFBDElements.h>
#include <ZoLumoPlcObj/PlcLDElements.h>

#include <memory>
#include <vector>

class CModelFactory
{
public:
    template <class T> T* Make(const char* id, int x, int y)
    {
        auto object = std::make_unique<T>();
        object->m_strID = id;
        object->m_nX = x;
        object->m_nY = y;
        T* made = object.get();
        m_Objects.push_back(std::move(object));
        return made;
    }

    CPlcLDContact* Contact(const char* id, const char* variable, int x, int y)
    {
        auto* contact = Make<CPlcLDContact>(id, x, y);
        contact->m_strVarName = variable;
        contact->m_InPin.m_strID = "I";
        contact->m_OutPin.m_strID = "O";
        return contact;
    }

    CPlcLDCoil* Coil(const char* id, const char* variable, int x, int y)
    {
        auto* coil = Make<CPlcLDCoil>(id, x, y);
        coil->m_strVarName = variable;
        coil->m_InPin.m_strID = "I";
        coil->m_OutPin.m_strID = "O";
        return coil;
    }

    template <class T>
    T* Block(const char* id, const char* name, int x, int y, std::vector<const char*> inputs,
             std::vector<const char*> outputs)
    {
        auto* block = Make<T>(id, x, y);
        block->m_strBlockName = name;
        for (const char* pin : inputs)
            AddPin(block->m_Inputs, pin, CPlcFBDPin::DIR_IN);
        for (const char* pin : outputs)
            AddPin(block->m_Outputs, pin, CPlcFBDPin::DIR_OUT);
        return block;
    }

    CPlcFBDVariable* Variable(const char* id, const char* name, int x, int y, bool read)
    {
        auto* variable = Make<CPlcFBDVariable>(id, x, y);
        variable->m_strVarName = name;
        variable->m_Pin.m_nDirection = read ? CPlcFBDPin::DIR_OUT : CPlcFBDPin::DIR_IN;
        return variable;
    }

    CPlcFBDConst* Constant(const char* id, const char* value, int x, int y)
    {
        auto* constant = Make<CPlcFBDConst>(id, x, y);
        constant->m_strValue = value;
        return constant;
    }

private:
    static void AddPin(CPlcFBDObjList& list, const char* id, int direction)
    {
        auto* pin = new CPlcFBDPin(direction);
        pin->m_strID = id;
        list.AddTail(pin);
    }

    std::vector<std::unique_ptr<CPlcFBDObject>> m_Objects;
};

// A ladder manager with the fixed face, a view and one network.
class GraphFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        network = manager.CreateNetwork(FakeParent(), CGraphManager::PLACE_LAST, 0, 0, false, false);
        ASSERT_NE(network, nullptr);
    }

    template <class T = CGraphBlock> T* Create(CPlcFBDObject* model)
    {
        return static_cast<T*>(manager.CreateElement(network, model));
    }

    CFakeNetwork& Network() { return *static_cast<CFakeNetwork*>(network); }

    CModelFactory models;
    CLDManager manager;
    CFakeOwner owner{manager};
    CGraphNetworkIntf* network = nullptr;
};
