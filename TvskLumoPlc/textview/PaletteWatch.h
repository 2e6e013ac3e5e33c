// Tells a window when the desktop's colours change (the system colour change of the platform).
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>

#include <functional>
#include <utility>

class CPaletteWatch : public QObject
{
public:
    CPaletteWatch(QWidget* widget, std::function<void()> changed) : m_changed(std::move(changed))
    {
        if (widget)
            widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::PaletteChange)
            m_changed();
        return false;
    }

private:
    std::function<void()> m_changed;
};
