// Calls back when a widget receives one kind of event: the desktop's colours changing (the
// platform's system colour change), or its window being deactivated.
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>

#include <functional>
#include <utility>

class CWidgetEventWatch : public QObject
{
public:
    CWidgetEventWatch(QWidget* widget, QEvent::Type type, std::function<void()> happened)
        : m_type(type), m_happened(std::move(happened))
    {
        if (widget)
            widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == m_type)
            m_happened();
        return false;
    }

private:
    QEvent::Type m_type;
    std::function<void()> m_happened;
};
