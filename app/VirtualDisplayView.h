#pragma once

#include <QImage>
#include <QWidget>

namespace dotvane {

// The client area above the status line: the virtual display's last picture
// at twice its size in the top-left corner, on the window's background.
class VirtualDisplayView : public QWidget {
    Q_OBJECT
public:
    explicit VirtualDisplayView(QWidget* parent = nullptr);

    // Shows a picture the virtual display presented.
    void ShowPicture(const QImage& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

}  // namespace dotvane
