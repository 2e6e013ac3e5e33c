// The trackbar over QSlider.
#include "SliderCtrl.h"

#include <QSlider>

#include <algorithm>

namespace
{

UINT CodeOf(int action)
{
    switch (action)
    {
    case QAbstractSlider::SliderSingleStepSub:
        return TB_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd:
        return TB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return TB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return TB_PAGEDOWN;
    case QAbstractSlider::SliderToMinimum:
        return TB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return TB_BOTTOM;
    default:
        return TB_THUMBTRACK;
    }
}

} // namespace

BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("msctls_trackbar32", nullptr, style, rect, parent, id);
}

namespace
{

// Tells the trackbar's parent what moved, with the trackbar's code and position.
void Report(QSlider* slider, UINT code)
{
    CWnd* wnd = CWnd::FromWidget(slider);
    CWnd* parent = wnd ? wnd->GetParent() : nullptr;
    if (!parent)
        return;
    const UINT message = slider->orientation() == Qt::Vertical ? WM_VSCROLL : WM_HSCROLL;
    const WORD position = static_cast<WORD>(std::clamp(slider->sliderPosition(), 0, 0xFFFF));
    parent->SendMessage(message, MAKEWPARAM(static_cast<WORD>(code), position),
                        reinterpret_cast<LPARAM>(wnd));
}

} // namespace

QWidget* CreateTrackbarWidget(DWORD style, QWidget* parent)
{
    auto* slider = new QSlider((style & TBS_VERT) ? Qt::Vertical : Qt::Horizontal, parent);
    slider->setTickPosition((style & TBS_NOTICKS) ? QSlider::NoTicks : QSlider::TicksBelow);
    slider->setFocusPolicy(Qt::StrongFocus);
    // Qt has moved the thumb already when the action is announced; the parent may move it elsewhere.
    QObject::connect(slider, &QAbstractSlider::actionTriggered, slider,
                     [slider](int action)
                     {
                         if (action != QAbstractSlider::SliderNoAction)
                             Report(slider, CodeOf(action));
                     });
    QObject::connect(slider, &QAbstractSlider::sliderReleased, slider,
                     [slider]()
                     {
                         Report(slider, TB_THUMBPOSITION);
                         Report(slider, TB_ENDTRACK);
                     });
    return slider;
}

LRESULT CSliderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* slider = qobject_cast<QSlider*>(GetWidget());
    if (!slider)
        return CWnd::WindowProc(message, wParam, lParam);
    switch (message)
    {
    case TBM_GETPOS:
        return slider->sliderPosition();
    case TBM_GETRANGEMIN:
        return slider->minimum();
    case TBM_GETRANGEMAX:
        return slider->maximum();
    case TBM_GETPAGESIZE:
        return slider->pageStep();
    case TBM_SETPOS:
        slider->setSliderPosition(static_cast<int>(lParam));
        return 0;
    case TBM_SETRANGE:
        slider->setRange(LOWORD(static_cast<DWORD_PTR>(lParam)), HIWORD(static_cast<DWORD_PTR>(lParam)));
        return 0;
    case TBM_SETRANGEMIN:
        slider->setMinimum(static_cast<int>(lParam));
        return 0;
    case TBM_SETRANGEMAX:
        slider->setMaximum(static_cast<int>(lParam));
        return 0;
    case TBM_SETPAGESIZE:
    {
        const int old = slider->pageStep();
        slider->setPageStep(static_cast<int>(lParam));
        return old;
    }
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

void CSliderCtrl::SetRange(int minPos, int maxPos, BOOL redraw)
{
    SendMessage(TBM_SETRANGEMIN, FALSE, minPos);
    SendMessage(TBM_SETRANGEMAX, static_cast<WPARAM>(redraw), maxPos);
}

int CSliderCtrl::GetRangeMin() const
{
    return static_cast<int>(const_cast<CSliderCtrl*>(this)->SendMessage(TBM_GETRANGEMIN));
}

int CSliderCtrl::GetRangeMax() const
{
    return static_cast<int>(const_cast<CSliderCtrl*>(this)->SendMessage(TBM_GETRANGEMAX));
}

void CSliderCtrl::SetPos(int pos)
{
    SendMessage(TBM_SETPOS, TRUE, pos);
}

int CSliderCtrl::GetPos() const
{
    return static_cast<int>(const_cast<CSliderCtrl*>(this)->SendMessage(TBM_GETPOS));
}

int CSliderCtrl::SetPageSize(int size)
{
    return static_cast<int>(SendMessage(TBM_SETPAGESIZE, 0, size));
}

int CSliderCtrl::GetPageSize() const
{
    return static_cast<int>(const_cast<CSliderCtrl*>(this)->SendMessage(TBM_GETPAGESIZE));
}
