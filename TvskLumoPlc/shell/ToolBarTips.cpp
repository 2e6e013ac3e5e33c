#include "ToolBarTips.h"

#include "PlcIds.h"

#include <ui/ToolBar.h>

#include <QString>

namespace
{
constexpr int kMaxTipLength = 80; // characters, not bytes
} // namespace

void SetToolBarTips(CToolBar& toolBar, CPluginIntf* host)
{
    for (int index = 0; index < toolBar.GetCount(); ++index)
        if (const UINT id = toolBar.GetItemID(index); id != ID_SEPARATOR)
        {
            const QString tip = QString::fromUtf8(PlcHostString(host, id).GetString()).left(kMaxTipLength);
            toolBar.SetButtonToolTip(index, tip.toUtf8().constData());
        }
}
