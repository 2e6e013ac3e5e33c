// More roads, each in a program run of its own (ROADWALK_ROAD): "motors" the user's motors from the
// motor selection, a motor added and edited, its help; "plc" the PLC editor's instruction list and
// back, its print preview; "cam" the cam editor from the Positioner page, a point edited; "record"
// the oscilloscope connected, a recording made, saved and opened again; "help" F1 in the connection
// choice, the protocol settings and the about box. Each ends showing that no mode stayed on: a wizard
// page still opens.
#include "HelpChecks.h"
#include "RoadWalker.h"
#include "WindowChecksA.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTextStream>
#include <QToolButton>

namespace roadwalk
{
namespace
{

QRegularExpression Tip(const char* tip)
{
    return QRegularExpression(tip, QRegularExpression::CaseInsensitiveOption);
}

// Questions are answered No (nothing is saved), information OK.
bool AnswerNoOrOk(QMessageBox* box)
{
    return Press(box, QMessageBox::No) ||
           (box->icon() != QMessageBox::Question && Press(box, QMessageBox::Ok));
}

// Where the cam editor shows its first point's value.
QPoint FirstPoint(QWidget* cam)
{
    return QPoint(qRound(cam->width() * 0.7), 97);
}

int SampleLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    int samples = 0;
    QTextStream in(&file);
    while (!in.atEnd())
        if (in.readLine().contains(QRegularExpression("^\\s*-?[0-9.]+\\t")))
            ++samples;
    return samples;
}

} // namespace

bool Walker::BuildRoadB(const QString& road)
{
    if (road == "motors")
        MotorsRoad();
    else if (road == "plc")
        PlcRoad();
    else if (road == "cam")
        CamRoad();
    else if (road == "record")
        RecordRoad();
    else if (road == "help")
        HelpElsewhereRoad();
    else
        return false;
    // Choosing the drive on the start page changed the configuration.
    CloseProgramStep(road == "motors");
    return true;
}

Step Walker::NewWindowStep(const QString& name, std::function<void()> act, QPointer<QWidget>* into,
                           std::function<bool(QMessageBox*)> box)
{
    return {name,
            [this, act]
            {
                m_windowsBefore = VisibleWindows();
                act();
            },
            [this, into]
            {
                for (QWidget* w : VisibleWindows())
                    if (!m_windowsBefore.contains(w) && !qobject_cast<QMessageBox*>(w) &&
                        !qobject_cast<QFileDialog*>(w))
                        *into = w;
                return !into->isNull() && m_looked.contains(*into);
            },
            10000,
            std::move(box),
            false,
            -1,
            [] { return QString("no new window appeared"); }};
}

Step Walker::CloseStep(const QString& name, QPointer<QWidget>* which, std::function<void()> act,
                       std::function<bool(QMessageBox*)> box)
{
    return {"close the " + name,
            [which, act]
            {
                if (act)
                    act();
                else if (*which)
                    (*which)->close();
            },
            [this, which] { return (!*which || !(*which)->isVisible()) && !VisibleBox(); },
            5000,
            std::move(box),
            false,
            -1,
            [which]
            { return QString("the window '%1' is still open").arg(*which ? (*which)->windowTitle() : ""); }};
}

void Walker::NoModeLeftSteps(const QString& after)
{
    m_steps.push_back(NewWindowStep(
        "the Monitor page opens after " + after,
        [this] { WebClick(MainWindow(), "input[name=\"PLUGIN#TvskPager_Monitor\"]"); }, &m_inner));
    m_steps.push_back(CloseStep("Monitor page after " + after, &m_inner,
                                [this] { WebClick(m_inner, "input[name=\"CMD#Cancel\"]"); }));
}

Step Walker::ToolClick(const QString& name, QPointer<QWidget>* window, const char* tip)
{
    return {name, [this, window, tip] { ClickTool(*window, tip); }, nullptr};
}

