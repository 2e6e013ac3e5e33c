// The members of "Tvsk", numbered by position; each answers its neutral value without its target.
#include "TvskIntf.h"

#include "PluginCall.h"

#include <ZoSupport/ProgramError.h>
#include <ui/UiDefs.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

using tvsk::com::BstrFromUtf8;
using tvsk::com::DispatchTable;
using tvsk::com::Utf8FromBstr;

namespace
{

constexpr UINT kEnterWizard = 6000;
constexpr UINT kFileNew = 57600;
constexpr UINT kFileOpen = 57601;
constexpr UINT kFileClose = 57602;
constexpr UINT kFileSave = 57603;
constexpr UINT kFilePrint = 57607;
constexpr int kDataValues = 20;

std::string Text(BSTR text)
{
    return Utf8FromBstr(text);
}

VARIANT_BOOL Bool(bool value)
{
    return value ? VARIANT_TRUE : VARIANT_FALSE;
}

// A number in a whole text: false for empty, partial or non-finite text.
bool ReadNumber(const std::string& text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    return end && end != text.c_str() && *end == '\0' && std::isfinite(value);
}

} // namespace

CTvskIntf::CTvskIntf(CTvskManager* manager) : CCmdTargetPlus(*this, DIID_ITvskIntfEvents), m_pManager(manager)
{
}

IDispatch* CTvskIntf::GetIDispatch(BOOL addRef)
{
    ITvskIntf* dispatch = this;
    if (addRef)
        dispatch->AddRef();
    return dispatch;
}

