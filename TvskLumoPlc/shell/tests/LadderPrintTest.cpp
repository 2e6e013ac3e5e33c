// Printing the main dialog's ladder to PDF and in the preview: cancel writes nothing, the title
// block without and with project information, the fit-to-page scale of an empty view, and the
// preview's pages against the printed ones.
#include <TvskLumoPlc/graphview/LDView.h>
#include <TvskLumoPlc/shell/DlgLumoPlc.h>
#include <TvskLumoPlc/shell/LDPrinter.h>
#include <TvskLumoPlc/shell/PlcIds.h>

#include "PlcTestHost.h"
#include "ShellTestSupport.h"

#include <ZoSupport/System.h>
#include <testing/TestApplication.h>
#include <testing/WaitUntil.h>
#include <ui/CmdUI.h>
#include <ui/Menu.h>
#include <ui/MessageBox.h>
#include <ui/Print.h>
#include <ui/PrintPreview.h>
#include <ui/Resources.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>
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

// Looks at the preview's pages as they are shown.
class PreviewPages : public CPrintPreviewSink
{
public:
    PreviewPages() : m_previous(AfxSetPrintPreviewSink(this)) {}
    ~PreviewPages() override { AfxSetPrintPreviewSink(m_previous); }
    void Show(CWnd*, const CPreviewDC& pages) override
    {
        ++shown;
        count = pages.GetPageCount();
        for (int i = 0; i < count; ++i)
            images.push_back(pages.RenderPage(i, 100));
        if (onShow)
            onShow(pages);
    }
    std::function<void(const CPreviewDC&)> onShow;
    int shown = 0;
    int count = 0;
    std::vector<QImage> images;

private:
    CPrintPreviewSink* m_previous;
};

// What a page draws, in dots of the sheet: each text's box and each black stroke or circle.
class DrawnShapes : public QPaintEngine
{
public:
    DrawnShapes() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    Type type() const override { return QPaintEngine::User; }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    // Lines come as polylines.
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        if (mode == PolylineMode)
            for (int i = 1; i < count; ++i)
                Mark(QRectF(points[i - 1], points[i]).normalized());
    }
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override
    {
        if (mode == PolylineMode)
            for (int i = 1; i < count; ++i)
                Mark(QRectF(QPointF(points[i - 1]), QPointF(points[i])).normalized());
    }
    // Circles come as paths.
    void drawPath(const QPainterPath& path) override { Mark(path.boundingRect()); }
    void drawRects(const QRectF*, int) override {}
    void drawRects(const QRect*, int) override {}
    void drawTextItem(const QPointF& at, const QTextItem& item) override
    {
        const QRectF box(at.x(), at.y() - item.ascent(), item.width(), item.ascent() + item.descent());
        texts.push_back({item.text(), painter()->combinedTransform().mapRect(box)});
    }
    void drawLines(const QLineF* lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            Mark(QRectF(lines[i].p1(), lines[i].p2()).normalized());
    }
    void drawLines(const QLine* lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            Mark(QRectF(QPointF(lines[i].p1()), QPointF(lines[i].p2())).normalized());
    }
    void drawEllipse(const QRectF& rect) override { Mark(rect); }
    void drawEllipse(const QRect& rect) override { Mark(QRectF(rect)); }

    struct Text
    {
        QString text;
        QRectF box;
    };
    std::vector<Text> texts;
    std::vector<QRectF> marks;

private:
    // Only the pins are drawn black. The mark takes in its pen's width and as much again around it,
    // the least room that shows a label apart from it.
    void Mark(const QRectF& shape)
    {
        const QPen pen = painter()->pen();
        if (pen.style() == Qt::NoPen || pen.color() != Qt::black)
            return;
        const double room = 1.5 * std::max(1.0, pen.widthF());
        marks.push_back(painter()->combinedTransform().mapRect(shape.adjusted(-room, -room, room, room)));
    }
};

// A sheet at the printer's resolution that records what is drawn on it.
class RecordingSheet : public QPaintDevice
{
public:
    explicit RecordingSheet(QSize size) : m_size(size) {}
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable DrawnShapes engine;

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric)
        {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmWidthMM:
            return m_size.width() * 254 / (10 * CPrinterDC::kResolution);
        case PdmHeightMM:
            return m_size.height() * 254 / (10 * CPrinterDC::kResolution);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return CPrinterDC::kResolution;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    QSize m_size;
};

