// The cam editor dialog.
#include <TvskCamEditor/ui/DlgCamEdit.h>

#include <TvskCamEditor/ui/CamEditorIds.h>

#include <Tarveskon/PluginCall.h>
#include <Tarveskon/PluginIntf.h>
#include <ZoSupport/ProgramError.h>

#include <ui/App.h>
#include <ui/MessageBox.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace
{
struct Sample
{
    const char* label;
    const char* expression;
    double from;
    double to;
};

const Sample kSamples[] = {{"y = sin(x)", "sin(x)", -1.5707963267948966, 4.71238898038469},
                           {"y = x", "x", 0, 255},
                           {"y = x - sin(x)", "x-sin(x)", 0, 6.283185307179586}};

constexpr UINT kHostHelp = 50;
constexpr long kCamHelpContext = 1005;
constexpr int kToolBarTop = 5;
constexpr int kToolBarHeight = 50;
constexpr int kMargin = 4;
constexpr int kSplitterWidth = 4;
constexpr int kMinPaneWidth = 8;

// The fill button's picture: "f(x)" on a magenta ground.
QImage FillImage()
{
    QImage image(20, 16, QImage::Format_RGB32);
    image.fill(QColor(0xFF, 0x00, 0xFF));
    QPainter p(&image);
    p.setPen(QColor(0, 0, 128));
    QFont font("Arial");
    font.setPixelSize(11);
    font.setItalic(true);
    p.setFont(font);
    p.drawText(image.rect(), Qt::AlignCenter, "f(x)");
    return image;
}

// The host's progress window over a transfer of the points: count, the line's pace and Cancel,
// up until the scope ends or a box of the editor's own comes.
class CHostTransfer
{
public:
    CHostTransfer(CPluginIntf& host, const CString& text, int total) : m_host(host)
    {
        m_host.SendCommand(HOSTCMD_BEGINTRANSFER, reinterpret_cast<long>(text.GetString()), total);
    }
    ~CHostTransfer() { End(); }
    CHostTransfer(const CHostTransfer&) = delete;
    CHostTransfer& operator=(const CHostTransfer&) = delete;
    // One point done; false once the user cancelled with points left.
    bool Step() { return m_host.SendCommand(HOSTCMD_TRANSFERSTEP, 0, 0) != 1; }
    void End()
    {
        if (m_running)
            m_host.SendCommand(HOSTCMD_ENDTRANSFER, 0, 0);
        m_running = false;
    }

private:
    CPluginIntf& m_host;
    bool m_running = true;
};

// The second picture: a small cam profile.
QImage ProfileImage()
{
    QImage image(20, 16, QImage::Format_RGB32);
    image.fill(QColor(0xFF, 0x00, 0xFF));
    QPainter p(&image);
    p.setPen(QColor(0, 0, 255));
    p.drawLine(1, 14, 6, 14);
    p.drawLine(6, 14, 13, 3);
    p.drawLine(13, 3, 18, 3);
    return image;
}
} // namespace

CDlgCamEdit::CDlgCamEdit(CPluginIntf* host, int cam, CWnd* parent)
    : CResizableDialog(IDD_CAMEDIT, parent), m_pHost(host), m_nCam(cam), m_nAskedCam(cam)
{
    CamEditorString(0); // registers the module's strings and layouts
    m_Tab.Table().SetHost(host);
    m_Tab.SetChangeListener(this);
    m_Graph.SetTable(&m_Tab.Table());
    MapCommands();
}

CString CDlgCamEdit::String(UINT id) const
{
    CString text;
    if (m_pHost && m_pHost->GetString(id, text) && !text.IsEmpty())
        return text;
    return CamEditorString(id);
}

// F1: the program help's topic of the PLC and the cams.
BOOL CDlgCamEdit::OnHelpInfo(HELPINFO*)
{
    if (HostCheck(__LINE__))
        m_pHost->SendCommand(kHostHelp, kCamHelpContext, 0);
    return TRUE;
}

int CDlgCamEdit::Box(UINT id, UINT type) const
{
    return AfxShowMessageBox(const_cast<CDlgCamEdit*>(this), String(id), GetWindowText(), type);
}

bool CDlgCamEdit::HostCheck(int line) const
{
    if (m_pHost)
        return true;
    ProgramError("DlgCamEdit", line, nullptr);
    return false;
}

