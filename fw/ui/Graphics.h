#pragma once

#include <cstdint>
#include <memory>

#include "fw/core/Color.h"
#include "fw/core/Object.h"

class QImage;
class QPainter;

namespace fw {

class Picture;

// A drawing context. It draws either through the painter of a paint in progress (the Graphics a
// Paint handler receives) or onto an image kept by its owner (a canvas's own, persistent
// layer). Coordinates are those of the owner, in logical pixels; the pen is one pixel wide and
// lines and ovals are antialiased. A context whose target is gone draws nothing.
class Graphics : public Object {
public:
    // The owner of a persistent image that a Graphics draws onto. Each drawing operation asks
    // for the image, draws, then reports that it drew.
    class Surface {
    public:
        virtual ~Surface() = default;
        // The image to draw on, at its device pixel ratio; null when there is nothing to draw on.
        virtual QImage* DrawingImage() = 0;
        // Called after each drawing operation on the image.
        virtual void Drawn() = 0;
        // The logical size of the surface.
        virtual int64_t SurfaceWidth() const = 0;
        virtual int64_t SurfaceHeight() const = 0;
    };

    // A context with no target: it draws nothing until the framework binds it.
    static Ref<Graphics> Create();
    ~Graphics() override;

    // Black until set; kept across every drawing call on this context.
    Color ForeColor() const noexcept { return foreColor_; }
    void SetForeColor(Color color);

    // A line from pixel (x1, y1) to pixel (x2, y2), both ends included.
    void DrawLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2);
    // The outline of the oval that fits inside the width x height rectangle at (x, y).
    void DrawOval(int64_t x, int64_t y, int64_t width, int64_t height);
    // The source rectangle of picture scaled smoothly into the destination rectangle, each
    // direction on its own. A nil picture raises NilObjectException; an empty rectangle draws
    // nothing.
    void DrawPicture(const Ref<Picture>& picture, int64_t x, int64_t y, int64_t width,
                     int64_t height, int64_t sourceX, int64_t sourceY, int64_t sourceWidth,
                     int64_t sourceHeight);

    // The size of what the context draws on; 0 when it has no target.
    int64_t Width() const;
    int64_t Height() const;

    const char* ClassName() const noexcept override { return "Graphics"; }

    // For the framework: draw through painter, over an area of width x height, until Unbind.
    // The painter's state (pen, brush, hints) is the context's to set while bound.
    void BindPainter(QPainter* painter, int64_t width, int64_t height) noexcept;
    // For the framework: draw onto surface's image until Unbind. The surface must outlive the
    // binding.
    void BindSurface(Surface* surface) noexcept;
    void Unbind() noexcept;

private:
    struct Pen;

    Graphics();

    template <class Draw>
    void Paint(bool usesPen, Draw&& draw);

    Color foreColor_{};
    std::unique_ptr<Pen> pen_;
    QPainter* painter_ = nullptr;
    int64_t painterWidth_ = 0;
    int64_t painterHeight_ = 0;
    Surface* surface_ = nullptr;
};

}  // namespace fw
