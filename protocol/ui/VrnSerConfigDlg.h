// The drive protocol's configuration dialog: the settings field by field and the autodetect.
#pragma once

#include <protocol/ConfigDialog.h>

#include <ui/Dialog.h>

#include <thread>

class CSharedLibrary;

enum VrnSerConfigControl : UINT
{
    IDC_CFG_PORT = 201,
    IDC_CFG_BAUD = 202,
    IDC_CFG_FRAME = 203,
    IDC_CFG_TIMEOUT = 204,
    IDC_CFG_ADDRESS = 205,
    IDC_CFG_AUTODETECT = 206,
    IDC_CFG_TRIED_BAUD = 207,
    IDC_CFG_TRIED_ADDRESS = 208,
    IDC_CFG_CAN_BAUD = 209,
    IDC_CFG_BINARY = 210,
    IDC_CFG_ASCII = 211,
    IDC_CFG_SERIAL = 212,
    IDC_CFG_CANOPEN = 213,
    IDC_CFG_MODEM = 214,
    IDC_CFG_DIAL = 215
};

class CVrnSerConfigDlg : public CDialog
{
public:
    static constexpr UINT TimerId = 1;
    static constexpr UINT TimerMilliseconds = 100;

    // settings: what the dialog starts from and, after OK, what it accepted.
    CVrnSerConfigDlg(CDriveSettings& settings, CAutodetectTarget& target, CWnd* parent = nullptr);
    ~CVrnSerConfigDlg() override;

    bool IsAutodetectRunning() const noexcept { return m_autodetect.running; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR id) override;

private:
    void ApplyEnablingRule();
    void SetMode(bool canOpen);
    void OnModem();
    void OnAutodetect();
    void StartAutodetect();
    void StopAutodetect();
    // Back to idle: the controls autodetect had disabled, the button "Start".
    void RestoreAfterAutodetect();
    void JoinWorker();
    // The selected item's data, or keep when nothing is selected.
    DWORD SelectedData(UINT id, DWORD keep) const;
    void SelectData(UINT id, DWORD data);
    void Enable(UINT id, bool enable);

    CDriveSettings& m_result;
    CDriveSettings m_state;
    CAutodetectTarget& m_target;
    CAutodetectState m_autodetect;
    std::thread m_worker;
};

// The hook the protocol component calls from Config.
class CVrnSerConfigDialog : public CConfigDialog
{
public:
    bool Edit(CDriveSettings& settings, CAutodetectTarget& target) override;
};

// Hands this library's dialog to the protocol component loaded as module; false when the module
// has no such hook.
bool InstallVrnSerConfigDialog(const CSharedLibrary& module);
