// The oscilloscope dialog.
#include <TvskOsc/model/OscCaptureFile.h>
#include <TvskOsc/ui/DlgOscilloscope.h>

#include <TvskOsc/ui/OscIds.h>

#include <Tarveskon/PluginCall.h>
#include <Tarveskon/PluginIntf.h>
#include <ZoSupport/ProgramError.h>

#include <com/Variant.h>
#include <framework/LeadingNumber.h>
#include <registry/Profile.h>
#include <ui/FileDialog.h>
#include <ui/MessageBox.h>
#include <ui/SpinButtonCtrl.h>

#include <QThread>

#include <cmath>
#include <cstring>
#include <vector>

namespace
{
constexpr UINT_PTR kFrameTimer = 1;
// F1: the program help's topic of this window (host command 50 with its context id).
constexpr UINT kHostHelp = 50;
constexpr long kHelpContext = 1006;
constexpr UINT_PTR kStateTimer = 2;
constexpr int kToolBarHeight = 50;
constexpr int kStateWidth = 75;

enum StateRow
{
    STATE_OFF = 0,
    STATE_STOP = 1,
    STATE_READY = 2,
    STATE_TRIGGERED = 3,
    STATE_NO_DATA = 4
};

void Row(TRIG_STATE& row, const char* text, COLORREF background, COLORREF colour)
{
    std::strncpy(row.szText, text, sizeof(row.szText) - 1);
    row.szText[sizeof(row.szText) - 1] = '\0';
    row.crBackground = background;
    row.crText = colour;
    row.nStringId = 0;
}

VARIANT Real(double value)
{
    return tvsk::com::MakeVariantR8(value);
}

const UINT kSources[] = {IDC_OSC_SRC_CH1, IDC_OSC_SRC_CH2, IDC_OSC_SRC_DIN0, IDC_OSC_SRC_DIN1};
const UINT kModes[] = {IDC_OSC_MODE_AUTO, IDC_OSC_MODE_NORMAL, IDC_OSC_MODE_SINGLE};
const UINT kEdges[] = {IDC_OSC_EDGE_POS, IDC_OSC_EDGE_NEG, IDC_OSC_EDGE_BOTH};
} // namespace

CDlgOscilloscope::CDlgOscilloscope(CPluginIntf* host, CWnd* parent)
    : CDialog(IDD_OSCILLOSCOPE, parent), m_pHost(host), m_Link(host)
{
    OscString(nullptr, 0); // registers the module's strings and layouts
    Row(m_StateRows[STATE_OFF], "OFF", 0x0000C0, 0x00FFFF);
    Row(m_StateRows[STATE_STOP], "STOP", 0x0000C0, 0xFFFFFF);
    Row(m_StateRows[STATE_READY], "READY", 0x00C000, 0xFFFFFF);
    Row(m_StateRows[STATE_TRIGGERED], "TRIG'D", 0xC00000, 0xFFFFFF);
    Row(m_StateRows[STATE_NO_DATA], "DATA ?", 0x00FFFF, 0x000000);
    MapCommands();
}

CDlgOscilloscope::~CDlgOscilloscope()
{
    for (ITrack4*& track : m_Tracks)
        if (track)
        {
            track->Release();
            track = nullptr;
        }
}

CString CDlgOscilloscope::String(UINT id) const
{
    return OscString(m_pHost, id);
}

