// Strings and dialog layouts of the PLC editor, registered under the editor's module.
#include "PlcIds.h"

#include <Tarveskon/PluginIntf.h>
#include <ZoSupport/ResourceString.h>

#include <ui/Dialog.h>
#include <ui/Resources.h>
#include <ui/ToolBar.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <iterator>

namespace
{
char g_moduleTag;

const RESOURCE_STRING kStrings[] = {
    {IDS_PLC_RELEASE, "Release:"},
    {IDS_PLC_VERSION, "Versione:"},
    {IDS_PLC_AUTHOR, "Autore:"},
    {IDS_PLC_NOTE, "Note:"},
    {IDS_PLC_PROPERTIES_CAPTION, "Proprietà LumoPLC"},
    {IDS_PLC_CONFIGURATION, "Configurazione:"},
    {IDS_PLC_DATE, "Data:"},
    {IDS_PLC_PAGE, "Pagina: %d di %d"},
    {IDS_PLC_IL_TRANSITION, "Errore in fase di transizione a modalità testuale"},
    {IDS_PLC_IL_OPERAND_COUNT, "Errato numero di operandi alla riga %d"},
    {IDS_PLC_IL_OPERAND, "Operando non valido alla riga %d"},
    {IDS_PLC_IL_INSTRUCTION_LINE, "Istruzione non valida alla riga %d"},
    {IDS_PLC_IL_INSTRUCTION, "Istruzione non valida: %s"},
    {IDS_PLC_IL_NO_END, "Programma senza istruzione END di terminazione"},
    {IDS_PLC_NEW_CODE_CONFIRM, "Questa azione provoca la cancellazione del PLC esistente"},
    {IDS_PLC_LOAD_ERROR, "Errore in fase di caricamento PLC"},
    {IDS_PLC_RECORD_ERROR, "Errore in fase di generazione record istruzioni"},
    {IDS_PLC_COMM_ERROR, "Errore di comunicazione con il drive"},
    {IDS_PLC_CODE_LABEL, "Istruzioni:"},
    {IDS_PLC_IDENTICAL, "Il codice PLC sul drive è identico a quello di Tarveskon"},
    {IDS_PLC_MAYBE_WRONG, "Attenzione, il programma LumoPlc potrebbe essere errato"},
    {IDS_PLC_NOT_READ, "Nessun programma letto dal drive: il LumoPLC del drive non è abilitato. LumoPlc "
                       "resta off line"},
    {IDS_PLC_NOT_PRINTED, "Nulla è stato stampato: nessuna stampante installata risponde. Per un file PDF "
                          "scegliere la stampa su file"},
    {IDS_PLC_NO_HELP, "La guida non è disponibile per LumoPlc"},
    {IDS_PLC_LEAVE_MODIFIED, "Il sorgente PLC è stato modificato, se si esce da LumoPlc le modifiche saranno "
                             "perse.\nUscire comunque?"},
    {ID_PLC_COMMENT, "Inserisci un commento"},
    {ID_PLC_EXIT, "Esce da LumoPLC"},
    {ID_PLC_READ, "Carica programma PLC dal drive"},
    {ID_PLC_WRITE, "Scarica il programma PLC nel drive"},
    {ID_PLC_NEW_CODE, "Nuovo codice"},
    {ID_PLC_PRINT, "Stampa"},
    {ID_PLC_SAVE_CODE, "Salva il codice"},
    {ID_PLC_PRINT_PREVIEW, "Anteprima di stampa"},
    {ID_PLC_PROPERTIES, "Proprietà del progetto"},
    {ID_PLC_IL_MODE, "Modalità lista istruzioni"},
    {ID_PLC_ONLINE, "Modalità on-line/off-line"},
    {ID_PLC_DELETE, "Elimina oggetto selezionato"},
    {ID_PLC_NET_AFTER, "Nuova rete dopo quella selezionata"},
    {ID_PLC_NET_BEFORE, "Nuova rete prima di quella selezionata"},
    {ID_PLC_LDN, "Inserisci LDN"},
    {ID_PLC_LD, "Inserisci LD"},
    {ID_PLC_OR, "Inserisci OR"},
    {ID_PLC_ORN, "Inserisci ORN"},
    {ID_PLC_OUT, "Inserisci OUT"},
    {ID_PLC_OUTN, "Inserisci OUTN"},
    {ID_PLC_AND, "Inserisci AND"},
    {ID_PLC_ANDN, "Inserisci ANDN"},
    {ID_PLC_ADD, "Inserisci ADD"},
    {ID_PLC_SUB, "Inserisci SUB"},
    {ID_PLC_MUL, "Inserisci MUL"},
    {ID_PLC_DIV, "Inserisci DIV"},
    {ID_PLC_SET, "Inserisci SET"},
    {ID_PLC_RST, "Inserisci RST"},
    {ID_PLC_FIN, "Inserisci FIN"},
    {IDS_PLC_COMMENT, "Commento"},
    {IDS_PLC_PARAM_SELECT, "Selezione parametro"},
    {ID_IL_LADDER, "Torna a modalità Ladder Diagram"},
    {ID_IL_FIND, "Cerca"},
    {ID_IL_CUT, "Taglia"},
    {ID_IL_COPY, "Copia"},
    {ID_IL_PASTE, "Incolla"},
    {ID_IL_TOGGLE_BOOKMARK, "Inserisci segnalibro"},
    {ID_IL_NEXT_BOOKMARK, "Vai a segnalibro"},
    {ID_IL_PRINT, "Stampa"},
    {ID_IL_UNDO, "Annulla"},
    {ID_IL_REDO, "Rifai"},
    {IDS_PLC_RANGE, "Inserire un numero intero da %d a %d"},
};

constexpr DWORD kSmallDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

const DlgItem kBitSelectItems[] = {
    {DlgKind::LText, 0xFFFF, 8, 10, 24, 8, "Pa ="},
    {DlgKind::EditText, IDC_BITSEL_PARAM, 34, 8, 36, 12, nullptr, ES_AUTOHSCROLL | WS_TABSTOP},
    {DlgKind::Control, IDC_BITSEL_PARAM_SPIN, 70, 8, 10, 12, "", 0, "msctls_updown32"},
    {DlgKind::LText, IDC_BITSEL_BIT_LABEL, 8, 28, 24, 8, "y ="},
    {DlgKind::EditText, IDC_BITSEL_BIT, 34, 26, 36, 12, nullptr, ES_AUTOHSCROLL | WS_TABSTOP},
    {DlgKind::Control, IDC_BITSEL_BIT_SPIN, 70, 26, 10, 12, "", 0, "msctls_updown32"},
    {DlgKind::DefPushButton, IDOK, 92, 6, 50, 14, "Insert"},
    {DlgKind::PushButton, IDCANCEL, 92, 24, 50, 14, "Exit"},
};
const DialogTemplate kBitSelect = {"Selezione bit",
                                   kSmallDialogStyle,
                                   150,
                                   46,
                                   kBitSelectItems,
                                   static_cast<int>(std::size(kBitSelectItems))};

const DlgItem kFinItems[] = {
    {DlgKind::RadioButton, IDC_FIN_POSITIVE, 8, 8, 50, 10, "FIN", WS_GROUP | BS_AUTORADIOBUTTON},
    {DlgKind::RadioButton, IDC_FIN_NEGATED, 8, 22, 50, 10, "FIN NEG", BS_AUTORADIOBUTTON},
    {DlgKind::RadioButton, IDC_FIN_PR40, 64, 8, 50, 10, "Pr.40", WS_GROUP | BS_AUTORADIOBUTTON},
    {DlgKind::RadioButton, IDC_FIN_PR150, 64, 22, 50, 10, "Pr.150", BS_AUTORADIOBUTTON},
    {DlgKind::LText, 0xFFFF, 8, 40, 24, 8, "y ="},
    {DlgKind::EditText, IDC_FIN_BIT, 34, 38, 36, 12, nullptr, ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP},
    {DlgKind::Control, IDC_FIN_BIT_SPIN, 70, 38, 10, 12, "", 0, "msctls_updown32"},
    {DlgKind::DefPushButton, IDOK, 122, 6, 50, 14, "OK"},
    {DlgKind::PushButton, IDCANCEL, 122, 24, 50, 14, "Cancel"},
};
const DialogTemplate kFin = {"FIN y.x", kSmallDialogStyle, 180,
                             58,        kFinItems,         static_cast<int>(std::size(kFinItems))};

const DlgItem kPropertiesItems[] = {
    {DlgKind::GroupBox, 0xFFFF, 6, 4, 228, 92, " Info "},
    {DlgKind::LText, IDC_PROP_RELEASE_LABEL, 14, 18, 44, 8, "Release :"},
    {DlgKind::EditText, IDC_PROP_RELEASE, 60, 16, 166, 12, nullptr, ES_AUTOHSCROLL | WS_TABSTOP},
    {DlgKind::LText, IDC_PROP_VERSION_LABEL, 14, 36, 44, 8, "Versione :"},
    {DlgKind::EditText, IDC_PROP_VERSION, 60, 34, 166, 12, nullptr, ES_AUTOHSCROLL | WS_TABSTOP},
    {DlgKind::LText, IDC_PROP_AUTHOR_LABEL, 14, 54, 44, 8, "Autore :"},
    {DlgKind::EditText, IDC_PROP_AUTHOR, 60, 52, 166, 12, nullptr, ES_AUTOHSCROLL | WS_TABSTOP},
    {DlgKind::LText, IDC_PROP_NOTE_LABEL, 14, 72, 44, 8, "Note :"},
    {DlgKind::EditText, IDC_PROP_NOTE, 60, 70, 166, 12, nullptr, ES_AUTOHSCROLL | WS_TABSTOP},
    {DlgKind::DefPushButton, IDOK, 126, 102, 50, 14, "OK"},
    {DlgKind::PushButton, IDCANCEL, 182, 102, 50, 14, "Cancel"},
};
const DialogTemplate kProperties = {"Proprietà LumoPLC",
                                    kSmallDialogStyle,
                                    240,
                                    122,
                                    kPropertiesItems,
                                    static_cast<int>(std::size(kPropertiesItems))};

const DlgItem kIlItems[] = {
    {DlgKind::Frame, IDC_IL_PLACEHOLDER, 0, 16, 400, 264},
};
const DialogTemplate kIl = {"Lumo Plc (IL)",
                            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                            400,
                            280,
                            kIlItems,
                            static_cast<int>(std::size(kIlItems))};
const UINT kIlToolbarIds[] = {
    ID_IL_CUT,           ID_IL_COPY,   ID_IL_PASTE, ID_SEPARATOR, ID_IL_UNDO,
    ID_IL_REDO,          ID_SEPARATOR, ID_IL_FIND,  ID_SEPARATOR, ID_IL_TOGGLE_BOOKMARK,
    ID_IL_NEXT_BOOKMARK, ID_SEPARATOR, ID_IL_PRINT, ID_SEPARATOR, ID_IL_LADDER};

// One 16 x 15 picture a button, in button order: cut, copy, paste, undo, redo, find, bookmark,
// next bookmark, print, back to the ladder.
QByteArray DrawIlImages()
{
    constexpr int kImages = 10;
    QImage strip(16 * kImages, 15, QImage::Format_RGB32);
    strip.fill(QColor(192, 192, 192));
    QPainter p(&strip);
    p.setPen(Qt::black);
    p.drawLine(3, 2, 11, 12); // cut: crossed blades
    p.drawLine(11, 2, 3, 12);
    p.drawRect(16 + 2, 1, 7, 9); // copy: two sheets
    p.drawRect(16 + 6, 4, 7, 9);
    p.fillRect(32 + 3, 3, 10, 11, QColor(128, 96, 0)); // paste: a board and a sheet
    p.fillRect(32 + 6, 6, 7, 8, Qt::white);
    p.drawArc(48 + 3, 3, 10, 9, 30 * 16, 240 * 16); // undo and redo: arcs
    p.drawArc(64 + 3, 3, 10, 9, -90 * 16, 240 * 16);
    p.drawEllipse(80 + 2, 2, 7, 7); // find: a lens
    p.drawLine(80 + 8, 8, 80 + 13, 13);
    p.fillRect(96 + 5, 2, 6, 11, QColor(0, 0, 160));  // bookmark
    p.fillRect(112 + 3, 2, 6, 11, QColor(0, 0, 160)); // next bookmark: with an arrow
    p.drawLine(112 + 10, 7, 112 + 14, 7);
    p.drawRect(128 + 2, 6, 12, 6); // print: a printer
    p.fillRect(128 + 4, 2, 8, 4, Qt::white);
    p.setPen(QPen(QColor(0, 128, 0), 2)); // back to the ladder: two rails and a rung
    p.drawLine(144 + 3, 1, 144 + 3, 14);
    p.drawLine(144 + 13, 1, 144 + 13, 14);
    p.drawLine(144 + 3, 7, 144 + 13, 7);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    strip.save(&buffer, "BMP");
    return bytes;
}

const DlgItem kMainItems[] = {
    {DlgKind::Frame, IDC_PLC_VIEW_PLACEHOLDER, 0, 16, 480, 260},
    {DlgKind::LText, IDC_PLC_CODE_LABEL, 300, 4, 60, 8, "Istruzioni:"},
    {DlgKind::LText, IDC_PLC_CODE_COUNT, 362, 4, 60, 8, ""},
    {DlgKind::LText, IDC_PLC_STATE, 424, 2, 50, 13, ""},
};
const DialogTemplate kMain = {"Lumo Plc", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                              480,        300,
                              kMainItems, static_cast<int>(std::size(kMainItems))};
const UINT kMainToolbarIds[] = {ID_PLC_NEW_CODE, ID_PLC_PROPERTIES, ID_SEPARATOR,      ID_PLC_ONLINE,
                                ID_PLC_READ,     ID_PLC_WRITE,      ID_SEPARATOR,      ID_PLC_PRINT,
                                ID_SEPARATOR,    ID_PLC_IL_MODE,    ID_SEPARATOR,      ID_PLC_DELETE,
                                ID_SEPARATOR,    ID_PLC_NET_AFTER,  ID_PLC_NET_BEFORE, ID_SEPARATOR,
                                ID_PLC_COMMENT,  ID_SEPARATOR,      ID_PLC_EXIT};

// One 16 x 15 picture a button of the main toolbar, in button order: new code, properties, on line,
// read from the drive, write to the drive, print, instruction list, delete, network after, network
// before, comment, exit.
QByteArray DrawMainImages()
{
    constexpr int kImages = 12;
    QImage strip(16 * kImages, 15, QImage::Format_RGB32);
    strip.fill(QColor(192, 192, 192));
    QPainter p(&strip);
    const QColor drive(0, 0, 160);
    const QColor arrow(0, 128, 0);
    p.setPen(Qt::black);
    p.fillRect(2, 1, 10, 13, Qt::white); // new code: a blank sheet with a folded corner
    p.drawRect(2, 1, 10, 13);
    p.drawLine(9, 1, 12, 4);
    p.fillRect(16 + 2, 2, 11, 11, Qt::white); // properties: a sheet with lines
    p.drawRect(16 + 2, 2, 11, 11);
    for (int y = 5; y <= 11; y += 3)
        p.drawLine(16 + 4, y, 16 + 11, y);
    p.fillRect(32 + 1, 4, 5, 7, drive); // on line: drive and computer joined by a cable
    p.drawRect(32 + 10, 3, 5, 5);
    p.drawLine(32 + 6, 7, 32 + 10, 7);
    p.fillRect(48 + 9, 2, 6, 11, drive); // read: an arrow out of the drive
    p.setPen(QPen(arrow, 2));
    p.drawLine(48 + 8, 7, 48 + 1, 7);
    p.drawLine(48 + 1, 7, 48 + 4, 4);
    p.drawLine(48 + 1, 7, 48 + 4, 10);
    p.fillRect(64 + 9, 2, 6, 11, drive); // write: an arrow into the drive
    p.drawLine(64 + 1, 7, 64 + 8, 7);
    p.drawLine(64 + 8, 7, 64 + 5, 4);
    p.drawLine(64 + 8, 7, 64 + 5, 10);
    p.setPen(Qt::black);
    p.drawRect(80 + 2, 6, 12, 6); // print: a printer with its sheet
    p.fillRect(80 + 4, 2, 8, 4, Qt::white);
    for (int y = 2; y <= 12; y += 3) // instruction list: rows of text
        p.drawLine(96 + 2, y, 96 + (y % 2 ? 13 : 10), y);
    p.setPen(QPen(QColor(192, 0, 0), 2)); // delete: a red cross
    p.drawLine(112 + 3, 3, 112 + 12, 12);
    p.drawLine(112 + 12, 3, 112 + 3, 12);
    for (int i = 0; i < 2; ++i) // network after and before: a rung and a plus below or above it
    {
        const int x = 128 + 16 * i;
        const int rung = i == 0 ? 4 : 11;
        const int plus = i == 0 ? 11 : 4;
        p.setPen(Qt::black);
        p.drawLine(x + 1, 1, x + 1, 14);
        p.drawLine(x + 1, rung, x + 14, rung);
        p.setPen(QPen(arrow, 2));
        p.drawLine(x + 5, plus, x + 11, plus);
        p.drawLine(x + 8, plus - 3, x + 8, plus + 3);
    }
    p.setPen(Qt::black); // comment: a speech bubble
    p.fillRect(160 + 1, 2, 14, 8, QColor(255, 255, 192));
    p.drawRect(160 + 1, 2, 14, 8);
    p.drawLine(160 + 4, 10, 160 + 3, 13);
    p.drawLine(160 + 3, 13, 160 + 7, 10);
    p.drawRect(176 + 2, 1, 8, 13); // exit: an open door and an arrow
    p.setPen(QPen(QColor(192, 0, 0), 2));
    p.drawLine(176 + 6, 7, 176 + 14, 7);
    p.drawLine(176 + 14, 7, 176 + 11, 4);
    p.drawLine(176 + 14, 7, 176 + 11, 10);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    strip.save(&buffer, "BMP");
    return bytes;
}

// The instruction buttons in toolbar order; each shows its mnemonic under the picture.
const UINT kInstrToolbarIds[] = {ID_PLC_LD,   ID_PLC_LDN, ID_PLC_OR,   ID_PLC_ORN, ID_PLC_AND,
                                 ID_PLC_ANDN, ID_PLC_OUT, ID_PLC_OUTN, ID_PLC_ADD, ID_PLC_SUB,
                                 ID_PLC_MUL,  ID_PLC_DIV, ID_PLC_SET,  ID_PLC_RST, ID_PLC_FIN};

// One 16 x 15 ladder symbol a button: contacts, negated contacts, coils, boxes.
QByteArray DrawInstrImages()
{
    enum Symbol
    {
        Contact,
        NegatedContact,
        Coil,
        NegatedCoil,
        Box,
        LetterCoil
    };
    const Symbol kSymbols[] = {Contact,    NegatedContact,
                               Contact,    NegatedContact,
                               Contact,    NegatedContact,
                               Coil,       NegatedCoil,
                               Box,        Box,
                               Box,        Box,
                               LetterCoil, LetterCoil,
                               Box};
    const char* const kLetters[] = {"", "", "", "", "", "", "", "", "+", "-", "x", "/", "S", "R", "F"};
    constexpr int kImages = static_cast<int>(std::size(kSymbols));
    QImage strip(16 * kImages, 15, QImage::Format_RGB32);
    strip.fill(QColor(192, 192, 192));
    QPainter p(&strip);
    QFont font = p.font();
    font.setPixelSize(8);
    p.setFont(font);
    p.setPen(Qt::black);
    for (int i = 0; i < kImages; ++i)
    {
        const int x = 16 * i;
        switch (kSymbols[i])
        {
        case Contact:
        case NegatedContact:
            p.drawLine(x, 7, x + 5, 7);
            p.drawLine(x + 5, 3, x + 5, 11);
            p.drawLine(x + 10, 3, x + 10, 11);
            p.drawLine(x + 10, 7, x + 15, 7);
            if (kSymbols[i] == NegatedContact)
                p.drawLine(x + 4, 12, x + 11, 2);
            break;
        case Coil:
        case NegatedCoil:
        case LetterCoil:
            p.drawArc(x + 3, 2, 10, 11, 100 * 16, 160 * 16);
            p.drawArc(x + 3, 2, 10, 11, -80 * 16, 160 * 16);
            if (kSymbols[i] == NegatedCoil)
                p.drawLine(x + 5, 12, x + 11, 2);
            p.drawText(QRect(x, 0, 16, 15), Qt::AlignCenter, kLetters[i]);
            break;
        case Box:
            p.drawRect(x + 2, 1, 11, 12);
            p.drawText(QRect(x + 2, 1, 12, 13), Qt::AlignCenter, kLetters[i]);
            break;
        }
    }
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    strip.save(&buffer, "BMP");
    return bytes;
}

HINSTANCE Register()
{
    const auto module = reinterpret_cast<HINSTANCE>(&g_moduleTag);
    RegisterResourceStrings(module, kStrings, static_cast<int>(std::size(kStrings)));
    AfxRegisterDialogTemplate(IDD_PLC_BITSELECT, &kBitSelect, module);
    AfxRegisterDialogTemplate(IDD_PLC_FIN, &kFin, module);
    AfxRegisterDialogTemplate(IDD_PLC_PROPERTIES, &kProperties, module);
    AfxRegisterDialogTemplate(IDD_PLC_IL, &kIl, module);
    AfxRegisterDialogTemplate(IDD_PLC_MAIN, &kMain, module);
    static const ToolBarTemplate mainToolbar = {16, 15, kMainToolbarIds,
                                                static_cast<int>(std::size(kMainToolbarIds))};
    AfxRegisterResource(IDR_PLC_MAIN_TOOLBAR, "TOOLBAR", &mainToolbar, sizeof(mainToolbar), module);
    static const QByteArray mainImages = DrawMainImages();
    AfxRegisterResource(IDR_PLC_MAIN_TOOLBAR, RT_BITMAP, mainImages.constData(),
                        static_cast<size_t>(mainImages.size()), module);
    static const ToolBarTemplate instrToolbar = {16, 15, kInstrToolbarIds,
                                                 static_cast<int>(std::size(kInstrToolbarIds))};
    AfxRegisterResource(IDR_PLC_INSTR_TOOLBAR, "TOOLBAR", &instrToolbar, sizeof(instrToolbar), module);
    static const QByteArray instrImages = DrawInstrImages();
    AfxRegisterResource(IDR_PLC_INSTR_TOOLBAR, RT_BITMAP, instrImages.constData(),
                        static_cast<size_t>(instrImages.size()), module);
    static const ToolBarTemplate ilToolbar = {16, 15, kIlToolbarIds,
                                              static_cast<int>(std::size(kIlToolbarIds))};
    AfxRegisterResource(IDR_PLC_IL_TOOLBAR, "TOOLBAR", &ilToolbar, sizeof(ilToolbar), module);
    static const QByteArray ilImages = DrawIlImages();
    AfxRegisterResource(IDR_PLC_IL_TOOLBAR, RT_BITMAP, ilImages.constData(),
                        static_cast<size_t>(ilImages.size()), module);
    return module;
}
} // namespace

HINSTANCE PlcModule()
{
    static const HINSTANCE module = Register();
    return module;
}

CString PlcString(UINT id)
{
    return GetResourceString(id, PlcModule());
}

CString PlcHostString(CPluginIntf* host, UINT id)
{
    // A host table without the text answers an empty one: the plug-in's own text stands then.
    CString text;
    if (host && host->GetString(id, text) && !text.IsEmpty())
        return text;
    return PlcString(id);
}
