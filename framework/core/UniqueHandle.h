// UniqueHandle: move-only owner of a kernel handle that CloseHandle releases.
#pragma once

#include <windows.h>

#include <utility>

class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : m_handle(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    HANDLE get() const { return m_handle; }
    // Both "no handle" values count as empty: CreateFile reports failure with
    // INVALID_HANDLE_VALUE, most other calls with null.
    explicit operator bool() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE release() { return std::exchange(m_handle, nullptr); }
    // Closes the owned handle; returns false when CloseHandle failed.
    bool reset(HANDLE handle = nullptr) {
        const HANDLE old = std::exchange(m_handle, handle);
        if (old == nullptr || old == INVALID_HANDLE_VALUE)
            return true;
        return CloseHandle(old) != FALSE;
    }

private:
    HANDLE m_handle = nullptr;
};