void CDlgOscilloscope::MapCommands()
{
    MapCommand(ID_OSC_CLOSE, [this] { OnCancel(); });
    MapCommand(ID_OSC_RUN, [this] { OnRunStop(); });
    MapCommand(ID_OSC_CONNECT, [this] { OnConnect(); });
    MapCommand(ID_OSC_SHOW_CH1, [this] { ShowChannel(0); });
    MapCommand(ID_OSC_SHOW_CH2, [this] { ShowChannel(1); });
    MapCommand(ID_OSC_SHOW_CH3, [this] { ShowChannel(2); });
    MapCommand(ID_OSC_SHOW_CH4, [this] { ShowChannel(3); });
    MapCommand(ID_OSC_SAVE, [this] { OnSave(); });
    MapCommand(ID_OSC_OPEN, [this] { OnOpen(); });
    MapCommand(ID_OSC_MEASURE, [this] { OnMeasureBars(); });
    MapCommand(ID_OSC_PARAMETERS, [this] { OnParameters(); });
    MapCommand(ID_OSC_MODE_SPEED, [this] { OnMode(0); });
    MapCommand(ID_OSC_MODE_EXTENDED, [this] { OnMode(1); });
    for (int i = 0; i < 3; ++i)
    {
        MapCommand(kModes[i], [this, i] { SetTriggerMode(i); });
        MapCommand(kEdges[i], [this, i] { SetTriggerEdge(i); });
    }
    for (int i = 0; i < 4; ++i)
        MapCommand(kSources[i], [this, i] { SetTriggerSource(i); });
    MapUpdateCommandUI(ID_OSC_RUN, [this](CCmdUI* ui) { ui->SetCheck(m_bRunning ? 1 : 0); });
    MapUpdateCommandUI(ID_OSC_CONNECT,
                       [this](CCmdUI* ui)
                       {
                           ui->Enable(!m_bHostConnected && !m_bRunning);
                           ui->SetCheck(m_bConnectedHere ? 1 : 0);
                       });
    MapUpdateCommandUI(ID_OSC_MEASURE,
                       [this](CCmdUI* ui)
                       {
                           ui->Enable(!m_bRunning);
                           ui->SetCheck(m_bMeasure ? 1 : 0);
                       });
    const auto mode = [this](int wanted)
    {
        return [this, wanted](CCmdUI* ui)
        {
            ui->Enable(!m_bRunning && m_Link.Mode() != -1);
            ui->SetCheck(m_Link.Mode() == wanted ? 1 : 0);
        };
    };
    MapUpdateCommandUI(ID_OSC_MODE_SPEED, mode(0));
    MapUpdateCommandUI(ID_OSC_MODE_EXTENDED, mode(1));
    const UINT shows[] = {ID_OSC_SHOW_CH1, ID_OSC_SHOW_CH2, ID_OSC_SHOW_CH3, ID_OSC_SHOW_CH4};
    for (int i = 0; i < 4; ++i)
        MapUpdateCommandUI(shows[i],
                           [this, i](CCmdUI* ui) { ui->SetCheck(m_Shown[static_cast<size_t>(i)] ? 1 : 0); });
}

BOOL CDlgOscilloscope::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_pHost)
    {
        ProgramError("DlgOscilloscope", __LINE__, nullptr);
        EndDialog(IDCANCEL); // the graph control is there: no "missing library" box
        return FALSE;
    }
    SetWindowText(String(IDS_OSC_TITLE));
    m_bHostConnected = m_pHost->IsConnected() != FALSE;
    m_Link.ReadMode();
    CRect client;
    GetClientRect(&client);
    if (m_ToolBar.CreateEx(this) && m_ToolBar.LoadToolBar(IDR_OSC_TOOLBAR))
    {
        m_ToolBar.MoveWindow(0, 0, client.Width() - 100, kToolBarHeight);
        for (int i = 0; i < m_ToolBar.GetCount(); ++i)
            if (const UINT id = m_ToolBar.GetItemID(i); id != ID_SEPARATOR)
                m_ToolBar.SetButtonToolTip(i, String(id));
    }
    if (!SetUpGraph())
    {
        ProgramError("DlgOscilloscope", __LINE__, nullptr);
        EndDialog(-1);
        return FALSE;
    }
    m_Settings.Load(CProfile::Instance());
    m_Graph.SetDimBuffer(COscChannelBuffer::kSize);
    for (int i = 0; i < COscAcquisition::kChannels; ++i)
    {
        m_Tracks[i]->SetRange(m_Settings.m_Ranges[i].dMin, m_Settings.m_Ranges[i].dMax);
        m_Tracks[i]->put_DigitalView(0);
        m_Tracks[i]->put_Show(i < 2 ? 1 : 0);
    }
    m_Graph.SetTimeDiv(m_Settings.m_dHorzDiv);
    if (!m_State.Create(CTriggerState::STYLE_SHOW_STATE, this, kStateWidth))
    {
        EndDialog(-1);
        return FALSE;
    }
    m_State.SetPosition(client.Width() - kStateWidth - 10, 10);
    m_State.SetStatusArray(m_StateRows, 5);
    static_cast<CButton*>(GetDlgItem(IDC_OSC_MODE_AUTO))->SetCheck(BST_CHECKED);
    static_cast<CButton*>(GetDlgItem(IDC_OSC_EDGE_POS))->SetCheck(BST_CHECKED);
    static_cast<CButton*>(GetDlgItem(IDC_OSC_SRC_CH1))->SetCheck(BST_CHECKED);
    m_Acquisition.SetLevel(m_Settings.m_TrgLev[0]);
    Arm();
    UpdateLabels();
    UpdateFields();
    SetTimer(kStateTimer, 200);
    return TRUE;
}

