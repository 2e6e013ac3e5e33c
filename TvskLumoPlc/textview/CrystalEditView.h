// The editing view: typing, Enter with auto-indent, overwrite, Tab indentation, Delete, Backspace,
// cut, paste, undo and redo, dropping text, and the replace dialog. Every change is one action
// group of the buffer.
#pragma once

#include "CrystalTextView.h"

#include <ui/DragDrop.h>

class CTextReplaceDialog;

class CCrystalEditView : public CCrystalTextView
{
    DECLARE_DYNCREATE(CCrystalEditView)

public:
    CCrystalEditView();
    ~CCrystalEditView() override;

    BOOL QueryEditable() override;
    BOOL GetOverwriteMode() const override { return m_bOvrMode; }
    void SetOverwriteMode(BOOL ovrMode);
    BOOL GetAutoIndent() const noexcept { return m_bAutoIndent; }
    void SetAutoIndent(BOOL autoIndent) noexcept { m_bAutoIndent = autoIndent; }

    // Edit commands
    void OnEditChar(UINT ch);
    void OnEditNewLine();
    void OnEditDelete();
    void OnEditDeleteBack();
    void OnEditTab();
    void OnEditUntab();
    void OnEditCut();
    void OnEditPaste();
    void OnEditUndo();
    void OnEditRedo();
    void OnEditSwitchOvrmode();
    void OnEditReplace();
    // The replace dialog's starting values: the profile, and the view's selection as its scope.
    void PrepareReplaceDialog(CTextReplaceDialog& dialog);
    // Replaces the selection with text as one action (the replace dialog's step).
    BOOL ReplaceSelection(const char* newText);

    // Dropping (the drop target's steps)
    DROPEFFECT DoDragOver(COleDataObject* data, DWORD keyState, CPoint point);
    void DoDragLeave();
    BOOL DoDropText(COleDataObject* data, CPoint point);
    BOOL IsDropCaretShown() const noexcept { return m_bDropPosVisible; }
    CPoint GetDropPos() const noexcept { return m_ptDropPos; }

protected:
    int OnCreate(CREATESTRUCT* createStruct) override;
    void OnDestroy() override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    // Return breaks the line here, also inside a dialog; Escape stays the dialog's.
    UINT OnGetDlgCode(UINT key) override;
    void OnDraw(CDC* dc) override;
    void OnDragSourceMoved(const CPoint& start, const CPoint& end) override;

private:
    class CEditDropTarget;

    // Deletes the selection (an action of the open group); FALSE when there is none.
    BOOL DeleteCurrentSelection(int action);
    // Places caret and selection at pos after an edit and shows it.
    void FinishEdit(const CPoint& pos);
    // Lines the selection covers for indenting: a last line whose selection ends at column 0 is left out.
    bool SelectedLines(int& first, int& last);
    void SelectWholeLines(int first, int last);
    void UpdateUndoMenu(CCmdUI* cmdUI, bool redo);

    BOOL m_bOvrMode = FALSE;
    BOOL m_bAutoIndent = TRUE;
    BOOL m_bDropPosVisible = FALSE;
    BOOL m_bDroppedHere = FALSE; // the drag of this view ended in it
    CPoint m_ptDropPos;
    std::unique_ptr<CEditDropTarget> m_pDropTarget;
};
