#include "registry/RegistryValues.h"

#include <charconv>
#include <cstring>
#include <stdexcept>

#include "common/DebugLog.h"
#include "common/ReportHeaders.h"
#include "common/Text.h"
#include "platform/Platform.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryPaths.h"

namespace vx::registry {
namespace {

// The lines below the header of a value operation's trace and of its error report.
ReportParameter KeyLine(const std::string& topKey, const std::string& keyPath) {
    return Labelled("Passed Key", topKey + "\\" + keyPath);
}
ReportParameter ValueLine(const std::string& valueName) {
    return Labelled("Passed Value", valueName);
}
ReportParameter ReturnedLine(const RegValue& result) {
    return Labelled("Returned Value", ToText(result));
}
ReportParameter StatusLine(std::uint32_t status) {
    return Labelled("lResult (0 is successful)", vx::ToText(status));
}

void Trace(std::string_view header, std::initializer_list<ReportParameter> lines) {
    TraceHeader(header);
    for (const auto& line : lines) {
        TraceLine(line.name, line.value);
    }
}

std::string WithoutTrailingNul(std::string data) {
    if (!data.empty() && data.back() == '\0') {
        data.pop_back();
    }
    return data;
}

// Reads the whole data of a string-like value: ask for the size first, then read it.
platform::Status QueryText(platform::RegistryHandle key, const std::string& name,
                           std::string& text) {
    auto& registry = platform::Current().registry();
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::string data;
    auto status = registry.queryValue(key, name, 0, type, data, size);
    if (status == platform::kErrorMoreData) {
        status = registry.queryValue(key, name, size, type, data, size);
    }
    if (status == platform::kSuccess) {
        // The stored terminator is not part of the text; data stored without one keeps its
        // last character.
        text = WithoutTrailingNul(data);
    }
    return status;
}

template <typename T>
platform::Status QueryFixed(platform::RegistryHandle key, const std::string& name,
                            std::uint32_t expectedType, T& out) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::string data;
    const auto status =
        platform::Current().registry().queryValue(key, name, sizeof(T), type, data, size);
    if (status == platform::kSuccess) {
        if (type != expectedType || data.size() != sizeof(T)) {
            return platform::kErrorInvalidDataType;
        }
        std::memcpy(&out, data.data(), sizeof(T));
    }
    return status;
}

void ReportWriteError(const TrappedError& error, const std::string& topKey,
                      const std::string& keyPath, const std::string& valueName,
                      std::uint32_t status) {
    ReportError(report::kWriteValue, error,
                {KeyLine(topKey, keyPath), ValueLine(valueName), StatusLine(status)});
}

std::string MultiStringAppending(const std::string& topKey, const std::string& keyPath,
                                 const std::string& valueName, const std::string& entry) {
    RegValue old = std::string();
    std::string list;
    if (fReadValue(topKey, keyPath, valueName, "M", std::string(), old) == platform::kSuccess) {
        for (const auto& kept : Split(ToText(old), std::string(1, '\0'))) {
            if (!kept.empty()) {
                list += kept + '\0';
            }
        }
    }
    return list + entry + '\0' + '\0';
}

// A value as a VB Boolean: True and False in any case, or a number (not 0 is true).
bool ToBoolean(const RegValue& value) {
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag;
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        const std::string word = Trim(*text);
        if (EqualsNoCase(word, "True")) return true;
        if (EqualsNoCase(word, "False")) return false;
    }
    return ToInt32(value) != 0;
}

// The two bytes of a VB Boolean, as "B" values hold it: True is -1 (FF FF), False 0.
std::string BooleanBytes(bool flag) { return std::string(2, flag ? '\xFF' : '\0'); }

}  // namespace

std::string ToText(const RegValue& value) {
    return std::visit([](const auto& held) { return vx::ToText(held); }, value);
}

std::int32_t ToInt32(const RegValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) {
        return *number;
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? -1 : 0;
    }
    const std::string text = Trim(std::get<std::string>(value));
    std::int64_t parsed = 0;
    const auto* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, parsed);
    if (text.empty() || error == std::errc::invalid_argument || stop != end) {
        throw std::invalid_argument("not a number: " + text);
    }
    if (error == std::errc::result_out_of_range || parsed < INT32_MIN || parsed > INT32_MAX) {
        throw std::out_of_range("not a 32-bit number: " + text);
    }
    return static_cast<std::int32_t>(parsed);
}

