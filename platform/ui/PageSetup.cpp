#include "PageSetup.h"
#include "Desktop.h"

#include "Wnd.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPrinter>

namespace
{

class DesktopPageSetupSink : public CPageSetupSink
{
public:
    INT_PTR Run(PAGESETUPDLG& settings) override
    {
        if (!tvsk::ui::CanShowModalBoxes())
            return IDCANCEL;
        QPrinter printer;
        const RECT& m = settings.rtMargin;
        printer.setPageMargins(QMarginsF(m.left / 100.0, m.top / 100.0, m.right / 100.0, m.bottom / 100.0),
                               QPageLayout::Millimeter);
        QPageSetupDialog dialog(&printer, settings.hwndOwner ? settings.hwndOwner->GetWidget() : nullptr);
        if (dialog.exec() != QDialog::Accepted)
            return IDCANCEL;
        const QMarginsF chosen = printer.pageLayout().margins(QPageLayout::Millimeter);
        settings.rtMargin = CRect(qRound(chosen.left() * 100), qRound(chosen.top() * 100),
                                  qRound(chosen.right() * 100), qRound(chosen.bottom() * 100));
        return IDOK;
    }
};

DesktopPageSetupSink g_desktopSink;
CPageSetupSink* g_sink = &g_desktopSink;

} // namespace

CPageSetupSink* AfxSetPageSetupSink(CPageSetupSink* sink)
{
    CPageSetupSink* previous = g_sink;
    g_sink = sink ? sink : &g_desktopSink;
    return previous;
}

CPageSetupDialog::CPageSetupDialog(DWORD flags, CWnd* parent)
{
    m_psd.Flags = flags;
    m_psd.hwndOwner = parent;
}

INT_PTR CPageSetupDialog::DoModal()
{
    return g_sink->Run(m_psd);
}
