#include "cli/backup_commands.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#ifndef _WIN32
#include <QFile>
#include <QString>
#endif
#include <ctime>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/cli_support.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "platform/trash.h"
#include "workspace/backups.h"
#include "workspace/game_session.h"
#include "workspace/neighborhood_picture.h"

namespace qh::cli {

namespace fs = std::filesystem;

namespace {

// Whether a player sits at the input, who can be asked. On Windows the console itself: the C
// runtime's isatty also says yes of the NUL device, which nobody answers.
bool InputIsATerminal() {
#ifdef _WIN32
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
#else
    return ::isatty(STDIN_FILENO) != 0;
#endif
}

struct Archive {
    GameSession session;
    fs::path folder;
};

void OpenArchive(const GlobalOptions& options, Archive& archive) {
    Discover(options, archive.session);
    archive.session.settings = OpenSettings(options);
    archive.folder = ArchiveFolder(archive.session.settings->ArchiveLoc(), archive.session.personalFolder);
    if (archive.folder.empty()) throw UsageError("No backup folder: the player's documents folder was not found");
}

// A destructive command goes on with --yes, or when the player at the terminal says yes.
void Confirm(bool yes, const std::string& question) {
    if (yes) return;
    if (!InputIsATerminal()) throw UsageError(question + " Give --yes to go on without being asked.");
    std::cerr << question << " [y/N] " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    if (answer != "y" && answer != "Y" && answer != "yes") throw UsageError("Nothing was changed.");
}

fs::path BackupPath(const Archive& archive, const std::string& name) {
    if (!IsPlainName(name)) throw UsageError("\"" + name + "\" is not the name of a backup");
    const fs::path path = archive.folder / fs::u8path(name);
    if (!fs::is_directory(path)) throw UsageError("No backup \"" + name + "\" in " + archive.folder.string());
    return path;
}

// The system's trash, as the window uses it: what a command replaces or deletes can be brought back.
// On Windows the shell's recycle bin, which needs no check; elsewhere Qt's, checked.
bool MoveToTrash(const fs::path& folder) {
#ifdef _WIN32
    return RecycleWithShell(folder);
#else
    return MoveToTrashChecked(folder, [](const fs::path& item) {
               QString inTrash;
               const bool done = QFile::moveToTrash(QString::fromStdU16String(item.u16string()), &inTrash);
               return done ? std::optional<fs::path>(inTrash.toStdU16String()) : std::nullopt;
           }).has_value();
#endif
}

// What a backup or a restore replaced goes to the trash; where there is none, it is kept as a
// backup named for the time it was replaced.
DiscardFolder TrashOrKeep(const fs::path& archive, const std::string& prefix) {
    const DiscardFolder keep = KeepAsBackup(archive, prefix);
    return [keep](const fs::path& folder) { return MoveToTrash(folder) || keep(folder); };
}

std::uintmax_t FolderSize(const fs::path& folder) {
    std::uintmax_t size = 0;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error)) size += it->file_size(error);
    }
    return size;
}

}  // namespace

