#pragma once
// The task pane's layout and state without a window: groups of link items, the rectangles
// they occupy at a given width, what a point hits, hover, press, collapse and keyboard focus.
// The window side feeds it mouse and key events and paints exactly what it reports.

#include <functional>
#include <string>
#include <vector>

namespace vx::ui {

struct BarPoint {
    int x = 0;
    int y = 0;
};

// Half-open: contains left <= x < right, top <= y < bottom.
struct BarRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    [[nodiscard]] int width() const { return right - left; }
    [[nodiscard]] int height() const { return bottom - top; }
    [[nodiscard]] bool isEmpty() const { return right <= left || bottom <= top; }
    [[nodiscard]] bool contains(BarPoint p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    bool operator==(const BarRect&) const = default;
};

// Pixel sizes of the layout. The painter derives them from the real fonts.
struct ExplorerBarMetrics {
    int margin = 12;            // pane edge to the groups: left, right, above the first group
    int groupGap = 15;          // one group's bottom to the next group's header
    int headerHeight = 25;      // caption band of a group
    int headerTextIndent = 12;  // header's left edge to its caption
    int glyphSize = 17;         // square collapse/expand button at the header's right end
    int glyphInset = 4;         // glyph's right edge to the header's right edge
    int itemHeight = 20;        // one link row
    int bodyPadding = 10;       // above the first row, below the last, left of each link
};

// One thing of the pane: {group, 0} is a group's header, {group, item} an item, {0, 0} nothing.
struct ExplorerBarElement {
    int group = 0;
    int item = 0;

    [[nodiscard]] bool isNone() const { return group == 0; }
    [[nodiscard]] bool isHeader() const { return group != 0 && item == 0; }
    [[nodiscard]] bool isItem() const { return group != 0 && item != 0; }
    bool operator==(const ExplorerBarElement&) const = default;
};

// What a click or a key did: a header toggled its group, or an item was clicked.
struct ExplorerBarActivation {
    enum class Kind { None, Toggled, ItemClicked };
    Kind kind = Kind::None;
    ExplorerBarElement element;
    bool operator==(const ExplorerBarActivation&) const = default;
};

class ExplorerBarModel {
public:
    // Width in pixels of a caption; `bold` for headers. Without one, links span their row.
    using MeasureText = std::function<int(const std::string& text, bool bold)>;

    // Numbers count from 1. addItem returns 0 (and adds nothing) for a group that does not exist.
    int addGroup(std::string caption);
    int addItem(int group, std::string caption);

    [[nodiscard]] int groupCount() const;
    [[nodiscard]] int itemCount(int group) const;  // 0 for a group that does not exist
    [[nodiscard]] bool exists(ExplorerBarElement element) const;
    // The element's caption; empty for one that does not exist.
    [[nodiscard]] const std::string& caption(ExplorerBarElement element) const;

    [[nodiscard]] bool isCollapsed(int group) const;
    // A focused item inside a group that collapses hands the focus to the group's header.
    void setCollapsed(int group, bool collapsed);

    // Lays the pane out for a width; kept and reapplied whenever groups, items or collapse
    // states change.
    void layout(int width, const ExplorerBarMetrics& metrics, MeasureText measure = {});
    // The same for a pane `height` pixels high: where the groups would run past its bottom, the
    // gaps between them, then the padding inside them, shrink a pixel at a time down to
    // kTightestSpacing. A pane that is still too short shows its groups cut at the bottom.
    void layoutToFit(int width, int height, const ExplorerBarMetrics& metrics,
                     MeasureText measure = {});
    static constexpr int kTightestSpacing = 6;
    [[nodiscard]] const ExplorerBarMetrics& metrics() const { return metrics_; }

    // Rectangles of the latest layout; empty for what does not exist or is not visible (the
    // body and items of a collapsed group; the body of a group without items).
    [[nodiscard]] BarRect headerRect(int group) const;
    [[nodiscard]] BarRect glyphRect(int group) const;
    [[nodiscard]] BarRect bodyRect(int group) const;
    // The link itself: its caption's width (clipped to the body), the row's height.
    [[nodiscard]] BarRect itemRect(int group, int item) const;
    [[nodiscard]] BarRect elementRect(ExplorerBarElement element) const;
    // From the top to below the last group, margin included; 0 without groups.
    [[nodiscard]] int totalHeight() const;

    // A header (glyph included) or a visible item's link, else nothing.
    [[nodiscard]] ExplorerBarElement hitTest(BarPoint point) const;

    // Hover follows the pointer, also across layout changes. Each returns whether the hovered
    // element changed (so needs repainting).
    bool mouseMove(BarPoint point);
    bool mouseLeave();
    [[nodiscard]] ExplorerBarElement hover() const { return hover_; }

    // A click is a press and a release on the same element.
    void mouseDown(BarPoint point);
    ExplorerBarActivation mouseUp(BarPoint point);
    // The press ends without a click (the window lost the mouse capture).
    void cancelPress() { pressed_ = {}; }
    [[nodiscard]] ExplorerBarElement pressed() const { return pressed_; }

    // Keyboard focus runs over the headers and the items of expanded groups, top to bottom.
    [[nodiscard]] std::vector<ExplorerBarElement> focusOrder() const;
    [[nodiscard]] ExplorerBarElement focus() const { return focus_; }
    // Returns false (and keeps the focus) for an element that cannot take it.
    bool setFocus(ExplorerBarElement element);
    // Return false when there is no next (previous) element: the focus stays and the caller
    // may pass it on to the next control.
    bool focusNext();
    bool focusPrevious();
    // Whether focusNext (forward) or focusPrevious would move the focus.
    [[nodiscard]] bool canMoveFocus(bool forward) const;
    void focusFirst();
    void focusLast();
    // Enter or Space on the focused element: a header toggles, an item is clicked.
    ExplorerBarActivation activate();

private:
    struct Item {
        std::string caption;
        BarRect rect;
    };
    struct Group {
        std::string caption;
        bool collapsed = false;
        std::vector<Item> items;
        BarRect header;
        BarRect glyph;
        BarRect body;
    };

    [[nodiscard]] const Group* findGroup(int group) const;
    [[nodiscard]] Group* findGroup(int group);
    ExplorerBarActivation perform(ExplorerBarElement element);
    void relayout();

    std::vector<Group> groups_;
    int width_ = 0;
    ExplorerBarMetrics metrics_;
    MeasureText measure_;
    int totalHeight_ = 0;

    bool pointerInside_ = false;
    BarPoint pointer_;
    ExplorerBarElement hover_;
    ExplorerBarElement pressed_;
    ExplorerBarElement focus_;
};

}  // namespace vx::ui
