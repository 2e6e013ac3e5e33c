// The editor's text: lines, line-end style, load and save, undo and redo grouped by user action,
// and the views that show it.
#pragma once

#include <framework/CString.h>
#include <framework/CmdTarget.h>
#include <framework/Geometry.h>

#include <string>
#include <string_view>
#include <vector>

// Line-end styles: 0 "\r\n", 1 "\n\r", 2 "\n"; -1 asks for detection (load) or the buffer's (save).
constexpr int CRLF_STYLE_AUTOMATIC = -1;
constexpr int CRLF_STYLE_DOS = 0;
constexpr int CRLF_STYLE_UNIX = 1;
constexpr int CRLF_STYLE_MAC = 2;

// Line flags: numbered bookmarks in bits 0 to 9, marks drawn in their own colours, the plain bookmark.
constexpr DWORD LF_BOOKMARK_FIRST = 0x00001;
constexpr DWORD LF_NUMBERED_BOOKMARKS = 0x003FF;
constexpr DWORD LF_EXECUTION = 0x10000;
constexpr DWORD LF_BREAKPOINT = 0x20000;
constexpr DWORD LF_BOOKMARKS = 0x80000;
constexpr DWORD LF_ERROR = 0x100000;

// Update flags the buffer hands its views.
constexpr DWORD UPDATE_HORZRANGE = 0x0001; // a line's length changed
constexpr DWORD UPDATE_VERTRANGE = 0x0002; // the line count changed
constexpr DWORD UPDATE_SINGLELINE = 0x0100;
constexpr DWORD UPDATE_FLAGSONLY = 0x0200;
constexpr DWORD UPDATE_RESET = 0x1000;

// Undo record flags
constexpr DWORD UNDO_INSERT = 0x0001;
constexpr DWORD UNDO_BEGINGROUP = 0x0100;

// Action codes of undo records
enum
{
    CE_ACTION_UNKNOWN = 0,
    CE_ACTION_PASTE = 1,
    CE_ACTION_DELSEL = 2,
    CE_ACTION_CUT = 3,
    CE_ACTION_TYPING = 4,
    CE_ACTION_BACKSPACE = 5,
    CE_ACTION_INDENT = 6,
    CE_ACTION_DRAGDROP = 7,
    CE_ACTION_REPLACE = 8,
    CE_ACTION_DELETE = 9,
    CE_ACTION_AUTOINDENT = 10,
};

// What one change did to the text: views shift their positions by it.
struct TEXT_CHANGE
{
    bool inserted;
    CPoint start;
    CPoint end;
};

// A window that shows a buffer.
class CTextBufferView
{
public:
    virtual ~CTextBufferView() = default;
    // change is null for updates that moved no text (flags, group end, reset).
    virtual void UpdateView(CTextBufferView* source, const TEXT_CHANGE* change, DWORD flags, int line) = 0;
};

struct UNDO_RECORD
{
    DWORD flags = 0;
    CPoint start;
    CPoint end;
    int action = CE_ACTION_UNKNOWN;
    std::string text;
};

class CCrystalTextBuffer : public CCmdTarget
{
    DECLARE_DYNCREATE(CCrystalTextBuffer)

public:
    static constexpr int DEFAULT_UNDO_LIMIT = 1024;
    // Larger files are refused (errno EFBIG): no program text comes near it, and its lines take
    // several times its size in memory.
    static constexpr unsigned long long kMaxFileSize = 16ull << 20;

    CCrystalTextBuffer();
    ~CCrystalTextBuffer() override;

    BOOL InitEmpty(int style = CRLF_STYLE_DOS);
    // FALSE, the text unchanged, when the file cannot be read or is larger than kMaxFileSize.
    BOOL LoadFile(const char* path, int style = CRLF_STYLE_AUTOMATIC);
    BOOL LoadString(std::string_view text, int style = CRLF_STYLE_AUTOMATIC);
    // Writes a temporary file beside the target (CFile::SaveTempName) and renames it over the
    // target: a failure leaves the target as it was; a temporary an earlier save left goes.
    BOOL SaveFile(const char* path, int style = CRLF_STYLE_AUTOMATIC, BOOL clearModified = TRUE);
    void FreeAll();
    BOOL IsInitialized() const noexcept { return m_bInit; }

