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
        EXPECT_EQ(1, model.AddGroup("Config"));
        EXPECT_EQ(1, model.AddItem(1, "Common Info"));
        EXPECT_EQ(2, model.AddItem(1, "XP OEM Link"));
        EXPECT_EQ(2, model.AddGroup("Close"));
        EXPECT_EQ(1, model.AddItem(2, "Save and Close"));
        EXPECT_EQ(3, model.AddGroup("Empty"));
        model.Layout(200, TestMetrics(), SevenPerChar);
    }

    ExplorerBarModel model;
};

TEST_F(ExplorerBarModelTest, NumbersCountFromOneAndUnknownGroupsTakeNothing) {
    EXPECT_EQ(3, model.GroupCount());
    EXPECT_EQ(2, model.ItemCount(1));
    EXPECT_EQ(0, model.ItemCount(3));
    EXPECT_EQ(0, model.ItemCount(4));
    EXPECT_EQ(0, model.AddItem(0, "x"));
    EXPECT_EQ(0, model.AddItem(4, "x"));
    EXPECT_EQ(3, model.GroupCount());

    EXPECT_EQ("Config", model.Caption({1, 0}));
    EXPECT_EQ("XP OEM Link", model.Caption({1, 2}));
    EXPECT_EQ("Save and Close", model.Caption({2, 1}));
    EXPECT_EQ("", model.Caption({2, 2}));
    EXPECT_EQ("", model.Caption({0, 0}));
    EXPECT_FALSE(model.Exists({1, 3}));
    EXPECT_FALSE(model.Exists({1, -1}));
}

TEST_F(ExplorerBarModelTest, LayoutStacksHeadersBodiesAndLinks) {
    EXPECT_EQ((BarRect{10, 10, 190, 34}), model.HeaderRect(1));
    EXPECT_EQ((BarRect{170, 14, 186, 30}), model.GlyphRect(1));
    EXPECT_EQ((BarRect{10, 34, 190, 84}), model.BodyRect(1));
    EXPECT_EQ((BarRect{15, 39, 92, 59}), model.ItemRect(1, 1));
    EXPECT_EQ((BarRect{15, 59, 92, 79}), model.ItemRect(1, 2));

    EXPECT_EQ((BarRect{10, 92, 190, 116}), model.HeaderRect(2));
    EXPECT_EQ((BarRect{10, 116, 190, 146}), model.BodyRect(2));
    EXPECT_EQ((BarRect{15, 121, 113, 141}), model.ItemRect(2, 1));

    EXPECT_EQ((BarRect{10, 154, 190, 178}), model.HeaderRect(3));
    EXPECT_TRUE(model.BodyRect(3).IsEmpty());
    EXPECT_EQ(188, model.TotalHeight());

    EXPECT_EQ(model.HeaderRect(2), model.ElementRect({2, 0}));
    EXPECT_EQ(model.ItemRect(1, 2), model.ElementRect({1, 2}));
    EXPECT_TRUE(model.ItemRect(1, 3).IsEmpty());
    EXPECT_TRUE(model.HeaderRect(4).IsEmpty());
}

TEST_F(ExplorerBarModelTest, LinksAreClippedToTheBodyOrSpanItWithoutMeasure) {
    EXPECT_EQ(2, model.AddItem(2, std::string(40, 'w')));
    EXPECT_EQ((BarRect{15, 141, 185, 161}), model.ItemRect(2, 2));

    model.Layout(200, TestMetrics());
    EXPECT_EQ((BarRect{15, 39, 185, 59}), model.ItemRect(1, 1));

    // Narrower than the margins: nothing gets a negative width.
    model.Layout(15, TestMetrics(), SevenPerChar);
    for (const BarRect& r : {model.HeaderRect(1), model.GlyphRect(1), model.ItemRect(1, 1)}) {
        EXPECT_GE(r.Width(), 0);
    }
}

TEST_F(ExplorerBarModelTest, CollapsingAGroupMovesTheGroupsBelowUp) {
    model.SetCollapsed(1, true);
    EXPECT_TRUE(model.IsCollapsed(1));
    EXPECT_TRUE(model.BodyRect(1).IsEmpty());
    EXPECT_TRUE(model.ItemRect(1, 1).IsEmpty());
    EXPECT_EQ((BarRect{10, 42, 190, 66}), model.HeaderRect(2));
    EXPECT_EQ((BarRect{15, 71, 113, 91}), model.ItemRect(2, 1));
    EXPECT_EQ(138, model.TotalHeight());

    model.SetCollapsed(1, false);
    EXPECT_EQ((BarRect{10, 92, 190, 116}), model.HeaderRect(2));
    EXPECT_EQ(188, model.TotalHeight());
}

