// The configuration dialog's layout, its enabling rule, OK and the autodetect worker's dialog side.
#include "VrnSerConfigDlg.h"

#include <com/Com.h>
#include <ui/Controls.h>
#include <ui/Language.h>
#include <ui/MessageBox.h>

#include <kernel/SerialPortMap.h>
#include <kernel/SharedLibrary.h>
#include <kernel/Time.h>

#include <cstdlib>
#include <iterator>
#include <map>
#include <string>
#include <string_view>

namespace
{
const DlgItem ConfigItems[] = {
    {DlgKind::RadioButton, IDC_CFG_SERIAL, 8, 6, 120, 10, "Serial comunication ", WS_GROUP},
    {DlgKind::ComboBox, IDC_CFG_PORT, 16, 20, 68, 80, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL},
    {DlgKind::ComboBox, IDC_CFG_BAUD, 86, 20, 44, 80, nullptr, CBS_DROPDOWNLIST},
    {DlgKind::ComboBox, IDC_CFG_FRAME, 132, 20, 42, 80, nullptr, CBS_DROPDOWNLIST},
    {DlgKind::RadioButton, IDC_CFG_BINARY, 16, 36, 60, 10, "Binary mode", WS_GROUP},
    {DlgKind::RadioButton, IDC_CFG_ASCII, 80, 36, 60, 10, "ASCII mode"},
    {DlgKind::GroupBox, 0xFFFF, 176, 4, 90, 50, " Autodetect "},
    {DlgKind::PushButton, IDC_CFG_AUTODETECT, 184, 14, 40, 14, "Start"},
    {DlgKind::LText, 0xFFFF, 184, 30, 36, 8, "Baudrate"},
    {DlgKind::LText, IDC_CFG_TRIED_BAUD, 222, 30, 40, 8},
    {DlgKind::LText, 0xFFFF, 184, 40, 36, 8, "Address"},
    {DlgKind::LText, IDC_CFG_TRIED_ADDRESS, 222, 40, 40, 8},
    {DlgKind::CheckBox, IDC_CFG_MODEM, 16, 50, 150, 10, "Enable modem connection"},
    {DlgKind::LText, 0xFFFF, 16, 64, 50, 8, "Dial number"},
    {DlgKind::EditText, IDC_CFG_DIAL, 70, 62, 98, 12, nullptr, ES_AUTOHSCROLL},
    {DlgKind::RadioButton, IDC_CFG_CANOPEN, 8, 82, 120, 10, "CanOpen comunication "},
    {DlgKind::LText, 0xFFFF, 16, 98, 36, 8, "Baudrate"},
    {DlgKind::ComboBox, IDC_CFG_CAN_BAUD, 56, 96, 50, 80, nullptr, CBS_DROPDOWNLIST},
    {DlgKind::GroupBox, 0xFFFF, 8, 114, 160, 30, " Protocol settings "},
    {DlgKind::LText, 0xFFFF, 16, 126, 30, 8, "Address"},
    {DlgKind::EditText, IDC_CFG_ADDRESS, 46, 124, 30, 12},
    {DlgKind::LText, 0xFFFF, 86, 126, 30, 8, "Timeout"},
    {DlgKind::EditText, IDC_CFG_TIMEOUT, 118, 124, 40, 12},
    {DlgKind::DefPushButton, IDOK, 176, 110, 50, 14, "OK"},
    {DlgKind::PushButton, IDCANCEL, 176, 128, 50, 14, "Cancel"},
};
const DialogTemplate ConfigTemplate = {"Vrn protocol configuration",
                                       WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                       274,
                                       150,
                                       ConfigItems,
                                       static_cast<int>(std::size(ConfigItems))};
constexpr UINT ConfigTemplateId = 102;
const BOOL ConfigRegistered = AfxRegisterDialogTemplate(ConfigTemplateId, &ConfigTemplate);

const char* const FrameTexts[] = {"N,8,1", "E,8,1", "O,8,1", "N,7,1", "E,7,1", "O,7,1"};
const char* const CanBaudTexts[] = {" 50 kb/s", "100 kb/s", "125 kb/s", "250 kb/s",
                                    "500 kb/s", "800 kb/s", "  1 Mb/s"};
const DWORD CanBaudRates[] = {50000, 100000, 125000, 250000, 500000, 800000, 1000000};
constexpr DWORD FirstPortCode = 5;
constexpr DWORD LastPort = 255;
constexpr int MaxDialLength = 255;
constexpr DWORD StopPollMilliseconds = 100;

CComboBox& Combo(const CWnd& dialog, UINT id)
{
    return *static_cast<CComboBox*>(dialog.GetDlgItem(static_cast<int>(id)));
}

CButton& Button(const CWnd& dialog, UINT id)
{
    return *static_cast<CButton*>(dialog.GetDlgItem(static_cast<int>(id)));
}

// A device as the port list names it: below /dev without the folder ("ttyUSB0", "pts/3").
std::string DeviceName(const std::string& path)
{
    constexpr std::string_view dev = "/dev/";
    return path.compare(0, dev.size(), dev) == 0 ? path.substr(dev.size()) : path;
}

CVrnSerConfigDialog g_configDialog;
} // namespace

