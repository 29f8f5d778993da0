#include "platform/sim/SimWindows.h"

#include <stdexcept>

#include "platform/sim/SimState.h"

namespace vx::platform::sim {

namespace {

// Functions rather than globals: a machine may be built while other globals are.
PathName WindowsFolder() { return PathName("C:", {"Windows"}); }
PathName ModuleFolder() { return PathName("C:", {"Tools", "Vexilla"}); }
constexpr const char* kModulePath = "C:\\Tools\\Vexilla\\vexilla.exe";

// Setting up the world with a path Windows would refuse is a mistake of the caller.
PathName NativePath(const std::string& text, const PathName& currentDirectory) {
    std::optional<PathName> path = NormalisePath(text, currentDirectory);
    if (!path) throw std::invalid_argument("not a valid Windows path: \"" + text + "\"");
    return *path;
}

void AddFolders(FileTree& tree, const std::string& text) {
    if (!tree.addDirectories(NativePath(text, ModuleFolder()))) {
        throw std::invalid_argument("a file stands where a folder should be: \"" + text + "\"");
    }
}

}  // namespace

SimWindows::State::State(Bitness machineBitness)
    : bitness(machineBitness),
      redirection(machineBitness),
      files(tree, redirection, WindowsFolder(), ModuleFolder()),
      profiles(files),
      processes(files, tree, redirection),
      registry(machineBitness) {
    const bool wow64 = machineBitness == Bitness::Windows64;
    AddFolders(tree, "C:\\Windows\\System32");
    AddFolders(tree, "C:\\Program Files\\Common Files");
    if (wow64) {
        AddFolders(tree, "C:\\Windows\\SysWOW64");
        AddFolders(tree, "C:\\Program Files (x86)\\Common Files");
    }
    AddFolders(tree, "C:\\ProgramData");
    AddFolders(tree, "C:\\Users\\Public\\Desktop");
    AddFolders(tree, "C:\\Users\\tech\\Desktop");
    AddFolders(tree, "C:\\Users\\tech\\AppData\\Roaming");
    AddFolders(tree, "C:\\Users\\tech\\AppData\\Local\\Temp");
    SetDefaultVariables(environment, machineBitness);
}

SimWindows::SimWindows(Bitness bitness) : state_(std::make_unique<State>(bitness)) {
    setModuleFileName(kModulePath);
}

SimWindows::~SimWindows() = default;

DebugChannel& SimWindows::debug() { return state_->debug; }
Environment& SimWindows::environment() { return state_->environment; }
FileSystem& SimWindows::files() { return state_->files; }
Redirection& SimWindows::redirection() { return state_->redirection; }
Processes& SimWindows::processes() { return state_->processes; }
ProfileFiles& SimWindows::profiles() { return state_->profiles; }
SystemInfo& SimWindows::system() { return state_->system; }
Registry& SimWindows::registry() { return state_->registry; }
UserInterface& SimWindows::userInterface() { return state_->userInterface; }
Shell& SimWindows::shell() { return state_->shell; }
Accounts& SimWindows::accounts() { return state_->accounts; }

Bitness SimWindows::bitness() const { return state_->bitness; }

void SimWindows::setVariable(const std::string& name, const std::string& value) {
    state_->environment.set(name, value);
}

void SimWindows::removeVariable(const std::string& name) { state_->environment.remove(name); }

void SimWindows::setModuleFileName(const std::string& path) {
    const PathName module = NativePath(path, state_->files.currentDirectory());
    addFile(module.text(), fileBytes(module.text()).value_or(std::string()));
    state_->environment.setModuleFileName(module.text());
    // Started from Explorer, a program's current directory is its own folder.
    state_->files.setCurrentDirectory(module.parent());
}

void SimWindows::setCommandArguments(const std::string& text) {
    state_->environment.setCommandArguments(text);
}

void SimWindows::setDateTimeText(const std::string& text) {
    state_->environment.setDateTimeText(text);
}

void SimWindows::setVersion(const OsVersionRecord& record) {
    state_->system.setVersion(record);
    // The all-users application data of 2000 and XP lives in the profile; Vista moved it.
    const char* const commonAppData =
        record.majorVersion < 6 ? "C:\\Documents and Settings\\All Users\\Application Data"
                                : "C:\\ProgramData";
    AddFolders(state_->tree, commonAppData);
    state_->shell.setCommonAppData(commonAppData);
}

void SimWindows::refuseExtendedVersionRecord(bool refuse) {
    state_->system.refuseExtendedRecord(refuse);
}

void SimWindows::setSystemMetric(int index, int value) { state_->system.setMetric(index, value); }

void SimWindows::setSku(std::optional<std::uint32_t> sku) { state_->system.setSku(sku); }

void SimWindows::setRedirectionCallsAvailable(bool available) {
    state_->redirection.setCallsAvailable(available);
}

void SimWindows::addFile(const std::string& path, const std::string& bytes) {
    const PathName file = NativePath(path, state_->files.currentDirectory());
    if (file.isRoot() || !state_->tree.addDirectories(file.parent()) ||
        state_->tree.isDirectory(file) || state_->tree.storeFile(file, bytes, false) != kSuccess) {
        throw std::invalid_argument("cannot place a file at \"" + path + "\"");
    }
}

void SimWindows::addDirectory(const std::string& path) {
    if (!state_->tree.addDirectories(NativePath(path, state_->files.currentDirectory()))) {
        throw std::invalid_argument("a file stands where a folder should be: \"" + path + "\"");
    }
}

void SimWindows::makeUnreachable(const std::string& path) {
    FileNode* node = state_->tree.find(NativePath(path, state_->files.currentDirectory()));
    if (node == nullptr) throw std::invalid_argument("nothing to protect at \"" + path + "\"");
    node->unreachable = true;
}

std::optional<std::string> SimWindows::fileBytes(const std::string& path) const {
    const FileNode* node = state_->tree.find(NativePath(path, state_->files.currentDirectory()));
    if (node == nullptr || node->directory) return std::nullopt;
    return node->bytes;
}

bool SimWindows::directoryExists(const std::string& path) const {
    return state_->tree.isDirectory(NativePath(path, state_->files.currentDirectory()));
}

std::vector<std::string> SimWindows::filePaths() const { return state_->tree.keys(); }

void SimWindows::defineProgram(const std::string& nameOrPath, ProgramScript script) {
    state_->processes.define(nameOrPath, script);
}

void SimWindows::addRegistryKey(const std::string& key) {
    static_cast<void>(state_->registry.tree().add(StoredKeyPath(key)));
}

void SimWindows::setRegistryValue(const std::string& key, const std::string& name,
                                  RegistryData data) {
    RegistryKeyNode& node = state_->registry.tree().add(StoredKeyPath(key));
    RegistryTree::storeValue(node, name, data.type, std::move(data.bytes));
}

std::optional<RegistryData> SimWindows::registryValue(const std::string& key,
                                                      const std::string& name) const {
    const RegistryKeyNode* node = state_->registry.tree().find(StoredKeyPath(key));
    const RegistryValueRecord* value =
        node == nullptr ? nullptr : RegistryTree::findValue(*node, name);
    if (value == nullptr) return std::nullopt;
    return RegistryData{value->type, value->bytes};
}

bool SimWindows::registryKeyExists(const std::string& key) const {
    return state_->registry.tree().find(StoredKeyPath(key)) != nullptr;
}

std::vector<std::string> SimWindows::registrySubkeys(const std::string& key) const {
    std::vector<std::string> names;
    if (const RegistryKeyNode* node = state_->registry.tree().find(StoredKeyPath(key))) {
        for (const auto& [folded, subkey] : node->subkeys) names.push_back(subkey->name);
    }
    return names;
}

int SimWindows::openRegistryHandles() const { return state_->registry.openHandles(); }

void SimWindows::setRegistryKeySecurity(const std::string& key, const std::string& descriptor) {
    DescriptorParts given;
    if (ParseDescriptor(descriptor, given) != kSuccess) {
        throw std::invalid_argument("not a self-relative security descriptor for \"" + key + "\"");
    }
    // As RegSetKeySecurity with the parts the descriptor carries.
    std::uint32_t information = kDaclSecurityInformation;
    if (given.owner) information |= kOwnerSecurityInformation;
    if (given.group) information |= kGroupSecurityInformation;
    RegistryKeyNode& node = state_->registry.tree().add(StoredKeyPath(key));
    node.security = ApplyDescriptor(node.security ? &*node.security : nullptr, given, information);
}

std::optional<std::string> SimWindows::registryKeySecurity(const std::string& key) const {
    const RegistryKeyNode* node = state_->registry.tree().find(StoredKeyPath(key));
    if (node == nullptr) return std::nullopt;
    return DescriptorBytes(
        node->security ? *node->security : DefaultKeySecurity(),
        kOwnerSecurityInformation | kGroupSecurityInformation | kDaclSecurityInformation);
}

int SimWindows::desktopRefreshes() const { return state_->shell.desktopRefreshes(); }
void SimWindows::setLinkSavesVanish(bool vanish) { state_->shell.setLinkSavesVanish(vanish); }

void SimWindows::queueInputBoxAnswer(std::optional<std::string> answer) {
    state_->userInterface.queueAnswer(std::move(answer));
}

void SimWindows::queueMessageBoxAnswer(int answer) {
    state_->userInterface.queueMessageAnswer(answer);
}

const std::vector<MessageBoxRecord>& SimWindows::messageBoxes() const {
    return state_->userInterface.messageBoxes();
}

const std::vector<InputBoxRecord>& SimWindows::inputBoxes() const {
    return state_->userInterface.inputBoxes();
}

bool SimWindows::commonControlsInitialised() const {
    return state_->userInterface.commonControlsInitialised();
}

std::vector<std::string> SimWindows::loadedLibraries() const {
    return state_->userInterface.loadedLibraries();
}

const std::vector<std::string>& SimWindows::debugLines() const { return state_->debug.lines(); }
void SimWindows::clearDebugLines() { state_->debug.clear(); }
const std::vector<LaunchRecord>& SimWindows::launches() const {
    return state_->processes.launches();
}
int SimWindows::redirectionDisableCalls() const { return state_->redirection.disableCalls(); }
int SimWindows::redirectionRevertCalls() const { return state_->redirection.revertCalls(); }
bool SimWindows::redirectionDisabledNow() const { return state_->redirection.disabledNow(); }
int SimWindows::messagePumps() const { return state_->processes.messagePumps(); }
std::uint64_t SimWindows::virtualMilliseconds() const { return state_->processes.now(); }
void SimWindows::advanceClock(std::uint64_t milliseconds) {
    state_->processes.advance(milliseconds);
}

}  // namespace vx::platform::sim
