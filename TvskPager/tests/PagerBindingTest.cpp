// The pager's binding on the sample wizard pages, parsed, against the real manager; the drive
// traffic through drivesim behind the protocol object and Porthaven.
#include <TvskPager/binding/PagerBinding.h>

#include <Tarveskon/TvskStrings.h>
#include <Tarveskon/tests/ManagerTestSupport.h>
#include <htmlbind/JyHtml2Mng.h>
#include <protocol/tests/DriveChain.h>

#include <com/ComModule.h>
#include <web/DomObjects.h>
#include <web/HtmlPage.h>

#include <chrono>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>
#include <vector>

namespace
{

using tvsk::com::BstrFromUtf8;
using tvsk::com::Utf8FromBstr;
using tvsk::testing::ProgramFolder;
using tvsk::testing::RecordingUi;

class RecordingView : public CPagerView
{
public:
    void SetCaption(const CString& text) override { caption = text.str(); }
    void ResizeTo(long w, long h) override { width = w, height = h; }
    void Close(int result) override { closed = result; }
    void ShowRefusal(const CString& text) override { refusals.push_back(text.str()); }
    void BeginWait() override { ++waits; }
    void EndWait() override { --waits; }

    std::string caption;
    long width = 0;
    long height = 0;
    int closed = 0;
    int waits = 0;
    std::vector<std::string> refusals;
};

class PagerBindingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        CProfile::Instance().SetRegistryKey("MurnApps");
        tvsk::testing::ResetProfile();
        RegisterTvskStrings();
        folder = std::make_unique<ProgramFolder>();
        host = std::make_unique<CTvskManager>(folder->Dir().c_str());
        host->SetHostUi(&ui);
        ASSERT_EQ(host->OpenFile(folder->Path("Samples/TK20.dat").c_str()), 0);
        tvsk::com::CreateObject<CJyHtml2Mng>(IJyHtml2Mng::Iid, reinterpret_cast<void**>(manager.Receive()));
        binding = std::make_unique<CPagerBinding>(host.get(), view);
    }
    void TearDown() override
    {
        binding.reset();
        manager = nullptr;
        host.reset();
        for (VARIANT& text : m_texts)
            VariantClear(&text);
    }
    void Load(const std::string& relative)
    {
        auto page = tvsk::web::LoadHtmlPage(folder->Path(relative));
        ASSERT_TRUE(page) << relative;
        Show(std::move(page));
    }
    void LoadHtml(const std::string& html) { Show(tvsk::web::ParseHtmlPage(html, "mem:")); }
    void Show(std::unique_ptr<tvsk::web::DomDocument> page)
    {
        binding->Detach();
        dom = page.get();
        document = tvsk::web::NewDocumentObject(std::move(page));
        ASSERT_EQ(manager->put_HtmlDocument(document.Get()), S_OK);
        binding->Attach(manager.Get());
    }
    tvsk::web::DomElement& Element(const std::string& name, int nth = 0) const
    {
        for (size_t i = 0; i < dom->ElementCount(); ++i)
            if ((dom->ElementAt(i)->Name() == name || dom->ElementAt(i)->Id() == name) && nth-- == 0)
                return *dom->ElementAt(i);
        throw std::runtime_error("no element " + name);
    }
    // Ticks once per control of the page, at least a whole round; answers the last wait.
    int Round()
    {
        LONG controls = 0;
        manager->get_ControlsNum(&controls);
        int wait = 0;
        for (LONG i = 0; i < controls; ++i)
            wait = binding->Tick();
        return wait;
    }
    std::string Shown(const std::string& name, int nth = 0) const { return Element(name, nth).Value(); }
    std::string FileValue(const char* name)
    {
        VARIANT v;
        VariantInit(&v);
        host->GetParValue(name, &v);
        VARIANT text;
        VariantInit(&text);
        VariantChangeType(&text, &v, 0, VT_BSTR);
        const std::string result = Utf8FromBstr(text.bstrVal);
        VariantClear(&text);
        VariantClear(&v);
        return result;
    }
    std::vector<std::string> PageList() const { return host->PageParList(); }
    void Type(const std::string& name, const std::string& text)
    {
        Element(name).SetValue(text);
        binding->EnterClick(name);
    }
    static VARIANT Short(SHORT value)
    {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_I2;
        v.iVal = value;
        return v;
    }
    // The binding only reads what it is handed: the test frees its texts at the end.
    VARIANT Text(const char* text)
    {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = BstrFromUtf8(text);
        m_texts.push_back(v);
        return v;
    }

    std::unique_ptr<ProgramFolder> folder;
    RecordingUi ui;
    std::unique_ptr<CTvskManager> host;
    ComPtr<IJyHtml2Mng> manager;
    ComPtr<IDomDocument> document;
    tvsk::web::DomDocument* dom = nullptr;
    RecordingView view;
    std::unique_ptr<CPagerBinding> binding;

