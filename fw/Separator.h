#pragma once

#include "fw/RectControl.h"

namespace fw {

// A line across the window: horizontal when wider than high, vertical otherwise.
class Separator : public RectControl {
public:
    Separator() = default;
    static Ref<Separator> Create() { return MakeRef<Separator>(); }

    const char* ClassName() const noexcept override { return "Separator"; }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
};

}  // namespace fw
