// Strings, layouts and toolbar pictures of the download window.
#include <TvskDownload/ui/DownloadIds.h>

#include <Tarveskon/PluginIntf.h>
#include <ZoSupport/ResourceString.h>

#include <ui/Dialog.h>
#include <ui/Resources.h>
#include <ui/ToolBar.h>

#include <QImage>
#include <QPainter>

#include <iterator>

namespace
{
int g_moduleTag;

const RESOURCE_STRING kStrings[] = {
    {IDS_DL_PAR, "Par"},
    {IDS_DL_DESCR, "Descrizione"},
    {IDS_DL_VALUE, "Valore"},
    {IDS_DL_MON_PAR, "Par"},
    {IDS_DL_MON_DESCR, "Descrizione"},
    {IDS_DL_MON_VALUE, "Valore"},
    {IDS_DL_PAR_LIST, "Lista parametri"},
    {IDS_DL_MON_LIST, "Parametri monitor"},
    {IDS_DL_EXCLUSIVE, "Abilitare la finestra di download in modalità esclusiva?"},
    {IDS_DL_FORMAT, "Formato"},
    {ID_DL_READ, "Leggi parametro"},
    {ID_DL_WRITE, "Scrivi parametro"},
    {ID_DL_READ_ALL, "Leggi tutto"},
    {ID_DL_WRITE_ALL, "Scrivi tutto"},
    {ID_DL_SAVE, "Salva parametri"},
    {ID_DL_RESET, "Reset drive"},
    {IDC_DL_MENU, "Lista menu"},
    {ID_DL_MONITOR_ADD, "Aggiungi al monitor"},
    {ID_DL_MONITOR_REMOVE, "Rimuovi dal monitor"},
    {ID_DL_SAVE_PLC, "Abilitazione salvataggio LumoPLC"},
    {ID_DL_SAVE_CAM, "Abilitazione salvataggio camma"},
    {ID_DL_TMP_ADD, "Aggiungi parametro temporaneo"},
    {ID_DL_TMP_REMOVE, "Rimuovi parametro temporaneo"},
    {IDS_DL_INSERT_CAPTION, "Inserimento parametro"},
    {IDS_DL_ADDRESS, "Indirizzo"},
    {ID_DL_ONLINE, "Online"},
    {ID_DL_SHOW_FORMAT, "Formato Parametri"},
    {ID_DL_SAVE_MONITOR, "Salva parametri temporanei e monitor"},
    {IDS_DL_ALL_MENUS, "Tutti i parametri"},
};

const DlgItem kInsertItems[] = {
    {DlgKind::LText, IDC_INSERTPAR_ADDRESS_LABEL, 7, 9, 50, 8, "Indirizzo"},
    {DlgKind::EditText, IDC_INSERTPAR_ADDRESS, 60, 7, 80, 12},
    {DlgKind::LText, IDC_INSERTPAR_DESCR_LABEL, 7, 27, 50, 8, "Descrizione"},
    {DlgKind::EditText, IDC_INSERTPAR_DESCR, 60, 25, 140, 12},
    {DlgKind::DefPushButton, IDOK, 94, 46, 50, 14, "OK"},
    {DlgKind::PushButton, IDCANCEL, 150, 46, 50, 14, "Cancel"},
};
const DialogTemplate kInsertDialog = {"Inserimento parametro",
                                      WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                      207,
                                      66,
                                      kInsertItems,
                                      static_cast<int>(std::size(kInsertItems))};

const UINT kToolbarIds[] = {ID_DL_READ,           ID_DL_READ_ALL,   ID_DL_SAVE,        ID_DL_ONLINE,
                            ID_SEPARATOR,         IDC_DL_MENU,      ID_SEPARATOR,      ID_DL_MONITOR_ADD,
                            ID_DL_MONITOR_REMOVE, ID_SEPARATOR,     ID_DL_SHOW_FORMAT, ID_SEPARATOR,
                            ID_DL_TMP_ADD,        ID_DL_TMP_REMOVE, ID_SEPARATOR,      ID_DL_SAVE_MONITOR};

// Pictures of the download toolbar's buttons, 16 x 15 each, in button order (the menu list's place
// included).
enum DownloadPicture
{
    PictureRead,
    PictureReadAll,
    PictureSave,
    PictureOnline,
    PictureMenu,
    PictureMonitorAdd,
    PictureMonitorRemove,
    PictureFormat,
    PictureTemporaryAdd,
    PictureTemporaryRemove,
    PictureSaveMonitor,
    PictureCount
};

void DrawSheet(QPainter& p, int x, int y)
{
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(x, y, 8, 10);
    p.drawLine(x + 2, y + 3, x + 6, y + 3);
    p.drawLine(x + 2, y + 5, x + 6, y + 5);
    p.drawLine(x + 2, y + 7, x + 6, y + 7);
}

void DrawDownArrow(QPainter& p, int x, int y)
{
    p.setPen(QPen(QColor(0, 0, 160), 2));
    p.drawLine(x, y, x, y + 6);
    p.drawLine(x - 3, y + 3, x, y + 6);
    p.drawLine(x + 3, y + 3, x, y + 6);
}

void DrawDisk(QPainter& p, int x, int y)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(x, y, 11, 11);
    p.fillRect(x + 3, y + 1, 6, 4, Qt::white);
    p.fillRect(x + 2, y + 7, 8, 4, QColor(192, 192, 192));
}

