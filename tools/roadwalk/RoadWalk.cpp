// roadwalk: preloaded into the program, walks the user's main road with real mouse clicks and
// reports every fault it meets: an error box, a window that does not appear, a blank page, a text
// cut by its control, a text of the other language, a save question at the end.
//
// Environment: ROADWALK_OUT (folder for the report "road.txt" and a picture of every window),
// ROADWALK_SAMPLE (the file to open), ROADWALK_OWN and ROADWALK_OTHER (the string tables of the
// chosen and of the other language).
#include "HelpChecks.h"
#include "RoadWalker.h"
#include "WindowChecksA.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <unistd.h>
#include <memory>
#include <vector>

namespace roadwalk
{
namespace
{
Walker* g_walker = nullptr;

// The sample drives' texts of the language whose program table is given ("<bin>/ENG.str").
QStringList DriveTables(const QString& programTable)
{
    const QFileInfo table(programTable);
    return {table.path() + "/TKSERIES/TK40_" + table.baseName() + ".str",
            table.path() + "/TK20/TK20_" + table.baseName() + ".str"};
}
} // namespace

Walker::Walker()
    : m_out(qEnvironmentVariable("ROADWALK_OUT", "roadwalk")),
      m_sample(qEnvironmentVariable("ROADWALK_SAMPLE")), m_report(m_out + "/road.txt"),
      m_tables(qEnvironmentVariable("ROADWALK_OWN"), qEnvironmentVariable("ROADWALK_OTHER")),
      m_driveTables(DriveTables(qEnvironmentVariable("ROADWALK_OWN")),
                    DriveTables(qEnvironmentVariable("ROADWALK_OTHER"))),
      m_otherLanguage(QFileInfo(qEnvironmentVariable("ROADWALK_OTHER")).baseName())
{
    QDir().mkpath(m_out);
    m_clock.start();
    const QString road = qEnvironmentVariable("ROADWALK_ROAD", "main");
    if (road == "main")
        BuildRoad();
    else if (!BuildRoadA(road) && !BuildRoadB(road) && !BuildRoadC(road))
        qFatal("roadwalk: no road '%s'", qPrintable(road));
    connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });
    m_timer.start(100);
}

bool Walker::VisibleBox() const
{
    for (QWidget* w : VisibleWindows())
        if (qobject_cast<QMessageBox*>(w))
            return true;
    return false;
}

QWidget* Walker::MainWindow() const
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle().startsWith("Tarveskon - ["))
            return w;
    return nullptr;
}

QWidget* Walker::NewestWindow(const QString& titlePattern) const
{
    const QRegularExpression re(titlePattern, QRegularExpression::CaseInsensitiveOption);
    QWidget* found = nullptr;
    for (QWidget* w : VisibleWindows())
        if (w != MainWindow() && !qobject_cast<QMessageBox*>(w) && re.match(w->windowTitle()).hasMatch())
            found = w;
    return found;
}

void Walker::RunOnPage(QWidget* window, const QString& script, const QString& key, bool statusPage)
{
    if (!window)
        return;
    QWebEngineView* view = statusPage ? StatusView(window) : MainView(window);
    if (!view)
        return;
    view->page()->runJavaScript(script, [this, key](const QVariant& answer) { m_pageAnswers[key] = answer; });
}

bool Walker::PageFilled(QWidget* window, const QString& key) const
{
    Q_UNUSED(window);
    return m_pageAnswers.value(key).toString().startsWith("filled");
}

void Walker::WebClick(QWidget* window, const QString& selector)
{
    QWebEngineView* view = window ? MainView(window) : nullptr;
    if (!view)
        return Fail("no page to click " + selector + " on");
    // A user clicks a page once it shows: a click while the program reloads it would be lost.
    if (!PageSaysFilled(view))
    {
        QPointer<QWidget> windowGuard(window);
        if (!m_clickWaits.isValid())
            m_clickWaits.start();
        if (m_clickWaits.elapsed() > kStepSafetyNetMs)
        {
            m_clickWaits.invalidate();
            return Fail("the page to click " + selector + " on was never filled");
        }
        QTimer::singleShot(100, this,
                           [this, windowGuard, selector]
                           {
                               if (windowGuard)
                                   WebClick(windowGuard, selector);
                           });
        return;
    }
    m_clickWaits.invalidate();
    QPointer<QWebEngineView> guard(view);
    view->page()->runJavaScript(ElementCentreScript(selector),
                                [this, guard, selector](const QVariant& answer)
                                {
                                    const QStringList xy = answer.toString().split(',');
                                    if (!guard || xy.size() != 2)
                                        return Fail("no element " + selector + " on the page");
                                    const qreal zoom = guard->zoomFactor();
                                    const QPoint at(qRound(xy[0].toInt() * zoom),
                                                    qRound(xy[1].toInt() * zoom));
                                    m_report.Line("  real click on " + selector);
                                    RealClick(guard->focusProxy() ? guard->focusProxy() : guard.data(), at);
                                });
}

