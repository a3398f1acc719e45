// Where neighborhood backups are kept, and the tree the neighborhood panel shows of them.
#pragma once

#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/progress.h"

namespace qh {

// The archive folder: the "ArchiveLoc" setting when it names an existing folder, else the
// default "Bramblesoft/NGBDs" in the player's documents folder.
std::filesystem::path ArchiveFolder(const std::string& archiveLoc, const std::optional<std::filesystem::path>& personal);

struct BackupGroup {
    std::string prefix;                // the neighborhood the backups hold, as their packages name it
    std::string text;                  // the prefix + " - Neighborhood Backups"
    std::vector<std::string> backups;  // backup folder names, sorted
};

// The neighborhood a backup folder holds, from its own package: the prefix of its one
// "<prefix>_Neighborhood.package" (any letter case). Nothing when it holds none, or more than
// one. The folder's name says nothing: "N001 old copy" may hold anything.
std::optional<std::string> BackupPrefix(const std::filesystem::path& backupFolder);

// Whether a folder of the archive is named as a backup: a visible name ending in the date and time
// of the backup, "mm-dd-yyyy hhmmss", or in that and " replaced" (what a restore kept, perhaps
// with a suffix). The
// temporary folders of a backup or restore in progress (or killed) are hidden and are not.
bool IsBackupFolderName(std::string_view name);
// The "mm-dd-yyyy hhmmss" of a backup folder's name, or empty for a name that is not one.
std::string BackupDate(std::string_view name);

// The stored backups grouped by the neighborhood each holds (BackupPrefix, letter case aside),
// groups and backups sorted alphabetically. Only folders named as backups that hold one
// neighborhood package are listed. A missing folder gives none.
std::vector<BackupGroup> BackupTree(const std::filesystem::path& archive);

// "A Backup Copy of <name> was not found." and the advice that follows it.
std::string NoBackupMessage(const std::string& ngbdName);

// The present moment on the local clock, as backup names give it.
std::tm LocalNow();

// A backup folder's name: the prefix, a blank and the time as "mm-dd-yyyy hhnnss" (24-hour
// clock), such as "N001 01-31-2008 142530".
std::string BackupFolderName(const std::string& prefix, const std::tm& when);

// Takes a folder out of the way for good or into the trash; true when it is gone from where it
// was. The window's moves it to the trash; the command line's keeps it as a backup.
using DiscardFolder = std::function<bool(const std::filesystem::path& folder)>;

// The steps of a backup or restore, for tests that fail one on purpose (a hook may throw).
enum class CopyStep { CopyFile, Verify, Flush, SetAside, Place, Discard };
using CopyHook = std::function<void(CopyStep step, const std::filesystem::path& subject)>;

struct BackupResult {
    bool done = false;
    std::string message;             // what to tell the player; empty when done quietly
    std::filesystem::path folder;    // the backup made, or the neighborhood restored
    std::filesystem::path keptAt;    // where a replaced folder was left when it could not be discarded
};

// Copies the neighborhood's folder (every file and folder, but not the editor's lock file) into
// `archive` / `name`. The copy is made in a temporary folder of the archive and compared file by
// file with the neighborhood before it takes the backup's name; a backup of the same name (the
// same second) is discarded only then. Whatever fails, the neighborhood is untouched and an
// existing backup of that name stays; the message says so.
BackupResult BackupNeighborhood(const std::filesystem::path& neighborhoodFolder, const std::filesystem::path& archive,
                                const std::string& name, const DiscardFolder& discard, Progress& progress,
                                const CopyHook& hook = {});

// A backup named for the present moment (local time), into an archive made when missing.
BackupResult BackupNow(const std::filesystem::path& neighborhoodFolder, const std::filesystem::path& archive,
                       const std::string& prefix, const DiscardFolder& discard, Progress& progress);

// Why a folder cannot hold the backups: one inside the game's neighborhoods folder would be copied
// into every backup of its neighborhood (each backup holding the ones before it). Empty when it
// can.
std::string ArchiveLocationRefusal(const std::filesystem::path& folder, const std::filesystem::path& neighborhoodsFolder);

// Whether the archive holds a backup of the neighborhood made on the day of `when`.
bool HasBackupFrom(const std::filesystem::path& archive, const std::string& prefix, const std::tm& when);

// Puts a backup back as `neighborhoodsFolder` / `prefix`: copied into a temporary folder beside
// it and compared with the backup, then the neighborhood's folder is set aside (renamed), the copy
// put in its place, and the old contents discarded. A failure before the copy is in place leaves
// the neighborhood as it was; one after leaves the restored copy and keeps the old contents where
// `keptAt` says. The backup itself is only read. Nothing is replaced unless the backup holds the
// package of that very neighborhood (BackupPrefix) and its header and index can be read.
BackupResult RestoreBackup(const std::filesystem::path& backupFolder, const std::filesystem::path& neighborhoodsFolder,
                           const std::string& prefix, const DiscardFolder& discard, Progress& progress,
                           const CopyHook& hook = {});

// Puts right what a killed backup, restore or move left, as each program does when it starts,
// and says what it did (nothing when there was nothing to do). A restore killed between its
// two renames leaves the neighborhood set aside: it is put back when the backup never reached its
// place, or kept in the archive as a " replaced" backup when it did. Unfinished copies (of a
// backup, of a restore, of a move an hour old) are removed; an earlier backup set aside by a
// backup of the same second is put back. Folders of a neighborhood whose lock another program
// holds are left alone: its work is still running. Nothing a player made is ever deleted.
std::vector<std::string> RecoverInterruptedWork(const std::filesystem::path& neighborhoodsFolder,
                                                const std::filesystem::path& archive);

// Discards a backup folder ("Delete Operation Failed." when it cannot be).
BackupResult DeleteBackup(const std::filesystem::path& backupFolder, const DiscardFolder& discard);

// The backups of a backup folder that can move with it: its folders that hold one neighborhood
// package (BackupPrefix).
std::vector<std::string> MovableBackups(const std::filesystem::path& archive);

// Moves one backup into another backup folder: copied there under a temporary name and compared,
// a folder of the same name there replaced, and only then the original removed. On failure
// ("Backup Move Failed.") the original stays where it was.
BackupResult MoveBackup(const std::filesystem::path& backup, const std::filesystem::path& newArchive,
                        const CopyHook& hook = {});

// A discard that keeps the folder as a backup in the archive, named for the time it was replaced:
// for programs without a trash, so that nothing a restore replaces is lost.
DiscardFolder KeepAsBackup(const std::filesystem::path& archive, const std::string& prefix);

}  // namespace qh
