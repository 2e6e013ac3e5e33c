// Resource ids of the cam editor: dialog, controls, commands and strings.
#pragma once

#include <framework/CString.h>
#include <framework/WinTypes.h>

enum : UINT
{
    IDD_CAMEDIT = 18000,
    IDC_CAM_GRAPH = 18001,
    IDC_CAM_GRID = 18002,
    IDR_CAM_TOOLBAR = 18003,
    IDC_CAM_ENABLE_FORMULA = 18005,
    IDC_CAM_FILL = 18007,
    IDC_CAM_IMAGE2 = 18008,
    IDC_CAM_SAMPLES = 18009,
    IDC_CAM_KINDS = 18010,
    IDC_CAM_NUMBER = 18011,
    IDC_CAM_FIRST_ROW = 18013,
    IDC_CAM_LAST_ROW = 18014,
    IDC_CAM_APPLY_KIND = 18019,
    IDC_CAM_NUMBER_LABEL = 18020,

    IDS_CAM_TITLE = 2007,
    IDS_CAM_VALUE = 18700,
    IDS_CAM_SAVE_CHANGES = 18701,
    IDS_CAM_TABLE = 18702,
    IDS_CAM_CALCULATE = 18703,
    IDS_CAM_ENABLE_FIRST = 18704,
    IDS_CAM_FUNCTION = 18705,
    IDS_CAM_DRIVE_ERROR = 18807,
    IDS_CAM_READ_ERROR = 18808,
    IDS_CAM_PASTE_DATA = 18809,
    IDS_CAM_NUMBER = 18812,
    IDS_CAM_RESET_QUESTION = 18826,
    IDS_CAM_READING = 18827,
    IDS_CAM_WRITING = 18828,
    IDS_CAM_READ_CANCELLED = 18829,
    IDS_CAM_WRITE_CANCELLED = 18830,

    ID_CAM_STORE = 18800,
    ID_CAM_EXIT = 18801,
    ID_CAM_WRITE = 18802,
    ID_CAM_READ = 18803,
    ID_CAM_CURSOR = 18804,
    ID_CAM_COPY = 18813,
    ID_CAM_PASTE = 18814,
    ID_CAM_SPEED = 18822,
    ID_CAM_ACCEL = 18823,
    ID_CAM_CUBIC = 18824,
    ID_CAM_RESET = 18825
};

// The module handle the cam editor's strings, dialog and images are registered under.
HINSTANCE CamEditorModule();
// The module's own text of id (empty when it has none).
CString CamEditorString(UINT id);