void Walker::Fail(const QString& what)
{
    const QString step = m_current < m_steps.size() ? m_steps[m_current].name : QString("end");
    m_report.Fail(step, what);
}

void Walker::LookAt(QWidget* window)
{
    const QString title = window->windowTitle();
    const QString picture =
        QString("%1/%2_%3.png").arg(m_out).arg(++m_pictures, 2, 10, QChar('0')).arg(SafeName(title));
    window->grab().save(picture);
    m_report.Line(QString("  window '%1' %2x%3, picture %4")
                      .arg(title)
                      .arg(window->width())
                      .arg(window->height())
                      .arg(QFileInfo(picture).fileName()));
    if (!qobject_cast<QFileDialog*>(window) && !qobject_cast<QMessageBox*>(window))
        for (const QString& cut : CutTexts(window))
            Fail("text cut in '" + title + "': " + cut);
    for (const QString& field : UnlabelledFields(window))
        Fail("field without a label in '" + title + "': " + field);
    for (const QString& text : WidgetTexts(window))
        if (m_tables.IsForeign(text))
            Fail("text of the other language in '" + title + "': \"" + text + "\"");
    if (MainView(window))
        m_pageChecksDue << window;
}

bool Walker::PageReady(QWidget* window)
{
    QWebEngineView* view = MainView(window);
    return !view || PageSaysFilled(view);
}

void Walker::CheckPageTexts(QWidget* window)
{
    const QString title = window->windowTitle();
    if (QWebEngineView* view = MainView(window))
    {
        QPointer<QWidget> guard(window);
        view->page()->runJavaScript(PageTextsScript(),
                                    [this, guard, title](const QVariant& answer)
                                    {
                                        for (const QString& text : answer.toStringList())
                                            if (m_tables.IsForeign(text))
                                                Fail("page text of the other language in '" + title +
                                                     "': \"" + text + "\"");
                                    });
    }
}

void Walker::WatchBoxes()
{
    for (QWidget* w : VisibleWindows())
    {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box || m_boxes.contains(box))
            continue;
        m_boxes.insert(box);
        ++m_boxCount;
        const QString text = box->text().simplified();
        m_report.Line("  box: " + text);
        LookAt(box);
        // An error box: a stop sign, or a warning that offers nothing but OK.
        const Step* step = m_current < m_steps.size() ? &m_steps[m_current] : nullptr;
        const bool error = box->icon() == QMessageBox::Critical ||
                           (box->icon() == QMessageBox::Warning && box->buttons().size() == 1 &&
                            !(step && step->warningDue));
        QPointer<QMessageBox> guard(box);
        if (error)
            Fail("error box: \"" + text + "\"");
        else if (!(step && step->box && step->box(box)))
            Fail("unexpected box: \"" + text + "\"");
        else
            continue;
        QTimer::singleShot(300, this,
                           [guard]
                           {
                               if (guard)
                                   guard->reject();
                           });
    }
}

void Walker::Watch()
{
    const qint64 now = m_clock.elapsed();
    const QList<QWidget*> windows = VisibleWindows();
    for (auto it = m_firstSeen.begin(); it != m_firstSeen.end();)
    {
        if (windows.contains(it.key()))
            ++it;
        else
        {
            m_looked.remove(it.key());
            m_boxes.remove(it.key());
            it = m_firstSeen.erase(it);
        }
    }
    for (QWidget* w : windows)
    {
        if (!m_firstSeen.contains(w))
            m_firstSeen.insert(w, now);
        // Looked at once it has settled: its page filled by the program, layouts done.
        if (!m_looked.contains(w) && !qobject_cast<QMessageBox*>(w) && now - m_firstSeen.value(w) > 1500 &&
            PageReady(w))
        {
            m_looked.insert(w);
            LookAt(w);
        }
    }
    for (auto it = m_pageChecksDue.begin(); it != m_pageChecksDue.end();)
    {
        if (*it && (*it)->isVisible() && !PageReady(*it))
            ++it;
        else
        {
            if (*it && (*it)->isVisible())
                CheckPageTexts(*it);
            it = m_pageChecksDue.erase(it);
        }
    }
    WatchBoxes();
}