void AddBackupCommands(CLI::App& app, const GlobalOptions& options, Reporter& reporter) {
    auto prefix = std::make_shared<std::string>();
    auto* backup = app.add_subcommand("backup", "Back up a neighborhood into the backup folder");
    backup->add_option("PREFIX", *prefix, "The neighborhood's prefix, such as N001")->required();
    backup->callback([prefix, &options] {
        Archive archive;
        OpenArchive(options, archive);
        if (!IsPlainName(*prefix)) throw UsageError("\"" + *prefix + "\" is not a neighborhood prefix");
        const fs::path hood = ResolveNoCase(archive.session.env.neighborhoodsFolder, *prefix);
        if (!fs::is_directory(hood)) throw UsageError("No neighborhood " + *prefix);
        NullProgress progress;
        const BackupResult result = BackupNow(hood, archive.folder, *prefix, TrashOrKeep(archive.folder, *prefix), progress);
        if (!result.done) throw UsageError(result.message);
        if (!result.message.empty()) std::cerr << "message: " << result.message << '\n';
        std::cout << nlohmann::ordered_json{{"backup", result.folder.filename().string()}, {"folder", result.folder.string()}}.dump(2)
                  << '\n';
    });

    auto filter = std::make_shared<std::string>();
    auto* list = app.add_subcommand("backups", "List the stored backups as JSON");
    list->add_option("PREFIX", *filter, "Only the backups of this neighborhood");
    list->callback([filter, &options] {
        Archive archive;
        OpenArchive(options, archive);
        nlohmann::ordered_json out = nlohmann::json::array();
        for (const BackupGroup& group : BackupTree(archive.folder)) {
            if (!filter->empty() && !EqualsNoCase(group.prefix, *filter)) continue;
            for (const std::string& name : group.backups) {
                const fs::path folder = archive.folder / fs::u8path(name);
                out.push_back({{"name", name},
                               {"neighborhood", group.prefix},
                               {"date", BackupDate(name)},
                               {"folder", folder.string()},
                               {"size", FolderSize(folder)}});
            }
        }
        std::cout << out.dump(2) << '\n';
    });

    auto restore = std::make_shared<std::pair<std::string, bool>>();
    auto* restoreCmd = app.add_subcommand("restore", "Put a backup back in place of its neighborhood");
    restoreCmd->add_option("NAME", restore->first, "The backup's name, such as \"N001 01-31-2008 142530\"")->required();
    restoreCmd->add_flag("--yes", restore->second, "Replace the neighborhood without asking");
    restoreCmd->callback([restore, &options] {
        Archive archive;
        OpenArchive(options, archive);
        const fs::path source = BackupPath(archive, restore->first);
        // The neighborhood the backup holds, from its own package, never from its name.
        const auto held = BackupPrefix(source);
        if (!held) {
            throw UsageError("Backup Operation Failed. " + restore->first +
                             " holds no neighborhood package (or more than one), so it cannot be restored; the "
                             "neighborhood was left as it was.");
        }
        const std::string hoodPrefix = *held;
        const fs::path target = archive.session.env.neighborhoodsFolder / fs::u8path(hoodPrefix);
        if (fs::exists(target)) {
            Confirm(restore->second, "\"" + target.string() + "\" will be restored with the Neighborhood backup selected. "
                                     "If you continue it will be replaced (its contents go to the trash).");
        }
        NullProgress progress;
        const BackupResult result = RestoreBackup(source, archive.session.env.neighborhoodsFolder, hoodPrefix,
                                                  TrashOrKeep(archive.folder, hoodPrefix), progress);
        if (!result.done) throw UsageError(result.message);
        if (!result.message.empty()) std::cerr << "message: " << result.message << '\n';
        std::cout << nlohmann::ordered_json{{"restored", hoodPrefix}, {"folder", result.folder.string()}}.dump(2) << '\n';
    });

    auto remove = std::make_shared<std::pair<std::string, bool>>();
    auto* removeCmd = app.add_subcommand("delete-backup", "Delete a stored backup");
    removeCmd->add_option("NAME", remove->first, "The backup's name")->required();
    removeCmd->add_flag("--yes", remove->second, "Delete without asking");
    removeCmd->callback([remove, &options] {
        Archive archive;
        OpenArchive(options, archive);
        const fs::path path = BackupPath(archive, remove->first);
        Confirm(remove->second, "If you continue \"" + path.string() + "\" will be deleted.");
        // To the trash, as the window deletes it; never for good.
        const BackupResult result = DeleteBackup(path, MoveToTrash);
        if (!result.done) {
            throw UsageError(result.message + " It was left as it was.");
        }
        std::cout << nlohmann::ordered_json{{"deleted", remove->first}}.dump(2) << '\n';
    });

    auto location = std::make_shared<std::string>();
    auto* locationCmd = app.add_subcommand("archive-location", "Show the backup folder, or set it (\"ArchiveLoc\")");
    locationCmd->add_option("DIR", *location, "The new backup folder; backups are not moved by the command line");
    locationCmd->callback([location, &options] {
        Archive archive;
        OpenArchive(options, archive);
        if (!location->empty()) {
            const fs::path typed = fs::u8path(*location);  // UTF-8 as typed, on every system
            if (!fs::is_directory(typed)) throw UsageError(*location + " is not a folder");
            const std::string chosen = Utf8Text(fs::absolute(typed));
            if (const std::string refusal = ArchiveLocationRefusal(chosen, archive.session.env.neighborhoodsFolder);
                !refusal.empty()) {
                throw UsageError(refusal);
            }
            if (options.settings) {
                archive.session.settings->SetArchiveLoc(chosen);
            } else {
                // Asked for by name: the window's own setting changes.
                const fs::path own = WindowSettingsPath();
                if (own.empty()) throw UsageError("No settings file to keep the backup folder in; give --settings");
                fs::create_directories(own.parent_path());
                IniSettings(own).SetArchiveLoc(chosen);
            }
            archive.folder = ArchiveFolder(chosen, archive.session.personalFolder);
        }
        std::cout << nlohmann::ordered_json{{"archiveLocation", archive.folder.string()}}.dump(2) << '\n';
    });
    auto picture = std::make_shared<std::pair<std::string, std::string>>();
    auto* pictureCmd = app.add_subcommand("replace-picture", "Replace a neighborhood's picture with a PNG, JPEG or BMP file");
    pictureCmd->add_option("PREFIX", picture->first, "The neighborhood's prefix, such as N001")->required();
    pictureCmd->add_option("FILE", picture->second, "The picture file")->required();
    pictureCmd->callback([picture, &options] {
        Archive archive;
        OpenArchive(options, archive);
        if (!IsPlainName(picture->first)) throw UsageError("\"" + picture->first + "\" is not a neighborhood prefix");
        const fs::path hood = ResolveNoCase(archive.session.env.neighborhoodsFolder, picture->first);
        if (!fs::is_directory(hood)) throw UsageError("No neighborhood " + picture->first);
        const fs::path target = NeighborhoodPicturePath(hood, picture->first);
        try {
            ReplaceNeighborhoodPicture(target, fs::u8path(picture->second));
        } catch (const std::exception& error) {
            throw UsageError(error.what());
        }
        std::cout << nlohmann::ordered_json{{"picture", target.string()}}.dump(2) << '\n';
    });
    (void)reporter;
}

}  // namespace qh::cli
