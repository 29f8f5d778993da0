#pragma once
// A picture shown in a preview box of the editor: a bitmap file scaled to fit the box (the
// logo), or an icon file at the largest standard size that fits (the OEM link icon). A file
// that does not load leaves the box empty; nothing is reported.

#include <windows.h>

#include <string>

#include "platform/win32/Handles.h"

namespace vx::ui::win32 {

class PicturePreview {
public:
    // Replaces the picture; an empty path or an unreadable file empties the preview.
    void loadBitmapFile(const std::string& path);
    void loadIconFile(const std::string& path, SIZE box);
    void clear();

    [[nodiscard]] bool empty() const { return !bitmap_ && !icon_; }

    // Paints the box background and the picture, centred, into `box` of `dc`.
    void paint(HDC dc, const RECT& box) const;

private:
    using UniqueBitmap = platform::win32::Unique<HBITMAP, ::DeleteObject>;
    using UniqueIcon = platform::win32::Unique<HICON, ::DestroyIcon>;

    void paintBitmap(HDC dc, const RECT& box) const;

    UniqueBitmap bitmap_;
    SIZE bitmapSize_{};
    UniqueIcon icon_;
    int iconSize_ = 0;
};

}  // namespace vx::ui::win32
