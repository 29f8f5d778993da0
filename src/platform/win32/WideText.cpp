#include "platform/win32/WideText.h"

#include <windows.h>

#include <limits>
#include <utility>

namespace vx::platform::win32 {
namespace {

// The calls count in ints.
bool FitsInt(std::size_t count) {
    return count <= static_cast<std::size_t>(std::numeric_limits<int>::max());
}

}  // namespace

Status Utf8ToWide(std::string_view text, std::wstring& wide) {
    wide.clear();
    if (text.empty()) return kSuccess;
    if (!FitsInt(text.size())) return ERROR_INVALID_PARAMETER;
    const int length = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return ::GetLastError();
    std::wstring converted(static_cast<std::size_t>(needed), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, converted.data(), needed) !=
        needed) {
        return ::GetLastError();
    }
    wide = std::move(converted);
    return kSuccess;
}

Status WideToUtf8(std::wstring_view wide, std::string& text) {
    text.clear();
    if (wide.empty()) return kSuccess;
    if (!FitsInt(wide.size())) return ERROR_INVALID_PARAMETER;
    const int length = static_cast<int>(wide.size());
    const int needed =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return ::GetLastError();
    std::string converted(static_cast<std::size_t>(needed), '\0');
    if (::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, converted.data(), needed, nullptr,
                              nullptr) != needed) {
        return ::GetLastError();
    }
    text = std::move(converted);
    return kSuccess;
}

std::wstring WideFromUtf8(std::string_view text) {
    std::wstring wide;
    static_cast<void>(Utf8ToWide(text, wide));
    return wide;
}

std::string Utf8FromWide(std::wstring_view wide) {
    std::string text;
    static_cast<void>(WideToUtf8(wide, text));
    return text;
}

std::string Utf8FromAnsiCodePage(std::string_view bytes) {
    if (bytes.empty() || !FitsInt(bytes.size())) return std::string();
    const int length = static_cast<int>(bytes.size());
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (needed <= 0) return std::string();
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), needed);
    return Utf8FromWide(wide);
}

std::string AnsiCodePageFromUtf8(std::string_view text) {
    const std::wstring wide = WideFromUtf8(text);
    if (wide.empty() || !FitsInt(wide.size())) return std::string();
    const int length = static_cast<int>(wide.size());
    const int needed =
        ::WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return std::string();
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), length, bytes.data(), needed, nullptr, nullptr);
    return bytes;
}

}  // namespace vx::platform::win32
