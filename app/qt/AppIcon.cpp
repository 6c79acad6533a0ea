#include "app/qt/AppIcon.h"

#include "base/RgbImage.h"

#include <QPainter>
#include <QPixmap>

namespace dotvane {

QIcon DotvaneIcon()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.fillRect(1, 6, 30, 20, QColor(64, 64, 64));
    painter.fillRect(3, 8, 26, 16, QColor::fromRgb(PixelOf(clYellow)));
    painter.setPen(Qt::black);
    for (int row : {11, 15, 19}) painter.drawLine(6, row, row == 19 ? 16 : 25, row);
    return QIcon(picture);
}

}  // namespace dotvane
