#pragma once
// The sidebar task pane: collapsible groups of clickable link items, drawn with the
// "EXPLORERBAR" visual style when one is active and with plain system colours otherwise.
//
// Notification: when an item is clicked (mouse, or Enter/Space on the focused item) the control
// sends WM_COMMAND to its parent with wParam = MAKEWPARAM(controlId, kExplorerBarItemClicked)
// and lParam = the control's window. While that message is handled, lastClick() names the item.
// Clicking a group header only collapses or expands the group; it sends nothing.
// An owner that prefers a callback sets onItemClick instead of handling WM_COMMAND; the
// callback runs first, then the WM_COMMAND is sent. Either may destroy the window (and this
// object): the control touches nothing after notifying.
//
// The control uses the font the parent gives it with WM_SETFONT (headers in its bold form); until
// then it uses the system's message font. Groups and items may be added before or after create().

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace vx::ui::win32 {

// The notification code (HIWORD of wParam) of the item-click WM_COMMAND.
inline constexpr WORD kExplorerBarItemClicked = 1;

// Group and item numbers, both counted from 1.
struct ExplorerBarClick {
    int group = 0;
    int item = 0;
};

class XPExplorerBar {
public:
    XPExplorerBar();
    ~XPExplorerBar();  // destroys the window if it still exists
    XPExplorerBar(const XPExplorerBar&) = delete;
    XPExplorerBar& operator=(const XPExplorerBar&) = delete;

    // Creates the child window (class "VexillaExplorerBar", WS_CHILD | WS_TABSTOP, initially
    // hidden) at `bounds` in the parent's client coordinates. Returns nullptr on failure or when
    // already created.
    [[nodiscard]] HWND create(HWND parent, RECT bounds, int controlId);

    // Returns the new group's number (1 for the first group).
    [[nodiscard]] int addGroup(const std::string& caption);
    // Returns the item's number within its group (from 1), or 0 when `group` does not exist.
    [[nodiscard]] int addItem(const std::string& caption, int group);

    void show(bool visible);

    // The item of the latest click; {0, 0} before the first one.
    [[nodiscard]] ExplorerBarClick lastClick() const;
    // Optional; an empty function removes it.
    void onItemClick(std::function<void(int group, int item)> handler);

    // nullptr before create() and after the window is destroyed.
    [[nodiscard]] HWND handle() const;

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vx::ui::win32
