// The configuration dialog: fields into the settings string, the enabling rule, and autodetect
// against a simulated drive on a pseudo-terminal behind the serial port server.
#include <VrnSerConfigDlg.h>
#include <VrnSerWarningBox.h>

#include <protocol/VrnSer.h>

#include <KernelTestSupport.h>

#include <com/ComRuntime.h>

#include <testing/DialogFit.h>
#include <testing/TestApplication.h>
#include <ui/App.h>
#include <ui/Controls.h>
#include <ui/MessageBox.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QTimer>
#include <QWidget>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <kernel/SharedLibrary.h>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace tvsk::com;

namespace
{
// This program's application object, which main makes.
const tvsk::test::TestApplication g_app("VrnSerConfigTests");

class QuestionSink : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT) override
    {
        questions.push_back(text);
        return answer;
    }
    int answer = IDNO;
    std::vector<CString> questions;
};

bool WaitFor(const std::function<bool()>& condition, int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

// A text handed to the link for the length of one call; the link copies what it keeps.
class Text
{
public:
    explicit Text(const char* text) : m_text(BstrFromUtf8(text)) {}
    ~Text() { SysFreeString(m_text); }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    operator BSTR() const { return m_text; }

private:
    BSTR m_text;
};

std::string ConfString(CVrnSer& link)
{
    BSTR text = nullptr;
    EXPECT_EQ(link.get_ConfString(&text), S_OK);
    std::string result = Utf8FromBstr(text);
    SysFreeString(text);
    return result;
}

// Runs the real dialog modeless in place of the modal one and lets the test fill it in.
class ScriptedConfigDialog : public CConfigDialog
{
public:
    bool Edit(CDriveSettings& settings, CAutodetectTarget& target) override
    {
        CVrnSerConfigDlg dialog(settings, target);
        EXPECT_TRUE(dialog.CreateIndirect(AfxFindDialogTemplate(102)));
        const bool ok = script(dialog);
        dialog.DestroyWindow();
        return ok;
    }
    std::function<bool(CVrnSerConfigDlg&)> script;
};
} // namespace

class VrnSerConfigDlgTest : public kerneltest::NamespaceTest
{
protected:
    void SetUp() override
    {
        NamespaceTest::SetUp();
        previousSink = AfxSetMessageBoxSink(&sink);
        previousDialog = SetVrnSerConfigDialog(&scripted);
        link->put_MsgOn(0);
    }
    void TearDown() override
    {
        SetVrnSerConfigDialog(previousDialog);
        AfxSetMessageBoxSink(previousSink);
        NamespaceTest::TearDown();
    }
    static void Click(CWnd& dialog, UINT id)
    {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }
    static void Select(CWnd& dialog, UINT id, const char* text)
    {
        auto& combo = *static_cast<CComboBox*>(dialog.GetDlgItem(static_cast<int>(id)));
        const int exact = combo.FindStringExact(-1, text);
        combo.SetCurSel(exact >= 0 ? exact : combo.FindStringExact(-1, ItemText(combo, text)));
    }
    // A port's item names its device after its number where it has one.
    static CString ItemText(CComboBox& combo, const CString& start)
    {
        for (int i = 0; i < combo.GetCount(); ++i)
        {
            CString text;
            combo.GetLBText(i, text);
            if (text.Find(start + "  ") == 0)
                return text;
        }
        return start;
    }
    static bool Enabled(CWnd& dialog, UINT id)
    {
        return dialog.GetDlgItem(static_cast<int>(id))->IsWindowEnabled();
    }

    QuestionSink sink;
    CMessageBoxSink* previousSink = nullptr;
    ScriptedConfigDialog scripted;
    CConfigDialog* previousDialog = nullptr;
    ComPtr<CVrnSer> link{new CVrnSer()};
};

