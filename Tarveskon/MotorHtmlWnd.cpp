// The motor selection page.
#include "MotorHtmlWnd.h"

#include "TvskManager.h"
#include "TvskMessages.h"

#include <ZoSupport/ProgramError.h>
#include <framework/LeadingNumber.h>

namespace
{

// The motor data fields in the order they are shown and read: "idD6" first.
constexpr int kDataOrder[20] = {6, 0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
const CPoint kDialogCorner(100, 100);

} // namespace

void CMotorHtmlWnd::OnDocumentComplete(CString)
{
    if (!BindPage())
        return;
    UpdateSelectCtrl();
    if (m_pManager)
        UpdateMotorValue();
    ApplyPageTexts();
    if (m_pManager)
        UpdateEncoderValue();
    FitDialog(&kDialogCorner);
}

LRESULT CMotorHtmlWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto* change = reinterpret_cast<const HTML_SELCHANGE*>(lParam);
    switch (message)
    {
    case WM_HTML_SELCHANGE:
        if (change)
            OnHtmlSelChange(change->pszName, change->pszValue);
        return 0;
    case WM_HTML_RADIOCHANGE:
        if (change)
            OnHtmlRadioChange(change->pszName, change->pszValue);
        return 0;
    case WM_UPDATE_VALUES:
        OnUpdateValues();
        return 0;
    default:
        return CSelectHtmlWnd::WindowProc(message, wParam, lParam);
    }
}

void CMotorHtmlWnd::UpdateSelectCtrl()
{
    if (!m_htmlMng || !m_pManager || !m_pManager->GetMotorDb())
    {
        ProgramError("MotorHtmlWnd", __LINE__, nullptr);
        return;
    }
    CTvskMotorDb& db = *m_pManager->GetMotorDb();
    struct Level
    {
        const char* select;
        CMapStringToPtr* map;
        CString current;
    };
    const Level levels[] = {
        {"selType", db.GetTypeMap(), db.GetCurrType()},
        {"selSize", db.GetSizeMap(), db.GetCurrSize()},
        {"selVel", db.GetVelMap(), db.GetCurrVel()},
        {"selTorque", db.GetTorqueMap(), db.GetCurrTorque()},
        {"selVoltage", db.GetVoltageMap(), db.GetCurrVoltage()},
    };
    bool complete = true;
    for (const Level& level : levels)
    {
        if (!complete)
        {
            m_htmlMng.ResetSelect(level.select);
            continue;
        }
        if (!level.map)
        {
            ProgramError("MotorHtmlWnd", __LINE__, nullptr);
            m_htmlMng.ResetSelect(level.select);
            complete = false;
            continue;
        }
        m_htmlMng.FillSelect(level.select, level.map, &level.current);
    }
    if (complete)
        m_htmlMng.PutText("strMotorType", db.GetViewString());

    m_htmlMng.ResetSelect("selEncoder");
    for (int i = 0; i < db.GetEncNumRecs(); ++i)
        if (const DBMOTORENC* encoder = db.GetEncRecord(i))
            m_htmlMng.AddSelectOption("selEncoder", encoder->szCodVrn);
    if (const DBMOTORENC* current = db.GetCurrEncoder())
    {
        m_htmlMng.PutText("selEncoder", current->szCodVrn);
    }
    else if (const DBMOTORENC* first = db.GetEncNumRecs() > 0 ? db.GetEncRecord(0) : nullptr)
    {
        m_htmlMng.PutText("selEncoder", first->szCodVrn);
        db.SetCurrEncoder(first->szCodVrn);
    }
}

void CMotorHtmlWnd::OnHtmlSelChange(const char* name, const char* value)
{
    if (!m_htmlMng || !m_pManager || !m_pManager->GetMotorDb())
    {
        ProgramError("MotorHtmlWnd", __LINE__, nullptr);
        return;
    }
    CTvskMotorDb& db = *m_pManager->GetMotorDb();
    const CString select(name ? name : "");
    const CString text(value ? value : "");
    if (select == "selType")
        db.SetCurrType(text);
    else if (select == "selSize")
        db.SetCurrSize(text);
    else if (select == "selVel")
        db.SetCurrVel(text);
    else if (select == "selTorque")
        db.SetCurrTorque(text);
    else if (select == "selVoltage")
        db.SetCurrVoltage(text);
    else if (select == "selEncoder")
        db.SetCurrEncoder(text);
    else
        return;
    PostMessage(WM_UPDATE_VALUES, 0, 0);
}

void CMotorHtmlWnd::OnUpdateValues()
{
    if (!m_pManager || !m_pManager->GetMotorDb())
        return;
    UpdateSelectCtrl();
    UpdateMotorValue();
    UpdateEncoderValue();
    ReadMotorDatum(6);
    m_htmlMng.PutText("strMotorType", m_pManager->GetMotorDb()->GetViewString());
}

void CMotorHtmlWnd::OnHtmlRadioChange(const char* name, const char* value)
{
    if (!m_pManager || !name || CString(name) != "idD6")
        return;
    // Read as a decimal integer: a value that is no number sets 0.
    m_pManager->SetMotorValue(6, tvsk::LeadingInt(value ? value : ""));
    m_htmlMng.PutText("strMotorType", m_pManager->GetMotorViewString());
}

void CMotorHtmlWnd::UpdateMotorValue()
{
    if (!m_htmlMng || !m_pManager)
    {
        ProgramError("MotorHtmlWnd", __LINE__, nullptr);
        return;
    }
    for (int i : kDataOrder)
        m_htmlMng.PutNumber(FormatString("idD%d", i), m_pManager->GetMotorValue(i));
    PutImage("imgMotorType", m_pManager->GetMotorImageName());
    m_htmlMng.PutText("strMotorType", m_pManager->GetMotorViewString());
}

void CMotorHtmlWnd::UpdateEncoderValue()
{
    if (!m_htmlMng || !m_pManager)
        return;
    for (int i = 0; i < 5; ++i)
        m_htmlMng.PutText(FormatString("idE%d", i), m_pManager->GetEncoderValue(i));
}

void CMotorHtmlWnd::ReadMotorDatum(int i)
{
    const CString name = FormatString("idD%d", i);
    double value = 0.0;
    if (ReadNumber(name, value))
        m_pManager->SetMotorValue(i, value);
    else
        m_htmlMng.PutNumber(name, m_pManager->GetMotorValue(i));
}

void CMotorHtmlWnd::GetMotorValue()
{
    if (!m_htmlMng || !m_pManager)
        return;
    for (int i : kDataOrder)
        ReadMotorDatum(i);
}
