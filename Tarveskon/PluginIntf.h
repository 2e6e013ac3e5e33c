// The host interface the main program hands to every plug-in and to the PLC code generator.
#pragma once

#include <com/Variant.h>
#include <framework/CString.h>
#include <framework/WinTypes.h>

class CWnd;
class CTvskMotorDb;

// Results of SendCommand and of the value-writing operations.
enum HOSTRES : int
{
    HOSTRES_OK = 0,
    HOSTRES_NOFILE = 1,
    HOSTRES_NOTFOUND = 2,
    HOSTRES_LIMITS = 3,
    HOSTRES_NOMONITOR = 4,
    HOSTRES_READERR = 5,
    HOSTRES_WRITEERR = 6,
    HOSTRES_NOTAVAIL = 8,
    HOSTRES_INVALID = 9,
    HOSTRES_ADDRERR = 10,
    HOSTRES_FAILED = 11,
    HOSTRES_READONLY = 12,
    HOSTRES_HELPERR = 13
};

// Callers reach the operations by position: never reorder, insert or remove one.
// The bodies are the answers of a host that lacks the feature.
class CPluginIntf
{
public:
    virtual ~CPluginIntf() = default;
    virtual long SendCommand(UINT /*code*/, long /*param1*/, long /*param2*/) { return 0; }
    virtual const char* GetFileName() { return ""; }
    virtual void GetPagesDir(CString& /*dir*/, bool /*typeSubdir*/) {}
    virtual BOOL GetStringByName(const char* /*name*/, CString& /*text*/) { return FALSE; }
    virtual BOOL GetString(UINT /*id*/, CString& /*text*/) { return FALSE; }
    virtual BOOL GetPrefixedString(const char* /*name*/, CString& /*text*/) { return FALSE; }
    virtual BOOL GetParValue(const char* /*name*/, VARIANT* /*value*/) { return FALSE; }
    virtual BOOL ReadParValue(const char* /*name*/, VARIANT* /*value*/) { return FALSE; }
    virtual HOSTRES SetParValue(const char* /*name*/, VARIANT /*value*/, BOOL /*toDrive*/)
    {
        return HOSTRES_NOTAVAIL;
    }
    virtual HOSTRES ReadPar(const char* /*nameOrAddress*/, VARIANT* /*value*/) { return HOSTRES_OK; }
    virtual HOSTRES WritePar(const char* /*nameOrAddress*/, VARIANT /*value*/) { return HOSTRES_NOTAVAIL; }
    virtual int GetParNum() { return 0; }
    virtual BOOL GetParField(int /*index*/, int /*field*/, CString& /*text*/) { return FALSE; }
    virtual BOOL GetParDescr(const char* /*name*/, CString& /*text*/, bool /*withValue*/) { return FALSE; }
    virtual HOSTRES SetParField(int /*index*/, int /*field*/, const char* /*text*/)
    {
        return HOSTRES_NOTAVAIL;
    }
    virtual BOOL IsParFieldEditable(int /*index*/, int /*field*/) { return FALSE; }
    virtual BOOL AddTmpPar(const char* /*address*/, const char* /*descr*/, double /*value*/, CWnd* /*owner*/)
    {
        return FALSE;
    }
    virtual BOOL RemTmpPar(const char* /*address*/, CString& /*text*/) { return FALSE; }
    virtual BOOL AddMonitorPar(const char* /*name*/) { return FALSE; }
    virtual BOOL AddMonitorParAt(int /*index*/) { return FALSE; }
    virtual BOOL GetMonitorParField(int /*i*/, int /*field*/, CString& /*text*/) { return FALSE; }
    virtual HOSTRES SetMonitorParField(int /*i*/, int /*field*/, const char* /*text*/)
    {
        return HOSTRES_NOTAVAIL;
    }
    virtual BOOL RemoveMonitorPar(int /*i*/) { return FALSE; }
    virtual int GetMonitorParNum() { return 0; }
    virtual BOOL GetMenusNum(int* /*count*/) { return FALSE; }
    virtual BOOL GetMenu(int /*i*/, int* /*id*/, CString& /*name*/) { return FALSE; }
    virtual BOOL SetMenu(int /*id*/) { return FALSE; }
    virtual BOOL GetCurrMenuID(int* /*id*/) { return FALSE; }
    virtual BOOL GetLastErrorText(CString& /*text*/) { return FALSE; }
    virtual int GetAlarm() { return -1; }
    virtual BOOL IsConnected() { return FALSE; }
    virtual BOOL IsCommAddress1000() { return FALSE; }
    virtual int GetBaudRate(int* /*baud*/) { return -1; }
    virtual void SetModified(BOOL /*modified*/) {}
    virtual BOOL IsExclusiveMode() { return FALSE; }
    virtual int GetTipHideDelay() { return 1000; }
    virtual BOOL ExistPar(const char* /*name*/) { return FALSE; }
    virtual BOOL GetOpMode(short* /*mode*/) { return FALSE; }
    virtual CString GetOscResetTries() { return "1"; }
    virtual CString GetOscMinBaud() { return "19200"; }
    virtual void PushParentWnd(CWnd* /*wnd*/) {}
    virtual void PopParentWnd() {}
    virtual void SetSaveMonitor(BOOL /*save*/) {}
    virtual int GetCamDefNum() { return 0; }
    virtual int GetCamDefIndex(int /*i*/) { return 0; }
    virtual int GetCamStepsNr() { return 0; }
    virtual double GetCamMaxValue() { return 0.0; }
    virtual double GetCamMinValue() { return 0.0; }
    virtual int GetCamStartAddr(int /*cam*/) { return 0; }
    virtual int GetCamData(int /*point*/, double* /*value*/, int* /*interp*/, int* /*valid*/, int /*cam*/)
    {
        return 0;
    }
    virtual BOOL SetCamData(int /*point*/, double /*value*/, int /*interp*/, BOOL /*store*/, int /*cam*/)
    {
        return FALSE;
    }
    // PLC code capacity in 16-bit words.
    virtual int GetPlcMaxLen() { return 0; }
    virtual void ResetPlc() {}
    // Nonzero and the instruction's text and operands while instruction i exists.
    virtual BOOL GetPlcInstr(int /*i*/, CString& /*text*/, int /*operands*/[3]) { return FALSE; }
    // 0 stored (i equal to the count appends), 1 no parameter file, 9 i beyond the end.
    virtual int SetPlcInstr(int /*i*/, const char* /*text*/, const int /*operands*/[3])
    {
        return HOSTRES_NOTAVAIL;
    }
    virtual BOOL IsPlcTerminated() { return FALSE; }
    virtual CTvskMotorDb* GetMotorDb() { return nullptr; }
};
