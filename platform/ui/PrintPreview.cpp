// The preview context recording pages as pictures, and the desktop's preview window.
#include "PrintPreview.h"
#include "Desktop.h"

#include "Language.h"
#include "Wnd.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QPicture>
#include <QPixmap>
#include <QScrollArea>
#include <QVBoxLayout>

namespace
{

constexpr int kScreenDpi = 96;

// The pages one under the other in a scrolling window, closed by its button.
class DesktopPrintPreviewSink final : public CPrintPreviewSink
{
public:
    void Show(CWnd* owner, const CPreviewDC& pages) override
    {
        if (!tvsk::ui::CanShowModalBoxes())
            return;
        QDialog dialog(owner ? owner->GetWidget() : nullptr);
        dialog.setWindowTitle(QString::fromUtf8(AfxTranslatedText("Print preview").GetString()));
        auto* sheets = new QWidget;
        auto* column = new QVBoxLayout(sheets);
        for (int i = 0; i < pages.GetPageCount(); ++i)
        {
            auto* sheet = new QLabel;
            sheet->setPixmap(QPixmap::fromImage(pages.RenderPage(i, kScreenDpi)));
            sheet->setFrameShape(QFrame::Box);
            column->addWidget(sheet, 0, Qt::AlignHCenter);
        }
        auto* scroll = new QScrollArea;
        scroll->setWidget(sheets);
        scroll->setBackgroundRole(QPalette::Dark);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(scroll);
        layout->addWidget(buttons);
        dialog.resize(sheets->sizeHint().width() + 60, 800);
        dialog.exec();
    }
};

DesktopPrintPreviewSink g_desktopSink;
CPrintPreviewSink* g_sink = &g_desktopSink;

} // namespace

CPrintPreviewSink* AfxSetPrintPreviewSink(CPrintPreviewSink* sink)
{
    CPrintPreviewSink* previous = g_sink;
    g_sink = sink ? sink : &g_desktopSink;
    return previous;
}

CPrintPreviewSink* AfxGetPrintPreviewSink()
{
    return g_sink;
}

void AfxShowPrintPreview(CWnd* owner, const CPreviewDC& pages)
{
    AfxGetPrintPreviewSink()->Show(owner, pages);
}

CPreviewDC::CPreviewDC() = default;

CPreviewDC::~CPreviewDC()
{
    EndPainting();
}

BOOL CPreviewDC::CreatePreview()
{
    return CreatePrinter(PRINTDLG{});
}

int CPreviewDC::StartDoc(const DOCINFO* docInfo)
{
    if (m_inDoc || !docInfo || GetDeviceCaps(HORZRES) <= 0)
        return SP_ERROR;
    m_drawing.clear();
    m_inDoc = true;
    m_pageStarted = false;
    return 1;
}

int CPreviewDC::StartPage()
{
    if (!m_inDoc || m_pageStarted)
        return SP_ERROR;
    m_drawing.push_back(std::make_unique<QPicture>());
    BeginOn(m_drawing.back().get());
    if (!IsValid())
    {
        m_drawing.pop_back();
        return SP_ERROR;
    }
    m_pageStarted = true;
    return 1;
}

int CPreviewDC::EndPage()
{
    if (!m_inDoc || !m_pageStarted)
        return SP_ERROR;
    EndPainting();
    m_pageStarted = false;
    return 1;
}

int CPreviewDC::EndDoc()
{
    if (!m_inDoc)
        return SP_ERROR;
    if (m_pageStarted)
        EndPage();
    m_inDoc = false;
    m_pages = std::move(m_drawing);
    m_drawing.clear();
    return 1;
}

int CPreviewDC::AbortDoc()
{
    if (!m_inDoc)
        return SP_ERROR;
    EndPainting();
    m_drawing.clear();
    m_inDoc = false;
    m_pageStarted = false;
    return 1;
}

QImage CPreviewDC::RenderPage(int index, int dpi) const
{
    if (index < 0 || index >= GetPageCount() || dpi <= 0)
        return {};
    const double scale = static_cast<double>(dpi) / kResolution;
    QImage image(static_cast<int>(GetDeviceCaps(PHYSICALWIDTH) * scale),
                 static_cast<int>(GetDeviceCaps(PHYSICALHEIGHT) * scale), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    // Hairlines of the printer stay one pixel wide instead of fading away.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing);
    DrawPage(index, painter, dpi);
    return image;
}

void CPreviewDC::DrawPage(int index, QPainter& painter, int dpi) const
{
    if (index < 0 || index >= GetPageCount() || dpi <= 0)
        return;
    painter.save();
    const double scale = static_cast<double>(dpi) / kResolution;
    painter.scale(scale, scale);
    // The recording's origin is the printable area's corner, as on the printer.
    painter.translate(GetDeviceCaps(PHYSICALOFFSETX), GetDeviceCaps(PHYSICALOFFSETY));
    // Drawing a picture scales it by the device's resolution over the picture's: undone.
    const QPicture& page = *m_pages[static_cast<size_t>(index)];
    painter.scale(static_cast<double>(page.logicalDpiX()) / painter.device()->logicalDpiX(),
                  static_cast<double>(page.logicalDpiY()) / painter.device()->logicalDpiY());
    painter.drawPicture(0, 0, page);
    painter.restore();
}