private:
    std::vector<VARIANT> m_texts;
};

TEST_F(PagerBindingTest, APageShowsTheFileItsTitleSizeAndPageList)
{
    Load("TK20/ENG/Motor.htm");
    EXPECT_EQ(Shown("Pr33"), FileValue("Pr33"));
    EXPECT_EQ(Shown("Pr32"), FileValue("Pr32"));
    EXPECT_EQ(view.caption, "Dati motore");                  // the "S_" title in the session's language
    EXPECT_EQ(Element("S_3416").InnerText(), "Tipo motore"); // "Motor type" on the page
    EXPECT_EQ(view.width, 560);
    EXPECT_EQ(view.height, 420);
    EXPECT_EQ(PageList(), (std::vector<std::string>{"Pr31", "Pr30", "Pr32", "Pr33", "Pr34", "Pr38", "Pr39"}));
    EXPECT_EQ(Element("CMD#Ok").Value(), "OK");

    Load("TK20/ENG/Config.htm");
    EXPECT_EQ(PageList(), (std::vector<std::string>{"Pr42.0", "Pr42.4", "Pr3.0", "Pr1"}));
    EXPECT_EQ(view.caption, "Configurazione");
}

TEST_F(PagerBindingTest, EnterWritesOnlyAWholeNumberWithinLimits)
{
    Load("TK20/ENG/Motor.htm");
    Type("Pr33", "3.1");
    EXPECT_EQ(FileValue("Pr33"), "3.1");
    EXPECT_EQ(Shown("Pr33"), "3.1");
    EXPECT_TRUE(view.refusals.empty());

    CString notANumber;
    host->GetString(2150, notANumber);
    ASSERT_FALSE(notANumber.IsEmpty());
    for (const char* typed : {"4.2x", "", "abc", "4,2,1"}) // a leading number would have gone to the drive
    {
        view.refusals.clear();
        Type("Pr33", typed);
        EXPECT_EQ(FileValue("Pr33"), "3.1") << typed;
        EXPECT_EQ(Shown("Pr33"), "3.1") << typed << ": the file's value is put back";
        EXPECT_EQ(view.refusals, std::vector<std::string>{notANumber.str()}) << typed;
    }

    view.refusals.clear();
    Type("Pr33", "99");
    EXPECT_EQ(FileValue("Pr33"), "3.1");
    EXPECT_EQ(Shown("Pr33"), "3.1");
    ASSERT_EQ(view.refusals.size(), 1u);
    EXPECT_NE(view.refusals[0].find("Min : 0.2 Max : 8"), std::string::npos) << view.refusals[0];

    // A decimal comma, as an Italian writes 4.5.
    view.refusals.clear();
    Type("Pr33", "4,5");
    EXPECT_EQ(FileValue("Pr33"), "4.5");
    EXPECT_TRUE(view.refusals.empty());
}

TEST_F(PagerBindingTest, ChoicesWriteWholeShortsAndPutTheFileBackOtherwise)
{
    Load("TK20/ENG/Motor.htm");
    binding->ChoiceChange("Pr31", Short(1));
    EXPECT_EQ(FileValue("Pr31"), "1");
    binding->ChoiceChange("Pr31", Text("0"));
    EXPECT_EQ(FileValue("Pr31"), "0");

    VARIANT absent;
    VariantInit(&absent);
    binding->ChoiceChange("Pr31", Short(1));
    binding->ChoiceChange("Pr31", absent);
    binding->ChoiceChange("Pr31", Text("0.5"));
    binding->ChoiceChange("Pr31", Text("70000"));
    EXPECT_EQ(FileValue("Pr31"), "1");
    EXPECT_EQ(Shown("Pr31"), "1");
    EXPECT_EQ(view.refusals.size(), 3u);

    Element("Pr38").SetChecked(true);
    binding->CheckboxChange("Pr38");
    EXPECT_EQ(FileValue("Pr38"), "1");

    Load("TK20/ENG/IO.htm");
    binding->ImageClick("Pr76.0", Text("1"));
    EXPECT_EQ(FileValue("Pr76.0"), "1");
    binding->ImageClick("Pr76.0", absent);
    binding->ImageClick("Pr76.0", Text("0x"));
    EXPECT_EQ(FileValue("Pr76.0"), "1");
    EXPECT_EQ(view.refusals.size(), 5u);
}

