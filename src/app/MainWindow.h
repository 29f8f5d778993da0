#pragma once
// The program's top-level window, "Vexilla", that stands in for the editor: an empty frame
// with the program's icon. The process lives as long as it is open.

#include <windows.h>

#include <memory>

#include "app/AppIcon.h"

namespace vx::app {

class MainWindow {
public:
    // Registers the class (once), creates the window centred on the work area and shows it.
    // Throws Failure with the system's error when the window cannot be created.
    static std::unique_ptr<MainWindow> Open(HINSTANCE instance, int showCommand);

    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow();

    // False once the user has closed the window.
    [[nodiscard]] bool isOpen() const { return window_ != nullptr; }

private:
    MainWindow() = default;

    static LRESULT CALLBACK Trampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    // Declared before the handle it belongs to, so that it is released after the window.
    WindowIcons icons_;
    HWND window_ = nullptr;
};

// Dispatches messages until `window` is closed (or WM_QUIT arrives).
void RunUntilClosed(const MainWindow& window);

}  // namespace vx::app
