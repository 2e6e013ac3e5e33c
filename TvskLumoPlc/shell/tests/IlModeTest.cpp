// Instruction-list mode: the leave check against the real code generator, and the IL pages
// printed to PDF and read back with pdftotext.
#include <TvskLumoPlc/shell/DlgLumoPlcIL.h>
#include <TvskLumoPlc/shell/IlPrinter.h>
#include <TvskLumoPlc/shell/PlcIds.h>
#include <TvskLumoPlc/shell/PlcProjectInfo.h>
#include <TvskLumoPlc/textview/ILView.h>
#include <TvskLumoPlc/textview/SourceDocument.h>

#include "PlcTestHost.h"
#include "ShellTestSupport.h"

#include <ZoLumoPlcObj/LDLogicDoc.h>
#include <ZoLumoPlcObj/LumoPlcCodeGen.h>

#include <ui/MessageBox.h>
#include <ui/Print.h>

#include <gtest/gtest.h>

#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{
class PdfPrinter : public CPrintDialogSink
{
public:
    explicit PdfPrinter(std::string file) : m_file(std::move(file)), m_previous(AfxSetPrintDialogSink(this))
    {
    }
    ~PdfPrinter() override
    {
        AfxSetPrintDialogSink(m_previous);
        fs::remove(m_file);
    }
    int Show(CWnd*, PRINTDLG& settings) override
    {
        ++shown;
        settings.outputFile = m_file.c_str();
        return answer;
    }
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
    const std::string& File() const { return m_file; }
    int answer = IDOK;
    int shown = 0;

private:
    std::string m_file;
    CPrintDialogSink* m_previous;
};

std::string TempPdf(const char* name)
{
    return (fs::temp_directory_path() / (std::string(name) + "-" + std::to_string(::getpid()) + ".pdf"))
        .string();
}

void RunSteps(CDialog& dialog, std::vector<std::function<void()>> steps, size_t next)
{
    if (next == steps.size())
    {
        dialog.EndDialog(-2);
        return;
    }
    steps[next]();
    if (QWidget* widget = dialog.GetWidget())
        QTimer::singleShot(0, widget, [&dialog, steps, next] { RunSteps(dialog, steps, next + 1); });
}

INT_PTR RunWith(CDialog& dialog, std::vector<std::function<void()>> steps)
{
    QTimer::singleShot(0, [&dialog, steps] { RunSteps(dialog, steps, 0); });
    return dialog.DoModal();
}

class IlDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gen.SetPluginIntf(&host);
        dialog.m_pCodeGen = &gen;
        dialog.m_pPluginIntf = &host;
        dialog.m_pLogicDoc = &doc;
        dialog.m_pProjectInfo = &info;
    }
    void SetText(const char* text) { dialog.GetView()->GetDocument()->GetTextBuffer().LoadString(text); }
    CString ViewText()
    {
        CString text;
        dialog.GetView()->GetDocument()->GetTextBuffer().GetAllText(text, CRLF_STYLE_MAC);
        return text;
    }
    void Leave() { dialog.SendMessage(WM_COMMAND, ID_IL_LADDER, 0); }

    PlcTestHost host;
    CLumoPlcCodeGen gen;
    CLDLogicDoc doc;
    CPlcProjectInfo info;
    CDlgLumoPlcIL dialog;
    RecordingBoxes boxes;
};

TEST_F(IlDialog, ShowsTheTextAndLeavesWithZeroOnLowerCaseEndFollowedByBlanks)
{
    dialog.m_strText = "LD\t75.0\nOUT\t42.0\n\nEND\n";
    CString shown;
    bool readOnly = true;
    const INT_PTR result = RunWith(dialog,
                                   {
                                       [&]
                                       {
                                           shown = ViewText();
                                           readOnly =
                                               dialog.GetView()->GetDocument()->GetTextBuffer().GetReadOnly();
                                           SetText("LD\t75.0\nOUT\t42.0\nend  \n\n \t\n");
                                       },
                                       [&] { Leave(); },
                                   });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(shown.str(), std::string("LD\t75.0\nOUT\t42.0\n\nEND\n\n")); // every line ends in "\n"
    EXPECT_FALSE(readOnly);
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_EQ(doc.GetCount(), 1);
}

