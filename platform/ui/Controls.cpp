// Common controls over the toolkit's widgets.
#include "Controls.h"

#include "MultiLineEdit.h"
#include "ScrollInfo.h"
#include "SliderCtrl.h"
#include "SpinButtonCtrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QScrollBar>
#include <QSizeGrip>

#include <algorithm>
#include <cstring>
#include <vector>

namespace
{

// Control notifications go to whichever window object holds the widget when they fire.
void Notify(QWidget* widget, WORD code)
{
    CWnd* wnd = CWnd::FromWidget(widget);
    CWnd* parent = wnd ? wnd->GetParent() : nullptr;
    if (parent)
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(wnd->GetDlgCtrlID()), code),
                            reinterpret_cast<LPARAM>(wnd));
}

void NotifyScroll(QScrollBar* bar, int action)
{
    const WORD code = static_cast<WORD>(ScrollCodeOf(action));
    CWnd* wnd = CWnd::FromWidget(bar);
    CWnd* parent = wnd ? wnd->GetParent() : nullptr;
    if (parent)
        parent->SendMessage(WM_VSCROLL, MAKEWPARAM(code, static_cast<WORD>(bar->sliderPosition())),
                            reinterpret_cast<LPARAM>(wnd));
}

DWORD StyleOf(QWidget* widget)
{
    const CWnd* wnd = CWnd::FromWidget(widget);
    return wnd ? wnd->GetStyle() : 0;
}

// A click on an automatic radio button checks it and clears the other radio buttons of its group:
// the sibling controls from the last one that starts a group (WS_GROUP) up to the next one.
void CheckAloneInGroup(QRadioButton* radio)
{
    radio->setChecked(true);
    QWidget* parent = radio->parentWidget();
    if (!parent)
        return;
    std::vector<QWidget*> siblings;
    for (QObject* child : parent->children())
        if (auto* widget = qobject_cast<QWidget*>(child); widget && CWnd::FromWidget(widget))
            siblings.push_back(widget);
    const auto at = std::find(siblings.begin(), siblings.end(), radio);
    if (at == siblings.end())
        return;
    auto first = at;
    while (first != siblings.begin() && !(StyleOf(*first) & WS_GROUP))
        --first;
    auto end = at + 1;
    while (end != siblings.end() && !(StyleOf(*end) & WS_GROUP))
        ++end;
    for (auto it = first; it != end; ++it)
        if (auto* other = qobject_cast<QRadioButton*>(*it); other && other != radio)
            other->setChecked(false);
}

Qt::Alignment StaticAlignment(DWORD style)
{
    switch (style & SS_TYPEMASK)
    {
    case SS_CENTER:
        return Qt::AlignHCenter | Qt::AlignTop;
    case SS_RIGHT:
        return Qt::AlignRight | Qt::AlignTop;
    case SS_BITMAP:
    case SS_ICON:
        return (style & SS_CENTERIMAGE) ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignTop);
    default:
        return (style & SS_CENTERIMAGE) ? (Qt::AlignLeft | Qt::AlignVCenter) : (Qt::AlignLeft | Qt::AlignTop);
    }
}

