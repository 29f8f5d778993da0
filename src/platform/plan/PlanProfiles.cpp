#include "platform/plan/PlanProfiles.h"

#include <utility>

namespace vx::platform::plan {

namespace {

// GetPrivateProfileIntA reads the entry through a buffer of this many characters.
constexpr std::size_t kIntegerBufferChars = 30;
// Wide enough for any entry a change line shows.
constexpr std::size_t kShownChars = 4096;

}  // namespace

PlanProfiles::PlanProfiles(ProfileFiles& real, const PlanFiles& files, ChangeLog& log,
                           std::string windowsFolder)
    : real_(real), files_(files), log_(log), windowsFolder_(std::move(windowsFolder)) {}

std::string PlanProfiles::locate(const std::string& file) const {
    if (file.find_first_of("\\/:") != std::string::npos) return file;
    return windowsFolder_ + "\\" + file;
}

const std::string* PlanProfiles::recorded(const std::string& file, const std::string& section,
                                          const std::string& key) const {
    const auto identity = files_.identity(locate(file));
    if (!identity) return nullptr;
    const auto document = written_.find(*identity);
    if (document == written_.end()) return nullptr;
    const IniEntry* entry = document->second.find(section, key);
    return entry != nullptr && entry->value ? &*entry->value : nullptr;
}

std::string PlanProfiles::readString(const std::string& file, const std::string& section,
                                     const std::string& key, const std::string& defaultText,
                                     std::size_t bufferChars) {
    if (const std::string* value = recorded(file, section, key)) {
        return CopyProfileEntry(*value, bufferChars, true);
    }
    return real_.readString(file, section, key, defaultText, bufferChars);
}

unsigned PlanProfiles::readInt(const std::string& file, const std::string& section,
                               const std::string& key, int defaultValue) {
    const std::string* value = recorded(file, section, key);
    if (value == nullptr) return real_.readInt(file, section, key, defaultValue);
    const std::string text = CopyProfileEntry(*value, kIntegerBufferChars, true);
    if (text.empty()) return static_cast<unsigned>(defaultValue);
    return ParseProfileInteger(text);
}

bool PlanProfiles::writeString(const std::string& file, const std::string& section,
                               const std::string& key, const std::string& value) {
    const auto identity = files_.identity(locate(file));
    if (!identity) return false;
    const std::string before = readString(file, section, key, "", kShownChars);
    written_[*identity].set(section, key, value);
    const std::string after = readString(file, section, key, "", kShownChars);
    log_.add(ChangeKind::WriteProfileString, locate(file), "[" + section + "] " + key,
             "\"" + before + "\"", "\"" + after + "\"");
    return true;
}

}  // namespace vx::platform::plan
