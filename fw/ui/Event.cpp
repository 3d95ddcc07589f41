#include "fw/ui/Event.h"

#include "fw/ui/Control.h"

namespace fw {
namespace detail {

void ThrowSignatureMismatch(const std::type_info& have, const std::type_info& want) {
    throw IllegalCastException(std::string("delegate of signature ") + have.name() + " used as " +
                               want.name());
}

}  // namespace detail

void RuntimeAddEventHandler(Control& control, int eventNumber, Ref<Delegate> handler) {
    control.AddEventHandler(eventNumber, std::move(handler));
}

void RuntimeAddEventHandler(const Ref<Control>& control, int eventNumber, Ref<Delegate> handler) {
    control->AddEventHandler(eventNumber, std::move(handler));
}

}  // namespace fw
