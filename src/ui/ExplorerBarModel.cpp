#include "ui/ExplorerBarModel.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace vx::ui {

namespace {

const std::string kNoCaption;

std::size_t Index(int number) { return static_cast<std::size_t>(number - 1); }

}  // namespace

int ExplorerBarModel::addGroup(std::string caption) {
    Group group;
    group.caption = std::move(caption);
    groups_.push_back(std::move(group));
    relayout();
    return groupCount();
}

int ExplorerBarModel::addItem(int group, std::string caption) {
    Group* target = findGroup(group);
    if (target == nullptr) {
        return 0;
    }
    target->items.push_back(Item{std::move(caption), {}});
    relayout();
    return static_cast<int>(target->items.size());
}

int ExplorerBarModel::groupCount() const { return static_cast<int>(groups_.size()); }

int ExplorerBarModel::itemCount(int group) const {
    const Group* found = findGroup(group);
    return found == nullptr ? 0 : static_cast<int>(found->items.size());
}

bool ExplorerBarModel::exists(ExplorerBarElement element) const {
    const Group* found = findGroup(element.group);
    return found != nullptr && element.item >= 0 &&
           element.item <= static_cast<int>(found->items.size());
}

const std::string& ExplorerBarModel::caption(ExplorerBarElement element) const {
    if (!exists(element)) {
        return kNoCaption;
    }
    const Group& group = groups_[Index(element.group)];
    return element.isHeader() ? group.caption : group.items[Index(element.item)].caption;
}

bool ExplorerBarModel::isCollapsed(int group) const {
    const Group* found = findGroup(group);
    return found != nullptr && found->collapsed;
}

void ExplorerBarModel::setCollapsed(int group, bool collapsed) {
    Group* target = findGroup(group);
    if (target == nullptr || target->collapsed == collapsed) {
        return;
    }
    target->collapsed = collapsed;
    if (collapsed && focus_.group == group) {
        focus_.item = 0;
    }
    if (collapsed && pressed_.group == group && pressed_.isItem()) {
        pressed_ = {};
    }
    relayout();
}

void ExplorerBarModel::layout(int width, const ExplorerBarMetrics& metrics, MeasureText measure) {
    width_ = width;
    metrics_ = metrics;
    measure_ = std::move(measure);
    relayout();
}

void ExplorerBarModel::layoutToFit(int width, int height, const ExplorerBarMetrics& metrics,
                                   MeasureText measure) {
    layout(width, metrics, std::move(measure));
    while (totalHeight_ > height) {
        if (metrics_.groupGap > kTightestSpacing) {
            --metrics_.groupGap;
        } else if (metrics_.bodyPadding > kTightestSpacing) {
            --metrics_.bodyPadding;
        } else {
            break;
        }
        relayout();
    }
}

void ExplorerBarModel::relayout() {
    const ExplorerBarMetrics& m = metrics_;
    const int left = m.margin;
    const int right = std::max(left, width_ - m.margin);
    int y = m.margin;
    for (Group& group : groups_) {
        group.header = {left, y, right, y + m.headerHeight};
        const int glyphRight = std::max(left, right - m.glyphInset);
        const int glyphTop = y + (m.headerHeight - m.glyphSize) / 2;
        group.glyph = {std::max(left, glyphRight - m.glyphSize), glyphTop, glyphRight,
                       glyphTop + m.glyphSize};
        y += m.headerHeight;

        const bool open = !group.collapsed && !group.items.empty();
        group.body = {};
        if (open) {
            const int rows = static_cast<int>(group.items.size());
            group.body = {left, y, right, y + 2 * m.bodyPadding + rows * m.itemHeight};
        }
        int rowTop = y + m.bodyPadding;
        const int linkLeft = std::min(right, left + m.bodyPadding);
        const int linkSpace = std::max(0, right - m.bodyPadding - linkLeft);
        for (Item& item : group.items) {
            item.rect = {};
            if (open) {
                const int measured = measure_ ? measure_(item.caption, false) : linkSpace;
                const int linkWidth = std::clamp(measured, 0, linkSpace);
                item.rect = {linkLeft, rowTop, linkLeft + linkWidth, rowTop + m.itemHeight};
            }
            rowTop += m.itemHeight;
        }
        y = (open ? group.body.bottom : group.header.bottom) + m.groupGap;
    }
    totalHeight_ = groups_.empty() ? 0 : y - m.groupGap + m.margin;

    // What was under the pointer may have moved.
    hover_ = pointerInside_ ? hitTest(pointer_) : ExplorerBarElement{};
}

BarRect ExplorerBarModel::headerRect(int group) const {
    const Group* found = findGroup(group);
    return found == nullptr ? BarRect{} : found->header;
}

BarRect ExplorerBarModel::glyphRect(int group) const {
    const Group* found = findGroup(group);
    return found == nullptr ? BarRect{} : found->glyph;
}

BarRect ExplorerBarModel::bodyRect(int group) const {
    const Group* found = findGroup(group);
    return found == nullptr ? BarRect{} : found->body;
}

