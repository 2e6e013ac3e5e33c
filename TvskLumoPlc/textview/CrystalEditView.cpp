#include "CrystalEditView.h"

#include "TextReplaceDialog.h"

#include <TvskLumoPlc/text/TextEditStrings.h>
#include <TvskLumoPlc/text/Utf8Chars.h>

#include <ui/App.h>
#include <ui/Clipboard.h>
#include <ui/CmdUI.h>
#include <ui/Dc.h>

#include <QGuiApplication>

IMPLEMENT_DYNCREATE(CCrystalEditView, CCrystalTextView)

namespace
{

bool Less(const CPoint& a, const CPoint& b)
{
    return a.y < b.y || (a.y == b.y && a.x < b.x);
}

} // namespace

// The window's drop target: forwards the drag to the view.
class CCrystalEditView::CEditDropTarget : public COleDropTarget
{
public:
    explicit CEditDropTarget(CCrystalEditView* owner) : m_owner(owner) {}

    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* data, DWORD keyState, CPoint point) override
    {
        return m_owner->DoDragOver(data, keyState, point);
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD keyState, CPoint point) override
    {
        return m_owner->DoDragOver(data, keyState, point);
    }
    void OnDragLeave(CWnd*) override { m_owner->DoDragLeave(); }
    BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT, CPoint point) override
    {
        return m_owner->DoDropText(data, point);
    }

private:
    CCrystalEditView* m_owner;
};

CCrystalEditView::CCrystalEditView()
{
    MapCommand(ID_EDIT_PASTE, [this] { OnEditPaste(); });
    MapCommand(ID_EDIT_CUT, [this] { OnEditCut(); });
    MapCommand(ID_EDIT_CLEAR, [this] { OnEditDelete(); });
    MapCommand(ID_EDIT_DELETE_BACK, [this] { OnEditDeleteBack(); });
    MapCommand(ID_EDIT_TAB, [this] { OnEditTab(); });
    MapCommand(ID_EDIT_UNTAB, [this] { OnEditUntab(); });
    MapCommand(ID_EDIT_UNDO, [this] { OnEditUndo(); });
    MapCommand(ID_EDIT_REDO, [this] { OnEditRedo(); });
    MapCommand(ID_EDIT_SWITCH_OVRMODE, [this] { OnEditSwitchOvrmode(); });
    MapCommand(ID_EDIT_REPLACE, [this] { OnEditReplace(); });
    MapUpdateCommandUI(ID_EDIT_UNDO, [this](CCmdUI* ui) { UpdateUndoMenu(ui, false); });
    MapUpdateCommandUI(ID_EDIT_REDO, [this](CCmdUI* ui) { UpdateUndoMenu(ui, true); });
    MapUpdateCommandUI(ID_EDIT_PASTE, [this](CCmdUI* ui)
                       { ui->Enable(QueryEditable() && IsClipboardFormatAvailable(CF_TEXT)); });
    MapUpdateCommandUI(ID_EDIT_CUT, [this](CCmdUI* ui) { ui->Enable(QueryEditable() && IsSelection()); });
    MapUpdateCommandUI(ID_INDICATOR_OVR, [this](CCmdUI* ui) { ui->Enable(m_bOvrMode); });
}

CCrystalEditView::~CCrystalEditView() = default;

int CCrystalEditView::OnCreate(CREATESTRUCT* createStruct)
{
    if (CCrystalTextView::OnCreate(createStruct) == -1)
        return -1;
    // Without a drop target the view still edits; it only takes no drops.
    m_pDropTarget = std::make_unique<CEditDropTarget>(this);
    if (!m_pDropTarget->Register(this))
        m_pDropTarget.reset();
    return 0;
}

void CCrystalEditView::OnDestroy()
{
    if (m_pDropTarget)
    {
        m_pDropTarget->Revoke();
        m_pDropTarget.reset();
    }
    CCrystalTextView::OnDestroy();
}

BOOL CCrystalEditView::QueryEditable()
{
    return HasText() && !m_pTextBuffer->GetReadOnly();
}

void CCrystalEditView::SetOverwriteMode(BOOL ovrMode)
{
    m_bOvrMode = ovrMode;
    UpdateCaret();
}