    // Lines
    int GetLineCount() const noexcept { return static_cast<int>(m_aLines.size()); }
    int GetLineLength(int line) const;
    const char* GetLineChars(int line) const;
    std::string_view GetLine(int line) const;
    DWORD GetLineFlags(int line) const;
    // Sets or clears flags on a line; with removeFromPreviousLine a flag held by another line moves here.
    void SetLineFlag(int line, DWORD flag, BOOL set, BOOL removeFromPreviousLine = TRUE);
    // The first line holding the flag from startLine on, -1 when none.
    int FindLineWithFlag(DWORD flag, int startLine = 0) const;
    void ClearFlagEverywhere(DWORD flag);
    void GetRangeText(int startLine, int startChar, int endLine, int endChar, CString& text,
                      const char* separator = nullptr) const;
    void GetAllText(CString& text, int style = CRLF_STYLE_AUTOMATIC) const;

    // Edits: both record an undo record of the action and notify the views.
    BOOL InsertAt(CTextBufferView* source, int line, int pos, std::string_view text, int& endLine,
                  int& endChar, int action = CE_ACTION_UNKNOWN);
    BOOL DeleteRange(CTextBufferView* source, int startLine, int startChar, int endLine, int endChar,
                     int action = CE_ACTION_UNKNOWN);

    // Undo and redo
    BOOL CanStepBack() const noexcept;
    BOOL CanStepForward() const noexcept;
    BOOL StepBack(CPoint& caret);
    BOOL StepForward(CPoint& caret);
    void OpenActionGroup(BOOL merge = FALSE);
    void CloseActionGroup(CTextBufferView* source);
    BOOL BackDescription(CString& text) const;
    BOOL ForwardDescription(CString& text) const;
    static BOOL ActionText(int action, CString& text);
    void SetUndoLimit(int limit) noexcept { m_nUndoBufSize = limit; }
    int GetUndoRecordCount() const noexcept { return static_cast<int>(m_aUndoBuf.size()); }
    const UNDO_RECORD& GetUndoRecord(int index) const { return m_aUndoBuf.at(static_cast<size_t>(index)); }

    // Views
    void AttachView(CTextBufferView* view);
    void DetachView(CTextBufferView* view);
    void NotifyViews(CTextBufferView* source, const TEXT_CHANGE* change, DWORD flags, int line = -1);

    // State
    BOOL GetReadOnly() const noexcept { return m_bReadOnly; }
    void SetReadOnly(BOOL readOnly = TRUE) noexcept { m_bReadOnly = readOnly; }
    BOOL IsModified() const noexcept { return m_bModified; }
    virtual void SetModified(BOOL modified = TRUE);
    int GetCRLFMode() const noexcept { return m_nCRLFMode; }
    void SetCRLFMode(int style);
    BOOL GetCreateBackup() const noexcept { return m_bCreateBackupFile; }
    void SetCreateBackup(BOOL create) noexcept { m_bCreateBackupFile = create; }

    static const char* LineEnd(int style) noexcept;

protected:
    struct LINE
    {
        std::string text;
        DWORD flags = 0;
    };

private:
    bool IsValidLine(int line) const noexcept;
    bool IsValidPosition(int line, int pos) const noexcept;
    void TakeLines(std::vector<LINE>&& lines, int style, bool readOnly);
    void InternalInsert(CTextBufferView* source, int line, int pos, std::string_view text, int& endLine,
                        int& endChar);
    void InternalDelete(CTextBufferView* source, int startLine, int startChar, int endLine, int endChar);
    void AddUndoRecord(bool insert, CPoint start, CPoint end, std::string_view text, int action);
    int GroupStartBefore(int position) const noexcept;
    // Whether a record's range lies in the text, for removing it or for inserting at its start.
    bool Replayable(const UNDO_RECORD& record, bool removes) const;
    void UpdateModifiedFromUndo();

    BOOL m_bInit = FALSE;
    BOOL m_bReadOnly = FALSE;
    BOOL m_bModified = FALSE;
    int m_nCRLFMode = CRLF_STYLE_DOS;
    BOOL m_bCreateBackupFile = FALSE;
    int m_nUndoBufSize = DEFAULT_UNDO_LIMIT;
    std::vector<LINE> m_aLines;
    std::vector<UNDO_RECORD> m_aUndoBuf;
    int m_nUndoPosition = 0;
    // The undo position at the last save; -1 once the records it stood on were dropped.
    int m_nSyncPosition = 0;
    bool m_bUndoGroup = true;
    std::vector<CTextBufferView*> m_lpViews;
};
