#include "GraphImages.h"

#include <ui/Gdi.h>

#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <map>

namespace
{

QImage Grip(COLORREF colour)
{
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(ToQColor(colour));
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.drawRect(1, 1, 7, 7);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 9, 9);
    return image;
}

QImage Arrow(const QPolygon& shape)
{
    QImage image(13, 9, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setBrush(ToQColor(kTriggerColour));
    painter.drawPolygon(shape);
    return image;
}

std::map<UINT, QImage> MakeImages()
{
    return {
        {IDB_GRIP_BAR1, Grip(kBar1Colour)},
        {IDB_GRIP_BAR2, Grip(kBar2Colour)},
        {IDB_GRIP_BAR3, Grip(kBar3Colour)},
        {IDB_TRIGGER, Arrow(QPolygon({QPoint(0, 0), QPoint(12, 0), QPoint(6, 8)}))},
        {IDB_TRIGGER_LEFT, Arrow(QPolygon({QPoint(12, 0), QPoint(12, 8), QPoint(0, 4)}))},
        {IDB_TRIGGER_RIGHT, Arrow(QPolygon({QPoint(0, 0), QPoint(0, 8), QPoint(12, 4)}))},
    };
}

} // namespace

const QImage& GraphImage(UINT id)
{
    static const std::map<UINT, QImage> images = MakeImages();
    static const QImage none;
    const auto it = images.find(id);
    return it == images.end() ? none : it->second;
}
