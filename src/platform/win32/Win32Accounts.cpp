#include "platform/win32/Win32Accounts.h"

#include <windows.h>

#include <vector>

namespace vx::platform::win32 {

std::optional<std::string> Win32Accounts::lookupAccountSid(const std::string& name) {
    DWORD sidSize = 0;
    DWORD domainSize = 0;
    SID_NAME_USE use = SidTypeUnknown;
    // The size query fails with ERROR_INSUFFICIENT_BUFFER for a known name (1332 for an
    // unknown one) and reports both sizes, the domain's with its terminator.
    if (::LookupAccountNameA(nullptr, name.c_str(), nullptr, &sidSize, nullptr, &domainSize,
                             &use) ||
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER || sidSize == 0) {
        return std::nullopt;
    }
    // A second shortfall means the account changed in between: take the new sizes once more.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::vector<BYTE> sid(sidSize);
        std::vector<char> domain(domainSize + 1);
        if (::LookupAccountNameA(nullptr, name.c_str(), sid.data(), &sidSize, domain.data(),
                                 &domainSize, &use)) {
            if (!::IsValidSid(sid.data())) return std::nullopt;
            return std::string(reinterpret_cast<const char*>(sid.data()),
                               ::GetLengthSid(sid.data()));
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace vx::platform::win32
