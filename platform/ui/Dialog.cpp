// Dialog creation from layout tables, modal loops and the dialog keys.
#include "Dialog.h"
#include "Controls.h"
#include "Language.h"
#include "MultiLineEdit.h"
#include "Resources.h"
#include "SliderCtrl.h"
#include "SpinButtonCtrl.h"

#include <com/Guid.h>

#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QWidget>

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace
{

struct TemplateTable
{
    std::mutex lock;
    std::map<std::pair<HINSTANCE, UINT>, const DialogTemplate*> byId;
    std::map<std::string, const DialogTemplate*> byName;
};

TemplateTable& Templates()
{
    static TemplateTable table;
    return table;
}

struct ItemClass
{
    const char* className;
    DWORD style;
};

ItemClass ClassOf(const DlgItem& item)
{
    switch (item.kind)
    {
    case DlgKind::PushButton:
        return {"Button", BS_PUSHBUTTON | WS_TABSTOP};
    case DlgKind::DefPushButton:
        return {"Button", BS_DEFPUSHBUTTON | WS_TABSTOP};
    case DlgKind::CheckBox:
        return {"Button", BS_AUTOCHECKBOX | WS_TABSTOP};
    case DlgKind::RadioButton:
        return {"Button", BS_AUTORADIOBUTTON};
    case DlgKind::GroupBox:
        return {"Button", BS_GROUPBOX};
    case DlgKind::LText:
        return {"Static", SS_LEFT | WS_GROUP};
    case DlgKind::CText:
        return {"Static", SS_CENTER | WS_GROUP};
    case DlgKind::RText:
        return {"Static", SS_RIGHT | WS_GROUP};
    case DlgKind::Frame:
        return {"Static", SS_ETCHEDFRAME};
    case DlgKind::EditText:
        return {"Edit", ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP};
    case DlgKind::ComboBox:
        return {"ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP};
    case DlgKind::ListBox:
        return {"ListBox", LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP};
    case DlgKind::Control:
        return {item.className ? item.className : "Static", 0};
    }
    return {"Static", 0};
}

constexpr const char* kDialogClass = "#32770";

// The object of a template's control is of the control's own class, so that a dialog may take
// GetDlgItem's answer as the control it is (a combo box as CComboBox).
std::unique_ptr<CWnd> NewControlObject(const char* className, DWORD style)
{
    const auto is = [className](const char* name) { return className && std::strcmp(className, name) == 0; };
    if (is("Button"))
        return std::make_unique<CButton>();
    if (is("Static"))
        return std::make_unique<CStatic>();
    if (is("Edit"))
        return (style & ES_MULTILINE) ? std::make_unique<CMultiLineEdit>() : std::make_unique<CEdit>();
    if (is("ComboBox"))
        return std::make_unique<CComboBox>();
    if (is("ListBox"))
        return std::make_unique<CListBox>();
    if (is("ScrollBar"))
        return std::make_unique<CScrollBar>();
    if (is("msctls_trackbar32"))
        return std::make_unique<CSliderCtrl>();
    if (is("msctls_updown32"))
        return std::make_unique<CSpinButtonCtrl>();
    return std::make_unique<CWnd>();
}

} // namespace

CSize GetDialogBaseUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return CSize((letters / 26 + 1) / 2, metrics.height());
}

CSize GetDialogBaseUnits()
{
    return GetDialogBaseUnits(QApplication::font());
}

CRect DialogUnitsToPixels(const CRect& units, CSize baseUnits)
{
    return CRect(MulDiv(units.left, baseUnits.cx, 4), MulDiv(units.top, baseUnits.cy, 8),
                 MulDiv(units.right, baseUnits.cx, 4), MulDiv(units.bottom, baseUnits.cy, 8));
}

CRect DialogUnitsToPixels(const CRect& units)
{
    return DialogUnitsToPixels(units, GetDialogBaseUnits());
}

BOOL AfxRegisterDialogTemplate(UINT id, const DialogTemplate* dialogTemplate, HINSTANCE module)
{
    if (!dialogTemplate)
        return FALSE;
    TemplateTable& table = Templates();
    std::lock_guard guard(table.lock);
    const auto [it, added] = table.byId.emplace(std::pair{module, id}, dialogTemplate);
    return added || it->second == dialogTemplate ? TRUE : FALSE;
}

BOOL AfxRegisterDialogTemplate(const char* name, const DialogTemplate* dialogTemplate)
{
    if (!dialogTemplate || !name || !*name)
        return FALSE;
    TemplateTable& table = Templates();
    std::lock_guard guard(table.lock);
    const auto [it, added] = table.byName.emplace(name, dialogTemplate);
    return added || it->second == dialogTemplate ? TRUE : FALSE;
}

const DialogTemplate* AfxFindDialogTemplate(UINT id)
{
    TemplateTable& table = Templates();
    std::lock_guard guard(table.lock);
    for (const HINSTANCE module : {AfxGetResourceHandle(), static_cast<HINSTANCE>(nullptr)})
    {
        const auto it = table.byId.find({module, id});
        if (it != table.byId.end())
            return it->second;
    }
    for (const auto& [key, dialogTemplate] : table.byId)
        if (key.second == id)
            return dialogTemplate;
    return nullptr;
}

const DialogTemplate* AfxFindDialogTemplate(const char* name)
{
    if (!name)
        return nullptr;
    TemplateTable& table = Templates();
    std::lock_guard guard(table.lock);
    const auto it = table.byName.find(name);
    return it == table.byName.end() ? nullptr : it->second;
}