void CCrystalEditView::UpdateUndoMenu(CCmdUI* cmdUI, bool redo)
{
    const BOOL can = HasText() && (redo ? m_pTextBuffer->CanStepForward() : m_pTextBuffer->CanStepBack());
    cmdUI->Enable(can);
    CString description;
    const BOOL described = can && (redo ? m_pTextBuffer->ForwardDescription(description)
                                        : m_pTextBuffer->BackDescription(description));
    CString text;
    if (described)
        text.Format(LoadTextEditString(redo ? IDS_MENU_REDO_FORMAT : IDS_MENU_UNDO_FORMAT),
                    description.GetString());
    else
        text = LoadTextEditString(redo ? IDS_MENU_REDO_DEFAULT : IDS_MENU_UNDO_DEFAULT);
    cmdUI->SetText(text);
}

BOOL CCrystalEditView::DeleteCurrentSelection(int action)
{
    if (!IsSelection())
        return FALSE;
    CPoint start;
    CPoint end;
    GetSelection(start, end);
    m_pTextBuffer->DeleteRange(this, start.y, start.x, end.y, end.x, action);
    m_ptAnchor = start;
    SetSelection(start, start);
    SetCursorPos(start);
    return TRUE;
}

void CCrystalEditView::FinishEdit(const CPoint& pos)
{
    m_ptAnchor = pos;
    SetSelection(pos, pos);
    SetCursorPos(pos);
    EnsureVisible(pos);
}

void CCrystalEditView::OnChar(UINT ch, UINT, UINT)
{
    // Characters wait while a mouse button is held.
    if (m_bDragSelection || m_bPreparingToDrag || QGuiApplication::mouseButtons() != Qt::NoButton)
        return;
    OnEditChar(ch);
}

void CCrystalEditView::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_RETURN)
    {
        OnEditNewLine();
        return;
    }
    CCrystalTextView::OnKeyDown(key, repeat, flags);
}

UINT CCrystalEditView::OnGetDlgCode(UINT key)
{
    return key == VK_RETURN ? DLGC_WANTMESSAGE : 0;
}

void CCrystalEditView::OnEditChar(UINT ch)
{
    const std::string typed = tvsk::text::Utf8Of(ch);
    if (ch < 0x20 || typed.empty() || !QueryEditable())
        return;
    m_pTextBuffer->OpenActionGroup();
    DeleteCurrentSelection(CE_ACTION_TYPING);
    CPoint pos = m_ptCursorPos;
    if (m_bOvrMode && pos.x < GetLineLength(pos.y))
        m_pTextBuffer->DeleteRange(this, pos.y, pos.x, pos.y,
                                   tvsk::text::NextChar(m_pTextBuffer->GetLine(pos.y), pos.x),
                                   CE_ACTION_TYPING);
    int endLine = 0;
    int endChar = 0;
    m_pTextBuffer->InsertAt(this, pos.y, pos.x, typed, endLine, endChar, CE_ACTION_TYPING);
    FinishEdit(CPoint(endChar, endLine));
    m_pTextBuffer->CloseActionGroup(this);
}

void CCrystalEditView::OnEditNewLine()
{
    if (!QueryEditable())
        return;
    if (m_bOvrMode && m_ptCursorPos.y + 1 < GetLineCount())
    {
        FinishEdit(CPoint(0, m_ptCursorPos.y + 1));
        return;
    }
    m_pTextBuffer->OpenActionGroup();
    DeleteCurrentSelection(CE_ACTION_TYPING);
    const CPoint pos = m_ptCursorPos;
    int endLine = 0;
    int endChar = 0;
    m_pTextBuffer->InsertAt(this, pos.y, pos.x, "\r\n", endLine, endChar, CE_ACTION_TYPING);
    if (m_bAutoIndent && !m_bOvrMode)
    {
        const std::string_view above = m_pTextBuffer->GetLine(pos.y);
        const size_t blanks = above.find_first_not_of(" \t");
        const std::string indent(above.substr(0, blanks == std::string_view::npos ? above.size() : blanks));
        if (!indent.empty())
            m_pTextBuffer->InsertAt(this, endLine, 0, indent, endLine, endChar, CE_ACTION_AUTOINDENT);
    }
    FinishEdit(CPoint(endChar, endLine));
    m_pTextBuffer->CloseActionGroup(this);
}

