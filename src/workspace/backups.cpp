#include "workspace/backups.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <random>
#include <span>

#include "package/index.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/folder_lock.h"
#include "platform/paths.h"

namespace qh {
namespace fs = std::filesystem;

fs::path ArchiveFolder(const std::string& archiveLoc, const std::optional<fs::path>& personal) {
    std::error_code error;
    if (!archiveLoc.empty() && fs::is_directory(fs::u8path(archiveLoc), error)) return fs::u8path(archiveLoc);
    if (!personal) return {};
    return *personal / "Bramblesoft" / "NGBDs";
}

std::string BackupDate(std::string_view name) {
    if (name.empty() || name.front() == '.') return {};
    // What a restore kept: " replaced", and a suffix when two were kept in one second.
    if (const auto kept = name.rfind(" replaced"); kept != std::string_view::npos) name = name.substr(0, kept);
    // " mm-dd-yyyy hhmmss": 18 characters after the prefix, which is not empty.
    constexpr std::string_view kShape = " 00-00-0000 000000";
    if (name.size() <= kShape.size()) return {};
    const std::string_view stamp = name.substr(name.size() - kShape.size());
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const bool digit = stamp[i] >= '0' && stamp[i] <= '9';
        if (kShape[i] == '0' ? !digit : stamp[i] != kShape[i]) return {};
    }
    return std::string(stamp.substr(1));
}

bool IsBackupFolderName(std::string_view name) { return !BackupDate(name).empty(); }

std::optional<std::string> BackupPrefix(const fs::path& backupFolder) {
    static constexpr std::string_view kSuffix = "_Neighborhood.package";
    std::optional<std::string> found;
    std::error_code error;
    for (fs::directory_iterator it(backupFolder, error), end; !error && it != end; it.increment(error)) {
        const std::string file = Utf8Text(it->path().filename());
        if (file.size() <= kSuffix.size() ||
            !EqualsNoCase(std::string_view(file).substr(file.size() - kSuffix.size()), kSuffix)) {
            continue;
        }
        if (!it->is_regular_file(error)) continue;
        if (found) return std::nullopt;  // two neighborhoods: which one it is cannot be told
        found = file.substr(0, file.size() - kSuffix.size());
    }
    if (error || (found && !IsPlainName(*found))) return std::nullopt;
    return found;
}