int DarkPixels(const QImage& image, const QRect& area)
{
    int dark = 0;
    for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y)
        for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++dark;
    return dark;
}

int PdfPages(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\f'));
}

class EnableProbe : public CCmdUI
{
public:
    void Enable(BOOL on) override
    {
        enabled = on;
        CCmdUI::Enable(on);
    }
    BOOL enabled = -1;
};

class LadderPrint : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.program = {
            {"LD", {75, 0, -1}}, {"AND", {3, 0, -1}}, {"OUT", {42, 0, -1}}, {"END", {-1, -1, -1}}};
    }
    void Run(const std::function<void(CDlgLumoPlc&)>& step) { RunPlcDialog(host, step); }

    PlcTestHost host;
    PdfPrinter pdf;
    PreviewPages preview;
    RecordingBoxes boxes;
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
    EXPECT_NE(text.find(std::string("Data: ") + CSystem().GetUserDateString().str()), std::string::npos)
        << text;
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
TEST_F(LadderPrint, ThePreviewShowsThePageWithoutAskingForAPrinter)
{
    Run([](CDlgLumoPlc& dialog) { dialog.SendMessage(WM_COMMAND, ID_PLC_PRINT_PREVIEW, 0); });
    EXPECT_EQ(pdf.flags, 0u) << "no print dialog";
    EXPECT_FALSE(pdf.Written());
    ASSERT_EQ(preview.shown, 1);
    ASSERT_EQ(preview.count, 1);
    const QImage& page = preview.images[0];
    // The network at the top of the sheet and the title block at its foot, drawn to scale.
    const int sixth = page.height() / 6;
    EXPECT_GT(DarkPixels(page, QRect(0, 0, page.width(), sixth)), 500);
    EXPECT_GT(DarkPixels(page, QRect(0, 5 * sixth, page.width(), sixth)), 500);
    EXPECT_LT(DarkPixels(page, QRect(page.width() / 4, 2 * sixth, page.width() / 2, 2 * sixth)), 100)
        << "one small network leaves the middle of the page empty";
}

TEST_F(LadderPrint, ThePreviewHasThePagesThePrinterGets)
{
    host.program.clear();
    for (int net = 0; net < 8; ++net)
    {
        host.program.push_back({"LD", {75, net, -1}});
        host.program.push_back({"OUT", {42, net, -1}});
    }
    host.program.push_back({"END", {-1, -1, -1}});
    Run(
        [](CDlgLumoPlc& dialog)
        {
            dialog.SendMessage(WM_COMMAND, ID_PLC_PRINT_PREVIEW, 0);
            dialog.SendMessage(WM_COMMAND, ID_PLC_PRINT, 0);
        });
    const std::string text = pdf.Text();
    ASSERT_GT(preview.count, 1);
    EXPECT_EQ(PdfPages(text), preview.count) << text;
    EXPECT_NE(text.find("Pagina: " + std::to_string(preview.count) + " di " + std::to_string(preview.count)),
              std::string::npos)
        << text;
}

// The right button on the toolbar opens the window menu, whose print preview item shows the pages.
TEST_F(LadderPrint, TheWindowMenuOffersThePreview)
{
    class PickPreview : public CPopupMenuSink
    {
    public:
        UINT Show(CWnd*, const CMenu& menu, CPoint) override
        {
            for (int i = 0; i < menu.GetMenuItemCount(); ++i)
            {
                CString text;
                menu.GetMenuString(static_cast<UINT>(i), text, MF_BYPOSITION);
                if (text == "Anteprima di stampa")
                    return menu.GetMenuItemID(i);
            }
            return 0;
        }
    } pick;
    CPopupMenuSink* previous = AfxSetPopupMenuSink(&pick);
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            QWidget* bar = dialog.GetMainToolBar().GetWidget();
            const QPoint inside(bar->width() - 4, bar->height() / 2);
            QContextMenuEvent event(QContextMenuEvent::Mouse, inside, bar->mapToGlobal(inside));
            QCoreApplication::sendEvent(bar, &event);
            EXPECT_TRUE(WaitUntil([&] { return preview.shown > 0; }, 10000));
        });
    AfxSetPopupMenuSink(previous);
    EXPECT_EQ(preview.shown, 1);
    EXPECT_EQ(pdf.flags, 0u) << "no print dialog";
}

