#include "Clipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QStyleHints>

namespace
{

QClipboard* Clipboard()
{
    return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
}

} // namespace

BOOL SetClipboardText(const char* text)
{
    QClipboard* clipboard = Clipboard();
    if (!clipboard)
        return FALSE;
    clipboard->setText(QString::fromUtf8(text ? text : ""));
    return TRUE;
}

BOOL GetClipboardText(CString& text)
{
    text.Empty();
    QClipboard* clipboard = Clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasText())
        return FALSE;
    text = CString(data->text().toStdString());
    return TRUE;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    QClipboard* clipboard = Clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return format == CF_TEXT && data && data->hasText() ? TRUE : FALSE;
}

BOOL SystemParametersInfo(UINT action, UINT, void* param, UINT)
{
    if (action != SPI_GETWHEELSCROLLLINES || !param || !QGuiApplication::instance())
        return FALSE;
    *static_cast<UINT*>(param) =
        static_cast<UINT>(std::max(0, QGuiApplication::styleHints()->wheelScrollLines()));
    return TRUE;
}
