#include "app/VirtualDisplayView.h"

#include <QPainter>

namespace dotvane {

VirtualDisplayView::VirtualDisplayView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VirtualDisplayView::ShowPicture(const QImage& picture)
{
    picture_ = picture;
    update();
}

void VirtualDisplayView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!picture_.isNull()) painter.drawImage(QRect(0, 0, picture_.width() * 2, picture_.height() * 2), picture_);
}

}  // namespace dotvane
