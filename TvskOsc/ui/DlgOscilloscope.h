// The oscilloscope dialog: the graph control fed from the drive's sample stream on a 10 ms timer.
#pragma once

#include <TvskOsc/model/OscAcquisition.h>
#include <TvskOsc/model/OscFrameDecoder.h>
#include <TvskOsc/model/OscLink.h>
#include <TvskOsc/model/OscSettings.h>
#include <TvskOsc/ui/DlgOscParameters.h>

#include <ZoLumoPlcObj/TriggerStateRows.h>
#include <ZoLumoPlcObj/ui/TriggerState.h>
#include <graphctl/ZoGraphCtl41.h>
#include <uiext/ToolBarDlg.h>

#include <array>
#include <memory>

class CPluginIntf;

class CDlgOscilloscope : public CDialog
{
public:
    CDlgOscilloscope(CPluginIntf* host, CWnd* parent);
    ~CDlgOscilloscope() override;

    bool IsRunning() const noexcept { return m_bRunning; }
    int StateRow() const noexcept { return m_nState; }
    const COscAcquisition& Acquisition() const noexcept { return m_Acquisition; }
    const COscSettings& Settings() const noexcept { return m_Settings; }
    CZoGraphCtl41& Graph() noexcept { return m_Graph; }
    CDlgOscParameters* Parameters() noexcept { return m_pParameters.get(); }
    CToolBarDlg& ToolBar() noexcept { return m_ToolBar; }

    void OnRunStop();
    void OnConnect();
    void OnSave();
    void OnOpen();
    void OnMode(int mode);
    void ShowChannel(int channel);
    void OnMeasureBars();
    void OnParameters();
    void SetTriggerMode(int mode);
    void SetTriggerEdge(int edge);
    void SetTriggerSource(int source);
    // One step of the 1-2-5 spin of a field, up or down.
    void StepField(UINT spin, bool up);
    // Enter in an edit field applies it.
    void ApplyField(UINT field);
    // The 10 ms work: frames in, samples out.
    void ReadAndShow();
    // The 200 ms work: a pending parameter request and the state cell.
    void Tick();

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnHelpInfo(HELPINFO* info) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool SetUpGraph();
    void MapCommands();
    void Start();
    void Stop();
    void Arm();
    void SendSamples();
    void UpdateLabels();
    // Every edit field from the settings; only after a change, never while a field may be typed in.
    void UpdateFields();
    void ShowAcquisitions();
    void UpdateReadouts();
    void ApplyRange(int channel, double division, double offset);
    void ShowNumber(UINT id, double value);
    void RunParameterRequest();
    void ReadParameter(OSC_PAR_REQUEST& request);
    double Division(int channel) const;
    CString String(UINT id) const;

    CPluginIntf* m_pHost; // not owned
    CZoGraphCtl41 m_Graph;
    std::array<ITrack4*, COscAcquisition::kChannels> m_Tracks{};
    std::array<bool, COscAcquisition::kChannels> m_Shown{true, true, false, false};
    COscLink m_Link;
    COscFrameDecoder m_Decoder;
    COscAcquisition m_Acquisition;
    COscSettings m_Settings;
    CToolBarDlg m_ToolBar;
    CTriggerState m_State;
    TRIG_STATE m_StateRows[5];
    std::unique_ptr<CDlgOscParameters> m_pParameters;
    bool m_bRunning = false;
    bool m_bConnectedHere = false;
    bool m_bHostConnected = false;
    bool m_bMeasure = false;
    bool m_bFramesSinceTick = false;
    int m_nState = 0;
    int m_nLastAcquisitions = 0;
};
