// Strings, dialog layout and toolbar pictures of the custom motor database.
#include <TvskCustomDb/ui/CustomDbIds.h>

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
    {8000, "Tipo"},
    {8001, "Taglia"},
    {8002, "rpm"},
    {8003, "Coppia"},
    {8004, "Tensione"},
    {8005, "Poli"},
    {8006, "In"},
    {8007, "Ip"},
    {8008, "Rff"},
    {8009, "Lff"},
    {8010, "Kt"},
    {8011, "Freno"},
    {8012, "Encoder"},
    {8013, "Poli res."},
    {8014, "Fase res."},
    {8015, "Imp. enc."},
    {8016, "rpm Max"},
    {8021, "Asincrono"},
    {8022, "Cos(phi)"},
    {8023, "Vel. scorrim."},
    {8024, "Vel. base"},
    {8025, "ID"},
    {IDS_MOTORDB_ASK_SAVE, "Il database è stato modificato.\n\nVuoi salvare le modifiche ?"},
    {IDS_MOTORDB_CAPTION, "Database motori utente"},
    {IDS_MOTORDB_YES, "Si"},
    {IDS_MOTORDB_NO, "No"},
    {IDS_MOTORDB_SAVE_FAILED, "Il database motori utente non è stato salvato; il file resta com'era.\n%s"},
    {IDS_MOTORDB_TIP_SAVE, "Salva il database"},
    {IDS_MOTORDB_TIP_ADD, "Aggiungi motore"},
    {IDS_MOTORDB_TIP_DELETE, "Elimina motore"},
    {IDS_MOTORDB_TIP_CLOSE, "Chiudi"},
    {IDS_MOTORDB_NOT_A_NUMBER, "«%s» non è un numero: la cella resta com'era."},
    {IDS_MOTORDB_ID_RANGE,
     "L'ID di un motore utente è un numero intero da 30000 a 32767: la cella resta com'era."},
    {IDS_MOTORDB_BAD_ID_SAVE,
     "Il motore della riga %d ha l'ID %s, fuori dall'intervallo da 30000 a 32767: il "
     "database non è stato salvato."},
};

const DlgItem kItems[] = {{DlgKind::Frame, IDC_MOTORDB_GRID, 0, 20, 600, 200}};
const DialogTemplate kDialog = {"Database motori",
                                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                                600,
                                220,
                                kItems,
                                static_cast<int>(std::size(kItems))};
const UINT kToolbarIds[] = {ID_MOTORDB_SAVE,   ID_SEPARATOR, ID_MOTORDB_ADD,
                            ID_MOTORDB_DELETE, ID_SEPARATOR, ID_MOTORDB_CLOSE};

QImage DrawImages()
{
    QImage strip(16 * 4, 15, QImage::Format_RGB32);
    strip.fill(QColor(192, 192, 192));
    QPainter p(&strip);
    p.fillRect(2, 1, 12, 13, QColor(0, 0, 128)); // save: a disk
    p.fillRect(4, 2, 8, 5, Qt::white);
    p.setPen(QPen(QColor(0, 128, 0), 2)); // add: a green plus
    p.drawLine(16 + 8, 3, 16 + 8, 12);
    p.drawLine(16 + 3, 7, 16 + 13, 7);
    p.setPen(QPen(Qt::red, 2)); // delete: a red minus
    p.drawLine(32 + 3, 7, 32 + 13, 7);
    p.setPen(Qt::black); // close: a door and an arrow
    p.drawRect(48 + 3, 1, 7, 12);
    p.drawLine(48 + 8, 7, 48 + 14, 7);
    p.end();
    return strip;
}

struct Registration
{
    Registration()
    {
        RegisterResourceStrings(CustomDbModule(), kStrings, static_cast<int>(std::size(kStrings)));
        AfxRegisterDialogTemplate(IDD_MOTORDB, &kDialog, CustomDbModule());
        AfxRegisterToolBar(IDR_MOTORDB_TOOLBAR, 16, 15, kToolbarIds, static_cast<int>(std::size(kToolbarIds)),
                           DrawImages(), CustomDbModule());
    }
};
} // namespace

HINSTANCE CustomDbModule()
{
    return reinterpret_cast<HINSTANCE>(&g_moduleTag);
}

CString CustomDbString(UINT id)
{
    static const Registration registration;
    return GetResourceString(id, CustomDbModule());
}