CVrnSerConfigDlg::CVrnSerConfigDlg(CDriveSettings& settings, CAutodetectTarget& target, CWnd* parent)
    : CDialog(ConfigTemplateId, parent), m_result(settings), m_state(settings), m_target(target)
{
    MapCommand(IDC_CFG_SERIAL, [this] { SetMode(false); });
    MapCommand(IDC_CFG_CANOPEN, [this] { SetMode(true); });
    MapCommand(IDC_CFG_MODEM, [this] { OnModem(); });
    MapCommand(IDC_CFG_BINARY, [this] { m_state.asciiMode = false; });
    MapCommand(IDC_CFG_ASCII, [this] { m_state.asciiMode = true; });
    MapCommand(IDC_CFG_AUTODETECT, [this] { OnAutodetect(); });
}

CVrnSerConfigDlg::~CVrnSerConfigDlg()
{
    m_autodetect.running = false;
    m_autodetect.found = false;
    JoinWorker();
}

BOOL CVrnSerConfigDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    CComboBox& ports = Combo(*this, IDC_CFG_PORT);
    std::map<int, std::string> devices;
    for (const tvsk::kernel::SerialPortEntry& entry : tvsk::kernel::ListSerialPorts())
        devices[entry.port] = entry.device;
    for (DWORD port = 1; port <= LastPort; ++port)
    {
        CString text = CString("COM") + std::to_string(port).c_str();
        if (const auto device = devices.find(static_cast<int>(port)); device != devices.end())
            text += CString("  ") + DeviceName(device->second).c_str();
        ports.SetItemData(ports.AddString(text), port + FirstPortCode - 1);
    }
    CComboBox& bauds = Combo(*this, IDC_CFG_BAUD);
    for (DWORD baud : kAutodetectBaudRates)
        bauds.SetItemData(bauds.AddString(std::to_string(baud).c_str()), baud);
    CComboBox& frames = Combo(*this, IDC_CFG_FRAME);
    for (DWORD code = 0; code < std::size(FrameTexts); ++code)
        frames.SetItemData(frames.AddString(FrameTexts[code]), code);
    CComboBox& canBauds = Combo(*this, IDC_CFG_CAN_BAUD);
    for (size_t i = 0; i < std::size(CanBaudRates); ++i)
        canBauds.SetItemData(canBauds.AddString(CanBaudTexts[i]), CanBaudRates[i]);
    SelectData(IDC_CFG_PORT, m_state.portCode);
    SelectData(IDC_CFG_BAUD, m_state.baudRate);
    SelectData(IDC_CFG_FRAME, m_state.frameCode);
    SelectData(IDC_CFG_CAN_BAUD, m_state.canBitRate);
    Button(*this, m_state.asciiMode ? IDC_CFG_ASCII : IDC_CFG_BINARY).SetCheck(BST_CHECKED);
    if (m_state.modem)
    {
        Button(*this, IDC_CFG_MODEM).SetCheck(BST_CHECKED);
        SetDlgItemText(IDC_CFG_DIAL, m_state.dialNumber.c_str());
    }
    SetDlgItemText(IDC_CFG_TIMEOUT, std::to_string(m_state.timeOut).c_str());
    SetDlgItemText(IDC_CFG_ADDRESS, std::to_string(m_state.address).c_str());
    Button(*this, m_state.canOpenMode ? IDC_CFG_CANOPEN : IDC_CFG_SERIAL).SetCheck(BST_CHECKED);
    ApplyEnablingRule();
    return TRUE;
}

