// Sends parameters, PLC program and cams to the drive and has the drive store them, in one place.
#pragma once

#include <ui/Dialog.h>

#include <initializer_list>

class CTvskManager;

constexpr UINT IDD_SAVE_AND_DOWNLOAD = 136;
constexpr UINT IDC_DOWNLOAD_PARAMS = 1010;
constexpr UINT IDC_DOWNLOAD_PLC = 1011;
constexpr UINT IDC_DOWNLOAD_CAMS = 1012;
constexpr UINT IDC_DOWNLOAD = 1013;
constexpr UINT IDC_SAVE_PARAMS = 1014;
constexpr UINT IDC_SAVE_PLC = 1015;
constexpr UINT IDC_SAVE = 1016;

class CDlgSaveAndDownload : public CDialog
{
public:
    explicit CDlgSaveAndDownload(CWnd* parent = nullptr);

    void SetHost(CTvskManager* host) { m_pHost = host; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    void OnCancel() override {}

private:
    void OnDownload();
    void OnSave();
    void OnEnableCheck();
    void ReadChecks();
    void WriteChecks();
    // Connects when the drive is not; opened tells whether this call opened the link.
    bool EnsureConnected(bool& opened);
    // A check box's member, its host command and the box itself.
    struct Ticked
    {
        BOOL* ticked;
        UINT command;
        UINT box;
    };
    // Sends the host command of every ticked box over the link (opened for them when it was not),
    // unticks them and disables the button. Downloading closes a link it opened; saving frees the
    // link's owner, then closes a link it found open and keeps one it opened.
    void RunTicked(std::initializer_list<Ticked> commands, UINT button, bool saving);

    BOOL m_bDownloadParams = FALSE;
    BOOL m_bDownloadPlc = FALSE;
    BOOL m_bDownloadCams = FALSE;
    BOOL m_bSaveParams = FALSE;
    BOOL m_bSavePlc = FALSE;
    CTvskManager* m_pHost = nullptr;
};
