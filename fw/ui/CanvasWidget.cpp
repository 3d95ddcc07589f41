#include "fw/ui/CanvasWidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "fw/ui/Canvas.h"

namespace fw::detail {

CanvasWidget::CanvasWidget(Canvas& canvas, QWidget* parent) : QWidget(parent), canvas_(&canvas) {}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    if (canvas_ == nullptr) {
        return;
    }
    QPainter painter(this);
    const QRect area = event->rect();
    canvas_->PaintWidget(painter, area.x(), area.y(), area.width(), area.height());
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    if (canvas_ == nullptr) {
        event->ignore();
        return;
    }
    // Positions may carry fractions on a scaled screen; the pixel pressed is the one they lie in.
    const QPointF position = event->position();
    canvas_->PressWidget(static_cast<int64_t>(std::floor(position.x())),
                         static_cast<int64_t>(std::floor(position.y())));
    event->accept();
}

}  // namespace fw::detail