bool CDlgOscilloscope::SetUpGraph()
{
    CWnd* placeholder = GetDlgItem(IDC_OSC_GRAPH);
    if (!placeholder)
        return false;
    CRect rect;
    placeholder->GetWindowRect(&rect);
    ScreenToClient(&rect);
    placeholder->ShowWindow(SW_HIDE);
    if (!m_Graph.Create("", WS_CHILD | WS_VISIBLE, rect, this, IDC_OSC_GRAPH + 1000))
        return false;
    m_Graph.SetViewList(0);
    m_Graph.SetViewTimePosBar(1);
    m_Graph.SetMeasureBar(0);
    m_Graph.SetBackColor(0);
    m_Graph.SetGraphColor(0xC0C0C0);
    for (const char* name : {"Speed", "Current", "DIn0", "DIn1"})
        m_Graph.AddTrack(name);
    m_Graph.SetTriggerBar(0);
    m_Graph.SetViewUserString(0);
    m_Graph.SetFeature(1, tvsk::com::MakeVariantI4(0));
    for (int i = 0; i < COscAcquisition::kChannels; ++i)
        if (!(m_Tracks[i] = m_Graph.GetTrack(i)))
            return false;
    return true;
}

double CDlgOscilloscope::Division(int channel) const
{
    const OSC_RANGE& range = m_Settings.m_Ranges[static_cast<size_t>(channel)];
    return (range.dMax - range.dMin) / 10;
}

void CDlgOscilloscope::ShowNumber(UINT id, double value)
{
    CString text;
    text.Format("%g", value == 0 ? 0.0 : value); // no "-0"
    SetDlgItemText(id, text);
}

void CDlgOscilloscope::UpdateLabels()
{
    CString ch1 = "CH1";
    CString ch2 = "CH2";
    if (m_Link.Mode() != 1)
    {
        ch1.Format("CH1 (%s)", String(IDS_OSC_CH1_NAME).GetString());
        ch2.Format("CH2 (%s)", String(IDS_OSC_CH2_NAME).GetString());
        ch1 += " " + String(IDS_OSC_CH1_UNIT) + "/div";
        ch2 += " " + String(IDS_OSC_CH2_UNIT) + "/div";
    }
    else
    {
        ch1 += " u/div";
        ch2 += " u/div";
    }
    SetDlgItemText(IDC_OSC_CH1_LABEL, ch1);
    SetDlgItemText(IDC_OSC_CH2_LABEL, ch2);
}

void CDlgOscilloscope::UpdateFields()
{
    for (int channel = 0; channel < 2; ++channel)
    {
        const double division = Division(channel);
        ShowNumber(channel == 0 ? IDC_OSC_CH1_DIV : IDC_OSC_CH2_DIV, division);
        ShowNumber(channel == 0 ? IDC_OSC_CH1_OFFSET : IDC_OSC_CH2_OFFSET,
                   -(division * 5 + m_Settings.m_Ranges[static_cast<size_t>(channel)].dMin));
    }
    const int source = m_Acquisition.GetSource();
    ShowNumber(IDC_OSC_HORZ_DIV, m_Settings.m_dHorzDiv);
    ShowNumber(IDC_OSC_TRG_LEVEL, m_Settings.m_TrgLev[static_cast<size_t>(source)]);
    ShowNumber(IDC_OSC_TRG_POS, m_Settings.m_TrgPos[static_cast<size_t>(source)]);
    ShowAcquisitions();
}