void CDlgCamEdit::MapCommands()
{
    MapCommand(ID_CAM_STORE, [this] { OnStore(); });
    MapCommand(ID_CAM_EXIT, [this] { OnOK(); });
    MapCommand(ID_CAM_READ, [this] { OnReadDrive(); });
    MapCommand(ID_CAM_WRITE, [this] { OnWriteDrive(); });
    MapCommand(ID_CAM_CURSOR, [this] { m_Graph.SetCursorMode(!m_Graph.IsCursorMode()); });
    MapCommand(ID_CAM_COPY, [this] { m_Tab.Copy(); });
    MapCommand(ID_CAM_PASTE, [this] { m_Tab.Paste(); });
    MapCommand(ID_CAM_SPEED, [this] { m_Graph.ShowFirstDiff(!m_Graph.IsFirstDiffShown()); });
    MapCommand(ID_CAM_ACCEL, [this] { m_Graph.ShowSecondDiff(!m_Graph.IsSecondDiffShown()); });
    MapCommand(ID_CAM_CUBIC, [this] { OnCubic(); });
    MapCommand(ID_CAM_RESET, [this] { OnReset(); });
    MapCommand(IDC_CAM_FILL, [this] { OnFill(); });
    MapCommand(IDC_CAM_APPLY_KIND, [this] { OnApplyKind(); });
    MapCommand(
        IDC_CAM_NUMBER, [this] { OnCamChange(); }, CBN_SELCHANGE);
    MapCommand(
        IDC_CAM_FIRST_ROW, [this] { OnRowsChanged(); }, EN_CHANGE);
    MapCommand(
        IDC_CAM_LAST_ROW, [this] { OnRowsChanged(); }, EN_CHANGE);
    MapUpdateCommandUI(ID_CAM_CURSOR,
                       [this](CCmdUI* ui)
                       {
                           ui->Enable(m_Tab.Table().IsComplete());
                           ui->SetCheck(m_Graph.IsCursorMode() ? 1 : 0);
                       });
    MapUpdateCommandUI(ID_CAM_SPEED,
                       [this](CCmdUI* ui) { ui->SetCheck(m_Graph.IsFirstDiffShown() ? 1 : 0); });
    MapUpdateCommandUI(ID_CAM_ACCEL,
                       [this](CCmdUI* ui) { ui->SetCheck(m_Graph.IsSecondDiffShown() ? 1 : 0); });
    MapUpdateCommandUI(ID_CAM_CUBIC, [this](CCmdUI* ui) { ui->Enable(m_bKindApplied); });
}

BOOL CDlgCamEdit::OnInitDialog()
{
    CResizableDialog::OnInitDialog();
    CRect client;
    GetClientRect(&client);
    if (m_ToolBar.CreateEx(this) && m_ToolBar.LoadToolBar(IDR_CAM_TOOLBAR))
    {
        m_ToolBar.MoveWindow(0, kToolBarTop, m_ToolBar.CalcSize().cx, kToolBarHeight);
        for (int i = 0; i < m_ToolBar.GetCount(); ++i)
            if (const UINT id = m_ToolBar.GetItemID(i); id != ID_SEPARATOR)
                m_ToolBar.SetButtonToolTip(i, String(id));
    }

    if (CWnd* placeholder = GetDlgItem(IDC_CAM_GRID))
        placeholder->ShowWindow(SW_HIDE);
    if (CWnd* placeholder = GetDlgItem(IDC_CAM_GRAPH))
        placeholder->ShowWindow(SW_HIDE);
    m_Grid.SetDataIntf(&m_Tab); // the column titles are asked of it
    m_Grid.SetCols(CTabIntf::Columns(), 2);
    m_Grid.AddMargin(50, "");
    m_Grid.AddHeader();
    m_Grid.SetViewIntf(&m_Tab);
    if (m_Grid.Create(&m_Tab, this))
    {
        m_Grid.ModifyStyleEx(0, WS_EX_CLIENTEDGE);
        m_Grid.EditMode(1, 0);
        m_Grid.EnableSelection(true);
        m_Grid.EnableMultiSelection();
        m_Tab.EnableMultiSelection();
        m_Tab.SetGrid(&m_Grid);
    }
    if (m_Graph.Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 10, 10), this,
                       IDC_CAM_GRAPH + 1000))
        m_Tab.SetGraph(&m_Graph);

    if (m_FillButton.SubclassDlgItem(IDC_CAM_FILL, this))
        m_FillButton.SetImage(FillImage());
    if (m_ImageButton.SubclassDlgItem(IDC_CAM_IMAGE2, this))
        m_ImageButton.SetImage(ProfileImage());
    SetDlgItemText(IDC_CAM_FIRST_ROW, "0");
    SetDlgItemText(IDC_CAM_LAST_ROW, "0");
    SetDlgItemText(IDC_CAM_ENABLE_FORMULA, String(IDS_CAM_CALCULATE));
    FillCombos();

    const CString caption = String(IDS_CAM_TITLE);
    if (!caption.IsEmpty())
        SetWindowText(caption);
    const CString label = String(IDS_CAM_NUMBER);
    if (!label.IsEmpty())
        SetDlgItemText(IDC_CAM_NUMBER_LABEL, label);
    m_strCaption = GetWindowText();

    m_Tab.Table().Recompute();
    OnCamChange();
    Layout(); // first: the grid places point 0 and its editor in its final size
    if (m_Grid.GetSafeHwnd() && m_Grid.GetNumRows() > 0)
    {
        m_Grid.Move(0, 0);
        m_Tab.RemoveAllSelections();
        m_Tab.AddRowSelection(0);
    }
    return TRUE;
}

