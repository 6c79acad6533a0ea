#include "app/VirtualDisplayView.h"

#include "render/VirtualDisplay.h"

#include <QPainter>

namespace dotvane {

VirtualDisplayView::VirtualDisplayView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VirtualDisplayView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QImage& picture = PresentedPicture();
    if (!picture.isNull())
        painter.drawImage(QRect(0, 0, picture.width() * 2, picture.height() * 2), picture);
}

}  // namespace dotvane
