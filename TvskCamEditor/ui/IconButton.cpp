// Picture buttons of the cam editor.
#include <TvskCamEditor/ui/IconButton.h>

#include <QAbstractButton>
#include <QBitmap>
#include <QImage>
#include <QPixmap>

bool CIconButton::SetImage(const QImage& image)
{
    auto* button = qobject_cast<QAbstractButton*>(GetWidget());
    if (!button)
        return false;
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(
        QBitmap::fromImage(image.createMaskFromColor(QColor(0xFF, 0x00, 0xFF).rgb(), Qt::MaskInColor)));
    button->setIcon(QIcon(pixmap));
    button->setIconSize(pixmap.size());
    button->setText(QString());
    return true;
}
