#include "ui/win32/PicturePreview.h"

#include <algorithm>

#include "platform/win32/ImageFiles.h"

namespace vx::ui::win32 {
namespace {

using UniqueDC = platform::win32::Unique<HDC, ::DeleteDC>;

// The sizes icon files normally hold; the preview takes the largest that fits its box.
constexpr int kIconSizes[] = {48, 32, 16};

}  // namespace

void PicturePreview::clear() {
    bitmap_.reset();
    bitmapSize_ = {};
    icon_.reset();
    iconSize_ = 0;
}

void PicturePreview::loadBitmapFile(const std::string& path) {
    clear();
    if (path.empty()) {
        return;
    }
    // A DIB section keeps the file's own colours instead of the screen's palette.
    bitmap_.reset(static_cast<HBITMAP>(
        platform::win32::LoadImageFile(path, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (bitmap_ && GetObjectA(bitmap_.get(), sizeof(info), &info) != 0 && info.bmWidth > 0 &&
        info.bmHeight != 0) {
        // A top-down bitmap reports a negative height.
        bitmapSize_ = {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
    } else {
        bitmap_.reset();
    }
}

void PicturePreview::loadIconFile(const std::string& path, SIZE box) {
    clear();
    if (path.empty()) {
        return;
    }
    const int room = std::min(box.cx, box.cy);
    int size = kIconSizes[std::size(kIconSizes) - 1];
    for (const int candidate : kIconSizes) {
        if (candidate <= room) {
            size = candidate;
            break;
        }
    }
    icon_.reset(
        static_cast<HICON>(platform::win32::LoadImageFile(path, IMAGE_ICON, size, size, 0)));
    iconSize_ = icon_ ? size : 0;
}

void PicturePreview::paint(HDC dc, const RECT& box) const {
    FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
    if (bitmap_) {
        paintBitmap(dc, box);
    } else if (icon_) {
        const int left = box.left + (box.right - box.left - iconSize_) / 2;
        const int top = box.top + (box.bottom - box.top - iconSize_) / 2;
        DrawIconEx(dc, left, top, icon_.get(), iconSize_, iconSize_, 0, nullptr, DI_NORMAL);
    }
}

// Scaled to fit the box with its proportions kept, centred.
void PicturePreview::paintBitmap(HDC dc, const RECT& box) const {
    const int boxWidth = box.right - box.left;
    const int boxHeight = box.bottom - box.top;
    if (boxWidth <= 0 || boxHeight <= 0) {
        return;
    }
    int width = boxWidth;
    int height = MulDiv(bitmapSize_.cy, boxWidth, bitmapSize_.cx);
    if (height > boxHeight) {
        height = boxHeight;
        width = MulDiv(bitmapSize_.cx, boxHeight, bitmapSize_.cy);
    }
    UniqueDC memory(CreateCompatibleDC(dc));
    if (!memory) {
        return;
    }
    const HGDIOBJ old = SelectObject(memory.get(), bitmap_.get());
    // HALFTONE averages the pixels a shrink drops; it needs the brush origin set after it.
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, box.left + (boxWidth - width) / 2, box.top + (boxHeight - height) / 2, width,
               height, memory.get(), 0, 0, bitmapSize_.cx, bitmapSize_.cy, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
    SelectObject(memory.get(), old);
}

}  // namespace vx::ui::win32
