#include "CrystalTextBuffer.h"

#include "TextEditStrings.h"

#include <ZoSupport/ProgramError.h>
#include <framework/File.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

IMPLEMENT_DYNCREATE(CCrystalTextBuffer, CCmdTarget)

namespace
{

constexpr size_t kBlockSize = 32768;
constexpr size_t kLoadLineStep = 4096;

// Line storage grows in 16-byte steps.
void ReserveLine(std::string& line, size_t length)
{
    if (line.capacity() < length)
        line.reserve((length / 16 + 1) * 16);
}

// The style of a text from its first block: the first "\n" alone, after "\r", or before "\r".
int DetectStyle(std::string_view block)
{
    const size_t lf = block.find('\n');
    if (lf == std::string_view::npos || (lf > 0 && block[lf - 1] == '\r'))
        return CRLF_STYLE_DOS;
    if (lf + 1 < block.size() && block[lf + 1] == '\r')
        return CRLF_STYLE_UNIX;
    return CRLF_STYLE_MAC;
}

// Cuts bytes into lines at the style's line end; any other lone "\r" or "\n" ends a line too, so no
// line keeps a line-end character (edits and undo rely on that).
template <class Line> class CLineSplitter
{
public:
    explicit CLineSplitter(std::string_view separator) : m_separator(separator)
    {
        m_lines.reserve(kLoadLineStep);
    }

    void Feed(std::string_view bytes)
    {
        for (char ch : bytes)
        {
            if (m_inSeparator)
            {
                m_inSeparator = false;
                if (ch == m_separator[1])
                    continue;
            }
            if (ch == '\r' || ch == '\n')
            {
                EndLine();
                m_inSeparator = m_separator.size() == 2 && ch == m_separator[0];
                continue;
            }
            m_current.push_back(ch);
        }
    }

    // The last line is kept even when empty.
    std::vector<Line> Finish()
    {
        EndLine();
        return std::move(m_lines);
    }

private:
    void EndLine()
    {
        m_lines.emplace_back();
        m_lines.back().text = std::move(m_current);
        m_current = std::string();
    }

    std::string_view m_separator;
    // The first character of a two-character line end ended the last line.
    bool m_inSeparator = false;
    std::string m_current;
    std::vector<Line> m_lines;
};

// Lines of inserted text break at "\r\n", "\n" and "\r".
std::vector<std::string_view> SplitInsertedText(std::string_view text)
{
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        pieces.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty())
    {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

} // namespace

CCrystalTextBuffer::CCrystalTextBuffer() = default;

CCrystalTextBuffer::~CCrystalTextBuffer() = default;

const char* CCrystalTextBuffer::LineEnd(int style) noexcept
{
    switch (style)
    {
    case CRLF_STYLE_UNIX:
        return "\n\r";
    case CRLF_STYLE_MAC:
        return "\n";
    default:
        return "\r\n";
    }
}

void CCrystalTextBuffer::SetCRLFMode(int style)
{
    if (style < CRLF_STYLE_DOS || style > CRLF_STYLE_MAC)
    {
        ProgramError(__FILE__, __LINE__, "line-end style out of range");
        return;
    }
    m_nCRLFMode = style;
}

void CCrystalTextBuffer::TakeLines(std::vector<LINE>&& lines, int style, bool readOnly)
{
    m_aLines = std::move(lines);
    m_nCRLFMode = style;
    m_bInit = TRUE;
    m_bReadOnly = readOnly;
    m_bModified = FALSE;
    m_aUndoBuf.clear();
    m_nUndoPosition = 0;
    m_nSyncPosition = 0;
    m_bUndoGroup = true;
    m_nUndoBufSize = DEFAULT_UNDO_LIMIT;
    NotifyViews(nullptr, nullptr, UPDATE_RESET);
}

BOOL CCrystalTextBuffer::InitEmpty(int style)
{
    std::vector<LINE> lines(1);
    TakeLines(std::move(lines), style < CRLF_STYLE_DOS || style > CRLF_STYLE_MAC ? CRLF_STYLE_DOS : style,
              false);
    return TRUE;
}

void CCrystalTextBuffer::FreeAll()
{
    m_aLines.clear();
    m_aUndoBuf.clear();
    m_nUndoPosition = 0;
    m_nSyncPosition = 0;
    m_bInit = FALSE;
    m_bModified = FALSE;
    NotifyViews(nullptr, nullptr, UPDATE_RESET);
}

BOOL CCrystalTextBuffer::LoadString(std::string_view text, int style)
{
    if (style < CRLF_STYLE_DOS || style > CRLF_STYLE_MAC)
        style = DetectStyle(text.substr(0, kBlockSize));
    CLineSplitter<LINE> splitter(LineEnd(style));
    splitter.Feed(text);
    TakeLines(splitter.Finish(), style, false);
    return TRUE;
}

BOOL CCrystalTextBuffer::LoadFile(const char* path, int style)
{
    struct stat info
    {
    };
    if (!path || ::stat(path, &info) != 0 || !S_ISREG(info.st_mode))
        return FALSE;
    if (static_cast<unsigned long long>(info.st_size) > kMaxFileSize)
    {
        errno = EFBIG;
        return FALSE;
    }
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return FALSE;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    // Read into new lines; the buffer changes only once the whole file is in.
    std::string block(kBlockSize, '\0');
    std::optional<CLineSplitter<LINE>> splitter;
    bool ok = true;
    for (;;)
    {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
        {
            ok = false;
            break;
        }
        const std::string_view bytes(block.data(), static_cast<size_t>(got));
        if (!splitter)
        {
            if (style < CRLF_STYLE_DOS || style > CRLF_STYLE_MAC)
                style = DetectStyle(bytes);
            splitter.emplace(LineEnd(style));
        }
        if (got == 0)
            break;
        splitter->Feed(bytes);
    }
    ::close(fd);
    if (!ok)
        return FALSE;
    // Read-only when the mode has no write bit or this user cannot write it.
    const bool readOnly = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path, W_OK) != 0;
    TakeLines(splitter->Finish(), style, readOnly);
    return TRUE;
}

