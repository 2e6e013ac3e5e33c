// The open and save file boxes; every one goes through a replaceable sink.
#pragma once

#include "UiDefs.h"

#include <framework/CString.h>

#include <vector>

// Flags of the file boxes
constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

// The settings a caller may change before DoModal; nFilterIndex (from 1) is the chosen filter after it.
struct OPENFILENAME
{
    DWORD Flags = 0;
    DWORD nFilterIndex = 1;
    const char* lpstrInitialDir = nullptr;
    const char* lpstrTitle = nullptr;
};

// One entry of a "|" filter text: "File dati (*.dat)|*.dat|" gives the description and "*.dat".
struct FileFilter
{
    CString description;
    std::vector<CString> patterns; // split at ";"
};
// Splits "description|patterns|description|patterns||"; a description without patterns is dropped.
std::vector<FileFilter> ParseFileFilter(const char* filter);

class CFileDialog
{
public:
    // defaultExt without a dot is added to a typed name without extension by the desktop box.
    explicit CFileDialog(BOOL openFileDialog, const char* defaultExt = nullptr,
                         const char* fileName = nullptr, DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         const char* filter = nullptr, CWnd* parent = nullptr);
    virtual ~CFileDialog() = default;

    // The sink's answer: IDOK with the chosen path (which a user may leave empty), else IDCANCEL;
    // the desktop box answers IDCANCEL without a display.
    virtual INT_PTR DoModal();

    // The chosen path and its parts ("/d/TK20.dat": "TK20.dat", "dat", "TK20").
    CString GetPathName() const { return m_pathName; }
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;

    BOOL IsOpenDialog() const noexcept { return m_open; }
    const CString& GetDefaultExt() const noexcept { return m_defaultExt; }
    const CString& GetInitialFileName() const noexcept { return m_initialFileName; }
    const std::vector<FileFilter>& GetFilters() const noexcept { return m_filters; }
    CWnd* GetParentWnd() const noexcept { return m_parent; }
    // The sink's answer: the path and the filter (from 1) it was chosen under.
    void SetResult(const char* pathName, DWORD filterIndex);

    OPENFILENAME m_ofn;

private:
    BOOL m_open;
    CString m_defaultExt;
    CString m_initialFileName;
    std::vector<FileFilter> m_filters;
    CWnd* m_parent;
    CString m_pathName;
};

// Shows a file box and answers IDOK (after SetResult) or IDCANCEL. Tests install one that answers.
class CFileDialogSink
{
public:
    virtual ~CFileDialogSink() = default;
    virtual INT_PTR Show(CFileDialog& dialog) = 0;
};

// Installs a sink (null: the desktop one again) and answers the previous one (null for the desktop's).
CFileDialogSink* AfxSetFileDialogSink(CFileDialogSink* sink);

class QFileDialog;

namespace tvsk::ui
{
// The toolkit's own file box as the program shows it: a folder's type in the chosen language (the
// toolkit's catalogues lack it) and the size, type and date columns as wide as their texts.
void FitFileBox(QFileDialog& box);
} // namespace tvsk::ui
