// The ladder view in the PLC dialog on the TK20 and TK40 sample programs, driven with real mouse
// and key events: element windows, context menus, Enter, Delete, toggle and the drawing.
#include <TvskLumoPlc/graph/GraphObject.h>
#include <TvskLumoPlc/graphview/GraphDoc.h>
#include <TvskLumoPlc/graphview/LDView.h>
#include <TvskLumoPlc/shell/DlgLumoPlc.h>
#include <TvskLumoPlc/shell/PlcIds.h>

#include "PlcTestHost.h"
#include "ShellTestSupport.h"

#include <testing/TestApplication.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
const tvsk::test::TestApplication g_app("PlcInputTests", "MurnApps");

// The PLC lines of a sample configuration.
std::vector<PlcTestHost::Instr> SampleProgram(const std::string& name)
{
    std::vector<PlcTestHost::Instr> program;
    std::ifstream in(std::string(TVSK_SAMPLE_DATA_DIR) + "/" + name);
    for (std::string line; std::getline(in, line);)
    {
        if (line.rfind("PLC\t", 0) != 0)
            continue;
        const size_t open = line.find('"');
        const size_t close = line.find('"', open + 1);
        PlcTestHost::Instr instr{line.substr(open + 1, close - open - 1), {-1, -1, -1}};
        std::istringstream operands(line.substr(close + 1));
        for (int& operand : instr.operands)
            operands >> operand;
        program.push_back(instr);
    }
    return program;
}

class LadderViewInput : public ::testing::Test
{
protected:
    void Open(const char* sample, const std::function<void(CDlgLumoPlc&)>& step)
    {
        host.program = SampleProgram(sample);
        ASSERT_FALSE(host.program.empty()) << sample;
        RunPlcDialog(host, step);
    }
    // A picture of the view for looking at, when PLC_PICTURES names a folder.
    static void Picture(CDlgLumoPlc& dialog, const char* name)
    {
        if (const char* folder = std::getenv("PLC_PICTURES"))
            dialog.GetView()->GetWidget()->grab().save(QString(folder) + "/" +
                                                        QString(name).replace('/', '_') + ".png");
    }
    static std::vector<CGraphBlock*> Elements(CDlgLumoPlc& dialog, int network)
    {
        std::vector<CGraphBlock*> all;
        CGraphDoc& doc = *dialog.GetView()->GetGraphDoc();
        if (CGraphObjArray* elements = doc.GetNetworkElements(doc.GetNetwork(network)))
            all.assign(elements->begin(), elements->end());
        return all;
    }

    PlcTestHost host;
    RecordingBoxes boxes;
};

TEST_F(LadderViewInput, ACommentNeverCoversAnElement)
{
    for (const char* sample : {"Samples/TK40.dat", "TK20/TK20.par"})
        Open(sample,
             [&](CDlgLumoPlc& dialog)
             {
                 Picture(dialog, sample);
                 CGraphDoc& doc = *dialog.GetView()->GetGraphDoc();
                 int comments = 0;
                 for (int n = 0; n < doc.GetNetworkCount(); ++n)
                     for (CGraphBlock* comment : Elements(dialog, n))
                     {
                         if (comment->GetType() != FBD_COMMENT)
                             continue;
                         ++comments;
                         for (CGraphBlock* element : Elements(dialog, n))
                         {
                             CRect overlap;
                             if (element != comment && element->GetType() != FBD_LD_POWER_RAIL)
                                 EXPECT_FALSE(overlap.IntersectRect(comment->GetWindowRect(),
                                                                    element->GetWindowRect()))
                                     << sample << " network " << n + 1 << ": \"" << comment->GetText()
                                     << "\" over " << element->GetName();
                         }
                     }
                 EXPECT_GT(comments, 0) << sample;
             });
}

} // namespace
