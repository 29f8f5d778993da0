#include "common/AppState.h"
#include "common/FSO.h"
#include "common/Guarded.h"
#include "common/Ini.h"
#include "common/ReportHeaders.h"
#include "common/Text.h"
#include "engine/BrandingSettings.h"
#include "platform/Platform.h"
#include "ui/Editor.h"

namespace vx::ui {
namespace {

std::string SupportFile() { return State().brandingFolder + engine::settings::kSupportTextFile; }

bool SkippedLine(const std::string& line) {
    return line.empty() || line[0] == ';' || line[0] == '[' ||
           LCase(line.substr(0, 12)) == "manufacturer" || LCase(line.substr(0, 5)) == "model";
}

}  // namespace

void LoadSupportText(EditorFields& fields) {
    Guarded(report::kLoadSupportText, [&] {
        const auto bytes = platform::Current().files().readFile(SupportFile());
        if (!bytes.has_value()) {
            return;
        }
        // Lines end in CR LF, LF or CR, as a text reader takes them.
        std::string text = ReplaceAll(ReplaceAll(*bytes, "\r\n", "\n"), "\r", "\n");
        if (!text.empty() && text.back() == '\n') {
            text.pop_back();
        }
        for (const auto& line : Split(text, "\n")) {
            if (SkippedLine(line)) {
                continue;
            }
            const auto equals = line.find('=');
            const std::string value = equals == std::string::npos ? line : line.substr(equals + 1);
            fields.supportText =
                fields.supportText.empty() ? value : fields.supportText + "\r\n" + value;
        }
    });
    Guarded(report::kLoadSupportText, [&] {
        fields.mfgr = ReadIni(SupportFile(), "General", "Manufacturer");
        fields.model = ReadIni(SupportFile(), "General", "Model");
    });
}

void SaveSupportText(const EditorFields& fields) {
    Guarded(report::kSaveSupportText, [] { clsFSO().KillFile(SupportFile()); });
    Guarded(report::kSaveSupportText,
            [&] { WriteIni(SupportFile(), "General", "Manufacturer", fields.mfgr); });
    Guarded(report::kSaveSupportText,
            [&] { WriteIni(SupportFile(), "General", "Model", fields.model); });
    if (fields.supportText.empty()) {
        return;
    }
    const auto lines = Split(fields.supportText, "\r\n");
    for (std::size_t k = 0; k < lines.size(); ++k) {
        Guarded(report::kSaveSupportText, [&] {
            WriteIni(SupportFile(), "Support Information", "Line" + ToText(k + 1), lines[k]);
        });
    }
}

}  // namespace vx::ui
