// The scripted user of the simulated Windows: input boxes, library loads, common controls.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {
namespace {

class SimUserInterfaceTest : public testing::Test {
protected:
    UserInterface& ui() { return windows_.userInterface(); }
    SimWindows windows_{Bitness::Windows64};
};

TEST_F(SimUserInterfaceTest, InputBoxesTakeTheQueuedAnswersInOrderThenCancel) {
    windows_.queueInputBoxAnswer(std::string("first"));
    windows_.queueInputBoxAnswer(std::nullopt);
    windows_.queueInputBoxAnswer(std::string());
    EXPECT_EQ(std::optional<std::string>("first"), ui().inputBox("Name?", "Kit", "default"));
    EXPECT_EQ(std::nullopt, ui().inputBox("Model?", "Kit", ""));
    EXPECT_EQ(std::optional<std::string>(""), ui().inputBox("Empty?", "Kit", "x"))
        << "an empty answer is not a cancel";
    EXPECT_EQ(std::nullopt, ui().inputBox("Unanswered?", "Kit", "d"));

    const std::vector<InputBoxRecord>& shown = windows_.inputBoxes();
    ASSERT_EQ(4u, shown.size());
    EXPECT_EQ("Name?", shown[0].prompt);
    EXPECT_EQ("Kit", shown[0].title);
    EXPECT_EQ("default", shown[0].defaultText);
    EXPECT_EQ("Unanswered?", shown[3].prompt);
    EXPECT_EQ("d", shown[3].defaultText);
}

TEST_F(SimUserInterfaceTest, LibrariesStayListedUntilFreed) {
    const std::uintptr_t shell = ui().loadLibrary("shell32.dll");
    const std::uintptr_t theme = ui().loadLibrary("uxtheme.dll");
    const std::uintptr_t again = ui().loadLibrary("shell32.dll");
    EXPECT_NE(0u, shell);
    EXPECT_NE(shell, theme);
    EXPECT_NE(shell, again);
    EXPECT_EQ((std::vector<std::string>{"shell32.dll", "uxtheme.dll", "shell32.dll"}),
              windows_.loadedLibraries());
    ui().freeLibrary(shell);
    ui().freeLibrary(0);
    ui().freeLibrary(0x1234);
    EXPECT_EQ((std::vector<std::string>{"uxtheme.dll", "shell32.dll"}), windows_.loadedLibraries());
    ui().freeLibrary(theme);
    ui().freeLibrary(again);
    EXPECT_TRUE(windows_.loadedLibraries().empty());
}

TEST_F(SimUserInterfaceTest, CommonControlsAreRecordedOnceInitialised) {
    EXPECT_FALSE(windows_.commonControlsInitialised());
    ui().initCommonControls();
    EXPECT_TRUE(windows_.commonControlsInitialised());
}

}  // namespace
}  // namespace vx::platform::sim