void Walker::Tick()
{
    if (m_finished)
        return;
    Watch();
    if (m_current >= m_steps.size())
    {
        // The program outlived its own close: end it, the report says why.
        Finish();
        ::_exit(3);
    }
    Step& step = m_steps[m_current];
    if (!m_started && step.needs >= 0 && !m_passed[static_cast<size_t>(step.needs)])
    {
        m_report.Line("step " + step.name + ": skipped, '" + m_steps[static_cast<size_t>(step.needs)].name +
                      "' was not reached");
        m_passed.push_back(false);
        ++m_current;
        return;
    }
    if (!m_started)
    {
        m_started = true;
        m_boxesAtStepStart = m_boxCount;
        // A window a failed step left open would stand in the next one's way.
        if (QWidget* left = NewestWindow(".*"); left && step.fromMainWindow)
        {
            m_report.Line("  closing '" + left->windowTitle() + "' left open");
            left->close();
        }
        m_stepClock.start();
        m_report.Line("step " + step.name);
        // From an event of its own: a modal loop the action opens must not hold up the walk's clock.
        if (step.act)
            QTimer::singleShot(0, this, step.act);
        return;
    }
    // Reached: the step's window or state came in time (what it showed may still hold faults).
    bool reached = true;
    if (step.done && !step.done())
    {
        const int limit = std::max(step.timeoutMs, kStepSafetyNetMs);
        if (m_stepClock.elapsed() < limit)
            return;
        Fail(QString("not done within %1 ms").arg(limit) + (step.seen ? ": " + step.seen() : QString()));
        reached = false;
    }
    else
        m_report.Line(QString("  done in %1 ms").arg(m_stepClock.elapsed()));
    m_passed.push_back(reached);
    ++m_current;
    m_started = false;
}

void Walker::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    // The last step closes the program: its end is the step's end.
    if (m_current + 1 < m_steps.size() || (m_current + 1 == m_steps.size() && !m_started))
        Fail("the program ended before the road did");
    m_report.Close();
}

