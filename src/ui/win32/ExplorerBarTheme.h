#pragma once
// The "EXPLORERBAR" visual style, reached through uxtheme.dll found at run time: Windows 2000
// has no uxtheme.dll, so importing it would keep the program from starting there.

#include <windows.h>
#include <uxtheme.h>

#include "platform/win32/Handles.h"

namespace vx::ui::win32 {

class ExplorerTheme {
public:
    ExplorerTheme() noexcept;
    ExplorerTheme(const ExplorerTheme&) = delete;
    ExplorerTheme& operator=(const ExplorerTheme&) = delete;
    ~ExplorerTheme();

    // Opens the style's data for the window, or stays plain when no style is active or the
    // active one has no explorer bar parts.
    void open(HWND window) noexcept;
    void close() noexcept;

    [[nodiscard]] bool active() const noexcept { return theme_ != nullptr; }

    // False when nothing was drawn: the caller then draws the plain form.
    [[nodiscard]] bool draw(HDC dc, int part, int state, const RECT& rect) const noexcept;

private:
    using IsThemeActiveFn = BOOL(WINAPI*)();
    using OpenThemeDataFn = HTHEME(WINAPI*)(HWND, LPCWSTR);
    using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
    using CloseThemeDataFn = HRESULT(WINAPI*)(HTHEME);

    platform::win32::UniqueModule library_;
    IsThemeActiveFn isThemeActive_ = nullptr;
    OpenThemeDataFn openThemeData_ = nullptr;
    DrawThemeBackgroundFn drawThemeBackground_ = nullptr;
    CloseThemeDataFn closeThemeData_ = nullptr;
    HTHEME theme_ = nullptr;
};

}  // namespace vx::ui::win32
