// The editor's support text: saved to the kit's oeminfo.ini, loaded back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "common/AppState.h"
#include "common/Text.h"
#include "platform/Platform.h"
#include "platform/TextRules.h"
#include "platform/sim/SimWindows.h"
#include "ui/Editor.h"

using vx::fuzz::Check;

namespace {

const std::string kKit = "C:\\Kit\\";

// What oeminfo.ini can hold of a support text: lines separated by CR LF, so a CR or LF of its
// own inside a line cannot come back; an empty line comes back as none; the profile functions
// cut a value's surrounding blanks (space, TAB, VT, FF, Ctrl-Z: IsProfileBlank). NUL ends a
// string for them.
bool Representable(const std::string& text) {
    for (const auto& line : vx::Split(text, "\r\n")) {
        if (line.empty() || line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos ||
            vx::platform::IsProfileBlank(line.front()) || vx::platform::IsProfileBlank(line.back())) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (text.empty() || !Representable(text)) {
        return 0;
    }
    vx::platform::sim::SimWindows windows;
    const vx::platform::ScopedInstall active(windows);
    vx::ResetState();
    vx::State().brandingFolder = kKit;
    windows.addFile(kKit + "Vexilla.INI", "");

    vx::ui::EditorFields fields;
    fields.mfgr = "Northwind";
    fields.model = "NW-5";
    fields.supportText = text;
    vx::ui::SaveSupportText(fields);
    vx::ui::EditorFields loaded;
    vx::ui::LoadSupportText(loaded);
    Check(loaded.supportText == text, "a saved support text loads back equal",
          text + "\n--- file:\n" + windows.fileBytes(kKit + "oeminfo.ini").value_or("(none)") +
              "\n--- loaded:\n" + loaded.supportText);
    Check(loaded.mfgr == "Northwind" && loaded.model == "NW-5", "manufacturer and model come back");
    vx::ResetState();
    return 0;
}