// The road: start page, open the sample through the file dialog, the wizard page, the
// communication page by a real click and connect there, the monitor page on line, write to the
// drive, the PLC editor, the oscilloscope, the download window left open while the Comm page
// closes and while the wizard page goes to the start page, and close.
void Walker::BuildRoad()
{
    auto answerYes = [](QMessageBox* box)
    {
        QAbstractButton* yes = box->button(QMessageBox::Yes);
        if (!yes)
            return false;
        QTimer::singleShot(300, box, [yes] { RealClick(yes, yes->rect().center()); });
        return true;
    };
    auto answerOk = [](QMessageBox* box)
    {
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        if (!ok || box->icon() == QMessageBox::Question)
            return false;
        QTimer::singleShot(300, box, [ok] { RealClick(ok, ok->rect().center()); });
        return true;
    };
    auto writeAnswers = [answerYes, answerOk](QMessageBox* box) { return answerYes(box) || answerOk(box); };
    auto pagerPage = [this](const QString& page)
    {
        auto seen = [this, page]
        {
            if (!m_tool)
                return QString("no window appeared");
            const QString answer = m_pageAnswers.value(page).toString();
            return QString("window '%1', page %2")
                .arg(m_tool->windowTitle(),
                     answer.isEmpty() ? QString("blank: it never answered (not loaded)") : answer);
        };
        return Step{"the " + page + " page by a real click",
                    [this, page] { WebClick(MainWindow(), "input[name=\"PLUGIN#TvskPager_" + page + "\"]"); },
                    [this, page]
                    {
                        m_tool = NewestWindow(".*");
                        if (!m_tool)
                            return false;
                        RunOnPage(m_tool, PageFilledScript("input[type=text],pre[id^=Pr]"), page);
                        return PageFilled(m_tool, page) && m_looked.contains(m_tool);
                    },
                    8000,
                    nullptr,
                    true,
                    -1,
                    seen};
    };
    auto closePager = [this](const QString& page)
    {
        return Step{"close the " + page + " page", [this] { WebClick(m_tool, "input[name=\"CMD#Cancel\"]"); },
                    [this] { return !NewestWindow(".*"); }, 5000};
    };
    // On line the PLC editor offers the drive's program in place of the file's: the file's stays.
    auto keepTheFiles = [](QMessageBox* box)
    {
        QAbstractButton* cancel = box->button(QMessageBox::Cancel);
        if (!cancel || box->icon() != QMessageBox::Warning)
            return false;
        QTimer::singleShot(300, box, [cancel] { RealClick(cancel, cancel->rect().center()); });
        return true;
    };
    auto toolWindow =
        [this](const QString& name, const QString& module, std::function<bool(QMessageBox*)> box = nullptr)
    {
        return Step{name,
                    [this, module] { WebClick(MainWindow(), "input[name=\"PLUGIN#" + module + "\"]"); },
                    [this]
                    {
                        m_tool = NewestWindow(".*");
                        return m_tool && m_looked.contains(m_tool);
                    },
                    10000,
                    box,
                    true};
    };
    auto closeTool = [this](const QString& name)
    {
        return Step{"close the " + name,
                    [this]
                    {
                        if (m_tool)
                            m_tool->close();
                    },
                    [this] { return !NewestWindow(".*"); }, 5000};
    };

    // The protocol's settings from a page's "Settings..." button, looked at and closed unchanged.
    auto protocolSettings = [this](const QString& where, std::function<QWidget*()> page)
    {
        m_steps.push_back({"protocol settings from " + where,
                           [this, page] { WebClick(page(), "input[name=\"CMD#ConfigConn\"]"); },
                           [this, page]
                           {
                               m_settings = QApplication::activeModalWidget();
                               return m_settings && m_settings != page() && m_settings != MainWindow() &&
                                      !qobject_cast<QMessageBox*>(m_settings) &&
                                      m_looked.contains(m_settings);
                           },
                           10000});
        m_steps.push_back({"close the protocol settings from " + where,
                           [this]
                           {
                               if (m_settings)
                                   m_settings->close();
                           },
                           [this] { return !m_settings || !m_settings->isVisible(); }, 5000});
    };

    m_steps.push_back(StartPageStep());
    protocolSettings("the start page", [this] { return MainWindow(); });
    m_steps.push_back({"open the sample through the file dialog",
                       [this] { WebClick(MainWindow(), "#S_3002"); },
                       [this]
                       {
                           auto* dialog = qobject_cast<QFileDialog*>(NewestWindow(".*"));
                           auto* name = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
                           // Looked at first: its own texts are in the language too.
                           if (!name || !m_looked.contains(dialog))
                               return false;
                           name->setText(m_sample);
                           TypeKey(name, Qt::Key_Return);
                           return true;
                       },
                       15000});
    m_steps.push_back(WizardPageStep(true));
    // Off line: polled pages leave the file as it was.
    AddHelpRoad(pagerPage, closePager, toolWindow("PLC editor for its help", "TvskLumoPlc", keepTheFiles));
    m_steps.push_back(pagerPage("Comm"));
    protocolSettings("the Comm page", [this] { return m_tool.data(); });
    m_steps.push_back({"connect to the drive", [this] { WebClick(m_tool, "input[name=\"CMD#Connect\"]"); },
                       [this]
                       {
                           RunOnPage(MainWindow(), OnLineScript(), "online", true);
                           return m_pageAnswers.value("online").toBool();
                       },
                       20000, answerOk, false, -1, [] { return QString("the status page shows no link"); }});
    m_steps.push_back(closePager("Comm"));
    m_steps.push_back(pagerPage("Monitor"));
    m_steps.push_back(closePager("Monitor"));
    m_steps.push_back({"write to the drive",
                       [this] { WebClick(MainWindow(), "input[name=\"CMD#WriteAll\"]"); },
                       [this] { return BoxesInStep() >= 1 && !VisibleBox() && m_stepClock.elapsed() > 3000; },
                       20000, writeAnswers, true});
    m_steps.push_back(toolWindow("PLC editor", "TvskLumoPlc", keepTheFiles));
    m_steps.push_back(closeTool("PLC editor"));
    m_steps.push_back(toolWindow("oscilloscope", "TvskOsc"));
    m_steps.push_back(closeTool("oscilloscope"));
    // The download window outlives the page that opened it: the pager's page, then the wizard page.
    auto download = [this, answerYes](const QString& from, std::function<QWidget*()> page)
    {
        return Step{"the download window from " + from,
                    [this, page] { WebClick(page(), "input[name=\"PLUGIN#TvskDownload\"]"); },
                    [this, page]
                    {
                        for (QWidget* w : VisibleWindows())
                            if (w != page() && w != m_tool && w != MainWindow() &&
                                !qobject_cast<QMessageBox*>(w) && m_looked.contains(w))
                                m_download = w;
                        return m_download != nullptr;
                    },
                    10000, answerYes};
    };
    auto gone = [this](std::function<bool()> pageBack)
    {
        return [this, pageBack]
        { return !m_download && pageBack() && m_stepClock.elapsed() > 2000; }; // the program lives on
    };
    Step comm = pagerPage("Comm");
    comm.name = "the Comm page for the download window";
    m_steps.push_back(comm);
    m_steps.push_back(download("the Comm page", [this] { return m_tool.data(); }));
    m_steps.push_back({"close the Comm page while the download window is open",
                       [this] { WebClick(m_tool, "input[name=\"CMD#Cancel\"]"); },
                       gone([this] { return !m_tool; }), 8000});
    m_steps.push_back(download("the wizard page", [this] { return MainWindow(); }));
    m_steps.push_back({"the start page while the download window is open",
                       [this] { WebClick(MainWindow(), "input[name=\"CMD#NewFile\"]"); },
                       gone(
                           [this]
                           {
                               RunOnPage(MainWindow(), PageFilledScript("#S_3002"), "start again");
                               return PageFilled(MainWindow(), "start again");
                           }),
                       10000,
                       [](QMessageBox* box)
                       {
                           QAbstractButton* no = box->button(QMessageBox::No);
                           if (no)
                               QTimer::singleShot(300, box, [no] { RealClick(no, no->rect().center()); });
                           return no != nullptr;
                       }});
    m_steps.push_back({"close without a save question",
                       [this]
                       {
                           if (QWidget* main = MainWindow())
                               main->close();
                       },
                       [] { return false; }, 15000,
                       [this](QMessageBox* box)
                       {
                           Fail("save question: \"" + box->text().simplified() + "\"");
                           QAbstractButton* no = box->button(QMessageBox::No);
                           if (no)
                               QTimer::singleShot(300, box, [no] { RealClick(no, no->rect().center()); });
                           return no != nullptr;
                       },
                       true});
    // What each step needs: the window it acts in, or the link for the values and the write.
    const std::pair<const char*, const char*> needs[] = {
        {"protocol settings from the start page", "start page"},
        {"close the protocol settings from the start page", "protocol settings from the start page"},
        {"open the sample through the file dialog", "start page"},
        {"wizard page", "open the sample through the file dialog"},
        {"the Comm page by a real click", "wizard page"},
        {"protocol settings from the Comm page", "the Comm page by a real click"},
        {"close the protocol settings from the Comm page", "protocol settings from the Comm page"},
        {"connect to the drive", "the Comm page by a real click"},
        {"close the Comm page", "the Comm page by a real click"},
        {"the Monitor page by a real click", "connect to the drive"},
        {"close the Monitor page", "the Monitor page by a real click"},
        {"write to the drive", "connect to the drive"},
        {"the Comm page for the download window", "wizard page"},
        {"the download window from the Comm page", "the Comm page for the download window"},
        {"close the Comm page while the download window is open", "the download window from the Comm page"},
        {"the download window from the wizard page", "wizard page"},
        {"the start page while the download window is open", "the download window from the wizard page"}};
    auto index = [this](const QString& name)
    {
        for (size_t i = 0; i < m_steps.size(); ++i)
            if (m_steps[i].name == name)
                return static_cast<int>(i);
        qFatal("roadwalk: no step '%s'", qPrintable(name));
    };
    for (const auto& [step, needed] : needs)
        m_steps[static_cast<size_t>(index(step))].needs = index(needed);
}