TEST_F(IlDialog, RefusalsNameTheFaultAndKeepTheText)
{
    dialog.m_strText = "END\n";
    CString kept;
    const INT_PTR result =
        RunWith(dialog,
                {
                    [&] { SetText(""); },
                    [&] { Leave(); },
                    [&] { SetText("AND\t1.0\nEND"); },
                    [&] { Leave(); },
                    [&] { SetText("LD\t1.0\nOUT\t2.0\n\nLD\t1.1\nOUT\t2.1\n\nOUT\tP12\nEND"); },
                    [&] { dialog.SendMessage(WM_COMMAND, IDCANCEL, 0); },
                    [&] { kept = ViewText(); },
                });
    EXPECT_EQ(result, -2); // still open after the last step
    ASSERT_EQ(boxes.texts.size(), 3u);
    EXPECT_EQ(boxes.texts[0], CString("Programma senza istruzione END di terminazione"));
    EXPECT_EQ(boxes.texts[1], CString("Istruzione non valida: AND"));
    EXPECT_EQ(boxes.texts[2], CString("Operando non valido alla riga 7"));
    EXPECT_EQ(boxes.types[0] & MB_ICONSTOP, MB_ICONSTOP);
    EXPECT_EQ(kept.str(), std::string("LD\t1.0\nOUT\t2.0\n\nLD\t1.1\nOUT\t2.1\n\nOUT\tP12\nEND\n"));
}

// OK (the default button's command) leaves only through the same check as the other ways out.
TEST_F(IlDialog, OkPassesTheLeaveCheck)
{
    dialog.m_strText = "END\n";
    const INT_PTR result = RunWith(dialog,
                                   {
                                       [&] { SetText("LD\t1.0\nOUT\t2.0\n"); },
                                       [&] { dialog.SendMessage(WM_COMMAND, IDOK, 0); },
                                       [&] { SetText("LD\t1.0\nOUT\t2.0\nEND\n"); },
                                       [&] { dialog.SendMessage(WM_COMMAND, IDOK, 0); },
                                   });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], CString("Programma senza istruzione END di terminazione"));
    EXPECT_EQ(doc.GetCount(), 1);
}

TEST_F(IlDialog, OnLineTheTextIsReadOnlyAndCancelLeavesWhenItCompiles)
{
    dialog.m_strText = "LD\t1.0\nOUT\t2.0\n\nEND\n";
    dialog.m_bReadOnly = 1;
    bool readOnly = false;
    const INT_PTR result =
        RunWith(dialog,
                {
                    [&] { readOnly = dialog.GetView()->GetDocument()->GetTextBuffer().GetReadOnly(); },
                    [&] { dialog.SendMessage(WM_COMMAND, IDCANCEL, 0); },
                });
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(IlDialog, ToolTipsAreTheCommandsTexts)
{
    dialog.m_strText = "END\n";
    QString cut, ladder;
    RunWith(dialog, {[&]
                     {
                         for (QToolButton* button : dialog.GetWidget()->findChildren<QToolButton*>())
                         {
                             if (button->toolTip() == "Taglia")
                                 cut = button->toolTip();
                             if (button->toolTip() == QString::fromUtf8("Torna a modalità Ladder Diagram"))
                                 ladder = button->toolTip();
                         }
                     },
                     [&] { Leave(); }});
    EXPECT_EQ(cut, QString("Taglia"));
    EXPECT_FALSE(ladder.isEmpty());
}

// The bookmark buttons send the view's commands 37223 (toggle) and 37224 (next).
TEST_F(IlDialog, TheBookmarkButtonsToggleAtTheCaretAndGoToTheNext)
{
    dialog.m_strText = "LD\t1.0\nOUT\t2.0\nLD\t3.0\nOUT\t4.0\nEND\n";
    DWORD first = 0;
    DWORD third = 0;
    CPoint reached;
    RunWith(dialog, {[&]
                     {
                         CILView& view = *dialog.GetView();
                         CCrystalTextBuffer& buffer = view.GetDocument()->GetTextBuffer();
                         view.SetCursorPos(CPoint(0, 2));
                         dialog.SendMessage(WM_COMMAND, ID_IL_TOGGLE_BOOKMARK, 0);
                         third = buffer.GetLineFlags(2) & LF_BOOKMARKS;
                         first = buffer.GetLineFlags(0) & LF_BOOKMARKS;
                         view.SetCursorPos(CPoint(0, 0));
                         dialog.SendMessage(WM_COMMAND, ID_IL_NEXT_BOOKMARK, 0);
                         reached = view.GetCursorPos();
                         view.SendMessage(WM_COMMAND, 37223, 0);
                         EXPECT_EQ(buffer.GetLineFlags(2) & LF_BOOKMARKS, 0u) << "the view's own 37223";
                     },
                     [&] { Leave(); }});
    EXPECT_NE(third, 0u);
    EXPECT_EQ(first, 0u);
    EXPECT_EQ(reached.y, 2);
}

TEST_F(IlDialog, WithoutAGeneratorTheLeaveIsRefused)
{
    dialog.m_pCodeGen = nullptr;
    dialog.m_strText = "END\n";
    const INT_PTR result = RunWith(dialog, {[&] { Leave(); }});
    EXPECT_EQ(result, -2);
}

TEST_F(IlDialog, PrintWritesNumberedLinesAndTheTitleBlock)
{
    PdfPrinter printer(TempPdf("ilprint"));
    dialog.m_strText = "LD\t75.0\nAND\t3.0\nOUT\t42.0\n\nEND\n";
    RunWith(dialog, {[&] { dialog.SendMessage(WM_COMMAND, ID_IL_PRINT, 0); }});
    const std::string text = printer.Text();
    EXPECT_EQ(printer.shown, 1);
    EXPECT_NE(text.find("1 LD 75.0"), std::string::npos) << text;
    EXPECT_NE(text.find("3 OUT 42.0"), std::string::npos) << text;
    EXPECT_NE(text.find("5 END"), std::string::npos) << text;
    EXPECT_NE(text.find("Versione: 1.00"), std::string::npos) << text;
    EXPECT_NE(text.find("Pagina: 1 di 1"), std::string::npos) << text;
    EXPECT_NE(text.find("Configurazione:"), std::string::npos) << text;
}

// A printer chosen but not to be had is told; a print the user cancelled is not.
TEST_F(IlDialog, APrinterThatCannotBeHadIsTold)
{
    class GonePrinter final : public CPrintDialogSink
    {
    public:
        int Show(CWnd*, PRINTDLG& settings) override
        {
            settings.printerName = "No such printer on this desk";
            return answer;
        }
        int answer = IDOK;
    } gone;
    CPrintDialogSink* previous = AfxSetPrintDialogSink(&gone);
    dialog.m_strText = "LD\t75.0\nOUT\t42.0\nEND\n";
    size_t afterFailure = 0;
    RunWith(dialog, {[&] { dialog.SendMessage(WM_COMMAND, ID_IL_PRINT, 0); },
                     [&]
                     {
                         afterFailure = boxes.texts.size();
                         gone.answer = IDCANCEL;
                         dialog.SendMessage(WM_COMMAND, ID_IL_PRINT, 0);
                     }});
    AfxSetPrintDialogSink(previous);
    EXPECT_EQ(afterFailure, 1u);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], CString("Nulla è stato stampato: nessuna stampante installata risponde. Per un "
                                      "file PDF scegliere la stampa su file"));
}