TEST_F(VrnSerConfigDlgTest, TheConnectionKindsAreNamedAndNoTextIsCut)
{
    scripted.script = [](CVrnSerConfigDlg& dialog)
    {
        EXPECT_EQ(dialog.GetDlgItem(IDC_CFG_SERIAL)->GetWindowText(), CString("Serial comunication "));
        EXPECT_EQ(dialog.GetDlgItem(IDC_CFG_CANOPEN)->GetWindowText(), CString("CanOpen comunication "));
        EXPECT_EQ(tvsk::testing::CutTexts(dialog), std::vector<std::string>{});
        Click(dialog, IDCANCEL);
        return true;
    };
    link->Config();
}

TEST_F(VrnSerConfigDlgTest, TheFieldsMakeTheSettingsString)
{
    link->put_ConfString(Text("VrnSer:2,300#COM:4,38400,N,8,1"));
    scripted.script = [](CVrnSerConfigDlg& dialog)
    {
        EXPECT_EQ(dialog.GetDlgItem(IDC_CFG_ADDRESS)->GetWindowText(), CString("2"));
        EXPECT_EQ(dialog.GetDlgItem(IDC_CFG_TIMEOUT)->GetWindowText(), CString("300"));
        Select(dialog, IDC_CFG_PORT, "COM12");
        Select(dialog, IDC_CFG_BAUD, "115200");
        Select(dialog, IDC_CFG_FRAME, "O,7,1");
        dialog.SetDlgItemText(IDC_CFG_ADDRESS, "17");
        dialog.SetDlgItemText(IDC_CFG_TIMEOUT, "450");
        Click(dialog, IDOK);
        return true;
    };
    ASSERT_EQ(link->Config(), S_OK);
    EXPECT_EQ(ConfString(*link.Get()), "VrnSer:17,450#COM:12,115200,O,7,1");

    scripted.script = [](CVrnSerConfigDlg& dialog)
    {
        Click(dialog, IDC_CFG_MODEM);
        dialog.SetDlgItemText(IDC_CFG_DIAL, "0049,\"1\";2");
        Click(dialog, IDOK);
        return true;
    };
    ASSERT_EQ(link->Config(), S_OK);
    EXPECT_EQ(ConfString(*link.Get()), "VrnSer:17,450#MODEM:12,115200,O,7,1,0049_^1^-2")
        << "the dial number escaped";

    scripted.script = [](CVrnSerConfigDlg& dialog)
    {
        EXPECT_EQ(dialog.GetDlgItem(IDC_CFG_DIAL)->GetWindowText(), CString("0049,\"1\";2"))
            << "shown unescaped";
        Select(dialog, IDC_CFG_PORT, "COM3");
        Click(dialog, IDC_CFG_CANOPEN);
        Select(dialog, IDC_CFG_CAN_BAUD, "250 kb/s");
        Click(dialog, IDOK);
        return true;
    };
    ASSERT_EQ(link->Config(), S_OK);
    EXPECT_EQ(ConfString(*link.Get()), "VrnSer:17,450#CANUSB:0,250000,500000");
}

TEST_F(VrnSerConfigDlgTest, ThePortListShowsWhichDeviceEachNumberIs)
{
    kerneltest::PseudoTerminal pty;
    kerneltest::MapSerialPort(3, pty.device);
    kerneltest::MapSerialPort(1, "/dev/ttyS0");
    link->put_ConfString(Text("VrnSer:1,300#COM:3,9600,E,8,1"));
    const tvsk::testing::ScopedDesktopFont font(11);
    scripted.script = [&pty](CVrnSerConfigDlg& dialog)
    {
        auto& ports = *static_cast<CComboBox*>(dialog.GetDlgItem(IDC_CFG_PORT));
        EXPECT_EQ(ports.GetCount(), 255);
        CString selected;
        ports.GetLBText(ports.GetCurSel(), selected);
        EXPECT_EQ(selected, CString("COM3  ") + pty.device.substr(5).c_str()) << "the device below /dev";
        CString plain;
        ports.GetLBText(254, plain);
        EXPECT_EQ(plain, CString("COM255"));
        // Each list shows its widest item whole.
        for (UINT id : {IDC_CFG_PORT, IDC_CFG_BAUD, IDC_CFG_FRAME, IDC_CFG_CAN_BAUD})
        {
            QWidget* widget = dialog.GetDlgItem(static_cast<int>(id))->GetWidget();
            auto* box = widget->findChild<QComboBox*>();
            if (auto* itself = qobject_cast<QComboBox*>(widget))
                box = itself;
            EXPECT_NE(box, nullptr) << widget->metaObject()->className();
            if (!box)
                continue;
            EXPECT_LE(box->sizeHint().width(), box->width()) << "control " << id;
        }
        return false;
    };
    ASSERT_EQ(link->Config(), S_OK);
}

