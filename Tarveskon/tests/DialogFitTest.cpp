// Every dialog template of the program and of the modules it loads shows its texts whole at the
// desktop's usual font sizes, in each language the program shows them. (The port and modem
// servers' templates are checked by their own tests.)
#include "ManagerTestSupport.h"

#include <Tarveskon/DlgConnChoice.h>
#include <Tarveskon/DlgDriveSelect.h>
#include <Tarveskon/DlgMotorSelect.h>
#include <Tarveskon/DlgSaveAndDownload.h>
#include <Tarveskon/DlgVersions.h>
#include <Tarveskon/TarveskonDlg.h>
#include <TvskCamEditor/ui/CamEditorIds.h>
#include <TvskCustomDb/ui/CustomDbIds.h>
#include <TvskDownload/ui/DownloadIds.h>
#include <TvskLumoPlc/graphview/CommentDlg.h>
#include <TvskLumoPlc/shell/PlcIds.h>
#include <TvskLumoPlc/text/TextEditStrings.h>
#include <TvskOsc/ui/OscIds.h>
#include <TvskPager/ui/PagerIds.h>
#include <uiext/AboutDlg.h>
#include <uiext/Wait.h>

#include <testing/DialogFit.h>
#include <ui/Language.h>
#include <ui/Resources.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

using tvsk::testing::FitProblems;
using tvsk::testing::kDesktopFontPoints;
using tvsk::testing::ScopedDesktopFont;
using tvsk::testing::TemplateFitProblems;

struct TemplateRef
{
    std::string name;
    std::function<HINSTANCE()> module;
    UINT id = 0;
    const char* templateName = nullptr;
};

HINSTANCE Program()
{
    return nullptr;
}

// Plug-ins register their resources on first use.
HINSTANCE Osc()
{
    OscString(nullptr, 0);
    return OscModule();
}

HINSTANCE CustomDb()
{
    CustomDbString(0);
    return CustomDbModule();
}

HINSTANCE Download()
{
    DownloadString(nullptr, 0);
    return DownloadModule();
}

HINSTANCE CamEditor()
{
    CamEditorString(0);
    return CamEditorModule();
}

std::vector<TemplateRef> AllTemplates()
{
    return {
        {"connection choice", Program, IDD_CONN_CHOICE},
        {"drive selection", Program, IDD_DRIVE_SELECT},
        {"motor selection", Program, IDD_MOTOR_SELECT},
        {"save and download", Program, IDD_SAVE_AND_DOWNLOAD},
        {"versions", Program, IDD_VERSIONS},
        {"main window", Program, 0, IDD_TARVESKON_DIALOG},
        {"protocol settings", Program, 102},
        {"about", Program, IDD_ABOUTBOX},
        {"wait", Program, IDD_DLG_WAIT},
        {"oscilloscope", Osc, IDD_OSCILLOSCOPE},
        {"oscilloscope parameters", Osc, IDD_OSC_PARAMETERS},
        {"custom motors", CustomDb, IDD_MOTORDB},
        {"download insert", Download, IDD_INSERTPAR},
        {"cam editor", CamEditor, IDD_CAMEDIT},
        {"pager", PagerModule, IDD_PAGER},
        {"PLC editor", PlcModule, IDD_PLC_MAIN},
        {"PLC bit select", PlcModule, IDD_PLC_BITSELECT},
        {"PLC end", PlcModule, IDD_PLC_FIN},
        {"PLC properties", PlcModule, IDD_PLC_PROPERTIES},
        {"PLC instruction list", PlcModule, IDD_PLC_IL},
        {"PLC comment", Program, CCommentDlg::IDD},
        {"text find", Program, IDS_FIND_DIALOG},
        {"text replace", Program, IDS_REPLACE_DIALOG},
    };
}

const DialogTemplate* Find(const TemplateRef& ref)
{
    const CResourceModuleScope scope(ref.module());
    return ref.templateName ? AfxFindDialogTemplate(ref.templateName) : AfxFindDialogTemplate(ref.id);
}

TEST(DialogFit, EveryTemplateShowsItsTextsWholeAtTheDesktopFonts)
{
    for (const TemplateRef& ref : AllTemplates())
    {
        const DialogTemplate* found = Find(ref);
        ASSERT_NE(found, nullptr) << ref.name;
        for (const int points : kDesktopFontPoints)
        {
            const ScopedDesktopFont font(points);
            EXPECT_EQ(TemplateFitProblems(*found), std::vector<std::string>{})
                << ref.name << " at " << points << " pt";
        }
    }
}

class DialogFitLanguages : public testing::Test
{
protected:
    void SetUp() override { tvsk::testing::ResetProfile(); }

    // Runs check in each language at each desktop font size.
    void ForEachLanguageAndFont(const std::function<void(const std::string&)>& check)
    {
        for (const int language : {0, 1})
        {
            CTvskManager manager(folder.Dir().c_str());
            ASSERT_TRUE(language == 0 || manager.ChangeLanguage(language));
            m_manager = &manager;
            for (const int points : kDesktopFontPoints)
            {
                const ScopedDesktopFont font(points);
                check(manager.GetLanguageName().str() + " at " + std::to_string(points) + " pt");
            }
            m_manager = nullptr;
        }
    }

    tvsk::testing::ProgramFolder folder;
    CTvskManager* m_manager = nullptr;
};

TEST_F(DialogFitLanguages, ConnectionChoiceSaveAndDownloadAndVersionsShowTheirTextsWhole)
{
    ForEachLanguageAndFont(
        [&](const std::string& where)
        {
            CDlgConnChoice choice(m_manager, nullptr);
            ASSERT_TRUE(choice.Create(IDD_CONN_CHOICE));
            EXPECT_EQ(FitProblems(choice, *AfxFindDialogTemplate(IDD_CONN_CHOICE)),
                      std::vector<std::string>{})
                << "connection choice, " << where;
            choice.DestroyWindow();

            CDlgSaveAndDownload save;
            save.SetHost(m_manager);
            ASSERT_TRUE(save.Create(IDD_SAVE_AND_DOWNLOAD));
            EXPECT_EQ(FitProblems(save, *AfxFindDialogTemplate(IDD_SAVE_AND_DOWNLOAD)),
                      std::vector<std::string>{})
                << "save and download, " << where;
            save.DestroyWindow();

            CDlgVersions versions;
            versions.SetHost(m_manager);
            ASSERT_TRUE(versions.Create(IDD_VERSIONS));
            EXPECT_EQ(FitProblems(versions, *AfxFindDialogTemplate(IDD_VERSIONS)), std::vector<std::string>{})
                << "versions, " << where;
            versions.DestroyWindow();
        });
}

// The program shows every template's texts in the chosen language: they fit there too.
TEST_F(DialogFitLanguages, EveryTemplateShowsItsTextsWholeInEachLanguage)
{
    ForEachLanguageAndFont(
        [&](const std::string& where)
        {
            AfxSetTextTranslator([&](const char* text, CString& translated)
                                 { return m_manager->Language().TranslateText(text, translated) != FALSE; });
            for (const TemplateRef& ref : AllTemplates())
            {
                const DialogTemplate* found = Find(ref);
                ASSERT_NE(found, nullptr) << ref.name;
                EXPECT_EQ(TemplateFitProblems(*found), std::vector<std::string>{})
                    << ref.name << ", " << where;
            }
            AfxSetTextTranslator({});
        });
}

} // namespace
