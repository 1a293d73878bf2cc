// GdiObject: owning handles for the GDI objects and the hook the skin creates.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace skin {

struct GdiObjectDeleter {
    void operator()(void* object) const noexcept { DeleteObject(static_cast<HGDIOBJ>(object)); }
};

// Owns one brush, pen or font; deletes it when the owner goes.
template <class Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

using OwnedBrush = GdiObject<HBRUSH>;
using OwnedPen = GdiObject<HPEN>;
using OwnedFont = GdiObject<HFONT>;

struct HookDeleter {
    void operator()(HHOOK hook) const noexcept { UnhookWindowsHookEx(hook); }
};
using OwnedHook = std::unique_ptr<std::remove_pointer_t<HHOOK>, HookDeleter>;

// Selects an object into a DC for one scope and puts the previous one back.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~SelectScope() { SelectObject(m_dc, m_previous); }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Borrowed window DC released at the end of the scope.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : m_hwnd(hwnd), m_dc(GetWindowDC(hwnd)) {}
    ~WindowDC() {
        if (m_dc) ReleaseDC(m_hwnd, m_dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// BeginPaint/EndPaint pair.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : m_hwnd(hwnd) { BeginPaint(hwnd, &m_ps); }
    ~PaintScope() { EndPaint(m_hwnd, &m_ps); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return m_ps.hdc; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
};

}  // namespace skin