void Walker::ClickTool(QWidget* window, const char* tip)
{
    QToolButton* button = ToolButtonByTip(window, Tip(tip));
    if (!button)
    {
        QStringList tips;
        for (QToolButton* each : window ? window->findChildren<QToolButton*>() : QList<QToolButton*>())
            if (each->isVisible())
                tips << each->toolTip();
        return Fail(QString("no tool bar button \"%1\" among \"%2\"").arg(tip, tips.join("\", \"")));
    }
    if (!button->isEnabled())
        return Fail(QString("the tool bar button \"%1\" is disabled").arg(tip));
    Click(button);
}

Step Walker::ReportInLanguage(const QString& path)
{
    return {"the report " + QFileInfo(path).fileName() + " is in the language", nullptr,
            [this, path]
            {
                QFile file(path);
                if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
                    return false;
                QTextStream in(&file);
                while (!in.atEnd())
                {
                    const QString line = in.readLine();
                    QStringList texts = line.split('|');
                    texts << line.section(':', 0, 0);
                    for (const QString& text : texts)
                        if (m_tables.IsForeign(text.trimmed()) || m_driveTables.IsForeign(text.trimmed()))
                            Fail("report text of the other language: \"" + text.trimmed() + "\"");
                }
                return true;
            },
            5000};
}

void Walker::MotorsRoad()
{
    m_steps.push_back(StartPageStep());
    m_steps.push_back(ModalStep("drive selection from the start page",
                                [this] { WebClick(MainWindow(), "input[name=\"btnSetDrive\"]"); }));
    m_steps.push_back(ChooseOnPage("choose TK40", {{"selDrive", "TK40"}}));
    m_steps.push_back({"OK in the drive selection", [this] { WebClick(m_tool, "input[name=\"CMD#1\"]"); },
                       [this] { return NothingOverMain(MainWindow()) && !VisibleBox(); }, 10000,
                       AnswerYesOrOk});
    m_steps.push_back(ModalStep("motor selection from the start page",
                                [this] { WebClick(MainWindow(), "input[name=\"btnSetMotor\"]"); }));
    m_steps.push_back(NewWindowStep(
        "the user's motors from the motor selection",
        [this] { WebClick(m_tool, "input[name=\"PLUGIN#TvskCustomDb\"]"); }, &m_inner));
    m_steps.push_back(ToolClick("add a motor", &m_inner, "^(Aggiungi motore|Add a motor)$"));
    m_steps.back().done = [this] { return m_inner && m_inner->windowTitle().endsWith(" *"); };
    m_steps.push_back({"edit the new motor's size",
                       [this]
                       {
                           // Enter opens the row's first cell; Tab goes on to the size.
                           QWidget* focus = m_inner ? m_inner->focusWidget() : nullptr;
                           if (!focus)
                               return Fail("nothing has the focus");
                           TypeKey(focus, Qt::Key_Return);
                       },
                       [this]
                       {
                           auto* edit = m_inner ? qobject_cast<QLineEdit*>(m_inner->focusWidget()) : nullptr;
                           if (!edit || !edit->isVisible())
                               return false;
                           edit->setText("77");
                           TypeKey(edit, Qt::Key_Return);
                           return true;
                       },
                       5000});
    m_steps.push_back(HelpFrom("user's motors", [this] { return m_inner.data(); }));
    m_steps.push_back(CloseHelp("user's motors"));
    m_steps.push_back(CloseStep("user's motors without saving", &m_inner, nullptr, AnswerNoOrOk));
    m_steps.push_back(
        CloseStep("motor selection", &m_tool, [this] { WebClick(m_tool, "input[name=\"CMD#2\"]"); }));
}

