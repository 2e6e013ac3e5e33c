// Strings and dialog layouts of the PLC editor, registered under the editor's module.
#include "PlcIds.h"

#include <Tarveskon/PluginIntf.h>
#include <ZoSupport/ResourceString.h>

#include <ui/Dialog.h>
#include <ui/Resources.h>

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

HINSTANCE Register()
{
    const auto module = reinterpret_cast<HINSTANCE>(&g_moduleTag);
    RegisterResourceStrings(module, kStrings, static_cast<int>(std::size(kStrings)));
    AfxRegisterDialogTemplate(IDD_PLC_BITSELECT, &kBitSelect, module);
    AfxRegisterDialogTemplate(IDD_PLC_FIN, &kFin, module);
    AfxRegisterDialogTemplate(IDD_PLC_PROPERTIES, &kProperties, module);
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
    CString text;
    if (host && host->GetString(id, text))
        return text;
    return PlcString(id);
}
