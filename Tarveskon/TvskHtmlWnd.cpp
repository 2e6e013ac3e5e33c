// The main and status page windows.
#include "TvskHtmlWnd.h"

#include "PluginCall.h"
#include "TvskManager.h"
#include "TvskMessages.h"

#include <ZoSupport/Path.h>
#include <ZoSupport/ProgramError.h>
#include <ui/App.h>
#include <ui/MessageBox.h>
#include <framework/LeadingNumber.h>
#include <ui/RecentFileList.h>
#include <web/engine/PageCurtain.h>
#include <web/engine/WebBrowser.h>

#include <QWebEnginePage>

#include <cstdint>

namespace
{

// Host commands of the page list.

constexpr UINT kNotANumberText = 2150;

bool ShowsParValue(long kind)
{
    switch (kind)
    {
    case HTMLCTRL_TEXT:
    case HTMLCTRL_SELECT:
    case HTMLCTRL_IMAGE:
    case HTMLCTRL_RADIO:
    case HTMLCTRL_CHECKBOX:
    case HTMLCTRL_PRE:
    case HTMLCTRL_ANCHOR:
        return true;
    default:
        return false;
    }
}

CString ImagePath(const CString& dir, CString file)
{
    file.TrimLeft('/');
    return FormatString("%s/%s", dir.GetString(), file.GetString());
}

} // namespace

BOOL CTvskHtmlWnd::Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!m_pManager)
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return FALSE;
    }
    return CTvskHtmlWndImpl::Create(windowName, style, rect, parent, id);
}

int CTvskHtmlWnd::OnCreate(CREATESTRUCT* createStruct)
{
    if (CTvskHtmlWndImpl::OnCreate(createStruct) == -1)
        return -1;
    m_sink.SetPage(this);
    if (const HRESULT hr = m_htmlMng.Create(m_sink); FAILED(hr))
        AfxMessageBox(FormatString("JyHtml Library Error: %08X", static_cast<unsigned>(hr)),
                      MB_OK | MB_ICONERROR);
    m_tip.Create(this);
    CDataTip::SetDelayHide(m_pManager->GetTipHideDelay());
    return 0;
}

void CTvskHtmlWnd::OnDestroy()
{
    m_tip.Hide();
    m_htmlMng.Release();
    CTvskHtmlWndImpl::OnDestroy();
}

void CTvskHtmlWnd::OnBeforeNavigate2(CString, DWORD, CString, CByteArray&, CString, BOOL*)
{
    // The page's static texts are one language's: the new page shows once the window has put in
    // the user's.
    if (Browser() && Browser()->View())
        tvsk::web::HoldPagesUntilFilled(*Browser()->View()->page());
    m_sink.Disarm();
    m_htmlMng.RemoveAllControls();
}

void CTvskHtmlWnd::OnDocumentComplete(CString)
{
    struct ShowWhenDone
    {
        CTvskHtmlWnd& window;
        ~ShowWhenDone()
        {
            if (window.Browser() && window.Browser()->View())
                tvsk::web::ShowFilledPage(*window.Browser()->View()->page());
        }
    } show{*this};
    if (!m_htmlMng)
        return;
    m_sink.Arm(m_htmlMng.Get(), this);
    if (!m_htmlMng.Bind(*this))
        return;
    UpdateValues();
    long width = 0;
    long height = 0;
    CWnd* parent = GetParent();
    if (parent && m_htmlMng.DocumentSize(width, height))
    {
        CRect place;
        parent->GetWindowRect(&place);
        parent->MoveWindow(place.left, place.top, width, height);
    }
    SetFocus();
    // The keys go to the page itself: Enter, Tab and Escape and what the engineer types.
    if (Browser() && Browser()->View())
        Browser()->View()->setFocus();
}

