#pragma once

#include <functional>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "fw/core/Object.h"

namespace fw {

class Control;

// The framework's event numbers. Which of them a control has, and the handler signature each
// expects, is the control class's business (Control::EventSignature).
inline constexpr int kTimerActionEvent = 0;
inline constexpr int kOpenEvent = 2;
inline constexpr int kActionEvent = 15;
inline constexpr int kMouseDownEvent = 21;
inline constexpr int kPaintEvent = 24;

// A bound handler: a member function of some object (usually the window) or a free function,
// together with its exact signature, so that attaching it to an event of another signature is
// refused instead of calling through the wrong type.
//
// A method delegate holds its target by raw pointer: the window owns its controls, which own
// the delegates, so a strong reference would be a cycle. Whoever raises the event holds a
// reference to the target for the length of the call (Control::RaiseEvent does).
class Delegate : public Object {
public:
    // The handler's function type, e.g. typeid(void(Ref<PushButton>)).
    const std::type_info& Signature() const noexcept { return *signature_; }
    // The object a method delegate calls into; null for a free function.
    Object* Target() const noexcept { return target_; }

    // The raw function pointer of a free-function delegate. IllegalCastException when the
    // delegate has another signature or is bound to a method.
    template <class Sig>
    Sig* Function() const;

    // Calls the handler. The argument types must be exactly the delegate's parameter types,
    // otherwise IllegalCastException and nothing is called.
    template <class R, class... A>
    R Invoke(A... args) const;

    const char* ClassName() const noexcept override { return "Delegate"; }

protected:
    Delegate(const std::type_info& signature, Object* target) noexcept
        : signature_(&signature), target_(target) {}

private:
    const std::type_info* signature_;
    Object* target_;
};

namespace detail {

template <class Sig>
class TypedDelegate;

template <class R, class... A>
class TypedDelegate<R(A...)> final : public Delegate {
public:
    TypedDelegate(Object* target, std::function<R(A...)> call, R (*function)(A...))
        : Delegate(typeid(R(A...)), target), call_(std::move(call)), function_(function) {}

    R Call(A... args) const { return call_(std::forward<A>(args)...); }
    auto FreeFunction() const noexcept { return function_; }

private:
    std::function<R(A...)> call_;
    R (*function_)(A...);
};

[[noreturn]] void ThrowSignatureMismatch(const std::type_info& have, const std::type_info& want);

}  // namespace detail

template <class Sig>
Sig* Delegate::Function() const {
    auto* typed = dynamic_cast<const detail::TypedDelegate<Sig>*>(this);
    if (typed == nullptr) {
        detail::ThrowSignatureMismatch(*signature_, typeid(Sig));
    }
    if (typed->FreeFunction() == nullptr) {
        throw IllegalCastException("delegate is bound to a method, not a free function");
    }
    return typed->FreeFunction();
}

template <class R, class... A>
R Delegate::Invoke(A... args) const {
    auto* typed = dynamic_cast<const detail::TypedDelegate<R(A...)>*>(this);
    if (typed == nullptr) {
        detail::ThrowSignatureMismatch(*signature_, typeid(R(A...)));
    }
    return typed->Call(std::forward<A>(args)...);
}

// A delegate that calls method on target. The method may belong to a base class of target's.
template <class T, class C, class R, class... A>
requires std::is_base_of_v<C, T> && std::is_base_of_v<Object, T> Ref<Delegate>
RuntimeCreateDelegate(T* target, R (C::*method)(A...)) {
    if (target == nullptr) {
        throw NilObjectException("delegate target is nil");
    }
    C* self = target;
    auto call = [self, method](A... args) -> R {
        return (self->*method)(std::forward<A>(args)...);
    };
    return Ref<Delegate>(
        new detail::TypedDelegate<R(A...)>(static_cast<Object*>(target), std::move(call), nullptr));
}

template <class T, class C, class R, class... A>
requires std::is_base_of_v<C, T> && std::is_base_of_v<Object, T> Ref<Delegate>
RuntimeCreateDelegate(const Ref<T>& target, R (C::*method)(A...)) {
    return RuntimeCreateDelegate(target.Get(), method);
}

// A delegate that calls a free function.
template <class R, class... A>
Ref<Delegate> RuntimeCreateDelegate(R (*function)(A...)) {
    if (function == nullptr) {
        throw NilObjectException("delegate function is nil");
    }
    return Ref<Delegate>(new detail::TypedDelegate<R(A...)>(nullptr, function, function));
}

// Attaches handler to the control's event. Raises NilObjectException for a nil handler,
// IllegalCastException when the handler's signature is not the one the event passes, and
// RuntimeException when the control's class has no such event or the event already has a
// handler (each event takes one).
void RuntimeAddEventHandler(Control& control, int eventNumber, Ref<Delegate> handler);
void RuntimeAddEventHandler(const Ref<Control>& control, int eventNumber, Ref<Delegate> handler);

}  // namespace fw