void CDlgOscilloscope::ShowAcquisitions()
{
    CString count;
    count.Format("%d", m_Acquisition.Acquisitions());
    SetDlgItemText(IDC_OSC_ACQUISITIONS, count);
}

void CDlgOscilloscope::Arm()
{
    const int source = m_Acquisition.GetSource();
    m_Acquisition.SetLevel(m_Settings.m_TrgLev[static_cast<size_t>(source)]);
    m_Acquisition.Arm(m_Settings.m_dHorzDiv, m_Settings.m_TrgPos[static_cast<size_t>(source)]);
    m_Graph.SetTriggerBar(m_Acquisition.GetMode() == OSC_TRIG_AUTO ? 0 : 1);
    m_Settings.SaveTrigger(CProfile::Instance(), source);
}

void CDlgOscilloscope::OnRunStop()
{
    if (m_bRunning)
        Stop();
    else
        Start();
}

void CDlgOscilloscope::Start()
{
    int minimum = 0;
    const OscStartResult result = m_Link.Start(m_bConnectedHere, minimum);
    if (result == OSC_BAUD_TOO_LOW)
    {
        CString text;
        text.Format(String(IDS_OSC_MIN_BAUD).GetString(), minimum);
        AfxShowMessageBox(this, text, GetWindowText(), MB_OK | MB_ICONSTOP);
        return;
    }
    if (result != OSC_STARTED)
        return;
    m_Decoder.Reset();
    m_Decoder.SetExtended(m_Link.Mode() == 1);
    m_Acquisition.Start();
    Arm();
    for (int i = 0; i < COscAcquisition::kChannels; ++i)
    {
        m_Tracks[i]->Reset();
        m_Tracks[i]->SetRange(m_Settings.m_Ranges[i].dMin, m_Settings.m_Ranges[i].dMax);
        m_Tracks[i]->put_Feature(8, Real(COscAcquisition::kSamplePeriodMs));
    }
    m_Graph.SetFeature(2, Real(COscAcquisition::kSamplePeriodMs));
    m_Graph.SetFeature(4, tvsk::com::MakeVariantI4(0));
    m_Graph.SetMeasureBar(0);
    m_Graph.SetViewTimePosBar(0);
    m_bRunning = true;
    SetTimer(kFrameTimer, 10);
    m_Graph.Update();
}

void CDlgOscilloscope::Stop()
{
    KillTimer(kFrameTimer);
    m_Link.Stop();
    m_bRunning = false;
    m_Graph.SetFeature(4, tvsk::com::MakeVariantI4(1));
    m_Graph.SetMeasureBar(m_bMeasure ? 1 : 0);
    m_Graph.SetViewTimePosBar(1);
    m_Graph.Update();
}

void CDlgOscilloscope::SendSamples()
{
    for (int i = 0; i < COscAcquisition::kChannels; ++i)
        m_Acquisition.Channel(i).SendNew(
            [this, i](const double* data, int count)
            { m_Tracks[i]->AddSamples(count, const_cast<double*>(data), nullptr); });
}

void CDlgOscilloscope::ReadAndShow()
{
    if (!m_bRunning)
        return;
    if (m_Link.ReadFrames(m_Decoder, m_Acquisition) > 0)
        m_bFramesSinceTick = true;
    if (!m_Acquisition.TakeCapture())
        return;
    SendSamples();
    if (m_Acquisition.GetMode() != OSC_TRIG_AUTO)
        m_Graph.SetTriggerPos(static_cast<float>(m_Acquisition.TriggerTimeMs()));
    m_Graph.Update();
    if (m_Acquisition.GetMode() == OSC_TRIG_SINGLE)
        Stop();
}

