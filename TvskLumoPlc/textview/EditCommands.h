// Command ids of the text views, the keys that reach them (accelerator table 22901) and the
// editor's resource ids.
#pragma once

#include <framework/WinTypes.h>
#include <ui/FrameworkCommands.h>

constexpr UINT ID_INDICATOR_OVR = 0xE702;

// The editor's resources
constexpr UINT IDR_TEXT_CURSOR_MARGIN = 22900;
constexpr UINT IDR_TEXT_ACCELERATORS = 22901;
constexpr UINT ID_EDIT_CLEAR_BOOKMARKS = 37220;
constexpr UINT ID_EDIT_TOGGLE_BOOKMARK = 37223;
constexpr UINT ID_EDIT_NEXT_BOOKMARK = 37224;

// The editor's commands
enum : UINT
{
    ID_EDIT_CHAR_LEFT = 32800,
    ID_EDIT_EXT_CHAR_LEFT,
    ID_EDIT_CHAR_RIGHT,
    ID_EDIT_EXT_CHAR_RIGHT,
    ID_EDIT_WORD_LEFT,
    ID_EDIT_EXT_WORD_LEFT,
    ID_EDIT_WORD_RIGHT,
    ID_EDIT_EXT_WORD_RIGHT,
    ID_EDIT_LINE_UP,
    ID_EDIT_EXT_LINE_UP,
    ID_EDIT_LINE_DOWN,
    ID_EDIT_EXT_LINE_DOWN,
    ID_EDIT_SCROLL_UP,
    ID_EDIT_SCROLL_DOWN,
    ID_EDIT_PAGE_UP,
    ID_EDIT_EXT_PAGE_UP,
    ID_EDIT_PAGE_DOWN,
    ID_EDIT_EXT_PAGE_DOWN,
    ID_EDIT_HOME,
    ID_EDIT_EXT_HOME,
    ID_EDIT_LINE_END,
    ID_EDIT_EXT_LINE_END,
    ID_EDIT_TEXT_BEGIN,
    ID_EDIT_EXT_TEXT_BEGIN,
    ID_EDIT_TEXT_END,
    ID_EDIT_EXT_TEXT_END,
    ID_EDIT_FIND_NEXT,
    ID_EDIT_FIND_PREVIOUS,
    ID_EDIT_PREV_BOOKMARK,
    ID_EDIT_CLEAR_ALL_BOOKMARKS,
    ID_EDIT_DELETE_BACK,
    ID_EDIT_TAB,
    ID_EDIT_UNTAB,
    ID_EDIT_SWITCH_OVRMODE,
    ID_EDIT_TOGGLE_BOOKMARK0,                             // ten: Ctrl+0 .. Ctrl+9
    ID_EDIT_GO_BOOKMARK0 = ID_EDIT_TOGGLE_BOOKMARK0 + 10, // ten: Alt+0 .. Alt+9
    ID_INDICATOR_POSITION = ID_EDIT_GO_BOOKMARK0 + 10,
    ID_INDICATOR_CRLF,
};

// Registers accelerator table 22901 once; answers its handle.
const struct AcceleratorTable* TextEditAccelerators();
