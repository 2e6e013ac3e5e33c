// The up-down control over two tool buttons; range and position live on the widget, so a control
// made from a dialog table works without a CSpinButtonCtrl object.
#include "SpinButtonCtrl.h"

#include <QBoxLayout>
#include <QToolButton>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace
{
int Property(const QWidget* widget, const char* name, int fallback)
{
    const QVariant value = widget ? widget->property(name) : QVariant();
    return value.isValid() ? value.toInt() : fallback;
}

void SetProperty(QWidget* widget, const char* name, int value)
{
    if (widget)
        widget->setProperty(name, value);
}

// The arrow's work: ask the parent, then move the position within the range.
void Step(QWidget* widget, int delta)
{
    CWnd* wnd = CWnd::FromWidget(widget);
    if (!wnd)
        return;
    const int pos = Property(widget, "updownPos", 0);
    NMUPDOWN notify{};
    notify.hdr.hwndFrom = wnd;
    notify.hdr.idFrom = static_cast<UINT_PTR>(wnd->GetDlgCtrlID());
    notify.hdr.code = UDN_DELTAPOS;
    notify.iPos = pos;
    notify.iDelta = delta;
    CWnd* parent = wnd->GetParent();
    if (parent && parent->SendMessage(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify)) != 0)
        return;
    const int lower = Property(widget, "updownLower", 0);
    const int upper = Property(widget, "updownUpper", 100);
    SetProperty(widget, "updownPos", std::clamp(pos + delta, std::min(lower, upper), std::max(lower, upper)));
}
} // namespace

BOOL CSpinButtonCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("msctls_updown32", nullptr, style, rect, parent, id);
}

void CSpinButtonCtrl::SetRange32(int lower, int upper)
{
    SetProperty(GetWidget(), "updownLower", lower);
    SetProperty(GetWidget(), "updownUpper", upper);
}

void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const
{
    lower = Property(GetWidget(), "updownLower", 0);
    upper = Property(GetWidget(), "updownUpper", 100);
}

int CSpinButtonCtrl::SetPos32(int pos)
{
    const int previous = GetPos32();
    int lower = 0;
    int upper = 0;
    GetRange32(lower, upper);
    SetProperty(GetWidget(), "updownPos", std::clamp(pos, std::min(lower, upper), std::max(lower, upper)));
    return previous;
}

int CSpinButtonCtrl::GetPos32() const
{
    return Property(GetWidget(), "updownPos", 0);
}

void CSpinButtonCtrl::Step(int delta)
{
    ::Step(GetWidget(), delta);
}

QWidget* CreateUpDownWidget(DWORD style, QWidget* parent)
{
    auto* widget = new QWidget(parent);
    QBoxLayout* layout = (style & UDS_HORZ) ? static_cast<QBoxLayout*>(new QHBoxLayout(widget))
                                            : static_cast<QBoxLayout*>(new QVBoxLayout(widget));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto arrow = [widget, layout](Qt::ArrowType type, int delta)
    {
        auto* button = new QToolButton(widget);
        button->setArrowType(type);
        button->setAutoRepeat(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(button);
        QObject::connect(button, &QToolButton::clicked, widget, [widget, delta] { Step(widget, delta); });
    };
    arrow(Qt::UpArrow, 1);
    arrow(Qt::DownArrow, -1);
    return widget;
}
