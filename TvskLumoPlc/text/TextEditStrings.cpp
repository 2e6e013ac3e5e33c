#include "TextEditStrings.h"

#include <ZoSupport/ResourceString.h>

namespace
{

const RESOURCE_STRING kStrings[] = {
    {IDS_EDIT_TEXT_NOT_FOUND, "Cannot find string\"%s\""},
    {IDS_MENU_UNDO_FORMAT, "&Undo %s\tCtrl+Z"},
    {IDS_MENU_REDO_FORMAT, "&Redo %s\tCtrl+Y"},
    {IDS_MENU_UNDO_DEFAULT, "&Undo\tCtrl+Z"},
    {IDS_MENU_REDO_DEFAULT, "&Redo\tCtrl+Y"},
    {8619, "Unknown"},
    {8620, "Paste"},
    {8621, "Delete Selection"},
    {8622, "Cut"},
    {8623, "Delete"},
    {8624, "Typing"},
    {8625, "Backspace"},
    {8626, "Indent"},
    {8627, "Drag And Drop"},
    {8628, "Replace"},
    {8629, "Auto Indent"},
};

char g_moduleTag;

} // namespace

HINSTANCE TextEditModule()
{
    static const HINSTANCE module = []
    {
        auto handle = reinterpret_cast<HINSTANCE>(&g_moduleTag);
        RegisterResourceStrings(handle, kStrings, static_cast<int>(std::size(kStrings)));
        return handle;
    }();
    return module;
}

CString LoadTextEditString(UINT id)
{
    return GetResourceString(id, TextEditModule());
}