TEST_F(VrnSerConfigDlgTest, CancelKeepsTheSettings)
{
    link->put_ConfString(Text("VrnSer:5,200#COM:2,19200,E,8,1"));
    scripted.script = [](CVrnSerConfigDlg& dialog)
    {
        Select(dialog, IDC_CFG_PORT, "COM9");
        dialog.SetDlgItemText(IDC_CFG_ADDRESS, "9");
        Click(dialog, IDCANCEL);
        return false;
    };
    ASSERT_EQ(link->Config(), S_OK);
    EXPECT_EQ(ConfString(*link.Get()), "VrnSer:5,200#COM:2,19200,E,8,1");
}

TEST_F(VrnSerConfigDlgTest, StartIsOfferedOnlyForAPlainSerialPortThatIsClosed)
{
    scripted.script = [](CVrnSerConfigDlg& dialog)
    {
        EXPECT_TRUE(Enabled(dialog, IDC_CFG_AUTODETECT));
        EXPECT_FALSE(Enabled(dialog, IDC_CFG_CAN_BAUD));
        EXPECT_FALSE(Enabled(dialog, IDC_CFG_DIAL));
        Click(dialog, IDC_CFG_MODEM);
        EXPECT_FALSE(Enabled(dialog, IDC_CFG_AUTODETECT)) << "modem";
        EXPECT_TRUE(Enabled(dialog, IDC_CFG_DIAL));
        Click(dialog, IDC_CFG_MODEM);
        Click(dialog, IDC_CFG_CANOPEN);
        EXPECT_FALSE(Enabled(dialog, IDC_CFG_AUTODETECT)) << "CANopen";
        EXPECT_FALSE(Enabled(dialog, IDC_CFG_PORT));
        EXPECT_TRUE(Enabled(dialog, IDC_CFG_CAN_BAUD));
        Click(dialog, IDC_CFG_SERIAL);
        EXPECT_TRUE(Enabled(dialog, IDC_CFG_AUTODETECT));
        return false;
    };
    ASSERT_EQ(link->Config(), S_OK);
}

// A simulated drive on a pseudo-terminal that serial port n reaches through the port server.
class AutodetectTest : public VrnSerConfigDlgTest
{
protected:
    static constexpr int Port = 6;

    void SetUp() override
    {
        VrnSerConfigDlgTest::SetUp();
        setenv("TARVESKON_PROGRAM_DIR", TVSK_BIN_DIR, 1);
        ASSERT_EQ(std::system((std::string(TVSK_REGSVR) + " " + LANYARD_COMPONENT).c_str()), 0);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
    }
    void TearDown() override
    {
        if (drive > 0)
        {
            ::kill(drive, SIGTERM);
            ::waitpid(drive, nullptr, 0);
        }
        CoUninitialize();
        VrnSerConfigDlgTest::TearDown();
    }
    void StartDrive(const char* address, const char* line)
    {
        const fs::path link = storeDirectory / "drive";
        drive = ::fork();
        ASSERT_GE(drive, 0);
        if (drive == 0)
        {
            ::execl(DRIVESIM, DRIVESIM, "--link", link.c_str(), "--address", address, "--line", line,
                    nullptr);
            ::_exit(127);
        }
        ASSERT_TRUE(WaitFor([&] { return fs::exists(link); }, 5000));
        kerneltest::MapSerialPort(Port, link.string());
    }

