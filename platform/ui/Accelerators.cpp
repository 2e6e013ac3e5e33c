#include "Accelerators.h"

#include "Wnd.h"

#include <QGuiApplication>

#include <map>
#include <mutex>

namespace
{

struct AcceleratorRegistry
{
    std::mutex lock;
    std::map<UINT, AcceleratorTable> tables;
};

AcceleratorRegistry& Registry()
{
    static AcceleratorRegistry registry;
    return registry;
}

BYTE CurrentModifiers()
{
    BYTE modifiers = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        modifiers |= FSHIFT;
    if (GetKeyState(VK_CONTROL) < 0)
        modifiers |= FCONTROL;
    if (GetKeyState(VK_MENU) < 0)
        modifiers |= FALT;
    return modifiers;
}

} // namespace

BOOL AfxRegisterAccelerators(UINT id, const ACCEL* entries, int count)
{
    if (!entries || count <= 0)
        return FALSE;
    AcceleratorRegistry& registry = Registry();
    std::lock_guard guard(registry.lock);
    registry.tables[id].entries.assign(entries, entries + count);
    return TRUE;
}

HACCEL LoadAccelerators(void*, UINT id)
{
    AcceleratorRegistry& registry = Registry();
    std::lock_guard guard(registry.lock);
    const auto it = registry.tables.find(id);
    return it == registry.tables.end() ? nullptr : &it->second;
}

int TranslateAccelerator(HWND wnd, HACCEL table, const MSG* msg)
{
    if (!wnd || !table || !msg || msg->message != WM_KEYDOWN)
        return 0;
    const BYTE modifiers = CurrentModifiers();
    for (const ACCEL& entry : table->entries)
    {
        if (!(entry.fVirt & FVIRTKEY) || entry.key != msg->wParam)
            continue;
        if ((entry.fVirt & (FSHIFT | FCONTROL | FALT)) != modifiers)
            continue;
        wnd->SendMessage(WM_COMMAND, entry.cmd, 0);
        return 1;
    }
    return 0;
}

SHORT GetKeyState(int virtualKey)
{
    const Qt::KeyboardModifiers modifiers = QGuiApplication::keyboardModifiers();
    bool down = false;
    switch (virtualKey)
    {
    case VK_SHIFT:
        down = modifiers & Qt::ShiftModifier;
        break;
    case VK_CONTROL:
        down = modifiers & Qt::ControlModifier;
        break;
    case VK_MENU:
        down = modifiers & Qt::AltModifier;
        break;
    default:
        break;
    }
    return down ? static_cast<SHORT>(0x8000) : 0;
}