LRESULT CTvskHtmlWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_ELEMENT_OVER:
        ShowDataTip(reinterpret_cast<const char*>(lParam));
        return 0;
    case WM_ELEMENT_OUT:
        m_tip.Hide();
        return 0;
    default:
        return CTvskHtmlWndImpl::WindowProc(message, wParam, lParam);
    }
}

CString CTvskHtmlWnd::DataTipText(const char* id)
{
    if (!m_htmlMng || !m_pManager || !id || !*id || !m_htmlMng.ControlTitle(id).IsEmpty())
        return CString();
    CString description;
    m_pManager->GetParDescr(id, description, false);
    return description.IsEmpty() ? CString() : FormatString("%s:%s", id, description.GetString());
}

void CTvskHtmlWnd::ShowDataTip(const char* id)
{
    const CString tip = DataTipText(id);
    if (tip.IsEmpty())
        return;
    CPoint cursor;
    GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    m_tip.Hide();
    m_tip.On(TRUE);
    m_tip.Set(cursor, tip);
}

void CTvskHtmlWnd::UpdateValues()
{
    if (!m_pManager || !m_htmlMng)
    {
        ProgramError("TvskHtmlWnd", __LINE__, nullptr);
        return;
    }
    UpdateMRUValue();
    SetMotorImage();
    SetDriveImage();
    const long count = m_htmlMng.ControlsNum();
    for (long i = 0; i < count; ++i)
    {
        const CString name = m_htmlMng.ControlName(i);
        const CString id = m_htmlMng.ControlId(i);
        const long kind = m_htmlMng.ControlType(name);
        if (ShowsParValue(kind))
        {
            ShowParValue(name);
            continue;
        }
        if (kind != HTMLCTRL_BUTTON && kind != HTMLCTRL_TITLE && kind != HTMLCTRL_PARA)
            continue;
        CString text;
        if (!m_pManager->GetPrefixedString(id, text))
            continue;
        if (kind == HTMLCTRL_BUTTON)
            m_htmlMng.PutText(name, text);
        else
            m_htmlMng.PutControlText(i, text);
    }
    if (m_htmlMng.ControlType(kLanguageList) == HTMLCTRL_SELECT)
        ShowLanguageList();
}

// The language list in the chosen language, the chosen one selected; each option's value is its
// position in the list.
void CTvskHtmlWnd::ShowLanguageList()
{
    CTvskLanguage& language = m_pManager->Language();
    m_htmlMng.ResetSelect(kLanguageList);
    int chosen = 0;
    for (int i = 0; i < language.GetLanguagesNum(); ++i)
    {
        const int id = language.GetLanguageIdAt(i);
        CString text;
        m_pManager->GetString(kLanguageNameFirst + static_cast<UINT>(id), text);
        if (text.IsEmpty())
            text = language.GetLanguageName(id);
        m_htmlMng.AddSelectOption(kLanguageList, text, std::to_string(i).c_str());
        if (id == language.GetLangId())
            chosen = i;
    }
    m_htmlMng.PutText(kLanguageList, std::to_string(chosen).c_str());
}

void CTvskHtmlWnd::PublishPageList()
{
    if (!m_pManager || !m_htmlMng)
        return;
    m_pManager->SendCommand(HOSTCMD_CLEARPAGEPARS, 0, 0);
    const long count = m_htmlMng.ControlsNum();
    for (long i = 0; i < count; ++i)
        if (const CString name = m_htmlMng.ControlName(i); ShowsParValue(m_htmlMng.ControlType(name)))
            m_pManager->SendCommand(HOSTCMD_ADDPAGEPAR,
                                    static_cast<long>(reinterpret_cast<std::intptr_t>(name.GetString())), 0);
}

void CTvskHtmlWnd::ShowParValue(const char* name)
{
    VARIANT value;
    VariantInit(&value);
    if (m_pManager->GetParValue(name, &value))
        m_htmlMng.PutValue(name, value);
    VariantClear(&value);
}

