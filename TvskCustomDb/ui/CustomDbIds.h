// Resource ids of the custom motor database plug-in.
#pragma once

#include <framework/CString.h>
#include <framework/WinTypes.h>

enum : UINT
{
    IDD_MOTORDB = 12000,
    IDC_MOTORDB_GRID = 12003,
    IDR_MOTORDB_TOOLBAR = 7000,
    ID_MOTORDB_ADD = 7816,
    ID_MOTORDB_DELETE = 7817,
    IDS_MOTORDB_HEADER_FIRST = 8000,
    IDS_MOTORDB_ASK_SAVE = 8017,
    IDS_MOTORDB_CAPTION = 8018,
    IDS_MOTORDB_YES = 8019,
    IDS_MOTORDB_NO = 8020,
    IDS_MOTORDB_SAVE_FAILED = 8026,
    // The toolbar's tool tips (the host's texts of the button ids are the download window's).
    IDS_MOTORDB_TIP_SAVE = 8027,
    IDS_MOTORDB_TIP_ADD = 8028,
    IDS_MOTORDB_TIP_DELETE = 8029,
    IDS_MOTORDB_TIP_CLOSE = 8030,
    // Refused entries and saves.
    IDS_MOTORDB_NOT_A_NUMBER = 8031,
    IDS_MOTORDB_ID_RANGE = 8032,
    IDS_MOTORDB_BAD_ID_SAVE = 8033,
    ID_MOTORDB_SAVE = 57603,
    ID_MOTORDB_CLOSE = 40002
};

HINSTANCE CustomDbModule();
// The module's own text of id (empty when it has none).
CString CustomDbString(UINT id);