const DispatchTable<CTvskIntf>& CTvskIntf::Dispatch()
{
    using C = CTvskIntf;
    static const DispatchTable<C> table =
        DispatchTable<C>(tvsk::com::InterfaceDescription(ITvskIntf::Iid, "ITvskIntf", "Tvsk"))
            .Get(1, "MRUNum", &C::get_MRUNum)
            .Get(2, "CanEnterWizard", &C::get_CanEnterWizard, "", VT_BOOL)
            .Get(3, "Connected", &C::get_Connected, "", VT_BOOL)
            .Get(4, "OnLine", &C::get_OnLine, "", VT_BOOL)
            .Get(5, "DeviceStatus", &C::get_DeviceStatus)
            .Get(6, "Connect", &C::get_Connect, "", VT_BOOL)
            .Put(6, "Connect", &C::put_Connect, "", {VT_BOOL})
            .Get(7, "Tvsk", &C::get_Tvsk)
            .Get(8, "CanRW", &C::get_CanRW, "", VT_BOOL)
            .Put(8, "CanRW", &C::put_CanRW, "", {VT_BOOL})
            .Get(9, "IsChangeEnabled", &C::get_IsChangeEnabled, "", VT_BOOL)
            .Get(10, "ValidComm", &C::get_ValidComm)
            .Get(11, "ErrorCode", &C::get_ErrorCode)
            .Put(11, "ErrorCode", &C::put_ErrorCode)
            .Method(12, "SetMotor", &C::SetMotor)
            .Method(13, "SetDrive", &C::SetDrive)
            .MethodWithResult(14, "EnterWizard", &C::EnterWizard, "", VT_BOOL)
            .MethodWithResult(15, "OpenFile", &C::OpenFile)
            .MethodWithResult(16, "SaveFile", &C::SaveFile)
            .MethodWithResult(17, "NewFile", &C::NewFile)
            .MethodWithResult(18, "CloseFile", &C::CloseFile)
            .MethodWithResult(19, "Print", &C::Print)
            .MethodWithResult(20, "CreateTvskVar", &C::CreateTvskVar, "", VT_BOOL, {VT_EMPTY, VT_BOOL})
            .MethodWithResult(21, "DeleteTvskVar", &C::DeleteTvskVar, "", VT_BOOL)
            .Method(22, "ExePrgCommand", &C::ExePrgCommand)
            .Method(23, "ConfigConnect", &C::ConfigConnect)
            .MethodWithResult(24, "MsgBox", &C::MsgBox)
            .MethodWithResult(25, "DictioString", &C::DictioString)
            .Method(26, "UpdateMotor", &C::UpdateMotor)
            .MethodWithResult(27, "GetCamIpaBase", &C::GetCamIpaBase)
            .MethodWithResult(28, "GetCamStepsNr", &C::GetCamStepsNr)
            .MethodWithResult(29, "GetField", &C::GetField)
            .MethodWithResult(30, "SetField", &C::SetField, "", VT_BOOL)
            .MethodWithResult(31, "Message", &C::Message)
            .MethodWithResult(32, "ChmSetContext", &C::ChmSetContext, "", VT_BOOL)
            .MethodWithResult(33, "ChmInvoke", &C::ChmInvoke, "", VT_BOOL)
            .MethodWithResult(34, "ExecHtmlCommand", &C::ExecHtmlCommand)
            .Get(35, "MRUItem", &C::get_MRUItem)
            .Get(36, "Par", &C::get_Par)
            .Put(36, "Par", &C::put_Par)
            .Get(37, "TvskVar", &C::get_TvskVar)
            .Put(37, "TvskVar", &C::put_TvskVar)
            .Get(38, "Version", &C::get_Version)
            .Get(39, "TargetPar", &C::get_TargetPar)
            .Put(39, "TargetPar", &C::put_TargetPar)
            .Get(40, "ParCustomBit", &C::get_ParCustomBit, "", VT_BOOL)
            .Put(40, "ParCustomBit", &C::put_ParCustomBit, "", {VT_EMPTY, VT_BOOL})
            .Get(41, "ParCustomWord", &C::get_ParCustomWord)
            .Put(41, "ParCustomWord", &C::put_ParCustomWord)
            .Get(42, "ParCustomDWord", &C::get_ParCustomDWord)
            .Put(42, "ParCustomDWord", &C::put_ParCustomDWord)
            .Get(43, "Modified", &C::get_Modified, "", VT_BOOL)
            .Put(43, "Modified", &C::put_Modified, "", {VT_BOOL})
            .Get(44, "MotorValue", &C::get_MotorValue)
            .Get(45, "DriveValue", &C::get_DriveValue)
            .Get(46, "EncoderValue", &C::get_EncoderValue)
            .Get(47, "CamValue", &C::get_CamValue)
            .Put(47, "CamValue", &C::put_CamValue)
            .Get(48, "CamInterp", &C::get_CamInterp)
            .Put(48, "CamInterp", &C::put_CamInterp)
            .Get(49, "SelectetRoventar", &C::get_SelectetRoventar, "", VT_BOOL)
            .Get(50, "IsModem", &C::get_IsModem, "", VT_BOOL);
    return table;
}

const tvsk::com::ClassDescription& CTvskIntf::Class()
{
    static const tvsk::com::InterfaceDescription events = []
    {
        using tvsk::com::MemberKind;
        tvsk::com::InterfaceDescription d(DIID_ITvskIntfEvents, "_ITvskIntfEvents");
        const std::vector<VARTYPE> none;
        const std::vector<VARTYPE> file{VT_BSTR};
        const std::vector<VARTYPE> value{VT_BSTR, VT_R8};
        const struct
        {
            const char* name;
            const std::vector<VARTYPE>& parameters;
        } kEvents[] = {{"LoadFile", file},         {"UnloadFile", file},      {"BeforeReadPar", value},
                       {"AfterReadPar", value},    {"BeforeWritePar", value}, {"AfterWritePar", value},
                       {"ChangeValue", value},     {"BeforeReadAll", none},   {"AfterReadAll", none},
                       {"BeforeWriteAll", none},   {"AfterWriteAll", none},   {"BeforeWritePLC", none},
                       {"AfterWritePLC", none},    {"OnTimer", none},         {"LoadDefault", {VT_I2}},
                       {"BeforeWriteCams", none},  {"AfterWriteCams", none},  {"BeforeSaveParams", none},
                       {"BeforeSavePlc", none},    {"AfterSaveParams", none}, {"AfterSavePlc", none},
                       {"ConnectionTimeout", none}};
        DISPID number = 1;
        for (const auto& event : kEvents)
            d.Add({number++, event.name, MemberKind::Method, event.parameters});
        return d;
    }();
    static const tvsk::com::ClassDescription cls{CLSID_TvskIntf, "Tvsk", &Dispatch().Description(), &events};
    return cls;
}

