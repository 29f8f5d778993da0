#pragma once
// Taking ownership of a registry key or a path with the external "subinacl.exe" tool, when
// one is found (beside the program first, then System32, then the Windows folder). Every
// failure is ignored; the launcher reports what it ran.

#include <cstdint>
#include <string>

namespace vx::security {

// How long one run of the tool is waited for. It works unattended, often hidden: a run that
// hangs or waits for an answer nobody sees must not hold the removal for ever.
inline constexpr std::uint32_t kOwnershipToolTimeLimitMs = 5 * 60 * 1000;

// Runs one command of the tool and waits for it to end, at most kOwnershipToolTimeLimitMs;
// a run still going then is logged and left behind.
void RunOwnershipTool(std::string command, int windowStyle);

// The tool that would run, or "" when there is none.
std::string LocateOwnershipTool();

// An empty owner becomes the user (HKCU) or "administrators"; an empty grantee the user, or
// "System" without one. Both are written back.
void TakeOwnershipOfKey(const std::string& topKey, const std::string& keyPath, std::string& owner,
                        std::string& grantee);

void TakeOwnershipOfPath(const std::string& path, bool& isFile, int windowStyle, std::string& owner,
                         std::string& grantee);

}  // namespace vx::security
