#include "fw/ui/Canvas.h"

#include <QImage>
#include <QPainter>
#include <QSize>
#include <QWidget>
#include <cmath>

#include "fw/core/Thread.h"
#include "fw/ui/CanvasWidget.h"

namespace fw {

// The canvas's persistent layer: an image the size of the widget in device pixels, drawn over
// each paint. It is made on the first drawing, kept (with its contents) across resizes and
// screen changes, and let go by Refresh(True) or when the window closes.
class Canvas::Layer final : public fw::Graphics::Surface {
public:
    explicit Layer(Canvas& canvas) noexcept : canvas_(canvas) {}

    QImage* DrawingImage() override {
        QWidget* widget = canvas_.Widget();
        if (widget == nullptr || widget->width() <= 0 || widget->height() <= 0) {
            return nullptr;
        }
        const qreal ratio = widget->devicePixelRatioF();
        const QSize pixels(static_cast<int>(std::ceil(widget->width() * ratio)),
                           static_cast<int>(std::ceil(widget->height() * ratio)));
        if (image_.size() != pixels || image_.devicePixelRatio() != ratio) {
            QImage fresh(pixels, QImage::Format_ARGB32_Premultiplied);
            fresh.setDevicePixelRatio(ratio);
            fresh.fill(Qt::transparent);
            if (!image_.isNull()) {
                QPainter painter(&fresh);
                painter.drawImage(QPointF(0, 0), image_);
            }
            image_ = std::move(fresh);
        }
        return &image_;
    }

    // Shown at the next paint; several drawings in a row cost one paint.
    void Drawn() override {
        if (QWidget* widget = canvas_.Widget()) {
            widget->update();
        }
    }

    int64_t SurfaceWidth() const override { return canvas_.Width(); }
    int64_t SurfaceHeight() const override { return canvas_.Height(); }

    void Clear() noexcept { image_ = QImage(); }

    void CompositeOnto(QPainter& painter) const {
        if (!image_.isNull()) {
            painter.drawImage(QPointF(0, 0), image_);
        }
    }

private:
    Canvas& canvas_;
    QImage image_;
};

Canvas::Canvas()
    : layer_(std::make_unique<Layer>(*this)),
      graphics_(fw::Graphics::Create()),
      paintGraphics_(fw::Graphics::Create()),
      paintAreas_(Array<Ref<Rect>>::Create(1)) {
    graphics_->BindSurface(layer_.get());
    paintAreas_->Set(0, Rect::Create());
}

Canvas::~Canvas() {
    // Somebody may keep either context beyond the canvas; from now on they draw nothing.
    graphics_->Unbind();
    paintGraphics_->Unbind();
    if (auto* widget = static_cast<detail::CanvasWidget*>(Widget())) {
        widget->Detach();
    }
}

const PropertyTable<Canvas>& Canvas::Properties() {
    static const auto table =
        PropertyTable<Canvas>::Inherit(RectControl::Properties())
            .Add("UseFocusRing", &Canvas::UseFocusRing, &Canvas::SetUseFocusRing)
            .Add("AcceptFocus", &Canvas::AcceptFocus, &Canvas::SetAcceptFocus)
            .Add("AcceptTabs", &Canvas::AcceptTabs, &Canvas::SetAcceptTabs)
            .Add("DoubleBuffer", &Canvas::DoubleBuffer, &Canvas::SetDoubleBuffer)
            .Add("EraseBackground", &Canvas::EraseBackground, &Canvas::SetEraseBackground)
            .Add("Transparent", &Canvas::Transparent, &Canvas::SetTransparent);
    return table;
}

void Canvas::SetBackdrop(Ref<Picture> picture) {
    CheckUIThread();
    if (picture == backdrop_) {
        return;
    }
    backdrop_ = std::move(picture);
    if (QWidget* widget = Widget()) {
        widget->update();
    }
}

Ref<fw::Graphics> Canvas::Graphics() {
    CheckUIThread();
    return graphics_;
}

void Canvas::SetAcceptFocus(bool on) {
    CheckUIThread();
    acceptFocus_ = on;
    ApplyFocus();
}

void Canvas::SetEraseBackground(bool on) {
    CheckUIThread();
    eraseBackground_ = on;
    ApplyBackground();
}

void Canvas::SetTransparent(bool on) {
    CheckUIThread();
    transparent_ = on;
    ApplyBackground();
}

void Canvas::Refresh(bool eraseBackground) {
    CheckUIThread();
    if (eraseBackground) {
        layer_->Clear();
    }
    if (QWidget* widget = Widget()) {
        widget->repaint();
    }
}

QWidget* Canvas::CreateWidget(QWidget* parent) {
    auto* widget = new detail::CanvasWidget(*this, parent);
    // Created before Widget() knows it, so the settings go to this widget directly.
    widget->setAutoFillBackground(!transparent_ && eraseBackground_);
    widget->setFocusPolicy(acceptFocus_ ? Qt::StrongFocus : Qt::NoFocus);
    return widget;
}

void Canvas::ApplyBackground() {
    if (QWidget* widget = Widget()) {
        widget->setAutoFillBackground(!transparent_ && eraseBackground_);
        widget->update();
    }
}

void Canvas::ApplyFocus() {
    if (QWidget* widget = Widget()) {
        // Tab reaches a canvas that takes the focus only while it is a tab stop.
        widget->setFocusPolicy(!acceptFocus_ ? Qt::NoFocus
                               : TabStop()   ? Qt::StrongFocus
                                             : Qt::ClickFocus);
    }
}

const std::type_info* Canvas::EventSignature(int eventNumber) const {
    switch (eventNumber) {
        case kOpenEvent:
            return &typeid(void(Ref<Canvas>));
        case kPaintEvent:
            return &typeid(void(Ref<Canvas>, Ref<fw::Graphics>, Ref<Array<Ref<Rect>>>));
        case kMouseDownEvent:
            return &typeid(bool(Ref<Canvas>, int64_t, int64_t));
        default:
            return RectControl::EventSignature(eventNumber);
    }
}

void Canvas::RaiseOpen() {
    RaiseEvent<void>(kOpenEvent, Ref<Canvas>(this));
}

void Canvas::Unhook() {
    layer_->Clear();
    if (auto* widget = static_cast<detail::CanvasWidget*>(Widget())) {
        widget->Detach();
    }
    RectControl::Unhook();
}

void Canvas::PaintWidget(QPainter& painter, int left, int top, int width, int height) noexcept {
    // The handler may close the window; this canvas stays alive until the paint is done.
    Ref<Canvas> self(RefCount() > 0 ? this : nullptr);
    if (HasEventHandler(kPaintEvent)) {
        Ref<Rect>& area = (*paintAreas_)(0);
        if (area.IsNil()) {
            area = Rect::Create();  // a handler emptied the array it was given
        }
        area->SetLeft(left);
        area->SetTop(top);
        area->SetWidth(width);
        area->SetHeight(height);
        paintGraphics_->BindPainter(&painter, Width(), Height());
        Deliver(
            [&] { RaiseEvent<void>(kPaintEvent, Ref<Canvas>(this), paintGraphics_, paintAreas_); });
        paintGraphics_->Unbind();
    }
    layer_->CompositeOnto(painter);
}

bool Canvas::PressWidget(int64_t x, int64_t y) noexcept {
    bool handled = false;
    Deliver([&] { handled = RaiseEvent<bool>(kMouseDownEvent, Ref<Canvas>(this), x, y); });
    return handled;
}

}  // namespace fw