    pid_t drive = -1;
};

TEST_F(AutodetectTest, FindsTheDriveAtItsBaudRateAndAddressAndLeavesTheSettingsAsTheyWere)
{
    StartDrive("3", "19200,E,8,1");
    const std::string before = "VrnSer:0,1000#COM:6,9600,E,8,1";
    link->put_ConfString(Text(before.c_str()));
    scripted.script = [this](CVrnSerConfigDlg& dialog)
    {
        Click(dialog, IDC_CFG_AUTODETECT);
        EXPECT_TRUE(dialog.IsAutodetectRunning());
        EXPECT_EQ(dialog.GetDlgItem(IDC_CFG_AUTODETECT)->GetWindowText(), CString("Stop"));
        EXPECT_FALSE(Enabled(dialog, IDOK));
        EXPECT_FALSE(Enabled(dialog, IDC_CFG_BAUD));
        EXPECT_TRUE(WaitFor([this] { return !sink.questions.empty(); }, 20000));
        EXPECT_TRUE(WaitFor([&] { return !dialog.IsAutodetectRunning(); }, 3000)) << "No ends the search";
        EXPECT_EQ(dialog.GetDlgItem(IDC_CFG_ADDRESS)->GetWindowText(), CString("3"));
        EXPECT_EQ(dialog.GetDlgItem(IDC_CFG_AUTODETECT)->GetWindowText(), CString("Start"));
        EXPECT_TRUE(Enabled(dialog, IDOK));
        Click(dialog, IDCANCEL);
        return false;
    };
    ASSERT_EQ(link->Config(), S_OK);
    ASSERT_EQ(sink.questions.size(), 1u);
    EXPECT_EQ(
        sink.questions[0],
        CString("Received answer from\nADDRESS: 3\nBAUDRATE: 19200\nContinue searching for other drives?"));
    EXPECT_EQ(ConfString(*link.Get()), before);
    LONG active = 1;
    EXPECT_EQ(link->get_Active(&active), S_OK);
    EXPECT_EQ(active, 0) << "autodetect leaves the port closed";
}

TEST_F(AutodetectTest, StopEndsTheSearchWithoutAFind)
{
    StartDrive("3", "115200,E,8,1");
    link->put_ConfString(Text("VrnSer:0,1000#COM:6,9600,E,8,1"));
    scripted.script = [this](CVrnSerConfigDlg& dialog)
    {
        Click(dialog, IDC_CFG_AUTODETECT);
        EXPECT_TRUE(
            WaitFor([&] { return dialog.GetDlgItem(IDC_CFG_TRIED_ADDRESS)->GetWindowText() == "2"; }, 5000));
        Click(dialog, IDC_CFG_AUTODETECT);
        EXPECT_FALSE(dialog.IsAutodetectRunning());
        EXPECT_TRUE(
            WaitFor([&] { return dialog.GetDlgItem(IDC_CFG_AUTODETECT)->GetWindowText() == "Start"; }, 2000));
        EXPECT_TRUE(Enabled(dialog, IDCANCEL));
        EXPECT_EQ(dialog.GetDlgItem(IDC_CFG_TRIED_BAUD)->GetWindowText(), CString(""));
        Click(dialog, IDCANCEL);
        return false;
    };
    ASSERT_EQ(link->Config(), S_OK);
    EXPECT_TRUE(sink.questions.empty());
}

