// Instruction-list dialog: the view over the placeholder, the forwarded editing commands and the
// leave check that compiles the text.
#include "DlgLumoPlcIL.h"

#include "PlcIds.h"
#include "ToolBarTips.h"

#include <Tarveskon/PluginIntf.h>
#include <TvskLumoPlc/textview/EditCommands.h>
#include <TvskLumoPlc/textview/ILView.h>
#include <TvskLumoPlc/textview/SourceDocument.h>
#include <ZoLumoPlcObj/LumoPlcCodeGen.h>
#include <ZoSupport/ProgramError.h>

#include <ui/DocView.h>
#include <ui/HelpInfo.h>
#include <ui/MessageBox.h>

#include <filesystem>

namespace
{
constexpr UINT_PTR kToolbarTimer = 1;
constexpr UINT kToolbarUpdateMs = 100;
constexpr int kMinTrackWidth = 200;
} // namespace

CDlgLumoPlcIL::CDlgLumoPlcIL(CWnd* parent) : CResizableDialog(IDD_PLC_IL, parent)
{
    PlcModule();
    MapCommand(ID_IL_LADDER, [this] { Leave(0); });
    Forward(ID_IL_FIND, ID_EDIT_FIND, false);
    Forward(ID_IL_CUT, ID_EDIT_CUT, true);
    Forward(ID_IL_COPY, ID_EDIT_COPY, true);
    Forward(ID_IL_PASTE, ID_EDIT_PASTE, true);
    Forward(ID_IL_TOGGLE_BOOKMARK, ID_EDIT_TOGGLE_BOOKMARK, false);
    Forward(ID_IL_NEXT_BOOKMARK, ID_EDIT_NEXT_BOOKMARK, true);
    // Forwarded as the others, then told when a chosen printer printed nothing.
    MapCommand(ID_IL_PRINT,
               [this]
               {
                   if (!m_pView)
                       return;
                   m_pView->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
                   if (m_pView->PrintFailed())
                       ShowStop(PlcHostString(m_pPluginIntf, IDS_PLC_NOT_PRINTED));
               });
    Forward(ID_IL_UNDO, ID_EDIT_UNDO, true);
    Forward(ID_IL_REDO, ID_EDIT_REDO, true);
}

void CDlgLumoPlcIL::Forward(UINT id, UINT viewCommand, bool updateFromView)
{
    MapCommand(id,
               [this, viewCommand]
               {
                   if (m_pView)
                       m_pView->SendMessage(WM_COMMAND, viewCommand, 0);
               });
    if (!updateFromView)
        return;
    MapUpdateCommandUI(id,
                       [this, viewCommand](CCmdUI* cmdUI)
                       {
                           if (!m_pView)
                           {
                               cmdUI->Enable(FALSE);
                               return;
                           }
                           const UINT buttonId = cmdUI->m_nID;
                           cmdUI->m_nID = viewCommand;
                           m_pView->OnCmdMsg(viewCommand, CN_UPDATE_COMMAND_UI, cmdUI);
                           cmdUI->m_nID = buttonId;
                       });
}

BOOL CDlgLumoPlcIL::OnInitDialog()
{
    CResizableDialog::OnInitDialog();
    if (m_wndToolBar.CreateEx(this) && m_wndToolBar.LoadToolBar(IDR_PLC_IL_TOOLBAR))
    {
        const CSize bar = m_wndToolBar.CalcSize();
        CRect client;
        GetClientRect(&client);
        m_wndToolBar.MoveWindow(0, 0, std::max(client.Width(), static_cast<int>(bar.cx)), bar.cy);
        AddAnchor(m_wndToolBar.GetSafeHwnd(), ANCHOR_TOP_LEFT, ANCHOR_TOP_RIGHT);
        SetToolBarTips(m_wndToolBar, m_pPluginIntf);
    }

    CWnd* placeholder = GetDlgItem(IDC_IL_PLACEHOLDER);
    CRect rect;
    if (placeholder)
    {
        placeholder->GetWindowRect(&rect);
        ScreenToClient(&rect);
        placeholder->ShowWindow(SW_HIDE);
    }
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CILView);
    m_pView = dynamic_cast<CILView*>(
        AfxCreateView(&context, this, rect, IDC_IL_VIEW, WS_CHILD | WS_VISIBLE | WS_BORDER));
    if (m_pView)
        AddAnchor(m_pView->GetSafeHwnd(), ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);

    SetMinTrackSize(CSize(kMinTrackWidth, GetSystemMetrics(SM_CYCAPTION)));
    SetMaxTrackSize(CSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));

    CSourceDocument* document = m_pView ? m_pView->GetDocument() : nullptr;
    if (!document)
    {
        ProgramError("DlgLumoPlcIL", __LINE__, nullptr);
        return FALSE;
    }
    document->GetTextBuffer().LoadString(m_strText.GetString(), CRLF_STYLE_MAC);
    // Kept as the buffer gives it back, to tell on leaving whether anything was changed.
    document->GetTextBuffer().GetAllText(m_strText, CRLF_STYLE_MAC);
    if (m_bReadOnly)
        document->SetReadOnly(TRUE);
    m_pView->OnInitialUpdate();
    const char* fileName = m_pPluginIntf ? m_pPluginIntf->GetFileName() : "";
    const CString name = std::filesystem::path(fileName ? fileName : "").filename().string().c_str();
    m_printer.SetHost(m_pPluginIntf);
    m_printer.SetTitleInfo(m_pProjectInfo, name, name);
    m_pView->SetPrinter(&m_printer);
    m_pView->SetFocus();
    SetTimer(kToolbarTimer, kToolbarUpdateMs);
    return FALSE;
}

