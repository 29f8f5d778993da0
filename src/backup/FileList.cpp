#include "backup/FileList.h"

#include <charconv>

#include "common/Text.h"

namespace vx::backup {
namespace {

bool IsSha256(std::string_view text) {
    if (text.size() != 64) return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

// A copy lives in the backup folder itself: a name without separators, drive or "..".
bool IsCopyName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("\\/:") == std::string_view::npos;
}

bool Complete(const FileRecord& record) {
    if (record.path.empty()) return false;
    return !record.present || (IsCopyName(record.copy) && IsSha256(record.sha256));
}

}  // namespace

std::string WriteFileList(const std::vector<FileRecord>& files) {
    std::string text = "; The system files as they were before Vexilla first changed them.\r\n";
    int number = 0;
    for (const FileRecord& file : files) {
        text += "\r\n[File" + ToText(++number) + "]\r\n";
        text += "Path=" + file.path + "\r\n";
        text += std::string("Present=") + (file.present ? "1" : "0") + "\r\n";
        if (file.present) {
            text += "Copy=" + file.copy + "\r\n";
            text += "Size=" + ToText(file.size) + "\r\n";
            text += "SHA256=" + file.sha256 + "\r\n";
        }
    }
    return text;
}

std::optional<std::vector<FileRecord>> ReadFileList(std::string_view text) {
    std::vector<FileRecord> files;
    bool inSection = false;
    for (const std::string& raw : Split(ReplaceAll(text, "\r\n", "\n"), "\n")) {
        const std::string line = Trim(raw);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']' || (!files.empty() && !Complete(files.back())))
                return std::nullopt;
            files.emplace_back();
            inSection = true;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string::npos) return std::nullopt;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        FileRecord& file = files.back();
        if (key == "Path") {
            file.path = value;
        } else if (key == "Present") {
            if (value != "0" && value != "1") return std::nullopt;
            file.present = value == "1";
        } else if (key == "Copy") {
            file.copy = value;
        } else if (key == "Size") {
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), file.size);
            if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
        } else if (key == "SHA256") {
            file.sha256 = value;
        } else {
            return std::nullopt;
        }
    }
    if (!files.empty() && !Complete(files.back())) return std::nullopt;
    return files;
}

}  // namespace vx::backup
