#pragma once
#include "platform/Registry.h"

namespace vx::platform::win32 {

// Key handles are HKEY values: the predefined roots are the system's own, and an opened key
// fits in 32 bits on every Windows (64-bit Windows keeps handles 32-bit significant for
// 32-bit callers). Closing a root is a successful no-op.
class Win32Registry final : public Registry {
public:
    [[nodiscard]] Status openKey(RegistryHandle parent, const std::string& subKey,
                                 std::uint32_t access, RegistryHandle& key) override;
    [[nodiscard]] Status createKey(RegistryHandle parent, const std::string& subKey,
                                   std::uint32_t access, RegistryHandle& key) override;
    [[nodiscard]] Status closeKey(RegistryHandle key) override;
    [[nodiscard]] Status queryValue(RegistryHandle key, const std::string& name,
                                    std::size_t capacity, std::uint32_t& type, std::string& data,
                                    std::uint32_t& size) override;
    [[nodiscard]] Status setValue(RegistryHandle key, const std::string& name, std::uint32_t type,
                                  const std::string& data) override;
    [[nodiscard]] Status deleteValue(RegistryHandle key, const std::string& name) override;
    [[nodiscard]] Status deleteKey(RegistryHandle parent, const std::string& subKey) override;
    [[nodiscard]] Status getKeySecurity(RegistryHandle key, std::uint32_t information,
                                        std::string& descriptor) override;
    // Bytes that are not a whole self-relative descriptor (short, without SE_SELF_RELATIVE,
    // or naming an owner, group or ACL outside them) give 1338 without a call: the system
    // would read past them.
    [[nodiscard]] Status setKeySecurity(RegistryHandle key, std::uint32_t information,
                                        const std::string& descriptor) override;
    [[nodiscard]] Status enumKey(RegistryHandle key, std::uint32_t index,
                                 std::string& name) override;
    // Names go through UTF-16 (WideText.h). The query starts with a small buffer and grows it
    // to the size each ERROR_MORE_DATA names (the value may grow between the calls).
    [[nodiscard]] Status queryStoredValue(RegistryHandle key, const std::string& name,
                                          std::uint32_t& type, std::string& bytes) override;
    // The system counts a terminator the string data lacks when the unit after the data is
    // NUL: the data go from a copy followed by a unit that is not, so they stay as given.
    [[nodiscard]] Status setStoredValue(RegistryHandle key, const std::string& name,
                                        std::uint32_t type, const std::string& bytes) override;
    [[nodiscard]] std::string seamTextFromUtf8(const std::string& name) override;
    [[nodiscard]] Status enumValue(RegistryHandle key, std::uint32_t index,
                                   std::string& name) override;

private:
    [[nodiscard]] Status queryValueAsUtf8(RegistryHandle key, const std::string& name,
                                          std::size_t capacity, std::uint32_t& type,
                                          std::string& data, std::uint32_t& size);
};

}  // namespace vx::platform::win32