std::vector<BackupGroup> BackupTree(const fs::path& archive) {
    std::vector<BackupGroup> groups;
    std::error_code error;
    for (fs::directory_iterator it(archive, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_directory(error)) continue;
        const std::string name = Utf8Text(it->path().filename());
        if (!IsBackupFolderName(name)) continue;
        const auto prefix = BackupPrefix(it->path());
        if (!prefix) continue;  // no neighborhood to restore
        auto group = std::find_if(groups.begin(), groups.end(), [&](const BackupGroup& g) { return EqualsNoCase(g.prefix, *prefix); });
        if (group == groups.end()) {
            groups.push_back({*prefix, *prefix + " - Neighborhood Backups", {}});
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
           "You should use the Backup Neighborhood option prior" + "\r\n" + "to making any changes to this Neighborhood.";
}

namespace {

// An earlier version's lock file in the neighborhood's folder is not the player's: not copied.
constexpr const char* kLockFile = kLegacyLockFileName;

std::string Suffix() {
    std::random_device device;
    char text[16];
    std::snprintf(text, sizeof text, "%08x", device());
    return text;
}

// Players move "Characters" or whole neighborhoods to another disk and leave a link: a copy
// follows links to folders and files and copies what they lead to, never the link. Links that
// lead back into themselves would be followed for ever; no neighborhood is this deep.
constexpr int kDeepestFolder = 32;

// Where an entry lies below the folder walked, by the names walked through: never resolved
// through a link (which would lead outside the folder, and a copy there with it).
fs::path Below(const fs::path& entry, const fs::path& folder) {
    const fs::path inside = entry.lexically_relative(folder);
    if (inside.empty() || *inside.begin() == "..") throw IoError(entry.string() + " does not lie in " + folder.string());
    return inside;
}

// Walks a folder, links to folders followed, calling `visit` for each entry below it.
template <typename Visit>
void WalkBelow(const fs::path& folder, Visit&& visit) {
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::follow_directory_symlink), end; it != end; ++it) {
        if (it.depth() > kDeepestFolder) {
            throw IoError(folder.string() + " holds folder links that lead back into themselves; nothing was copied");
        }
        visit(it);
    }
}

// The files of a folder, relative to it, without an earlier version's lock file.
std::vector<fs::path> FilesBelow(const fs::path& folder) {
    std::vector<fs::path> files;
    WalkBelow(folder, [&](const fs::recursive_directory_iterator& it) {
        if (it->is_regular_file() && !(it.depth() == 0 && it->path().filename() == kLockFile)) {
            files.push_back(Below(it->path(), folder));
        }
    });
    std::sort(files.begin(), files.end());
    return files;
}

// Copies every file of `from` into the new folder `to` (made here): each original read once, its
// copy written and read back and compared with the original still in memory. Then everything is
// flushed to disk at once. Throws on any difference or failure.
void CopyAndVerify(const fs::path& from, const fs::path& to, Progress& progress, const CopyHook& hook) {
    const std::vector<fs::path> files = FilesBelow(from);
    progress.SetMaximum(static_cast<int>(std::min<std::size_t>(files.size() * 2, 1 << 30)));
    progress.SetPosition(0);
    fs::create_directories(to);
    WalkBelow(from, [&](const fs::recursive_directory_iterator& it) {
        if (it->is_directory()) fs::create_directories(to / Below(it->path(), from));
    });
    // What is still to copy, for saying so when the disk fills up (the system may call a full
    // disk an input/output error).
    std::uintmax_t left = 0;
    std::error_code sized;
    for (const fs::path& file : files) left += fs::file_size(from / file, sized);
    int position = 0;
    for (const fs::path& file : files) {
        const Bytes original = ReadFileBytes(from / file);
        try {
            if (hook) hook(CopyStep::CopyFile, from / file);
            WriteNewFile(to / file, original);
        } catch (const fs::filesystem_error& error) {
            // The system says the disk is full (ENOSPC), or calls it something else while the
            // disk holds less than is left to copy.
            std::error_code unknown;
            const fs::space_info space = fs::space(to, unknown);
            const bool short_ = !unknown && space.available < left;
            if (error.code() == std::errc::no_space_on_device || short_) {
                auto size = [](std::uintmax_t bytes) {
                    return bytes >= (std::uintmax_t{10} << 20) ? std::to_string(bytes >> 20) + " MB"
                                                               : std::to_string((bytes + 1023) >> 10) + " KB";
                };
                throw IoError("the disk holding " + to.parent_path().string() + " is full" +
                              (short_ ? ": " + size(space.available) + " free, " + size(left) + " more needed" : std::string()) +
                              " (" + error.code().message() + " copying " + file.string() + ")");
            }
            throw;
        }
        left -= std::min<std::uintmax_t>(left, original.size());
        progress.SetPosition(++position);
        progress.Step();
        if (hook) hook(CopyStep::Verify, to / file);
        if (ReadFileBytes(to / file) != original) throw IoError("the copy of " + file.string() + " differs from the original");
        progress.SetPosition(++position);
        progress.Step();
    }
    if (FilesBelow(to) != files) throw IoError("the copy does not hold the same files as " + from.string());
    // Every copied file and folder is on disk before a rename publishes the copy (and before a
    // restore moves the old neighborhood away), and so is the entry of the copy in its parent.
    if (hook) hook(CopyStep::Flush, to);
    FlushTreeToDisk(to);
}

// Once the copy is in place, the renames are flushed too; the copy itself is on disk already, so a
// failure here loses nothing and is not the player's to hear about.
void FlushQuietly(const fs::path& folder) {
    try {
        FlushToDisk(folder);
    } catch (const IoError&) {
    }
}

// The neighborhood's lock, so that no save writes into it while it is copied or replaced.
std::optional<FolderLock> LockFolder(const fs::path& folder) {
    std::string holder;
    auto lock = FolderLock::Acquire(folder, "Quillhaven", std::chrono::milliseconds(3000), holder);
    if (!lock) {
        throw IoError(folder.filename().string() + " is being saved by " + (holder.empty() ? "another program" : holder));
    }
    return lock;
}

// The last step of a backup or restore, once the new copy is in place: what it replaced goes; if
// it cannot, it stays where it was set aside and the result says where.
void DiscardSetAside(const fs::path& aside, const DiscardFolder& discard, const CopyHook& hook, BackupResult& result,
                     const std::string& keptMessage) {
    bool gone = false;
    try {
        if (hook) hook(CopyStep::Discard, aside);
        gone = discard(aside);
    } catch (const std::exception&) {
        gone = false;
    }
    if (!gone) {
        result.keptAt = aside;
        result.message = keptMessage + aside.string() + ".";
    }
}

void RemoveQuietly(const fs::path& folder) {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

// A restore's journal, beside the neighborhoods: ".N001.restore-journal", holding the names of
// the folder set aside and of the verified copy, one "key=name" a line.
fs::path RestoreJournalPath(const fs::path& neighborhoodsFolder, const std::string& prefix) {
    return neighborhoodsFolder / fs::u8path("." + prefix + ".restore-journal");
}

void WriteRestoreJournal(const fs::path& journal, const fs::path& aside, const fs::path& incoming) {
    const std::string text = "aside=" + Utf8Text(aside.filename()) + "\nincoming=" + Utf8Text(incoming.filename()) + "\n";
    AtomicReplace(journal, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void RemoveJournal(const fs::path& journal) {
    std::error_code ignored;
    fs::remove(journal, ignored);
}

}  // namespace

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

std::string BackupFolderName(const std::string& prefix, const std::tm& when) {
    char text[32];
    std::strftime(text, sizeof text, "%m-%d-%Y %H%M%S", &when);
    return prefix + " " + text;
}

BackupResult BackupNeighborhood(const fs::path& neighborhoodFolder, const fs::path& archive, const std::string& name,
                                const DiscardFolder& discard, Progress& progress, const CopyHook& hook) {
    BackupResult result;
    const fs::path target = archive / fs::u8path(name);
    const fs::path partial = archive / fs::u8path("." + name + ".partial-" + Suffix());
    const fs::path aside = archive / fs::u8path("." + name + ".replaced-" + Suffix());
    progress.SetStatus("Backing Up Neighborhood");
    try {
        if (!IsPlainName(name)) throw IoError("\"" + name + "\" is not a folder name");
        if (!fs::is_directory(neighborhoodFolder)) throw IoError(neighborhoodFolder.string() + " is not a folder");
        if (LiesInside(archive, neighborhoodFolder)) {
            throw IoError("the backup folder " + archive.string() + " lies inside the neighborhood; each backup would copy "
                          "itself. Choose a backup folder outside the neighborhoods");
        }
        const auto lock = LockFolder(neighborhoodFolder);
        CopyAndVerify(neighborhoodFolder, partial, progress, hook);
        std::error_code error;
        if (fs::exists(target, error)) {
            // A backup of the same second: the new one replaces it, now that the new one is whole.
            if (hook) hook(CopyStep::SetAside, target);
            fs::rename(target, aside);
        }
        if (hook) hook(CopyStep::Place, target);
        fs::rename(partial, target);
    } catch (const std::exception& error) {
        std::error_code ignored;
        if (fs::exists(aside, ignored)) fs::rename(aside, target, ignored);
        RemoveQuietly(partial);
        result.message = std::string("Backup Operation Failed.") + "\r\n" + Explain(error) + "\r\n" +
                         "The neighborhood was not changed.";
        progress.SetStatus("");
        return result;
    }
    result.done = true;
    result.folder = target;
    FlushQuietly(archive);  // the rename that published the backup
    std::error_code error;
    if (fs::exists(aside, error)) {
        DiscardSetAside(aside, discard, hook, result,
                        "The backup was made. The earlier backup of the same second could not be moved away and is kept at ");
    }
    progress.SetStatus("");
    return result;
}

std::string ArchiveLocationRefusal(const fs::path& folder, const fs::path& neighborhoodsFolder) {
    if (neighborhoodsFolder.empty()) return {};
    // Through any link: where the folders really are.
    std::error_code error;
    const fs::path real = fs::weakly_canonical(folder, error);
    const fs::path hoods = fs::weakly_canonical(neighborhoodsFolder, error);
    if (LiesInside(real, hoods) || real.lexically_normal() == hoods.lexically_normal()) {
        return folder.string() + " lies inside the game's neighborhoods folder (" + neighborhoodsFolder.string() +
               "): each backup would copy the backups before it. Choose a folder outside it.";
    }
    return {};
}

BackupResult BackupNow(const fs::path& neighborhoodFolder, const fs::path& archive, const std::string& prefix,
                       const DiscardFolder& discard, Progress& progress) {
    std::error_code error;
    fs::create_directories(archive, error);
    return BackupNeighborhood(neighborhoodFolder, archive, BackupFolderName(prefix, LocalNow()), discard, progress);
}

bool HasBackupFrom(const fs::path& archive, const std::string& prefix, const std::tm& when) {
    const std::string day = BackupFolderName(prefix, when).substr(0, prefix.size() + 11);  // "N001 mm-dd-yyyy"
    for (const BackupGroup& group : BackupTree(archive)) {
        for (const std::string& name : group.backups) {
            if (name.size() >= day.size() && EqualsNoCase(name.substr(0, day.size()), day)) return true;
        }
    }
    return false;
}

BackupResult RestoreBackup(const fs::path& backupFolder, const fs::path& neighborhoodsFolder, const std::string& prefix,
                           const DiscardFolder& discard, Progress& progress, const CopyHook& hook) {
    BackupResult result;
    const fs::path target = neighborhoodsFolder / fs::u8path(prefix);
    const fs::path incoming = neighborhoodsFolder / fs::u8path("." + prefix + ".restoring-" + Suffix());
    const fs::path aside = neighborhoodsFolder / fs::u8path("." + prefix + ".replaced-" + Suffix());
    const fs::path journal = RestoreJournalPath(neighborhoodsFolder, prefix);
    progress.SetStatus("Restoring Neighborhood");
    bool setAside = false;
    try {
        if (!IsPlainName(prefix)) throw IoError("\"" + prefix + "\" is not a neighborhood prefix");
        if (!fs::is_directory(backupFolder)) throw IoError(backupFolder.string() + " is not a folder");
        // The backup must hold this neighborhood's package, readable, before anything is replaced:
        // a half-deleted backup would leave a neighborhood the game and this program cannot load.
        const auto held = BackupPrefix(backupFolder);
        if (!held) throw IoError(backupFolder.string() + " holds no neighborhood package (or more than one)");
        if (!EqualsNoCase(*held, prefix)) {
            throw IoError(backupFolder.string() + " is a backup of " + *held + ", not of " + prefix);
        }
        const fs::path package = ResolveNoCase(backupFolder, *held + "_Neighborhood.package");
        try {
            ReadPackageExcerpt(package, [](const IndexEntry&) { return false; }, 0);
        } catch (const FormatError& damage) {
            throw IoError(package.string() + " cannot be read: " + damage.what());
        }
        CopyAndVerify(backupFolder, incoming, progress, hook);
        std::error_code error;
        std::optional<FolderLock> lock;
        if (fs::exists(target, error)) {
            lock.emplace(std::move(*LockFolder(target)));
            // Between the two renames there is no neighborhood: the journal says where it and
            // the verified copy lie, so a start after a kill puts things right.
            WriteRestoreJournal(journal, aside, incoming);
            if (hook) hook(CopyStep::SetAside, target);
            fs::rename(target, aside);
            setAside = true;
        }
        if (hook) hook(CopyStep::Place, target);
        fs::rename(incoming, target);
        RemoveJournal(journal);
    } catch (const std::exception& error) {
        RemoveJournal(journal);
        // Nothing is in place yet: the neighborhood goes back where it was.
        if (setAside) {
            std::error_code ignored;
            fs::rename(aside, target, ignored);
        }
        RemoveQuietly(incoming);
        result.message = std::string("Backup Operation Failed.") + "\r\n" + Explain(error) + "\r\n" +
                         "The neighborhood was left as it was.";
        progress.SetStatus("");
        return result;
    }
    result.done = true;
    result.folder = target;
    FlushQuietly(neighborhoodsFolder);  // the renames that put the backup in place
    if (setAside) {
        DiscardSetAside(aside, discard, hook, result,
                        "The neighborhood was restored. Its replaced contents could not be moved away and are kept at ");
    }
    progress.SetStatus("");
    return result;
}

namespace {

// ".N001.replaced-0a1b2c3d" -> {"N001", "replaced"}: a hidden folder of a backup, restore or move
// in progress (or killed): the name it works for and what it is.
struct WorkFolder {
    std::string name;
    std::string kind;
};
std::optional<WorkFolder> ParseWorkFolder(const std::string& folder) {
    if (folder.size() < 2 || folder.front() != '.') return std::nullopt;
    for (const char* kind : {"replaced", "restoring", "partial", "moving"}) {
        const std::string marker = std::string(".") + kind + "-";
        const auto at = folder.rfind(marker);
        if (at == std::string::npos || at < 2) continue;
        const std::string suffix = folder.substr(at + marker.size());
        if (suffix.size() != 8 || !std::all_of(suffix.begin(), suffix.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); })) {
            continue;
        }
        return WorkFolder{folder.substr(1, at - 1), kind};
    }
    return std::nullopt;
}

// The neighborhood a backup name belongs to: the part before its date and time.
std::string PrefixOfBackupName(const std::string& name) {
    std::string stem = name;
    if (const auto kept = stem.rfind(" replaced"); kept != std::string::npos) stem = stem.substr(0, kept);
    return BackupDate(stem).empty() ? stem : stem.substr(0, stem.size() - 18);
}

// Whether a program holds the neighborhood's lock (its backup or restore is running now).
bool Busy(const fs::path& folder) { return FolderLock::Held(folder); }

// Moves a folder into the archive as a backup named for now and " replaced", and says where.
std::optional<fs::path> KeepInArchive(const fs::path& folder, const fs::path& archive, const std::string& prefix) {
    std::error_code error;
    fs::create_directories(archive, error);
    fs::path target = archive / fs::u8path(BackupFolderName(prefix, LocalNow()) + " replaced");
    if (fs::exists(target, error)) target += "-" + Suffix();
    fs::rename(folder, target, error);
    if (error) return std::nullopt;
    return target;
}

}  // namespace

std::vector<std::string> RecoverInterruptedWork(const fs::path& neighborhoodsFolder, const fs::path& archive) {
    std::vector<std::string> said;
    std::error_code error;
    // A neighborhood set aside by a restore: back in its place when the restore never put the
    // backup there; kept in the archive as a backup when it did. Either way nothing is deleted.
    auto settleAside = [&](const fs::path& aside, const std::string& prefix) {
        const fs::path target = neighborhoodsFolder / fs::u8path(prefix);
        if (!fs::exists(target, error)) {
            fs::rename(aside, target, error);
            said.push_back(error ? "A restore of " + prefix + " was interrupted; the neighborhood lies at " +
                                       aside.string() + " and could not be put back: " + error.message()
                                 : "A restore of " + prefix +
                                       " was interrupted before it finished; the neighborhood was put back as it was.");
            return;
        }
        if (const auto kept = archive.empty() ? std::nullopt : KeepInArchive(aside, archive, prefix)) {
            said.push_back("A restore of " + prefix + " was interrupted after the backup was put in place; what it " +
                           "replaced is kept as the backup \"" + Utf8Text(kept->filename()) + "\".");
        } else {
            said.push_back("A restore of " + prefix + " was interrupted after the backup was put in place; what it " +
                           "replaced is kept at " + aside.string() + ".");
        }
    };
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(neighborhoodsFolder, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(it->path());
    }
    error.clear();
    // Journals first: they name the folders of one restore.
    for (const fs::path& path : entries) {
        const std::string name = Utf8Text(path.filename());
        static constexpr std::string_view kJournal = ".restore-journal";
        if (name.size() <= kJournal.size() + 1 || name.front() != '.' || !name.ends_with(kJournal)) continue;
        const std::string prefix = name.substr(1, name.size() - kJournal.size() - 1);
        if (!IsPlainName(prefix) || Busy(neighborhoodsFolder / fs::u8path(prefix))) continue;
        fs::remove(path, error);
    }
    for (const fs::path& path : entries) {
        const auto work = ParseWorkFolder(Utf8Text(path.filename()));
        if (!work || !fs::is_directory(path, error) || !IsPlainName(work->name)) continue;
        if (Busy(neighborhoodsFolder / fs::u8path(work->name))) continue;  // a restore running now
        if (work->kind == "replaced") {
            settleAside(path, work->name);
        } else if (work->kind == "restoring") {
            RemoveQuietly(path);
            said.push_back("An unfinished copy of a backup of " + work->name +
                           ", left by an interrupted restore, was removed; the neighborhood was not changed by it.");
        }
    }
    // In the archive: unfinished copies of backups and moves go; an earlier backup of the same
    // second set aside goes back under its name, or stays as a replaced one beside the new.
    entries.clear();
    for (fs::directory_iterator it(archive, error), end; !archive.empty() && !error && it != end; it.increment(error)) {
        entries.push_back(it->path());
    }
    for (const fs::path& path : entries) {
        const auto work = ParseWorkFolder(Utf8Text(path.filename()));
        if (!work || !fs::is_directory(path, error)) continue;
        const std::string prefix = PrefixOfBackupName(work->name);
        if (IsPlainName(prefix) && Busy(neighborhoodsFolder / fs::u8path(prefix))) continue;  // a backup running now
        if (work->kind == "partial") {
            RemoveQuietly(path);
            said.push_back("An unfinished copy left by an interrupted backup (" + work->name + ") was removed.");
        } else if (work->kind == "moving") {
            // The move copies first and removes the original last: the copy is the spare one. A
            // move may be running in another program, so only an old copy goes.
            const auto age = fs::file_time_type::clock::now() - fs::last_write_time(path, error);
            if (error || age < std::chrono::hours(1)) continue;
            RemoveQuietly(path);
            said.push_back("An unfinished copy left by an interrupted move of the backup " + work->name + " was removed.");
        } else if (work->kind == "replaced") {
            const fs::path target = archive / fs::u8path(work->name);
            if (!fs::exists(target, error)) {
                fs::rename(path, target, error);
            } else {
                fs::path kept = archive / fs::u8path(work->name + " replaced");
                if (fs::exists(kept, error)) kept += "-" + Suffix();
                fs::rename(path, kept, error);
            }
            if (!error) said.push_back("The backup " + work->name + ", set aside by an interrupted backup, was put back.");
        }
    }
    return said;
}

BackupResult DeleteBackup(const fs::path& backupFolder, const DiscardFolder& discard) {
    BackupResult result;
    std::error_code error;
    if (!fs::is_directory(backupFolder, error)) return result;
    try {
        result.done = discard(backupFolder);
    } catch (const std::exception&) {
        result.done = false;
    }
    if (!result.done) {
        const std::string why = WhyNotRemovable(backupFolder);
        result.message = "Delete Operation Failed.\r\n" + backupFolder.string() + " could not be removed" +
                         (why.empty() ? std::string(" (the system gave no reason)") : ": " + why) + ".";
    }
    return result;
}

DiscardFolder KeepAsBackup(const fs::path& archive, const std::string& prefix) {
    return [archive, prefix](const fs::path& folder) {
        fs::path target = archive / fs::u8path(BackupFolderName(prefix, LocalNow()) + " replaced");
        std::error_code error;
        fs::create_directories(archive, error);
        if (fs::exists(target, error)) target += "-" + Suffix();
        fs::rename(folder, target, error);
        if (!error) return true;
        // Another file system: copied whole and compared, then the original removed.
        try {
            NullProgress quiet;
            CopyAndVerify(folder, target, quiet, {});
        } catch (const std::exception&) {
            RemoveQuietly(target);
            return false;
        }
        fs::remove_all(folder, error);
        return !error;
    };
}

std::vector<std::string> MovableBackups(const fs::path& archive) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(archive, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_directory(error)) continue;
        if (BackupPrefix(it->path())) names.push_back(Utf8Text(it->path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

BackupResult MoveBackup(const fs::path& backup, const fs::path& newArchive, const CopyHook& hook) {
    BackupResult result;
    const fs::path target = newArchive / backup.filename();
    const fs::path incoming = newArchive / fs::u8path("." + backup.filename().string() + ".moving-" + Suffix());
    try {
        fs::create_directories(newArchive);
        if (fs::equivalent(backup.parent_path(), newArchive)) {
            result.done = true;  // already there
            result.folder = backup;
            return result;
        }
        NullProgress quiet;
        CopyAndVerify(backup, incoming, quiet, hook);
        std::error_code error;
        if (fs::exists(target, error)) {
            if (hook) hook(CopyStep::Discard, target);
            fs::remove_all(target);
        }
        if (hook) hook(CopyStep::Place, target);
        fs::rename(incoming, target);
    } catch (const std::exception& error) {
        RemoveQuietly(incoming);
        result.message = std::string("Backup Move Failed.") + "\r\n" + error.what();
        return result;
    }
    // The copy is whole in its new place; the original may go.
    std::error_code error;
    fs::remove_all(backup, error);
    if (error) result.message = "The backup was copied to " + target.string() + " but " + backup.string() +
                                " could not be removed.";
    result.done = true;
    result.folder = target;
    return result;
}

}  // namespace qh