void CDlgOscilloscope::RunParameterRequest()
{
    if (!m_pParameters || !m_pParameters->GetSafeHwnd() || !m_pParameters->IsWindowVisible())
        return;
    OSC_PAR_REQUEST* request = m_pParameters->Pending();
    if (!request)
        return;
    if (!m_pHost->IsConnected())
    {
        m_pParameters->Finish(false, 0);
        return;
    }
    // While recording, and on the scope's own connection, the drive channel is off between uses.
    const bool channelOff = m_bRunning || m_bConnectedHere;
    if (channelOff)
        m_pHost->SendCommand(HOSTCMD_ENABLECOMM, 1, 0);
    if (request->kind == OSC_PAR_REQUEST::WRITE)
    {
        const HOSTRES result = m_pHost->WritePar(request->name, Real(request->value));
        m_pParameters->Finish(result == HOSTRES_OK, request->value);
    }
    else
        ReadParameter(*request);
    if (channelOff)
        m_pHost->SendCommand(HOSTCMD_ENABLECOMM, 0, 0);
}

void CDlgOscilloscope::ReadParameter(OSC_PAR_REQUEST& request)
{
    if (m_bRunning)
    {
        m_Link.SwitchStream(false);
        QThread::msleep(150);
    }
    VARIANT value;
    VariantInit(&value);
    const HOSTRES result = m_pHost->ReadPar(request.name, &value);
    const bool ok = result == HOSTRES_OK && value.vt == VT_R8;
    m_pParameters->Finish(ok, ok ? value.dblVal : 0);
    VariantClear(&value);
    if (m_bRunning)
    {
        m_Link.SwitchStream(true);
        QThread::msleep(150);
        m_Decoder.SkipSamples(3);
    }
}

void CDlgOscilloscope::Tick()
{
    if (m_pParameters && m_pParameters->GetSafeHwnd() && !m_pParameters->IsWindowVisible())
        m_pParameters.reset();
    RunParameterRequest();
    ShowAcquisitions(); // the edit fields keep what the engineer is typing
    if (!m_bRunning)
        m_nState = STATE_STOP;
    else if (!m_bFramesSinceTick)
        m_nState = STATE_NO_DATA;
    else if (m_Acquisition.GetMode() != OSC_TRIG_AUTO && m_Acquisition.Acquisitions() == m_nLastAcquisitions)
        m_nState = STATE_READY;
    else
        m_nState = STATE_TRIGGERED;
    m_nLastAcquisitions = m_Acquisition.Acquisitions();
    m_bFramesSinceTick = false;
    m_State.SetInfo(m_nState, 0, true);
    UpdateReadouts();
    if (m_ToolBar.GetSafeHwnd())
        m_ToolBar.OnUpdateCmdUI(this, TRUE);
}

