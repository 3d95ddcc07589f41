#pragma once

#include <cassert>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "fw/core/Exceptions.h"

namespace fw {

// The root of every framework and game object: an intrusive reference count. Objects are
// made with RuntimeNewObject (or a class's own factory) and held through Ref<T>; nothing of the
// layer is deleted by hand.
class Object {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() {
        // An object destroyed while references to it remain would leave them dangling.
        assert(refCount_ == 0 && "object destroyed while still referenced");
    }

    void Retain() const noexcept { ++refCount_; }
    // Deletes the object when the last count goes.
    void Release() const noexcept;
    int64_t RefCount() const noexcept { return refCount_; }

    // The registered class name, used by the implicit-window lookup and in messages.
    virtual const char* ClassName() const noexcept { return "Object"; }

private:
    mutable int64_t refCount_ = 0;
};

// GCC 12 at -O3 (-Wuse-after-free) warns where two releases of one object are inlined one after
// the other, as when two references to it leave scope together: it cannot know the count it
// loads, so it follows the path on which the first release deletes the object and the second then
// decrements the freed count. That path needs a count of 1 while two references still hold the
// object, and every Ref holds exactly one count (a copy retains, a move hands its count over,
// destruction releases once), so it never runs.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
#endif
inline void Object::Release() const noexcept {
    assert(refCount_ > 0 && "object released more often than retained");
    if (--refCount_ == 0) {
        delete this;
    }
}
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic pop
#endif

// The owning reference: a copy retains, destruction releases, an empty Ref is nil. Using a nil
// Ref raises NilObjectException instead of crashing.
template <class T>
class Ref {
public:
    Ref() noexcept = default;
    Ref(std::nullptr_t) noexcept {}  // NOLINT(google-explicit-constructor): nil literal
    explicit Ref(T* object) noexcept : ptr_(object) {
        if (ptr_ != nullptr) {
            ptr_->Retain();
        }
    }
    Ref(const Ref& other) noexcept : Ref(other.ptr_) {}
    Ref(Ref&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& other) noexcept : Ref(other.Get()) {}  // NOLINT: upcast like a pointer
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(Ref<U>&& other) noexcept : ptr_(other.Leak()) {}  // NOLINT: upcast like a pointer
    ~Ref() { Reset(); }

    Ref& operator=(Ref other) noexcept {
        std::swap(ptr_, other.ptr_);
        return *this;
    }

    void Reset() noexcept {
        if (T* old = std::exchange(ptr_, nullptr)) {
            old->Release();
        }
    }

    T* Get() const noexcept { return ptr_; }
    bool IsNil() const noexcept { return ptr_ == nullptr; }
    explicit operator bool() const noexcept { return ptr_ != nullptr; }

    T* operator->() const {
        if (ptr_ == nullptr) {
            throw NilObjectException();
        }
        return ptr_;
    }
    T& operator*() const { return *operator->(); }

    // Hands the reference over to the caller without releasing it; used by the upcasting move.
    T* Leak() noexcept { return std::exchange(ptr_, nullptr); }

    friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.ptr_ == b.ptr_; }
    friend bool operator==(const Ref& a, std::nullptr_t) noexcept { return a.ptr_ == nullptr; }

private:
    T* ptr_ = nullptr;
};

// Makes a new object and returns the first reference to it.
template <class T, class... Args>
Ref<T> MakeRef(Args&&... args) {
    return Ref<T>(new T(std::forward<Args>(args)...));
}

// The checked cast: nil stays nil, an object of another class raises IllegalCastException.
template <class T, class U>
Ref<T> Cast(const Ref<U>& object) {
    if (object.IsNil()) {
        return Ref<T>();
    }
    if (auto* cast = dynamic_cast<T*>(object.Get())) {
        return Ref<T>(cast);
    }
    throw IllegalCastException(std::string("cannot cast ") + object.Get()->ClassName());
}

}  // namespace fw
