// The view side of a graph manager: makes network windows and hears about changes.
#pragma once

class CGraphConst;
class CGraphNetworkIntf;
class CGraphObject;

class CGraphOwnerIntf
{
public:
    virtual ~CGraphOwnerIntf() = default;

    // A new, not yet created network window.
    virtual CGraphNetworkIntf* NewNetworkWindow() = 0;
    // A network was placed (0 first, 1 before, 2 after the current one, else last): renumber.
    virtual void OnNetworkPlaced(CGraphNetworkIntf* network, int placement) = 0;
    virtual void OnNetworkChanged(CGraphNetworkIntf* network) = 0;
    virtual void OnObjectDeleted(CGraphObject* object) = 0;
    virtual bool CheckConstant(CGraphConst* constant, const char* value) = 0;
};
