// Toolbar buttons over tool buttons placed by our own left-to-right layout.
#include "ToolBar.h"

#include "Resources.h"

#include <QIcon>
#include <QPixmap>
#include <QToolButton>
#include <QWidget>

namespace
{
constexpr int kBorder = 2;
constexpr int kSeparatorWidth = 8;
} // namespace

CToolBar::CToolBar() = default;

CToolBar::~CToolBar()
{
    DropButtonWidgets();
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateEx(parent, TBSTYLE_FLAT, style, CRect(0, 0, 0, 0), id);
}

BOOL CToolBar::CreateEx(CWnd* parent, DWORD, DWORD style, CRect, UINT id)
{
    if (!parent || !parent->GetSafeHwnd())
        return FALSE;
    CRect client;
    parent->GetClientRect(&client);
    const CRect bar(0, 0, client.Width(), m_buttonSize.cy + 2 * kBorder);
    return CWnd::CreateEx(0, "ToolbarWindow32", nullptr, (style | WS_CHILD) & ~CBRS_TOP, bar, parent, id);
}

BOOL CToolBar::LoadToolBar(UINT resourceId)
{
    const ResourceData* resource = AfxFindResource(resourceId, "TOOLBAR");
    if (!resource || resource->size != sizeof(ToolBarTemplate))
        return FALSE;
    const auto* layout = static_cast<const ToolBarTemplate*>(resource->data);
    m_imageSize = CSize(layout->imageWidth, layout->imageHeight);
    m_buttonSize = CSize(layout->imageWidth + 7, layout->imageHeight + 7);
    m_images.LoadBitmap(resourceId);
    if (!SetButtons(layout->ids, layout->count))
        return FALSE;
    int image = 0;
    for (Button& button : m_buttons)
        if (!(button.style & TBBS_SEPARATOR))
            button.imageOrWidth = image++;
    for (int i = 0; i < GetCount(); ++i)
        SyncButton(i);
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* ids, int count)
{
    if (count < 0 || (count > 0 && !ids))
        return FALSE;
    DropButtonWidgets();
    m_buttons.clear();
    int image = 0;
    for (int i = 0; i < count; ++i)
    {
        const bool separator = ids[i] == ID_SEPARATOR;
        m_buttons.push_back(
            {ids[i], separator ? TBBS_SEPARATOR : TBBS_BUTTON, separator ? kSeparatorWidth : image, nullptr});
        if (!separator)
            ++image;
    }
    for (int i = 0; i < GetCount(); ++i)
        SyncButton(i);
    Relayout();
    return TRUE;
}

void CToolBar::SetSizes(SIZE button, SIZE image)
{
    m_buttonSize = button;
    m_imageSize = image;
    Relayout();
}

int CToolBar::CommandToIndex(UINT id) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (m_buttons[static_cast<size_t>(i)].id == id)
            return i;
    return -1;
}

UINT CToolBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_buttons[static_cast<size_t>(index)].id : ID_SEPARATOR;
}

void CToolBar::GetItemRect(int index, RECT* rect) const
{
    if (!rect)
        return;
    *rect = CRect();
    int x = kBorder;
    for (int i = 0; i < GetCount(); ++i)
    {
        const Button& button = m_buttons[static_cast<size_t>(i)];
        const int width = (button.style & TBBS_SEPARATOR) ? button.imageOrWidth : m_buttonSize.cx;
        if (i == index)
        {
            *rect = CRect(x, kBorder, x + width, kBorder + m_buttonSize.cy);
            return;
        }
        x += width;
    }
}

UINT CToolBar::GetButtonStyle(int index) const
{
    return index >= 0 && index < GetCount() ? m_buttons[static_cast<size_t>(index)].style : 0;
}

void CToolBar::SetButtonStyle(int index, UINT style)
{
    if (index < 0 || index >= GetCount())
        return;
    m_buttons[static_cast<size_t>(index)].style = style;
    SyncButton(index);
}

void CToolBar::GetButtonInfo(int index, UINT& id, UINT& style, int& image) const
{
    if (index < 0 || index >= GetCount())
    {
        id = ID_SEPARATOR;
        style = 0;
        image = 0;
        return;
    }
    const Button& button = m_buttons[static_cast<size_t>(index)];
    id = button.id;
    style = button.style;
    image = button.imageOrWidth;
}

void CToolBar::SetButtonInfo(int index, UINT id, UINT style, int imageOrWidth)
{
    if (index < 0 || index >= GetCount())
        return;
    Button& button = m_buttons[static_cast<size_t>(index)];
    button.id = id;
    button.style = style;
    button.imageOrWidth = imageOrWidth;
    SyncButton(index);
    Relayout();
}

