// A junction where wires carrying one signal branch: one wire on each of up to four arms.
#pragma once

#include <TvskLumoPlc/graph/GraphObject.h>

class CConnection;
class CPlcFBDCross;

class CCrossConnection : public CGraphObject
{
public:
    enum Arm
    {
        ARM_AUTO = -1,
        ARM_LEFT = 0,
        ARM_UP = 1,
        ARM_RIGHT = 2,
        ARM_DOWN = 3
    };
    static constexpr int ArmCount = 4;

    CCrossConnection() : CGraphObject(FBD_CROSS) { SetError(true); }
    ~CCrossConnection() override;

    // On an arm, or on the arm the wire's direction picks; false when refused.
    bool AddConnection(CConnection* wire, int arm = ARM_AUTO);
    void RemoveConnection(const CConnection* wire);
    // The arm holding the wire is given the other wire.
    bool ReplaceConnection(const CConnection* wire, CConnection* other);
    CConnection* GetArm(int arm) const { return arm >= 0 && arm < ArmCount ? m_pArms[arm] : nullptr; }
    int FindArm(const CConnection* wire) const;
    // The two wires of a junction with exactly two arms.
    bool GetTwoConnections(CConnection*& first, CConnection*& second) const;
    int GetArmCount() const noexcept { return m_nArms; }
    int GetWireNumber(int arm) const { return arm >= 0 && arm < ArmCount ? m_nWireNumbers[arm] : -1; }
    void SetWireNumber(int arm, int number);
    // Each wire's end moves onto the junction, and a segment across its arm moves one step out.
    void DragConnections();

    void Validate() override;
    // The junction at its own point; null (and a program error) without an owner.
    CGraphObject* ObjectAt(int x, int y) override;
    void Invalidate() override;
    // True when it can be drawn: a junction without an owner reports a program error.
    bool IsDrawable() const { return CheckOwner("CrossConnection", __LINE__); }
    CString GetKey() const override;
    bool MoveTo(int x, int y) override;
    CPlcFBDObject* GetModelObject() const override;
    void Select(bool selected) override;
    int GetDrawState() const noexcept { return m_nDrawState; }
    // Radius of the drawn dot: a third of the step when selected, else a sixth.
    int GetRadius() const;
    COLORREF GetDrawColor() const;
    void SetModel(CPlcFBDCross* model) noexcept { m_pModel = model; }

private:
    int AutomaticArm(const CConnection* wire) const;

    CConnection* m_pArms[ArmCount] = {};
    int m_nWireNumbers[ArmCount] = {-1, -1, -1, -1};
    int m_nArms = 0;
    int m_nDrawState = 0;
    CPlcFBDCross* m_pModel = nullptr;
};
