#pragma once
// Every Win32 error number the program and the simulated Windows use, by its system name
// (ERROR_FILE_NOT_FOUND is kErrorFileNotFound). Add a new one here, in numeric order.

#include <cstdint>

namespace vx::platform {

// A Win32 error code as the system returns it: 0 is success.
using Status = std::uint32_t;

inline constexpr Status kSuccess = 0;
inline constexpr Status kErrorInvalidFunction = 1;
inline constexpr Status kErrorFileNotFound = 2;
inline constexpr Status kErrorPathNotFound = 3;
inline constexpr Status kErrorAccessDenied = 5;
inline constexpr Status kErrorInvalidHandle = 6;
inline constexpr Status kErrorInvalidParameter = 87;
inline constexpr Status kErrorInvalidName = 123;
inline constexpr Status kErrorProcNotFound = 127;
inline constexpr Status kErrorDirNotEmpty = 145;
inline constexpr Status kErrorBadPathname = 161;
inline constexpr Status kErrorAlreadyExists = 183;
inline constexpr Status kErrorMoreData = 234;
inline constexpr Status kErrorNoMoreItems = 259;
inline constexpr Status kErrorDirectory = 267;
inline constexpr Status kErrorKeyDeleted = 1018;
inline constexpr Status kErrorUnknownRevision = 1305;
inline constexpr Status kErrorInvalidSecurityDescriptor = 1338;
inline constexpr Status kErrorInvalidDataType = 1804;

}  // namespace vx::platform