void CCrystalEditView::OnEditDelete()
{
    if (!QueryEditable())
        return;
    m_pTextBuffer->OpenActionGroup();
    if (!DeleteCurrentSelection(CE_ACTION_DELSEL))
    {
        const CPoint pos = m_ptCursorPos;
        if (pos.x < GetLineLength(pos.y))
            m_pTextBuffer->DeleteRange(this, pos.y, pos.x, pos.y,
                                       tvsk::text::NextChar(m_pTextBuffer->GetLine(pos.y), pos.x),
                                       CE_ACTION_DELETE);
        else if (pos.y + 1 < GetLineCount())
            m_pTextBuffer->DeleteRange(this, pos.y, pos.x, pos.y + 1, 0, CE_ACTION_DELETE);
        FinishEdit(pos);
    }
    m_pTextBuffer->CloseActionGroup(this);
}

void CCrystalEditView::OnEditDeleteBack()
{
    if (!QueryEditable())
        return;
    m_pTextBuffer->OpenActionGroup();
    if (!DeleteCurrentSelection(CE_ACTION_DELSEL))
    {
        CPoint pos = m_ptCursorPos;
        if (pos.x > 0)
        {
            const int previous = tvsk::text::PrevChar(m_pTextBuffer->GetLine(pos.y), pos.x);
            m_pTextBuffer->DeleteRange(this, pos.y, previous, pos.y, pos.x, CE_ACTION_BACKSPACE);
            pos.x = previous;
        }
        else if (pos.y > 0 && !m_bOvrMode)
        {
            const CPoint end = pos;
            pos = CPoint(GetLineLength(pos.y - 1), pos.y - 1);
            m_pTextBuffer->DeleteRange(this, pos.y, pos.x, end.y, end.x, CE_ACTION_BACKSPACE);
        }
        FinishEdit(pos);
    }
    m_pTextBuffer->CloseActionGroup(this);
}

bool CCrystalEditView::SelectedLines(int& first, int& last)
{
    CPoint start;
    CPoint end;
    GetSelection(start, end);
    if (start.y == end.y)
        return false;
    first = start.y;
    last = end.x == 0 ? end.y - 1 : end.y;
    return true;
}

void CCrystalEditView::SelectWholeLines(int first, int last)
{
    const CPoint start(0, first);
    const CPoint end = last + 1 < GetLineCount() ? CPoint(0, last + 1) : CPoint(GetLineLength(last), last);
    m_ptAnchor = start;
    SetCursorPos(end);
    SetSelection(start, end);
    EnsureVisible(end);
}

void CCrystalEditView::OnEditTab()
{
    if (!QueryEditable())
        return;
    int first = 0;
    int last = 0;
    if (SelectedLines(first, last))
    {
        m_pTextBuffer->OpenActionGroup();
        for (int line = first; line <= last; ++line)
        {
            int endLine = 0;
            int endChar = 0;
            m_pTextBuffer->InsertAt(this, line, 0, "\t", endLine, endChar, CE_ACTION_INDENT);
        }
        SelectWholeLines(first, last);
        m_pTextBuffer->CloseActionGroup(this);
        return;
    }
    if (m_bOvrMode)
    {
        // Moves to the next tab stop, stopping after a tab character.
        const std::string_view text = m_pTextBuffer->GetLine(m_ptCursorPos.y);
        int pos = m_ptCursorPos.x;
        const int stop = (CalculateActualOffset(m_ptCursorPos.y, pos) / m_nTabSize + 1) * m_nTabSize;
        while (pos < static_cast<int>(text.size()) && CalculateActualOffset(m_ptCursorPos.y, pos) < stop)
        {
            const bool tab = text[static_cast<size_t>(pos)] == '\t';
            pos = tvsk::text::NextChar(text, pos);
            if (tab)
                break;
        }
        FinishEdit(CPoint(pos, m_ptCursorPos.y));
        return;
    }
    m_pTextBuffer->OpenActionGroup();
    DeleteCurrentSelection(CE_ACTION_TYPING);
    int endLine = 0;
    int endChar = 0;
    m_pTextBuffer->InsertAt(this, m_ptCursorPos.y, m_ptCursorPos.x, "\t", endLine, endChar, CE_ACTION_TYPING);
    FinishEdit(CPoint(endChar, endLine));
    m_pTextBuffer->CloseActionGroup(this);
}

