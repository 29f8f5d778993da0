#pragma once
// Scoped ownership of the GDI objects and device contexts the explorer bar uses.

#include <windows.h>

#include "platform/win32/Handles.h"

namespace vx::ui::win32 {

using UniqueFont = platform::win32::Unique<HFONT, ::DeleteObject>;
using UniqueBrush = platform::win32::Unique<HBRUSH, ::DeleteObject>;
using UniquePen = platform::win32::Unique<HPEN, ::DeleteObject>;
using UniqueBitmap = platform::win32::Unique<HBITMAP, ::DeleteObject>;
using UniqueDc = platform::win32::Unique<HDC, ::DeleteDC>;

// Puts an object into a DC and the previous one back on leaving, so that the object can be
// deleted afterwards (a DC must never be left holding an object that is about to go).
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            ::SelectObject(dc_, previous_);
        }
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : window_(window) {
        dc_ = ::BeginPaint(window, &paint_);
    }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { ::EndPaint(window_, &paint_); }

    [[nodiscard]] HDC dc() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) {
            ::ReleaseDC(window_, dc_);
        }
    }

    [[nodiscard]] HDC dc() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace vx::ui::win32
