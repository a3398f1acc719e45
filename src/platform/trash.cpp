#include "platform/trash.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace qh {
namespace fs = std::filesystem;

bool LiesInTrashFolder(const fs::path& moved) {
    if (moved.empty() || moved.is_relative()) return false;
    for (fs::path dir = moved.parent_path(); !dir.empty(); dir = dir.parent_path()) {
        const std::string name = dir.filename().string();
        if (name == "Trash" || name.starts_with(".Trash") || name == "$Recycle.Bin") return true;
        if (dir == dir.root_path() || dir.parent_path() == dir) break;
    }
    return false;
}

bool MakeHomeTrash(const fs::path& dataHome) {
    if (dataHome.empty() || dataHome.is_relative()) return false;
    std::error_code error;
    fs::create_directories(dataHome / "Trash" / "files", error);
    if (error) return false;
    fs::create_directories(dataHome / "Trash" / "info", error);
    return !error;
}

std::optional<fs::path> MoveToTrashChecked(const fs::path& item, const SystemTrashMove& move) {
#if !defined(_WIN32) && !defined(__APPLE__)
    fs::path dataHome;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        dataHome = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home == '/') {
        dataHome = fs::path(home) / ".local" / "share";
    }
    if (!MakeHomeTrash(dataHome)) return std::nullopt;
#endif
    const std::optional<fs::path> moved = move(item);
    if (!moved) return std::nullopt;
    std::error_code error;
    if (!LiesInTrashFolder(*moved) || !fs::exists(fs::symlink_status(*moved, error))) {
        // Not a trash folder that can be told apart from the current folder: put it back.
        if (!moved->empty() && !fs::exists(fs::symlink_status(item, error))) fs::rename(*moved, item, error);
        return std::nullopt;
    }
    return moved;
}

#ifdef _WIN32
bool RecycleWithShell(const fs::path& item) {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(item, error))) return false;
    // The shell takes a list of paths, each ended by a null and the list by a second one.
    std::wstring from = fs::absolute(item, error).wstring();
    if (error) return false;
    from.push_back(L'\0');
    from.push_back(L'\0');
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    const int failed = SHFileOperationW(&operation);
    return failed == 0 && !operation.fAnyOperationsAborted && !fs::exists(fs::symlink_status(item, error));
}
#endif

}  // namespace qh
