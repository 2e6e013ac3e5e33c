#include "Desktop.h"

#include <QApplication>

namespace tvsk::ui
{

bool CanShowModalBoxes()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace tvsk::ui
