#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/ExplorerBarModel.h"

namespace vx::ui {
namespace {

using Kind = ExplorerBarActivation::Kind;

// Distinct numbers, so that a layout mixing up two of them shows.
ExplorerBarMetrics TestMetrics() {
    ExplorerBarMetrics m;
    m.margin = 10;
    m.groupGap = 8;
    m.headerHeight = 24;
    m.headerTextIndent = 6;
    m.glyphSize = 16;
    m.glyphInset = 4;
    m.itemHeight = 20;
    m.bodyPadding = 5;
    return m;
}

int SevenPerChar(const std::string& text, bool) { return 7 * static_cast<int>(text.size()); }

// Width 200: groups span x 10..190; links start at 15 and may reach 185.
//   group 1 "Config":  header 10..34, body 34..84, items at 39 and 59
//   group 2 "Close":   header 92..116, body 116..146, item at 121
//   group 3 "Empty":   header 154..178, no body; total height 188
class ExplorerBarModelTest : public ::testing::Test {
protected:
    ExplorerBarModelTest() {
        EXPECT_EQ(1, model_.addGroup("Config"));
        EXPECT_EQ(1, model_.addItem(1, "Common Info"));
        EXPECT_EQ(2, model_.addItem(1, "XP OEM Link"));
        EXPECT_EQ(2, model_.addGroup("Close"));
        EXPECT_EQ(1, model_.addItem(2, "Save and Close"));
        EXPECT_EQ(3, model_.addGroup("Empty"));
        model_.layout(200, TestMetrics(), SevenPerChar);
    }

