// The scope's parameter window.
#include <TvskOsc/ui/DlgOscParameters.h>

#include <TvskOsc/model/OscSettings.h>
#include <TvskOsc/ui/OscIds.h>

#include <framework/LeadingNumber.h>
#include <registry/Profile.h>

namespace
{
constexpr UINT_PTR kResultTimer = 1;
} // namespace

CDlgOscParameters::CDlgOscParameters(CPluginIntf* host) : m_pHost(host)
{
    for (int row = 0; row < kRows; ++row)
    {
        MapCommand(IDC_OSC_PAR_SEND + row, [this, row] { Queue(OSC_PAR_REQUEST::WRITE, row); });
        MapCommand(IDC_OSC_PAR_READ + row, [this, row] { Queue(OSC_PAR_REQUEST::READ, row); });
    }
}

BOOL CDlgOscParameters::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(OscString(m_pHost, IDS_OSC_PAR_TITLE));
    SetDlgItemText(IDC_OSC_PAR_NAME_HEAD, OscString(m_pHost, IDS_OSC_PAR_NAME_HEAD));
    SetDlgItemText(IDC_OSC_PAR_VALUE_HEAD, OscString(m_pHost, IDS_OSC_PAR_VALUE_HEAD));
    const auto names = COscSettings::LoadParameterNames(CProfile::Instance());
    for (int row = 0; row < kRows; ++row)
    {
        SetDlgItemText(IDC_OSC_PAR_NAME + row, names[static_cast<size_t>(row)]);
        SetDlgItemText(IDC_OSC_PAR_SEND + row, OscString(m_pHost, IDS_OSC_SEND));
        SetDlgItemText(IDC_OSC_PAR_READ + row, OscString(m_pHost, IDS_OSC_READ));
    }
    SetTimer(kResultTimer, 250);
    return TRUE;
}

void CDlgOscParameters::OnDestroy()
{
    std::array<CString, kRows> names;
    for (int row = 0; row < kRows; ++row)
        GetDlgItemText(IDC_OSC_PAR_NAME + row, names[static_cast<size_t>(row)]);
    COscSettings::SaveParameterNames(CProfile::Instance(), names);
    KillTimer(kResultTimer);
    CDialog::OnDestroy();
}

void CDlgOscParameters::Queue(OSC_PAR_REQUEST::Kind kind, int row)
{
    if (m_Request.kind != OSC_PAR_REQUEST::NONE && !m_Request.done)
        return; // one request at a time
    OSC_PAR_REQUEST request;
    request.kind = kind;
    request.row = row;
    GetDlgItemText(IDC_OSC_PAR_NAME + row, request.name);
    if (kind == OSC_PAR_REQUEST::WRITE)
    {
        CString text;
        GetDlgItemText(IDC_OSC_PAR_VALUE + row, text);
        if (!tvsk::WholeDouble(text.GetString(), request.value))
        {
            SetDlgItemText(IDC_OSC_PAR_VALUE + row, "#####"); // a typo never reaches the drive
            return;
        }
    }
    m_Request = request;
}

OSC_PAR_REQUEST* CDlgOscParameters::Pending()
{
    return m_Request.kind != OSC_PAR_REQUEST::NONE && !m_Request.done ? &m_Request : nullptr;
}

void CDlgOscParameters::Finish(bool ok, double value)
{
    m_Request.done = true;
    m_Request.ok = ok;
    m_Request.value = value;
}

void CDlgOscParameters::OnTimer(UINT_PTR id)
{
    if (id != kResultTimer || !m_Request.done || m_Request.kind == OSC_PAR_REQUEST::NONE)
        return;
    CString text = "#####";
    if (m_Request.ok)
        text.Format("%.10g", m_Request.value);
    SetDlgItemText(IDC_OSC_PAR_VALUE + m_Request.row, text);
    m_Request = OSC_PAR_REQUEST();
}
