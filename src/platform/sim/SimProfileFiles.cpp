#include "platform/sim/SimProfileFiles.h"

#include <optional>

#include "platform/CodePage1252.h"
#include "platform/IniDocument.h"
#include "platform/TextMode.h"
#include "platform/Utf8Profiles.h"

namespace vx::platform::sim {

namespace {

constexpr std::size_t kIntegerBufferChars = 30;

// The file as the profile code opens it: its parsed form, an empty form when the file does
// not exist, nothing when it cannot be opened at all.
std::optional<IniDocument> LoadDocument(const SimFiles& files, const std::string& path) {
    std::string bytes;
    const Status status = files.readBytes(path, bytes);
    if (status == kSuccess) return IniDocument::parse(bytes);
    if (status == kErrorFileNotFound) return IniDocument();
    return std::nullopt;
}

const AnsiConversions& CodePage() {
    static const AnsiConversions conversions{Utf8FromAnsi, AnsiFromUtf8};
    return conversions;
}

std::optional<std::string> FileBytes(const SimFiles& files, const std::string& path) {
    std::string bytes;
    if (files.readBytes(path, bytes) != kSuccess) return std::nullopt;
    return bytes;
}

}  // namespace

SimProfiles::SimProfiles(SimFiles& files) : files_(files) {}

std::string SimProfiles::locate(const std::string& file) const {
    if (file.find_first_of("\\/:") != std::string::npos) return file;
    return files_.windowsFolder().child(file).text();
}

std::string SimProfiles::readString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& defaultText,
                                    std::size_t bufferChars) {
    if (TextIsUtf8()) {
        return ReadUtf8ProfileString(FileBytes(files_, locate(file)), section, key, defaultText,
                                     bufferChars, CodePage());
    }
    const std::string fallback = TrimDefaultText(defaultText);
    const std::optional<IniDocument> document = LoadDocument(files_, locate(file));
    if (!document) return CopyProfileEntry(fallback, bufferChars, false);
    const IniEntry* entry = document->find(section, key);
    const bool found = entry != nullptr && entry->value.has_value();
    return CopyProfileEntry(found ? *entry->value : fallback, bufferChars, true);
}

unsigned SimProfiles::readInt(const std::string& file, const std::string& section,
                              const std::string& key, int defaultValue) {
    if (TextIsUtf8()) {
        return ReadUtf8ProfileInt(FileBytes(files_, locate(file)), section, key, defaultValue,
                                  CodePage());
    }
    const std::string text = readString(file, section, key, "", kIntegerBufferChars);
    if (text.empty()) return static_cast<unsigned>(defaultValue);
    return ParseProfileInteger(text);
}

bool SimProfiles::writeString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& value) {
    const std::string path = locate(file);
    if (TextIsUtf8()) {
        std::string before;
        const Status status = files_.readBytes(path, before);
        // A file that is there but cannot be read is never written over with one line.
        if (status != kSuccess && status != kErrorFileNotFound) return false;
        const auto bytes =
            WriteUtf8ProfileString(status == kSuccess ? std::optional<std::string>(before)
                                                      : std::nullopt,
                                   section, key, value, CodePage());
        return !bytes || files_.writeFile(path, *bytes, false) == kSuccess;
    }
    std::optional<IniDocument> document = LoadDocument(files_, path);
    if (!document) return false;
    if (!document->set(section, key, value)) return true;
    return files_.writeFile(path, document->serialise(), false) == kSuccess;
}

}  // namespace vx::platform::sim
