// Handles.h: owners for the kernel handles, device contexts and GDI objects of the programs that
// work the viewer from outside (the end-to-end driver, the soak test, the open-time benchmark),
// so that each is given back on every path. Those programs link none of the viewer's framework;
// this is their own small set.
#pragma once

#include <windows.h>

#include <utility>

namespace e2e {

// A kernel handle, closed with CloseHandle. Null and INVALID_HANDLE_VALUE both mean none.
class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    Handle(Handle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    Handle& operator=(Handle&& other) noexcept {
        reset(std::exchange(other.m_handle, nullptr));
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { reset(); }

    HANDLE get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    void reset(HANDLE handle = nullptr) {
        if (*this)
            CloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HANDLE m_handle = nullptr;
};

// The whole screen's device context, released with ReleaseDC.
class ScreenDc {
public:
    ScreenDc() : m_dc(GetDC(nullptr)) {}
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ~ScreenDc() {
        if (m_dc)
            ReleaseDC(nullptr, m_dc);
    }
    HDC get() const { return m_dc; }

private:
    HDC m_dc;
};

// A memory device context compatible with `like` (with the screen when null), deleted with
// DeleteDC.
class MemoryDc {
public:
    explicit MemoryDc(HDC like = nullptr) : m_dc(CreateCompatibleDC(like)) {}
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() {
        if (m_dc)
            DeleteDC(m_dc);
    }
    HDC get() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HDC m_dc;
};

// A GDI object (a bitmap, a font), deleted with DeleteObject. It must not be selected into a
// device context by then: a SelectGuard made after it is undone before it goes.
template <class T>
class GdiObject {
public:
    explicit GdiObject(T object = nullptr) : m_object(object) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() {
        if (m_object)
            DeleteObject(m_object);
    }
    T get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    T m_object;
};

// Selects an object into a device context and, when it goes, selects back what was there.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { SelectObject(m_dc, m_old); }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

}  // namespace e2e