CSize CToolBar::CalcSize() const
{
    int width = 2 * kBorder;
    for (const Button& button : m_buttons)
        width += (button.style & TBBS_SEPARATOR) ? button.imageOrWidth : m_buttonSize.cx;
    return {width, m_buttonSize.cy + 2 * kBorder};
}

void CToolBar::OnUpdateCmdUI(CWnd* target, BOOL disableIfNoHandler)
{
    CToolCmdUI state(this);
    for (int i = 0; i < GetCount(); ++i)
    {
        const Button& button = m_buttons[static_cast<size_t>(i)];
        if (button.style & TBBS_SEPARATOR)
            continue;
        state.m_nID = button.id;
        state.m_nIndex = static_cast<UINT>(i);
        // The toolbar's own handlers first, then the target's.
        if (!OnCmdMsg(button.id, CN_UPDATE_COMMAND_UI, &state))
            state.DoUpdate(target, disableIfNoHandler);
    }
    UpdateDialogControls(target, disableIfNoHandler);
}

void CToolBar::DropButtonWidgets()
{
    for (Button& button : m_buttons)
    {
        delete button.widget;
        button.widget = nullptr;
    }
}

void CToolBar::SyncButton(int index)
{
    Button& button = m_buttons[static_cast<size_t>(index)];
    if (button.style & TBBS_SEPARATOR)
    {
        delete button.widget;
        button.widget = nullptr;
        return;
    }
    if (!GetWidget())
        return;
    if (!button.widget)
    {
        button.widget = new QToolButton(GetWidget());
        button.widget->setAutoRaise(true);
        QToolButton* widget = button.widget.data();
        QObject::connect(widget, &QToolButton::clicked, widget,
                         [this, widget]()
                         {
                             for (const Button& b : m_buttons)
                                 if (b.widget == widget && GetParent())
                                     GetParent()->SendMessage(WM_COMMAND,
                                                              MAKEWPARAM(static_cast<WORD>(b.id), 0), 0);
                         });
        button.widget->show();
    }
    if (m_images.IsCreated())
    {
        const QImage strip =
            m_images.GetImage().copy(button.imageOrWidth * m_imageSize.cx, 0, m_imageSize.cx, m_imageSize.cy);
        button.widget->setIcon(QIcon(QPixmap::fromImage(strip)));
        button.widget->setIconSize(QSize(m_imageSize.cx, m_imageSize.cy));
    }
    button.widget->setText(QString::fromUtf8(button.text.GetString()));
    button.widget->setToolTip(QString::fromUtf8(button.toolTip.GetString()));
    button.widget->setToolButtonStyle(button.text.IsEmpty() ? Qt::ToolButtonIconOnly
                                                            : Qt::ToolButtonTextUnderIcon);
    button.widget->setEnabled(!(button.style & TBBS_DISABLED));
    button.widget->setCheckable((button.style & TBBS_CHECKBOX) != 0);
    button.widget->setChecked((button.style & (TBBS_CHECKED | TBBS_INDETERMINATE)) != 0);
    button.widget->setDown((button.style & TBBS_PRESSED) != 0);
}

void CToolBar::Relayout()
{
    for (int i = 0; i < GetCount(); ++i)
    {
        Button& button = m_buttons[static_cast<size_t>(i)];
        if (!button.widget && !(button.style & TBBS_SEPARATOR))
            SyncButton(i);
        if (!button.widget)
            continue;
        CRect r;
        GetItemRect(i, &r);
        button.widget->setGeometry(r.left, r.top, r.Width(), r.Height());
    }
}

void CToolCmdUI::Enable(BOOL on)
{
    m_bEnableChanged = true;
    UINT style = m_toolBar->GetButtonStyle(static_cast<int>(m_nIndex));
    if (on)
        style &= ~TBBS_DISABLED;
    else
        style = (style & ~TBBS_PRESSED) | TBBS_DISABLED;
    m_toolBar->SetButtonStyle(static_cast<int>(m_nIndex), style);
}

void CToolCmdUI::SetCheck(int check)
{
    UINT style = m_toolBar->GetButtonStyle(static_cast<int>(m_nIndex)) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
    style |= TBBS_CHECKBOX;
    if (check == 1)
        style |= TBBS_CHECKED;
    else if (check == 2)
        style |= TBBS_INDETERMINATE;
    m_toolBar->SetButtonStyle(static_cast<int>(m_nIndex), style);
}
