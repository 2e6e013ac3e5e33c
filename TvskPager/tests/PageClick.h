// A user's click on a live page (testing/PageClick.h), and a watch that runs inside the modal loops
// such a click starts.
#pragma once

#include <testing/PageClick.h>

#include <QTimer>

#include <functional>

// Runs step from a timer every 20 ms until it answers true: the timer keeps firing inside the modal
// loops a click starts, so step sees their windows.
class WhileModal
{
public:
    explicit WhileModal(std::function<bool()> step) : m_step(std::move(step))
    {
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this]
                         {
                             // A step that waits handles events, and so this timer, again.
                             if (m_busy)
                                 return;
                             m_busy = true;
                             if (m_step())
                                 m_timer.stop();
                             m_busy = false;
                         });
        m_timer.start(20);
    }

private:
    std::function<bool()> m_step;
    QTimer m_timer;
    bool m_busy = false;
};