TEST_F(ExplorerBarModelTest, HitTestFindsHeadersAndLinksOnly) {
    EXPECT_EQ((ExplorerBarElement{1, 0}), model.HitTest({100, 20}));
    EXPECT_EQ((ExplorerBarElement{1, 0}), model.HitTest({175, 20}));  // on the glyph
    EXPECT_EQ((ExplorerBarElement{1, 1}), model.HitTest({20, 45}));
    EXPECT_EQ((ExplorerBarElement{1, 2}), model.HitTest({15, 59}));  // top edge belongs to it
    EXPECT_EQ((ExplorerBarElement{2, 1}), model.HitTest({112, 140}));
    EXPECT_EQ((ExplorerBarElement{3, 0}), model.HitTest({10, 154}));

    EXPECT_TRUE(model.HitTest({92, 45}).IsNone());    // right of the link
    EXPECT_TRUE(model.HitTest({12, 45}).IsNone());    // body padding
    EXPECT_TRUE(model.HitTest({5, 20}).IsNone());     // pane margin
    EXPECT_TRUE(model.HitTest({100, 88}).IsNone());   // gap between groups
    EXPECT_TRUE(model.HitTest({190, 20}).IsNone());   // right edge is outside
    EXPECT_TRUE(model.HitTest({100, 180}).IsNone());  // below the last header

    ASSERT_EQ((ExplorerBarElement{1, 1}), model.HitTest({20, 40}));
    model.SetCollapsed(1, true);
    EXPECT_TRUE(model.HitTest({20, 40}).IsNone());                   // now the gap above group 2
    EXPECT_EQ((ExplorerBarElement{2, 0}), model.HitTest({20, 50}));  // group 2 moved up
}

TEST_F(ExplorerBarModelTest, HoverReportsOnlyChangesAndFollowsTheLayout) {
    EXPECT_TRUE(model.MouseMove({20, 45}));
    EXPECT_EQ((ExplorerBarElement{1, 1}), model.Hover());
    EXPECT_FALSE(model.MouseMove({30, 50}));
    EXPECT_TRUE(model.MouseMove({100, 45}));
    EXPECT_TRUE(model.Hover().IsNone());
    EXPECT_FALSE(model.MouseMove({101, 45}));

    // The pointer rests on group 2's link; group 1 collapses and group 3's header moves under it.
    EXPECT_TRUE(model.MouseMove({20, 125}));
    EXPECT_EQ((ExplorerBarElement{2, 1}), model.Hover());
    model.SetCollapsed(1, true);
    EXPECT_EQ((ExplorerBarElement{3, 0}), model.Hover());

    EXPECT_TRUE(model.MouseLeave());
    EXPECT_TRUE(model.Hover().IsNone());
    EXPECT_FALSE(model.MouseLeave());
    model.SetCollapsed(1, false);  // a relayout after leaving finds no hover
    EXPECT_TRUE(model.Hover().IsNone());
}

TEST_F(ExplorerBarModelTest, ClickIsPressAndReleaseOnTheSameElement) {
    model.MouseDown({20, 45});
    EXPECT_EQ((ExplorerBarElement{1, 1}), model.Pressed());
    EXPECT_EQ((ExplorerBarActivation{Kind::ItemClicked, {1, 1}}), model.MouseUp({90, 58}));
    EXPECT_TRUE(model.Pressed().IsNone());

    model.MouseDown({20, 45});
    EXPECT_EQ(ExplorerBarActivation{}, model.MouseUp({20, 65}));  // released on the next item
    EXPECT_EQ(ExplorerBarActivation{}, model.MouseUp({20, 45}));  // a release without a press

    model.MouseDown({5, 5});
    EXPECT_EQ(ExplorerBarActivation{}, model.MouseUp({5, 5}));

    model.MouseDown({20, 45});
    model.CancelPress();  // the capture went elsewhere before the release
    EXPECT_TRUE(model.Pressed().IsNone());
    EXPECT_EQ(ExplorerBarActivation{}, model.MouseUp({20, 45}));

    model.MouseDown({100, 100});
    EXPECT_EQ((ExplorerBarActivation{Kind::Toggled, {2, 0}}), model.MouseUp({180, 110}));
    EXPECT_TRUE(model.IsCollapsed(2));
    EXPECT_FALSE(model.IsCollapsed(1));
    model.MouseDown({100, 100});
    EXPECT_EQ((ExplorerBarActivation{Kind::Toggled, {2, 0}}), model.MouseUp({100, 100}));
    EXPECT_FALSE(model.IsCollapsed(2));
}