CDialog::CDialog()
{
    MapDefaultCommands();
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_pParentWnd(parent), m_nIDTemplate(templateId)
{
    MapDefaultCommands();
}

CDialog::CDialog(const char* templateName, CWnd* parent)
    : m_pParentWnd(parent), m_strTemplateName(templateName)
{
    MapDefaultCommands();
}

void CDialog::MapDefaultCommands()
{
    MapCommand(IDOK, [this]() { OnOK(); });
    MapCommand(IDCANCEL, [this]() { OnCancel(); });
}

const DialogTemplate* CDialog::FindTemplate() const
{
    return m_strTemplateName.IsEmpty() ? AfxFindDialogTemplate(m_nIDTemplate)
                                       : AfxFindDialogTemplate(m_strTemplateName.GetString());
}

void CDialog::MapDialogRect(RECT* rect) const
{
    if (rect)
        *rect = DialogUnitsToPixels(CRect(*rect), m_baseUnits.cx > 0 ? m_baseUnits : GetDialogBaseUnits());
}

BOOL CDialog::CreateFromTemplate(const DialogTemplate* dialogTemplate, CWnd* parent)
{
    if (!dialogTemplate)
        return FALSE;
    m_ended = false;
    m_controls.clear();
    m_baseUnits = GetDialogBaseUnits();
    const CRect client =
        DialogUnitsToPixels(CRect(0, 0, dialogTemplate->cx, dialogTemplate->cy), m_baseUnits);
    // A child template makes a window inside the parent (a property page); any other a popup.
    const DWORD style = dialogTemplate->style & WS_CHILD ? dialogTemplate->style & ~(WS_VISIBLE | WS_POPUP)
                                                         : (dialogTemplate->style & ~WS_VISIBLE) | WS_POPUP;
    if (!CreateEx(0, kDialogClass, AfxTranslatedText(dialogTemplate->title), style, client, parent, 0))
        return FALSE;
    for (int i = 0; i < dialogTemplate->itemCount; ++i)
    {
        const DlgItem& item = dialogTemplate->items[i];
        const ItemClass itemClass = ClassOf(item);
        const CRect r =
            DialogUnitsToPixels(CRect(item.x, item.y, item.x + item.cx, item.y + item.cy), m_baseUnits);
        // A class name in braces is a component's class id: the component makes the control's window.
        const std::optional<GUID> clsid =
            item.kind == DlgKind::Control && item.className && item.className[0] == '{'
                ? tvsk::com::GuidFromString(item.className)
                : std::nullopt;
        const DWORD itemStyle = itemClass.style | item.style | WS_CHILD | WS_VISIBLE;
        std::unique_ptr<CWnd> control =
            clsid ? std::make_unique<CWnd>() : NewControlObject(itemClass.className, itemStyle);
        const CString text = AfxTranslatedText(item.text);
        const BOOL created =
            clsid ? control->CreateControl(*clsid, item.text, itemStyle, r, this, item.id)
                  : control->CreateEx(0, itemClass.className, item.text ? text.GetString() : nullptr,
                                      itemStyle, r, this, item.id);
        if (!created)
        {
            DestroyWindow();
            return FALSE;
        }
        m_controls.push_back(std::move(control));
    }
    if (!(dialogTemplate->style & WS_CHILD))
        CenterWindow();
    if (!SendMessage(WM_INITDIALOG, 0, 0) && !GetSafeHwnd())
        return FALSE;
    return GetSafeHwnd() ? TRUE : FALSE;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_CLOSE:
        // Closing by the frame is Cancel.
        SendMessage(WM_COMMAND, IDCANCEL, 0);
        return 0;
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

INT_PTR CDialog::DoModal()
{
    const DialogTemplate* dialogTemplate = FindTemplate();
    CWnd* parent = m_pParentWnd;
    m_modal = true;
    if (!CreateFromTemplate(dialogTemplate, parent))
    {
        m_modal = false;
        return -1;
    }
    if (!m_ended)
    {
        GetWidget()->setWindowModality(Qt::ApplicationModal);
        ShowWindow(SW_SHOW);
        QEventLoop loop;
        m_loop = &loop;
        loop.exec(QEventLoop::DialogExec);
        m_loop = nullptr;
    }
    DestroyWindow();
    m_modal = false;
    return m_result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_nIDTemplate = templateId;
    m_strTemplateName.Empty();
    m_pParentWnd = parent;
    return CreateIndirect(FindTemplate(), parent);
}

BOOL CDialog::Create(const char* templateName, CWnd* parent)
{
    m_strTemplateName = templateName;
    m_pParentWnd = parent;
    return CreateIndirect(FindTemplate(), parent);
}

BOOL CDialog::CreateIndirect(const DialogTemplate* dialogTemplate, CWnd* parent)
{
    m_modal = false;
    if (!CreateFromTemplate(dialogTemplate, parent))
        return FALSE;
    if (dialogTemplate->style & WS_VISIBLE)
        ShowWindow(SW_SHOW);
    return TRUE;
}

void CDialog::EndDialog(int result)
{
    m_result = result;
    m_ended = true;
    if (m_loop)
        m_loop->exit(0);
    else if (!m_modal && GetSafeHwnd())
        ShowWindow(SW_HIDE);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (!msg || msg->message != WM_KEYDOWN)
        return FALSE;
    // A control that takes the key itself (a text view breaking the line on Return) keeps it.
    if ((msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) && msg->hwnd && msg->hwnd != this &&
        (msg->hwnd->SendMessage(WM_GETDLGCODE, msg->wParam, 0) & DLGC_WANTMESSAGE))
        return FALSE;
    if (msg->wParam == VK_RETURN)
    {
        SendMessage(WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    if (msg->wParam == VK_ESCAPE)
    {
        SendMessage(WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
    return FALSE;
}

BOOL CDialog::OnInitDialog()
{
    return TRUE;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
