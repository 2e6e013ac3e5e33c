#include "RadioGroup.h"

#include <ui/Wnd.h>

#include <QAbstractButton>
#include <QButtonGroup>

void GroupRadioButtons(CWnd& dialog, std::initializer_list<UINT> ids)
{
    auto* group = new QButtonGroup(dialog.GetWidget());
    for (UINT id : ids)
        if (CWnd* radio = dialog.GetDlgItem(static_cast<int>(id)))
            if (auto* button = qobject_cast<QAbstractButton*>(radio->GetWidget()))
                group->addButton(button);
}
