#include "app/qt/VirtualDisplayView.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

namespace dotvane {
namespace {

// Each pixel of the picture is a 2 × 2 block of the view.
constexpr int kScale = 2;

QRect Scaled(const QRect& area) { return {area.topLeft() * kScale, area.size() * kScale}; }

}  // namespace

VirtualDisplayView::VirtualDisplayView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize VirtualDisplayView::SizeFor(int32_t width, int32_t height) { return {kScale * width + 1, kScale * height + 2}; }

void VirtualDisplayView::ShowPicture(const RgbImage& picture, const Rect& changed)
{
    const QSize size(picture.Width(), picture.Height());
    const bool resized = size != shownSize_;
    picture_ = &picture;
    shownSize_ = size;
    if (resized)
        update();
    else
        update(Scaled(QRect(changed.Left, changed.Top, changed.Width, changed.Height)));
}

void VirtualDisplayView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect shown = picture_ ? Scaled(QRect(QPoint(0, 0), shownSize_)) : QRect();
    const QRect asked = event->rect();
    // Only the pixels of the picture that lie in the asked part are drawn,
    // and the background only where the picture is not.
    const QRect drawn = asked & shown;
    for (const QRect& part : QRegion(asked) - QRegion(shown)) painter.fillRect(part, palette().window());
    if (drawn.isEmpty()) return;
    // The picture's own pixels, seen through a Qt image.
    const QImage picture(reinterpret_cast<const uchar*>(picture_->Bits()), picture_->Width(), picture_->Height(),
                         static_cast<qsizetype>(picture_->StrideBytes()), QImage::Format_RGB32);
    const QRect source(QPoint(drawn.left() / kScale, drawn.top() / kScale),
                       QPoint(drawn.right() / kScale, drawn.bottom() / kScale));
    painter.drawImage(Scaled(source), picture, source);
}

}  // namespace dotvane
