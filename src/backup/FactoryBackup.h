#pragma once
// The factory backup: before Vexilla first changes a system, what the system holds in every
// place Vexilla may change is recorded once, under the all-users application-data folder
// (Vexilla\FactoryBackup: factory.reg, files.ini and copies of the files). A record in
// HKLM\Software\Vexilla\FactoryBackup holds the SHA-256 of both lists, so a backup that
// anyone altered since is refused rather than applied; a later run never overwrites it.

namespace vx::backup {

// Takes the backup unless one was taken before. A backup that cannot be taken is logged,
// and the caller's change goes ahead as it always did.
void EnsureFactoryBackup();

enum class RestoreOutcome { Restored, NoBackup, Refused, Incomplete };

// Puts every recorded place back as it was, removes the files Vexilla placed (those that
// nobody changed), then deletes the backup. Without a backup, or with one that was altered,
// nothing changes. An incomplete restore keeps the backup for another try.
RestoreOutcome RestoreFactoryState();

}  // namespace vx::backup
