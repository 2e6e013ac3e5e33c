// The motor selection dialog: the motor page in place of control 1000 and the plug-ins the page
// starts (the custom motor database), kept loaded until OK or Cancel.
#pragma once

#include "MotorHtmlWnd.h"
#include "PluginCall.h"

#include <Modlode/PluginLoaderProxy.h>

constexpr UINT IDD_MOTOR_SELECT = 129;

class CDlgMotorSelect : public CSelectDlg
{
public:
    explicit CDlgMotorSelect(CWnd* parent = nullptr);
    CMotorHtmlWnd& MotorWnd() { return m_wndMotor; }
    CPluginLoaderProxy& LoaderProxy() { return m_loaderProxy; }

protected:
    CSelectHtmlWnd& PageWnd() override { return m_wndMotor; }
    CString PagePath() override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnHtmlPlugin(const PLUGIN_CALL* call);

    CMotorHtmlWnd m_wndMotor;
    CPluginLoaderProxy m_loaderProxy;
};
