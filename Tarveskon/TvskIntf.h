// The automation object "Tvsk" through which scripts and HTML pages drive the program: a thin
// layer over the wizard manager and the main window, and the source of the manager's script events.
#pragma once

#include "CmdTargetPlus.h"
#include "TvskManager.h"

#include <com/Com.h>

struct ITvskIntf : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("FE797E76-4D2E-4AAE-A1C4-13EBA19B9755");

protected:
    ~ITvskIntf() = default;
};
inline constexpr IID LIBID_Tarveskon = MakeGuid("B64F50EF-D219-493C-B369-AB177549D545");
inline constexpr IID DIID_ITvskIntfEvents = MakeGuid("34BDB55C-14C9-45B0-9532-362219B5CDE1");
inline constexpr CLSID CLSID_TvskIntf = MakeGuid("503E1B37-B2D4-4C21-A191-8330F6D1F115");

// The main window's part of the object; the program's dialog implements it.
class CTvskIntfWindow
{
public:
    virtual ~CTvskIntfWindow() = default;
    virtual void SetMotor() = 0;
    virtual void SetDrive() = 0;
    virtual void UpdateMotor() = 0;
    virtual bool IsSelectedRoventar() = 0;
    virtual int RecentFileCount() = 0;
    // Empty when index is out of range.
    virtual CString RecentFile(int index) = 0;
};

class CTvskIntf
    : public tvsk::com::DispatchObject<CTvskIntf, ITvskIntf, IConnectionPointContainer, IProvideClassInfo2>,
      public CCmdTargetPlus
{
public:
    explicit CTvskIntf(CTvskManager* manager);

    static const tvsk::com::DispatchTable<CTvskIntf>& Dispatch();
    static const tvsk::com::ClassDescription& Class();
    void SetWindow(CTvskIntfWindow* window) { m_pWindow = window; }
    IDispatch* GetIDispatch(BOOL addRef) override;

    HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;
    HRESULT GetClassInfo(ITypeInfo** info) override;
    HRESULT GetGUID(DWORD kind, GUID* guid) override;

    HRESULT get_MRUNum(LONG* value);
    HRESULT get_CanEnterWizard(VARIANT_BOOL* value);
    HRESULT get_Connected(VARIANT_BOOL* value);
    HRESULT get_OnLine(VARIANT_BOOL* value);
    HRESULT get_DeviceStatus(LONG* value);
    HRESULT get_Connect(VARIANT_BOOL* value);
    HRESULT put_Connect(VARIANT_BOOL value);
    HRESULT get_Tvsk(IDispatch** value);
    HRESULT get_CanRW(VARIANT_BOOL* value);
    HRESULT put_CanRW(VARIANT_BOOL value);
    HRESULT get_IsChangeEnabled(VARIANT_BOOL* value);
    HRESULT get_ValidComm(LONG* value);
    HRESULT get_ErrorCode(LONG* value);
    HRESULT put_ErrorCode(LONG value);
    HRESULT SetMotor();
    HRESULT SetDrive();
    HRESULT EnterWizard(VARIANT_BOOL* result);
    HRESULT OpenFile(BSTR file, LONG* result);
    HRESULT SaveFile(BSTR file, LONG* result);
    HRESULT NewFile(LONG* result);
    HRESULT CloseFile(LONG* result);
    HRESULT Print(LONG* result);
    HRESULT CreateTvskVar(BSTR name, VARIANT_BOOL store, VARIANT_BOOL* result);
    HRESULT DeleteTvskVar(BSTR name, VARIANT_BOOL* result);
    HRESULT ExePrgCommand(LONG command);
    HRESULT ConfigConnect();
    HRESULT MsgBox(BSTR text, LONG type, LONG* result);
    HRESULT DictioString(LONG id, BSTR* result);
    HRESULT UpdateMotor();
    HRESULT GetCamIpaBase(SHORT cam, LONG* result);
    HRESULT GetCamStepsNr(LONG* result);
    HRESULT GetField(BSTR section, BSTR id, LONG index, BSTR* result);
    HRESULT SetField(BSTR section, BSTR id, LONG index, BSTR value, VARIANT_BOOL* result);
    HRESULT Message(BSTR text, LONG flags, LONG* result);
    HRESULT ChmSetContext(LONG context, LONG command, BSTR file, BSTR topic, VARIANT_BOOL* result);
    HRESULT ChmInvoke(VARIANT_BOOL* result);
    HRESULT ExecHtmlCommand(BSTR word, LONG* result);
    HRESULT get_MRUItem(LONG index, BSTR* value);
    HRESULT get_Par(BSTR name, VARIANT* value);
    HRESULT put_Par(BSTR name, VARIANT value);
    HRESULT get_TvskVar(BSTR name, VARIANT* value);
    HRESULT put_TvskVar(BSTR name, VARIANT value);
    HRESULT get_Version(LONG kind, BSTR* value);
    HRESULT get_TargetPar(BSTR name, VARIANT* value);
    HRESULT put_TargetPar(BSTR name, VARIANT value);
    HRESULT get_ParCustomBit(BSTR name, VARIANT_BOOL* value);
    HRESULT put_ParCustomBit(BSTR name, VARIANT_BOOL value);
    HRESULT get_ParCustomWord(BSTR name, SHORT* value);
    HRESULT put_ParCustomWord(BSTR name, SHORT value);
    HRESULT get_ParCustomDWord(BSTR name, LONG* value);
    HRESULT put_ParCustomDWord(BSTR name, LONG value);
    HRESULT get_Modified(VARIANT_BOOL* value);
    HRESULT put_Modified(VARIANT_BOOL value);
    HRESULT get_MotorValue(SHORT index, DOUBLE* value);
    HRESULT get_DriveValue(SHORT index, DOUBLE* value);
    HRESULT get_EncoderValue(SHORT index, BSTR* value);
    HRESULT get_CamValue(SHORT point, SHORT cam, DOUBLE* value);
    HRESULT put_CamValue(SHORT point, SHORT cam, DOUBLE value);
    HRESULT get_CamInterp(SHORT point, SHORT cam, SHORT* value);
    HRESULT put_CamInterp(SHORT point, SHORT cam, SHORT value);
    HRESULT get_SelectetRoventar(VARIANT_BOOL* value);
    HRESULT get_IsModem(VARIANT_BOOL* value);

private:
    // False (and a program error at the caller's line) without a manager or window.
    bool HasManager(int line) const;
    bool HasWindow(int line) const;
    LONG PostCommand(UINT id);

    CTvskManager* m_pManager;
    CTvskIntfWindow* m_pWindow = nullptr;
};
