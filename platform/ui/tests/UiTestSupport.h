// Helpers shared by the window tests.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

// Handles events until the condition holds or the time is up; answers the condition.
inline bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 3000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition())
    {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}
