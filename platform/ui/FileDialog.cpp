// The desktop file box and the sink switch.
#include "FileDialog.h"

#include "Desktop.h"
#include "Language.h"
#include "Wnd.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>
#include <QWidget>

#include <string_view>

std::vector<FileFilter> ParseFileFilter(const char* filter)
{
    std::vector<FileFilter> filters;
    if (!filter)
        return filters;
    std::vector<std::string_view> parts;
    std::string_view rest(filter);
    while (!rest.empty())
    {
        const size_t bar = rest.find('|');
        parts.push_back(rest.substr(0, bar));
        if (bar == std::string_view::npos)
            break;
        rest.remove_prefix(bar + 1);
    }
    for (size_t i = 0; i + 1 < parts.size(); i += 2)
    {
        if (parts[i].empty() || parts[i + 1].empty())
            break; // "||" ends the list
        FileFilter entry{CString(std::string(parts[i]).c_str()), {}};
        std::string_view patterns = parts[i + 1];
        while (!patterns.empty())
        {
            const size_t semicolon = patterns.find(';');
            if (!patterns.substr(0, semicolon).empty())
                entry.patterns.emplace_back(std::string(patterns.substr(0, semicolon)).c_str());
            if (semicolon == std::string_view::npos)
                break;
            patterns.remove_prefix(semicolon + 1);
        }
        filters.push_back(entry);
    }
    return filters;
}

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExt, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : m_open(openFileDialog), m_defaultExt(defaultExt ? defaultExt : ""),
      m_initialFileName(fileName ? fileName : ""), m_filters(ParseFileFilter(filter)), m_parent(parent)
{
    m_ofn.Flags = flags;
    if (!m_defaultExt.IsEmpty() && m_defaultExt[0] == '.')
        m_defaultExt = m_defaultExt.Mid(1);
}

CString CFileDialog::GetFileName() const
{
    const int slash = m_pathName.ReverseFind('/');
    return slash < 0 ? m_pathName : m_pathName.Mid(slash + 1);
}

CString CFileDialog::GetFileExt() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

void CFileDialog::SetResult(const char* pathName, DWORD filterIndex)
{
    m_pathName = pathName ? pathName : "";
    m_ofn.nFilterIndex = filterIndex;
}

namespace
{

QString NameFilterOf(const FileFilter& filter)
{
    QString description = QString::fromUtf8(filter.description.GetString());
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (open > 0)
        description = description.left(open).trimmed();
    QStringList patterns;
    for (const CString& pattern : filter.patterns)
        patterns << QString::fromUtf8(pattern.GetString());
    return QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
}

// The folder's type in the tables' words ("Cartella" and its translations); the rest as the
// toolkit says it.
class FolderTypeIconProvider : public QFileIconProvider
{
public:
    QString type(const QFileInfo& info) const override
    {
        if (info.isDir())
            return QString::fromUtf8(AfxTranslatedText("Cartella").GetString());
        return QFileIconProvider::type(info);
    }
};

class DesktopFileDialogSink : public CFileDialogSink
{
public:
    INT_PTR Show(CFileDialog& dialog) override
    {
        if (!tvsk::ui::CanShowModalBoxes())
            return IDCANCEL;
        CWnd* owner = dialog.GetParentWnd();
        QWidget* parent =
            owner && owner->GetWidget() ? owner->GetWidget()->window() : QApplication::activeWindow();
        QFileDialog box(parent);
        tvsk::ui::FitFileBox(box);
        if (dialog.m_ofn.lpstrTitle)
            box.setWindowTitle(QString::fromUtf8(dialog.m_ofn.lpstrTitle));
        box.setAcceptMode(dialog.IsOpenDialog() ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        box.setFileMode(dialog.IsOpenDialog() && (dialog.m_ofn.Flags & OFN_FILEMUSTEXIST)
                            ? QFileDialog::ExistingFile
                            : QFileDialog::AnyFile);
        box.setOption(QFileDialog::DontConfirmOverwrite, !(dialog.m_ofn.Flags & OFN_OVERWRITEPROMPT));
        if (!dialog.GetDefaultExt().IsEmpty())
            box.setDefaultSuffix(QString::fromUtf8(dialog.GetDefaultExt().GetString()));
        QStringList nameFilters;
        for (const FileFilter& filter : dialog.GetFilters())
            nameFilters << NameFilterOf(filter);
        if (!nameFilters.isEmpty())
        {
            box.setNameFilters(nameFilters);
            const qsizetype index = static_cast<qsizetype>(dialog.m_ofn.nFilterIndex) - 1;
            if (index >= 0 && index < nameFilters.size())
                box.selectNameFilter(nameFilters[index]);
        }
        if (dialog.m_ofn.lpstrInitialDir)
            box.setDirectory(QString::fromUtf8(dialog.m_ofn.lpstrInitialDir));
        if (!dialog.GetInitialFileName().IsEmpty())
            box.selectFile(QString::fromUtf8(dialog.GetInitialFileName().GetString()));
        if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
            return IDCANCEL;
        const qsizetype chosen = nameFilters.indexOf(box.selectedNameFilter());
        dialog.SetResult(box.selectedFiles().first().toUtf8().constData(),
                         chosen < 0 ? 0 : static_cast<DWORD>(chosen + 1));
        return IDOK;
    }
};

DesktopFileDialogSink g_desktopSink;
CFileDialogSink* g_sink = &g_desktopSink;

} // namespace

INT_PTR CFileDialog::DoModal()
{
    m_pathName.Empty();
    return g_sink->Show(*this);
}

CFileDialogSink* AfxSetFileDialogSink(CFileDialogSink* sink)
{
    CFileDialogSink* previous = g_sink;
    g_sink = sink ? sink : &g_desktopSink;
    return previous == &g_desktopSink ? nullptr : previous;
}

void tvsk::ui::FitFileBox(QFileDialog& box)
{
    // One for every box: a box keeps a pointer to it.
    static FolderTypeIconProvider* const provider = new FolderTypeIconProvider;
    box.setIconProvider(provider);
    // The detail view of the toolkit's own box (a desktop's native box has none).
    if (auto* details = box.findChild<QTreeView*>("treeView"))
    {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
}
