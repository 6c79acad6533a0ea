#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

namespace dotvane {

// The client area above the status line: the virtual display's last picture
// at twice its size in the top-left corner, on the window's background.
class VirtualDisplayView : public QWidget {
    Q_OBJECT
public:
    explicit VirtualDisplayView(QWidget* parent = nullptr);

    // Shows a picture the virtual display presented; only the part of the
    // view that shows `changed` (in the picture's pixels) is repainted, or
    // the whole view when the picture's size changed.
    void ShowPicture(const QImage& picture, const QRect& changed);

protected:
    // Paints the part of the view the event asks for from the picture kept,
    // so that a view uncovered again shows what it showed.
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

}  // namespace dotvane
