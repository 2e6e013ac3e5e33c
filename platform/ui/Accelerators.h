// Accelerator tables registered in code by id, and the key state they are matched against.
#pragma once

#include "UiDefs.h"

#include <vector>

constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

constexpr UINT VK_MENU = 0x12;
constexpr UINT VK_F2 = VK_F1 + 1;
constexpr UINT VK_F3 = VK_F1 + 2;

struct ACCEL
{
    BYTE fVirt;
    WORD key;
    WORD cmd;
};

struct AcceleratorTable
{
    std::vector<ACCEL> entries;
};
using HACCEL = const AcceleratorTable*;

// Registers a table under its id, replacing an earlier one; FALSE for an empty table.
BOOL AfxRegisterAccelerators(UINT id, const ACCEL* entries, int count);
// The table registered under the id; null when there is none.
HACCEL LoadAccelerators(void* module, UINT id);
// A key-down message that matches an entry (key and exactly its Shift, Ctrl and Alt) becomes
// WM_COMMAND of the entry's command (as a menu command), sent to the window; answers whether it did.
int TranslateAccelerator(HWND wnd, HACCEL table, const MSG* msg);
// The state of a key as the last input event left it: the high bit set while it is down. Only the
// modifier keys are known.
SHORT GetKeyState(int virtualKey);
