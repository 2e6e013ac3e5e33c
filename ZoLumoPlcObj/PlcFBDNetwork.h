// A function-block network: its objects, reference resolution, validation and execution order.
#pragma once

#include <ZoLumoPlcObj/PlcFBDObjList.h>
#include <ZoLumoPlcObj/PlcFBDObject.h>

class CPlcFBDConnectionNetwork;
class CPlcFBDExeObject;

// A heading and a list of a network dump.
struct PlcNamedList
{
    const char* heading;
    CPlcFBDObjList* list;
};

class CPlcFBDNetwork : public CPlcFBDObject
{
public:
    // Codes in m_nError of the network (2 and 3 go on the failing object or connection network).
    enum NetworkError
    {
        NETERR_INVALID = 1,
        NETERR_NOT_CONNECTED = 2,
        NETERR_CONNECTION_NETWORK = 3,
        NETERR_UNREACHABLE = 4,
        NETERR_NO_ORDER = 5
    };

    CPlcFBDNetwork() : CPlcFBDObject(FBD_NETWORK) {}
    ~CPlcFBDNetwork() override;

    void Dump(bool full) override;
    // Files the object into the list for its type.
    virtual void AddNetworkObject(CPlcFBDObject* object);
    // Gives every pin its partner, then builds and validates the connection networks.
    virtual bool ResolveReferences();
    // Orders the blocks, marks feedback nets and sets the EN/ENO chains.
    virtual bool ExecutionOrder();

    CPlcFBDObject* m_pErrorObject = nullptr;
    CPlcFBDObjList m_ExecList{true}; // operators, function blocks, functions, variables, constants
    CString m_strName;
    CPlcFBDObjList m_ConnNets;
    CPlcFBDObjList m_Constants;
    CPlcFBDObjList m_Variables;
    CPlcFBDObjList m_Functions;
    CPlcFBDObjList m_FunctionBlocks;
    CPlcFBDObjList m_Operators;   // operators, returns and jumps
    CPlcFBDObjList m_Comments;    // and, in a plain network, the ladder elements
    CPlcFBDObjList m_Connections; // until UpdateConnectionNetworks moves them into nets
    CPlcFBDObjList m_Crosses;     // likewise

protected:
    explicit CPlcFBDNetwork(int type) : CPlcFBDObject(type) {}

    virtual void Validate();
    virtual CPlcFBDPin* FindBlockPin(CPlcFBDPin* pin);
    virtual CPlcFBDPin* FindConnectionPin(CPlcFBDPin* pin);
    virtual CPlcFBDPin* FindCrossPin(CPlcFBDPin* pin);
    virtual CPlcFBDObject* FindFBDObject(CPlcFBDPin* pin);
    virtual bool UpdateConnectionNetworks();
    virtual bool ResolvePinConnection(CPlcFBDPin* pin);
    virtual bool CheckObjectsConnections();
    virtual bool CalculateFeedbacks();
    virtual bool FollowNet(CPlcFBDConnectionNetwork* net);
    virtual void SetEnEnoFlags();
    virtual bool FindBackNet(CPlcFBDConnectionNetwork* net, CPlcFBDConnectionNetwork* target);

    // Which owners name their pins "object.pin" when a pin's reference name is formed.
    enum class PinNaming
    {
        Crossing, // function blocks and functions
        Blocks,   // and operators
        Ladder    // and power rails, contacts and coils
    };
    static CString ReferenceName(const CPlcFBDPin* pin, PinNaming naming);
    CPlcFBDPin* FindConnectionPinNamed(CPlcFBDPin* pin, PinNaming naming);
    // The function block, function or operator of that ID.
    CPlcFBDExeObject* FindBlock(const CString& id);
    bool Fail(CPlcFBDObject* errorObject, int errorCode);
    void DumpLists(const PlcNamedList* lists, int count);

    // Resolves the pins of the objects both network kinds hold; false at the first refusal.
    bool ResolveObjectPins();

private:
    bool CheckBlockPins(CPlcFBDExeObject* block);
    bool ConnectNetEnds();
    void LinkDependentNets();
    bool RankNets();
    bool OrderBlocks();
};
