#include "platform/sim/SimShell.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vx::platform::sim {

namespace {

constexpr std::string_view kMagicLine = "[VexillaSimShellLink]";
constexpr char kHexDigits[] = "0123456789ABCDEF";

// The fields in file order; decoding insists on exactly these lines in this order.
constexpr std::array<std::string_view, 8> kFieldNames = {
    "Target",   "Arguments", "WorkingDirectory", "Description",
    "IconFile", "IconIndex", "HotKey",           "ShowCommand"};

std::string Escape(std::string_view value) {
    std::string text;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || c == '%') {
            text += '%';
            text += kHexDigits[byte >> 4];
            text += kHexDigits[byte & 0x0F];
        } else {
            text += c;
        }
    }
    return text;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> Unescape(std::string_view text) {
    std::string value;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            value += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = HexValue(text[i + 1]);
        const int low = HexValue(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        value += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return value;
}

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text) {
    Number number{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return number;
}

}  // namespace

std::string EncodeShellLink(const ShellLinkData& data) {
    const std::array<std::string, kFieldNames.size()> values = {
        Escape(data.target),           Escape(data.arguments),
        Escape(data.workingDirectory), Escape(data.description),
        Escape(data.iconFile),         std::to_string(data.iconIndex),
        std::to_string(data.hotKey),   std::to_string(data.showCommand)};
    std::string text(kMagicLine);
    text += "\r\n";
    for (std::size_t i = 0; i < kFieldNames.size(); ++i) {
        text += kFieldNames[i];
        text += '=';
        text += values[i];
        text += "\r\n";
    }
    return text;
}

std::optional<ShellLinkData> DecodeShellLink(const std::string& text) {
    std::array<std::string, kFieldNames.size()> values;
    std::string_view rest(text);
    const auto nextLine = [&rest]() -> std::optional<std::string_view> {
        const std::size_t end = rest.find("\r\n");
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end + 2);
        return line;
    };
    if (nextLine() != kMagicLine) return std::nullopt;
    for (std::size_t i = 0; i < kFieldNames.size(); ++i) {
        const std::optional<std::string_view> line = nextLine();
        if (!line || line->size() <= kFieldNames[i].size() ||
            line->substr(0, kFieldNames[i].size()) != kFieldNames[i] ||
            (*line)[kFieldNames[i].size()] != '=') {
            return std::nullopt;
        }
        const std::optional<std::string> value = Unescape(line->substr(kFieldNames[i].size() + 1));
        if (!value) return std::nullopt;
        values[i] = *value;
    }
    if (!rest.empty()) return std::nullopt;

    const auto iconIndex = ParseNumber<int>(values[5]);
    const auto hotKey = ParseNumber<std::uint16_t>(values[6]);
    const auto showCommand = ParseNumber<int>(values[7]);
    if (!iconIndex || !hotKey || !showCommand) return std::nullopt;
    ShellLinkData data;
    data.target = values[0];
    data.arguments = values[1];
    data.workingDirectory = values[2];
    data.description = values[3];
    data.iconFile = values[4];
    data.iconIndex = *iconIndex;
    data.hotKey = *hotKey;
    data.showCommand = *showCommand;
    return data;
}

SimShell::SimShell(SimFiles& files, Bitness bitness) : files_(files) {
    specialFolders_ = {
        {kCsidlDesktopDirectory, "C:\\Users\\tech\\Desktop"},
        {kCsidlCommonDesktopDirectory, "C:\\Users\\Public\\Desktop"},
        {kCsidlCommonAppData, "C:\\ProgramData"},
        {kCsidlWindows, "C:\\Windows"},
        // The name, not the view: a 32-bit program is told System32 even on 64-bit Windows.
        {kCsidlSystem, "C:\\Windows\\System32"},
        // A 32-bit program on 64-bit Windows is given the x86 folder.
        {kCsidlProgramFiles,
         bitness == Bitness::Windows64 ? "C:\\Program Files (x86)" : "C:\\Program Files"},
    };
}

bool SimShell::createLink(const std::string& linkFile, const ShellLinkData& data) {
    if (linkSavesVanish_) return true;
    return files_.writeFile(linkFile, EncodeShellLink(data), false) == kSuccess;
}

std::optional<ShellLinkData> SimShell::readLink(const std::string& linkFile) {
    const std::optional<std::string> bytes = files_.readFile(linkFile);
    if (!bytes) return std::nullopt;
    return DecodeShellLink(*bytes);
}

std::optional<std::string> SimShell::specialFolderPath(int csidl) {
    const auto found = specialFolders_.find(csidl);
    if (found == specialFolders_.end()) return std::nullopt;
    return found->second;
}

bool SimShell::refreshDesktop() {
    ++desktopRefreshes_;
    return true;
}

}  // namespace vx::platform::sim
