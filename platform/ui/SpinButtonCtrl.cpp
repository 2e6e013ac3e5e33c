// The up-down control over two tool buttons.
#include "SpinButtonCtrl.h"

#include <QBoxLayout>
#include <QToolButton>
#include <QWidget>

#include <algorithm>

BOOL CSpinButtonCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("msctls_updown32", nullptr, style, rect, parent, id);
}

void CSpinButtonCtrl::SetRange32(int lower, int upper)
{
    m_nLower = lower;
    m_nUpper = upper;
}

void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const
{
    lower = m_nLower;
    upper = m_nUpper;
}

int CSpinButtonCtrl::SetPos32(int pos)
{
    const int previous = m_nPos;
    m_nPos = std::clamp(pos, std::min(m_nLower, m_nUpper), std::max(m_nLower, m_nUpper));
    return previous;
}

int CSpinButtonCtrl::GetPos32() const
{
    return m_nPos;
}

void CSpinButtonCtrl::Step(int delta)
{
    NMUPDOWN notify{};
    notify.hdr.hwndFrom = this;
    notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    notify.hdr.code = UDN_DELTAPOS;
    notify.iPos = m_nPos;
    notify.iDelta = delta;
    CWnd* parent = GetParent();
    if (parent && parent->SendMessage(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify)) != 0)
        return;
    SetPos32(m_nPos + delta);
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
        QObject::connect(button, &QToolButton::clicked, widget,
                         [widget, delta]
                         {
                             if (auto* spin = dynamic_cast<CSpinButtonCtrl*>(CWnd::FromWidget(widget)))
                                 spin->Step(delta);
                         });
    };
    arrow(Qt::UpArrow, 1);
    arrow(Qt::DownArrow, -1);
    return widget;
}