// F1 in the window's focus widget: a help window appears showing an existing page of the language.
Step Walker::HelpFrom(const QString& name, std::function<QWidget*()> window)
{
    return Step{"help from the " + name,
                [this, window]
                {
                    m_windowsBefore = VisibleWindows();
                    QWidget* target = window();
                    if (!target)
                        return Fail("no window to ask for help");
                    QWidget* focus = target->focusWidget() ? target->focusWidget() : target;
                    if (QWebEngineView* view = MainView(target); view && view->focusProxy())
                        focus = view->focusProxy();
                    TypeKey(focus, Qt::Key_F1);
                },
                [this]
                {
                    for (QWidget* w : VisibleWindows())
                        if (!m_windowsBefore.contains(w) && !qobject_cast<QMessageBox*>(w))
                            m_help = w;
                    QWebEngineView* view = m_help ? MainView(m_help) : nullptr;
                    if (!view || view->url().isEmpty() || !m_looked.contains(m_help))
                        return false;
                    const QString fault = HelpPageFault(view->url(), m_otherLanguage);
                    if (!fault.isEmpty())
                        Fail(fault);
                    m_report.Line("  help shows " + view->url().toString());
                    return true;
                },
                10000,
                nullptr,
                false,
                -1,
                [] { return QString("no help window appeared"); }};
}

