#include "platform/folder_lock.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qh {

namespace {

constexpr std::intptr_t kNoHandle = -1;

std::string ProcessText(std::string_view who) {
#ifdef _WIN32
    const unsigned long id = GetCurrentProcessId();
#else
    const long id = static_cast<long>(getpid());
#endif
    return std::string(who) + " (process " + std::to_string(id) + ")";
}

#ifdef _WIN32
std::intptr_t Open(const std::filesystem::path& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? kNoHandle : reinterpret_cast<std::intptr_t>(file);
}
bool TryLock(std::intptr_t handle) {
    OVERLAPPED at{};
    return LockFileEx(reinterpret_cast<HANDLE>(handle), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                      &at) != 0;
}
void WriteHolder(std::intptr_t handle, const std::string& text) {
    HANDLE file = reinterpret_cast<HANDLE>(handle);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
std::string ReadHolder(const std::filesystem::path& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    char text[256];
    DWORD read = 0;
    const bool ok = ReadFile(file, text, sizeof text, &read, nullptr) != 0;
    CloseHandle(file);
    return ok ? std::string(text, read) : std::string();
}
// Windows frees a lock left on a closed handle only when it gets round to it ("depends upon
// available system resources"), so the next program could find the neighborhood still taken:
// a lock is given back explicitly before its handle closes.
void Unlock(std::intptr_t handle) {
    OVERLAPPED at{};
    UnlockFileEx(reinterpret_cast<HANDLE>(handle), 0, 1, 0, &at);
}
void Close(std::intptr_t handle) { CloseHandle(reinterpret_cast<HANDLE>(handle)); }
#else
void Unlock(std::intptr_t) {}  // closing the descriptor frees the flock at once
std::intptr_t Open(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    return fd < 0 ? kNoHandle : fd;
}
bool TryLock(std::intptr_t handle) { return ::flock(static_cast<int>(handle), LOCK_EX | LOCK_NB) == 0; }
void WriteHolder(std::intptr_t handle, const std::string& text) {
    const int fd = static_cast<int>(handle);
    if (::ftruncate(fd, 0) != 0) return;  // the holder's name is a courtesy; the lock is what counts
    (void)!::pwrite(fd, text.data(), text.size(), 0);
}
std::string ReadHolder(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    char text[256];
    const ssize_t read = ::pread(fd, text, sizeof text, 0);
    ::close(fd);
    return read > 0 ? std::string(text, static_cast<std::size_t>(read)) : std::string();
}
void Close(std::intptr_t handle) { ::close(static_cast<int>(handle)); }
#endif

// Whether the locked handle is still the file at `path`: a releaser removes its file while it
// still holds the lock, so a waiter that opened the old file must open the new one.
bool StillThere(std::intptr_t handle, const std::filesystem::path& path) {
#ifdef _WIN32
    (void)handle;
    (void)path;
    return true;  // the file is never removed on Windows
#else
    struct stat held {};
    struct stat named {};
    if (::fstat(static_cast<int>(handle), &held) != 0 || ::lstat(path.c_str(), &named) != 0) return false;
    return held.st_dev == named.st_dev && held.st_ino == named.st_ino;
#endif
}

void Release(std::intptr_t handle, const std::filesystem::path& path) {
#ifndef _WIN32
    ::unlink(path.c_str());  // while still held, so no one takes a lock on a removed file
#else
    (void)path;
#endif
    Unlock(handle);
    Close(handle);
}

// An unheld lock file of an earlier version in the neighborhood's folder goes.
void RemoveLegacyLockFile(const std::filesystem::path& folder) {
    const std::filesystem::path legacy = folder / kLegacyLockFileName;
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(legacy, error))) return;
#ifdef _WIN32
    std::filesystem::remove(legacy, error);  // refused while an earlier version holds it open
#else
    const int fd = ::open(legacy.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(legacy.c_str());
    ::close(fd);
#endif
}

std::uint64_t PathHash(std::string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

}  // namespace

std::filesystem::path LockDirectory() {
#ifdef _WIN32
    if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local && *local) {
        return std::filesystem::path(local) / L"Quillhaven" / L"Locks";
    }
    return std::filesystem::temp_directory_path() / L"Quillhaven" / L"Locks";
#else
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/') {
        return std::filesystem::path(runtime) / "quillhaven";
    }
    std::error_code error;
    std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    if (error) temp = "/tmp";
    return temp / ("quillhaven-" + std::to_string(static_cast<unsigned long>(::getuid())));
#endif
}

std::filesystem::path LockFileOf(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::weakly_canonical(folder, error);
    if (error) full = std::filesystem::absolute(folder, error);
    const std::u8string text = full.lexically_normal().generic_u8string();
    std::string key(text.begin(), text.end());
    while (key.size() > 1 && key.back() == '/') key.pop_back();
#ifdef _WIN32
    for (char& c : key) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);  // names ignore case
#endif
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.lock", static_cast<unsigned long long>(PathHash(key)));
    return LockDirectory() / name;
}

FolderLock::FolderLock(FolderLock&& other) noexcept : handle_(other.handle_), path_(std::move(other.path_)) {
    other.handle_ = kNoHandle;
}

FolderLock::~FolderLock() {
    if (handle_ == kNoHandle) return;
    WriteHolder(handle_, {});
    Release(handle_, path_);  // closing releases the lock
}

std::optional<FolderLock> FolderLock::Acquire(const std::filesystem::path& folder, std::string_view who,
                                              std::chrono::milliseconds wait, std::string& holder) {
    holder.clear();
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) return std::nullopt;
    const std::filesystem::path directory = LockDirectory();
    std::filesystem::create_directories(directory, error);
#ifndef _WIN32
    // A folder of someone else's, or a link planted where ours would be, is not trusted.
    struct stat info {};
    if (::lstat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) {
        return std::nullopt;
    }
    ::chmod(directory.c_str(), 0700);
#endif
    const std::filesystem::path path = LockFileOf(folder);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
        const std::intptr_t handle = Open(path);
        if (handle == kNoHandle) return std::nullopt;
        if (TryLock(handle)) {
            if (StillThere(handle, path)) {
                WriteHolder(handle, ProcessText(who));
                RemoveLegacyLockFile(folder);
                return FolderLock(handle, path);
            }
            Close(handle);  // released and removed meanwhile: take the new file
            continue;
        }
        Close(handle);
        if (std::chrono::steady_clock::now() >= deadline) {
            holder = ReadHolder(path);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool FolderLock::Held(const std::filesystem::path& folder) {
    const std::filesystem::path path = LockFileOf(folder);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return false;
    const std::intptr_t handle = Open(path);
    if (handle == kNoHandle) return false;
    const bool free = TryLock(handle);
    if (free) Unlock(handle);
    Close(handle);
    return !free;
}

}  // namespace qh
