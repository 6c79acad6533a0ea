#include "app/VirtualDisplayView.h"

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

void VirtualDisplayView::ShowPicture(const QImage& picture, const QRect& changed)
{
    const bool resized = picture.size() != picture_.size();
    picture_ = picture;
    if (resized)
        update();
    else
        update(Scaled(changed));
}

void VirtualDisplayView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect shown = Scaled(picture_.rect());
    const QRect asked = event->rect();
    // Only the pixels of the picture that lie in the asked part are drawn,
    // and the background only where the picture is not.
    const QRect drawn = asked & shown;
    for (const QRect& part : QRegion(asked) - QRegion(shown)) painter.fillRect(part, palette().window());
    if (drawn.isEmpty()) return;
    const QRect source(QPoint(drawn.left() / kScale, drawn.top() / kScale),
                       QPoint(drawn.right() / kScale, drawn.bottom() / kScale));
    painter.drawImage(Scaled(source), picture_, source);
}

}  // namespace dotvane