void CDlgLumoPlcIL::OnTimer(UINT_PTR id)
{
    if (id == kToolbarTimer && m_wndToolBar.GetSafeHwnd())
        m_wndToolBar.OnUpdateCmdUI(this, TRUE);
    else
        CResizableDialog::OnTimer(id);
}

LRESULT CDlgLumoPlcIL::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HELP && GetParent())
        return GetParent()->SendMessage(WM_HELP, wParam, lParam);
    return CResizableDialog::WindowProc(message, wParam, lParam);
}

void CDlgLumoPlcIL::OnSetFocus(CWnd* oldWnd)
{
    if (m_pView && m_pView->GetSafeHwnd())
        m_pView->SetFocus();
    else
        CResizableDialog::OnSetFocus(oldWnd);
}

void CDlgLumoPlcIL::OnOK()
{
    Leave(IDOK);
}

void CDlgLumoPlcIL::OnCancel()
{
    Leave(IDCANCEL);
}

void CDlgLumoPlcIL::Leave(int result)
{
    if (CheckAndLoad())
        EndDialog(result);
}

void CDlgLumoPlcIL::ShowStop(const CString& text)
{
    AfxShowMessageBox(this, text, nullptr, MB_OK | MB_ICONSTOP);
}

bool CDlgLumoPlcIL::CheckAndLoad()
{
    CSourceDocument* document = m_pView ? m_pView->GetDocument() : nullptr;
    if (!m_pPluginIntf || !m_pCodeGen || !document)
    {
        ProgramError("DlgLumoPlcIL", __LINE__, nullptr);
        return false;
    }
    CString text;
    document->GetTextBuffer().GetAllText(text, CRLF_STYLE_MAC);
    CString trimmed = text;
    trimmed.TrimRight(" \t\r\n");
    if (trimmed.GetLength() < 3 || trimmed.Right(3).CompareNoCase("END") != 0)
    {
        ShowStop(PlcHostString(m_pPluginIntf, IDS_PLC_IL_NO_END));
        return false;
    }
    if (m_pCodeGen->LoadILSource(text, m_pLogicDoc))
    {
        m_bTextChanged = text != m_strText;
        return true;
    }
    CString message;
    switch (m_pCodeGen->m_nErrCode)
    {
    case PLCIL_TOO_MANY_OPERANDS:
    case PLCIL_BAD_OPERAND:
    case PLCIL_UNKNOWN_MNEMONIC:
    {
        static_assert(IDS_PLC_IL_OPERAND_COUNT + 1 == IDS_PLC_IL_OPERAND);
        const UINT id =
            IDS_PLC_IL_OPERAND_COUNT + static_cast<UINT>(m_pCodeGen->m_nErrCode - PLCIL_TOO_MANY_OPERANDS);
        // The generator counts lines from 0; the user from 1.
        message.Format(PlcHostString(m_pPluginIntf, id), m_pCodeGen->m_nErrLine + 1);
        break;
    }
    case PLCIL_CANNOT_PLACE:
        message.Format(PlcHostString(m_pPluginIntf, IDS_PLC_IL_INSTRUCTION),
                       m_pCodeGen->m_strErrText.GetString());
        break;
    default:
        message = PlcHostString(m_pPluginIntf, IDS_PLC_IL_TRANSITION);
        break;
    }
    ShowStop(message);
    return false;
}
