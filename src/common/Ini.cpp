#include "common/Ini.h"

#include "platform/Platform.h"

namespace vx {

namespace {
constexpr std::size_t kIniBufferChars = 255;
}

std::string ReadIni(const std::string& file, const std::string& section, const std::string& key) {
    return platform::Current().profiles().readString(file, section, key, "", kIniBufferChars);
}

void WriteIni(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value) {
    static_cast<void>(platform::Current().profiles().writeString(file, section, key, value));
}

}  // namespace vx