void CDlgOscilloscope::UpdateReadouts()
{
    const UINT fields[] = {IDC_OSC_TIME_DIFF, IDC_OSC_CH1_BAR1, IDC_OSC_CH1_BAR2, IDC_OSC_CH1_HBAR,
                           IDC_OSC_CH2_BAR1,  IDC_OSC_CH2_BAR2, IDC_OSC_CH2_HBAR, IDC_OSC_CH2_RMS};
    if (!m_bMeasure || m_bRunning)
    {
        for (UINT id : fields)
            SetDlgItemText(id, "...");
        return;
    }
    ShowNumber(IDC_OSC_TIME_DIFF, m_Graph.GetTimeDiff());
    const auto feature = [this](int channel, int idf, UINT id)
    {
        VARIANT value;
        VariantInit(&value);
        if (SUCCEEDED(m_Tracks[channel]->get_Feature(idf, &value)) &&
            SUCCEEDED(VariantChangeType(&value, &value, 0, VT_R8)) &&
            value.dblVal != COscSettings::kEmptyMark)
            ShowNumber(id, value.dblVal);
        else
            SetDlgItemText(id, "...");
        VariantClear(&value);
    };
    feature(0, 5, IDC_OSC_CH1_BAR1);
    feature(0, 6, IDC_OSC_CH1_BAR2);
    feature(0, 7, IDC_OSC_CH1_HBAR);
    feature(1, 5, IDC_OSC_CH2_BAR1);
    feature(1, 6, IDC_OSC_CH2_BAR2);
    feature(1, 7, IDC_OSC_CH2_HBAR);
    VARIANT from;
    VARIANT to;
    VariantInit(&from);
    VariantInit(&to);
    LONG count = 0;
    double rms = 0;
    const bool positions = SUCCEEDED(m_Tracks[1]->get_Feature(9, &from)) &&
                           SUCCEEDED(m_Tracks[1]->get_Feature(10, &to)) &&
                           SUCCEEDED(VariantChangeType(&from, &from, 0, VT_I4)) &&
                           SUCCEEDED(VariantChangeType(&to, &to, 0, VT_I4)) &&
                           SUCCEEDED(m_Tracks[1]->get_SamplesNum(&count)) && count > 0;
    std::vector<double> samples(static_cast<size_t>(count > 0 ? count : 1));
    if (positions && SUCCEEDED(m_Tracks[1]->GetSamples(count, 0, samples.data(), nullptr)) &&
        OscRms(samples.data(), count, from.lVal, to.lVal, rms))
        ShowNumber(IDC_OSC_CH2_RMS, rms);
    else
        SetDlgItemText(IDC_OSC_CH2_RMS, "...");
}

void CDlgOscilloscope::OnConnect()
{
    if (m_bHostConnected || m_bRunning)
        return;
    if (m_bConnectedHere)
        m_pHost->SendCommand(HOSTCMD_ENABLECOMM, 1,
                             0); // the channel was left off: on again so that it can close
    m_pHost->SendCommand(HOSTCMD_CONNECT, 1, 0);
    m_bConnectedHere = m_pHost->IsConnected() != FALSE;
    if (!m_bConnectedHere)
        return;
    m_pHost->SendCommand(HOSTCMD_LOCKCOMM, 0, 0);
    m_Link.ReadMode();
    m_pHost->SendCommand(HOSTCMD_ENABLECOMM, 0, 0);
    UpdateLabels();
}

void CDlgOscilloscope::OnMode(int mode)
{
    if (m_bRunning)
        return;
    m_Link.WriteMode(mode, m_bConnectedHere);
    UpdateLabels();
}

void CDlgOscilloscope::ShowChannel(int channel)
{
    m_Shown[static_cast<size_t>(channel)] = !m_Shown[static_cast<size_t>(channel)];
    m_Tracks[channel]->put_Show(m_Shown[static_cast<size_t>(channel)] ? 1 : 0);
    m_Graph.Update();
}

void CDlgOscilloscope::OnMeasureBars()
{
    if (m_bRunning)
        return;
    m_bMeasure = !m_bMeasure;
    m_Graph.SetMeasureBar(m_bMeasure ? 1 : 0);
    m_Graph.Update();
    UpdateReadouts();
}

void CDlgOscilloscope::OnParameters()
{
    if (m_pParameters && m_pParameters->GetSafeHwnd())
    {
        m_pParameters->ShowWindow(SW_SHOW);
        return;
    }
    m_pParameters = std::make_unique<CDlgOscParameters>(m_pHost);
    if (m_pParameters->Create(IDD_OSC_PARAMETERS, this))
        m_pParameters->ShowWindow(SW_SHOW);
}

void CDlgOscilloscope::SetTriggerMode(int mode)
{
    m_Acquisition.SetMode(mode);
    Arm();
}

void CDlgOscilloscope::SetTriggerEdge(int edge)
{
    m_Acquisition.SetEdge(edge);
    Arm();
}

void CDlgOscilloscope::SetTriggerSource(int source)
{
    m_Acquisition.SetSource(source);
    if (source >= 2)
        m_Settings.m_TrgLev[static_cast<size_t>(source)] = 0.5;
    Arm();
    UpdateFields();
}

