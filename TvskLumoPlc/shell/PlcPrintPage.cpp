// Page layout and title block of the printed PLC program.
#include "PlcPrintPage.h"

#include "PlcIds.h"
#include "PlcProjectInfo.h"

#include <ZoSupport/System.h>

#include <ui/Dc.h>
#include <ui/Print.h>

#include <QFontDatabase>

#include <algorithm>
#include <filesystem>

namespace
{
// The printer's own answers where the context is one (they do not depend on a page being open).
int DeviceCaps(CDC* dc, int index)
{
    if (const auto* printer = dynamic_cast<const CPrinterDC*>(dc))
        return printer->GetDeviceCaps(index);
    return dc->GetDeviceCaps(index);
}

// Drawn with the pen, so the hairline also shows on a preview's coarser page.
void DrawBox(CDC* dc, const CRect& rect)
{
    const POINT corners[] = {{rect.left, rect.top},
                             {rect.right - 1, rect.top},
                             {rect.right - 1, rect.bottom - 1},
                             {rect.left, rect.bottom - 1},
                             {rect.left, rect.top}};
    dc->Polyline(corners, 5);
}
} // namespace

CPlcPrintPage::CPlcPrintPage() : m_strDate(CSystem().GetUserDateString())
{
    CreatePrintFont(m_fontTitle, kFontHeight);
}

CPlcPrintPage::~CPlcPrintPage() = default;

void CPlcPrintPage::CreatePrintFont(CFont& font, int height)
{
    static const QString kFace = "Courier New";
    const QString face = QFontDatabase::families().contains(kFace)
                             ? kFace
                             : QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    font.CreateFont(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0,
                    face.toUtf8().constData());
}

CString CPlcPrintPage::HostString(unsigned id) const
{
    return PlcHostString(m_pHost, id);
}

void CPlcPrintPage::SetTitleInfo(const CPlcProjectInfo* info, const char* fileName, const char* title)
{
    m_strConfiguration = fileName ? std::filesystem::path(fileName).filename().string().c_str() : "";
    m_strTitle = title ? title : "";
    m_strTitle.MakeUpper();
    if (!info)
        return;
    const auto line = [this](unsigned label, const CString& value)
    {
        CString text;
        if (!value.IsEmpty())
            text.Format("%s %s", HostString(label).GetString(), value.GetString());
        return text;
    };
    m_strRelease = line(IDS_PLC_RELEASE, info->m_strRelease);
    m_strAuthor = line(IDS_PLC_AUTHOR, info->m_strAuthor);
    m_strNote = line(IDS_PLC_NOTE, info->m_strNote);
    m_strComment = info->m_strComment;
    if (!info->m_strVersion.IsEmpty())
        m_strVersion = info->m_strVersion;
    if (!info->m_strDate.IsEmpty())
        m_strDate = info->m_strDate;
}

INT_PTR CPlcPrintPage::ChoosePrinter(CWnd* owner)
{
    CPrintDialog dialog(FALSE,
                        PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                            PD_NOSELECTION | PD_RETURNDC,
                        owner);
    const INT_PTR result = dialog.DoModal();
    if (result != IDOK)
        return result;
    m_pDC = dialog.CreatePrinterDC();
    if (!m_pDC)
        return IDABORT;
    LayOut(m_pDC.get());
    return IDOK;
}

void CPlcPrintPage::LayOut(CDC* dc)
{
    m_nPrintWidth = DeviceCaps(dc, HORZRES);
    m_nPrintHeight = DeviceCaps(dc, VERTRES);
    m_nMarginLeft = m_nMarginRight = (DeviceCaps(dc, PHYSICALWIDTH) - m_nPrintWidth) / 2;
    m_nMarginTop = m_nMarginBottom = (DeviceCaps(dc, PHYSICALHEIGHT) - m_nPrintHeight) / 2;
    m_rcFrame.SetRect(m_nMarginLeft, m_nMarginTop, m_nPrintWidth - m_nMarginRight,
                      m_nPrintHeight - m_nMarginBottom);
    m_rcHeader.SetRect(m_rcFrame.left, m_rcFrame.top, m_rcFrame.right, m_rcFrame.top + kHeaderHeight);
    const CRect footer(m_rcFrame.left, m_rcFrame.bottom - kFooterHeight, m_rcFrame.right, m_rcFrame.bottom);
    m_rcText.SetRect(m_rcFrame.left, m_rcHeader.bottom, m_rcFrame.right,
                     std::max(m_rcHeader.bottom, footer.top));
    m_rcTitle.SetRect(footer.right - footer.Width() * 2 / 3, footer.top, footer.right, footer.bottom);
}

void CPlcPrintPage::PrintPage(CDC* dc, int page, int pageCount)
{
    PrintHeader(dc, page);
    if (m_bFrame)
    {
        DrawBox(dc, m_rcFrame);
    }
    PrintBody(dc, page);
    PrintTitleBlock(dc, page, pageCount);
}

void CPlcPrintPage::PrintHeader(CDC* dc, int)
{
    if (m_strTitle.IsEmpty())
        return;
    CFont* oldFont = dc->SelectObject(&m_fontTitle);
    CRect band = m_rcHeader;
    dc->DrawText(m_strTitle, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc->SelectObject(oldFont);
}

void CPlcPrintPage::PrintTitleBlock(CDC* dc, int page, int pageCount)
{
    const CRect& block = m_rcTitle;
    const int rowHeight = block.Height() / 5;
    const int divider = block.right - block.Width() / 3;
    DrawBox(dc, block);
    for (int row = 1; row < 5; ++row)
    {
        dc->MoveTo(block.left, block.top + row * rowHeight);
        dc->LineTo(block.right, block.top + row * rowHeight);
    }
    dc->MoveTo(divider, block.top + rowHeight);
    dc->LineTo(divider, block.bottom);

    CString configuration, version, date, pageText;
    configuration.Format("%s %s", HostString(IDS_PLC_CONFIGURATION).GetString(),
                         m_strConfiguration.GetString());
    version.Format("%s %s", HostString(IDS_PLC_VERSION).GetString(), m_strVersion.GetString());
    date.Format("%s %s", HostString(IDS_PLC_DATE).GetString(), m_strDate.GetString());
    pageText.Format(HostString(IDS_PLC_PAGE), page, pageCount);

    CFont* oldFont = dc->SelectObject(&m_fontTitle);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const int cell = dc->GetTextExtent("A").cx;
    const auto cellText = [&](int left, int right, int row, const CString& text)
    {
        CRect rect(left + cell, block.top + row * rowHeight, right - cell, block.top + (row + 1) * rowHeight);
        dc->DrawText(text, &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    };
    cellText(block.left, block.right, 0, configuration);
    cellText(block.left, divider, 1, m_strRelease);
    cellText(block.left, divider, 2, m_strAuthor);
    cellText(block.left, divider, 3, m_strNote);
    cellText(block.left, divider, 4, m_strComment);
    cellText(divider, block.right, 1, version);
    cellText(divider, block.right, 2, date);
    cellText(divider, block.right, 3, pageText);
    dc->SetBkMode(oldMode);
    dc->SelectObject(oldFont);
}
