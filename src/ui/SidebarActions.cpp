#include "ui/Editor.h"

namespace vx::ui {

SidebarAction ActionForLabel(int index) {
    switch (index) {
        case 0:
            return SidebarAction::ShowCommon;
        case 1:
            return SidebarAction::ShowXP;
        case 2:
            return SidebarAction::ShowXPINI;
        case 3:
            return SidebarAction::ShowSeven;
        case 4:
            return SidebarAction::BrandNow;
        case 5:
            return SidebarAction::RemoveBranding;
        case 6:
            return SidebarAction::SaveAndClose;
        case 7:
            return SidebarAction::RestoreFactoryBranding;
        default:
            return SidebarAction::None;
    }
}

SidebarAction ActionForTaskItem(int group, int item) {
    if (group == 1 && item >= 1 && item <= 4) {
        return ActionForLabel(item - 1);
    }
    if (group == 2 && (item == 1 || item == 2)) {
        return ActionForLabel(item + 3);
    }
    if (group == 2 && item == 3) {
        return SidebarAction::RestoreFactoryBranding;
    }
    // Any item of the third group closes.
    return group == 3 ? SidebarAction::SaveAndClose : SidebarAction::None;
}

}  // namespace vx::ui
