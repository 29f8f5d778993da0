#pragma once
// The few user-interface calls the engine itself makes.

#include <cstdint>
#include <optional>
#include <string>

namespace vx::platform {

enum class MessageButtons { Ok, YesNo };

inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// One message box as the user saw it.
struct MessageBoxRecord {
    std::string text;
    std::string title;
    MessageButtons buttons = MessageButtons::Ok;
};

class UserInterface {
public:
    UserInterface() = default;
    UserInterface(const UserInterface&) = delete;
    UserInterface& operator=(const UserInterface&) = delete;
    virtual ~UserInterface() = default;

    // A small modal box with a prompt, one edit field, OK and Cancel. Nothing when the user
    // cancels or closes it.
    virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) = 0;
    // A modal message box owned by the active window of this thread; the button pressed
    // (kAnswerOk, kAnswerYes, kAnswerNo).
    virtual int messageBox(const std::string& text, const std::string& title,
                           MessageButtons buttons) = 0;
    // LoadLibraryA / FreeLibrary; 0 when the library did not load.
    virtual std::uintptr_t loadLibrary(const std::string& name) = 0;
    virtual void freeLibrary(std::uintptr_t library) = 0;
    // InitCommonControls.
    virtual void initCommonControls() = 0;
};

}  // namespace vx::platform