    ExplorerBarModel model_;
};

TEST_F(ExplorerBarModelTest, NumbersCountFromOneAndUnknownGroupsTakeNothing) {
    EXPECT_EQ(3, model_.groupCount());
    EXPECT_EQ(2, model_.itemCount(1));
    EXPECT_EQ(0, model_.itemCount(3));
    EXPECT_EQ(0, model_.itemCount(4));
    EXPECT_EQ(0, model_.addItem(0, "x"));
    EXPECT_EQ(0, model_.addItem(4, "x"));
    EXPECT_EQ(3, model_.groupCount());

    EXPECT_EQ("Config", model_.caption({1, 0}));
    EXPECT_EQ("XP OEM Link", model_.caption({1, 2}));
    EXPECT_EQ("Save and Close", model_.caption({2, 1}));
    EXPECT_EQ("", model_.caption({2, 2}));
    EXPECT_EQ("", model_.caption({0, 0}));
    EXPECT_FALSE(model_.exists({1, 3}));
    EXPECT_FALSE(model_.exists({1, -1}));
}

TEST_F(ExplorerBarModelTest, LayoutStacksHeadersBodiesAndLinks) {
    EXPECT_EQ((BarRect{10, 10, 190, 34}), model_.headerRect(1));
    EXPECT_EQ((BarRect{170, 14, 186, 30}), model_.glyphRect(1));
    EXPECT_EQ((BarRect{10, 34, 190, 84}), model_.bodyRect(1));
    EXPECT_EQ((BarRect{15, 39, 92, 59}), model_.itemRect(1, 1));
    EXPECT_EQ((BarRect{15, 59, 92, 79}), model_.itemRect(1, 2));

    EXPECT_EQ((BarRect{10, 92, 190, 116}), model_.headerRect(2));
    EXPECT_EQ((BarRect{10, 116, 190, 146}), model_.bodyRect(2));
    EXPECT_EQ((BarRect{15, 121, 113, 141}), model_.itemRect(2, 1));

    EXPECT_EQ((BarRect{10, 154, 190, 178}), model_.headerRect(3));
    EXPECT_TRUE(model_.bodyRect(3).isEmpty());
    EXPECT_EQ(188, model_.totalHeight());

    EXPECT_EQ(model_.headerRect(2), model_.elementRect({2, 0}));
    EXPECT_EQ(model_.itemRect(1, 2), model_.elementRect({1, 2}));
    EXPECT_TRUE(model_.itemRect(1, 3).isEmpty());
    EXPECT_TRUE(model_.headerRect(4).isEmpty());
}

// The default metrics give a pane 229 high: gaps of 15 between the groups, padding of 10 above
// and below the two bodies' rows.
TEST_F(ExplorerBarModelTest, APaneTooShortTightensGapsThenPadding) {
    const ExplorerBarMetrics defaults;
    model_.layoutToFit(200, 1000, defaults, SevenPerChar);
    EXPECT_EQ(229, model_.totalHeight()) << "room enough: nothing changes";
    EXPECT_EQ(15, model_.metrics().groupGap);

    model_.layoutToFit(200, 215, defaults, SevenPerChar);
    EXPECT_EQ(215, model_.totalHeight());
    EXPECT_EQ(8, model_.metrics().groupGap);
    EXPECT_EQ(10, model_.metrics().bodyPadding) << "the gaps go first";

    model_.layoutToFit(200, 200, defaults, SevenPerChar);
    EXPECT_EQ(199, model_.totalHeight());
    EXPECT_EQ(6, model_.metrics().groupGap);
    EXPECT_EQ(7, model_.metrics().bodyPadding);
    EXPECT_EQ((BarRect{19, 129, 117, 149}), model_.itemRect(2, 1)) << "the rows follow";

    model_.layoutToFit(200, 100, defaults, SevenPerChar);
    EXPECT_EQ(195, model_.totalHeight()) << "as tight as it goes, cut at the bottom";
    EXPECT_EQ(ExplorerBarModel::kTightestSpacing, model_.metrics().groupGap);
    EXPECT_EQ(ExplorerBarModel::kTightestSpacing, model_.metrics().bodyPadding);
}

TEST_F(ExplorerBarModelTest, LinksAreClippedToTheBodyOrSpanItWithoutMeasure) {
    EXPECT_EQ(2, model_.addItem(2, std::string(40, 'w')));
    EXPECT_EQ((BarRect{15, 141, 185, 161}), model_.itemRect(2, 2));

    model_.layout(200, TestMetrics());
    EXPECT_EQ((BarRect{15, 39, 185, 59}), model_.itemRect(1, 1));

    // Narrower than the margins: nothing gets a negative width.
    model_.layout(15, TestMetrics(), SevenPerChar);
    for (const BarRect& r : {model_.headerRect(1), model_.glyphRect(1), model_.itemRect(1, 1)}) {
        EXPECT_GE(r.width(), 0);
    }
}

TEST_F(ExplorerBarModelTest, CollapsingAGroupMovesTheGroupsBelowUp) {
    model_.setCollapsed(1, true);
    EXPECT_TRUE(model_.isCollapsed(1));
    EXPECT_TRUE(model_.bodyRect(1).isEmpty());
    EXPECT_TRUE(model_.itemRect(1, 1).isEmpty());
    EXPECT_EQ((BarRect{10, 42, 190, 66}), model_.headerRect(2));
    EXPECT_EQ((BarRect{15, 71, 113, 91}), model_.itemRect(2, 1));
    EXPECT_EQ(138, model_.totalHeight());

    model_.setCollapsed(1, false);
    EXPECT_EQ((BarRect{10, 92, 190, 116}), model_.headerRect(2));
    EXPECT_EQ(188, model_.totalHeight());
}

TEST_F(ExplorerBarModelTest, HitTestFindsHeadersAndLinksOnly) {
    EXPECT_EQ((ExplorerBarElement{1, 0}), model_.hitTest({100, 20}));
    EXPECT_EQ((ExplorerBarElement{1, 0}), model_.hitTest({175, 20}));  // on the glyph
    EXPECT_EQ((ExplorerBarElement{1, 1}), model_.hitTest({20, 45}));
    EXPECT_EQ((ExplorerBarElement{1, 2}), model_.hitTest({15, 59}));  // top edge belongs to it
    EXPECT_EQ((ExplorerBarElement{2, 1}), model_.hitTest({112, 140}));
    EXPECT_EQ((ExplorerBarElement{3, 0}), model_.hitTest({10, 154}));

    EXPECT_TRUE(model_.hitTest({92, 45}).isNone());    // right of the link
    EXPECT_TRUE(model_.hitTest({12, 45}).isNone());    // body padding
    EXPECT_TRUE(model_.hitTest({5, 20}).isNone());     // pane margin
    EXPECT_TRUE(model_.hitTest({100, 88}).isNone());   // gap between groups
    EXPECT_TRUE(model_.hitTest({190, 20}).isNone());   // right edge is outside
    EXPECT_TRUE(model_.hitTest({100, 180}).isNone());  // below the last header

    ASSERT_EQ((ExplorerBarElement{1, 1}), model_.hitTest({20, 40}));
    model_.setCollapsed(1, true);
    EXPECT_TRUE(model_.hitTest({20, 40}).isNone());                   // now the gap above group 2
    EXPECT_EQ((ExplorerBarElement{2, 0}), model_.hitTest({20, 50}));  // group 2 moved up
}

TEST_F(ExplorerBarModelTest, HoverReportsOnlyChangesAndFollowsTheLayout) {
    EXPECT_TRUE(model_.mouseMove({20, 45}));
    EXPECT_EQ((ExplorerBarElement{1, 1}), model_.hover());
    EXPECT_FALSE(model_.mouseMove({30, 50}));
    EXPECT_TRUE(model_.mouseMove({100, 45}));
    EXPECT_TRUE(model_.hover().isNone());
    EXPECT_FALSE(model_.mouseMove({101, 45}));

    // The pointer rests on group 2's link; group 1 collapses and group 3's header moves under it.
    EXPECT_TRUE(model_.mouseMove({20, 125}));
    EXPECT_EQ((ExplorerBarElement{2, 1}), model_.hover());
    model_.setCollapsed(1, true);
    EXPECT_EQ((ExplorerBarElement{3, 0}), model_.hover());

    EXPECT_TRUE(model_.mouseLeave());
    EXPECT_TRUE(model_.hover().isNone());
    EXPECT_FALSE(model_.mouseLeave());
    model_.setCollapsed(1, false);  // a relayout after leaving finds no hover
    EXPECT_TRUE(model_.hover().isNone());
}

TEST_F(ExplorerBarModelTest, ClickIsPressAndReleaseOnTheSameElement) {
    model_.mouseDown({20, 45});
    EXPECT_EQ((ExplorerBarElement{1, 1}), model_.pressed());
    EXPECT_EQ((ExplorerBarActivation{Kind::ItemClicked, {1, 1}}), model_.mouseUp({90, 58}));
    EXPECT_TRUE(model_.pressed().isNone());

    model_.mouseDown({20, 45});
    EXPECT_EQ(ExplorerBarActivation{}, model_.mouseUp({20, 65}));  // released on the next item
    EXPECT_EQ(ExplorerBarActivation{}, model_.mouseUp({20, 45}));  // a release without a press

    model_.mouseDown({5, 5});
    EXPECT_EQ(ExplorerBarActivation{}, model_.mouseUp({5, 5}));

    model_.mouseDown({20, 45});
    model_.cancelPress();  // the capture went elsewhere before the release
    EXPECT_TRUE(model_.pressed().isNone());
    EXPECT_EQ(ExplorerBarActivation{}, model_.mouseUp({20, 45}));

    model_.mouseDown({100, 100});
    EXPECT_EQ((ExplorerBarActivation{Kind::Toggled, {2, 0}}), model_.mouseUp({180, 110}));
    EXPECT_TRUE(model_.isCollapsed(2));
    EXPECT_FALSE(model_.isCollapsed(1));
    model_.mouseDown({100, 100});
    EXPECT_EQ((ExplorerBarActivation{Kind::Toggled, {2, 0}}), model_.mouseUp({100, 100}));
    EXPECT_FALSE(model_.isCollapsed(2));
}

TEST_F(ExplorerBarModelTest, FocusOrderSkipsItemsOfCollapsedGroups) {
    const std::vector<ExplorerBarElement> all{{1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}, {3, 0}};
    EXPECT_EQ(all, model_.focusOrder());
    model_.setCollapsed(1, true);
    const std::vector<ExplorerBarElement> folded{{1, 0}, {2, 0}, {2, 1}, {3, 0}};
    EXPECT_EQ(folded, model_.focusOrder());
    EXPECT_FALSE(model_.setFocus({1, 1}));
    EXPECT_FALSE(model_.setFocus({4, 0}));
    EXPECT_TRUE(model_.focus().isNone());
}

TEST_F(ExplorerBarModelTest, TabWalksToEitherEndAndStops) {
    EXPECT_TRUE(model_.canMoveFocus(true));
    EXPECT_TRUE(model_.canMoveFocus(false));
    EXPECT_TRUE(model_.focusNext());  // from nothing to the first
    EXPECT_FALSE(model_.canMoveFocus(false));
    EXPECT_TRUE(model_.canMoveFocus(true));
    EXPECT_EQ((ExplorerBarElement{1, 0}), model_.focus());
    std::vector<ExplorerBarElement> walked{model_.focus()};
    while (model_.focusNext()) {
        walked.push_back(model_.focus());
    }
    EXPECT_EQ(model_.focusOrder(), walked);
    EXPECT_EQ((ExplorerBarElement{3, 0}), model_.focus());
    EXPECT_FALSE(model_.canMoveFocus(true));
    EXPECT_TRUE(model_.canMoveFocus(false));

    ASSERT_TRUE(model_.focusPrevious());
    EXPECT_EQ((ExplorerBarElement{2, 1}), model_.focus());
    model_.focusFirst();
    EXPECT_FALSE(model_.focusPrevious());
    EXPECT_EQ((ExplorerBarElement{1, 0}), model_.focus());
    model_.focusLast();
    EXPECT_EQ((ExplorerBarElement{3, 0}), model_.focus());

    ExplorerBarModel other;
    EXPECT_FALSE(other.canMoveFocus(true));
    EXPECT_FALSE(other.focusPrevious());
    EXPECT_FALSE(other.focusNext());
    other.focusLast();
    EXPECT_TRUE(other.focus().isNone());
    other.addGroup("Only");
    EXPECT_TRUE(other.focusPrevious());  // from nothing, backwards, to the last
    EXPECT_EQ((ExplorerBarElement{1, 0}), other.focus());
}

TEST_F(ExplorerBarModelTest, ActivateTogglesHeadersAndClicksItems) {
    EXPECT_EQ(ExplorerBarActivation{}, model_.activate());  // nothing focused

    ASSERT_TRUE(model_.setFocus({1, 2}));
    EXPECT_EQ((ExplorerBarActivation{Kind::ItemClicked, {1, 2}}), model_.activate());
    EXPECT_FALSE(model_.isCollapsed(1));

    // The focused item's group collapses by mouse: the focus goes to its header.
    model_.mouseDown({100, 20});
    EXPECT_EQ(Kind::Toggled, model_.mouseUp({100, 20}).kind);
    EXPECT_EQ((ExplorerBarElement{1, 0}), model_.focus());
    EXPECT_TRUE(model_.focusNext());
    EXPECT_EQ((ExplorerBarElement{2, 0}), model_.focus());

    ASSERT_TRUE(model_.setFocus({1, 0}));
    EXPECT_EQ((ExplorerBarActivation{Kind::Toggled, {1, 0}}), model_.activate());
    EXPECT_FALSE(model_.isCollapsed(1));
    EXPECT_TRUE(model_.focusNext());
    EXPECT_EQ((ExplorerBarElement{1, 1}), model_.focus());
}

}  // namespace
}  // namespace vx::ui
