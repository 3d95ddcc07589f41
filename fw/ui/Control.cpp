#include "fw/ui/Control.h"

#include "fw/core/Thread.h"
#include "fw/ui/Window.h"

namespace fw {

Control::Control() = default;

Control::~Control() {
    if (owner_ != nullptr) {
        owner_->Forget(*this);
    }
}

const PropertyTable<Control>& Control::Properties() {
    static const auto table = PropertyTable<Control>()
                                  .Add("Name", &Control::Name, &Control::SetName)
                                  .Add("Index", &Control::Index, &Control::SetIndex);
    return table;
}

const std::type_info* Control::EventSignature(int /*eventNumber*/) const {
    return nullptr;
}

void Control::AddEventHandler(int eventNumber, Ref<Delegate> handler) {
    CheckUIThread();
    if (handler.IsNil()) {
        throw NilObjectException("event handler is nil");
    }
    const std::type_info* expected = EventSignature(eventNumber);
    if (expected == nullptr) {
        throw RuntimeException(std::string(ClassName()) + " has no event " +
                               std::to_string(eventNumber));
    }
    if (handler->Signature() != *expected) {
        detail::ThrowSignatureMismatch(handler->Signature(), *expected);
    }
    if (HasEventHandler(eventNumber)) {
        throw RuntimeException(std::string(ClassName()) + " event " + std::to_string(eventNumber) +
                               " already has a handler");
    }
    handlers_.emplace(eventNumber, std::move(handler));
}

// Only an object that somebody already holds may be retained for a call: retaining and
// releasing one that nobody holds (count 0) would delete it under its owner.
Control::KeepAlive::KeepAlive(Object* object) noexcept
    : object_(object != nullptr && object->RefCount() > 0 ? object : nullptr) {
    if (object_ != nullptr) {
        object_->Retain();
    }
}

Control::KeepAlive::~KeepAlive() {
    if (object_ != nullptr) {
        object_->Release();
    }
}

Control::Protector::Protector(Control& control) noexcept
    : control_(&control), window_(control.owner_) {}

Control::Protector::~Protector() = default;

}  // namespace fw