Step Walker::CloseHelp(const QString& name)
{
    return Step{"close the help from the " + name,
                [this]
                {
                    if (m_help)
                        m_help->close();
                },
                [this] { return !m_help || !m_help->isVisible(); }, 5000};
}

void Walker::AddHelpRoad(const std::function<Step(const QString&)>& pagerPage,
                         const std::function<Step(const QString&)>& closePager, const Step& plcEditor)
{
    const int first = static_cast<int>(m_steps.size());
    m_steps.push_back(pagerPage("Positioner"));
    for (size_t i = 0; i < m_steps.size(); ++i)
        if (m_steps[i].name == "wizard page")
            m_steps.back().needs = static_cast<int>(i);
    const int page = first;
    m_steps.push_back(HelpFrom("Positioner page", [this] { return m_tool.data(); }));
    m_steps.back().needs = page;
    m_steps.push_back(CloseHelp("Positioner page"));
    m_steps.push_back({"cam editor from the Positioner page",
                       [this]
                       {
                           m_windowsBefore = VisibleWindows();
                           WebClick(m_tool, "input[name=\"PLUGIN#TvskCamEditor\"]");
                       },
                       [this]
                       {
                           for (QWidget* w : VisibleWindows())
                               if (!m_windowsBefore.contains(w) && !qobject_cast<QMessageBox*>(w))
                                   m_cam = w;
                           if (!m_cam || !m_looked.contains(m_cam))
                               return false;
                           for (const QString& button : ButtonsWithoutToolTips(m_cam))
                               Fail("a tool bar button of '" + m_cam->windowTitle() +
                                    "' without tool tip: " + button);
                           return true;
                       },
                       10000, nullptr, false, page});
    const int cam = static_cast<int>(m_steps.size()) - 1;
    m_steps.push_back(HelpFrom("cam editor", [this] { return m_cam.data(); }));
    m_steps.back().needs = cam;
    m_steps.push_back(CloseHelp("cam editor"));
    m_steps.push_back({"close the cam editor",
                       [this]
                       {
                           if (m_cam)
                               m_cam->close();
                       },
                       [this] { return !m_cam || !m_cam->isVisible(); }, 5000, nullptr, false, cam});
    m_steps.push_back(closePager("Positioner"));
    m_steps.back().needs = page;
    m_steps.push_back(plcEditor);
    const int plc = static_cast<int>(m_steps.size()) - 1;
    m_steps.push_back(HelpFrom("PLC editor", [this] { return m_tool.data(); }));
    m_steps.back().needs = plc;
    m_steps.push_back(CloseHelp("PLC editor"));
    m_steps.push_back({"close the PLC editor after its help",
                       [this]
                       {
                           if (m_tool)
                               m_tool->close();
                       },
                       [this] { return !NewestWindow(".*"); }, 5000, nullptr, false, plc});
}

void Start()
{
    g_walker = new Walker();
}

void Finish()
{
    if (g_walker)
        g_walker->Finish();
}

} // namespace roadwalk
