// Resource ids of the PLC editor's dialogs, toolbars and texts.
#pragma once

#include <framework/CString.h>
#include <framework/WinTypes.h>

class CPluginIntf;

enum : UINT
{
    // Bit selection
    IDD_PLC_BITSELECT = 12005,
    IDC_BITSEL_PARAM = 12006,
    IDC_BITSEL_BIT = 12008,
    IDC_BITSEL_PARAM_SPIN = 12010,
    IDC_BITSEL_BIT_SPIN = 12011,
    IDC_BITSEL_BIT_LABEL = 12028,
    // FIN
    IDD_PLC_FIN = 12008,
    IDC_FIN_BIT = 12017,
    IDC_FIN_BIT_SPIN = 12011,
    IDC_FIN_POSITIVE = 12019,
    IDC_FIN_NEGATED = 12021,
    IDC_FIN_PR40 = 12025,
    IDC_FIN_PR150 = 12027,
    // Project properties
    IDD_PLC_PROPERTIES = 12017,
    IDC_PROP_RELEASE = 1001,
    IDC_PROP_VERSION = 1164,
    IDC_PROP_AUTHOR = 1152,
    IDC_PROP_NOTE = 1154,
    IDC_PROP_RELEASE_LABEL = 12034,
    IDC_PROP_VERSION_LABEL = 12035,
    IDC_PROP_AUTHOR_LABEL = 12036,
    IDC_PROP_NOTE_LABEL = 12037,
    // Instruction-list mode
    IDD_PLC_IL = 12018,
    IDR_PLC_IL_TOOLBAR = 12021,
    IDC_IL_PLACEHOLDER = 12038,
    IDC_IL_VIEW = 101,
    ID_IL_LADDER = 12043,
    ID_IL_FIND = 12044,
    ID_IL_CUT = 12045,
    ID_IL_COPY = 12046,
    ID_IL_PASTE = 12047,
    ID_IL_TOGGLE_BOOKMARK = 12048,
    ID_IL_NEXT_BOOKMARK = 12049,
    ID_IL_PRINT = 12050,
    ID_IL_UNDO = 12051,
    ID_IL_REDO = 12052,
    // Texts
    IDS_PLC_RELEASE = 12828,
    IDS_PLC_VERSION = 12829,
    IDS_PLC_AUTHOR = 12830,
    IDS_PLC_NOTE = 12831,
    IDS_PLC_PROPERTIES_CAPTION = 12832,
    IDS_PLC_CONFIGURATION = 12833,
    IDS_PLC_DATE = 12834,
    IDS_PLC_PAGE = 12835,
    IDS_PLC_IL_TRANSITION = 12837,
    IDS_PLC_IL_OPERAND_COUNT = 12838,
    IDS_PLC_IL_OPERAND = 12839,
    IDS_PLC_IL_INSTRUCTION_LINE = 12840,
    IDS_PLC_IL_INSTRUCTION = 12841,
    IDS_PLC_IL_NO_END = 12842,
    IDS_PLC_RANGE = 12950
};

// The editor's module (its resources are registered on first use).
HINSTANCE PlcModule();
// The module's own text of id (empty when it has none).
CString PlcString(UINT id);
// The host's text of id (host slot 5) when it has one, else the module's own.
CString PlcHostString(CPluginIntf* host, UINT id);
