// The folders of an update and the file work on them: the media searched for an update, the staging
// folder in flash, the installation, the start-up folder, and the copy, delete and swap of folders.
// Plain functions on CE paths of the board; the launcher's GUI thread calls them.
#pragma once

#include "Platform.h"

extern const char16_t kMedium1[];          // "\Storage Card\ABackup"
extern const char16_t kMedium2[];          // "\Hard Disk\ABackup"
extern const char16_t kMedium3[];          // "\硬盘\ABackup"
extern const char16_t kStagingFolder[];    // "\ResidentFlash\ABackup"
extern const char16_t kInstallFolder[];    // "\ResidentFlash\Quellora"
extern const char16_t kStartUpFolder[];    // "\ResidentFlash\StartUp"
extern const char16_t kStagedProgram[];    // "\ResidentFlash\ABackup\Quellora.exe"
extern const char16_t kInstalledProgram[]; // "\ResidentFlash\Quellora\Quellora.exe"
extern const char16_t kInstalledDb[];      // "\ResidentFlash\Quellora\Quellora.db"
extern const char16_t kStagedDb[];         // "\ResidentFlash\ABackup\Quellora.db"
// Where the installation waits while the staged one moves in.
extern const char16_t kReplacedFolder[];   // "\ResidentFlash\Quellora.old"

// GetFileAttributesW does not fail.
bool PathExists(const CString& path);
// The folder and its "Quellora.db" and "Quellora.exe" exist.
bool IsUpdateFolder(const CString& folder);
// Deletes everything in the folder (subfolders recursively), then the folder; true when it is gone.
bool DeleteTree(const CString& folder);
// Deletes every file of the folder but "Brimcourt.exe" (exact case); subfolders stay.
void CleanStartUpFolder(const CString& folder);
// Copies the source's files and subfolders into target (files overwritten). False at the first thing
// not copied whole: a folder that could not be listed or created, a file that could not be read or
// written, or one whose copy's size is not the size the source's listing gave. The failure is named in
// the debug output.
bool CopyTree(const CString& source, const CString& target);

// Replaces the installation with the staged folder without ever leaving the board without one: the
// installation is renamed aside, the staged folder moved in, and only then the old one deleted. When
// the move fails the old installation is renamed back and the result is false.
bool InstallStaged();
// After an update that was cut off (power lost, launcher killed) between the two renames: brings the
// installation back from aside when it is missing, and deletes a leftover aside folder otherwise.
void RecoverInstallation();

// Waits, at most timeoutMs, until no program holds the single-instance name (the stopped program has
// really ended, its files closed). True when it is free.
bool WaitForProgramEnd(const char16_t* instanceName, DWORD timeoutMs);
