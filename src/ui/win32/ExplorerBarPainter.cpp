#include "ui/win32/ExplorerBarPainter.h"

#include <vssym32.h>

#include <algorithm>
#include <initializer_list>
#include <string>

#include "ui/win32/ExplorerBarGdi.h"

namespace vx::ui::win32 {

namespace {

RECT ToRect(const BarRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

COLORREF Blend(COLORREF a, COLORREF b, int percentOfB) {
    const auto mix = [percentOfB](BYTE x, BYTE y) {
        return static_cast<BYTE>((x * (100 - percentOfB) + y * percentOfB) / 100);
    };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
               mix(GetBValue(a), GetBValue(b)));
}

int Luminance(COLORREF c) {
    return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
}

// The first colour that stands out from the background. Some schemes (Wine's default among
// them) set the hot-tracking colour close to the window colour, which would hide the links.
COLORREF Readable(COLORREF background, std::initializer_list<COLORREF> candidates) {
    constexpr int kMinimumDifference = 90;
    for (const COLORREF colour : candidates) {
        const int difference = Luminance(colour) - Luminance(background);
        if (difference >= kMinimumDifference || -difference >= kMinimumDifference) {
            return colour;
        }
    }
    return Luminance(background) < 128 ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

COLORREF LinkColour(COLORREF background) {
    return Readable(background, {::GetSysColor(COLOR_HOTLIGHT), ::GetSysColor(COLOR_HIGHLIGHT),
                                 ::GetSysColor(COLOR_WINDOWTEXT)});
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
    const UniqueBrush brush(::CreateSolidBrush(colour));
    if (brush) {
        ::FillRect(dc, &rect, brush.get());
    }
}

void Frame(HDC dc, const RECT& rect, COLORREF colour) {
    const UniqueBrush brush(::CreateSolidBrush(colour));
    if (brush) {
        ::FrameRect(dc, &rect, brush.get());
    }
}

void Text(HDC dc, const std::string& text, RECT rect, HFONT font, COLORREF colour) {
    Selection selected(dc, font);
    ::SetTextColor(dc, colour);
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// Two stacked chevrons, pointing up for "collapse" and down for "expand", two pixels thick.
void Chevrons(HDC dc, const RECT& box, bool pointUp, COLORREF colour) {
    const UniquePen pen(::CreatePen(PS_SOLID, 1, colour));
    if (!pen) {
        return;
    }
    Selection selected(dc, pen.get());
    const int cx = (box.left + box.right) / 2;
    const int top = (box.top + box.bottom) / 2 - 4;
    for (const int y : {top, top + 1, top + 4, top + 5}) {
        // Polyline leaves out its last point, hence the longer right arm.
        POINT up[3] = {{cx - 3, y + 3}, {cx, y}, {cx + 4, y + 4}};
        POINT down[3] = {{cx - 3, y}, {cx, y + 3}, {cx + 4, y - 1}};
        ::Polyline(dc, pointUp ? up : down, 3);
    }
}

// Plain form: a pale wash of the caption colour behind groups that look like small windows.
COLORREF PaneColour() {
    return Blend(::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_ACTIVECAPTION), 25);
}

}  // namespace

void Painter::paint(HDC dc, const RECT& client, PaintState state) const {
    ::SetBkMode(dc, TRANSPARENT);
    if (!theme_.draw(dc, EBP_HEADERBACKGROUND, 0, client)) {
        Fill(dc, client, PaneColour());
    }
    for (int group = 1; group <= model_.groupCount(); ++group) {
        paintHeader(dc, group);
        paintBody(dc, group);
    }
    const ExplorerBarElement focus = model_.focus();
    if (state.hasFocus && state.showFocus && !focus.isNone()) {
        RECT around = ToRect(model_.elementRect(focus));
        if (focus.isHeader()) {
            ::InflateRect(&around, -2, -2);
        } else {
            ::InflateRect(&around, 2, 1);
        }
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::DrawFocusRect(dc, &around);
    }
}

void Painter::paintHeader(HDC dc, int group) const {
    const RECT header = ToRect(model_.headerRect(group));
    const RECT glyph = ToRect(model_.glyphRect(group));
    const ExplorerBarElement self{group, 0};
    const bool hot = model_.hover() == self;
    const bool pressed = hot && model_.pressed() == self;
    const bool collapsed = model_.isCollapsed(group);

    COLORREF textColour = 0;
    if (theme_.draw(dc, EBP_NORMALGROUPHEAD, 0, header)) {
        const int part = collapsed ? EBP_NORMALGROUPEXPAND : EBP_NORMALGROUPCOLLAPSE;
        // The collapse and expand parts number their states alike.
        const int glyphState = pressed ? EBNGC_PRESSED : hot ? EBNGC_HOT : EBNGC_NORMAL;
        textColour = LinkColour(::GetSysColor(COLOR_WINDOW));
        if (!theme_.draw(dc, part, glyphState, glyph)) {
            Chevrons(dc, glyph, !collapsed, textColour);
        }
    } else {
        const COLORREF band = ::GetSysColor(COLOR_ACTIVECAPTION);
        textColour = Readable(band, {::GetSysColor(COLOR_CAPTIONTEXT)});
        Fill(dc, header, band);
        RECT button = glyph;
        if (hot) {
            Frame(dc, button, textColour);
        }
        if (pressed) {
            ::OffsetRect(&button, 1, 1);
        }
        Chevrons(dc, button, !collapsed, textColour);
    }
    RECT text = header;
    text.left += model_.metrics().headerTextIndent;
    text.right = std::max(text.left, glyph.left - 4);
    Text(dc, model_.caption(self), text, hot ? fonts_.boldUnderlined() : fonts_.bold(), textColour);
}

void Painter::paintBody(HDC dc, int group) const {
    const BarRect body = model_.bodyRect(group);
    if (body.isEmpty()) {
        return;
    }
    const RECT bodyRect = ToRect(body);
    if (!theme_.draw(dc, EBP_NORMALGROUPBACKGROUND, 0, bodyRect)) {
        Fill(dc, bodyRect, ::GetSysColor(COLOR_WINDOW));
        Frame(dc, bodyRect, ::GetSysColor(COLOR_ACTIVECAPTION));
    }
    const COLORREF link = LinkColour(::GetSysColor(COLOR_WINDOW));
    for (int item = 1; item <= model_.itemCount(group); ++item) {
        const ExplorerBarElement self{group, item};
        const bool hot = model_.hover() == self;
        Text(dc, model_.caption(self), ToRect(model_.itemRect(group, item)),
             hot ? fonts_.underlined() : fonts_.normal(), link);
    }
}

}  // namespace vx::ui::win32
