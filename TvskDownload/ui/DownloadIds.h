// Resource ids and messages of the download window.
#pragma once

#include <framework/CString.h>
#include <framework/WinTypes.h>
#include <ui/UiDefs.h>

enum : UINT
{
    IDR_DOWNLOAD_TOOLBAR = 7000,
    IDD_INSERTPAR = 7001,
    IDC_INSERTPAR_ADDRESS = 7001,
    IDC_INSERTPAR_DESCR = 7002,
    IDC_INSERTPAR_ADDRESS_LABEL = 7003,
    IDC_INSERTPAR_DESCR_LABEL = 7004,
    IDS_DL_PAR = 7700,
    IDS_DL_DESCR = 7701,
    IDS_DL_VALUE = 7702,
    IDS_DL_MON_PAR = 7703,
    IDS_DL_MON_DESCR = 7704,
    IDS_DL_MON_VALUE = 7705,
    IDS_DL_PAR_LIST = 7706,
    IDS_DL_MON_LIST = 7707,
    IDS_DL_EXCLUSIVE = 7710,
    IDS_DL_FORMAT = 7713,
    ID_DL_READ = 7800,
    ID_DL_WRITE = 7801,
    ID_DL_READ_ALL = 7802,
    ID_DL_WRITE_ALL = 7803,
    ID_DL_SAVE = 7804,
    ID_DL_RESET = 7805,
    IDC_DL_MENU = 7806,
    ID_DL_MONITOR_ADD = 7807,
    ID_DL_MONITOR_REMOVE = 7808,
    ID_DL_SAVE_PLC = 7809,
    ID_DL_SAVE_CAM = 7810,
    ID_DL_TMP_ADD = 7816,
    ID_DL_TMP_REMOVE = 7817,
    IDS_DL_INSERT_CAPTION = 7818,
    IDS_DL_ADDRESS = 7819,
    ID_DL_ONLINE = 7826,
    ID_DL_SHOW_FORMAT = 7827,
    ID_DL_SAVE_MONITOR = 7830,
    IDS_DL_ALL_MENUS = 7831,
    IDC_DL_SPLITTER = 999
};

constexpr UINT WM_DL_MONITOR = WM_USER + 1;       // 1025: the monitor worker read a pass
constexpr UINT WM_DL_MENU_CHANGED = WM_USER + 10; // 1034
constexpr UINT WM_DL_SPLITTER_MOVED = 0x7E8;      // 2024: the splitter bar's drag ended

HINSTANCE DownloadModule();
// The host's text of id, else the module's own.
class CPluginIntf;
CString DownloadString(CPluginIntf* host, UINT id);
