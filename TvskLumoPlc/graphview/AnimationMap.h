// Links the generated objects of one ladder rung to the graph elements that draw them, with the
// power-flow state of the last evaluation.
#pragma once

#include <ZoLumoPlcObj/PlcFBDObject.h>

#include <string>
#include <unordered_map>
#include <vector>

class CGraphObject;

struct ANIMATION_ENTRY
{
    CPlcFBDObject* model = nullptr;
    CGraphObject* element = nullptr;
    BYTE power = 0;
    BYTE conducts = 0;
    BYTE evaluated = 0;
    // Entries before and after this one in the direction of power flow.
    std::vector<int> previous;
    std::vector<int> next;
};

class CAnimationMap
{
public:
    // Empties the map and makes room for n entries; false for n not above 0.
    bool Init(int capacity);
    // False when the map is full.
    bool Add(CPlcFBDObject* model, CGraphObject* element);
    // Links every entry to the ones before and after it through the wires' ends.
    void Link();
    void ResetStates();
    int GetCount() const noexcept { return static_cast<int>(m_Entries.size()); }
    ANIMATION_ENTRY* GetAt(int i);
    ANIMATION_ENTRY* FindByName(const char* name);
    int IndexOf(const char* name) const;
    ANIMATION_ENTRY* FindLeftRail();
    void Clear();

    // The model's flow properties.
    static bool IsLeftRail(const CPlcFBDObject* model);
    static bool IsNegated(const CPlcFBDObject* model);
    static bool FansOut(const CPlcFBDObject* model);

private:
    bool Consistent() const;

    std::vector<ANIMATION_ENTRY> m_Entries;
    std::unordered_map<std::string, int> m_ByName;
    int m_nCapacity = 0;
};