void CDlgOscilloscope::ApplyRange(int channel, double division, double offset)
{
    OSC_RANGE& range = m_Settings.m_Ranges[static_cast<size_t>(channel)];
    range.dMin = -(offset + division * 5);
    range.dMax = range.dMin + division * 10;
    m_Tracks[channel]->SetRange(range.dMin, range.dMax);
    m_Graph.Update();
}

void CDlgOscilloscope::StepField(UINT spin, bool up)
{
    const int source = m_Acquisition.GetSource();
    switch (spin)
    {
    case IDC_OSC_CH1_SPIN:
    case IDC_OSC_CH2_SPIN:
    {
        const int channel = spin == IDC_OSC_CH1_SPIN ? 0 : 1;
        const double old = Division(channel);
        const double scale = old != 0 ? OscStep125(old, up) / old : 1;
        OSC_RANGE& range = m_Settings.m_Ranges[static_cast<size_t>(channel)];
        range.dMin *= scale; // the zero line stays where it is
        range.dMax *= scale;
        m_Tracks[channel]->SetRange(range.dMin, range.dMax);
        m_Graph.Update();
        break;
    }
    case IDC_OSC_HORZ_SPIN:
        m_Settings.m_dHorzDiv = std::clamp(OscStep125(m_Settings.m_dHorzDiv, up), 0.0, 6000.0);
        m_Graph.SetTimeDiv(m_Settings.m_dHorzDiv);
        Arm();
        break;
    case IDC_OSC_TRG_POS_SPIN:
    {
        double& position = m_Settings.m_TrgPos[static_cast<size_t>(source)];
        position = std::clamp(OscStep125(position, up), 0.0, m_Settings.m_dHorzDiv * 10);
        Arm();
        break;
    }
    case IDC_OSC_TRG_LEVEL_SPIN:
    {
        double& level = m_Settings.m_TrgLev[static_cast<size_t>(source)];
        level = OscStep125(level, up);
        Arm();
        break;
    }
    default:
        return;
    }
    UpdateFields();
}

void CDlgOscilloscope::ApplyField(UINT field)
{
    CString text;
    GetDlgItemText(field, text);
    double value = 0;
    if (!tvsk::WholeDouble(text.GetString(), value))
    {
        UpdateFields();
        return;
    }
    const int source = m_Acquisition.GetSource();
    switch (field)
    {
    case IDC_OSC_TRG_LEVEL:
        m_Settings.m_TrgLev[static_cast<size_t>(source)] = value;
        Arm();
        break;
    case IDC_OSC_TRG_POS:
        m_Settings.m_TrgPos[static_cast<size_t>(source)] = std::clamp(value, 0.0, m_Settings.m_dHorzDiv * 10);
        Arm();
        break;
    case IDC_OSC_CH1_DIV:
    case IDC_OSC_CH2_DIV:
    {
        const int channel = field == IDC_OSC_CH1_DIV ? 0 : 1;
        if (value <= 0)
            break;
        const OSC_RANGE& range = m_Settings.m_Ranges[static_cast<size_t>(channel)];
        ApplyRange(channel, value, -(Division(channel) * 5 + range.dMin));
        break;
    }
    case IDC_OSC_CH1_OFFSET:
    case IDC_OSC_CH2_OFFSET:
    {
        const int channel = field == IDC_OSC_CH1_OFFSET ? 0 : 1;
        ApplyRange(channel, Division(channel), value);
        break;
    }
    case IDC_OSC_HORZ_DIV:
        if (value <= 0 || value > 6000)
            break;
        m_Settings.m_dHorzDiv = value;
        m_Graph.SetTimeDiv(value);
        Arm();
        break;
    default:
        break;
    }
    UpdateFields();
}

void CDlgOscilloscope::OnSave()
{
    CFileDialog dialog(FALSE, ".txt", nullptr, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY,
                       String(IDS_OSC_FILE_FILTER), this);
    if (dialog.DoModal() != IDOK)
        return;
    if (FAILED(m_Graph.Save(dialog.GetPathName().GetString())))
        AfxShowMessageBox(this, String(IDS_OSC_SAVE_FAILED), GetWindowText(), MB_OK | MB_ICONSTOP);
}