BOOL CCrystalTextBuffer::SaveFile(const char* path, int style, BOOL clearModified)
{
    if (!path || !*path || !m_bInit)
        return FALSE;
    if (style < CRLF_STYLE_DOS || style > CRLF_STYLE_MAC)
        style = m_nCRLFMode;
    CFile::RemoveStaleSaveTemps(path);
    const CString temp = CFile::SaveTempName(path);
    const int fd = ::open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return FALSE;

    struct stat target
    {
    };
    const bool targetExists = ::stat(path, &target) == 0;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    bool ok = ::fchmod(fd, targetExists ? (target.st_mode & 07777) : (0666 & ~mask)) == 0;

    const std::string_view separator = LineEnd(style);
    std::string out;
    out.reserve(kBlockSize + 4096);
    for (size_t i = 0; ok && i < m_aLines.size(); ++i)
    {
        if (i > 0)
            out.append(separator);
        out.append(m_aLines[i].text);
        if (out.size() >= kBlockSize)
        {
            ok = WriteAll(fd, out);
            out.clear();
        }
    }
    ok = ok && WriteAll(fd, out) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;

    if (ok && m_bCreateBackupFile && targetExists)
    {
        const CString backup = CString(path) + ".bak";
        ::unlink(backup);
        ok = ::link(path, backup) == 0;
    }
    ok = ok && ::rename(temp, path) == 0;
    if (!ok)
    {
        ::unlink(temp);
        return FALSE;
    }
    if (clearModified)
    {
        m_nSyncPosition = m_nUndoPosition;
        SetModified(FALSE);
    }
    return TRUE;
}

bool CCrystalTextBuffer::IsValidLine(int line) const noexcept
{
    return line >= 0 && line < GetLineCount();
}

