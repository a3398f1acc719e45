// Moving files and folders to the system's trash, checked.
//
// The system call that moves a file there (Qt's in the window and on the command line) can go
// wrong in ways that look like success: without a home trash, Qt on Linux makes "files" and
// "info" in the current folder and moves the file there. What the player deletes must land where
// the system's trash keeps it, or stay where it was.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>

namespace qh {

// The system's own move to the trash: where the item went, or nothing when it did not move.
using SystemTrashMove = std::function<std::optional<std::filesystem::path>(const std::filesystem::path& item)>;

// Whether a path lies in a trash folder: the home trash ("Trash" in the data folder), a drive's
// (".Trash-<uid>", ".Trash") or Windows' recycle bin ("$Recycle.Bin").
bool LiesInTrashFolder(const std::filesystem::path& moved);

// The freedesktop home trash in `dataHome` ($XDG_DATA_HOME, else ~/.local/share), with its
// "files" and "info" folders made where the system expects them; false when it cannot be made.
bool MakeHomeTrash(const std::filesystem::path& dataHome);

// Moves `item` to the trash through `move` and checks where it went: an item that landed
// anywhere but in a trash folder is put back, and nothing is returned. On Linux the home trash is
// made first where the system looks for it (Qt looks for it but does not make it).
std::optional<std::filesystem::path> MoveToTrashChecked(const std::filesystem::path& item, const SystemTrashMove& move);

#ifdef _WIN32
// Windows' recycle bin through the shell (undo allowed, no question, no progress window): true
// when the item left its folder. The shell keeps its own record of where it went.
bool RecycleWithShell(const std::filesystem::path& item);
#endif

}  // namespace qh
