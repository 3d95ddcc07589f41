#pragma once

// Test access to the Qt widgets behind windows and controls, so tests can drive real input
// (QTest::mouseClick, QTest::keyClick) and look at what the toolkit shows.
class QWidget;

namespace fw {
class RectControl;
class Window;

namespace testing {

// The control's widget; null before its Constructor and after its window closed.
QWidget* WidgetOf(const RectControl& control);
// The window's top-level widget; null before Constructor and after Close.
QWidget* WidgetOf(const Window& window);
// The widget the controls lie in (the content area that carries BackColor).
QWidget* ContentWidgetOf(const Window& window);

}  // namespace testing
}  // namespace fw
