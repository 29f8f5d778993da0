#pragma once
// The user-interface calls of the simulated Windows: a scripted user answers the input
// boxes, and library loads and common-controls set-up are recorded.

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/UserInterface.h"
#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {

class SimUserInterface final : public UserInterface {
public:
    // Each box takes the next queued answer; with none left the user cancels it.
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    // Every load succeeds, each with a handle of its own, so a load that is not balanced by
    // a free stays visible; freeing an unknown handle changes nothing.
    std::uintptr_t loadLibrary(const std::string& name) override;
    void freeLibrary(std::uintptr_t library) override;
    void initCommonControls() override { commonControlsInitialised_ = true; }

    // Each box takes the next queued answer; with none left the user presses OK, or Yes.
    int messageBox(const std::string& text, const std::string& title,
                   MessageButtons buttons) override;

    void queueAnswer(std::optional<std::string> answer) { answers_.push_back(std::move(answer)); }
    void queueMessageAnswer(int answer) { messageAnswers_.push_back(answer); }
    const std::vector<MessageBoxRecord>& messageBoxes() const { return messageBoxes_; }
    const std::vector<InputBoxRecord>& inputBoxes() const { return inputBoxes_; }
    bool commonControlsInitialised() const { return commonControlsInitialised_; }
    // In the order they were loaded.
    std::vector<std::string> loadedLibraries() const;

private:
    std::deque<std::optional<std::string>> answers_;
    std::vector<InputBoxRecord> inputBoxes_;
    std::deque<int> messageAnswers_;
    std::vector<MessageBoxRecord> messageBoxes_;
    std::map<std::uintptr_t, std::string> libraries_;
    std::uintptr_t nextLibrary_ = 0x10000000;
    bool commonControlsInitialised_ = false;
};

}  // namespace vx::platform::sim