void StyleLabel(QLabel* label, DWORD style)
{
    label->setAlignment(StaticAlignment(style));
    const DWORD type = style & SS_TYPEMASK;
    label->setWordWrap(type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
    if (type == SS_ETCHEDFRAME || type == SS_ETCHEDHORZ || type == SS_ETCHEDVERT)
        label->setFrameStyle(QFrame::Box | QFrame::Sunken);
    else if (type == SS_BLACKFRAME)
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
    else
        label->setFrameStyle(QFrame::NoFrame);
}

QWidget* CreateButton(DWORD style, QWidget* parent)
{
    switch (style & BS_TYPEMASK)
    {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    {
        auto* box = new QCheckBox(parent);
        QObject::connect(box, &QAbstractButton::clicked, box, [box]() { Notify(box, BN_CLICKED); });
        return box;
    }
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    {
        // Groups follow WS_GROUP as in a dialog, not the toolkit's "all siblings"; checking a button
        // from code leaves the others alone.
        auto* radio = new QRadioButton(parent);
        radio->setAutoExclusive(false);
        const bool automatic = (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
        QObject::connect(radio, &QAbstractButton::clicked, radio,
                         [radio, automatic](bool checked)
                         {
                             if (automatic)
                                 CheckAloneInGroup(radio);
                             else
                                 radio->setChecked(!checked); // the owner decides
                             Notify(radio, BN_CLICKED);
                         });
        return radio;
    }
    case BS_GROUPBOX:
        return new QGroupBox(parent);
    default:
    {
        auto* button = new QPushButton(parent);
        button->setDefault((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        button->setAutoDefault(false);
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [button]() { Notify(button, BN_CLICKED); });
        return button;
    }
    }
}

} // namespace

QWidget* CreateControlWidget(CWnd*, const char* className, DWORD style, QWidget* parent)
{
    if (!className)
        return nullptr;
    if (std::strcmp(className, "msctls_trackbar32") == 0)
        return CreateTrackbarWidget(style, parent);
    if (std::strcmp(className, "msctls_updown32") == 0)
        return CreateUpDownWidget(style, parent);
    if (std::strcmp(className, "Button") == 0)
        return CreateButton(style, parent);
    if (std::strcmp(className, "Static") == 0)
    {
        auto* label = new QLabel(parent);
        label->setTextFormat(Qt::PlainText);
        StyleLabel(label, style);
        return label;
    }
    if (std::strcmp(className, "Edit") == 0 && (style & ES_MULTILINE))
        return CreateMultiLineEditWidget(style, parent);
    if (std::strcmp(className, "Edit") == 0)
    {
        auto* edit = new QLineEdit(parent);
        edit->setReadOnly((style & ES_READONLY) != 0);
        edit->setFrame(true);
        QObject::connect(edit, &QLineEdit::textChanged, edit, [edit]() { Notify(edit, EN_CHANGE); });
        return edit;
    }
    if (std::strcmp(className, "ComboBox") == 0)
    {
        auto* combo = new QComboBox(parent);
        combo->setEditable((style & 0x3) == CBS_DROPDOWN);
        QObject::connect(combo, &QComboBox::activated, combo, [combo]() { Notify(combo, CBN_SELCHANGE); });
        QObject::connect(combo, &QComboBox::editTextChanged, combo,
                         [combo]() { Notify(combo, CBN_EDITCHANGE); });
        return combo;
    }
    if (std::strcmp(className, "ListBox") == 0)
    {
        auto* list = new QListWidget(parent);
        if (style & LBS_EXTENDEDSEL)
            list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        else if (style & LBS_MULTIPLESEL)
            list->setSelectionMode(QAbstractItemView::MultiSelection);
        QObject::connect(list, &QListWidget::currentRowChanged, list,
                         [list]() { Notify(list, LBN_SELCHANGE); });
        QObject::connect(list, &QListWidget::itemDoubleClicked, list, [list]() { Notify(list, LBN_DBLCLK); });
        return list;
    }
    if (std::strcmp(className, "ScrollBar") == 0)
    {
        if (style & SBS_SIZEGRIP)
            return new QSizeGrip(parent);
        auto* bar = new QScrollBar((style & SBS_VERT) ? Qt::Vertical : Qt::Horizontal, parent);
        QObject::connect(bar, &QAbstractSlider::actionTriggered, bar,
                         [bar](int action) { NotifyScroll(bar, action); });
        return bar;
    }
    return nullptr;
}

int ControlHeight(QWidget* widget, int windowHeight)
{
    auto* combo = qobject_cast<QComboBox*>(widget);
    if (!combo)
        return windowHeight;
    const int field = combo->sizeHint().height();
    const int itemHeight = std::max(1, combo->fontMetrics().height() + 2);
    combo->setMaxVisibleItems(std::max(1, (windowHeight - field) / itemHeight));
    return std::min(field, windowHeight);
}

void ApplyControlStyle(CWnd*, QWidget* widget, DWORD oldStyle, DWORD newStyle)
{
    if (auto* label = qobject_cast<QLabel*>(widget); label && oldStyle != newStyle)
        StyleLabel(label, newStyle);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setReadOnly((newStyle & ES_READONLY) != 0);
    ApplyMultiLineEditStyle(widget, newStyle);
}

BOOL CButton::Create(const char* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("Button", caption, style, rect, parent, id);
}

int CButton::GetCheck() const
{
    if (auto* box = qobject_cast<QCheckBox*>(GetWidget()))
        return box->checkState() == Qt::PartiallyChecked ? BST_INDETERMINATE
                                                         : (box->isChecked() ? BST_CHECKED : BST_UNCHECKED);
    if (auto* button = qobject_cast<QAbstractButton*>(GetWidget()))
        return button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    return BST_UNCHECKED;
}

void CButton::SetCheck(int check)
{
    if (auto* box = qobject_cast<QCheckBox*>(GetWidget()))
    {
        box->setTristate(check == BST_INDETERMINATE || box->isTristate());
        box->setCheckState(check == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                      : (check ? Qt::Checked : Qt::Unchecked));
    }
    else if (auto* button = qobject_cast<QAbstractButton*>(GetWidget()))
    {
        button->setCheckable(true);
        button->setChecked(check != 0);
    }
}

BOOL CStatic::Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("Static", text, style, rect, parent, id);
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("Edit", nullptr, style, rect, parent, id);
}

void CEdit::SetLimitText(UINT max)
{
    if (auto* edit = qobject_cast<QLineEdit*>(GetWidget()))
        edit->setMaxLength(max == 0 ? 32767 : static_cast<int>(std::min<UINT>(max, 0x7FFFFFFF)));
}

BOOL CEdit::SetReadOnly(BOOL readOnly)
{
    ModifyStyle(readOnly ? 0 : ES_READONLY, readOnly ? ES_READONLY : 0);
    return TRUE;
}

void CEdit::SetSel(int start, int end)
{
    auto* edit = qobject_cast<QLineEdit*>(GetWidget());
    if (!edit)
        return;
    if (start == -1)
    {
        edit->deselect();
        return;
    }
    const int length = static_cast<int>(edit->text().size());
    const int last = (end < 0 || end > length) ? length : end;
    edit->setSelection(start, last - start);
}

namespace
{
QComboBox* Combo(const CWnd* wnd)
{
    return qobject_cast<QComboBox*>(wnd->GetWidget());
}
QListWidget* List(const CWnd* wnd)
{
    return qobject_cast<QListWidget*>(wnd->GetWidget());
}
QString Text(const char* text)
{
    return QString::fromUtf8(text ? text : "");
}
// Qt selects the first item put into an empty box; the platform's box shows no selection until one
// is made, and an editable box keeps the text typed into it.
template <typename Insert> void InsertKeepingSelection(QComboBox* combo, Insert insert)
{
    const bool none = combo->currentIndex() < 0;
    const QString typed = combo->currentText();
    const QSignalBlocker quiet(combo);
    insert();
    if (!none)
        return;
    combo->setCurrentIndex(-1);
    if (combo->isEditable())
        combo->setEditText(typed);
}
} // namespace

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("ComboBox", nullptr, style, rect, parent, id);
}