bool CCrystalTextBuffer::IsValidPosition(int line, int pos) const noexcept
{
    return IsValidLine(line) && pos >= 0 &&
           pos <= static_cast<int>(m_aLines[static_cast<size_t>(line)].text.size());
}

int CCrystalTextBuffer::GetLineLength(int line) const
{
    if (!IsValidLine(line))
    {
        ProgramError(__FILE__, __LINE__, "line out of range");
        return 0;
    }
    return static_cast<int>(m_aLines[static_cast<size_t>(line)].text.size());
}

const char* CCrystalTextBuffer::GetLineChars(int line) const
{
    if (!IsValidLine(line))
    {
        ProgramError(__FILE__, __LINE__, "line out of range");
        return "";
    }
    return m_aLines[static_cast<size_t>(line)].text.c_str();
}

std::string_view CCrystalTextBuffer::GetLine(int line) const
{
    if (!IsValidLine(line))
    {
        ProgramError(__FILE__, __LINE__, "line out of range");
        return {};
    }
    return m_aLines[static_cast<size_t>(line)].text;
}

DWORD CCrystalTextBuffer::GetLineFlags(int line) const
{
    if (!IsValidLine(line))
    {
        ProgramError(__FILE__, __LINE__, "line out of range");
        return 0;
    }
    return m_aLines[static_cast<size_t>(line)].flags;
}

void CCrystalTextBuffer::SetLineFlag(int line, DWORD flag, BOOL set, BOOL removeFromPreviousLine)
{
    if (!IsValidLine(line))
    {
        ProgramError(__FILE__, __LINE__, "line out of range");
        return;
    }
    if (set && removeFromPreviousLine)
    {
        for (int other = 0; other < GetLineCount(); ++other)
        {
            if (other != line && (m_aLines[static_cast<size_t>(other)].flags & flag))
            {
                m_aLines[static_cast<size_t>(other)].flags &= ~flag;
                NotifyViews(nullptr, nullptr, UPDATE_SINGLELINE | UPDATE_FLAGSONLY, other);
            }
        }
    }
    DWORD& flags = m_aLines[static_cast<size_t>(line)].flags;
    const DWORD changed = set ? (flags | flag) : (flags & ~flag);
    if (changed != flags)
    {
        flags = changed;
        NotifyViews(nullptr, nullptr, UPDATE_SINGLELINE | UPDATE_FLAGSONLY, line);
    }
}

int CCrystalTextBuffer::FindLineWithFlag(DWORD flag, int startLine) const
{
    for (int line = std::max(startLine, 0); line < GetLineCount(); ++line)
        if (m_aLines[static_cast<size_t>(line)].flags & flag)
            return line;
    return -1;
}

void CCrystalTextBuffer::ClearFlagEverywhere(DWORD flag)
{
    bool changed = false;
    for (LINE& line : m_aLines)
    {
        changed = changed || (line.flags & flag) != 0;
        line.flags &= ~flag;
    }
    if (changed)
        NotifyViews(nullptr, nullptr, UPDATE_FLAGSONLY);
}

void CCrystalTextBuffer::GetRangeText(int startLine, int startChar, int endLine, int endChar, CString& text,
                                      const char* separator) const
{
    text.Empty();
    if (!IsValidPosition(startLine, startChar) || !IsValidPosition(endLine, endChar))
        return;
    if (startLine > endLine || (startLine == endLine && startChar >= endChar))
        return;
    const std::string_view sep = separator ? separator : "\r\n";
    std::string out;
    for (int line = startLine; line <= endLine; ++line)
    {
        const std::string& chars = m_aLines[static_cast<size_t>(line)].text;
        const size_t from = line == startLine ? static_cast<size_t>(startChar) : 0;
        const size_t to = line == endLine ? static_cast<size_t>(endChar) : chars.size();
        out.append(chars, from, to - from);
        if (line < endLine)
            out.append(sep);
    }
    text = CString(std::move(out));
}

