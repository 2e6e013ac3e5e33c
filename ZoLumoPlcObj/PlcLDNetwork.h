// A ladder network: power rails, contacts and coils beside the function-block objects.
#pragma once

#include <ZoLumoPlcObj/PlcFBDNetwork.h>

class CPlcFBDConnection;
class CPlcFBDCross;
class CPlcLDPowerRail;

class CPlcLDNetwork : public CPlcFBDNetwork
{
public:
    // Object error codes of the conversion, on the misplaced object.
    enum ConversionError
    {
        CONVERR_CONST_AT_RIGHT_RAIL = 6,
        CONVERR_VARIABLE_AT_RIGHT_RAIL = 7,
        CONVERR_CONTACT_AT_RIGHT_RAIL = 8
    };

    CPlcLDNetwork() : CPlcFBDNetwork(FBD_LD_NETWORK) {}
    ~CPlcLDNetwork() override;

    void Dump(bool full) override;
    void AddNetworkObject(CPlcFBDObject* object) override;
    bool ResolveReferences() override;

    // Rewrites the resolved ladder network into function-block objects; on failure it stays as it was.
    bool MakeFBD();
    bool ConvertPowerRails();
    bool ConvertWiredORs();
    bool ConvertContacts();
    bool ReplaceInputPowerRail(CPlcLDPowerRail* rail);
    bool ReplaceInputContact(CPlcFBDPin* end);
    bool ReplaceCoil(CPlcFBDPin* end);
    bool ReplaceInputConstant(CPlcFBDPin* end);
    CString GetNewVarId();
    // The connection network holding the connection of the pin's partner.
    CPlcFBDConnectionNetwork* FindConnectionNetwork(CPlcFBDPin* pin);
    // The connection or crossing whose ID reads as that number; for the ladder-network generator.
    CPlcFBDConnection* FindTmpConnection(int id);
    CPlcFBDCross* FindTmpCross(int id);

    CPlcFBDObjList m_PowerRails;
    CPlcFBDObjList m_Contacts;
    CPlcFBDObjList m_Coils;
    int m_nNextVarNumber = 1;

protected:
    void Validate() override;
    CPlcFBDPin* FindBlockPin(CPlcFBDPin* pin) override;
    CPlcFBDPin* FindConnectionPin(CPlcFBDPin* pin) override;
    CPlcFBDPin* FindCrossPin(CPlcFBDPin* pin) override;
    bool ResolvePinConnection(CPlcFBDPin* pin) override;
    bool CheckObjectsConnections() override;

private:
    bool ConvertRightRailDrivers(CPlcFBDConnectionNetwork* right);
    bool ConvertRightRailInputs(CPlcFBDConnectionNetwork* right);
    bool ConvertWiredOR(CPlcFBDConnectionNetwork* net);
    bool ConvertContact(class CPlcLDContact* contact);
    CPlcFBDObject* FindLadderElement(int type, const CString& id);
    // Removes a net from the network and deletes it, clearing every pointer into it.
    void DeleteConnectionNetwork(CPlcFBDConnectionNetwork* net);
    // Takes an end out of its net and deletes its connection, clearing every pointer into it.
    bool DeleteEndConnection(CPlcFBDConnectionNetwork* net, CPlcFBDPin* end, int errorLine);
};
