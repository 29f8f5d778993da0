#pragma once
#include "platform/ProfileFiles.h"

namespace vx::platform::win32 {

class Win32ProfileFiles final : public ProfileFiles {
public:
    std::string readString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& defaultText,
                           std::size_t bufferChars) override;
    unsigned readInt(const std::string& file, const std::string& section, const std::string& key,
                     int defaultValue) override;
    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
};

}  // namespace vx::platform::win32