TEST_F(PagerBindingTest, AModeChangeKeepsThePageListValid)
{
    Load("TK20/ENG/Config.htm");
    binding->ChoiceChange("Pr1", Short(2));
    EXPECT_EQ(FileValue("Pr1"), "2");
    EXPECT_EQ(PageList(), (std::vector<std::string>{"Pr42.0", "Pr42.4", "Pr3.0", "Pr1"}));
    EXPECT_FALSE(ui.boxes.empty()); // the mode warning 2058
}

TEST_F(PagerBindingTest, RefreshPeriodComesFromThePage)
{
    const auto page = [](const char* refresh)
    {
        return std::string("<html><body><input type=\"hidden\" name=\"GENERAL\" value=\"REFRESH:") + refresh +
               "\"><input type=\"text\" name=\"Pr33\"></body></html>";
    };
    EXPECT_EQ(binding->Period(), 100);
    LoadHtml(page("500"));
    EXPECT_EQ(binding->Period(), 500);
    LoadHtml(page("-1"));
    EXPECT_EQ(binding->Period(), 500);
    LoadHtml("<html><body><input type=\"text\" name=\"Pr33\"></body></html>");
    EXPECT_EQ(binding->Period(), 500);
    LoadHtml(page("0"));
    EXPECT_EQ(binding->Period(), 10);
    LoadHtml(page("12abc"));
    EXPECT_EQ(binding->Period(), 10);
    LoadHtml(page("99999999999"));
    EXPECT_EQ(binding->Period(), 10);
    Load("TK20/ENG/Monitor.htm");
    EXPECT_EQ(binding->Period(), 100);
}

TEST_F(PagerBindingTest, TheFamilysSharedPagesShowTheirOptionsInTheLanguage)
{
    const auto texts = [&](const char* name)
    {
        std::string joined;
        for (const auto& option : Element(name).Options())
            joined += (joined.empty() ? "" : "|") + option.value + "=" + option.text;
        return joined;
    };
    Load("TKSERIES/Pages/Motor.htm");
    EXPECT_EQ(texts("Pr31"), "0=Sincrono|1=Asincrono");
    ASSERT_TRUE(host->ChangeLanguage(1));
    Load("TKSERIES/Pages/Motor.htm");
    EXPECT_EQ(texts("Pr31"), "0=Synchronous|1=Asynchronous");
    EXPECT_EQ(Shown("Pr31"), FileValue("Pr31")) << "the file's choice is shown among the new options";
    Load("TKSERIES/Pages/IO.htm");
    EXPECT_EQ(texts("Pr72"), "0=Function 0|1=Function 1|2=Function 2|3=Function 3|4=Function 4|5=Function 5|"
                             "6=Function 6|7=Function 7");
    host->ChangeLanguage(0);
}

TEST_F(PagerBindingTest, PollingSkipsTheFocusedTextField)
{
    Load("TK20/ENG/Motor.htm");
    binding->Focus(true, "Pr33");
    Element("Pr33").SetValue("7");
    Element("Pr32").SetValue("1");
    EXPECT_LE(Round(), 100);
    EXPECT_EQ(Shown("Pr33"), "7");
    EXPECT_EQ(Shown("Pr32"), FileValue("Pr32"));
    binding->Focus(false, "Pr33");
    Round();
    EXPECT_EQ(Shown("Pr33"), FileValue("Pr33"));

    binding->Focus(true, "Pr38"); // a checkbox keeps polling
    binding->ChoiceChange("Pr31", Short(1));
    host->SetParValue("Pr38", Short(1), FALSE);
    Round();
    EXPECT_TRUE(Element("Pr38").Checked());

    LoadHtml("<html><body></body></html>");
    EXPECT_EQ(binding->Tick(), binding->Period());
}

TEST_F(PagerBindingTest, WordsCloseRefreshOrGoToTheHost)
{
    Load("TK20/ENG/Motor.htm");
    binding->Command("Ok", 0);
    EXPECT_EQ(view.closed, 1);
    binding->Command("Cancel", 0);
    EXPECT_EQ(view.closed, 2);
    binding->Command("ReadAll", 0);
    binding->Command("WriteAll", 0);
    binding->Command("SaveParameters", 0);
    EXPECT_EQ(view.waits, 0);
    ASSERT_EQ(view.refusals.size(), 3u) << "off line the page's transfers and the save say why";
    for (const std::string& refusal : view.refusals)
        EXPECT_EQ(refusal,
                  "Drive non connesso.\nConnettersi al drive prima di leggere o scrivere i parametri.");
    EXPECT_EQ(PageList().size(), 7u);
}