void CCrystalEditView::OnEditUntab()
{
    if (!QueryEditable())
        return;
    int first = 0;
    int last = 0;
    if (!SelectedLines(first, last))
    {
        // Back to the previous tab stop.
        const int column = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
        const int stop = column > 0 ? ((column - 1) / m_nTabSize) * m_nTabSize : 0;
        FinishEdit(CPoint(ApproxActualOffset(m_ptCursorPos.y, stop), m_ptCursorPos.y));
        return;
    }
    m_pTextBuffer->OpenActionGroup();
    for (int line = first; line <= last; ++line)
    {
        const std::string_view text = m_pTextBuffer->GetLine(line);
        int count = 0;
        while (count < m_nTabSize && count < static_cast<int>(text.size()) &&
               text[static_cast<size_t>(count)] == ' ')
            ++count;
        if (count < m_nTabSize && count < static_cast<int>(text.size()) &&
            text[static_cast<size_t>(count)] == '\t')
            ++count;
        if (count > 0)
            m_pTextBuffer->DeleteRange(this, line, 0, line, count, CE_ACTION_INDENT);
    }
    SelectWholeLines(first, last);
    m_pTextBuffer->CloseActionGroup(this);
}

void CCrystalEditView::OnEditCut()
{
    if (!QueryEditable() || !IsSelection())
        return;
    SetClipboardText(GetSelectedText());
    m_pTextBuffer->OpenActionGroup();
    DeleteCurrentSelection(CE_ACTION_CUT);
    EnsureVisible(m_ptCursorPos);
    m_pTextBuffer->CloseActionGroup(this);
}

void CCrystalEditView::OnEditPaste()
{
    CString text;
    if (!QueryEditable() || !GetClipboardText(text))
        return;
    m_pTextBuffer->OpenActionGroup();
    DeleteCurrentSelection(CE_ACTION_PASTE);
    int endLine = 0;
    int endChar = 0;
    m_pTextBuffer->InsertAt(this, m_ptCursorPos.y, m_ptCursorPos.x, text.str(), endLine, endChar,
                            CE_ACTION_PASTE);
    FinishEdit(CPoint(endChar, endLine));
    m_pTextBuffer->CloseActionGroup(this);
}

void CCrystalEditView::OnEditUndo()
{
    CPoint pos;
    if (HasText() && m_pTextBuffer->StepBack(pos))
        FinishEdit(pos);
}

void CCrystalEditView::OnEditRedo()
{
    CPoint pos;
    if (HasText() && m_pTextBuffer->StepForward(pos))
        FinishEdit(pos);
}

void CCrystalEditView::OnEditSwitchOvrmode()
{
    SetOverwriteMode(!m_bOvrMode);
}

BOOL CCrystalEditView::ReplaceSelection(const char* newText)
{
    if (!QueryEditable())
        return FALSE;
    m_pTextBuffer->OpenActionGroup();
    DeleteCurrentSelection(CE_ACTION_REPLACE);
    int endLine = m_ptCursorPos.y;
    int endChar = m_ptCursorPos.x;
    if (newText && *newText)
        m_pTextBuffer->InsertAt(this, m_ptCursorPos.y, m_ptCursorPos.x, newText, endLine, endChar,
                                CE_ACTION_REPLACE);
    FinishEdit(CPoint(endChar, endLine));
    m_pTextBuffer->CloseActionGroup(this);
    return TRUE;
}

void CCrystalEditView::PrepareReplaceDialog(CTextReplaceDialog& dialog)
{
    if (CWinApp* app = AfxGetApp())
    {
        dialog.m_bMatchCase = app->GetProfileInt("TextEdit\\Replace", "MatchCase", 0) != 0;
        dialog.m_bWholeWord = app->GetProfileInt("TextEdit\\Replace", "WholeWord", 0) != 0;
        dialog.m_sText = app->GetProfileString("TextEdit\\Replace", "FindWhat", "");
        dialog.m_sNewText = app->GetProfileString("TextEdit\\Replace", "ReplaceWith", "");
    }
    dialog.m_bEnableScopeSelection = IsSelection();
    if (IsSelection())
    {
        GetSelection(dialog.m_ptBlockBegin, dialog.m_ptBlockEnd);
        dialog.m_nScope = 0;
        dialog.m_ptCurrentPos = dialog.m_ptBlockBegin;
    }
    else
    {
        dialog.m_nScope = 1;
        dialog.m_ptCurrentPos = m_ptCursorPos;
    }
}

