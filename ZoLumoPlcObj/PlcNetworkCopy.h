// Deep copy of a ladder network, kept so that a failed conversion can put the network back as it was.
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

    // The copy of a source object; the source network stands for itself, objects made later give null.
    CPlcFBDObject* CopyOf(const CPlcFBDObject* object) const;
    // Replaces the source network's objects by those of the copy.
    void RestoreSource();

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