void CCrystalTextBuffer::GetAllText(CString& text, int style) const
{
    text.Empty();
    if (m_aLines.empty() || (m_aLines.size() == 1 && m_aLines[0].text.empty()))
        return;
    if (style < CRLF_STYLE_DOS || style > CRLF_STYLE_MAC)
        style = m_nCRLFMode;
    const std::string_view separator = LineEnd(style);
    size_t total = 0;
    for (const LINE& line : m_aLines)
        total += line.text.size() + separator.size();
    std::string out;
    out.reserve(total);
    for (const LINE& line : m_aLines)
    {
        out.append(line.text);
        out.append(separator);
    }
    text = CString(std::move(out));
}

void CCrystalTextBuffer::InternalInsert(CTextBufferView* source, int line, int pos, std::string_view text,
                                        int& endLine, int& endChar)
{
    const std::vector<std::string_view> pieces = SplitInsertedText(text);
    auto& target = m_aLines[static_cast<size_t>(line)];
    if (pieces.size() == 1)
    {
        ReserveLine(target.text, target.text.size() + text.size());
        target.text.insert(static_cast<size_t>(pos), text);
        endLine = line;
        endChar = pos + static_cast<int>(text.size());
    }
    else
    {
        std::string tail = target.text.substr(static_cast<size_t>(pos));
        target.text.erase(static_cast<size_t>(pos));
        target.text.append(pieces.front());
        std::vector<LINE> added(pieces.size() - 1);
        for (size_t i = 1; i < pieces.size(); ++i)
        {
            ReserveLine(added[i - 1].text, pieces[i].size() + (i + 1 == pieces.size() ? tail.size() : 0));
            added[i - 1].text.assign(pieces[i]);
        }
        endLine = line + static_cast<int>(added.size());
        endChar = static_cast<int>(added.back().text.size());
        added.back().text.append(tail);
        m_aLines.insert(m_aLines.begin() + line + 1, std::make_move_iterator(added.begin()),
                        std::make_move_iterator(added.end()));
    }
    const TEXT_CHANGE change{true, CPoint(pos, line), CPoint(endChar, endLine)};
    const DWORD flags =
        endLine == line ? (UPDATE_SINGLELINE | UPDATE_HORZRANGE) : (UPDATE_HORZRANGE | UPDATE_VERTRANGE);
    NotifyViews(source, &change, flags, line);
}

void CCrystalTextBuffer::InternalDelete(CTextBufferView* source, int startLine, int startChar, int endLine,
                                        int endChar)
{
    auto& first = m_aLines[static_cast<size_t>(startLine)].text;
    if (startLine == endLine)
    {
        first.erase(static_cast<size_t>(startChar), static_cast<size_t>(endChar - startChar));
    }
    else
    {
        const std::string& last = m_aLines[static_cast<size_t>(endLine)].text;
        first.erase(static_cast<size_t>(startChar));
        first.append(last, static_cast<size_t>(endChar));
        m_aLines.erase(m_aLines.begin() + startLine + 1, m_aLines.begin() + endLine + 1);
    }
    const TEXT_CHANGE change{false, CPoint(startChar, startLine), CPoint(endChar, endLine)};
    const DWORD flags =
        startLine == endLine ? (UPDATE_SINGLELINE | UPDATE_HORZRANGE) : (UPDATE_HORZRANGE | UPDATE_VERTRANGE);
    NotifyViews(source, &change, flags, startLine);
}

BOOL CCrystalTextBuffer::InsertAt(CTextBufferView* source, int line, int pos, std::string_view text,
                                  int& endLine, int& endChar, int action)
{
    if (!m_bInit || m_bReadOnly)
        return FALSE;
    if (!IsValidPosition(line, pos))
    {
        ProgramError(__FILE__, __LINE__, "insert position out of range");
        return FALSE;
    }
    InternalInsert(source, line, pos, text, endLine, endChar);
    AddUndoRecord(true, CPoint(pos, line), CPoint(endChar, endLine), text, action);
    return TRUE;
}

