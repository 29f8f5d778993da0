#pragma once
// The input box: a small modal dialog built in memory, laid out like Visual Basic's
// InputBox. The automation driver of the test harness finds it as a "#32770" window with
// the caption, the edit field as control 1000 and the prompt as control 1001.

#include <optional>
#include <string>

namespace vx::platform::win32 {

inline constexpr int kInputBoxEditId = 1000;
inline constexpr int kInputBoxPromptId = 1001;

// Owned by the active window of the thread, if any; centred on the screen. The text on OK;
// nothing on Cancel, on closing the box, or when the dialog cannot be made.
std::optional<std::string> ShowInputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText);

}  // namespace vx::platform::win32
