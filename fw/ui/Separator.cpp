#include "fw/ui/Separator.h"

#include <QFrame>
#include <QResizeEvent>

namespace fw {
namespace {

// The line follows the separator's shape, which its property list sets after the widget is
// made.
class SeparatorWidget final : public QFrame {
public:
    explicit SeparatorWidget(QWidget* parent) : QFrame(parent) {
        setFrameShadow(QFrame::Sunken);
        setFocusPolicy(Qt::NoFocus);
        FollowShape();
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QFrame::resizeEvent(event);
        FollowShape();
    }

private:
    void FollowShape() { setFrameShape(width() >= height() ? QFrame::HLine : QFrame::VLine); }
};

}  // namespace

QWidget* Separator::CreateWidget(QWidget* parent) {
    return new SeparatorWidget(parent);
}

}  // namespace fw
