// The text editor's strings in the plug-in's own string table.
#pragma once

#include <framework/CString.h>

constexpr UINT IDS_FIND_DIALOG = 8601;
constexpr UINT IDS_REPLACE_DIALOG = 8602;
constexpr UINT IDS_EDIT_TEXT_NOT_FOUND = 8606;
constexpr UINT IDS_MENU_UNDO_FORMAT = 8615;
constexpr UINT IDS_MENU_REDO_FORMAT = 8616;
constexpr UINT IDS_MENU_UNDO_DEFAULT = 8617;
constexpr UINT IDS_MENU_REDO_DEFAULT = 8618;

// The module handle the editor's strings are registered under.
HINSTANCE TextEditModule();
// The text of a string id of the editor, empty when there is none.
CString LoadTextEditString(UINT id);
