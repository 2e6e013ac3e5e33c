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

QImage DrawImages()
{
    const int count = 11;
    QImage strip(16 * count, 15, QImage::Format_RGB32);
    strip.fill(QColor(192, 192, 192));
    QPainter p(&strip);
    const char* letters[count] = {"R", "RA", "S", "On", "M", "", "", "Fmt", "T", "", "TM"};
    QFont font("Arial");
    font.setPixelSize(8);
    p.setFont(font);
    for (int i = 0; i < count; ++i)
        p.drawText(QRect(16 * i, 0, 16, 15), Qt::AlignCenter, letters[i]);
    p.setPen(QPen(QColor(0, 128, 0), 2)); // monitor add and temporary add: plus
    p.drawLine(16 * 5 + 8, 3, 16 * 5 + 8, 12);
    p.drawLine(16 * 5 + 3, 7, 16 * 5 + 13, 7);
    p.setPen(QPen(Qt::red, 2)); // monitor remove and temporary remove: minus
    p.drawLine(16 * 6 + 3, 7, 16 * 6 + 13, 7);
    p.drawLine(16 * 9 + 3, 7, 16 * 9 + 13, 7);
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
