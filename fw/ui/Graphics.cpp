#include "fw/ui/Graphics.h"

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPen>
#include <QRectF>

#include "fw/core/FaultPoint.h"
#include "fw/core/Thread.h"
#include "fw/pictures/Picture.h"
#include "fw/ui/QtConvert.h"

namespace fw {
namespace {

// Integer coordinates name pixels; the centre of pixel (x, y) is (x + 0.5, y + 0.5). Drawing
// through centres keeps a one-pixel line on its pixels instead of smearing it over two rows.
constexpr double kPixelCentre = 0.5;

}  // namespace

// The pen is kept between calls and changes only with the colour, so that a drawing call makes
// no pen of its own.
struct Graphics::Pen {
    QPen pen{QBrush(Qt::black), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin};
};

Graphics::Graphics() : pen_(std::make_unique<Pen>()) {}

Graphics::~Graphics() = default;

Ref<Graphics> Graphics::Create() {
    return Ref<Graphics>(new Graphics());
}

void Graphics::SetForeColor(Color color) {
    CheckUIThread();
    if (color == foreColor_) {
        return;
    }
    foreColor_ = color;
    pen_->pen.setColor(detail::ToQColor(color));
}

template <class Draw>
void Graphics::Paint(bool usesPen, Draw&& draw) {
    auto prepare = [&](QPainter& painter) {
        if (usesPen) {
            painter.setPen(pen_->pen);
            painter.setBrush(Qt::NoBrush);
        }
    };
    if (painter_ != nullptr) {
        prepare(*painter_);
        draw(*painter_);
        return;
    }
    if (surface_ == nullptr) {
        return;
    }
    QImage* image = surface_->DrawingImage();
    if (image == nullptr || image->isNull()) {
        return;
    }
    {
        QPainter painter(image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        prepare(painter);
        draw(painter);
    }
    surface_->Drawn();
}

void Graphics::DrawLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    CheckUIThread();
    const QLineF line(
        static_cast<double>(x1) + kPixelCentre, static_cast<double>(y1) + kPixelCentre,
        static_cast<double>(x2) + kPixelCentre, static_cast<double>(y2) + kPixelCentre);
    Paint(true, [&](QPainter& painter) { painter.drawLine(line); });
}

void Graphics::DrawOval(int64_t x, int64_t y, int64_t width, int64_t height) {
    CheckUIThread();
    if (width <= 0 || height <= 0) {
        return;
    }
    // The outline runs through the centres of the rectangle's edge pixels, so the whole oval,
    // pen included, stays inside width x height.
    const QRectF box(static_cast<double>(x) + kPixelCentre, static_cast<double>(y) + kPixelCentre,
                     static_cast<double>(width - 1), static_cast<double>(height - 1));
    Paint(true, [&](QPainter& painter) { painter.drawEllipse(box); });
}

void Graphics::DrawPicture(const Ref<Picture>& picture, int64_t x, int64_t y, int64_t width,
                           int64_t height, int64_t sourceX, int64_t sourceY, int64_t sourceWidth,
                           int64_t sourceHeight) {
    CheckUIThread();
    FaultPoint("Graphics.DrawPicture");
    if (picture.IsNil()) {
        throw NilObjectException("DrawPicture was given a nil picture");
    }
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) {
        return;
    }
    const QRectF target(static_cast<double>(x), static_cast<double>(y), static_cast<double>(width),
                        static_cast<double>(height));
    const QRectF source(static_cast<double>(sourceX), static_cast<double>(sourceY),
                        static_cast<double>(sourceWidth), static_cast<double>(sourceHeight));
    const QImage& image = picture->Image();
    Paint(false, [&](QPainter& painter) { painter.drawImage(target, image, source); });
}

int64_t Graphics::Width() const {
    CheckUIThread();
    if (painter_ != nullptr) {
        return painterWidth_;
    }
    return surface_ != nullptr ? surface_->SurfaceWidth() : 0;
}

int64_t Graphics::Height() const {
    CheckUIThread();
    if (painter_ != nullptr) {
        return painterHeight_;
    }
    return surface_ != nullptr ? surface_->SurfaceHeight() : 0;
}

void Graphics::BindPainter(QPainter* painter, int64_t width, int64_t height) noexcept {
    surface_ = nullptr;
    painter_ = painter;
    painterWidth_ = width;
    painterHeight_ = height;
    if (painter_ != nullptr) {
        painter_->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    }
}

void Graphics::BindSurface(Surface* surface) noexcept {
    painter_ = nullptr;
    painterWidth_ = painterHeight_ = 0;
    surface_ = surface;
}

void Graphics::Unbind() noexcept {
    painter_ = nullptr;
    painterWidth_ = painterHeight_ = 0;
    surface_ = nullptr;
}

}  // namespace fw
