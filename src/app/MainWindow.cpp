#include "app/MainWindow.h"

#include "common/AppSettings.h"
#include "common/DebugLog.h"

namespace vx::app {
namespace {

constexpr const char* kClassName = "VexillaMainWindow";
constexpr int kWidth = 640;
constexpr int kHeight = 480;

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    // A second window in the same process finds the class already there.
    if (RegisterClassExA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        ThrowSystemError(GetLastError());
    }
}

// The primary monitor's work area, i.e. the screen less the taskbar.
POINT CentredOrigin() {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    static_cast<void>(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    return {area.left + (area.right - area.left - kWidth) / 2,
            area.top + (area.bottom - area.top - kHeight) / 2};
}

}  // namespace

std::unique_ptr<MainWindow> MainWindow::Open(HINSTANCE instance, int showCommand) {
    RegisterWindowClass(instance, Trampoline);
    std::unique_ptr<MainWindow> self(new MainWindow());
    const POINT origin = CentredOrigin();
    // The trampoline stores `self` while the window is created, before this call returns.
    if (CreateWindowExA(0, kClassName, kAppTitle, WS_OVERLAPPEDWINDOW, origin.x, origin.y, kWidth,
                        kHeight, nullptr, nullptr, instance, self.get()) == nullptr) {
        ThrowSystemError(GetLastError());
    }
    self->icons_ = SetAppIcon(self->window_);
    ShowWindow(self->window_, showCommand);
    UpdateWindow(self->window_);
    return self;
}

MainWindow::~MainWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK MainWindow::Trampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    // Messages before WM_NCCREATE (WM_GETMINMAXINFO) have no object yet.
    if (self == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    // An exception must not unwind through the system's code that called us.
    try {
        return self->handle(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = window_;
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            window_ = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RunUntilClosed(const MainWindow& window) {
    MSG message{};
    while (window.isOpen()) {
        // 0 is WM_QUIT, -1 a failure that would repeat forever.
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace vx::app
