#include "ToolBarTips.h"

#include "PlcIds.h"

#include <ui/ToolBar.h>

#include <QList>
#include <QToolButton>

namespace
{
constexpr int kMaxTipLength = 80;
} // namespace

void SetToolBarTips(CToolBar& toolBar, CPluginIntf* host)
{
    QWidget* bar = toolBar.GetWidget();
    if (!bar)
        return;
    const QList<QToolButton*> buttons = bar->findChildren<QToolButton*>();
    for (int index = 0; index < toolBar.GetCount(); ++index)
    {
        const UINT id = toolBar.GetItemID(index);
        if (id == ID_SEPARATOR)
            continue;
        CRect rect;
        toolBar.GetItemRect(index, &rect);
        const QRect place(rect.left, rect.top, rect.Width(), rect.Height());
        const QString tip = QString::fromUtf8(PlcHostString(host, id).GetString()).left(kMaxTipLength);
        for (QToolButton* button : buttons)
            if (button->geometry() == place)
                button->setToolTip(tip);
    }
}
