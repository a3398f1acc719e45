// One writer at a time per neighborhood folder.
//
// Two editors saving one neighborhood at once would each rewrite the package from what they
// loaded, and one player's changes would silently vanish. A save therefore holds an advisory lock
// on a lock file in the neighborhood's folder for as long as it writes. The operating system
// releases the lock when the holder exits or crashes, so a killed save never leaves the folder
// locked. The file keeps a line naming its holder, for the message the other editor shows.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qh {

inline constexpr const char* kLockFileName = "Quillhaven.lock";

class FolderLock {
public:
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&&) = delete;
    FolderLock(const FolderLock&) = delete;
    ~FolderLock();

    // Takes the folder's lock, trying again for up to `wait` while another holds it. `who` names
    // this program in the lock file ("quillhaven-cli"); the process id is added. Without the
    // lock, `holder` tells who has it, as that program wrote it (empty when unknown).
    static std::optional<FolderLock> Acquire(const std::filesystem::path& folder, std::string_view who,
                                             std::chrono::milliseconds wait, std::string& holder);

private:
    explicit FolderLock(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_;  // a file descriptor, or a Windows handle
};

}  // namespace qh
