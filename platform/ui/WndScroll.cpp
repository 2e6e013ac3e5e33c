// A window's own scroll bars: QScrollBar children laid along its right and bottom edges.
#include "OwnScrollBars.h"
#include "Wnd.h"

#include <QEvent>
#include <QScrollBar>
#include <QStyle>

namespace tvsk::ui
{
namespace
{

const char* ScrollBarName(int bar)
{
    return bar == SB_HORZ ? "tvskOwnHScroll" : "tvskOwnVScroll";
}

QScrollBar* FindOwnScrollBar(const QWidget* widget, int bar)
{
    if (!widget || (bar != SB_HORZ && bar != SB_VERT))
        return nullptr;
    return widget->findChild<QScrollBar*>(ScrollBarName(bar), Qt::FindDirectChildrenOnly);
}

// Keeps the bars along the edges when the window changes size.
class ScrollBarLayout : public QObject
{
public:
    explicit ScrollBarLayout(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }

    static void Arrange(QWidget* widget)
    {
        QScrollBar* vertical = FindOwnScrollBar(widget, SB_VERT);
        QScrollBar* horizontal = FindOwnScrollBar(widget, SB_HORZ);
        const int extent = widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const bool showV = vertical && !vertical->isHidden();
        const bool showH = horizontal && !horizontal->isHidden();
        if (showV)
            vertical->setGeometry(widget->width() - extent, 0, extent,
                                  widget->height() - (showH ? extent : 0));
        if (showH)
            horizontal->setGeometry(0, widget->height() - extent, widget->width() - (showV ? extent : 0),
                                    extent);
    }

    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::Resize)
            Arrange(static_cast<QWidget*>(watched));
        return false;
    }
};

QScrollBar* MakeOwnScrollBar(CWnd* wnd, int bar)
{
    QWidget* widget = wnd->GetWidget();
    if (!widget || (bar != SB_HORZ && bar != SB_VERT))
        return nullptr;
    if (QScrollBar* existing = FindOwnScrollBar(widget, bar))
        return existing;
    if (!widget->findChild<ScrollBarLayout*>(QString(), Qt::FindDirectChildrenOnly))
        new ScrollBarLayout(widget);
    auto* scroll = new QScrollBar(bar == SB_HORZ ? Qt::Horizontal : Qt::Vertical, widget);
    scroll->setObjectName(ScrollBarName(bar));
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setRange(0, 0);
    scroll->hide();
    const UINT message = bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
    // The window moves the bar itself, as it does on the platform: the slider goes back to the
    // current value before the window hears of the request.
    QObject::connect(scroll, &QAbstractSlider::actionTriggered, scroll,
                     [wnd, scroll, message](int action)
                     {
                         if (action == QAbstractSlider::SliderNoAction)
                             return;
                         const int wanted = scroll->sliderPosition();
                         const UINT code = ScrollCodeOf(action);
                         scroll->setSliderPosition(scroll->value());
                         wnd->SendMessage(message,
                                          MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(wanted)), 0);
                     });
    return scroll;
}

void SetBarShown(QScrollBar* scroll, bool shown)
{
    if (scroll->isHidden() != shown)
        return;
    scroll->setVisible(shown);
    ScrollBarLayout::Arrange(scroll->parentWidget());
}

} // namespace

QScrollBar* VisibleOwnScrollBar(const QWidget* widget, int bar)
{
    QScrollBar* scroll = FindOwnScrollBar(widget, bar);
    return scroll && !scroll->isHidden() ? scroll : nullptr;
}

} // namespace tvsk::ui

using namespace tvsk::ui;

BOOL CWnd::SetScrollInfo(int bar, const SCROLLINFO* info, BOOL)
{
    QScrollBar* scroll = info ? MakeOwnScrollBar(this, bar) : nullptr;
    if (!scroll)
        return FALSE;
    const QSignalBlocker quiet(scroll);
    int minimum = scroll->property("tvskMin").toInt();
    int maximum = scroll->property("tvskMax").toInt();
    UINT page = scroll->property("tvskPage").toUInt();
    if (info->fMask & SIF_RANGE)
    {
        minimum = info->nMin;
        maximum = std::max(info->nMin, info->nMax);
    }
    if (info->fMask & SIF_PAGE)
        page = info->nPage;
    scroll->setProperty("tvskMin", minimum);
    scroll->setProperty("tvskMax", maximum);
    scroll->setProperty("tvskPage", page);
    // A bar with a page covers [min, max - page + 1] with its thumb.
    const int last = page > 0 ? std::max(minimum, maximum - static_cast<int>(page) + 1) : maximum;
    scroll->setRange(minimum, last);
    scroll->setPageStep(std::max(1, static_cast<int>(page)));
    if (info->fMask & SIF_POS)
        scroll->setValue(std::clamp(info->nPos, minimum, last));
    const bool fits = maximum <= minimum || (page > 0 && static_cast<int>(page) > maximum - minimum);
    if (info->fMask & SIF_DISABLENOSCROLL)
    {
        scroll->setEnabled(!fits);
        SetBarShown(scroll, true);
    }
    else
    {
        scroll->setEnabled(true);
        SetBarShown(scroll, !fits);
    }
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int bar, SCROLLINFO* info, UINT mask) const
{
    const QScrollBar* scroll = info ? FindOwnScrollBar(m_widget, bar) : nullptr;
    if (!scroll)
        return FALSE;
    info->fMask = mask;
    if (mask & SIF_RANGE)
    {
        info->nMin = scroll->property("tvskMin").toInt();
        info->nMax = scroll->property("tvskMax").toInt();
    }
    if (mask & SIF_PAGE)
        info->nPage = scroll->property("tvskPage").toUInt();
    if (mask & SIF_POS)
        info->nPos = scroll->value();
    if (mask & SIF_TRACKPOS)
        info->nTrackPos = scroll->sliderPosition();
    return TRUE;
}

int CWnd::SetScrollPos(int bar, int pos, BOOL)
{
    QScrollBar* scroll = MakeOwnScrollBar(this, bar);
    if (!scroll)
        return 0;
    const int previous = scroll->value();
    const QSignalBlocker quiet(scroll);
    scroll->setValue(pos);
    return previous;
}

void CWnd::ShowScrollBar(UINT bar, BOOL show)
{
    for (int which : {SB_HORZ, SB_VERT})
    {
        if (bar != SB_BOTH && static_cast<int>(bar) != which)
            continue;
        if (QScrollBar* scroll = MakeOwnScrollBar(this, which))
            SetBarShown(scroll, show != FALSE);
    }
}

UINT ScrollCodeOf(int action)
{
    switch (action)
    {
    case QAbstractSlider::SliderSingleStepAdd:
        return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub:
        return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum:
        return SB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return SB_BOTTOM;
    default:
        return SB_THUMBTRACK;
    }
}
