// The walk's entry: started with the program's toolkit, at the desktop's usual font, and its
// report closed when the program's process ends.
#include "RoadChecks.h"

#include <QApplication>
#include <QFont>
#include <QTimer>

#include <cstdlib>

namespace
{

void StartWalk()
{
    // The font a desktop's generic theme gives; the vnc platform's own default is larger.
    QApplication::setFont(QFont("Sans Serif", 9));
    roadwalk::FollowPageFills();
    QTimer::singleShot(0, qApp, [] { roadwalk::Start(); });
}

struct CloseReportAtExit
{
    // The driver is the program's alone: the page engine's processes and any helper the program
    // starts (a sanitizer's symbolizer) run without it.
    CloseReportAtExit() { ::unsetenv("LD_PRELOAD"); }
    ~CloseReportAtExit() { roadwalk::Finish(); }
} g_closeReport;

} // namespace

Q_COREAPP_STARTUP_FUNCTION(StartWalk)