// A printer chosen but not to be had (none installed) is told, once; a cancel is not.
TEST_F(LadderPrint, APrinterThatCannotBeHadIsToldOnce)
{
    class GonePrinter final : public CPrintDialogSink
    {
    public:
        int Show(CWnd*, PRINTDLG& settings) override
        {
            settings.printerName = "No such printer on this desk";
            return IDOK;
        }
    } gone;
    CPrintDialogSink* previous = AfxSetPrintDialogSink(&gone);
    Run([](CDlgLumoPlc& dialog) { dialog.SendMessage(WM_COMMAND, ID_PLC_PRINT, 0); });
    AfxSetPrintDialogSink(previous);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], CString("Nulla è stato stampato: nessuna stampante installata risponde. Per un "
                                      "file PDF scegliere la stampa su file"));
    EXPECT_EQ(boxes.types[0] & MB_ICONSTOP, MB_ICONSTOP);

    boxes.texts.clear();
    pdf.answer = IDCANCEL;
    Run([](CDlgLumoPlc& dialog) { dialog.SendMessage(WM_COMMAND, ID_PLC_PRINT, 0); });
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(LadderPrint, AnEmptyDocumentOffersNoPreview)
{
    Run(
        [](CDlgLumoPlc& dialog)
        {
            EnableProbe before;
            before.m_nID = ID_PLC_PRINT_PREVIEW;
            before.DoUpdate(&dialog, TRUE);
            EXPECT_TRUE(before.enabled);
            dialog.SendMessage(WM_COMMAND, ID_PLC_NEW_CODE, 0);
            EnableProbe after;
            after.m_nID = ID_PLC_PRINT_PREVIEW;
            after.DoUpdate(&dialog, TRUE);
            EXPECT_FALSE(after.enabled);
        });
}

// The TK40 sample's networks as the preview's page draws them: every pin label and variable name
// keeps clear of the pin strokes and circles and of the label beside it.
TEST_F(LadderPrint, NoPinLabelTouchesAPinMark)
{
    host.program = {{"LD", {3, 2, -1}},  {"OUTN", {76, 0, -1}},    {"COMM:registri", {-1, -1, -1}},
                    {"LD", {75, 1, -1}}, {"ADD", {110, 111, 112}}, {"END", {-1, -1, -1}}};
    std::vector<DrawnShapes::Text> texts;
    std::vector<QRectF> marks;
    preview.onShow = [&](const CPreviewDC& pages)
    {
        RecordingSheet sheet(QSize(pages.GetDeviceCaps(PHYSICALWIDTH), pages.GetDeviceCaps(PHYSICALHEIGHT)));
        QPainter painter(&sheet);
        pages.DrawPage(0, painter, CPrinterDC::kResolution);
        painter.end();
        texts = sheet.engine.texts;
        marks = sheet.engine.marks;
    };
    Run([](CDlgLumoPlc& dialog) { dialog.SendMessage(WM_COMMAND, ID_PLC_PRINT_PREVIEW, 0); });
    ASSERT_EQ(preview.shown, 1);
    EXPECT_GT(marks.size(), 8u);
    const std::vector<QString> labels = {"P110", "P111", "P112", "EN", "ENO", "0", "1", "2"};
    for (const QString& label : labels)
    {
        int found = 0;
        for (const DrawnShapes::Text& text : texts)
        {
            if (text.text != label)
                continue;
            ++found;
            for (const QRectF& mark : marks)
                EXPECT_FALSE(text.box.intersects(mark))
                    << label.toStdString() << " at " << text.box.x() << "," << text.box.y() << " "
                    << text.box.width() << "x" << text.box.height() << " touches a mark at " << mark.x()
                    << "," << mark.y() << " " << mark.width() << "x" << mark.height();
        }
        EXPECT_GT(found, 0) << label.toStdString();
    }
    // Labels on one row ("EN" and "ENO") stand apart.
    for (const DrawnShapes::Text& left : texts)
        for (const DrawnShapes::Text& right : texts)
            if (&left != &right && std::abs(left.box.center().y() - right.box.center().y()) < 1 &&
                left.box.left() <= right.box.left())
                EXPECT_LT(left.box.right(), right.box.left())
                    << left.text.toStdString() << " runs into " << right.text.toStdString();
}
} // namespace
