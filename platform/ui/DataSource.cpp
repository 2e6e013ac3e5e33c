#include "DataSource.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QMimeData>
#include <QWidget>

COleDataSource::~COleDataSource() = default;

void COleDataSource::CacheData(CLIPFORMAT format, const void* data, size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    m_formats[format] = std::vector<char>(bytes, bytes + size);
}

QMimeData* COleDataSource::CreateMimeData() const
{
    auto* mime = new QMimeData;
    for (const auto& [format, bytes] : m_formats)
    {
        const CString type = ClipboardFormatMimeType(format);
        if (!type.IsEmpty())
            mime->setData(QString::fromUtf8(type.GetString()),
                          QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    return mime;
}

DROPEFFECT COleDataSource::DoDragDrop(DROPEFFECT allowed, const RECT*)
{
    QWidget* source = QWidget::mouseGrabber();
    if (!source)
        source = QApplication::widgetAt(QCursor::pos());
    if (!source)
        source = QApplication::activeWindow();
    if (!source)
        return DROPEFFECT_NONE;
    Qt::DropActions actions;
    if (allowed & DROPEFFECT_COPY)
        actions |= Qt::CopyAction;
    if (allowed & DROPEFFECT_MOVE)
        actions |= Qt::MoveAction;
    if (allowed & DROPEFFECT_LINK)
        actions |= Qt::LinkAction;
    auto* drag = new QDrag(source);
    drag->setMimeData(CreateMimeData());
    switch (drag->exec(actions))
    {
    case Qt::CopyAction:
        return DROPEFFECT_COPY;
    case Qt::MoveAction:
        return DROPEFFECT_MOVE;
    case Qt::LinkAction:
        return DROPEFFECT_LINK;
    default:
        return DROPEFFECT_NONE;
    }
}
