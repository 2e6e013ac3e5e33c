// Printing the main dialog's ladder to PDF: cancel writes nothing, the title block without and
// with project information, and the fit-to-page scale of an empty view.
#include <TvskLumoPlc/graphview/LDView.h>
#include <TvskLumoPlc/shell/DlgLumoPlc.h>
#include <TvskLumoPlc/shell/LDPrinter.h>
#include <TvskLumoPlc/shell/PlcIds.h>

#include "PlcTestHost.h"

#include <testing/TestApplication.h>
#include <ui/MessageBox.h>
#include <ui/Print.h>
#include <ui/Resources.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
const tvsk::test::TestApplication g_app("PlcPrintTests", "MurnApps");

class PdfPrinter : public CPrintDialogSink
{
public:
    PdfPrinter()
        : m_file((fs::temp_directory_path() / ("ldprint-" + std::to_string(::getpid()) + ".pdf")).string()),
          m_previous(AfxSetPrintDialogSink(this))
    {
    }
    ~PdfPrinter() override
    {
        AfxSetPrintDialogSink(m_previous);
        fs::remove(m_file);
    }
    int Show(CWnd*, PRINTDLG& settings) override
    {
        flags = settings.Flags;
        settings.outputFile = m_file.c_str();
        return answer;
    }
    bool Written() const { return fs::exists(m_file); }
    std::string Text() const
    {
        std::string out;
        if (FILE* pipe = ::popen(("pdftotext -layout '" + m_file + "' - 2>/dev/null").c_str(), "r"))
        {
            char buffer[4096];
            for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
                out.append(buffer, got);
            ::pclose(pipe);
        }
        return out;
    }
    int answer = IDOK;
    DWORD flags = 0;

private:
    std::string m_file;
    CPrintDialogSink* m_previous;
};

class Quiet : public CMessageBoxSink
{
public:
    Quiet() : m_previous(AfxSetMessageBoxSink(this)) {}
    ~Quiet() override { AfxSetMessageBoxSink(m_previous); }
    int Show(CWnd*, const CString&, const CString&, UINT) override { return IDOK; }

private:
    CMessageBoxSink* m_previous;
};

class LadderPrint : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.program = {
            {"LD", {75, 0, -1}}, {"AND", {3, 0, -1}}, {"OUT", {42, 0, -1}}, {"END", {-1, -1, -1}}};
    }
    void Run(std::function<void(CDlgLumoPlc&)> step)
    {
        CResourceModuleScope resources(PlcModule());
        CDlgLumoPlc dialog;
        dialog.m_pPluginIntf = &host;
        QTimer::singleShot(0,
                           [&dialog, step]
                           {
                               step(dialog);
                               dialog.EndDialog(IDCANCEL);
                           });
        dialog.DoModal();
    }

    PlcTestHost host;
    PdfPrinter pdf;
    Quiet boxes;
};

TEST_F(LadderPrint, CancelWritesNothing)
{
    pdf.answer = IDCANCEL;
    Run([](CDlgLumoPlc& dialog) { dialog.SendMessage(WM_COMMAND, ID_PLC_PRINT, 0); });
    EXPECT_FALSE(pdf.Written());
    EXPECT_EQ(pdf.flags & (PD_NOPAGENUMS | PD_NOSELECTION), PD_NOPAGENUMS | PD_NOSELECTION);
}

TEST_F(LadderPrint, TheTitleBlockHoldsVersionDateAndPageAndTheNetworksTheirOperands)
{
    Run([](CDlgLumoPlc& dialog) { dialog.SendMessage(WM_COMMAND, ID_PLC_PRINT, 0); });
    const std::string text = pdf.Text();
    EXPECT_NE(text.find("Configurazione:"), std::string::npos) << text;
    EXPECT_NE(text.find("Versione: 1.00"), std::string::npos) << text;
    EXPECT_NE(text.find("Pagina: 1 di 1"), std::string::npos) << text;
    EXPECT_NE(text.find("Data:"), std::string::npos) << text;
    EXPECT_EQ(text.find("Release:"), std::string::npos) << text;
    EXPECT_NE(text.find("75.0"), std::string::npos) << text;
    EXPECT_NE(text.find("42.0"), std::string::npos) << text;
}

TEST_F(LadderPrint, PropertiesGoIntoTheTitleBlock)
{
    Run(
        [](CDlgLumoPlc& dialog)
        {
            dialog.GetProjectInfo().m_strRelease = "2.1";
            dialog.SendMessage(WM_COMMAND, ID_PLC_PRINT, 0);
        });
    EXPECT_NE(pdf.Text().find("Release: 2.1"), std::string::npos) << pdf.Text();
}

TEST_F(LadderPrint, AnEmptyViewKeepsScaleOneAndOnePage)
{
    host.program = {{"END", {-1, -1, -1}}};
    double scale = 0;
    int pages = 0;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            dialog.SendMessage(WM_COMMAND, ID_PLC_NEW_CODE, 0);
            CPrintDialog printDialog(FALSE, PD_RETURNDC);
            ASSERT_EQ(printDialog.DoModal(), IDOK);
            CLDPrinter printer;
            printer.SetView(dialog.GetView());
            pages = printer.Paginate(printDialog.GetPrinterDC());
            scale = printer.GetScale();
        });
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(std::isfinite(scale) && scale > 0) << scale;
}
} // namespace
