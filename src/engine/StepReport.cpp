#include "engine/StepReport.h"

#include "common/FileTests.h"
#include "common/RunReport.h"
#include "common/Text.h"
#include "platform/Platform.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryPaths.h"

namespace vx::engine {
namespace {

std::optional<std::string> ReadShown(const std::string& topKey, const std::string& keyPath,
                                     std::uint32_t view, const std::string& valueName) {
    registry::RegistryKey key;
    if (key.open(registry::fTopKey(topKey), keyPath, platform::kKeyQueryValue | view) != platform::kSuccess) {
        return std::nullopt;
    }
    std::uint32_t type = 0, size = 0;
    std::string data;
    auto& registry = platform::Current().registry();
    auto status = registry.queryValue(key.handle(), valueName, 0, type, data, size);
    if (status == platform::kErrorMoreData || (status == platform::kSuccess && size > 0)) {
        status = registry.queryValue(key.handle(), valueName, size, type, data, size);
    }
    if (status != platform::kSuccess) {
        return std::nullopt;
    }
    if (type == platform::kRegDword && data.size() >= 4) {
        std::uint32_t number = 0;
        for (int at = 3; at >= 0; --at) {
            number = (number << 8) | static_cast<unsigned char>(data[static_cast<std::size_t>(at)]);
        }
        return std::to_string(number);
    }
    const auto end = data.find('\0');
    return Quoted(end == std::string::npos ? data : data.substr(0, end));
}

// "64-bit view" on 64-bit Windows, where the 32-bit view holds copies of its own.
std::string ViewNote() { return registry::fIs64Bit() ? ", 64-bit view" : ""; }

std::string Where(const std::string& note) {
    return note.empty() ? "" : " (" + note.substr(2) + ")";
}

}  // namespace

std::optional<std::string> ValueForReport(const std::string& topKey, const std::string& keyPath,
                                          const std::string& valueName) {
    try {
        std::string path = keyPath;
        const std::uint32_t view = registry::ApplyViewRule(path);
        return ReadShown(topKey, path, view, valueName);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<std::string> RedirectedValueForReport(const std::string& topKey,
                                                    const std::string& keyPath,
                                                    const std::string& valueName) {
    try {
        if (!registry::fIs64Bit()) {
            return std::nullopt;
        }
        return ReadShown(topKey, keyPath, platform::kKeyWow64_32Key, valueName);
    } catch (...) {
        return std::nullopt;
    }
}

void ReportValueWrite(const std::string& valueName, const std::optional<std::string>& before,
                      const std::string& after, platform::Status status) {
    const std::string note = ViewNote();
    if (status != platform::kSuccess) {
        ReportFailed("set " + valueName + " = " + after + " (error " + ToText(status) + note + ")");
        return;
    }
    if (before == after) {
        ReportKept(valueName + " = " + after + Where(note));
        return;
    }
    const std::string change = valueName + " = " + after + " (was " + before.value_or("absent") +
                               note + ")";
    ReportChange("set " + change, "set " + change,
                 valueName + " is " + before.value_or("absent") + ", the kit gives " + after +
                     Where(note));
}

void ReportValueDeletion(const std::string& valueName, const std::optional<std::string>& before,
                         platform::Status status) {
    const std::string note = ViewNote();
    if (status != platform::kSuccess) {
        ReportFailed("delete " + valueName + " (error " + ToText(status) + note + ")");
        return;
    }
    if (!before) {
        ReportKept(valueName + " is absent" + Where(note));
        return;
    }
    const std::string change = valueName + " (was " + *before + note + ")";
    ReportChange("deleted " + change, "delete " + change,
                 valueName + " is " + *before + ", the kit gives none" + Where(note));
}

std::optional<std::string> ReadFileForReport(const std::string& path) {
    DisableFSRedir();
    std::optional<std::string> bytes;
    try {
        bytes = platform::Current().files().readFile(path);
    } catch (...) {
        bytes.reset();
    }
    RevertFSRedir();
    return bytes;
}

}  // namespace vx::engine