BarRect ExplorerBarModel::itemRect(int group, int item) const {
    if (!exists({group, item}) || item == 0) {
        return {};
    }
    return groups_[Index(group)].items[Index(item)].rect;
}

BarRect ExplorerBarModel::elementRect(ExplorerBarElement element) const {
    return element.isHeader() ? headerRect(element.group) : itemRect(element.group, element.item);
}

int ExplorerBarModel::totalHeight() const { return totalHeight_; }

ExplorerBarElement ExplorerBarModel::hitTest(BarPoint point) const {
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        const Group& group = groups_[g];
        const int number = static_cast<int>(g) + 1;
        if (group.header.contains(point)) {
            return {number, 0};
        }
        if (!group.body.contains(point)) {
            continue;
        }
        for (std::size_t i = 0; i < group.items.size(); ++i) {
            if (group.items[i].rect.contains(point)) {
                return {number, static_cast<int>(i) + 1};
            }
        }
    }
    return {};
}

bool ExplorerBarModel::mouseMove(BarPoint point) {
    const ExplorerBarElement before = hover_;
    pointerInside_ = true;
    pointer_ = point;
    hover_ = hitTest(point);
    return hover_ != before;
}

bool ExplorerBarModel::mouseLeave() {
    const ExplorerBarElement before = hover_;
    pointerInside_ = false;
    hover_ = {};
    return !before.isNone();
}

void ExplorerBarModel::mouseDown(BarPoint point) { pressed_ = hitTest(point); }

ExplorerBarActivation ExplorerBarModel::mouseUp(BarPoint point) {
    const ExplorerBarElement pressed = std::exchange(pressed_, ExplorerBarElement{});
    if (pressed.isNone() || hitTest(point) != pressed) {
        return {};
    }
    return perform(pressed);
}

std::vector<ExplorerBarElement> ExplorerBarModel::focusOrder() const {
    std::vector<ExplorerBarElement> order;
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        const int number = static_cast<int>(g) + 1;
        order.push_back({number, 0});
        if (groups_[g].collapsed) {
            continue;
        }
        for (std::size_t i = 0; i < groups_[g].items.size(); ++i) {
            order.push_back({number, static_cast<int>(i) + 1});
        }
    }
    return order;
}

bool ExplorerBarModel::setFocus(ExplorerBarElement element) {
    const std::vector<ExplorerBarElement> order = focusOrder();
    if (std::find(order.begin(), order.end(), element) == order.end()) {
        return false;
    }
    focus_ = element;
    return true;
}

bool ExplorerBarModel::focusNext() {
    const std::vector<ExplorerBarElement> order = focusOrder();
    const auto current = std::find(order.begin(), order.end(), focus_);
    if (current == order.end()) {
        // Nothing focused yet: the first element is next.
        if (order.empty()) {
            return false;
        }
        focus_ = order.front();
        return true;
    }
    if (std::next(current) == order.end()) {
        return false;
    }
    focus_ = *std::next(current);
    return true;
}

bool ExplorerBarModel::focusPrevious() {
    const std::vector<ExplorerBarElement> order = focusOrder();
    const auto current = std::find(order.begin(), order.end(), focus_);
    if (current == order.end()) {
        if (order.empty()) {
            return false;
        }
        focus_ = order.back();
        return true;
    }
    if (current == order.begin()) {
        return false;
    }
    focus_ = *std::prev(current);
    return true;
}

bool ExplorerBarModel::canMoveFocus(bool forward) const {
    const std::vector<ExplorerBarElement> order = focusOrder();
    const auto current = std::find(order.begin(), order.end(), focus_);
    if (current == order.end()) {
        return !order.empty();
    }
    return forward ? std::next(current) != order.end() : current != order.begin();
}

void ExplorerBarModel::focusFirst() {
    const std::vector<ExplorerBarElement> order = focusOrder();
    focus_ = order.empty() ? ExplorerBarElement{} : order.front();
}

void ExplorerBarModel::focusLast() {
    const std::vector<ExplorerBarElement> order = focusOrder();
    focus_ = order.empty() ? ExplorerBarElement{} : order.back();
}

ExplorerBarActivation ExplorerBarModel::activate() {
    if (!exists(focus_) || focus_.isNone()) {
        return {};
    }
    return perform(focus_);
}

ExplorerBarActivation ExplorerBarModel::perform(ExplorerBarElement element) {
    if (element.isHeader()) {
        setCollapsed(element.group, !isCollapsed(element.group));
        return {ExplorerBarActivation::Kind::Toggled, element};
    }
    return {ExplorerBarActivation::Kind::ItemClicked, element};
}

const ExplorerBarModel::Group* ExplorerBarModel::findGroup(int group) const {
    if (group < 1 || group > groupCount()) {
        return nullptr;
    }
    return &groups_[Index(group)];
}

ExplorerBarModel::Group* ExplorerBarModel::findGroup(int group) {
    return const_cast<Group*>(std::as_const(*this).findGroup(group));
}

}  // namespace vx::ui
