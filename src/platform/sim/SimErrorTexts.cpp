#include <cstdint>
#include <utility>

#include "platform/sim/SimEnvironment.h"

namespace vx::platform::sim {

namespace {

// The wording of an English Windows. Wine has its own, shorter texts ("File not found."),
// so nothing may compare these across backends.
constexpr std::pair<std::uint32_t, const char*> kMessages[] = {
    {0, "The operation completed successfully."},
    {1, "Incorrect function."},
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {4, "The system cannot open the file."},
    {5, "Access is denied."},
    {6, "The handle is invalid."},
    {8, "Not enough memory resources are available to process this command."},
    {13, "The data is invalid."},
    {18, "There are no more files."},
    {32, "The process cannot access the file because it is being used by another process."},
    {50, "The request is not supported."},
    {53, "The network path was not found."},
    {80, "The file exists."},
    {87, "The parameter is incorrect."},
    {120, "This function is not supported on this system."},
    {122, "The data area passed to a system call is too small."},
    {123, "The filename, directory name, or volume label syntax is incorrect."},
    {127, "The specified procedure could not be found."},
    {161, "The specified path is invalid."},
    {183, "Cannot create a file when that file already exists."},
    {193, "%1 is not a valid Win32 application."},
    {206, "The filename or extension is too long."},
    {234, "More data is available."},
    {259, "No more data is available."},
    {267, "The directory name is invalid."},
    {740, "The requested operation requires elevation."},
    {1008, "An attempt was made to reference a token that does not exist."},
    {1010, "The configuration registry key is invalid."},
    {1011, "The configuration registry key could not be opened."},
    {1018, "Illegal operation attempted on a registry key that has been marked for deletion."},
    {1155, "No application is associated with the specified file for this operation."},
    {1223, "The operation was canceled by the user."},
    {1307, "This security ID may not be assigned as the owner of this object."},
    {1314, "A required privilege is not held by the client."},
    {1332, "No mapping between account names and security IDs was done."},
    {1336, "The access control list (ACL) structure is invalid."},
    {1337, "The security ID structure is invalid."},
};

}  // namespace

const char* SystemMessage(std::uint32_t code) {
    for (const auto& [known, text] : kMessages) {
        if (known == code) return text;
    }
    return nullptr;
}

}  // namespace vx::platform::sim
