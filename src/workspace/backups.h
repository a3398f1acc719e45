// Where neighborhood backups are kept, and the tree the neighborhood panel shows of them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qh {

// The archive folder: the "ArchiveLoc" setting when it names an existing folder, else the
// default "Bramblesoft/NGBDs" in the player's documents folder.
std::filesystem::path ArchiveFolder(const std::string& archiveLoc, const std::optional<std::filesystem::path>& personal);

struct BackupGroup {
    std::string text;                 // first four characters of a backup's name + " - Neighborhood Backups"
    std::vector<std::string> backups;  // backup folder names, sorted
};

// The stored backups grouped by neighborhood (the first four characters of each backup folder's
// name, letter case aside), groups and backups sorted alphabetically. A missing folder gives none.
std::vector<BackupGroup> BackupTree(const std::filesystem::path& archive);

// "A Backup Copy of <name> was not found." and the advice that follows it.
std::string NoBackupMessage(const std::string& ngbdName);

}  // namespace qh