void CTvskHtmlWnd::UpdateMRUValue()
{
    CRecentFileList* recent = AfxGetApp() ? AfxGetApp()->m_pRecentFileList.get() : nullptr;
    for (int i = 0; i < 8; ++i)
    {
        CString name;
        if (recent && i < recent->GetSize() && !(*recent)[i].IsEmpty())
            name = CPath((*recent)[i]).FileName();
        m_htmlMng.PutText(FormatString("MRU%d", i), name);
    }
}

void CTvskHtmlWnd::SetMotorImage()
{
    if (m_pManager)
        m_htmlMng.PutText("imgMotorType",
                          ImagePath(m_pManager->GetImageDir(), m_pManager->DataDb().GetMotorImg()));
}

void CTvskHtmlWnd::SetDriveImage()
{
    if (m_pManager)
        m_htmlMng.PutText("imgDriveType",
                          ImagePath(m_pManager->GetImageDir(), m_pManager->DataDb().GetDriveImg()));
}

void CTvskHtmlWnd::SelectChange(const char* name, std::optional<short> value)
{
    if (!m_pManager)
        return;
    if (m_pManager->IsExclusiveMode())
    {
        m_pManager->MessageBox(2060, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!name || !*name)
        return;
    if (!value)
    {
        ShowParValue(name);
        return;
    }
    const HOSTRES result = m_pManager->SetParValue(name, tvsk::com::MakeVariantI4(*value), TRUE);
    if (result != HOSTRES_OK)
    {
        ShowWriteFailure(result);
        ShowParValue(name);
    }
}

// The field would otherwise show a value the configuration never took, lost at the next save.
void CTvskHtmlWnd::TextEnter(const char* name)
{
    if (!m_pManager || !name || !m_pManager->ExistPar(name))
        return;
    if (m_pManager->IsExclusiveMode())
    {
        m_pManager->MessageBox(2060, MB_OK | MB_ICONEXCLAMATION);
        ShowParValue(name);
        return;
    }
    CString text;
    m_pManager->GetLastErrorText(text); // clears an earlier error: a refusal then says this write's own
    double number = 0;
    if (!m_htmlMng.GetRawText(name, text) || !tvsk::WholeDecimal(text.GetString(), number))
        m_pManager->MessageBox(kNotANumberText, MB_OK | MB_ICONERROR);
    else if (const HOSTRES result = m_pManager->SetParValue(name, tvsk::com::MakeVariantR8(number), TRUE);
             result != HOSTRES_OK)
        ShowWriteFailure(result);
    ShowParValue(name);
}

void CTvskHtmlWnd::ShowWriteFailure(int result)
{
    switch (result)
    {
    case HOSTRES_NOTFOUND:
        m_pManager->MessageBox(2046, MB_OK | MB_ICONERROR);
        break;
    case HOSTRES_LIMITS:
    {
        CString text;
        m_pManager->GetLastErrorText(text);
        m_pManager->MessageBox(text.IsEmpty() ? m_pManager->LocalText(2048) : text, MB_OK | MB_ICONERROR);
        break;
    }
    case HOSTRES_READONLY:
        m_pManager->MessageBox(2083, MB_OK | MB_ICONERROR);
        break;
    case HOSTRES_NOFILE:
        m_pManager->MessageBox(2047, MB_OK | MB_ICONERROR);
        break;
    default:
        m_pManager->MessageBox(2051, MB_OK | MB_ICONERROR);
        break;
    }
}

BOOL CTvskHtmlStatus::Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!m_pManager)
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return FALSE;
    }
    return CHtmlWnd::Create(windowName, style, rect, parent, id);
}

BOOL CTvskHtmlStatus::PreCreateWindow(CREATESTRUCT& cs)
{
    const BOOL created = CHtmlWnd::PreCreateWindow(cs);
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return created;
}

int CTvskHtmlStatus::OnCreate(CREATESTRUCT* createStruct)
{
    if (CHtmlWnd::OnCreate(createStruct) == -1)
        return -1;
    m_htmlMng.Create(m_sink);
    return 0;
}

