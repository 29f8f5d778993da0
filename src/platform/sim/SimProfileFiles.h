#pragma once
// GetPrivateProfileStringA / GetPrivateProfileIntA / WritePrivateProfileStringA over the
// simulated file system.

#include "platform/ProfileFiles.h"
#include "platform/sim/SimFileSystem.h"

namespace vx::platform::sim {

class SimProfiles final : public ProfileFiles {
public:
    explicit SimProfiles(SimFiles& files);

    // A missing file reads as an empty one; a file that cannot be opened for another
    // reason (no such folder, a folder, access refused) gives the default untouched by
    // quote stripping. Every read parses the file afresh.
    std::string readString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& defaultText,
                           std::size_t bufferChars) override;
    // Reads through a 30-character buffer, as Wine does; an empty value gives the default.
    unsigned readInt(const std::string& file, const std::string& section, const std::string& key,
                     int defaultValue) override;
    // Creates the file when missing (its folder must exist); rewrites it whole, and only
    // when the value changes.
    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;

private:
    // A name without any folder lives in the Windows folder.
    std::string locate(const std::string& file) const;

    SimFiles& files_;
};

}  // namespace vx::platform::sim
