#pragma once
#include "platform/FileSystem.h"

namespace vx::platform::win32 {

class Win32FileSystem final : public FileSystem {
public:
    [[nodiscard]] std::optional<std::uint32_t> attributes(const std::string& path) override;
    [[nodiscard]] Status createDirectory(const std::string& path) override;
    [[nodiscard]] Status deleteFile(const std::string& path) override;
    [[nodiscard]] Status removeDirectory(const std::string& path) override;
    [[nodiscard]] std::optional<std::string> readFile(const std::string& path) override;
    [[nodiscard]] Status writeFile(const std::string& path, const std::string& bytes,
                                   bool append) override;
    [[nodiscard]] int shellCopy(const std::string& source, const std::string& destination) override;
    [[nodiscard]] std::optional<std::string> firstListedName(const std::string& pattern) override;
};

}  // namespace vx::platform::win32
