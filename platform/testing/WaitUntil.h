// Waiting in a Qt test for something the event loop brings about.
#pragma once

#include <QElapsedTimer>
#include <QTest>

#include <functional>

// Handles events until done() holds; false when timeoutMs pass first.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 60000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done())
    {
        if (timer.elapsed() > timeoutMs)
            return false;
        QTest::qWait(10);
    }
    return true;
}
