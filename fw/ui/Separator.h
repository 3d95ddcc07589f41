#pragma once

#include "fw/ui/RectControl.h"

namespace fw {

// A line across the window: vertical when higher than wide, horizontal otherwise.
class Separator : public RectControl {
public:
    Separator() = default;
    static Ref<Separator> Create() { return MakeRef<Separator>(); }

    const char* ClassName() const noexcept override { return "Separator"; }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
};

}  // namespace fw