std::uint32_t fReadValue(const std::string& topKey, std::string keyPath,
                         const std::string& valueName, const std::string& type,
                         const RegValue& defaultValue, RegValue& result) {
    std::uint32_t status = kStatusNotReached;
    result = defaultValue;
    try {
        const auto root = fTopKey(topKey);
        if (root == kTopKeyUnknown) {
            return status;
        }
        const std::string code = UCase(type);
        if (root == kTopKeyIniFile) {
            auto& profiles = platform::Current().profiles();
            if (code == "S") {
                result = profiles.readString(topKey, keyPath, valueName, ToText(defaultValue), 255);
            } else {
                // The number read is the answer for "D"; other codes only look.
                const auto number =
                    static_cast<std::int32_t>(profiles.readInt(topKey, keyPath, valueName, 0));
                if (code == "D") {
                    result = number;
                }
            }
            return platform::kSuccess;
        }

        RegistryKey key;
        const std::uint32_t view = ApplyViewRule(keyPath);
        status = key.open(root, keyPath, platform::kKeyQueryValue | view);
        if (status != platform::kSuccess) {
            return status;
        }
        RegValue read = defaultValue;
        if (code == "S" || code == "M") {
            std::string text;
            status = QueryText(key.handle(), valueName, text);
            read = text;
        } else if (code == "B") {
            std::int16_t flag = 0;
            status = QueryFixed(key.handle(), valueName, platform::kRegBinary, flag);
            read = flag != 0;
        } else if (code == "D") {
            std::int32_t number = 0;
            status = QueryFixed(key.handle(), valueName, platform::kRegDword, number);
            read = number;
        }
        if (status != platform::kSuccess) {
            return status;
        }
        result = read;
        status = key.close();
        Trace("modRegistry\\fReadValue: ", {KeyLine(topKey, keyPath), ValueLine(valueName),
                                            ReturnedLine(result), StatusLine(status)});
        return status;
    } catch (...) {
        ReportError(report::kReadValue, CurrentError(),
                    {KeyLine(topKey, keyPath), ValueLine(valueName), ReturnedLine(result),
                     StatusLine(status)});
        return status;
    }
}

std::uint32_t fWriteValue(const std::string& topKey, const std::string& keyPath,
                          const std::string& valueName, const std::string& type,
                          const RegValue& value) {
    std::uint32_t status = kStatusNotReached;
    try {
        const auto root = fTopKey(topKey);
        const std::string code = UCase(type);
        if (root == kTopKeyUnknown) {
            ReportWriteError({}, topKey, keyPath, valueName, status);
            return status;
        }
        if (root == kTopKeyIniFile) {
            if (code != "S") {
                ReportWriteError({}, topKey, keyPath, valueName, status);
                return status;
            }
            static_cast<void>(platform::Current().profiles().writeString(topKey, keyPath, valueName,
                                                                         ToText(value)));
            return platform::kSuccess;
        }

        // A number or a boolean that is none fails before any key is created or written.
        const std::int32_t number = code == "D" ? ToInt32(value) : 0;
        const bool flag = code == "B" && ToBoolean(value);

        // Writes always land in the 64-bit view on 64-bit Windows, whatever the path says.
        const std::uint32_t access = platform::kKeySetValue | platform::kKeyCreateSubKey |
                                     (fIs64Bit() ? platform::kKeyWow64_64Key : 0);
        RegistryKey key;
        status = key.create(root, keyPath, access);
        if (status != platform::kSuccess) {
            ReportWriteError({}, topKey, keyPath, valueName, status);
            return status;
        }

        auto& registry = platform::Current().registry();
        if (code == "S" || code == "E") {
            status =
                registry.setValue(key.handle(), valueName,
                                  code == "S" ? platform::kRegString : platform::kRegExpandString,
                                  ToText(value) + '\0');
        } else if (code == "D") {
            std::string bytes(sizeof number, '\0');
            std::memcpy(bytes.data(), &number, sizeof number);
            status = registry.setValue(key.handle(), valueName, platform::kRegDword, bytes);
        } else if (code == "B") {
            status = registry.setValue(key.handle(), valueName, platform::kRegBinary,
                                       BooleanBytes(flag));
        } else if (code == "M") {
            status =
                registry.setValue(key.handle(), valueName, platform::kRegMultiString,
                                  MultiStringAppending(topKey, keyPath, valueName, ToText(value)));
        }
        if (status != platform::kSuccess) {
            Trace("modRegistry\\fWriteValue: ",
                  {KeyLine(topKey, keyPath), ValueLine(valueName), StatusLine(status)});
            static_cast<void>(key.close());
            return status;
        }
        return key.close();
    } catch (...) {
        ReportWriteError(CurrentError(), topKey, keyPath, valueName, status);
        return status;
    }
}

}  // namespace vx::registry
