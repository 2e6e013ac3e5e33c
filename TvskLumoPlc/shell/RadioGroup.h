// Makes radio buttons of a dialog one exclusive group, apart from the dialog's other radios.
#pragma once

#include <framework/WinTypes.h>

#include <initializer_list>

class CWnd;

void GroupRadioButtons(CWnd& dialog, std::initializer_list<UINT> ids);
