#include "platform/folder_lock.h"

#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
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
void Close(std::intptr_t handle) { CloseHandle(reinterpret_cast<HANDLE>(handle)); }
#else
std::intptr_t Open(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
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

}  // namespace

FolderLock::FolderLock(FolderLock&& other) noexcept : handle_(other.handle_) { other.handle_ = kNoHandle; }

FolderLock::~FolderLock() {
    if (handle_ == kNoHandle) return;
    WriteHolder(handle_, {});
    Close(handle_);  // closing releases the lock
}

std::optional<FolderLock> FolderLock::Acquire(const std::filesystem::path& folder, std::string_view who,
                                              std::chrono::milliseconds wait, std::string& holder) {
    holder.clear();
    const std::filesystem::path path = folder / kLockFileName;
    const std::intptr_t handle = Open(path);
    if (handle == kNoHandle) return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (!TryLock(handle)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            Close(handle);
            holder = ReadHolder(path);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    WriteHolder(handle, ProcessText(who));
    return FolderLock(handle);
}

}  // namespace qh
