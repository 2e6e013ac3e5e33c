// The cam editor's string table, dialog layout and toolbar images.
#include <TvskCamEditor/ui/CamEditorIds.h>

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
    {IDS_CAM_TITLE, "Editor camme"},
    {IDS_CAM_VALUE, "Valore"},
    {IDS_CAM_SAVE_CHANGES, "Salvare le modifiche ?"},
    {IDS_CAM_TABLE, "Tabella valori"},
    {IDS_CAM_CALCULATE, "Calcola  funzione"},
    {IDS_CAM_ENABLE_FIRST, "Abilitare prima il calcolo"},
    {IDS_CAM_FUNCTION, "Funzione"},
    {ID_CAM_STORE, "Salva il profilo"},
    {ID_CAM_EXIT, "Esce dal dialogo"},
    {ID_CAM_WRITE, "Scrive tutti i dati"},
    {ID_CAM_READ, "Legge tutti i dati"},
    {ID_CAM_CURSOR, "Visualizza il cursore"},
    {18805, "Blocca il valore"},
    {IDS_CAM_READ_ERROR, "Errore in fase di lettura dei punti camma dal drive"},
    {IDS_CAM_PASTE_DATA, "Incolla i dati di camma"},
    {IDS_CAM_NUMBER, "Numero camma"},
    {ID_CAM_COPY, "Copia i dati di camma"},
    {ID_CAM_PASTE, "Incolla i dati camma"},
    {ID_CAM_SPEED, "On/Off grafico velocità"},
    {ID_CAM_ACCEL, "On/Off grafico accelerazione"},
    {ID_CAM_CUBIC, "Calcolo del completamento funzione mediante Cubica"},
    {ID_CAM_RESET, "Reset della camma"},
    {IDS_CAM_RESET_QUESTION, "Si sta scegliendo di resettare i dati della camma.\n\t Si vuole proseguirre?"},
    {IDS_CAM_READING, "Lettura dati camma in corso ..."},
    {IDS_CAM_WRITING, "Scrittura dati camma in corso ..."},
    {IDS_CAM_READ_CANCELLED,
     "Lettura camma annullata: letti dal drive i primi %d punti su %d, gli altri sono "
     "quelli di prima"},
    {IDS_CAM_WRITE_CANCELLED,
     "Scrittura camma annullata: il drive contiene i primi %d punti nuovi su %d, gli "
     "altri sono quelli di prima"},
};

const DlgItem kDialogItems[] = {
    {DlgKind::ComboBox, IDC_CAM_SAMPLES, 230, 4, 80, 80},
    {DlgKind::PushButton, IDC_CAM_FILL, 314, 3, 18, 14, ""},
    {DlgKind::CheckBox, IDC_CAM_ENABLE_FORMULA, 336, 5, 80, 10, "Calcola  funzione"},
    {DlgKind::ComboBox, IDC_CAM_KINDS, 230, 22, 60, 80},
    {DlgKind::PushButton, IDC_CAM_APPLY_KIND, 294, 21, 30, 14, "OK"},
    {DlgKind::EditText, IDC_CAM_FIRST_ROW, 330, 22, 28, 12},
    {DlgKind::EditText, IDC_CAM_LAST_ROW, 362, 22, 28, 12},
    {DlgKind::PushButton, IDC_CAM_IMAGE2, 394, 21, 18, 14, ""},
    {DlgKind::LText, IDC_CAM_NUMBER_LABEL, 420, 6, 60, 8, "Numero camma"},
    {DlgKind::ComboBox, IDC_CAM_NUMBER, 420, 18, 40, 80},
    {DlgKind::Frame, IDC_CAM_GRAPH, 4, 40, 300, 212},
    {DlgKind::Frame, IDC_CAM_GRID, 308, 40, 174, 212},
};
const DialogTemplate kDialog = {"Cam",        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 486, 256,
                                kDialogItems, static_cast<int>(std::size(kDialogItems))};

