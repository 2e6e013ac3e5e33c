// A user's click on a live page: mouse press and release at the element's centre, sent to the view
// as the mouse sends them, so the page's own events carry the click to the program.
#pragma once

#include <testing/WaitUntil.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWebEngineView>

#include <memory>
#include <optional>

// False when the element is not on the page, or not shown within the wait (a page its window
// holds until filled takes no clicks before).
inline bool ClickPageElement(QWebEngineView* view, const QString& selector, int waitMs = 60000)
{
    const QString script =
        QString("(function(){var e=document.querySelector('%1');if(!e)return 'none';"
                "if(getComputedStyle(e).visibility!=='visible')return '';"
                "e.scrollIntoView({block:'center'});var r=e.getBoundingClientRect();"
                "return Math.round(r.left+r.width/2)+','+Math.round(r.top+r.height/2);})()")
            .arg(QString(selector).replace("'", "\\'"));
    QString place;
    const bool shown = WaitUntil(
        [&]
        {
            auto answer = std::make_shared<std::optional<QString>>();
            view->page()->runJavaScript(script,
                                        [answer](const QVariant& value) { *answer = value.toString(); });
            if (!WaitUntil([&] { return answer->has_value(); }, 5000))
                return false;
            place = **answer;
            return !place.isEmpty();
        },
        waitMs);
    if (!shown)
        return false;
    const QStringList xy = place.split(',');
    if (xy.size() != 2)
        return false;
    const QPoint point(qRound(xy[0].toInt() * view->zoomFactor()),
                       qRound(xy[1].toInt() * view->zoomFactor()));
    QWidget* target = view->focusProxy() ? view->focusProxy() : view;
    const QPoint global = target->mapToGlobal(point);
    QMouseEvent move(QEvent::MouseMove, point, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QMouseEvent press(QEvent::MouseButtonPress, point, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, point, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
    return true;
}