void CDlgCamEdit::FillCombos()
{
    auto* samples = static_cast<CComboBox*>(GetDlgItem(IDC_CAM_SAMPLES));
    auto* kinds = static_cast<CComboBox*>(GetDlgItem(IDC_CAM_KINDS));
    auto* cams = static_cast<CComboBox*>(GetDlgItem(IDC_CAM_NUMBER));
    if (samples)
    {
        for (const Sample& sample : kSamples)
            samples->AddString(sample.label);
        samples->SetCurSel(0);
    }
    if (kinds)
    {
        for (int kind = 0; kind < CAM_KIND_COUNT; ++kind)
        {
            CString text;
            m_Tab.GetKinds().FindVal(kind, text);
            kinds->AddString(text);
        }
        kinds->SetCurSel(0);
    }
    if (!cams || !HostCheck(__LINE__))
        return;
    int selected = 0;
    for (int i = 0; i < m_pHost->GetCamDefNum(); ++i)
    {
        CString text;
        text.Format("%d", m_pHost->GetCamDefIndex(i));
        const int item = cams->AddString(text);
        cams->SetItemData(item, static_cast<DWORD_PTR>(i));
        if (m_pHost->GetCamDefIndex(i) == m_nAskedCam)
            selected = item;
    }
    cams->SetCurSel(selected);
}

void CDlgCamEdit::OnCamChange()
{
    auto* cams = static_cast<CComboBox*>(GetDlgItem(IDC_CAM_NUMBER));
    if (!cams || cams->GetCurSel() < 0)
        return;
    const int cam = static_cast<int>(cams->GetItemData(cams->GetCurSel()));
    if (cam != m_nCam && m_bModified && !AskToSave())
    {
        for (int i = 0; i < cams->GetCount(); ++i)
            if (static_cast<int>(cams->GetItemData(i)) == m_nCam)
                cams->SetCurSel(i);
        return;
    }
    m_nCam = cam;
    m_Tab.Table().Load(m_nCam);
    SetModifiedMarker(false);
    if (m_Grid.GetSafeHwnd())
    {
        m_Grid.ResetContent();
        m_Grid.InsertRows(m_Tab.Table().GetCount());
    }
    RepaintAll();
}

void CDlgCamEdit::OnStore()
{
    if (m_Tab.Table().Store(m_nCam))
        SetModifiedMarker(false);
}

bool CDlgCamEdit::AskToSave()
{
    switch (Box(IDS_CAM_SAVE_CHANGES, MB_YESNOCANCEL | MB_ICONQUESTION))
    {
    case IDCANCEL:
        return false;
    case IDYES:
        OnStore();
        return true;
    default:
        return true;
    }
}

void CDlgCamEdit::OnReadDrive()
{
    if (!HostCheck(__LINE__))
        return;
    CCamTable& table = m_Tab.Table();
    const int start = table.GetStartAddr(m_nCam);
    const int count = table.GetCount();
    CHostTransfer transfer(*m_pHost, String(IDS_CAM_READING), count);
    for (int i = 0; i < count; ++i)
    {
        double value = 0.0;
        const long address = 0x100000 + ((start + i) % 65536);
        if (m_pHost->SendCommand(HOSTCMD_READADDR, address, reinterpret_cast<long>(&value)) != 0)
        {
            transfer.End();
            Box(IDS_CAM_DRIVE_ERROR, MB_OK | MB_ICONSTOP);
            RepaintAll();
            return;
        }
        if (!table.SetPoint(i, value, CAM_VAL))
        {
            transfer.End();
            Box(IDS_CAM_READ_ERROR, MB_OK | MB_ICONSTOP);
            RepaintAll();
            return;
        }
        if (!transfer.Step())
        {
            // The points read stay, marked as changes not stored.
            transfer.End();
            TellCancelled(IDS_CAM_READ_CANCELLED, i + 1, count);
            RepaintAll();
            return;
        }
    }
    transfer.End();
    SetModifiedMarker(false);
    m_pHost->SetModified(TRUE);
    RepaintAll();
}

