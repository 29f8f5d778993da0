#pragma once
// A simulated Windows, held in memory: the system's Windows layer on hosts without Windows.
// It models a 32-bit process (our program) on a 32- or 64-bit Windows: environment, a
// case-insensitive file system with System32 -> SysWOW64 redirection, the redirection switch,
// private-profile files, the version record, launched processes with scripted outcomes and a
// virtual millisecond clock that only sleep() moves.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vx::platform::sim {

enum class Bitness { Windows32, Windows64 };

// What a launched program does: it runs for `runMilliseconds` of virtual time, then ends with
// `exitCode`.
struct ProgramScript {
    std::uint32_t exitCode = 0;
    std::uint32_t runMilliseconds = 0;
};

// A registry value as stored: its type and its raw bytes.
struct RegistryData {
    std::uint32_t type = 0;
    std::string bytes;
};

// One input box as the user saw it.
struct InputBoxRecord {
    std::string prompt;
    std::string title;
    std::string defaultText;
};

// One launch as the system saw it.
struct LaunchRecord {
    std::string commandLine;
    int showWindow = 0;
    bool redirectionDisabled = false;  // the thread's redirection state at the time of launch
};

class SimWindows final : public Platform {
public:
    // A fresh Windows 7 workstation (6.1.7601 SP1) of the given bitness, laid out as a
    // default installation on C:, with our program at C:\Tools\Vexilla\vexilla.exe.
    explicit SimWindows(Bitness bitness = Bitness::Windows64);
    ~SimWindows() override;

    DebugChannel& debug() override;
    Environment& environment() override;
    FileSystem& files() override;
    Redirection& redirection() override;
    Processes& processes() override;
    ProfileFiles& profiles() override;
    SystemInfo& system() override;
    Registry& registry() override;
    UserInterface& userInterface() override;
    Accounts& accounts() override;
    Shell& shell() override;

    // ---- the world ----
    Bitness bitness() const;
    void setVariable(const std::string& name, const std::string& value);
    void removeVariable(const std::string& name);
    void setModuleFileName(const std::string& path);  // also creates the folder and the file
    void setCommandArguments(const std::string& text);
    void setDateTimeText(const std::string& text);
    // Also lays out what differs between releases: the all-users application data
    // (CSIDL_COMMON_APPDATA) is "C:\Documents and Settings\All Users\Application Data"
    // before Vista, "C:\ProgramData" from Vista on.
    void setVersion(const OsVersionRecord& record);
    // Models Windows before 2000 SP?: GetVersionExA refuses the extended record.
    void refuseExtendedVersionRecord(bool refuse);
    void setSystemMetric(int index, int value);
    void setSku(std::optional<std::uint32_t> sku);
    // Windows without the WoW64 redirection calls (2000, 32-bit XP): both calls fail with 127.
    void setRedirectionCallsAvailable(bool available);

    // Files and folders, addressed in the native (unredirected) view. Parent folders are
    // created as needed.
    void addFile(const std::string& path, const std::string& bytes = {});
    void addDirectory(const std::string& path);
    // A file or folder that exists but whose attributes cannot be read (access refused).
    void makeUnreachable(const std::string& path);
    std::optional<std::string> fileBytes(const std::string& path) const;
    bool directoryExists(const std::string& path) const;
    // Every folder and file on the disks, by native path, upper-cased as the model keys them.
    std::vector<std::string> filePaths() const;

    // Programs that can be started: by file name ("reg.exe", found through the search path)
    // or by full path (found only when that file exists in the file system view at launch).
    void defineProgram(const std::string& nameOrPath, ProgramScript script);

    // The registry, addressed by the stored (native) key path: "HKLM\Software\X",
    // "HKLM\Software\Wow6432Node\X", "HKCU\...", "HKU\...". "HKCR\..." names
    // "HKLM\Software\Classes\...". Missing keys on the way are created.
    void addRegistryKey(const std::string& key);
    void setRegistryValue(const std::string& key, const std::string& name, RegistryData data);
    std::optional<RegistryData> registryValue(const std::string& key,
                                              const std::string& name) const;
    bool registryKeyExists(const std::string& key) const;
    std::vector<std::string> registrySubkeys(const std::string& key) const;
    // Keys whose handles are still open (a leak check for tests).
    int openRegistryHandles() const;

    // Key security, as self-relative descriptor bytes (owner, group and DACL), by stored path.
    void setRegistryKeySecurity(const std::string& key, const std::string& descriptor);
    std::optional<std::string> registryKeySecurity(const std::string& key) const;

    // Shell: links are files whose fields readLink gives back; the desktop refresh is counted.
    int desktopRefreshes() const;
    // The link object reports success but leaves no file (as a full or read-only disk can).
    void setLinkSavesVanish(bool vanish);

    // The user's answers to the coming input boxes, in order; nothing means Cancel. An input
    // box without a queued answer is cancelled.
    void queueInputBoxAnswer(std::optional<std::string> answer);
    const std::vector<InputBoxRecord>& inputBoxes() const;
    // The user's answers to the coming message boxes (kAnswerYes, ...); without one the
    // user presses OK or Yes.
    void queueMessageBoxAnswer(int answer);
    const std::vector<MessageBoxRecord>& messageBoxes() const;
    bool commonControlsInitialised() const;
    // Libraries loaded and not yet freed.
    std::vector<std::string> loadedLibraries() const;

    // ---- what happened ----
    const std::vector<std::string>& debugLines() const;
    void clearDebugLines();
    const std::vector<LaunchRecord>& launches() const;
    int redirectionDisableCalls() const;
    int redirectionRevertCalls() const;
    bool redirectionDisabledNow() const;
    int messagePumps() const;
    std::uint64_t virtualMilliseconds() const;
    // Moves the virtual clock as a slow machine would between two polls.
    void advanceClock(std::uint64_t milliseconds);

    struct State;

private:
    std::unique_ptr<State> state_;
};

// Version records of the Windows releases the tool supports, as GetVersionExA reports them.
OsVersionRecord Windows2000();
OsVersionRecord WindowsXP();            // 5.1.2600 SP3
OsVersionRecord WindowsXP64();          // 5.2.3790 SP2, workstation
OsVersionRecord WindowsServer2003();    // 5.2.3790 SP2, server
OsVersionRecord WindowsVista();         // 6.0.6002 SP2
OsVersionRecord WindowsServer2008();    // 6.0.6002 SP2, server
OsVersionRecord Windows7();             // 6.1.7601 SP1
OsVersionRecord WindowsServer2008R2();  // 6.1.7601 SP1, server
OsVersionRecord Windows8();             // 6.2.9200
OsVersionRecord WindowsServer2012();    // 6.2.9200, server
// Reported only to a program whose manifest names Windows 8.1 and 10 (others are told 6.2).
OsVersionRecord Windows81();            // 6.3.9600
OsVersionRecord WindowsServer2012R2();  // 6.3.9600, server
OsVersionRecord Windows10();            // 10.0.19045 (22H2)
OsVersionRecord Windows11();            // 10.0.22631 (23H2)
OsVersionRecord WindowsServer2016();    // 10.0.14393, server
OsVersionRecord WindowsServer2019();    // 10.0.17763, server
OsVersionRecord WindowsServer2022();    // 10.0.20348, server
OsVersionRecord WindowsServer2025();    // 10.0.26100, server

}  // namespace vx::platform::sim