HRESULT CTvskIntf::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    if (points)
        *points = nullptr;
    return E_NOTIMPL;
}

HRESULT CTvskIntf::FindConnectionPoint(REFIID iid, IConnectionPoint** point)
{
    return tvsk::com::FindConnectionPointIn({&EventPoint()}, iid, point);
}

HRESULT CTvskIntf::GetClassInfo(ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = tvsk::com::NewClassTypeInfo(Class());
    return S_OK;
}

HRESULT CTvskIntf::GetGUID(DWORD kind, GUID* guid)
{
    if (!guid || kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
        return E_INVALIDARG;
    *guid = DIID_ITvskIntfEvents;
    return S_OK;
}

bool CTvskIntf::HasManager(int line) const
{
    if (!m_pManager)
        ProgramError(__FILE__, line, nullptr);
    return m_pManager != nullptr;
}

bool CTvskIntf::HasWindow(int line) const
{
    if (!m_pWindow)
        ProgramError(__FILE__, line, nullptr);
    return m_pWindow != nullptr;
}

LONG CTvskIntf::PostCommand(UINT id)
{
    if (HasManager(__LINE__))
        m_pManager->PostToMainWindow(WM_COMMAND, id, 0);
    return 0;
}

HRESULT CTvskIntf::get_MRUNum(LONG* value)
{
    *value = HasWindow(__LINE__) ? m_pWindow->RecentFileCount() : 0;
    return S_OK;
}

HRESULT CTvskIntf::get_CanEnterWizard(VARIANT_BOOL* value)
{
    *value = Bool(HasManager(__LINE__) && m_pManager->IsDriveChosen() && m_pManager->IsMotorChosen());
    return S_OK;
}

HRESULT CTvskIntf::get_Connected(VARIANT_BOOL* value)
{
    *value = Bool(HasManager(__LINE__) && m_pManager->IsConnected());
    return S_OK;
}

HRESULT CTvskIntf::get_OnLine(VARIANT_BOOL* value)
{
    *value = VARIANT_TRUE;
    return S_OK;
}

HRESULT CTvskIntf::get_DeviceStatus(LONG* value)
{
    *value = 0;
    return S_OK;
}

HRESULT CTvskIntf::get_Connect(VARIANT_BOOL* value)
{
    return get_Connected(value);
}

HRESULT CTvskIntf::put_Connect(VARIANT_BOOL value)
{
    if (!HasManager(__LINE__) || (value != 0) == (m_pManager->IsConnected() != FALSE))
        return S_OK;
    if (value)
        m_pManager->Connect("");
    else
        m_pManager->Disconnect();
    return S_OK;
}

HRESULT CTvskIntf::get_Tvsk(IDispatch** value)
{
    AddRef();
    *value = this;
    return S_OK;
}

HRESULT CTvskIntf::get_CanRW(VARIANT_BOOL* value)
{
    *value = Bool(HasManager(__LINE__) && m_pManager->GetCanRW());
    return S_OK;
}

HRESULT CTvskIntf::put_CanRW(VARIANT_BOOL value)
{
    if (HasManager(__LINE__))
        m_pManager->SetCanRW(value ? TRUE : FALSE);
    return S_OK;
}

HRESULT CTvskIntf::get_IsChangeEnabled(VARIANT_BOOL* value)
{
    *value = Bool(HasManager(__LINE__) && !m_pManager->IsExclusiveMode());
    return S_OK;
}

HRESULT CTvskIntf::get_ValidComm(LONG* value)
{
    if (!HasManager(__LINE__))
        *value = 0;
    else if (!m_pManager->IsConnected())
        *value = -1;
    else
        *value = m_pManager->GetAlarm() < 0 ? 1 : 0;
    return S_OK;
}

HRESULT CTvskIntf::get_ErrorCode(LONG* value)
{
    *value = HasManager(__LINE__) ? m_pManager->GetErrorCode() : 0;
    return S_OK;
}

HRESULT CTvskIntf::put_ErrorCode(LONG value)
{
    if (HasManager(__LINE__))
        m_pManager->SetErrorCode(value);
    return S_OK;
}

HRESULT CTvskIntf::SetMotor()
{
    if (HasWindow(__LINE__))
        m_pWindow->SetMotor();
    return S_OK;
}

HRESULT CTvskIntf::SetDrive()
{
    if (HasWindow(__LINE__))
        m_pWindow->SetDrive();
    return S_OK;
}

HRESULT CTvskIntf::EnterWizard(VARIANT_BOOL* result)
{
    PostCommand(kEnterWizard);
    *result = Bool(m_pManager != nullptr);
    return S_OK;
}

HRESULT CTvskIntf::OpenFile(BSTR, LONG* result)
{
    *result = PostCommand(kFileOpen);
    return S_OK;
}

HRESULT CTvskIntf::SaveFile(BSTR, LONG* result)
{
    *result = PostCommand(kFileSave);
    return S_OK;
}

HRESULT CTvskIntf::NewFile(LONG* result)
{
    *result = PostCommand(kFileNew);
    return S_OK;
}

HRESULT CTvskIntf::CloseFile(LONG* result)
{
    *result = PostCommand(kFileClose);
    return S_OK;
}

HRESULT CTvskIntf::Print(LONG* result)
{
    *result = PostCommand(kFilePrint);
    return S_OK;
}

HRESULT CTvskIntf::CreateTvskVar(BSTR name, VARIANT_BOOL store, VARIANT_BOOL* result)
{
    *result =
        Bool(HasManager(__LINE__) && m_pManager->CreateSessionVar(Text(name).c_str(), store ? TRUE : FALSE));
    return S_OK;
}

HRESULT CTvskIntf::DeleteTvskVar(BSTR name, VARIANT_BOOL* result)
{
    *result = Bool(HasManager(__LINE__) && m_pManager->DeleteSessionVar(Text(name).c_str()));
    return S_OK;
}

HRESULT CTvskIntf::ExePrgCommand(LONG)
{
    ProgramError(__FILE__, __LINE__, nullptr);
    return S_OK;
}

HRESULT CTvskIntf::ConfigConnect()
{
    if (HasManager(__LINE__))
        m_pManager->SendCommand(HOSTCMD_CONFIGCONN, 0, 0);
    return S_OK;
}

HRESULT CTvskIntf::MsgBox(BSTR text, LONG type, LONG* result)
{
    const UINT icon = type == 1   ? MB_ICONQUESTION
                      : type == 2 ? MB_ICONINFORMATION
                      : type == 3 ? MB_ICONWARNING
                                  : MB_ICONERROR;
    *result = HasManager(__LINE__) && m_pManager->HasActiveWindow()
                  ? m_pManager->MessageBox(CString(Text(text).c_str()), MB_OK | icon)
                  : 0;
    return S_OK;
}

HRESULT CTvskIntf::DictioString(LONG id, BSTR* result)
{
    CString text;
    if (HasManager(__LINE__))
    {
        if (id >= 0 && id <= 49999)
            m_pManager->GetString(static_cast<UINT>(id), text);
        else if (id == 60001)
            text = m_pManager->DataDb().GetDriveType(); // chosen before any parameter file is loaded
        else if (id == 60002)
            text = m_pManager->DataDb().GetLanguage();
        else if (id == 60003)
            text = m_pManager->GetProgramDir();
    }
    *result = BstrFromUtf8(text.GetString());
    return S_OK;
}

HRESULT CTvskIntf::UpdateMotor()
{
    if (HasWindow(__LINE__) && HasManager(__LINE__))
    {
        m_pWindow->UpdateMotor();
        m_pManager->SetModified(TRUE);
    }
    return S_OK;
}

HRESULT CTvskIntf::GetCamIpaBase(SHORT cam, LONG* result)
{
    *result = HasManager(__LINE__) ? m_pManager->GetCamStartAddr(cam) : 0;
    return S_OK;
}

HRESULT CTvskIntf::GetCamStepsNr(LONG* result)
{
    *result = HasManager(__LINE__) ? m_pManager->GetCamStepsNr() : 0;
    return S_OK;
}

HRESULT CTvskIntf::GetField(BSTR section, BSTR id, LONG index, BSTR* result)
{
    CString text;
    if (HasManager(__LINE__))
    {
        const std::string sectionText = Text(section);
        const std::string idText = Text(id);
        CTvskParDb& db = m_pManager->ParDb();
        if (sectionText == "PAR" && idText == "dblDefVal")
        {
            const DBPAR* par = db.GetPar(db.GetField("PAR", "szID", index).GetString(), true);
            if (par)
                text.Format("%12g", par->dblDefVal);
        }
        else
        {
            text = db.GetField(sectionText.c_str(), idText.c_str(), index);
        }
    }
    *result = BstrFromUtf8(text.GetString());
    return S_OK;
}

HRESULT CTvskIntf::SetField(BSTR section, BSTR id, LONG index, BSTR value, VARIANT_BOOL* result)
{
    *result = VARIANT_FALSE;
    if (!HasManager(__LINE__))
        return S_OK;
    const std::string sectionText = Text(section);
    const std::string idText = Text(id);
    CTvskParDb& db = m_pManager->ParDb();
    if (sectionText == "PAR" && idText == "dblDefVal")
    {
        // Unreadable text or a non-finite number changes nothing.
        double number = 0.0;
        if (!ReadNumber(Text(value), number))
            return S_OK;
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_R8;
        v.dblVal = number;
        const CString name = db.GetField("PAR", "szID", index);
        *result = Bool(m_pManager->SetParValue(name.GetString(), v, TRUE) == HOSTRES_OK);
    }
    else
    {
        *result = Bool(db.SetField(sectionText.c_str(), idText.c_str(), index, Text(value).c_str()) != 0);
    }
    return S_OK;
}

HRESULT CTvskIntf::Message(BSTR text, LONG flags, LONG* result)
{
    if (!HasManager(__LINE__))
        *result = 0;
    else if (!m_pManager->GetBoxOwner())
        *result = -1;
    else
        *result = m_pManager->MessageBox(CString(Text(text).c_str()), static_cast<UINT>(flags));
    return S_OK;
}

HRESULT CTvskIntf::ChmSetContext(LONG context, LONG command, BSTR file, BSTR topic, VARIANT_BOOL* result)
{
    *result = Bool(HasManager(__LINE__) &&
                   m_pManager->ChmSetContext(context, command, Text(file).c_str(), Text(topic).c_str()));
    return S_OK;
}

HRESULT CTvskIntf::ChmInvoke(VARIANT_BOOL* result)
{
    *result = Bool(HasManager(__LINE__) && m_pManager->ChmInvoke());
    return S_OK;
}

HRESULT CTvskIntf::ExecHtmlCommand(BSTR word, LONG* result)
{
    *result = 11;
    if (!HasManager(__LINE__))
        return S_OK;
    static const struct
    {
        const char* word;
        UINT command;
    } kWords[] = {{"CompareWithFile", HOSTCMD_COMPAREWITHFILE},
                  {"CompareWithDrive", HOSTCMD_COMPAREWITHDRIVE},
                  {"GoOnline", HOSTCMD_GOONLINE},
                  {"DownlParams", HOSTCMD_DOWNLPARAMS},
                  {"DownlPlc", HOSTCMD_DOWNLPLC},
                  {"DownlCams", HOSTCMD_DOWNLCAMS},
                  {"SaveParameters", HOSTCMD_SAVEPARAMETERS},
                  {"SavePlc", HOSTCMD_SAVEPLC}};
    const std::string text = Text(word);
    for (const auto& entry : kWords)
        if (text == entry.word)
        {
            *result = m_pManager->SendCommand(entry.command, 0, 0);
            return S_OK;
        }
    if (text == "Ok")
    {
        if (CWnd* owner = m_pManager->GetBoxOwner())
            m_pManager->PostToWindow(owner, WM_COMMAND, IDOK, 0);
        *result = 0;
        return S_OK;
    }
    const CString name(text.c_str());
    *result = m_pManager->SendCommand(
        HOSTCMD_DRIVECMD, static_cast<long>(reinterpret_cast<std::intptr_t>(name.GetString())), 0);
    return S_OK;
}

HRESULT CTvskIntf::get_MRUItem(LONG index, BSTR* value)
{
    const CString file = HasWindow(__LINE__) ? m_pWindow->RecentFile(index) : CString();
    *value = BstrFromUtf8(file.GetString());
    return S_OK;
}

HRESULT CTvskIntf::get_Par(BSTR name, VARIANT* value)
{
    VariantInit(value);
    if (HasManager(__LINE__))
        m_pManager->GetParValue(Text(name).c_str(), value);
    return S_OK;
}

HRESULT CTvskIntf::put_Par(BSTR name, VARIANT value)
{
    if (HasManager(__LINE__))
        m_pManager->SetParValue(Text(name).c_str(), value, TRUE);
    return S_OK;
}

HRESULT CTvskIntf::get_TvskVar(BSTR name, VARIANT* value)
{
    VariantInit(value);
    CString text;
    if (HasManager(__LINE__) && m_pManager->GetSessionVarValue(Text(name).c_str(), text))
    {
        value->vt = VT_BSTR;
        value->bstrVal = BstrFromUtf8(text.GetString());
    }
    return S_OK;
}

HRESULT CTvskIntf::put_TvskVar(BSTR name, VARIANT value)
{
    if (HasManager(__LINE__))
        m_pManager->SetSessionVarValue(Text(name).c_str(), value);
    return S_OK;
}

HRESULT CTvskIntf::get_Version(LONG kind, BSTR* value)
{
    const CString text = HasManager(__LINE__) ? m_pManager->GetVersionString(kind) : CString();
    *value = BstrFromUtf8(text.GetString());
    return S_OK;
}

HRESULT CTvskIntf::get_TargetPar(BSTR name, VARIANT* value)
{
    VariantInit(value);
    if (!HasManager(__LINE__))
        return S_OK;
    const std::string text = Text(name);
    if (!text.empty() && text[0] == '@' && m_pManager->IsConnected())
        m_pManager->ReadPar(text.c_str() + 1, value);
    else
        *value = m_pManager->ReadRaw(text.c_str());
    return S_OK;
}

HRESULT CTvskIntf::put_TargetPar(BSTR name, VARIANT value)
{
    if (!HasManager(__LINE__))
        return S_OK;
    const std::string text = Text(name);
    if (!text.empty() && text[0] == '@' && m_pManager->IsConnected())
        m_pManager->WritePar(text.c_str() + 1, value);
    else
        m_pManager->WriteRaw(text.c_str(), value);
    return S_OK;
}

HRESULT CTvskIntf::get_ParCustomBit(BSTR name, VARIANT_BOOL* value)
{
    *value = Bool(HasManager(__LINE__) && m_pManager->GetParCustom(Text(name).c_str(), 0) != 0);
    return S_OK;
}

HRESULT CTvskIntf::put_ParCustomBit(BSTR name, VARIANT_BOOL value)
{
    if (HasManager(__LINE__))
        m_pManager->SetParCustom(Text(name).c_str(), 0, value ? 1 : 0);
    return S_OK;
}

HRESULT CTvskIntf::get_ParCustomWord(BSTR name, SHORT* value)
{
    *value = HasManager(__LINE__) ? static_cast<SHORT>(m_pManager->GetParCustom(Text(name).c_str(), 1)) : 0;
    return S_OK;
}

HRESULT CTvskIntf::put_ParCustomWord(BSTR name, SHORT value)
{
    if (HasManager(__LINE__))
        m_pManager->SetParCustom(Text(name).c_str(), 1, value);
    return S_OK;
}

HRESULT CTvskIntf::get_ParCustomDWord(BSTR name, LONG* value)
{
    *value = HasManager(__LINE__) ? m_pManager->GetParCustom(Text(name).c_str(), 2) : 0;
    return S_OK;
}

HRESULT CTvskIntf::put_ParCustomDWord(BSTR name, LONG value)
{
    if (HasManager(__LINE__))
        m_pManager->SetParCustom(Text(name).c_str(), 2, value);
    return S_OK;
}

HRESULT CTvskIntf::get_Modified(VARIANT_BOOL* value)
{
    *value = Bool(HasManager(__LINE__) && m_pManager->IsModified());
    return S_OK;
}

HRESULT CTvskIntf::put_Modified(VARIANT_BOOL value)
{
    if (HasManager(__LINE__))
        m_pManager->SetModified(value ? TRUE : FALSE);
    return S_OK;
}

HRESULT CTvskIntf::get_MotorValue(SHORT index, DOUBLE* value)
{
    const DBMOTORDB* motor = HasManager(__LINE__) ? m_pManager->DataDb().GetMotorData() : nullptr;
    *value = motor && index >= 0 && index < kDataValues ? (&motor->dblD0)[index] : 0.0;
    return S_OK;
}

HRESULT CTvskIntf::get_DriveValue(SHORT index, DOUBLE* value)
{
    const DBDRIVEDB* drive = HasManager(__LINE__) ? m_pManager->DataDb().GetDriveData() : nullptr;
    *value = drive && index >= 0 && index < kDataValues ? (&drive->dblD0)[index] : 0.0;
    return S_OK;
}

HRESULT CTvskIntf::get_EncoderValue(SHORT index, BSTR* value)
{
    const DBMOTORENC* encoder = HasManager(__LINE__) ? m_pManager->DataDb().GetEncoderData() : nullptr;
    const char* fields[] = {
        encoder ? encoder->stE0 : "", encoder ? encoder->stE1 : "", encoder ? encoder->stE2 : "",
        encoder ? encoder->stE3 : "", encoder ? encoder->stE4 : "", encoder ? encoder->stE5 : "",
        encoder ? encoder->stE6 : "", encoder ? encoder->stE7 : "", encoder ? encoder->stE8 : ""};
    const char* text = index >= 0 && index < 9 ? fields[index] : "";
    *value = BstrFromUtf8(*text ? text : "-1");
    return S_OK;
}

HRESULT CTvskIntf::get_CamValue(SHORT point, SHORT cam, DOUBLE* value)
{
    *value = 0.0;
    if (HasManager(__LINE__))
        m_pManager->GetCamData(point, value, nullptr, nullptr, cam);
    return S_OK;
}

HRESULT CTvskIntf::put_CamValue(SHORT point, SHORT cam, DOUBLE value)
{
    if (HasManager(__LINE__) && std::isfinite(value))
        m_pManager->SetCamData(point, value, 0, TRUE, cam);
    return S_OK;
}

HRESULT CTvskIntf::get_CamInterp(SHORT point, SHORT cam, SHORT* value)
{
    int interp = 0;
    if (HasManager(__LINE__))
        m_pManager->GetCamData(point, nullptr, &interp, nullptr, cam);
    *value = static_cast<SHORT>(interp);
    return S_OK;
}

HRESULT CTvskIntf::put_CamInterp(SHORT point, SHORT cam, SHORT value)
{
    double current = 0.0;
    if (HasManager(__LINE__))
    {
        m_pManager->GetCamData(point, &current, nullptr, nullptr, cam);
        m_pManager->SetCamData(point, current, value, TRUE, cam);
    }
    return S_OK;
}

HRESULT CTvskIntf::get_SelectetRoventar(VARIANT_BOOL* value)
{
    *value = Bool(HasWindow(__LINE__) && m_pWindow->IsSelectedRoventar());
    return S_OK;
}

HRESULT CTvskIntf::get_IsModem(VARIANT_BOOL* value)
{
    *value = Bool(HasManager(__LINE__) && m_pManager->Link().IsModem());
    return S_OK;
}
