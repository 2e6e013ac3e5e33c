// The drive selection page.
#include "DriveHtmlWnd.h"

#include "TvskManager.h"
#include "TvskMessages.h"

#include <ZoSupport/ProgramError.h>

void CDriveHtmlWnd::OnDocumentComplete(CString)
{
    if (!BindPage())
        return;
    UpdateSelectCtrl();
    if (m_pManager)
        UpdateDriveValue();
    ApplyPageTexts();
    FitDialog(nullptr);
}

LRESULT CDriveHtmlWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HTML_SELCHANGE)
    {
        const auto* change = reinterpret_cast<const HTML_SELCHANGE*>(lParam);
        if (change)
            OnHtmlSelChange(change->pszName, change->pszValue);
        return 0;
    }
    return CSelectHtmlWnd::WindowProc(message, wParam, lParam);
}

void CDriveHtmlWnd::UpdateSelectCtrl()
{
    if (!m_htmlMng || !m_pManager)
    {
        ProgramError("DriveHtmlWnd", __LINE__, nullptr);
        return;
    }
    CTvskDriveDb& db = m_pManager->DriveDb();
    const bool current = db.GetCurrRecord() != nullptr;
    // Without a current record the selects show no choice.
    const CString drive = db.GetCurrDrive();
    const CString rating = db.GetCurrCurrent();
    const CString voltage = db.GetCurrVoltage();
    if (m_htmlMng.FillSelect("selDrive", db.GetDriveMap(), current ? &drive : nullptr) &&
        m_htmlMng.FillSelect("selCurrent", db.GetCurrentMap(), current ? &rating : nullptr))
    {
        m_htmlMng.FillSelect("selVoltage", db.GetVoltageMap(), current ? &voltage : nullptr);
        return;
    }
    // A missing map leaves the following selects empty.
    if (!db.GetDriveMap())
        m_htmlMng.ResetSelect("selCurrent");
    m_htmlMng.ResetSelect("selVoltage");
}

void CDriveHtmlWnd::OnHtmlSelChange(const char* name, const char* value)
{
    if (!m_htmlMng || !m_pManager)
    {
        ProgramError("DriveHtmlWnd", __LINE__, nullptr);
        return;
    }
    m_strLastName = name ? name : "";
    m_strLastValue = value ? value : "";
    CTvskDriveDb& db = m_pManager->DriveDb();
    if (m_strLastName == "selDrive")
        db.SetCurrDrive(m_strLastValue);
    else if (m_strLastName == "selCurrent")
        db.SetCurrCurrent(m_strLastValue);
    else if (m_strLastName == "selVoltage")
        db.SetCurrVoltage(m_strLastValue);
    m_htmlMng.PutText("strDriveType", db.GetViewString());
    UpdateSelectCtrl();
    UpdateDriveValue();
}

void CDriveHtmlWnd::UpdateDriveValue()
{
    if (!m_htmlMng || !m_pManager)
    {
        ProgramError("DriveHtmlWnd", __LINE__, nullptr);
        return;
    }
    for (int i = 0; i < 20; ++i)
        m_htmlMng.PutNumber(FormatString("idD%d", i), m_pManager->GetDriveValue(i));
    PutImage("imgDriveType", m_pManager->GetDriveImageName());
    m_htmlMng.PutText("strDriveType", m_pManager->GetDriveViewString());
}

void CDriveHtmlWnd::GetDriveValue()
{
    if (!m_htmlMng || !m_pManager)
        return;
    for (int i = 0; i < 20; ++i)
    {
        const CString name = FormatString("idD%d", i);
        double value = 0.0;
        if (ReadNumber(name, value))
            m_pManager->SetDriveValue(i, value);
        else
            m_htmlMng.PutNumber(name, m_pManager->GetDriveValue(i));
    }
}
