// The roads beyond the main one, each walked in a program run of its own (ROADWALK_ROAD):
// "startpage" a listing imported on the start page, drive and motor chosen there, and a comparison
// from the start page's connection choice; "connection" the wizard page's connection choice and its four
// operations with their reports (each report's texts in the language), "download" the download window closed
// by its close box and by its owner's end, the mode it set ended each time (the window has no system menu of
// its own here: the desktop's close is the close box), "scope" the oscilloscope's file boxes and parameter
// window, "about" the splash, the about box and the versions.
#include "RoadWalker.h"
#include "WindowChecksA.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QWebEngineView>

#include <memory>

namespace roadwalk
{
namespace
{

QString Opened(const QString& out)
{
    QFile file(out + "/opened.txt");
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

const QRegularExpression kVersions("version: [0-9][0-9.]*   Program version: [0-9]+\\.[0-9]+\\.[0-9]+");

} // namespace

bool Walker::BuildRoadA(const QString& road)
{
    if (road == "connection")
        ConnectionRoad();
    else if (road == "startpage")
        StartPageRoad();
    else if (road == "download")
        DownloadRoad();
    else if (road == "scope")
        ScopeRoad();
    else if (road == "about")
        AboutRoad();
    else
        return false;
    // Reading the drive changed the configuration: the question is then the program's due.
    CloseProgramStep(road == "connection" || road == "startpage");
    return true;
}

void Walker::OpenSampleSteps()
{
    m_steps.push_back(StartPageStep());
    m_steps.push_back(FileBoxStep("open the sample through the file dialog", m_sample));
    m_steps.back().act = [this] { WebClick(MainWindow(), "#S_3002"); };
    m_steps.push_back(WizardPageStep(false));
}

Step Walker::ModalStep(const QString& name, std::function<void()> act, std::function<bool(QMessageBox*)> box)
{
    return {name, std::move(act),
            [this]
            {
                QWidget* modal = QApplication::activeModalWidget();
                if (!modal || modal == MainWindow() || qobject_cast<QMessageBox*>(modal) ||
                    qobject_cast<QFileDialog*>(modal) || !m_looked.contains(modal))
                    return false;
                m_tool = modal;
                return true;
            },
            10000, std::move(box)};
}

Step Walker::StartPageStep()
{
    return {"start page", nullptr,
            [this]
            {
                RunOnPage(MainWindow(), PageFilledScript("#S_3002"), "start");
                return MainWindow() && PageFilled(MainWindow(), "start");
            },
            60000};
}

Step Walker::WizardPageStep(bool lookAt)
{
    return {"wizard page", nullptr,
            [this, lookAt]
            {
                if (NewestWindow(".*") || !MainWindow() || !MainWindow()->windowTitle().contains("TK40"))
                    return false;
                RunOnPage(MainWindow(), PageFilledScript("input[type=text]"), "wizard");
                if (!PageFilled(MainWindow(), "wizard"))
                    return false;
                if (lookAt)
                    LookAt(MainWindow());
                return true;
            },
            15000};
}

Step Walker::FileBoxStep(const QString& name, const QString& path)
{
    return {name, nullptr,
            [path, this]
            {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                auto* edit = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
                if (!edit || !m_looked.contains(dialog))
                    return false;
                edit->setText(path);
                TypeKey(edit, Qt::Key_Return);
                return true;
            },
            15000};
}

void Walker::ConnectionRoad()
{
    OpenSampleSteps();
    const auto choice = [this](const QString& why)
    {
        return ModalStep("connection choice " + why,
                         [this] { WebClick(MainWindow(), "input[name=\"CMD#Connect\"]"); });
    };
    const auto choose = [this](int index) { Click(ButtonsTopDown(m_tool).value(index)); };
    // The state must hold for a second: a transfer's progress window may come a moment after the
    // status page already says on line.
    const auto online = [this](const QString& key, bool wanted)
    {
        auto heldSince = std::make_shared<QElapsedTimer>();
        return [this, key, wanted, heldSince]
        {
            RunOnPage(MainWindow(), OnLineScript(), key, true);
            const bool holds = m_pageAnswers.contains(key) && m_pageAnswers.value(key).toBool() == wanted &&
                               NothingOverMain(MainWindow()) && !VisibleBox();
            if (!holds)
                heldSince->invalidate();
            else if (!heldSince->isValid())
                heldSince->start();
            return holds && heldSince->elapsed() >= 1000;
        };
    };
    const auto reportOpened = [this](const QString& name)
    {
        return Step{"the report " + name + " opens", nullptr,
                    [this, name] { return Opened(m_out).contains(name); }, 20000};
    };

    m_steps.push_back(choice("from the wizard page"));
    m_steps.push_back({"read the drive from the choice", [choose] { choose(0); }, online("read", true), 30000,
                       AnswerYesOrOk});
    m_steps.push_back({"disconnect by Connect",
                       [this] { WebClick(MainWindow(), "input[name=\"CMD#Connect\"]"); },
                       online("disconnected", false), 10000});

    m_steps.push_back(choice("for the comparison with the drive"));
    m_steps.push_back(FileBoxStep("compare with the drive: the report's name", m_out + "/DriveDiff.txt"));
    m_steps.back().act = [choose] { choose(2); };
    m_steps.push_back(reportOpened("DriveDiff.txt"));
    m_steps.push_back(ReportInLanguage(m_out + "/DriveDiff.txt"));

    m_steps.push_back(choice("for the comparison with a file"));
    m_steps.push_back(FileBoxStep("compare with a file: the file",
                                  QCoreApplication::applicationDirPath() + "/Samples/TK40S.dat"));
    m_steps.back().act = [choose] { choose(3); };
    m_steps.push_back(FileBoxStep("compare with a file: the report's name", m_out + "/FileDiff.txt"));
    m_steps.push_back(reportOpened("FileDiff.txt"));
    m_steps.push_back(ReportInLanguage(m_out + "/FileDiff.txt"));

    m_steps.push_back(choice("for writing the drive"));
    m_steps.push_back(ModalStep("the download-and-save dialog from the choice", [choose] { choose(1); }));
    m_steps.push_back({"close the download-and-save dialog",
                       [this]
                       {
                           for (QAbstractButton* button : ButtonsTopDown(m_tool))
                               if (auto* push = qobject_cast<QPushButton*>(button); push && push->isDefault())
                                   return Click(push);
                           Click(ButtonsTopDown(m_tool).value(ButtonsTopDown(m_tool).size() - 1));
                       },
                       [this] { return NothingOverMain(MainWindow()); }, 10000, AnswerYesOrOk});

    m_steps.push_back(ModalStep("connection settings from the wizard page",
                                [this] { WebClick(MainWindow(), "input[name=\"CMD#ConfigConn\"]"); }));
    m_steps.push_back({"close the connection settings",
                       [this]
                       {
                           if (m_tool)
                               m_tool->close();
                       },
                       [this] { return NothingOverMain(MainWindow()); }, 5000});
}

Step Walker::ChooseOnPage(const QString& name, const std::vector<std::pair<QString, QString>>& choices)
{
    // A select's change makes the program refill the page's lists: the next choice waits until
    // they are new (the program writes them all at once, so one new list means all are), and
    // the step ends when every select shows its choice.
    QStringList names;
    QStringList values;
    for (const auto& [select, value] : choices)
    {
        names << "'" + select + "'";
        values << "'" + value + "'";
    }
    const QString script =
        QString(
            "(function(){var names=[%1],values=[%2];"
            "var sels=names.map(function(n){return document.getElementsByName(n)[0];});"
            "var first=function(){return sels.map(function(s){return s?s.options[0]:null;});};"
            "if(window.roadwalkLists){var old=window.roadwalkLists;"
            "if(!first().some(function(o,i){return o!==old[i];})) return 'waiting for the lists to refill';"
            "window.roadwalkLists=null;}"
            "for(var i=0;i<sels.length;++i){var s=sels[i]; if(!s) return 'no select '+names[i];"
            "if(s.value==values[i]) continue;"
            "if(!Array.from(s.options).some(function(o){return o.value==values[i];}))"
            " return 'no choice '+values[i]+' in '+names[i];"
            "window.roadwalkLists=first(); s.value=values[i];"
            "s.dispatchEvent(new Event('change',{bubbles:true})); return 'chose '+values[i];}"
            "return 'chosen';})()")
            .arg(names.join(','), values.join(','));
    const QString key = "choices of " + name;
    return {name,
            [this, key] { m_pageAnswers.remove(key); },
            [this, script, key]
            {
                if (m_pageAnswers.value(key).toString() == "chosen")
                    return true;
                RunOnPage(m_tool, script, key);
                return false;
            },
            kStepSafetyNetMs,
            nullptr,
            false,
            -1,
            [this, key] { return m_pageAnswers.value(key).toString(); }};
}

void Walker::StartPageRoad()
{
    m_steps.push_back(StartPageStep());
    m_steps.push_back(FileBoxStep("import the TK20 listing on the start page",
                                  QCoreApplication::applicationDirPath() + "/Samples/TK20.slv"));
    m_steps.back().act = [this] { WebClick(MainWindow(), "#S_3002"); };
    m_steps.push_back({"the listing is imported", nullptr,
                       [this] { return BoxesInStep() >= 1 && !VisibleBox(); }, 10000, AnswerYesOrOk});
    const auto pressOk = [this](const QString& name)
    {
        return Step{"OK in the " + name, [this] { WebClick(m_tool, "input[name=\"CMD#1\"]"); },
                    [this] { return NothingOverMain(MainWindow()) && !VisibleBox(); }, 10000, AnswerYesOrOk};
    };
    m_steps.push_back(ModalStep("drive selection from the start page",
                                [this] { WebClick(MainWindow(), "input[name=\"btnSetDrive\"]"); }));
    m_steps.push_back(ChooseOnPage("choose TK20, 5 A, 230 V",
                                   {{"selDrive", "TK20"}, {"selCurrent", "5"}, {"selVoltage", "230"}}));
    m_steps.push_back(pressOk("drive selection"));
    m_steps.push_back(ModalStep("motor selection from the start page",
                                [this] { WebClick(MainWindow(), "input[name=\"btnSetMotor\"]"); }));
    m_steps.push_back(ChooseOnPage("choose MB 71, 3000 rpm, 2.5 Nm, 400 V", {{"selType", "MB"},
                                                                             {"selSize", "71"},
                                                                             {"selVel", "3000"},
                                                                             {"selTorque", "2.5"},
                                                                             {"selVoltage", "400"}}));
    m_steps.push_back(pressOk("motor selection"));
    m_steps.push_back(ModalStep("connection choice from the start page",
                                [this] { WebClick(MainWindow(), "input[name=\"CMD#Connect\"]"); }));
    m_steps.push_back(FileBoxStep("compare with a file from the start page: the file",
                                  QCoreApplication::applicationDirPath() + "/Samples/TK20.dat"));
    m_steps.back().act = [this] { Click(ButtonsTopDown(m_tool).value(3)); };
    // The wizard starts for the chosen drive and motor; the listing's motor data are kept.
    m_steps.back().box = AnswerYesOrOk;
    m_steps.push_back(
        FileBoxStep("compare with a file from the start page: the report's name", m_out + "/StartDiff.txt"));
    m_steps.push_back({"the report StartDiff.txt opens on the TK20 wizard page", nullptr,
                       [this]
                       {
                           QWebEngineView* view = MainWindow() ? MainView(MainWindow()) : nullptr;
                           return Opened(m_out).contains("StartDiff.txt") && view &&
                                  view->url().toString().contains("TK20_");
                       },
                       20000});
    m_steps.push_back(ReportInLanguage(m_out + "/StartDiff.txt"));
}

void Walker::DownloadRoad()
{
    OpenSampleSteps();
    const auto open = [this](const QString& why)
    {
        return Step{"download window " + why,
                    [this] { WebClick(MainWindow(), "input[name=\"PLUGIN#TvskDownload\"]"); },
                    [this]
                    {
                        m_tool = NewestWindow(".*");
                        return m_tool && !VisibleBox() && m_looked.contains(m_tool);
                    },
                    10000,
                    AnswerYesOrOk,
                    true};
    };
    const auto hidden = [this] { return !m_tool || !m_tool->isVisible(); };
    // A mode left on keeps the oscilloscope from opening.
    const auto scope = [this](const QString& after)
    {
        m_steps.push_back(ModalStep("the oscilloscope opens after " + after,
                                    [this] { WebClick(MainWindow(), "input[name=\"PLUGIN#TvskOsc\"]"); }));
        m_steps.push_back({"close the oscilloscope after " + after,
                           [this]
                           {
                               if (m_tool)
                                   m_tool->close();
                           },
                           [this] { return NothingOverMain(MainWindow()); }, 5000});
    };

    m_steps.push_back(open("in exclusive mode"));
    m_steps.push_back({"close the download window by its close box",
                       [this]
                       {
                           if (m_tool)
                               m_tool->close();
                       },
                       hidden, 5000});
    scope("the close box");
    m_steps.push_back(open("left open as the program closes"));
}

void Walker::ScopeRoad()
{
    OpenSampleSteps();
    const auto tool = [this](const char* tip)
    { return ToolButtonByTip(m_tool, QRegularExpression(tip, QRegularExpression::CaseInsensitiveOption)); };
    const auto stays = [this](const QString& after)
    {
        return Step{"the oscilloscope stays after " + after, nullptr,
                    [this]
                    {
                        return m_stepClock.elapsed() > 1000 && m_tool && m_tool->isVisible() &&
                               QApplication::activeModalWidget() == m_tool;
                    },
                    5000};
    };
    constexpr const char* kSave = "Salva l'acquisizione|Save the recording";
    constexpr const char* kOpen = "Apri un'acquisizione|Open a recording";

    m_steps.push_back(
        ModalStep("oscilloscope", [this] { WebClick(MainWindow(), "input[name=\"PLUGIN#TvskOsc\"]"); }));
    m_steps.push_back(FileBoxStep("save: Enter in the Save box", m_out + "/Scope.txt"));
    m_steps.back().act = [tool] { Click(tool(kSave)); };
    m_steps.push_back(stays("its Save box"));
    m_steps.push_back(FileBoxStep("open: Enter in the Open box",
                                  QCoreApplication::applicationDirPath() + "/Samples/OscCapture.txt"));
    m_steps.back().act = [tool] { Click(tool(kOpen)); };
    m_steps.push_back(stays("its Open box"));
    m_steps.push_back({"cancel the Open box", [tool] { Click(tool(kOpen)); },
                       [this]
                       {
                           auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                           if (!dialog || !m_looked.contains(dialog))
                               return false;
                           TypeKey(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Escape);
                           return true;
                       },
                       10000});
    m_steps.push_back(stays("the cancelled Open box"));
    m_steps.push_back({"the oscilloscope's parameter window",
                       [tool] { Click(tool("Parametri del drive|Drive parameters")); },
                       [this]
                       {
                           for (QWidget* w : VisibleWindows())
                               if (w != m_tool && w != MainWindow() && !qobject_cast<QMessageBox*>(w) &&
                                   m_looked.contains(w))
                                   m_settings = w;
                           return !m_settings.isNull();
                       },
                       10000});
    m_steps.push_back({"close the parameter window",
                       [this]
                       {
                           if (m_settings)
                               m_settings->close();
                       },
                       [this] { return !m_settings || !m_settings->isVisible(); }, 5000});
    m_steps.push_back({"close the oscilloscope",
                       [this]
                       {
                           if (m_tool)
                               m_tool->close();
                       },
                       [this] { return NothingOverMain(MainWindow()); }, 5000});
}

void Walker::AboutRoad()
{
    const auto showsVersions = [](QWidget* window)
    {
        for (const QString& text : LabelTexts(window))
            if (kVersions.match(text).hasMatch())
                return true;
        return false;
    };
    const auto fromMenu = [this](const QString& name, const QString& item)
    {
        return ModalStep(name,
                         [this, item]
                         {
                             QTimer::singleShot(500, this,
                                                [this, item]
                                                {
                                                    if (!ChooseMenuItem(QRegularExpression(item)))
                                                        Fail("no system menu item " + item);
                                                });
                             OpenSystemMenu(MainWindow());
                         });
    };
    const auto closeByOk = [this](const QString& name)
    {
        return Step{"close the " + name,
                    [this]
                    {
                        const QList<QAbstractButton*> buttons = ButtonsTopDown(m_tool);
                        Click(buttons.value(buttons.size() - 1));
                    },
                    [this] { return NothingOverMain(MainWindow()); }, 5000};
    };

    m_steps.push_back({"the splash shows the versions", nullptr,
                       [showsVersions]
                       {
                           for (QWidget* w : VisibleWindows())
                               if (showsVersions(w))
                                   return true;
                           return false;
                       },
                       20000});
    m_steps.push_back(StartPageStep());
    m_steps.push_back(fromMenu("about box from the system menu", "^(Informazioni su|About)"));
    m_steps.push_back({"the about box shows the versions", nullptr,
                       [this, showsVersions] { return showsVersions(m_tool); }, 2000});
    m_steps.push_back(closeByOk("about box"));
    m_steps.push_back(fromMenu("versions from the system menu", "^(Versioni|Versions)$"));
    m_steps.push_back(closeByOk("versions"));
}

void Walker::CloseProgramStep(bool questionDue)
{
    m_steps.push_back({"close without a save question",
                       [this]
                       {
                           if (QWidget* main = MainWindow())
                               main->close();
                       },
                       [] { return false; }, 15000,
                       [this, questionDue](QMessageBox* box)
                       {
                           if (!questionDue)
                               Fail("save question: \"" + box->text().simplified() + "\"");
                           return Press(box, QMessageBox::No);
                       },
                       true});
}

} // namespace roadwalk