void CDlgCamEdit::OnWriteDrive()
{
    if (!HostCheck(__LINE__))
        return;
    if (m_bModified && !AskToSave())
        return;
    const CCamTable& table = m_Tab.Table();
    const int start = table.GetStartAddr(m_nCam);
    const int count = table.GetCount();
    CHostTransfer transfer(*m_pHost, String(IDS_CAM_WRITING), count);
    for (int i = 0; i < count; ++i)
    {
        const long address = 0x100000 + ((start + i) % 65536);
        const long value = static_cast<long>(std::trunc(table.GetPointAt(i).dValue));
        if (m_pHost->SendCommand(HOSTCMD_WRITEADDR, address, value) != 0)
        {
            transfer.End();
            Box(IDS_CAM_DRIVE_ERROR, MB_OK | MB_ICONSTOP);
            return;
        }
        if (!transfer.Step())
        {
            transfer.End();
            TellCancelled(IDS_CAM_WRITE_CANCELLED, i + 1, count);
            return;
        }
    }
}

void CDlgCamEdit::TellCancelled(UINT formatId, int done, int total)
{
    CString text;
    text.Format(String(formatId).GetString(), done, total);
    AfxShowMessageBox(this, text, GetWindowText(), MB_OK | MB_ICONWARNING);
}

