#pragma once

#include <QWidget>

namespace fw {
class Canvas;
}

namespace fw::detail {

// The Qt side of a Canvas: it hands paints and mouse presses to the canvas, which runs the
// game's handlers. The canvas owns the widget and detaches it before it goes, so a widget that
// outlives its canvas for a moment (deleted later by Qt) does nothing.
class CanvasWidget final : public QWidget {
public:
    CanvasWidget(Canvas& canvas, QWidget* parent);

    void Detach() noexcept { canvas_ = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Canvas* canvas_;
};

}  // namespace fw::detail
