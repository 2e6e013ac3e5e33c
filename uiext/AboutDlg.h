// The about box, also the splash screen that closes itself after its time.
#pragma once

#include "HyperlinkStatic.h"
#include "Picture.h"

#include <ui/Dialog.h>

constexpr UINT IDD_ABOUTBOX = 15000;
constexpr UINT IDC_ABOUT_PICTURE = 15001;
constexpr UINT IDC_ABOUT_VERSION = 15002;
constexpr UINT IDC_ABOUT_BUILD = 15003;
constexpr UINT IDC_ABOUT_LEGAL = 15004;
constexpr UINT IDC_ABOUT_LINK = 15005;
constexpr UINT IDC_ABOUT_DATABASES = 15006;

class CAboutDlg : public CDialog
{
public:
    CAboutDlg();
    // The about box's owner answers its F1.
    CAboutDlg(bool splash, UINT splashMs, CWnd* parent = nullptr);

    void SetCaption(const CString& caption) { m_strCaption = caption; }

    // Filled by the caller before the box is shown.
    CString m_strPicturePath;
    CString m_strHyperlink;
    CString m_strMotorDbVersion = "n/a";
    CString m_strDriveDbVersion = "n/a";
    CString m_strProductVersion = "n/a";

    static constexpr UINT_PTR kSplashTimer = 1;
    // The controls under the picture, top to bottom.
    static constexpr UINT kBelowPicture[] = {IDC_ABOUT_VERSION, IDC_ABOUT_DATABASES, IDC_ABOUT_BUILD,
                                             IDC_ABOUT_LEGAL,   IDC_ABOUT_LINK,      IDOK};

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    void OnLButtonUp(UINT flags, CPoint point) override;

    CPictureWnd m_wndPicture;
    CHyperlinkStatic m_wndHyperlink;
    CString m_strBuild;
    CString m_strVersion;
    CString m_strLegal;
    CString m_strDatabases;
    BOOL m_bSplash = FALSE;
    UINT m_nSplashMs = 3000;
    CString m_strCaption;

private:
    void FitToPicture();
};