TEST(IlPrinter, PagesAreLinesOverLinesPerPageRoundedUpAndLongLinesAreNumberedOnce)
{
    PdfPrinter sink(TempPdf("ilpages"));
    CPrintDialog dialog(FALSE, PD_RETURNDC);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    CIlPrinter printer;
    CCrystalTextBuffer buffer;
    buffer.InitEmpty(CRLF_STYLE_MAC);
    ASSERT_EQ(printer.GetPageCount(dialog.GetPrinterDC(), buffer), 1); // the rule alone
    const int perPage = printer.GetLinesPerPage();
    const int columns = printer.GetColumns();
    ASSERT_GT(perPage, 10);
    ASSERT_GT(columns, 10);

    std::string text;
    for (int line = 0; line < perPage; ++line)
        text += "LD\t1.0\n";
    text += std::string(static_cast<size_t>(columns) + 3, 'X');
    buffer.LoadString(text, CRLF_STYLE_MAC);
    // perPage lines, the long one in two pieces, the rule
    EXPECT_EQ(printer.GetPageCount(dialog.GetPrinterDC(), buffer), 2);
    const auto& lines = printer.GetPrintedLines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(perPage) + 3);
    EXPECT_EQ(lines[static_cast<size_t>(perPage)].number, perPage + 1);
    EXPECT_EQ(lines[static_cast<size_t>(perPage) + 1].number, 0);
    EXPECT_EQ(lines[static_cast<size_t>(perPage) + 1].text, CString("XXX"));
    EXPECT_EQ(lines.back().number, CIlPrinter::kRule);
    EXPECT_EQ(lines[0].text, CString("LD  1.0"));
}

TEST(IlPrinter, APageWithoutRoomStillTakesOneLineAndOneCharacterAPiece)
{
    CDC empty;
    empty.CreateCompatibleDC(nullptr);
    CIlPrinter printer;
    CCrystalTextBuffer buffer;
    buffer.LoadString("ABC\nD", CRLF_STYLE_MAC);
    const int pages = printer.GetPageCount(&empty, buffer);
    EXPECT_EQ(printer.GetLinesPerPage(), 1);
    EXPECT_EQ(printer.GetColumns(), 1);
    EXPECT_EQ(pages, 5); // A, B, C, D and the rule
}
} // namespace
