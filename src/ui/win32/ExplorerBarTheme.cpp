#include "ui/win32/ExplorerBarTheme.h"

namespace vx::ui::win32 {

namespace {

template <typename Function>
Function Export(HMODULE library, const char* name) noexcept {
    // FARPROC converts to another function type only through the generic function pointer.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(::GetProcAddress(library, name)));
}

}  // namespace

ExplorerTheme::ExplorerTheme() noexcept : library_(::LoadLibraryA("uxtheme.dll")) {
    if (!library_) {
        return;
    }
    isThemeActive_ = Export<IsThemeActiveFn>(library_.get(), "IsThemeActive");
    openThemeData_ = Export<OpenThemeDataFn>(library_.get(), "OpenThemeData");
    drawThemeBackground_ = Export<DrawThemeBackgroundFn>(library_.get(), "DrawThemeBackground");
    closeThemeData_ = Export<CloseThemeDataFn>(library_.get(), "CloseThemeData");
}

ExplorerTheme::~ExplorerTheme() { close(); }

void ExplorerTheme::open(HWND window) noexcept {
    close();
    if (isThemeActive_ == nullptr || openThemeData_ == nullptr || drawThemeBackground_ == nullptr ||
        closeThemeData_ == nullptr || !isThemeActive_()) {
        return;
    }
    theme_ = openThemeData_(window, L"EXPLORERBAR");
}

void ExplorerTheme::close() noexcept {
    if (theme_ != nullptr) {
        closeThemeData_(theme_);
        theme_ = nullptr;
    }
}

bool ExplorerTheme::draw(HDC dc, int part, int state, const RECT& rect) const noexcept {
    return theme_ != nullptr &&
           SUCCEEDED(drawThemeBackground_(theme_, dc, part, state, &rect, nullptr));
}

}  // namespace vx::ui::win32
