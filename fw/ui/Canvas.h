#pragma once

#include <cstdint>
#include <memory>
#include <typeinfo>

#include "fw/core/Array.h"
#include "fw/core/Rect.h"
#include "fw/pictures/Picture.h"
#include "fw/ui/Graphics.h"
#include "fw/ui/RectControl.h"

class QPainter;
class QWidget;

namespace fw {

namespace detail {
class CanvasWidget;
}

// A control that its Paint handler draws. Events: Open (once, after the window's
// CreateControls), Paint (every time the toolkit paints the canvas: the canvas, a Graphics over
// the paint, the areas to repaint), MouseDown (canvas coordinates; the handler's Boolean).
//
// Backdrop is the canvas's picture. The framework does not draw it: the Paint handler does, so
// a canvas decides itself how its picture fills it. Setting it schedules a repaint.
//
// Graphics() is the canvas's own persistent drawing context: what is drawn through it goes at
// once onto a layer that lies over whatever the Paint handler draws, and stays there through
// any number of repaints (a covered and uncovered window shows it again) until Refresh(True)
// clears it.
class Canvas : public RectControl {
public:
    Canvas();
    ~Canvas() override;

    const Ref<Picture>& Backdrop() const noexcept { return backdrop_; }
    void SetBackdrop(Ref<Picture> picture);

    // The same context on every call, so its ForeColor holds from one call to the next. Draws
    // nothing while the canvas has no widget (before Constructor, after its window closed).
    Ref<fw::Graphics> Graphics();

    // Kept for the program's sake: a canvas draws no focus ring.
    bool UseFocusRing() const noexcept { return useFocusRing_; }
    void SetUseFocusRing(bool on) { useFocusRing_ = on; }
    // Whether a click or Tab gives the canvas the keyboard focus.
    bool AcceptFocus() const noexcept { return acceptFocus_; }
    void SetAcceptFocus(bool on);
    // Kept for the program's sake: the canvas has no key events in which Tab could arrive.
    bool AcceptTabs() const noexcept { return acceptTabs_; }
    void SetAcceptTabs(bool on) { acceptTabs_ = on; }
    // Kept for the program's sake: the toolkit buffers every paint already.
    bool DoubleBuffer() const noexcept { return doubleBuffer_; }
    void SetDoubleBuffer(bool on) { doubleBuffer_ = on; }
    // An opaque canvas that erases its background is filled with the window's background colour
    // before each paint; a transparent one never is, so whatever lies behind it (a parent canvas
    // included) shows through wherever its handler draws nothing.
    bool EraseBackground() const noexcept { return eraseBackground_; }
    void SetEraseBackground(bool on);
    bool Transparent() const noexcept { return transparent_; }
    void SetTransparent(bool on);

    // Repaints at once. With eraseBackground True the layer of Graphics() is cleared first.
    void Refresh(bool eraseBackground = true) override;

    const char* ClassName() const noexcept override { return "Canvas"; }

    FW_PROPERTY_TABLE(Canvas)

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    const std::type_info* EventSignature(int eventNumber) const override;
    void RaiseOpen() override;
    void Unhook() override;

private:
    friend class detail::CanvasWidget;
    class Layer;

    // From the widget's paintEvent: the Paint handler over painter, then the layer on top.
    void PaintWidget(QPainter& painter, int left, int top, int width, int height) noexcept;
    // From the widget's mousePressEvent: the MouseDown handler's result.
    bool PressWidget(int64_t x, int64_t y) noexcept;
    void ApplyBackground();
    void ApplyFocus();

    Ref<Picture> backdrop_;
    std::unique_ptr<Layer> layer_;
    Ref<fw::Graphics> graphics_;
    // Made once and rebound for every paint, so that a paint makes no new context.
    Ref<fw::Graphics> paintGraphics_;
    Ref<Array<Ref<Rect>>> paintAreas_;
    bool useFocusRing_ = true;
    bool acceptFocus_ = false;
    bool acceptTabs_ = false;
    bool doubleBuffer_ = false;
    bool eraseBackground_ = true;
    bool transparent_ = false;
};

}  // namespace fw
