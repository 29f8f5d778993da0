#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ui/ControlIds.h"
#include "ui/FormLayout.h"

namespace vx::ui {
namespace {

constexpr TwipRect kPanelBounds{3240, 0, 5175, 4935};

bool Inside(const TwipRect& inner, const TwipRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top &&
           inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
}

bool Overlap(const TwipRect& a, const TwipRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

TEST(FormLayout, IdsAreUniqueAndFindable) {
    std::set<int> ids;
    for (const auto& control : FormControls()) {
        EXPECT_TRUE(ids.insert(control.id).second) << control.id;
        EXPECT_EQ(&control, FindControl(control.id));
    }
    EXPECT_EQ(nullptr, FindControl(-1));
}

TEST(FormLayout, ControlsStayInTheirAreaAndDoNotOverlapWithinIt) {
    const auto controls = FormControls();
    for (const auto& control : controls) {
        SCOPED_TRACE(control.id);
        const TwipRect client{0, 0, kClientWidthTwips, kClientHeightTwips};
        EXPECT_TRUE(Inside(control.bounds, client));
        if (control.group == ControlGroup::LabelSidebar) {
            EXPECT_TRUE(Inside(control.bounds, kSidebarBounds));
        } else if (IsPanel(control.group)) {
            EXPECT_TRUE(Inside(control.bounds, kPanelBounds)) << "outside its panel";
        }
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const auto& a = controls[i];
            const auto& b = controls[j];
            if (a.group != b.group || a.kind == ControlKind::SidebarFrame ||
                b.kind == ControlKind::SidebarFrame) {
                continue;
            }
            EXPECT_FALSE(Overlap(a.bounds, b.bounds)) << a.id << " and " << b.id;
        }
    }
}

TEST(FormLayout, TheTextsOfTheWindow) {
    ASSERT_NE(nullptr, FindControl(126));
    EXPECT_EQ(std::string("Save && Close"), FindControl(126)->text);
    EXPECT_EQ(std::string("Common Info"), FindControl(120)->text);
    ASSERT_NE(nullptr, FindControl(127)) << "lblSideBar(7)";
    EXPECT_EQ(std::string("Restore Factory Branding"), FindControl(127)->text);
    EXPECT_EQ(ControlGroup::Common, GroupOf(Panel::Common));
    EXPECT_EQ(ControlGroup::XPINI, GroupOf(Panel::XPINI));
    EXPECT_FALSE(IsPanel(ControlGroup::LogoColumn));
}

// Every box saved to Vexilla.INI holds what a reader of that file gets back (254 characters);
// nothing else is limited, Text1 included.
TEST(FormLayout, OnlyTheSettingsBoxesAreLimited) {
    const std::set<int> settingsBoxes = {
        ids::kMfgr,         ids::kModel,      ids::kShortcutUrl,     ids::kShortcutName,
        ids::kShortcutIcon, ids::kButtonName, ids::kButtonTip,       ids::kIconName,
        ids::kButtonAction, ids::kAltAction,  ids::kAltActionName,   ids::kPhone,
        ids::kHours,        ids::kSupportUrl, ids::kSupportProvider, ids::kSupportAppUrl};
    std::set<int> limited;
    for (const auto& control : FormControls()) {
        if (TextLimit(control) != 0) {
            EXPECT_EQ(254, TextLimit(control)) << control.id;
            limited.insert(control.id);
        }
    }
    EXPECT_EQ(settingsBoxes, limited);
    ASSERT_NE(nullptr, FindControl(ids::kText1));
    EXPECT_EQ(0, TextLimit(*FindControl(ids::kText1)));
}

}  // namespace
}  // namespace vx::ui
