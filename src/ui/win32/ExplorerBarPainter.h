#pragma once
// Draws what the explorer bar's model reports: in the "EXPLORERBAR" visual style where it is
// active, in plain system colours otherwise.

#include <windows.h>

#include "ui/ExplorerBarModel.h"
#include "ui/win32/ExplorerBarFonts.h"
#include "ui/win32/ExplorerBarTheme.h"

namespace vx::ui::win32 {

struct PaintState {
    bool hasFocus = false;
    bool showFocus = false;
};

class Painter {
public:
    Painter(const ExplorerBarModel& model, const PaneFonts& fonts, const ExplorerTheme& theme)
        : model_(model), fonts_(fonts), theme_(theme) {}

    void paint(HDC dc, const RECT& client, PaintState state) const;

private:
    void paintHeader(HDC dc, int group) const;
    void paintBody(HDC dc, int group) const;

    const ExplorerBarModel& model_;
    const PaneFonts& fonts_;
    const ExplorerTheme& theme_;
};

}  // namespace vx::ui::win32