BOOL CCrystalTextBuffer::DeleteRange(CTextBufferView* source, int startLine, int startChar, int endLine,
                                     int endChar, int action)
{
    if (!m_bInit || m_bReadOnly)
        return FALSE;
    if (!IsValidPosition(startLine, startChar) || !IsValidPosition(endLine, endChar) || startLine > endLine ||
        (startLine == endLine && startChar > endChar))
    {
        ProgramError(__FILE__, __LINE__, "delete range out of range");
        return FALSE;
    }
    if (startLine == endLine && startChar == endChar)
        return TRUE;
    CString removed;
    GetRangeText(startLine, startChar, endLine, endChar, removed);
    InternalDelete(source, startLine, startChar, endLine, endChar);
    AddUndoRecord(false, CPoint(startChar, startLine), CPoint(endChar, endLine), removed.str(), action);
    return TRUE;
}

void CCrystalTextBuffer::AddUndoRecord(bool insert, CPoint start, CPoint end, std::string_view text,
                                       int action)
{
    // The redo tail goes; a save position inside it can no longer be reached.
    if (m_nUndoPosition < static_cast<int>(m_aUndoBuf.size()))
    {
        m_aUndoBuf.erase(m_aUndoBuf.begin() + m_nUndoPosition, m_aUndoBuf.end());
        if (m_nSyncPosition > m_nUndoPosition)
            m_nSyncPosition = -1;
    }
    if (m_bUndoGroup && m_nUndoBufSize > 0 && static_cast<int>(m_aUndoBuf.size()) >= m_nUndoBufSize)
    {
        // Drop the oldest whole action.
        size_t dropped = 1;
        while (dropped < m_aUndoBuf.size() && !(m_aUndoBuf[dropped].flags & UNDO_BEGINGROUP))
            ++dropped;
        m_aUndoBuf.erase(m_aUndoBuf.begin(), m_aUndoBuf.begin() + static_cast<long>(dropped));
        m_nUndoPosition -= static_cast<int>(dropped);
        m_nSyncPosition =
            m_nSyncPosition >= static_cast<int>(dropped) ? m_nSyncPosition - static_cast<int>(dropped) : -1;
    }
    UNDO_RECORD record;
    record.flags = (insert ? UNDO_INSERT : 0) | (m_bUndoGroup ? UNDO_BEGINGROUP : 0);
    record.start = start;
    record.end = end;
    record.action = action;
    record.text.assign(text);
    m_aUndoBuf.push_back(std::move(record));
    m_nUndoPosition = static_cast<int>(m_aUndoBuf.size());
    m_bUndoGroup = false;
    SetModified(TRUE);
}

void CCrystalTextBuffer::OpenActionGroup(BOOL merge)
{
    m_bUndoGroup = !merge || m_aUndoBuf.empty();
}

void CCrystalTextBuffer::CloseActionGroup(CTextBufferView* source)
{
    m_bUndoGroup = true;
    NotifyViews(source, nullptr, 0);
}

BOOL CCrystalTextBuffer::CanStepBack() const noexcept
{
    return m_nUndoPosition > 0;
}

BOOL CCrystalTextBuffer::CanStepForward() const noexcept
{
    return m_nUndoPosition < static_cast<int>(m_aUndoBuf.size());
}

BOOL CCrystalTextBuffer::StepBack(CPoint& caret)
{
    if (!CanStepBack())
        return FALSE;
    for (;;)
    {
        const UNDO_RECORD& record = m_aUndoBuf[static_cast<size_t>(--m_nUndoPosition)];
        if (!Replayable(record, (record.flags & UNDO_INSERT) != 0))
        {
            ++m_nUndoPosition;
            UpdateModifiedFromUndo();
            return FALSE;
        }
        if (record.flags & UNDO_INSERT)
        {
            InternalDelete(nullptr, record.start.y, record.start.x, record.end.y, record.end.x);
        }
        else
        {
            int endLine = 0;
            int endChar = 0;
            InternalInsert(nullptr, record.start.y, record.start.x, record.text, endLine, endChar);
        }
        caret = record.start;
        if ((record.flags & UNDO_BEGINGROUP) || m_nUndoPosition == 0)
            break;
    }
    UpdateModifiedFromUndo();
    return TRUE;
}