TEST_F(ExplorerBarModelTest, FocusOrderSkipsItemsOfCollapsedGroups) {
    const std::vector<ExplorerBarElement> all{{1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}, {3, 0}};
    EXPECT_EQ(all, model.FocusOrder());
    model.SetCollapsed(1, true);
    const std::vector<ExplorerBarElement> folded{{1, 0}, {2, 0}, {2, 1}, {3, 0}};
    EXPECT_EQ(folded, model.FocusOrder());
    EXPECT_FALSE(model.SetFocus({1, 1}));
    EXPECT_FALSE(model.SetFocus({4, 0}));
    EXPECT_TRUE(model.Focus().IsNone());
}

TEST_F(ExplorerBarModelTest, TabWalksToEitherEndAndStops) {
    EXPECT_TRUE(model.CanMoveFocus(true));
    EXPECT_TRUE(model.CanMoveFocus(false));
    EXPECT_TRUE(model.FocusNext());  // from nothing to the first
    EXPECT_FALSE(model.CanMoveFocus(false));
    EXPECT_TRUE(model.CanMoveFocus(true));
    EXPECT_EQ((ExplorerBarElement{1, 0}), model.Focus());
    std::vector<ExplorerBarElement> walked{model.Focus()};
    while (model.FocusNext()) {
        walked.push_back(model.Focus());
    }
    EXPECT_EQ(model.FocusOrder(), walked);
    EXPECT_EQ((ExplorerBarElement{3, 0}), model.Focus());
    EXPECT_FALSE(model.CanMoveFocus(true));
    EXPECT_TRUE(model.CanMoveFocus(false));

    ASSERT_TRUE(model.FocusPrevious());
    EXPECT_EQ((ExplorerBarElement{2, 1}), model.Focus());
    model.FocusFirst();
    EXPECT_FALSE(model.FocusPrevious());
    EXPECT_EQ((ExplorerBarElement{1, 0}), model.Focus());
    model.FocusLast();
    EXPECT_EQ((ExplorerBarElement{3, 0}), model.Focus());

    ExplorerBarModel other;
    EXPECT_FALSE(other.CanMoveFocus(true));
    EXPECT_FALSE(other.FocusPrevious());
    EXPECT_FALSE(other.FocusNext());
    other.FocusLast();
    EXPECT_TRUE(other.Focus().IsNone());
    other.AddGroup("Only");
    EXPECT_TRUE(other.FocusPrevious());  // from nothing, backwards, to the last
    EXPECT_EQ((ExplorerBarElement{1, 0}), other.Focus());
}

TEST_F(ExplorerBarModelTest, ActivateTogglesHeadersAndClicksItems) {
    EXPECT_EQ(ExplorerBarActivation{}, model.Activate());  // nothing focused

    ASSERT_TRUE(model.SetFocus({1, 2}));
    EXPECT_EQ((ExplorerBarActivation{Kind::ItemClicked, {1, 2}}), model.Activate());
    EXPECT_FALSE(model.IsCollapsed(1));

    // The focused item's group collapses by mouse: the focus goes to its header.
    model.MouseDown({100, 20});
    EXPECT_EQ(Kind::Toggled, model.MouseUp({100, 20}).kind);
    EXPECT_EQ((ExplorerBarElement{1, 0}), model.Focus());
    EXPECT_TRUE(model.FocusNext());
    EXPECT_EQ((ExplorerBarElement{2, 0}), model.Focus());

    ASSERT_TRUE(model.SetFocus({1, 0}));
    EXPECT_EQ((ExplorerBarActivation{Kind::Toggled, {1, 0}}), model.Activate());
    EXPECT_FALSE(model.IsCollapsed(1));
    EXPECT_TRUE(model.FocusNext());
    EXPECT_EQ((ExplorerBarElement{1, 1}), model.Focus());
}

}  // namespace
}  // namespace vx::ui