void CVrnSerConfigDlg::SelectData(UINT id, DWORD data)
{
    CComboBox& combo = Combo(*this, id);
    int selected = 0;
    for (int i = 0; i < combo.GetCount(); ++i)
        if (combo.GetItemData(i) == data)
        {
            selected = i;
            break;
        }
    combo.SetCurSel(selected);
}

DWORD CVrnSerConfigDlg::SelectedData(UINT id, DWORD keep) const
{
    const CComboBox& combo = Combo(*this, id);
    const int selected = combo.GetCurSel();
    return selected < 0 ? keep : static_cast<DWORD>(combo.GetItemData(selected));
}

void CVrnSerConfigDlg::Enable(UINT id, bool enable)
{
    GetDlgItem(static_cast<int>(id))->EnableWindow(enable ? TRUE : FALSE);
}

void CVrnSerConfigDlg::ApplyEnablingRule()
{
    const bool serial = !m_state.canOpenMode;
    for (UINT id : {IDC_CFG_PORT, IDC_CFG_BAUD, IDC_CFG_FRAME, IDC_CFG_BINARY, IDC_CFG_ASCII, IDC_CFG_MODEM})
        Enable(id, serial);
    Enable(IDC_CFG_CAN_BAUD, !serial);
    Enable(IDC_CFG_DIAL, serial && m_state.modem);
    Enable(IDC_CFG_AUTODETECT, serial && !m_state.modem && !m_target.PortOpen());
}

void CVrnSerConfigDlg::SetMode(bool canOpen)
{
    m_state.canOpenMode = canOpen;
    // The two modes stand in different radio groups of the layout: each clears the other.
    Button(*this, canOpen ? IDC_CFG_SERIAL : IDC_CFG_CANOPEN).SetCheck(BST_UNCHECKED);
    ApplyEnablingRule();
}

void CVrnSerConfigDlg::OnModem()
{
    m_state.modem = !m_state.modem;
    ApplyEnablingRule();
}

void CVrnSerConfigDlg::OnOK()
{
    // The dialog closes only when autodetect is idle.
    if (m_autodetect.running)
        return;
    m_state.portCode = SelectedData(IDC_CFG_PORT, m_state.portCode);
    m_state.baudRate = SelectedData(IDC_CFG_BAUD, m_state.baudRate);
    m_state.canBitRate = SelectedData(IDC_CFG_CAN_BAUD, m_state.canBitRate);
    m_state.frameCode = SelectedData(IDC_CFG_FRAME, m_state.frameCode);
    CString text;
    GetDlgItemText(IDC_CFG_DIAL, text);
    m_state.dialNumber = std::string(text.GetString()).substr(0, MaxDialLength);
    GetDlgItemText(IDC_CFG_TIMEOUT, text);
    m_state.timeOut = static_cast<WORD>(std::strtoul(text, nullptr, 10));
    GetDlgItemText(IDC_CFG_ADDRESS, text);
    m_state.address = static_cast<SHORT>(std::strtoul(text, nullptr, 10));
    m_result = m_state;
    JoinWorker();
    EndDialog(IDOK);
}

void CVrnSerConfigDlg::OnCancel()
{
    if (m_autodetect.running)
        return;
    JoinWorker();
    EndDialog(IDCANCEL);
}

void CVrnSerConfigDlg::OnAutodetect()
{
    if (m_autodetect.running)
        StopAutodetect();
    else
        StartAutodetect();
}

