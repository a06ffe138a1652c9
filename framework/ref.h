#pragma once

#include "framework/exceptions.h"

#include <memory>
#include <type_traits>

namespace fw {

// A counted reference that may be nil; reaching through a nil reference raises NilObjectException.
template <class T> class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) { }
    Ref(std::shared_ptr<T> object)
        : m_object(std::move(object))
    {
    }
    template <class U>
    requires std::is_convertible_v<U*, T*> Ref(const Ref<U>& other)
        : m_object(other.Shared())
    {
    }

    // The object; raises NilObjectException on nil.
    T& operator*() const { return Get(); }
    T* operator->() const { return &Get(); }
    T& Get() const
    {
        if (!m_object)
            throw NilObjectException("nil object");
        return *m_object;
    }

    bool IsNil() const { return !m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    const std::shared_ptr<T>& Shared() const { return m_object; }

    // The same object seen as a U, or nil when it is not one.
    template <class U> Ref<U> As() const { return Ref<U>(std::dynamic_pointer_cast<U>(m_object)); }

    friend bool operator==(const Ref& a, const Ref& b) { return a.m_object == b.m_object; }

private:
    std::shared_ptr<T> m_object;
};

// Creates an object and returns the first reference to it.
template <class T, class... Args> Ref<T> MakeRef(Args&&... args)
{
    return Ref<T>(std::make_shared<T>(std::forward<Args>(args)...));
}

} // namespace fw