BOOL CCrystalTextBuffer::StepForward(CPoint& caret)
{
    if (!CanStepForward())
        return FALSE;
    do
    {
        const UNDO_RECORD& record = m_aUndoBuf[static_cast<size_t>(m_nUndoPosition)];
        if (!Replayable(record, (record.flags & UNDO_INSERT) == 0))
        {
            UpdateModifiedFromUndo();
            return FALSE;
        }
        ++m_nUndoPosition;
        if (record.flags & UNDO_INSERT)
        {
            int endLine = 0;
            int endChar = 0;
            InternalInsert(nullptr, record.start.y, record.start.x, record.text, endLine, endChar);
            caret = CPoint(endChar, endLine);
        }
        else
        {
            InternalDelete(nullptr, record.start.y, record.start.x, record.end.y, record.end.x);
            caret = record.start;
        }
    } while (m_nUndoPosition < static_cast<int>(m_aUndoBuf.size()) &&
             !(m_aUndoBuf[static_cast<size_t>(m_nUndoPosition)].flags & UNDO_BEGINGROUP));
    UpdateModifiedFromUndo();
    return TRUE;
}

bool CCrystalTextBuffer::Replayable(const UNDO_RECORD& record, bool removes) const
{
    const CPoint& start = record.start;
    const CPoint& end = record.end;
    const bool fits = removes ? IsValidPosition(start.y, start.x) && IsValidPosition(end.y, end.x) &&
                                    (start.y < end.y || (start.y == end.y && start.x <= end.x))
                              : IsValidPosition(start.y, start.x);
    if (!fits)
        ProgramError(__FILE__, __LINE__, "undo record does not fit the text");
    return fits;
}

void CCrystalTextBuffer::UpdateModifiedFromUndo()
{
    SetModified(m_nUndoPosition != m_nSyncPosition);
}

int CCrystalTextBuffer::GroupStartBefore(int position) const noexcept
{
    for (int i = position - 1; i >= 0; --i)
        if (m_aUndoBuf[static_cast<size_t>(i)].flags & UNDO_BEGINGROUP)
            return i;
    return position > 0 ? 0 : -1;
}

BOOL CCrystalTextBuffer::BackDescription(CString& text) const
{
    const int start = GroupStartBefore(m_nUndoPosition);
    if (start < 0)
        return FALSE;
    return ActionText(m_aUndoBuf[static_cast<size_t>(start)].action, text);
}

BOOL CCrystalTextBuffer::ForwardDescription(CString& text) const
{
    if (!CanStepForward())
        return FALSE;
    return ActionText(m_aUndoBuf[static_cast<size_t>(m_nUndoPosition)].action, text);
}

BOOL CCrystalTextBuffer::ActionText(int action, CString& text)
{
    static constexpr UINT kIds[] = {8619, 8620, 8621, 8622, 8624, 8625, 8626, 8627, 8628, 8623, 8629};
    if (action < 0 || action >= static_cast<int>(std::size(kIds)))
        return FALSE;
    text = LoadTextEditString(kIds[action]);
    return TRUE;
}

void CCrystalTextBuffer::SetModified(BOOL modified)
{
    m_bModified = modified;
}

void CCrystalTextBuffer::AttachView(CTextBufferView* view)
{
    if (view && std::find(m_lpViews.begin(), m_lpViews.end(), view) == m_lpViews.end())
        m_lpViews.push_back(view);
}

void CCrystalTextBuffer::DetachView(CTextBufferView* view)
{
    std::erase(m_lpViews, view);
}

void CCrystalTextBuffer::NotifyViews(CTextBufferView* source, const TEXT_CHANGE* change, DWORD flags,
                                     int line)
{
    // A view may detach itself while being told.
    const std::vector<CTextBufferView*> views = m_lpViews;
    for (CTextBufferView* view : views)
        view->UpdateView(source, change, flags, line);
}