void CDlgCamEdit::OnFill()
{
    auto* check = static_cast<CButton*>(GetDlgItem(IDC_CAM_ENABLE_FORMULA));
    if (!check || check->GetCheck() != BST_CHECKED)
    {
        Box(IDS_CAM_ENABLE_FIRST, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    auto* samples = static_cast<CComboBox*>(GetDlgItem(IDC_CAM_SAMPLES));
    const int selected = samples ? samples->GetCurSel() : -1;
    if (selected < 0 || selected >= static_cast<int>(std::size(kSamples)) || !HostCheck(__LINE__))
        return;
    CCamTable& table = m_Tab.Table();
    for (int i = 0; i < table.GetCount(); ++i)
        table.SetPoint(i, table.GetPointAt(i).dValue, CAM_VAL);
    const Sample& sample = kSamples[selected];
    CFuncTracerDoc& doc = m_Graph.GetDocument();
    doc.Bind(&table, table.GetCount(), table.GetMinValue(), table.GetMaxValue());
    doc.Trace(sample.expression, sample.from, sample.to);
    RepaintAll();
}

void CDlgCamEdit::OnApplyKind()
{
    auto* kinds = static_cast<CComboBox*>(GetDlgItem(IDC_CAM_KINDS));
    const CStackEx<int>& rows = m_Tab.GetSelections();
    if (!kinds || kinds->GetCurSel() < 0 || rows.GetCount() == 0 || !m_Tab.isNoGapRowSel())
        return;
    int first = rows[0];
    int last = rows[0];
    for (int i = 1; i < rows.GetCount(); ++i)
    {
        first = std::min(first, rows[i]);
        last = std::max(last, rows[i]);
    }
    if (m_Tab.Table().SetKinds(first, last, kinds->GetCurSel()))
        m_bKindApplied = true;
}

void CDlgCamEdit::OnCubic()
{
    m_Tab.Table().CompleteWithCubic();
    m_Tab.RemoveAllSelections();
    RepaintAll();
}

void CDlgCamEdit::OnReset()
{
    if (Box(IDS_CAM_RESET_QUESTION, MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK)
        return;
    CCamTable& table = m_Tab.Table();
    table.Reset(true);
    table.Store(m_nCam);
    table.Reset(false);
    SetModifiedMarker(false);
    RepaintAll();
}

void CDlgCamEdit::OnRowsChanged()
{
    CString firstText;
    CString lastText;
    GetDlgItemText(IDC_CAM_FIRST_ROW, firstText);
    GetDlgItemText(IDC_CAM_LAST_ROW, lastText);
    const int first = std::atoi(firstText);
    int last = std::atoi(lastText);
    if (first < 0 || last < 0 || last < first)
        return;
    last = std::min(last, m_Tab.Table().GetCount() - 1);
    m_Tab.RemoveAllSelections();
    for (int row = first; row <= last; ++row)
        m_Tab.AddRowSelection(row);
    if (m_Grid.GetSafeHwnd())
        m_Grid.Invalidate(FALSE);
}

void CDlgCamEdit::OnCamChanged()
{
    SetModifiedMarker(true);
}

void CDlgCamEdit::SetModifiedMarker(bool modified)
{
    m_bModified = modified;
    if (GetSafeHwnd())
        SetWindowText(modified ? m_strCaption + "*" : m_strCaption);
}

void CDlgCamEdit::RepaintAll()
{
    if (m_Grid.GetSafeHwnd())
        m_Grid.Invalidate(FALSE);
    if (m_Graph.GetSafeHwnd())
        m_Graph.Invalidate(FALSE);
}

bool CDlgCamEdit::CanClose()
{
    if (!m_bModified)
        return true;
    const int answer = Box(IDS_CAM_SAVE_CHANGES, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDYES)
        OnStore();
    return answer == IDNO || (answer == IDYES && !m_bModified);
}

void CDlgCamEdit::OnOK()
{
    if (CanClose())
        CResizableDialog::OnOK();
}

void CDlgCamEdit::OnCancel()
{
    if (CanClose())
        CResizableDialog::OnCancel();
}

// Enter and Escape never close the dialog: they go to the focused control, else to the grid, and a
// grid that ended its cell's edit keeps the focus.
BOOL CDlgCamEdit::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
    {
        CWnd* focus = GetFocus();
        const bool grid =
            m_Grid.GetSafeHwnd() && (!focus || focus == this || focus == &m_Grid || m_Grid.IsWndChild(focus));
        if (grid)
            m_Grid.ProcessKey(static_cast<UINT>(msg->wParam));
        else if (focus)
            focus->SendMessage(WM_KEYDOWN, msg->wParam, msg->lParam);
        if (m_Grid.GetSafeHwnd() && GetFocus() == this)
            m_Grid.SetFocus();
        return TRUE;
    }
    return CResizableDialog::PreTranslateMessage(msg);
}

CRect CDlgCamEdit::WorkArea() const
{
    CRect client;
    GetClientRect(&client);
    int top = kToolBarTop + kToolBarHeight;
    if (CWnd* placeholder = GetDlgItem(IDC_CAM_GRID))
    {
        CRect rect;
        placeholder->GetWindowRect(&rect);
        ScreenToClient(&rect);
        top = std::max(top, static_cast<int>(rect.top));
    }
    return CRect(kMargin, top, std::max(client.right - kMargin, kMargin + 2 * kMinPaneWidth + kSplitterWidth),
                 std::max(client.bottom - kMargin, top + 1));
}

CRect CDlgCamEdit::SplitterBand() const
{
    const CRect area = WorkArea();
    const int x = area.left + static_cast<int>(area.Width() * m_dSplit);
    return CRect(x, area.top, x + kSplitterWidth, area.bottom);
}

void CDlgCamEdit::Layout()
{
    if (!m_Graph.GetSafeHwnd() || !m_Grid.GetSafeHwnd())
        return;
    const CRect area = WorkArea();
    const CRect band = SplitterBand();
    m_Graph.MoveWindow(area.left, area.top, band.left - area.left, area.Height());
    m_Grid.MoveWindow(band.right, area.top, area.right - band.right, area.Height());
}

void CDlgCamEdit::OnSize(UINT type, int cx, int cy)
{
    CResizableDialog::OnSize(type, cx, cy);
    Layout();
}

BOOL CDlgCamEdit::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    CPoint point;
    GetCursorPos(&point);
    ScreenToClient(&point);
    if (m_bSplitting || SplitterBand().PtInRect(point))
    {
        ::SetCursor(AfxGetApp() ? AfxGetApp()->LoadStandardCursor(IDC_SIZEWE) : nullptr);
        return TRUE;
    }
    return CResizableDialog::OnSetCursor(wnd, hitTest, message);
}

void CDlgCamEdit::OnLButtonDown(UINT flags, CPoint point)
{
    if (!SplitterBand().PtInRect(point))
    {
        CResizableDialog::OnLButtonDown(flags, point);
        return;
    }
    m_bSplitting = true;
    SetCapture();
}

void CDlgCamEdit::OnMouseMove(UINT flags, CPoint point)
{
    if (!m_bSplitting)
    {
        CResizableDialog::OnMouseMove(flags, point);
        return;
    }
    const CRect area = WorkArea();
    const int x = std::clamp(static_cast<int>(point.x), area.left + kMinPaneWidth,
                             area.right - kMinPaneWidth - kSplitterWidth);
    m_dSplit = static_cast<double>(x - area.left) / area.Width();
    Layout();
}

void CDlgCamEdit::OnLButtonUp(UINT flags, CPoint point)
{
    if (!m_bSplitting)
    {
        CResizableDialog::OnLButtonUp(flags, point);
        return;
    }
    m_bSplitting = false;
    ReleaseCapture();
}
