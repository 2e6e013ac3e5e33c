// The versions dialog and its template.
#include "DlgVersions.h"

#include "TvskManager.h"

namespace
{

// Label column, in-use column, installed column; every text "n/a" until the host fills it.
const DlgItem kItems[] = {
    {DlgKind::LText, 1002, 8, 20, 70, 10, "n/a"},   {DlgKind::LText, 1003, 8, 34, 70, 10, "n/a"},
    {DlgKind::LText, 1004, 8, 48, 70, 10, "n/a"},   {DlgKind::LText, 1005, 8, 62, 70, 10, "n/a"},
    {DlgKind::LText, 1010, 8, 76, 70, 10, "n/a"},   {DlgKind::LText, 1006, 82, 20, 70, 10, "n/a"},
    {DlgKind::LText, 1007, 82, 34, 70, 10, "n/a"},  {DlgKind::LText, 1008, 82, 48, 70, 10, "n/a"},
    {DlgKind::LText, 1009, 82, 62, 70, 10, "n/a"},  {DlgKind::LText, 1011, 82, 76, 70, 10, "n/a"},
    {DlgKind::LText, 1012, 82, 6, 70, 10, "n/a"},   {DlgKind::LText, 1013, 156, 20, 70, 10, "n/a"},
    {DlgKind::LText, 1014, 156, 34, 70, 10, "n/a"}, {DlgKind::LText, 1015, 156, 48, 70, 10, "n/a"},
    {DlgKind::LText, 1016, 156, 62, 70, 10, "n/a"}, {DlgKind::LText, 1017, 156, 76, 70, 10, "n/a"},
    {DlgKind::LText, 1018, 156, 6, 70, 10, "n/a"},  {DlgKind::DefPushButton, IDOK, 88, 96, 60, 14, "OK"},
};
const DialogTemplate kTemplate = {"Versioni", WS_POPUP | WS_CAPTION | WS_SYSMENU, 234, 118,
                                  kItems,     static_cast<int>(std::size(kItems))};

struct Registration
{
    Registration() { AfxRegisterDialogTemplate(IDD_VERSIONS, &kTemplate); }
};
const Registration g_registration;

struct VersionRow
{
    UINT label;
    UINT labelText;
    UINT inUse;
    UINT installed;
    int entry;
};
// In the order the versions are fetched.
constexpr VersionRow kRows[] = {
    {1005, 2042, 1009, 1016, 4}, {1004, 2041, 1008, 1015, 3}, {1002, 2039, 1006, 1013, 1},
    {1003, 2040, 1007, 1014, 2}, {1010, 2082, 1011, 1017, 5},
};

// The text's "%s" becomes the release; the text is never used as a format.
CString WithRelease(const CString& text, const CString& release)
{
    const int at = text.Find("%s");
    return at < 0 ? text : text.Left(at) + release + text.Mid(at + 2);
}

} // namespace

CDlgVersions::CDlgVersions(CWnd* parent) : CDialog(IDD_VERSIONS, parent) {}

BOOL CDlgVersions::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_pHost)
        return TRUE;
    auto text = [this](UINT id) -> CString& { return m_strTexts[id - IDC_VERSIONS_FIRST]; };
    for (UINT id = IDC_VERSIONS_FIRST; id <= IDC_VERSIONS_INSTALLED_TITLE; ++id)
        text(id) = GetDlgItem(id)->GetWindowText();
    auto localise = [this](UINT stringId, CString& target)
    {
        CString local;
        if (m_pHost->GetString(stringId, local) && !local.IsEmpty())
            target = local;
    };
    for (const VersionRow& row : kRows)
        text(row.installed) = m_pHost->GetReleaseVersion(row.entry);
    for (const VersionRow& row : kRows)
        text(row.inUse) = m_pHost->GetVersionString(row.entry);
    for (const VersionRow& row : kRows)
        localise(row.labelText, text(row.label));
    CString release;
    if (m_pHost->GetString(2089, release) && !release.IsEmpty())
        text(IDC_VERSIONS_RELEASE) = WithRelease(release, m_pHost->GetReleaseVersion(6));
    localise(2090, text(IDC_VERSIONS_INSTALLED_TITLE));
    CString caption;
    if (m_pHost->GetString(2038, caption) && !caption.IsEmpty())
        SetWindowText(caption);
    for (UINT id = IDC_VERSIONS_FIRST; id <= IDC_VERSIONS_INSTALLED_TITLE; ++id)
        GetDlgItem(id)->SetWindowText(text(id));
    return TRUE;
}