// The chain to drivesim: the sample TK20's defaults, a control channel and a journal of requests.
class PagerChainTest : public PagerBindingTest
{
protected:
    void SetUp() override
    {
        chain = std::make_unique<CDriveChain>(testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(chain->Error(), "");
        PagerBindingTest::SetUp();
        control = folder->Path("control");
        journal = folder->Path("journal");
        ASSERT_TRUE(chain->StartDrive({"--control", control, "--journal", journal})) << chain->Error();
        host->ParDb().SetCommSettings(ChainSettings(0).c_str());
        ASSERT_EQ(host->Connect(""), 0);
    }
    void TearDown() override
    {
        PagerBindingTest::TearDown();
        EXPECT_EQ(chain->StopDrive(), 0);
        chain.reset();
    }
    void Control(const std::string& line) const { ASSERT_TRUE(SendDriveControl(control, line + "\n")); }
    // The journal's read lines, in order.
    int PollRoundLength();
    std::vector<std::string> Reads() const
    {
        std::vector<std::string> reads;
        std::ifstream in(journal);
        for (std::string l; std::getline(in, l);)
            if (l.rfind("read ", 0) == 0)
                reads.push_back(l);
        return reads;
    }
    bool Journaled(const std::string& line) const
    {
        std::ifstream in(journal);
        for (std::string l; std::getline(in, l);)
            if (l == line)
                return true;
        return false;
    }

    std::unique_ptr<CDriveChain> chain;
    std::string control;
    std::string journal;
};

TEST_F(PagerChainTest, EnteredValuesReachTheDriveScaled)
{
    Load("TK20/ENG/Motor.htm");
    Type("Pr33", "3.1");
    EXPECT_TRUE(Journaled("write 33 16 310"));
    Type("Pr33", "3.2z");
    EXPECT_FALSE(Journaled("write 33 16 320"));
    Load("TK20/ENG/Config.htm");
    binding->CheckboxChange("Pr42.0");
    Element("Pr42.0").SetChecked(true);
    binding->CheckboxChange("Pr42.0");
    EXPECT_TRUE(Journaled("write 42.0 1 1"));
    binding->Command("Reset", 0);
    EXPECT_TRUE(Journaled("write 42.1 1 1"));
}

// Ticks 40 periods, one read each; answers the number of reads after which they repeat.
int PagerChainTest::PollRoundLength()
{
    std::vector<std::string> reads;
    for (int i = 0; i < 40; ++i)
    {
        const std::size_t before = Reads().size();
        EXPECT_EQ(binding->Tick(), binding->Period());
        if (Reads().size() != before + 1)
        {
            ADD_FAILURE() << "not one read in a period";
            return 0;
        }
        reads.push_back(Reads().back());
    }
    for (std::size_t length = 1; length <= reads.size() / 3; ++length)
        if (std::equal(reads.begin() + length, reads.end(), reads.begin()))
            return static_cast<int>(length);
    return 0;
}

TEST_F(PagerChainTest, EachPeriodReadsOneFieldRoundRobin)
{
    Load("TK20/ENG/Motor.htm");
    Control("set 32 3000");
    Control("set 33 410");
    EXPECT_GT(PollRoundLength(), 2);
    EXPECT_EQ(Shown("Pr32"), "3000");
    EXPECT_EQ(Shown("Pr33"), "4.1");

    Control("fault silent");
    EXPECT_EQ(binding->Tick(), 1000) << "a failed read waits longer";
    Control("fault none");
    EXPECT_EQ(binding->Tick(), binding->Period());
}

TEST_F(PagerChainTest, TheSamplePagesFollowTheDriveAboutEveryHalfSecond)
{
    for (const char* language : {"ITA", "ENG"})
        for (const char* page : {"Config", "Motor", "Loops", "IO", "Comm", "Monitor"})
        {
            const std::string path = std::string("TK20/") + language + "/" + page + ".htm";
            Load(path.c_str());
            const int round = PollRoundLength() * binding->Period();
            EXPECT_GE(round, 400) << path << " " << binding->Period();
            EXPECT_LE(round, 600) << path;
        }
}

TEST_F(PagerChainTest, ALinkFailureEndsTheRoundAndIsReportedOnce)
{
    Load("TK20/ENG/Motor.htm");
    LONG controls = 0;
    manager->get_ControlsNum(&controls);
    // Ticks until one reads the drive (controls that are no parameter read nothing).
    const auto tickToNextRead = [&]
    {
        const std::size_t before = Reads().size();
        for (LONG i = 0; i < controls && Reads().size() == before; ++i)
            binding->Tick();
        return Reads().size() > before ? Reads().back() : std::string();
    };
    const auto tickUntilReported = [&](std::size_t reports)
    {
        int delay = 0;
        for (LONG i = 0; i < controls && view.refusals.size() < reports; ++i)
            delay = binding->Tick();
        return delay;
    };
    const std::string firstRead = tickToNextRead();
    ASSERT_NE(firstRead, "");
    ASSERT_NE(tickToNextRead(), firstRead);
    Control("fault silent");
    EXPECT_EQ(tickUntilReported(1), 1000);
    for (LONG i = 0; i < 3; ++i)
        EXPECT_EQ(binding->Tick(), 1000);
    EXPECT_EQ(view.refusals, std::vector<std::string>{"Errore di comunicazione con il drive"});
    Control("fault none");
    EXPECT_EQ(tickToNextRead(), firstRead) << "the next round starts over";
    Control("fault silent");
    tickUntilReported(2);
    EXPECT_EQ(view.refusals.size(), 2u) << "after a read went through, a new failure is reported again";
    Control("fault none");
}

TEST_F(PagerChainTest, ValuesOfTheDrivesStateNoLongerReadShowAsNotRead)
{
    Load("TK20/ENG/Monitor.htm");
    // A preformatted value is the element's text; Pr83 and Pr4 come after their hidden "ro" marks.
    const auto shown = [&](const std::string& name)
    {
        const tvsk::web::DomElement& element = Element(name, name == "Pr83" || name == "Pr4" ? 1 : 0);
        return element.Value().empty() ? element.InnerText() : element.Value();
    };
    Control("set 81 1234");
    PollRoundLength();
    ASSERT_EQ(shown("Pr81"), "12.34");
    ASSERT_NE(shown("Pr83"), "---");

    // The line is lost: at the first failed read every value of the drive's state is marked.
    Control("fault silent");
    LONG controls = 0;
    manager->get_ControlsNum(&controls);
    for (LONG i = 0; i < controls && view.refusals.empty(); ++i)
        binding->Tick();
    ASSERT_EQ(view.refusals.size(), 1u);
    for (const char* name : {"Pr80", "Pr81", "Pr82", "Pr83", "Pr4"})
        EXPECT_EQ(shown(name), "---") << name;

    // The drive answers again: the values follow it.
    Control("fault none");
    PollRoundLength();
    EXPECT_EQ(shown("Pr81"), "12.34");

    // Off line the file's last copy is no reading either.
    host->Disconnect();
    for (LONG i = 0; i < 2 * controls; ++i)
        binding->Tick();
    for (const char* name : {"Pr80", "Pr81", "Pr82", "Pr83", "Pr4"})
        EXPECT_EQ(shown(name), "---") << name;
}

TEST_F(PagerChainTest, OffLineAFieldTheEngineerEditsShowsTheFilesValue)
{
    Load("TK20/ENG/Motor.htm");
    PollRoundLength();
    host->Disconnect();
    LONG controls = 0;
    manager->get_ControlsNum(&controls);
    for (LONG i = 0; i < 2 * controls; ++i)
        binding->Tick();
    EXPECT_EQ(Shown("Pr33"), FileValue("Pr33"));
    EXPECT_NE(Shown("Pr33"), "---");
}

} // namespace

namespace
{

// The addresses drivesim journaled a write to after the journal had the size, in order.
std::vector<std::string> WrittenAddresses(const std::string& journal, std::uintmax_t size)
{
    std::vector<std::string> addresses;
    std::ifstream in(journal);
    in.seekg(static_cast<std::streamoff>(size));
    for (std::string kind, address, bits, value; in >> kind >> address >> bits >> value;)
        if (kind == "write")
            addresses.push_back(address);
    return addresses;
}

TEST_F(PagerChainTest, WriteAllWritesExactlyThePagesParameters)
{
    Load("TK20/ENG/Motor.htm");
    const std::uintmax_t before = std::filesystem::file_size(journal);
    binding->Command("WriteAll", 0);
    std::vector<std::string> written = WrittenAddresses(journal, before);
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"30", "31", "32", "33", "34", "38", "39"}));
    EXPECT_EQ(PageList().size(), 7u) << "the page list is kept";
}

} // namespace
