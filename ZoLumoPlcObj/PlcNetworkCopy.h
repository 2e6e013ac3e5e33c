// Deep copy of a ladder network, so a conversion can work on the copy and commit only on success.
#pragma once

#include "PlcLDNetwork.h"

#include <functional>
#include <memory>
#include <unordered_map>

class CPlcNetworkCopy
{
public:
    // Copies every object of the source; pointers between them lead to the copies.
    explicit CPlcNetworkCopy(CPlcLDNetwork& source);

    CPlcLDNetwork& Copy() { return *m_copy; }
    // The source object a copied object was made from; null for objects created in the copy later.
    CPlcFBDObject* OriginalOf(const CPlcFBDObject* copy) const;
    // Replaces the source network's objects by those of the copy.
    void CommitToSource();

    // Calls visit for every object the network holds, nested pins included.
    static void ForEachObject(CPlcLDNetwork& network, const std::function<void(CPlcFBDObject*)>& visit);

private:
    CPlcFBDObject* Clone(const CPlcFBDObject* object);
    void CloneList(const CPlcFBDObjList& from, CPlcFBDObjList& to);
    void ClonePin(const CPlcFBDPin& from, CPlcFBDPin& to);
    void CopyBase(const CPlcFBDObject& from, CPlcFBDObject& to);
    CPlcFBDObject* Mapped(CPlcFBDObject* object) const;
    void MapList(CPlcFBDObjList& list) const;
    void Redirect(CPlcFBDObject* copy) const;

    CPlcLDNetwork& m_source;
    std::unique_ptr<CPlcLDNetwork> m_copy;
    std::unordered_map<const CPlcFBDObject*, CPlcFBDObject*> m_copyOf;
};
