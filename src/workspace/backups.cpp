#include "workspace/backups.h"

#include <algorithm>

#include "platform/paths.h"

namespace qh {
namespace fs = std::filesystem;

fs::path ArchiveFolder(const std::string& archiveLoc, const std::optional<fs::path>& personal) {
    std::error_code error;
    if (!archiveLoc.empty() && fs::is_directory(fs::u8path(archiveLoc), error)) return fs::u8path(archiveLoc);
    if (!personal) return {};
    return *personal / "Bramblesoft" / "NGBDs";
}

std::vector<BackupGroup> BackupTree(const fs::path& archive) {
    std::vector<BackupGroup> groups;
    std::error_code error;
    for (fs::directory_iterator it(archive, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_directory(error)) continue;
        const std::string name = it->path().filename().string();
        const std::string text = name.substr(0, 4) + " - Neighborhood Backups";
        auto group = std::find_if(groups.begin(), groups.end(), [&](const BackupGroup& g) { return EqualsNoCase(g.text, text); });
        if (group == groups.end()) {
            groups.push_back({text, {}});
            group = groups.end() - 1;
        }
        group->backups.push_back(name);
    }
    std::sort(groups.begin(), groups.end(), [](const BackupGroup& a, const BackupGroup& b) { return a.text < b.text; });
    for (BackupGroup& group : groups) std::sort(group.backups.begin(), group.backups.end());
    return groups;
}

std::string NoBackupMessage(const std::string& ngbdName) {
    return "A Backup Copy of " + ngbdName + " was not found." + "\r\n" + "\r\n" +
           "You should make a copy of the neighborhood's folder" + "\r\n" + "before making any changes to this Neighborhood.";
}

}  // namespace qh
