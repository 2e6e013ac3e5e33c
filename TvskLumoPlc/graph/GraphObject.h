// Base of every item of a function-block or ladder diagram.
#pragma once

#include <TvskLumoPlc/graph/GraphFace.h>

#include <ZoLumoPlcObj/PlcFBDObject.h>

class CGraphNetworkIntf;

enum GraphObjectFlag : DWORD
{
    GOF_SELECTED = 0x01,
    GOF_ERROR = 0x02,
    GOF_VALUE = 0x04,
    GOF_ACTIVE = 0x08
};

class CGraphObject
{
public:
    CGraphObject() = default;
    CGraphObject(const CGraphObject&) = delete;
    CGraphObject& operator=(const CGraphObject&) = delete;
    virtual ~CGraphObject() = default;

    // Wires: both end elements selected; elements: every wire on their pins selected.
    virtual bool IsSelectionComplete() const { return false; }
    virtual CGraphObject* ObjectAt(int x, int y);
    virtual bool MoveTo(int x, int y);
    virtual void Validate() { m_dwFlags = m_dwFlags & GOF_ERROR; }
    virtual CString GetKey() const { return CString(); }
    // Every grid point the object covers, scaled by the grid step, lies inside the pixel rectangle.
    virtual bool IsInside(const CRect& pixels) const;
    virtual CPlcFBDObject* GetModelObject() const { return nullptr; }
    virtual int GetRightX() const { return 0; }
    virtual int GetLeftX() const { return 0; }
    virtual CPoint GetTopLeftPosition() const { return GetPosition(); }
    // Grid cells reaching beyond the left and top edges.
    virtual CSize GetOverflow() const { return {0, 0}; }
    virtual CPoint GetReferencePoint() const { return {-1, -1}; }
    virtual void Invalidate() {}
    // True with an owner; without one a program error is reported under the object's source name.
    bool CheckOwner(const char* source, int line) const;

    int GetType() const noexcept { return m_nType; }
    const CString& GetName() const noexcept { return m_strName; }
    void SetName(const char* name) { m_strName = name; }
    CGraphFace* GetOwner() const noexcept { return m_pOwner; }
    void SetOwner(CGraphFace* owner) noexcept { m_pOwner = owner; }
    bool IsVisible() const noexcept { return m_nVisible != 0; }
    void SetVisible(bool visible) noexcept { m_nVisible = visible ? 1 : 0; }

    DWORD GetFlags() const noexcept { return m_dwFlags; }
    void SetFlags(DWORD flags) noexcept { m_dwFlags = flags; }
    bool IsValid() const noexcept { return !(m_dwFlags & GOF_ERROR); }
    bool IsError() const noexcept { return (m_dwFlags & GOF_ERROR) != 0; }
    void SetError(bool error) noexcept { SetFlag(GOF_ERROR, error); }
    bool IsSelected() const noexcept { return (m_dwFlags & GOF_SELECTED) != 0; }
    virtual void Select(bool selected) { SetFlag(GOF_SELECTED, selected); }
    bool HasValue() const noexcept { return (m_dwFlags & GOF_VALUE) != 0; }
    int GetValue() const noexcept { return m_nValue; }
    void SetValue(bool shown, int value) noexcept
    {
        SetFlag(GOF_VALUE, shown);
        m_nValue = value;
    }
    bool IsActive() const noexcept { return (m_dwFlags & GOF_ACTIVE) != 0; }
    void SetActive(bool active) noexcept { SetFlag(GOF_ACTIVE, active); }

    CPoint GetPosition() const noexcept { return {m_nX, m_nY}; }
    void SetPosition(int x, int y) noexcept
    {
        m_nX = x;
        m_nY = y;
    }
    CPoint GetSecondPoint() const noexcept { return m_ptSecond; }
    void SetSecondPoint(CPoint point) noexcept { m_ptSecond = point; }
    int GetUser() const noexcept { return m_nUser; }
    void SetUser(int user) noexcept { m_nUser = user; }
    int GetNumber() const noexcept { return m_nNumber; }
    void SetNumber(int number) noexcept { m_nNumber = number; }
    CGraphNetworkIntf* GetNetwork() const noexcept { return m_pNetwork; }
    void SetNetwork(CGraphNetworkIntf* network) noexcept { m_pNetwork = network; }

protected:
    explicit CGraphObject(int type) : m_nType(type) {}
    void SetFlag(DWORD flag, bool on) noexcept { m_dwFlags = on ? (m_dwFlags | flag) : (m_dwFlags & ~flag); }
    int StepX() const;
    int StepY() const;

    int m_nType = 0;
    CString m_strName;
    CGraphFace* m_pOwner = nullptr;
    int m_nVisible = 1;
    DWORD m_dwFlags = 0;
    int m_nValue = 0;
    int m_nX = 0;
    int m_nY = 0;
    int m_nUser = 0;
    int m_nNumber = 0;
    CGraphNetworkIntf* m_pNetwork = nullptr;
    CPoint m_ptSecond;
};

// Non-null, a type code in use, and the object of the class that code belongs to.
bool IsValidGraphObject(const CGraphObject* object);

// The whole text as a decimal number (an optional sign, then digits only, within 32 bits).
bool ReadDecimal(const char* text, int& value);
