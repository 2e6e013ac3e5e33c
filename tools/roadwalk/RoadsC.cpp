// The road of a slow line: going on line from the connection choice while each reply comes late,
// the program taking events all along, and a Cancel click in the progress window.
#include "RoadWalker.h"
#include "WindowChecksA.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QRegularExpression>

#include <algorithm>
#include <memory>

namespace roadwalk
{

namespace
{

// The transfer's progress window: a modal window that counts ("12 di 340", "12 of 340").
QWidget* ProgressWindow()
{
    QWidget* window = QApplication::activeModalWidget();
    if (!window || qobject_cast<QMessageBox*>(window))
        return nullptr;
    for (QLabel* label : window->findChildren<QLabel*>())
        if (label->text().contains(QRegularExpression("^\\d+ (di|of) \\d+$")))
            return window;
    return nullptr;
}

// The longest time between two looks, from the first look on; the walker looks every 100 ms
// when the program takes its events.
struct GapWatch
{
    QElapsedTimer since;
    QElapsedTimer last;
    qint64 longest = 0;
    void Look()
    {
        if (!since.isValid())
            since.start();
        if (last.isValid())
            longest = std::max(longest, last.elapsed());
        last.start();
    }
};

} // namespace

bool Walker::BuildRoadC(const QString& road)
{
    if (road != "slowread")
        return false;
    SlowReadRoad();
    // The values read before the Cancel are the configuration's: the question is due.
    CloseProgramStep(true);
    return true;
}

void Walker::SlowReadRoad()
{
    OpenSampleSteps();
    m_steps.push_back(ModalStep("the connection choice",
                                [this] { WebClick(MainWindow(), "input[name=\"CMD#Connect\"]"); }));
    auto gaps = std::make_shared<GapWatch>();
    m_steps.push_back({"read the drive: the progress window counts",
                       [this] { Click(ButtonsTopDown(m_tool).value(0)); },
                       [this, gaps]
                       {
                           m_inner = ProgressWindow();
                           if (m_inner)
                               gaps->Look();
                           return !m_inner.isNull();
                       },
                       20000, AnswerYesOrOk});
    m_steps.push_back({"the program takes its events while the drive is read", nullptr,
                       [this, gaps]
                       {
                           gaps->Look();
                           return m_inner && gaps->longest < 1000 && gaps->since.elapsed() >= 3000;
                       },
                       10000, nullptr, false, -1,
                       [gaps] { return QString("%1 ms without an event").arg(gaps->longest); }});
    auto clicked = std::make_shared<QElapsedTimer>();
    m_steps.push_back({"Cancel in the progress window stops the reading and says what was read",
                       [this, clicked]
                       {
                           clicked->start();
                           if (m_inner)
                               Click(ButtonsTopDown(m_inner).value(0));
                       },
                       [this] { return !ProgressWindow() && BoxesInStep() == 1 && !VisibleBox(); }, 5000,
                       AnswerYesOrOk});
    m_steps.back().warningDue = true;
    m_steps.push_back({"off line after the cancelled reading", nullptr,
                       [this]
                       {
                           RunOnPage(MainWindow(), OnLineScript(), "offline", true);
                           return m_pageAnswers.contains("offline") &&
                                  !m_pageAnswers.value("offline").toBool();
                       },
                       10000});
}

} // namespace roadwalk
