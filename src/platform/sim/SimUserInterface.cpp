#include "platform/sim/SimUserInterface.h"

namespace vx::platform::sim {

std::optional<std::string> SimUserInterface::inputBox(const std::string& prompt,
                                                      const std::string& title,
                                                      const std::string& defaultText) {
    inputBoxes_.push_back({prompt, title, defaultText});
    if (answers_.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

std::uintptr_t SimUserInterface::loadLibrary(const std::string& name) {
    // Spaced like module bases, and increasing, so handles map to loads in order.
    const std::uintptr_t library = nextLibrary_;
    nextLibrary_ += 0x10000;
    libraries_.emplace(library, name);
    return library;
}

void SimUserInterface::freeLibrary(std::uintptr_t library) { libraries_.erase(library); }

std::vector<std::string> SimUserInterface::loadedLibraries() const {
    std::vector<std::string> names;
    for (const auto& [library, name] : libraries_) names.push_back(name);
    return names;
}

int SimUserInterface::messageBox(const std::string& text, const std::string& title,
                                 MessageButtons buttons) {
    messageBoxes_.push_back({text, title, buttons});
    if (messageAnswers_.empty()) {
        return buttons == MessageButtons::YesNo ? kAnswerYes : kAnswerOk;
    }
    const int answer = messageAnswers_.front();
    messageAnswers_.pop_front();
    return answer;
}

}  // namespace vx::platform::sim
