// One writer at a time per neighborhood folder.
//
// Two editors saving one neighborhood at once would each rewrite the package from what they
// loaded, and one player's changes would silently vanish. A save, a backup and a restore
// therefore hold an advisory lock for as long as they write. The lock lives in this program's own
// runtime folder, in a file named after the neighborhood folder's full path, never in the game's
// folders: nothing of ours is left beside the player's files or carried into a backup, and on
// Windows a restore can rename the neighborhood's folder while the lock is held. Being keyed by the
// path, the lock covers whatever folder bears the name, the restored copy included. The operating
// system releases the lock when the holder exits or crashes, so a killed save never leaves the
// folder locked. The file keeps a line naming its holder, for the message the other editor shows;
// on Linux it is removed when released. Editors of one user exclude each other; the game's saves
// belong to one user.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qh {

// The lock file of earlier versions, kept in the neighborhood's folder: removed when found unheld.
inline constexpr const char* kLegacyLockFileName = "Quillhaven.lock";

// The folder of this user's lock files: $XDG_RUNTIME_DIR/quillhaven, else a private folder in the
// system's temporary folder (%LOCALAPPDATA%\Quillhaven\Locks on Windows).
std::filesystem::path LockDirectory();
// The lock file of a neighborhood folder: its full path, hashed.
std::filesystem::path LockFileOf(const std::filesystem::path& folder);

class FolderLock {
public:
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&&) = delete;
    FolderLock(const FolderLock&) = delete;
    ~FolderLock();

    // Takes the folder's lock, trying again for up to `wait` while another holds it. `who` names
    // this program in the lock file ("quillhaven-cli"); the process id is added. Without the
    // lock, `holder` tells who has it, as that program wrote it (empty when unknown). A folder
    // that does not exist, or a lock folder that cannot be made, gives no lock.
    static std::optional<FolderLock> Acquire(const std::filesystem::path& folder, std::string_view who,
                                             std::chrono::milliseconds wait, std::string& holder);

    // Whether a running program holds the folder's lock now. Works for a folder that is not
    // there (a restore holds the lock of a neighborhood it has moved away for a moment).
    static bool Held(const std::filesystem::path& folder);

private:
    FolderLock(std::intptr_t handle, std::filesystem::path path) : handle_(handle), path_(std::move(path)) {}
    std::intptr_t handle_;  // a file descriptor, or a Windows handle
    std::filesystem::path path_;
};

}  // namespace qh