void CTvskHtmlStatus::OnDestroy()
{
    StopPolling();
    m_htmlMng.Release();
    CHtmlWnd::OnDestroy();
}

void CTvskHtmlStatus::StopPolling()
{
    KillTimer(kPollTimer);
    m_nArmedPeriod = 0;
}

void CTvskHtmlStatus::ArmPoll(UINT period)
{
    m_nArmedPeriod = period;
    SetTimer(kPollTimer, period);
}

void CTvskHtmlStatus::OnBeforeNavigate2(CString, DWORD, CString, CByteArray&, CString, BOOL*)
{
    StopPolling();
    m_bDocLoaded = 0;
    m_sink.Disarm();
    m_htmlMng.RemoveAllControls();
}

void CTvskHtmlStatus::OnDocumentComplete(CString)
{
    if (!m_htmlMng)
        return;
    m_sink.Arm(m_htmlMng.Get(), this);
    if (!m_htmlMng.Bind(*this))
        return;
    UpdateColors();
    UpdateCommConfString(nullptr);
    ArmPoll(kPollPeriodMs);
    m_bDocLoaded = 1;
}

void CTvskHtmlStatus::OnTimer(UINT_PTR id)
{
    if (id != kPollTimer || !m_pManager)
    {
        CHtmlWnd::OnTimer(id);
        return;
    }
    StopPolling();
    const UINT period = Poll();
    CHtmlWnd::OnTimer(id);
    ArmPoll(period);
}

UINT CTvskHtmlStatus::Poll()
{
    UINT period = kIdlePeriodMs;
    char commFailed = 0;
    if (!m_pManager->IsConnected() || m_pManager->Link().IsInDialog())
    {
        SetAlarmImage(-1);
        SetAlarmString("");
        UpdateDriveDescrString();
    }
    // While a transfer holds the line (it takes events between its exchanges) its own exchanges
    // tell whether the line works: the poll takes no turn on the line and keeps what it showed.
    else if (!m_pManager->IsLinkHeldByTransfer())
    {
        CString text = m_pManager->LocalText(2075);
        const bool failed = m_pManager->ReadAlarm(&commFailed) < 0;
        if (failed)
            text = m_pManager->LocalText(2076);
        SetAlarmImage(failed ? 1 : 0);
        SetAlarmString(text);
        // While another thread reads the drive over and over (the PLC editor on line) each read
        // here waits for its turn: the alarm alone keeps the window's wait to one turn a poll.
        if (!failed && !m_pManager->Link().IsWantedByAnotherThread())
            UpdateDriveDescrString();
        period = failed ? kIdlePeriodMs : kPollPeriodMs;
    }
    UpdateCommConfString(nullptr);
    m_pManager->CheckConnection(commFailed == 0);
    return period;
}

void CTvskHtmlStatus::SetAlarmString(const char* text)
{
    m_htmlMng.PutText("strAlarm", text);
}

void CTvskHtmlStatus::SetMotorString(const char* text)
{
    m_htmlMng.PutText("strMotorData", text);
}

void CTvskHtmlStatus::SetDriveString(const char* text)
{
    m_htmlMng.PutText("strDriveData", text);
}

void CTvskHtmlStatus::SetAlarmImage(int state)
{
    m_htmlMng.PutText("imgAlarm", FormatString("%d", state > 1 ? 1 : state));
}

void CTvskHtmlStatus::UpdateCommConfString(const char* settings)
{
    if (!m_pManager || m_pManager->Link().IsInDialog())
        return;
    m_htmlMng.PutText("strCommConf", m_pManager->GetConnectionDescription(settings));
}

void CTvskHtmlStatus::UpdateDriveDescrString()
{
    if (m_pManager && m_htmlMng)
        m_htmlMng.PutText("strDrive", m_pManager->GetDriveTypeName());
}