void CCrystalEditView::OnEditReplace()
{
    if (!QueryEditable())
        return;
    CTextReplaceDialog dialog(this);
    PrepareReplaceDialog(dialog);
    dialog.DoModal();
    if (CWinApp* app = AfxGetApp())
    {
        app->WriteProfileInt("TextEdit\\Replace", "MatchCase", dialog.m_bMatchCase);
        app->WriteProfileInt("TextEdit\\Replace", "WholeWord", dialog.m_bWholeWord);
        app->WriteProfileString("TextEdit\\Replace", "FindWhat", dialog.m_sText);
        app->WriteProfileString("TextEdit\\Replace", "ReplaceWith", dialog.m_sNewText);
    }
}

// Dropping

DROPEFFECT CCrystalEditView::DoDragOver(COleDataObject* data, DWORD keyState, CPoint point)
{
    if (!data || !data->IsDataAvailable(CF_TEXT) || !QueryEditable())
    {
        DoDragLeave();
        return DROPEFFECT_NONE;
    }
    CRect client;
    GetClientRect(&client);
    if (point.y < client.top + 5)
        ScrollUp();
    else if (point.y >= client.bottom - 5)
        ScrollDown();
    const CPoint pos = ClientToText(point);
    if (!m_bDropPosVisible || pos != m_ptDropPos)
    {
        m_ptDropPos = pos;
        m_bDropPosVisible = TRUE;
        Invalidate(FALSE);
    }
    return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void CCrystalEditView::DoDragLeave()
{
    if (!m_bDropPosVisible)
        return;
    m_bDropPosVisible = FALSE;
    Invalidate(FALSE);
}

BOOL CCrystalEditView::DoDropText(COleDataObject* data, CPoint point)
{
    DoDragLeave();
    CByteArray bytes;
    if (!data || !QueryEditable() || !data->GetData(CF_TEXT, bytes))
        return FALSE;
    const CPoint pos = ClientToText(point);
    if (m_bDraggingText && !Less(pos, m_ptDraggedTextBegin) && !Less(m_ptDraggedTextEnd, pos))
    {
        // Into the text being dragged: only the caret moves.
        FinishEdit(pos);
        return FALSE;
    }
    std::string text(reinterpret_cast<const char*>(bytes.GetData()), static_cast<size_t>(bytes.GetSize()));
    if (const size_t nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    m_pTextBuffer->OpenActionGroup();
    int endLine = 0;
    int endChar = 0;
    m_pTextBuffer->InsertAt(this, pos.y, pos.x, text, endLine, endChar, CE_ACTION_DRAGDROP);
    m_bDroppedHere = m_bDraggingText;
    const CPoint end(endChar, endLine);
    m_ptAnchor = pos;
    SetCursorPos(end);
    SetSelection(pos, end);
    EnsureVisible(end);
    m_pTextBuffer->CloseActionGroup(this);
    return TRUE;
}

void CCrystalEditView::OnDragSourceMoved(const CPoint& start, const CPoint& end)
{
    if (!QueryEditable())
        return;
    // Joins the drop's action when the text went into this view.
    m_pTextBuffer->OpenActionGroup(m_bDroppedHere);
    m_bDroppedHere = FALSE;
    m_pTextBuffer->DeleteRange(this, start.y, start.x, end.y, end.x, CE_ACTION_DRAGDROP);
    m_pTextBuffer->CloseActionGroup(this);
}

void CCrystalEditView::OnDraw(CDC* dc)
{
    CCrystalTextView::OnDraw(dc);
    if (!m_bDropPosVisible || dc->IsPrinting())
        return;
    const CPoint at = TextToClient(m_ptDropPos);
    dc->FillSolidRect(at.x, at.y, 2, GetLineHeight(), RGB(0x80, 0x80, 0x80));
}
