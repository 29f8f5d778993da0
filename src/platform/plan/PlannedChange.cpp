#include "platform/plan/PlannedChange.h"

#include <cstdio>
#include <utility>

#include "platform/Registry.h"

namespace vx::platform::plan {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Text after a prefix, built by appending (GCC 12 warns wrongly about a prefix inserted into a
// temporary string).
std::string Prefixed(std::string prefix, const std::string& text) {
    prefix += text;
    return prefix;
}

std::string HexBytes(const std::string& bytes) {
    std::string text;
    char digits[4];
    for (const char c : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(c));
        if (!text.empty()) text += ',';
        text += digits;
    }
    return text;
}

}  // namespace

const char* KindName(ChangeKind kind) {
    switch (kind) {
        case ChangeKind::CreateKey:
            return "create key";
        case ChangeKind::DeleteKey:
            return "delete key";
        case ChangeKind::SetValue:
            return "set value";
        case ChangeKind::DeleteValue:
            return "delete value";
        case ChangeKind::SetKeySecurity:
            return "set key security";
        case ChangeKind::CreateFolder:
            return "create folder";
        case ChangeKind::RemoveFolder:
            return "remove folder";
        case ChangeKind::WriteFile:
            return "write file";
        case ChangeKind::AppendFile:
            return "append to file";
        case ChangeKind::DeleteFile:
            return "delete file";
        case ChangeKind::CopyFile:
            return "copy file";
        case ChangeKind::CreateLink:
            return "create link";
        case ChangeKind::WriteProfileString:
            return "write profile string";
        case ChangeKind::StartProcess:
            return "start process";
    }
    return "change";
}

std::string Describe(const PlannedChange& change) {
    std::string line = std::string(KindName(change.kind)) + " " + change.place;
    const bool valueChange =
        change.kind == ChangeKind::SetValue || change.kind == ChangeKind::DeleteValue;
    if (valueChange) {
        line += ' ';
        line += change.item.empty() ? std::string("(default)") : Quoted(change.item);
    } else if (!change.item.empty()) {
        line += " " + change.item;
    }
    return line + ": " + change.before + " -> " + change.after;
}

std::string DescribeValue(std::uint32_t type, const std::string& bytes) {
    const auto text = [&bytes] { return std::string(bytes.c_str()); };
    switch (type) {
        case kRegString:
            return Quoted(text());
        case kRegExpandString:
            return Prefixed("expand:", Quoted(text()));
        case kRegDword:
            if (bytes.size() == 4) {
                std::uint32_t number = 0;
                for (std::size_t i = 4; i-- > 0;) {
                    number = (number << 8) | static_cast<unsigned char>(bytes[i]);
                }
                char digits[16];
                std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(number));
                return Prefixed("dword:", digits);
            }
            break;
        case kRegMultiString: {
            std::string list;
            for (std::size_t start = 0; start < bytes.size() && bytes[start] != '\0';) {
                const std::size_t end = bytes.find('\0', start);
                const std::string item =
                    bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
                if (!list.empty()) list += ',';
                list += Quoted(item);
                if (end == std::string::npos) break;
                start = end + 1;
            }
            return Prefixed("multi:", list);
        }
        default:
            break;
    }
    if (type == kRegBinary) return Prefixed("hex:", HexBytes(bytes));
    return Prefixed(Prefixed("hex(", std::to_string(type)) + "):", HexBytes(bytes));
}

std::string DescribeBytes(const std::string& bytes) {
    return std::to_string(bytes.size()) + (bytes.size() == 1 ? " byte" : " bytes");
}

void ChangeLog::add(ChangeKind kind, std::string place, std::string item, std::string before,
                    std::string after) {
    entries_.push_back(
        {kind, std::move(place), std::move(item), std::move(before), std::move(after)});
}

}  // namespace vx::platform::plan