void DrawScreen(QPainter& p, int x, int y)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(0, 96, 0));
    p.drawRect(x, y, 10, 7);
    p.setPen(QColor(0, 255, 0));
    p.drawLine(x + 2, y + 5, x + 5, y + 2);
    p.drawLine(x + 5, y + 2, x + 8, y + 4);
    p.setPen(Qt::black);
    p.drawLine(x + 5, y + 8, x + 5, y + 9);
    p.drawLine(x + 2, y + 10, x + 8, y + 10);
}

void DrawPlus(QPainter& p, int x, int y)
{
    p.setPen(QPen(QColor(0, 128, 0), 2));
    p.drawLine(x + 3, y, x + 3, y + 6);
    p.drawLine(x, y + 3, x + 6, y + 3);
}

void DrawMinus(QPainter& p, int x, int y)
{
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(x, y + 3, x + 6, y + 3);
}

QImage DrawImages()
{
    QImage strip(16 * PictureCount, 15, QImage::Format_RGB32);
    strip.fill(QColor(192, 192, 192));
    QPainter p(&strip);
    const auto at = [](int picture) { return 16 * picture; };
    DrawSheet(p, at(PictureRead) + 1, 4); // read one: an arrow into a sheet
    DrawDownArrow(p, at(PictureRead) + 12, 1);
    DrawSheet(p, at(PictureReadAll) + 3, 1); // read all: an arrow into a pile
    DrawSheet(p, at(PictureReadAll) + 1, 4);
    DrawDownArrow(p, at(PictureReadAll) + 13, 3);
    DrawDisk(p, at(PictureSave) + 2, 2);  // save in the drive: a disk
    p.setPen(QPen(QColor(0, 128, 0), 2)); // on line: two plugs joined
    p.drawLine(at(PictureOnline) + 1, 7, at(PictureOnline) + 14, 7);
    p.fillRect(at(PictureOnline) + 2, 4, 4, 7, Qt::black);
    p.fillRect(at(PictureOnline) + 10, 4, 4, 7, Qt::black);
    DrawScreen(p, at(PictureMonitorAdd) + 1, 3); // monitor add and remove: a screen with plus or minus
    DrawPlus(p, at(PictureMonitorAdd) + 9, 0);
    DrawScreen(p, at(PictureMonitorRemove) + 1, 3);
    DrawMinus(p, at(PictureMonitorRemove) + 9, 0);
    p.fillRect(at(PictureFormat) + 1, 4, 14, 8, QColor(255, 255, 192)); // format: a ruler
    p.setPen(Qt::black);
    p.drawRect(at(PictureFormat) + 1, 4, 13, 7);
    for (int tick = 0; tick < 5; ++tick)
        p.drawLine(at(PictureFormat) + 3 + 2 * tick, 4, at(PictureFormat) + 3 + 2 * tick, tick % 2 ? 6 : 8);
    DrawSheet(p, at(PictureTemporaryAdd) + 1, 4); // temporary parameter add and remove: a sheet
    DrawPlus(p, at(PictureTemporaryAdd) + 9, 0);
    DrawSheet(p, at(PictureTemporaryRemove) + 1, 4);
    DrawMinus(p, at(PictureTemporaryRemove) + 9, 0);
    DrawDisk(p, at(PictureSaveMonitor) + 1, 3); // save temporaries and monitor: a disk and a screen
    DrawScreen(p, at(PictureSaveMonitor) + 6, 0);
    p.end();
    return strip;
}

struct Registration
{
    Registration()
    {
        RegisterResourceStrings(DownloadModule(), kStrings, static_cast<int>(std::size(kStrings)));
        AfxRegisterDialogTemplate(IDD_INSERTPAR, &kInsertDialog, DownloadModule());
        AfxRegisterToolBar(IDR_DOWNLOAD_TOOLBAR, 16, 15, kToolbarIds,
                           static_cast<int>(std::size(kToolbarIds)), DrawImages(), DownloadModule());
    }
};
} // namespace

HINSTANCE DownloadModule()
{
    return reinterpret_cast<HINSTANCE>(&g_moduleTag);
}

CString DownloadString(CPluginIntf* host, UINT id)
{
    static const Registration registration;
    CString text;
    if (host && host->GetString(id, text) && !text.IsEmpty())
        return text;
    return GetResourceString(id, DownloadModule());
}