void Walker::PlcRoad()
{
    OpenSampleSteps();
    m_steps.push_back(NewWindowStep(
        "PLC editor", [this] { WebClick(MainWindow(), "input[name=\"PLUGIN#TvskLumoPlc\"]"); }, &m_tool));
    m_steps.push_back(NewWindowStep(
        "instruction list mode",
        [this] { ClickTool(m_tool, "^(Modalità lista istruzioni|Instruction list mode)$"); }, &m_inner));
    m_steps.push_back(HelpFrom("instruction list", [this] { return m_inner.data(); }));
    m_steps.push_back(CloseHelp("instruction list"));
    m_steps.push_back(CloseStep(
        "instruction list: back to the ladder diagram", &m_inner,
        [this] { ClickTool(m_inner, "^(Torna a modalità Ladder Diagram|Back to ladder diagram mode)$"); }));
    m_steps.push_back({"the instruction list button is released", nullptr,
                       [this]
                       {
                           QToolButton* button = ToolButtonByTip(
                               m_tool, Tip("^(Modalità lista istruzioni|Instruction list mode)$"));
                           return button && !button->isChecked();
                       },
                       2000});
    // The print preview has no button of its own: the print box is what a user reaches.
    m_steps.push_back(NewWindowStep(
        "print box", [this] { ClickTool(m_tool, "^(Stampa|Print)$"); }, &m_inner));
    m_steps.push_back(CloseStep("print box", &m_inner));
    m_steps.push_back(CloseStep("PLC editor", &m_tool, nullptr, AnswerNoOrOk));
    NoModeLeftSteps("the PLC editor");
}

void Walker::CamRoad()
{
    OpenSampleSteps();
    m_steps.push_back(NewWindowStep(
        "Positioner page", [this] { WebClick(MainWindow(), "input[name=\"PLUGIN#TvskPager_Positioner\"]"); },
        &m_tool));
    m_steps.push_back(NewWindowStep(
        "cam editor from the Positioner page",
        [this] { WebClick(m_tool, "input[name=\"PLUGIN#TvskCamEditor\"]"); }, &m_cam));
    m_steps.push_back({"edit a point of the cam",
                       [this]
                       {
                           // Two clicks on the first point's value (the grid right of the graph): the first
                           // turns the grid's edit mode on, the second opens the cell.
                           QPointer<QWidget> cell = m_cam ? m_cam->childAt(FirstPoint(m_cam)) : nullptr;
                           if (!cell)
                               return Fail("no grid under the first point");
                           RealClick(cell, cell->mapFrom(m_cam, FirstPoint(m_cam)));
                           QTimer::singleShot(700, this,
                                              [this, cell]
                                              {
                                                  if (cell && m_cam)
                                                      RealClick(cell,
                                                                cell->mapFrom(m_cam, FirstPoint(m_cam)));
                                              });
                       },
                       [this]
                       {
                           auto* edit = m_cam ? qobject_cast<QLineEdit*>(m_cam->focusWidget()) : nullptr;
                           if (!edit || !edit->isVisible())
                               return false;
                           edit->setText("123");
                           TypeKey(edit, Qt::Key_Return);
                           return true;
                       },
                       5000, nullptr, false, -1,
                       [this]
                       {
                           QWidget* focus = m_cam ? m_cam->focusWidget() : nullptr;
                           return QString("no cell opened, the focus on %1")
                               .arg(focus ? focus->metaObject()->className() : "nothing");
                       }});
    m_steps.push_back(CloseStep("cam editor without saving", &m_cam, nullptr, AnswerNoOrOk));
    m_steps.push_back(
        CloseStep("Positioner page", &m_tool, [this] { WebClick(m_tool, "input[name=\"CMD#Cancel\"]"); }));
    NoModeLeftSteps("the cam editor");
}

