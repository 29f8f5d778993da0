#pragma once
// A branded-machine-to-be: the program in C:\Tools\Vexilla with its settings file and branding
// folder there, as Main leaves the state.

#include <algorithm>
#include <string>
#include <vector>

#include "common/AppState.h"
#include "engine/StartUp.h"
#include "unit/SimFixture.h"

namespace vx::test {

inline const std::string kOemKey =
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\OEMInformation";
inline const std::string kLinkKey = "HKCR\\CLSID\\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}";
inline const std::string kKit = "C:\\Tools\\Vexilla\\";

class EngineTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        State().settingsFilePath = kKit + "Vexilla.INI";
        State().brandingFolder = kKit;
    }
    void settings(const std::string& text) { sim().addFile(kKit + "Vexilla.INI", text); }
    void kitFile(const std::string& name, const std::string& bytes = "data") {
        sim().addFile(kKit + name, bytes);
    }
    std::string text(const std::string& key, const std::string& name) {
        const auto data = sim().registryValue(key, name);
        if (!data.has_value()) {
            return "<missing>";
        }
        std::string text = data->bytes;
        if (!text.empty() && text.back() == '\0') {
            text.pop_back();
        }
        return text;
    }
    std::uint32_t type(const std::string& key, const std::string& name) {
        const auto data = sim().registryValue(key, name);
        return data.has_value() ? data->type : 0;
    }
};

// Headless runs of the real actions, their report kept line by line.
class ReportedRunTest : public EngineTest {
protected:
    engine::ExitCode run(const std::string& commandLine) {
        report_.clear();
        return engine::RunSwitches(commandLine, engine::DefaultActions(),
                                   [this](const std::string& line) { report_.push_back(line); });
    }
    bool reported(const std::string& line) const {
        return std::find(report_.begin(), report_.end(), line) != report_.end();
    }
    std::vector<std::string> report_;
};

}  // namespace vx::test
