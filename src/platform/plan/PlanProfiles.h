#pragma once
// The profile (INI) functions of a plan: a write is recorded, never made; a read of a
// recorded entry gives the recorded value as the system would read it back (IniDocument.h),
// any other read is the system's. A profile file is known by the path the system reaches,
// as the plan's files know it; a file named without a folder lives in the Windows folder.
//
// Not foreseen: the recorded entries do not show in the file's bytes through the plan's
// file system, and a write to a file the system could not write reports success.

#include <cstddef>
#include <map>
#include <string>

#include "platform/IniDocument.h"
#include "platform/ProfileFiles.h"
#include "platform/plan/PlanFiles.h"
#include "platform/plan/PlannedChange.h"

namespace vx::platform::plan {

class PlanProfiles final : public ProfileFiles {
public:
    PlanProfiles(ProfileFiles& real, const PlanFiles& files, ChangeLog& log,
                 std::string windowsFolder);

    std::string readString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& defaultText,
                           std::size_t bufferChars) override;
    unsigned readInt(const std::string& file, const std::string& section, const std::string& key,
                     int defaultValue) override;
    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;

private:
    // The recorded entry's value; nullptr when the plan wrote none there.
    const std::string* recorded(const std::string& file, const std::string& section,
                                const std::string& key) const;
    std::string locate(const std::string& file) const;

    ProfileFiles& real_;
    const PlanFiles& files_;
    ChangeLog& log_;
    std::string windowsFolder_;
    std::map<std::string, IniDocument> written_;  // the recorded entries, by file identity
};

}  // namespace vx::platform::plan