void Walker::RecordRoad()
{
    OpenSampleSteps();
    const QString saved = m_out + "/Recorded.txt";
    m_steps.push_back(NewWindowStep(
        "oscilloscope", [this] { WebClick(MainWindow(), "input[name=\"PLUGIN#TvskOsc\"]"); }, &m_tool));
    m_steps.push_back(ToolClick("connect the oscilloscope", &m_tool, "^(Connessione|Connection)$"));
    m_steps.back().done = [this] { return m_stepClock.elapsed() > 2000 && !VisibleBox(); };
    m_steps.push_back(
        ToolClick("record", &m_tool, "^(Avvia o ferma l'acquisizione|Start or stop recording)$"));
    m_steps.back().done = [this] { return m_stepClock.elapsed() > 2500 && !VisibleBox(); };
    m_steps.push_back(
        ToolClick("stop recording", &m_tool, "^(Avvia o ferma l'acquisizione|Start or stop recording)$"));
    m_steps.back().done = [this]
    {
        if (m_stepClock.elapsed() < 500 || VisibleBox() || !m_tool)
            return false;
        LookAt(m_tool); // the recording's picture
        return true;
    };
    m_steps.push_back(FileBoxStep("save the recording", saved));
    m_steps.back().act = [this] { ClickTool(m_tool, "^(Salva l'acquisizione|Save the recording)"); };
    m_steps.push_back({"the saved recording holds samples", nullptr,
                       [saved] { return SampleLines(saved) > 100; }, 5000, nullptr, false, -1,
                       [saved]
                       { return QString("%1 sample lines in %2").arg(SampleLines(saved)).arg(saved); }});
    m_steps.push_back(FileBoxStep("open the saved recording", saved));
    m_steps.back().act = [this] { ClickTool(m_tool, "^(Apri un'acquisizione|Open a recording)"); };
    m_steps.push_back({"the oscilloscope shows the opened recording", nullptr,
                       [this]
                       {
                           if (m_stepClock.elapsed() < 1000 || !m_tool || !m_tool->isVisible() ||
                               QApplication::activeModalWidget() != m_tool)
                               return false;
                           LookAt(m_tool);
                           return true;
                       },
                       5000});
    m_steps.push_back(CloseStep("oscilloscope", &m_tool));
    // The oscilloscope's own connection ends with it.
    m_steps.push_back(
        {"off line again after the oscilloscope", nullptr,
         [this]
         {
             RunOnPage(MainWindow(), OnLineScript(), "online after", true);
             return m_pageAnswers.contains("online after") && !m_pageAnswers.value("online after").toBool() &&
                    m_stepClock.elapsed() > 1000;
         },
         5000, nullptr, false, -1, [] { return QString("the status page shows the link up"); }});
    NoModeLeftSteps("the oscilloscope");
}

void Walker::HelpElsewhereRoad()
{
    OpenSampleSteps();
    m_steps.push_back(
        ModalStep("connection choice", [this] { WebClick(MainWindow(), "input[name=\"CMD#Connect\"]"); }));
    m_steps.push_back(HelpFrom("connection choice", [this] { return m_tool.data(); }));
    m_steps.push_back(CloseHelp("connection choice"));
    m_steps.push_back(CloseStep("connection choice", &m_tool));
    m_steps.push_back(
        ModalStep("protocol settings", [this] { WebClick(MainWindow(), "input[name=\"CMD#ConfigConn\"]"); }));
    m_steps.push_back(HelpFrom("protocol settings", [this] { return m_tool.data(); }));
    m_steps.push_back(CloseHelp("protocol settings"));
    m_steps.push_back(CloseStep("protocol settings", &m_tool));
    m_steps.push_back(ModalStep(
        "about box",
        [this]
        {
            QTimer::singleShot(500, this,
                               [this]
                               {
                                   if (!ChooseMenuItem(QRegularExpression("^(Informazioni su|About)")))
                                       Fail("no system menu item for the about box");
                               });
            OpenSystemMenu(MainWindow());
        }));
    m_steps.push_back(HelpFrom("about box", [this] { return m_tool.data(); }));
    m_steps.push_back(CloseHelp("about box"));
    m_steps.push_back(CloseStep("about box", &m_tool));
    NoModeLeftSteps("the help");
}

} // namespace roadwalk
