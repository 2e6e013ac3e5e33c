// Widgets deleted on the next turn of the event loop, and the modules kept until they are gone.
#include "WndInternal.h"

#include <kernel/SharedLibrary.h>

#include <QCoreApplication>
#include <QThread>

#include <dlfcn.h>

namespace tvsk::ui
{
namespace
{

int g_pendingWidgets = 0; // deleted later, not yet gone

// Closes its module when the event loop deletes it, after the widgets deleted later before it.
class ModuleHold : public QObject
{
public:
    explicit ModuleHold(void* handle) : m_handle(handle) {}
    ~ModuleHold() override { ::dlclose(m_handle); }
    ModuleHold(const ModuleHold&) = delete;
    ModuleHold& operator=(const ModuleHold&) = delete;

private:
    void* m_handle;
};

void CloseModule(void* handle)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (g_pendingWidgets == 0 || !app || QThread::currentThread() != app->thread())
    {
        ::dlclose(handle);
        return;
    }
    auto* hold = new ModuleHold(handle);
    hold->setParent(app); // the module goes at the latest with the application
    hold->deleteLater();
}

[[maybe_unused]] const bool g_closerInstalled = (SetModuleCloser(&CloseModule), true);

} // namespace

void DeleteWidgetLater(QWidget* widget)
{
    ++g_pendingWidgets;
    QObject::connect(widget, &QObject::destroyed, [] { --g_pendingWidgets; });
    widget->deleteLater();
}

} // namespace tvsk::ui
