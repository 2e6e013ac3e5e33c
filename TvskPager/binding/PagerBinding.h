// Couples a bound page to the open parameter file: fills the controls, keeps the host's page list,
// polls one control per tick and writes what the engineer enters or picks.
#pragma once

#include <Tarveskon/PluginIntf.h>
#include <htmlbind/JyHtml2.h>

#include <string>

// What the binding asks of the window that shows the page.
class CPagerView
{
public:
    virtual ~CPagerView() = default;
    virtual void SetCaption(const CString& text) = 0;
    // The page's own size in pixels ("GENERAL" "DocDimX"/"DocDimY").
    virtual void ResizeTo(long width, long height) = 0;
    // Ends the dialog with IDOK or IDCANCEL (posted).
    virtual void Close(int result) = 0;
    virtual void ShowRefusal(const CString& text) = 0;
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
};

class CPagerBinding
{
public:
    static constexpr int kDefaultPeriod = 100;
    static constexpr int kShortestPeriod = 10;
    static constexpr int kRetryPeriod = 1000;

    CPagerBinding(CPluginIntf* host, CPagerView& view) : m_host(host), m_view(view) {}
    void SetHost(CPluginIntf* host) { m_host = host; }

    // A page has loaded into the manager: fill it, rebuild the page list, size and period.
    void Attach(IJyHtml2Mng* manager);
    // The manager's controls are gone (navigation or destruction).
    void Detach();
    bool IsAttached() const { return m_manager != nullptr; }

    void Refresh(bool rebuild);
    // One poll step: reads the next control that shows a parameter, round robin over the page;
    // answers the delay in ms before the next step (the period, longer after a failed read).
    int Tick();
    int Period() const { return m_period; }

    void Focus(bool focused, const std::string& name);
    void EnterClick(const std::string& name);
    // Radio, select and image values: whole 16-bit numbers only; a radio or select value is
    // written as a 16-bit number, the next value of an image's list as a 32-bit one.
    void ChoiceChange(const std::string& name, const VARIANT& value);
    void ImageClick(const std::string& name, const VARIANT& value);
    void CheckboxChange(const std::string& name);
    // A command word of a "CMD#" element; window goes with the comparison and on-line commands.
    void Command(const std::string& word, long window);

private:
    void Fill(LONG index, const std::string& name, const std::string& id, LONG kind);
    void ReadPeriod();
    void ShowOptionTexts(const std::string& name, const std::string& id);
    void WriteChoice(const std::string& name, const VARIANT& value, VARTYPE type);
    HOSTRES Write(const std::string& name, VARIANT value);
    void Refuse(HOSTRES result);
    void ShowFileValue(const std::string& name);
    void Put(const std::string& name, const VARIANT& value);
    short OpMode() const;
    void KeepListValid();
    void PublishPageList();
    std::string ControlName(LONG index) const;
    void SkipToPolledControl();
    void LinkFailed();
    // A control that shows the drive's state (a preformatted value, a field the page marks "ro"):
    // with the link failed or off line it shows "---" instead of a value no longer read.
    bool ShowsDriveState(const std::string& name) const;
    void ShowNotRead(const std::string& name);
    void ShowDriveStateNotRead();

    CPluginIntf* m_host;
    CPagerView& m_view;
    IJyHtml2Mng* m_manager = nullptr;
    LONG m_controls = 0;
    LONG m_pollIndex = 0;
    int m_period = kDefaultPeriod;
    bool m_readFailed = false;
    short m_opMode = -1;
    std::string m_focused;
};