TEST(InstallVrnSerConfigDialogTest, HandsTheDialogToTheComponentsHookOnly)
{
    CSharedLibrary component;
    ASSERT_TRUE(component.Open(VRNSER_COMPONENT)) << component.Error();
    using SetHook = CConfigDialog* (*)(CConfigDialog*);
    auto setHook = reinterpret_cast<SetHook>(component.Symbol("VrnSerSetConfigDialog"));
    ASSERT_NE(setHook, nullptr);

    EXPECT_TRUE(InstallVrnSerConfigDialog(component));
    CConfigDialog* installed = setHook(nullptr);
    EXPECT_NE(dynamic_cast<CVrnSerConfigDialog*>(installed), nullptr);

    CSharedLibrary other;
    ASSERT_TRUE(other.Open("libc.so.6")) << other.Error();
    EXPECT_FALSE(InstallVrnSerConfigDialog(other)) << "no hook in a module without it";
    EXPECT_FALSE(InstallVrnSerConfigDialog(CSharedLibrary())) << "nothing open";
}

// Boxes as they would be shown, with their captions and types.
class ShownBoxes : public CMessageBoxSink
{
public:
    int Show(CWnd* owner, const CString& text, const CString& caption, UINT type) override
    {
        shown.push_back({owner, text.str(), caption.str(), type});
        return IDOK;
    }
    struct Box
    {
        CWnd* owner;
        std::string text;
        std::string caption;
        UINT type;
    };
    std::vector<Box> shown;
};

TEST(InstallVrnSerWarningSinkTest, AnObjectOfTheComponentShowsItsWarningAsABoxNotOnStandardError)
{
    ShownBoxes boxes;
    CMessageBoxSink* previous = AfxSetMessageBoxSink(&boxes);
    CSharedLibrary component;
    ASSERT_TRUE(component.Open(VRNSER_COMPONENT)) << component.Error();
    ASSERT_TRUE(InstallVrnSerWarningSink(component));

    using GetClassObject = HRESULT (*)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObject>(component.Symbol("DllGetClassObject"));
    ASSERT_NE(getClassObject, nullptr);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject(CLSID_VrnSer, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    IVrnSer* object = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IVrnSer::Iid, reinterpret_cast<void**>(&object)), S_OK);
    factory->Release();

    // A stored session at a baud rate the protocol does not allow, as the settings dialog gets it.
    object->put_ConfString(Text("VrnSer:0,200#COM:1,4800,E,8,1"));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].owner, nullptr);
    EXPECT_EQ(boxes.shown[0].caption, "VrnSer");
    EXPECT_FALSE(boxes.shown[0].text.empty());
    EXPECT_EQ(boxes.shown[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));

    object->put_MsgOn(0);
    object->put_ConfString(Text("VrnSer:0,200#COM:1,4800,E,8,1"));
    EXPECT_EQ(boxes.shown.size(), 1u) << "messages off: no box";
    object->Release();

    using SetHook = CWarningSink* (*)(CWarningSink*);
    reinterpret_cast<SetHook>(component.Symbol("VrnSerSetWarningSink"))(nullptr);
    AfxSetMessageBoxSink(previous);
    CSharedLibrary other;
    ASSERT_TRUE(other.Open("libc.so.6")) << other.Error();
    EXPECT_FALSE(InstallVrnSerWarningSink(other)) << "no hook in a module without it";
}

TEST_F(VrnSerConfigDlgTest, TheModalDialogIsOwnedByTheActiveWindow)
{
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, "main", WS_POPUP | WS_CAPTION | WS_VISIBLE, CRect(0, 0, 200, 100),
                              nullptr, 0));
    main.GetWidget()->activateWindow();
    ASSERT_TRUE(WaitFor([&] { return CWnd::GetActiveWindow() == &main; }, 3000));

    CVrnSerConfigDialog modal;
    SetVrnSerConfigDialog(&modal);
    QWidget* owner = nullptr;
    QTimer::singleShot(0,
                       [&]
                       {
                           ASSERT_TRUE(
                               WaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 3000));
                           QWidget* dialog = QApplication::activeModalWidget();
                           owner = dialog->parentWidget();
                           Click(*CWnd::FromWidget(dialog), IDCANCEL);
                       });
    EXPECT_EQ(link->Config(), S_OK);
    EXPECT_EQ(owner, main.GetWidget());
    main.DestroyWindow();
}