void CVrnSerConfigDlg::StartAutodetect()
{
    JoinWorker();
    m_state.portCode = SelectedData(IDC_CFG_PORT, m_state.portCode);
    m_state.frameCode = SelectedData(IDC_CFG_FRAME, m_state.frameCode);
    for (UINT id :
         {UINT(IDOK), UINT(IDCANCEL), UINT(IDC_CFG_TIMEOUT), UINT(IDC_CFG_ADDRESS), UINT(IDC_CFG_BAUD)})
        Enable(id, false);
    SetDlgItemText(IDC_CFG_AUTODETECT, AfxTranslatedText("Stop"));
    m_autodetect.running = true;
    m_autodetect.done = false;
    m_worker = std::thread(
        [this, port = m_state.portCode, frame = m_state.frameCode]
        {
            CoInitialize(nullptr);
            m_autodetect.found = false;
            m_target.Autodetect(port, frame, m_autodetect);
            CoUninitialize();
        });
    SetTimer(TimerId, TimerMilliseconds);
}

void CVrnSerConfigDlg::StopAutodetect()
{
    m_autodetect.running = false;
    while (!m_autodetect.done)
        ::Sleep(StopPollMilliseconds);
    JoinWorker();
}

void CVrnSerConfigDlg::JoinWorker()
{
    if (m_worker.joinable())
        m_worker.join();
}

void CVrnSerConfigDlg::RestoreAfterAutodetect()
{
    for (UINT id :
         {UINT(IDOK), UINT(IDCANCEL), UINT(IDC_CFG_TIMEOUT), UINT(IDC_CFG_ADDRESS), UINT(IDC_CFG_BAUD)})
        Enable(id, true);
    SetDlgItemText(IDC_CFG_AUTODETECT, AfxTranslatedText("Start"));
}

void CVrnSerConfigDlg::OnTimer(UINT_PTR id)
{
    if (id != TimerId)
    {
        CDialog::OnTimer(id);
        return;
    }
    const SHORT address = m_autodetect.address;
    const DWORD baudRate = m_autodetect.baudRate;
    SetDlgItemText(IDC_CFG_TRIED_ADDRESS, std::to_string(address).c_str());
    SetDlgItemText(IDC_CFG_TRIED_BAUD, std::to_string(baudRate).c_str());
    if (!m_autodetect.found && !m_autodetect.done)
        return;
    KillTimer(TimerId);
    if (!m_autodetect.found)
    {
        JoinWorker();
        SetDlgItemText(IDC_CFG_TRIED_BAUD, "");
        SetDlgItemText(IDC_CFG_TRIED_ADDRESS, "");
        RestoreAfterAutodetect();
        return;
    }
    SelectData(IDC_CFG_BAUD, baudRate);
    SetDlgItemText(IDC_CFG_ADDRESS, std::to_string(address).c_str());
    CString question;
    question.Format("%s\nADDRESS: %d\nBAUDRATE: %d\n", AfxTranslatedText("Received answer from").GetString(),
                    address, static_cast<int>(baudRate));
    question += AfxTranslatedText("Continue searching for other drives?");
    if (MessageBox(question, "", MB_YESNO) == IDYES)
        SetTimer(TimerId, TimerMilliseconds);
    else
    {
        RestoreAfterAutodetect();
        m_autodetect.running = false;
    }
    m_autodetect.found = false;
}

bool CVrnSerConfigDialog::Edit(CDriveSettings& settings, CAutodetectTarget& target)
{
    CVrnSerConfigDlg dialog(settings, target, CWnd::GetActiveWindow());
    return dialog.DoModal() == IDOK;
}

bool InstallVrnSerConfigDialog(const CSharedLibrary& module)
{
    using SetHook = CConfigDialog* (*)(CConfigDialog*);
    auto setHook = reinterpret_cast<SetHook>(module.Symbol("VrnSerSetConfigDialog"));
    if (!setHook)
        return false;
    setHook(&g_configDialog);
    return true;
}