int CComboBox::AddString(const char* text)
{
    QComboBox* combo = Combo(this);
    if (!combo)
        return CB_ERR;
    InsertKeepingSelection(combo, [&] { combo->addItem(Text(text)); });
    return combo->count() - 1;
}

int CComboBox::InsertString(int index, const char* text)
{
    QComboBox* combo = Combo(this);
    if (!combo || index > combo->count())
        return CB_ERR;
    const int at = index < 0 ? combo->count() : index;
    InsertKeepingSelection(combo, [&] { combo->insertItem(at, Text(text)); });
    return at;
}

int CComboBox::DeleteString(UINT index)
{
    QComboBox* combo = Combo(this);
    if (!combo || static_cast<int>(index) >= combo->count())
        return CB_ERR;
    combo->removeItem(static_cast<int>(index));
    return combo->count();
}

void CComboBox::ResetContent()
{
    if (QComboBox* combo = Combo(this))
        combo->clear();
}

int CComboBox::GetCount() const
{
    const QComboBox* combo = Combo(this);
    return combo ? combo->count() : CB_ERR;
}

int CComboBox::GetCurSel() const
{
    const QComboBox* combo = Combo(this);
    return combo ? combo->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int index)
{
    QComboBox* combo = Combo(this);
    if (!combo || index >= combo->count())
        return CB_ERR;
    combo->setCurrentIndex(index < 0 ? -1 : index);
    return index < 0 ? CB_ERR : index;
}

int CComboBox::GetLBText(int index, CString& text) const
{
    const QComboBox* combo = Combo(this);
    if (!combo || index < 0 || index >= combo->count())
        return CB_ERR;
    text = combo->itemText(index).toUtf8().constData();
    return text.GetLength();
}