const UINT kToolbarIds[] = {ID_CAM_STORE, ID_CAM_EXIT,   ID_SEPARATOR, ID_CAM_COPY,
                            ID_CAM_PASTE, ID_SEPARATOR,  ID_CAM_READ,  ID_CAM_WRITE,
                            ID_SEPARATOR, ID_CAM_CURSOR, ID_CAM_SPEED, ID_SEPARATOR,
                            ID_CAM_ACCEL, ID_SEPARATOR,  ID_CAM_CUBIC, ID_CAM_RESET};

// One 16 x 15 picture per button, drawn here in the order of the buttons.
QImage DrawToolbarImages()
{
    const int buttons = 11;
    QImage strip(16 * buttons, 15, QImage::Format_RGB32);
    strip.fill(QColor(192, 192, 192));
    QPainter p(&strip);
    auto at = [&](int i)
    {
        p.resetTransform();
        p.translate(16 * i, 0);
    };
    at(0); // store: a disk
    p.fillRect(2, 1, 12, 13, QColor(0, 0, 128));
    p.fillRect(4, 2, 8, 5, Qt::white);
    at(1); // exit: a door and an arrow
    p.drawRect(3, 1, 7, 12);
    p.drawLine(8, 7, 14, 7);
    p.drawLine(12, 5, 14, 7);
    p.drawLine(12, 9, 14, 7);
    at(2); // copy: two sheets
    p.drawRect(2, 1, 7, 9);
    p.drawRect(6, 4, 7, 9);
    at(3); // paste: a board and a sheet
    p.fillRect(2, 2, 9, 11, QColor(160, 120, 60));
    p.fillRect(7, 6, 7, 8, Qt::white);
    at(4); // read: arrow down into the table
    p.drawLine(8, 1, 8, 11);
    p.drawLine(4, 7, 8, 11);
    p.drawLine(12, 7, 8, 11);
    p.drawLine(2, 13, 14, 13);
    at(5); // write: arrow up to the drive
    p.drawLine(8, 3, 8, 13);
    p.drawLine(4, 7, 8, 3);
    p.drawLine(12, 7, 8, 3);
    p.drawLine(2, 1, 14, 1);
    at(6); // cursor: a cross-hair
    p.drawLine(8, 1, 8, 14);
    p.drawLine(1, 7, 15, 7);
    at(7); // speed: a red curve
    p.setPen(Qt::red);
    p.drawArc(1, 2, 14, 20, 0, 180 * 16);
    at(8); // acceleration: a black wave
    p.setPen(Qt::black);
    p.drawArc(1, 3, 7, 9, 0, 180 * 16);
    p.drawArc(8, 3, 7, 9, 180 * 16, 180 * 16);
    at(9); // cubic: an s-curve
    p.setPen(QColor(0, 128, 0));
    p.drawArc(1, 1, 14, 13, 90 * 16, 90 * 16);
    p.drawArc(1, 1, 14, 13, 270 * 16, 90 * 16);
    at(10); // reset: a red cross
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(3, 3, 12, 12);
    p.drawLine(12, 3, 3, 12);
    p.end();
    return strip;
}

struct Registration
{
    Registration()
    {
        RegisterResourceStrings(CamEditorModule(), kStrings, static_cast<int>(std::size(kStrings)));
        AfxRegisterDialogTemplate(IDD_CAMEDIT, &kDialog, CamEditorModule());
        AfxRegisterToolBar(IDR_CAM_TOOLBAR, 16, 15, kToolbarIds, static_cast<int>(std::size(kToolbarIds)),
                           DrawToolbarImages(), CamEditorModule());
    }
};
} // namespace

HINSTANCE CamEditorModule()
{
    return reinterpret_cast<HINSTANCE>(&g_moduleTag);
}

CString CamEditorString(UINT id)
{
    static const Registration registration;
    return GetResourceString(id, CamEditorModule());
}