void CDlgOscilloscope::OnOpen()
{
    if (m_bRunning)
    {
        AfxShowMessageBox(this, String(IDS_OSC_STOP_BEFORE_OPEN), GetWindowText(),
                          MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CFileDialog dialog(TRUE, ".txt", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       String(IDS_OSC_FILE_FILTER), this);
    if (dialog.DoModal() != IDOK || m_bRunning)
        return;
    OscCaptureValues values;
    if (!ReadOscCapture(dialog.GetPathName().GetString(), values))
    {
        AfxShowMessageBox(this, String(IDS_OSC_OPEN_FAILED), GetWindowText(), MB_OK | MB_ICONSTOP);
        return;
    }
    for (int i = 0; i < COscAcquisition::kChannels; ++i)
    {
        m_Tracks[i]->Reset();
        // A reset trace would fit its scale to the samples: the capture keeps the scales the fields show.
        m_Tracks[i]->SetRange(m_Settings.m_Ranges[i].dMin, m_Settings.m_Ranges[i].dMax);
        m_Tracks[i]->put_Feature(8, Real(COscAcquisition::kSamplePeriodMs));
        std::vector<double>& samples = values[static_cast<size_t>(i)];
        m_Tracks[i]->AddSamples(static_cast<LONG>(samples.size()), samples.data(), nullptr);
    }
    // Shows the capture's newest samples, which also reads the measure bars anew on it.
    m_Graph.SetFeature(2, Real(COscAcquisition::kSamplePeriodMs));
    m_Graph.Update();
    UpdateFields();
    UpdateReadouts();
}

void CDlgOscilloscope::OnTimer(UINT_PTR id)
{
    if (id == kFrameTimer)
        ReadAndShow();
    else if (id == kStateTimer)
        Tick();
}

BOOL CDlgOscilloscope::OnHelpInfo(HELPINFO*)
{
    if (m_pHost)
        m_pHost->SendCommand(kHostHelp, kHelpContext, 0);
    return TRUE;
}

BOOL CDlgOscilloscope::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
    {
        CWnd* focus = GetFocus();
        const UINT fields[] = {IDC_OSC_TRG_LEVEL, IDC_OSC_TRG_POS,    IDC_OSC_CH1_DIV,   IDC_OSC_CH2_DIV,
                               IDC_OSC_HORZ_DIV,  IDC_OSC_CH1_OFFSET, IDC_OSC_CH2_OFFSET};
        for (UINT id : fields)
            if (focus && focus == GetDlgItem(id))
            {
                ApplyField(id);
                return TRUE;
            }
    }
    return CDialog::PreTranslateMessage(msg);
}

LRESULT CDlgOscilloscope::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY)
    {
        const auto* notify = reinterpret_cast<const NMUPDOWN*>(lParam);
        if (notify && notify->hdr.code == UDN_DELTAPOS)
        {
            StepField(static_cast<UINT>(notify->hdr.idFrom), notify->iDelta > 0);
            return 1;
        }
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CDlgOscilloscope::OnCancel()
{
    if (m_bRunning)
    {
        AfxShowMessageBox(this, String(IDS_OSC_STOP_FIRST), GetWindowText(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CDialog::OnCancel();
}

void CDlgOscilloscope::OnDestroy()
{
    KillTimer(kFrameTimer);
    KillTimer(kStateTimer);
    if (m_bRunning)
        Stop();
    if (m_bConnectedHere)
    {
        m_pHost->SendCommand(HOSTCMD_UNLOCKCOMM, 0,
                             0); // the channel taken at connection goes back on every way out
        m_pHost->SendCommand(HOSTCMD_ENABLECOMM, 1, 0);
        m_pHost->SendCommand(HOSTCMD_CONNECT, 1, 0);
    }
    m_pParameters.reset();
    m_Settings.SaveRanges(CProfile::Instance());
    CDialog::OnDestroy();
}