int CComboBox::FindStringExact(int startAfter, const char* text) const
{
    const QComboBox* combo = Combo(this);
    if (!combo)
        return CB_ERR;
    const QString wanted = Text(text);
    const int count = combo->count();
    for (int step = 1; step <= count; ++step)
    {
        const int i = (startAfter + step + count) % count;
        if (combo->itemText(i).compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return CB_ERR;
}

int CComboBox::SetItemData(int index, DWORD_PTR data)
{
    QComboBox* combo = Combo(this);
    if (!combo || index < 0 || index >= combo->count())
        return CB_ERR;
    combo->setItemData(index, QVariant::fromValue(static_cast<qulonglong>(data)));
    return 0;
}

DWORD_PTR CComboBox::GetItemData(int index) const
{
    const QComboBox* combo = Combo(this);
    if (!combo || index < 0 || index >= combo->count())
        return static_cast<DWORD_PTR>(CB_ERR);
    return static_cast<DWORD_PTR>(combo->itemData(index).toULongLong());
}

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("ListBox", nullptr, style, rect, parent, id);
}

int CListBox::AddString(const char* text)
{
    QListWidget* list = List(this);
    if (!list)
        return LB_ERR;
    list->addItem(Text(text));
    return list->count() - 1;
}

int CListBox::InsertString(int index, const char* text)
{
    QListWidget* list = List(this);
    if (!list || index > list->count())
        return LB_ERR;
    const int at = index < 0 ? list->count() : index;
    list->insertItem(at, Text(text));
    return at;
}

int CListBox::DeleteString(UINT index)
{
    QListWidget* list = List(this);
    if (!list || static_cast<int>(index) >= list->count())
        return LB_ERR;
    delete list->takeItem(static_cast<int>(index));
    return list->count();
}

void CListBox::ResetContent()
{
    if (QListWidget* list = List(this))
        list->clear();
}

int CListBox::GetCount() const
{
    const QListWidget* list = List(this);
    return list ? list->count() : LB_ERR;
}

int CListBox::GetCurSel() const
{
    const QListWidget* list = List(this);
    return list ? list->currentRow() : LB_ERR;
}

int CListBox::SetCurSel(int index)
{
    QListWidget* list = List(this);
    if (!list || index >= list->count())
        return LB_ERR;
    list->setCurrentRow(index);
    return index < 0 ? LB_ERR : index;
}

int CListBox::GetText(int index, CString& text) const
{
    const QListWidget* list = List(this);
    if (!list || index < 0 || index >= list->count())
        return LB_ERR;
    text = list->item(index)->text().toUtf8().constData();
    return text.GetLength();
}

int CListBox::SetItemData(int index, DWORD_PTR data)
{
    QListWidget* list = List(this);
    if (!list || index < 0 || index >= list->count())
        return LB_ERR;
    list->item(index)->setData(Qt::UserRole, QVariant::fromValue(static_cast<qulonglong>(data)));
    return 0;
}

DWORD_PTR CListBox::GetItemData(int index) const
{
    const QListWidget* list = List(this);
    if (!list || index < 0 || index >= list->count())
        return static_cast<DWORD_PTR>(LB_ERR);
    return static_cast<DWORD_PTR>(list->item(index)->data(Qt::UserRole).toULongLong());
}

int CListBox::SetSel(int index, BOOL select)
{
    QListWidget* list = List(this);
    if (!list || index >= list->count())
        return LB_ERR;
    // -1 stands for every entry.
    for (int i = index < 0 ? 0 : index; i < (index < 0 ? list->count() : index + 1); ++i)
        list->item(i)->setSelected(select != FALSE);
    return 0;
}

int CListBox::GetSel(int index) const
{
    const QListWidget* list = List(this);
    if (!list || index < 0 || index >= list->count())
        return LB_ERR;
    return list->item(index)->isSelected() ? 1 : 0;
}

int CListBox::GetSelCount() const
{
    const QListWidget* list = List(this);
    if (!list)
        return LB_ERR;
    int count = 0;
    for (int i = 0; i < list->count(); ++i)
        count += list->item(i)->isSelected() ? 1 : 0;
    return count;
}

int CListBox::GetSelItems(int maxItems, int* items) const
{
    const QListWidget* list = List(this);
    if (!list || !items)
        return LB_ERR;
    int count = 0;
    for (int i = 0; i < list->count() && count < maxItems; ++i)
        if (list->item(i)->isSelected())
            items[count++] = i;
    return count;
}

BOOL CScrollBar::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("ScrollBar", nullptr, style, rect, parent, id);
}

void CScrollBar::SetScrollRange(int minPos, int maxPos, BOOL)
{
    if (auto* bar = qobject_cast<QScrollBar*>(GetWidget()))
        bar->setRange(minPos, maxPos);
}

int CScrollBar::SetScrollPos(int pos, BOOL)
{
    auto* bar = qobject_cast<QScrollBar*>(GetWidget());
    if (!bar)
        return 0;
    const int old = bar->value();
    bar->setValue(pos);
    return old;
}
