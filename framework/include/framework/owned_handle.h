// The owner of one handle of any kind (GDI objects, device contexts, menus,
// DLLs, windows, kernel objects) with the function that releases it.
#pragma once

#include <utility>

// Releases its handle with Release when it goes or takes another. Made from
// the creating call's result, so a refused handle stays null. Moved, never
// copied.
template <typename Handle, auto Release>
class COwnedHandle {
public:
    explicit COwnedHandle(Handle handle = nullptr) : m_handle(handle) {}
    ~COwnedHandle() { Reset(); }
    COwnedHandle(COwnedHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    COwnedHandle& operator=(COwnedHandle&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.m_handle, nullptr));
        return *this;
    }
    COwnedHandle(const COwnedHandle&) = delete;
    COwnedHandle& operator=(const COwnedHandle&) = delete;

    Handle Get() const { return m_handle; }
    // Releases the handle held, if any, and holds the given one; true when
    // a handle was released without error.
    bool Reset(Handle handle = nullptr)
    {
        const Handle released = std::exchange(m_handle, handle);
        return released != nullptr && Release(released) != 0;
    }

private:
    Handle m_handle;
};
