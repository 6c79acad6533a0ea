#pragma once

#include "base/Rect.h"
#include "base/RgbImage.h"

#include <QSize>
#include <QWidget>

#include <cstdint>

namespace dotvane {

// The client area above the status line: the virtual display's last picture
// at twice its size in the top-left corner, on the window's background.
class VirtualDisplayView : public QWidget {
    Q_OBJECT
public:
    explicit VirtualDisplayView(QWidget* parent = nullptr);

    // The view's size for a display of width × height pixels: the picture
    // at twice its size, with one spare column and two spare rows.
    static QSize SizeFor(int32_t width, int32_t height);

    // Shows a picture the virtual display presented; only the part of the
    // view that shows `changed` (in the picture's pixels) is repainted, or
    // the whole view when the picture's size changed. The view paints from
    // the picture itself, which must live until the next one is shown.
    void ShowPicture(const RgbImage& picture, const Rect& changed);

protected:
    // Paints the part of the view the event asks for straight from the
    // picture, scaled without smoothing and without a copy, so that a view
    // uncovered again shows what it showed.
    void paintEvent(QPaintEvent* event) override;

private:
    const RgbImage* picture_ = nullptr;
    QSize shownSize_;
};

}  // namespace dotvane
