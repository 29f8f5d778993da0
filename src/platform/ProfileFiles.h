#pragma once
#include <cstddef>
#include <string>

namespace vx::platform {

// The private-profile (INI file) functions of the system.
class ProfileFiles {
public:
    ProfileFiles() = default;
    ProfileFiles(const ProfileFiles&) = delete;
    ProfileFiles& operator=(const ProfileFiles&) = delete;
    virtual ~ProfileFiles() = default;

    // GetPrivateProfileStringA into a buffer of `bufferChars` characters: what the call
    // copied (at most bufferChars - 1 characters), or `defaultText` when nothing matched.
    virtual std::string readString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& defaultText,
                                   std::size_t bufferChars) = 0;
    // GetPrivateProfileIntA.
    virtual unsigned readInt(const std::string& file, const std::string& section,
                             const std::string& key, int defaultValue) = 0;
    // WritePrivateProfileStringA; true when the system reported success.
    virtual bool writeString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
};

}  // namespace vx::platform
