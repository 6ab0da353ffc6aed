// Handles.h: owners for the kernel handles, device contexts and GDI objects of the programs that
// work the viewer from outside (the end-to-end driver, the soak test, the open-time benchmark),
// so that each is given back on every path. Those programs link none of the viewer's framework;
// they share only its header-only handle owner.
#pragma once

#include <windows.h>

#include "framework/core/UniqueHandle.h"

namespace e2e {

// A kernel handle, closed with CloseHandle: the header-only owner the viewer uses too.
using Handle = ::UniqueHandle;

// A device context or GDI object of type T, given back with Free when it goes.
template <class T, auto Free>
class GdiOwner {
public:
    explicit GdiOwner(T value = nullptr) : m_value(value) {}
    GdiOwner(const GdiOwner&) = delete;
    GdiOwner& operator=(const GdiOwner&) = delete;
    ~GdiOwner() {
        if (m_value)
            Free(m_value);
    }
    T get() const { return m_value; }
    explicit operator bool() const { return m_value != nullptr; }

private:
    T m_value;
};

// A GDI object (a bitmap, a font), deleted with DeleteObject. It must not be selected into a
// device context by then: a SelectGuard made after it is undone before it goes.
template <class T>
using GdiObject = GdiOwner<T, &DeleteObject>;

// A memory device context compatible with `like` (with the screen when null), deleted with
// DeleteDC.
class MemoryDc : public GdiOwner<HDC, &DeleteDC> {
public:
    explicit MemoryDc(HDC like = nullptr) : GdiOwner(CreateCompatibleDC(like)) {}
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
