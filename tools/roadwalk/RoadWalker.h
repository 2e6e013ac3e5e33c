// The walker: the steps of a road, each an action and the condition it waits for, and what it
// looks at on the way. The main road is built in RoadWalk.cpp, the others in Roads*.cpp.
#pragma once

#include "RoadChecks.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <vector>

namespace roadwalk
{

// A step's condition is waited for this long at least: a safety net against a program that never
// gets there, not a measure of its speed (a loaded machine may take many times the usual).
constexpr int kStepSafetyNetMs = 60000;

// One step of the road: an action, then a condition waited for until its time runs out.
struct Step
{
    QString name;
    std::function<void()> act;
    std::function<bool()> done;
    // Longer than the safety net where a step needs it; a shorter one counts as the safety net.
    int timeoutMs = kStepSafetyNetMs;
    // Answers a question or information box the step expects; false: the box is a fault.
    std::function<bool(QMessageBox*)> box;
    // Starts from the main window: a window a failed step left open is closed first.
    bool fromMainWindow = false;
    // The step before it that must have been reached (-1: none); skipped when it was not.
    int needs = -1;
    // What the step saw when its time ran out.
    std::function<QString()> seen;
    // The step's own doing ends in a warning that only tells (a cancelled transfer): not a fault.
    bool warningDue = false;
};

class Walker : public QObject
{
public:
    Walker();
    // The program ends: the report's last line.
    void Finish();

private:
    void Tick();
    void Watch();
    void WatchBoxes();
    // A picture and the window's own texts now; its page's texts once the page says it is filled.
    void LookAt(QWidget* window);
    void CheckPageTexts(QWidget* window);
    // The window has no page, or its page has said it is filled.
    static bool PageReady(QWidget* window);
    void Fail(const QString& what);
    void BuildRoad();
    // The Positioner page with its help, the cam editor with its tool tips and help, the PLC
    // editor's help: each help window shows an existing topic of the language.
    void AddHelpRoad(const std::function<Step(const QString&)>& pagerPage,
                     const std::function<Step(const QString&)>& closePager, const Step& plcEditor);
    Step HelpFrom(const QString& name, std::function<QWidget*()> window);
    Step CloseHelp(const QString& name);
    // The roads beyond the main one (RoadsA.cpp); false for a name it does not know.
    bool BuildRoadA(const QString& road);
    void OpenSampleSteps();
    void ConnectionRoad();
    void StartPageRoad();
    // Picks the choices of a selection page one after another, as its lists refill.
    Step ChooseOnPage(const QString& name, const std::vector<std::pair<QString, QString>>& choices);
    void DownloadRoad();
    void ScopeRoad();
    void AboutRoad();
    void CloseProgramStep(bool questionDue);
    // The roads of RoadsB.cpp; false for a name it does not know.
    bool BuildRoadB(const QString& road);
    void MotorsRoad();
    void PlcRoad();
    void CamRoad();
    void RecordRoad();
    void HelpElsewhereRoad();
    // The road of RoadsC.cpp (a slow line); false for a name it does not know.
    bool BuildRoadC(const QString& road);
    void SlowReadRoad();
    // A step that waits for a window the action opens (no box, no file box) and keeps it in *into.
    Step NewWindowStep(const QString& name, std::function<void()> act, QPointer<QWidget>* into,
                       std::function<bool(QMessageBox*)> box = nullptr);
    // A step that closes *which (by act when given) and waits until it and any box are gone.
    Step CloseStep(const QString& name, QPointer<QWidget>* which, std::function<void()> act = nullptr,
                   std::function<bool(QMessageBox*)> box = nullptr);
    // A click on the window's tool bar button by its tip; the step's condition is the caller's.
    Step ToolClick(const QString& name, QPointer<QWidget>* window, const char* tip);
    // A real click on the window's tool bar button by its tip; a fault when there is none or it is off.
    void ClickTool(QWidget* window, const char* tip);
    // A wizard page still opens and closes: no mode of the road stayed on.
    void NoModeLeftSteps(const QString& after);
    // The report file's texts are all of the language (program texts and parameter descriptions).
    Step ReportInLanguage(const QString& path);
    // A step that waits for a new modal window (no box) and keeps it in m_tool.
    Step ModalStep(const QString& name, std::function<void()> act,
                   std::function<bool(QMessageBox*)> box = nullptr);
    // A step that answers the open file box with path and Enter.
    Step FileBoxStep(const QString& name, const QString& path);
    // The start page once its texts are there; the TK40 wizard page once its fields are filled
    // (looked at on request: the main road photographs it).
    Step StartPageStep();
    Step WizardPageStep(bool lookAt);
    int BoxesInStep() const { return m_boxCount - m_boxesAtStepStart; }

    // Page helpers: the answers of the last script run per view.
    void RunOnPage(QWidget* window, const QString& script, const QString& key, bool statusPage = false);
    void WebClick(QWidget* window, const QString& selector);
    bool PageFilled(QWidget* window, const QString& key) const;

    QWidget* MainWindow() const;
    bool VisibleBox() const;
    QWidget* NewestWindow(const QString& titlePattern) const;

    QString m_out;
    QString m_sample;
    RoadReport m_report;
    TextTables m_tables;
    // The sample drives' parameter descriptions in both languages.
    TextTables m_driveTables;
    QString m_otherLanguage;
    std::vector<Step> m_steps;
    size_t m_current = 0;
    bool m_started = false;
    bool m_finished = false;
    QElapsedTimer m_stepClock;
    QElapsedTimer m_clock;
    QTimer m_timer;
    // Windows on screen now (forgotten once hidden): when each appeared, which were looked at.
    QHash<QWidget*, qint64> m_firstSeen;
    QSet<QWidget*> m_looked;
    // Windows looked at whose page's texts are checked once the page says it is filled.
    QList<QPointer<QWidget>> m_pageChecksDue;
    QSet<QWidget*> m_boxes;
    int m_boxCount = 0;
    QHash<QString, QVariant> m_pageAnswers;
    int m_pictures = 0;
    int m_boxesAtStepStart = 0;
    // How long a click has waited for its page to be filled.
    QElapsedTimer m_clickWaits;
    QPointer<QWidget> m_tool;
    QPointer<QWidget> m_settings;
    QPointer<QWidget> m_download;
    QPointer<QWidget> m_cam;
    QPointer<QWidget> m_help;
    QPointer<QWidget> m_inner;
    QList<QWidget*> m_windowsBefore;
    std::vector<bool> m_passed;
};

} // namespace roadwalk
