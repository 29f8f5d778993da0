#include "common/FSO.h"

#include "common/DebugLog.h"
#include "common/ReportHeaders.h"
#include "platform/Platform.h"

namespace vx {

void clsFSO::KillFile(const std::string& path) const {
    try {
        static_cast<void>(platform::Current().files().deleteFile(path));
    } catch (...) {
        // Reports nothing by design: callers test for the file when it matters.
    }
}

PathKind clsFSO::pathType(const std::string& path) const {
    try {
        const auto attributes = platform::Current().files().attributes(path);
        if (!attributes.has_value()) {
            return PathKind::Missing;
        }
        return (*attributes & platform::kAttributeDirectory) != 0 ? PathKind::Folder
                                                                  : PathKind::File;
    } catch (...) {
        return PathKind::Missing;
    }
}

bool SaveTextToFile(const std::string& file, const std::string& text, bool append) {
    try {
        const auto status = platform::Current().files().writeFile(file, text + "\r\n", append);
        if (status != platform::kSuccess) {
            ThrowSystemError(status);
        }
        return true;
    } catch (...) {
        ReportError(report::kSaveTextToFile, CurrentError(), {{"sFile", file}});
        return false;
    }
}

}  // namespace vx
