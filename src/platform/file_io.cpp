#include "platform/file_io.h"

#include <cctype>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/paths.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qh {
namespace fs = std::filesystem;

namespace {

// In UTF-8 whatever the system: the narrow form goes through the ANSI code page on Windows.
std::string Describe(const fs::path& path) { return "\"" + Utf8Text(path) + "\""; }

std::string SystemError() { return std::strerror(errno); }

// A name in the same folder, so that the final rename stays on one file system.
fs::path TemporaryNameFor(const fs::path& target) {
    std::random_device device;
    std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%06x.tmp", digits(device));
    fs::path name = target;
    name += suffix;
    return name;
}

#ifndef _WIN32
void SyncFolderOf(const fs::path& path) {
    // Without this the rename itself may be lost in a crash even though the data is on disk.
    fs::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) throw IoError("Cannot open the folder of " + Describe(path) + " to flush it: " + SystemError());
    const int synced = ::fsync(fd);
    const std::string why = synced != 0 ? SystemError() : std::string();
    ::close(fd);
    if (synced != 0) {
        throw IoError(Describe(path) + " was written, but its folder could not be flushed to disk: " + why);
    }
}
#endif

#ifndef _WIN32
// Opens the file or folder and hands it to `sync` (fsync for itself, syncfs for its file system).
void OpenAndSync(const fs::path& path, int flags, int (*sync)(int)) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0) throw IoError("Cannot open " + Describe(path) + " to flush it: " + SystemError());
    const int synced = sync(fd);
    const std::string why = synced != 0 ? SystemError() : std::string();
    ::close(fd);
    if (synced != 0) throw IoError("Cannot flush " + Describe(path) + " to disk: " + why);
}
#endif

}  // namespace

void FlushToDisk(const fs::path& path) {
#ifdef _WIN32
    // Windows flushes a folder's entries with the rename (MOVEFILE_WRITE_THROUGH); files are
    // flushed through a handle of their own.
    std::error_code error;
    if (fs::is_directory(path, error)) return;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw IoError("Cannot open " + Describe(path) + " to flush it");
    const bool flushed = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    if (!flushed) throw IoError("Cannot flush " + Describe(path) + " to disk");
#else
    OpenAndSync(path, 0, ::fsync);
#endif
}

void FlushTreeToDisk(const fs::path& folder) {
#if defined(__linux__)
    OpenAndSync(folder, O_DIRECTORY, ::syncfs);
#else
    std::vector<fs::path> folders{folder};
    for (fs::recursive_directory_iterator it(folder), end; it != end; ++it) {
        if (it->is_directory()) {
            folders.push_back(it->path());
        } else {
            FlushToDisk(it->path());
        }
    }
    for (auto each = folders.rbegin(); each != folders.rend(); ++each) FlushToDisk(*each);
    FlushToDisk(folder.parent_path());
#endif
}

void WriteNewFile(const fs::path& path, std::span<const std::uint8_t> content) {
    const auto fail = [&](int error) {
        throw fs::filesystem_error("cannot write", path, std::error_code(error, std::generic_category()));
    };
#ifdef _WIN32
    // Created only when absent (the C runtime's fopen may not know "x").
    const int fd = ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    std::FILE* file = fd < 0 ? nullptr : ::_fdopen(fd, "wb");
    if (fd >= 0 && !file) ::_close(fd);
#else
    std::FILE* file = std::fopen(path.c_str(), "wbx");
#endif
    if (!file) fail(errno);
    errno = 0;
    const std::size_t written = content.empty() ? 0 : std::fwrite(content.data(), 1, content.size(), file);
    int error = written == content.size() ? 0 : (errno != 0 ? errno : EIO);
    if (std::fclose(file) != 0 && error == 0) error = errno != 0 ? errno : EIO;
    if (error != 0) {
        std::error_code ignored;
        fs::remove(path, ignored);
        fail(error);
    }
}

std::string WhyNotRemovable(const fs::path& item) {
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(item.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return Describe(item) + " is read-only";
    }
    return {};
#else
    // Removing an entry takes writing the folder that holds it; removing a folder's contents,
    // writing that folder.
    auto writable = [](const fs::path& folder) { return ::access(folder.c_str(), W_OK | X_OK) == 0; };
    fs::path parent = item.parent_path();
    if (parent.empty()) parent = ".";
    if (!writable(parent)) return Describe(parent) + " cannot be written (" + SystemError() + ")";
    std::error_code error;
    if (!fs::is_directory(item, error) || fs::is_symlink(item, error)) return {};
    if (!writable(item)) return Describe(item) + " cannot be written (" + SystemError() + ")";
    for (fs::recursive_directory_iterator it(item, error), end; !error && it != end; it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error) && !writable(it->path())) {
            return Describe(it->path()) + " cannot be written (" + SystemError() + ")";
        }
    }
    return {};
#endif
}

bool NameLeavesRoomToReplace(const fs::path& path) {
    // ".<six hexadecimal digits>.tmp"
    return path.filename().native().size() + 11 <= 255;
}

#ifndef _WIN32
namespace {

FileStamp StampFrom(const struct stat& info) {
    FileStamp stamp;
    stamp.size = S_ISREG(info.st_mode) ? static_cast<std::uintmax_t>(info.st_size) : 0;
    stamp.modified = fs::file_time_type(std::chrono::duration_cast<fs::file_time_type::duration>(
        std::chrono::seconds(info.st_mtim.tv_sec) + std::chrono::nanoseconds(info.st_mtim.tv_nsec)));
    return stamp;
}

}  // namespace
#endif

FileStamp StampOf(const fs::path& path) {
    FileStamp stamp;
#ifdef _WIN32
    std::error_code error;
    stamp.size = fs::file_size(path, error);
    if (error) stamp.size = 0;
    stamp.modified = fs::last_write_time(path, error);
#else
    // One call for both (a load stamps every one of ten thousand files). Stamps are only ever
    // compared with stamps, so the time is kept on the file clock's scale as the system gives
    // it, to the nanosecond.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        stamp.modified = fs::file_time_type::min();
        return stamp;
    }
    stamp = StampFrom(info);
#endif
    return stamp;
}

namespace {

// Reads the whole file into the memory `allocate(size)` gives. Only a regular file is read: the
// open does not block, so a pipe or a device planted under a package's name is refused rather
// than waited on, and a folder is refused by name. With `stamp`, the file's stamp is taken before
// the read and again after it (`afterRead` runs between): false when the two differ, the read
// then being of a file that changed meanwhile.
// `path` is a std::filesystem::path or the text of one (PathText): opened as it is spelled, and
// made a path only to name it in a message.
template <typename PathLike, typename Allocate>
bool ReadWholeFile(const PathLike& path, Allocate&& allocate, FileStamp* stamp = nullptr,
                   const std::function<void()>& afterRead = {}) {
#ifndef _WIN32
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throw IoError("Cannot open " + Describe(fs::path(path)) + " for reading");
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw IoError("Cannot read " + Describe(fs::path(path)) + ": it is not a file");
    }
    const std::size_t size = static_cast<std::size_t>(info.st_size);
    std::uint8_t* data = nullptr;
    try {
        data = allocate(size);
    } catch (...) {
        ::close(fd);
        throw;
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, data + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    bool steady = true;
    if (stamp) {
        *stamp = StampFrom(info);
        if (afterRead) afterRead();
        struct stat after {};
        steady = ::fstat(fd, &after) == 0 && StampFrom(after) == *stamp;
    }
    ::close(fd);
    // A file cut short while it was read changed, and is read again.
    if (done != size && steady) throw IoError("Cannot read " + Describe(fs::path(path)));
    return steady;
#else
    const fs::path file(path);
    if (stamp) *stamp = StampOf(file);
    std::ifstream in(file, std::ios::binary);
    if (!in) throw IoError("Cannot open " + Describe(file) + " for reading");
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    if (length < 0) throw IoError("Cannot read " + Describe(file));
    in.seekg(0, std::ios::beg);
    std::uint8_t* data = allocate(static_cast<std::size_t>(length));
    const bool read = length == 0 || static_cast<bool>(in.read(reinterpret_cast<char*>(data), length));
    if (!stamp) {
        if (!read) throw IoError("Cannot read " + Describe(file));
        return true;
    }
    if (afterRead) afterRead();
    const bool steady = StampOf(file) == *stamp;
    if (!read && steady) throw IoError("Cannot read " + Describe(file));
    return steady;
#endif
}

}  // namespace

Bytes ReadFileBytes(const fs::path& path) {
    Bytes bytes;
    ReadWholeFile(path, [&](std::size_t size) {
        bytes.resize(size);
        return bytes.data();
    });
    return bytes;
}

FileBuffer ReadFileBuffer(const fs::path& path) {
    FileBuffer buffer;
    ReadWholeFile(path, [&](std::size_t size) {
        // Default-initialised: the bytes are left as the allocator gave them until the read.
        buffer.data_ = std::make_unique_for_overwrite<std::uint8_t[]>(size);
        buffer.size_ = size;
        return buffer.data_.get();
    });
    return buffer;
}

FileBuffer ReadFileBufferSteadily(const PathText& path, FileStamp& stamp, const std::function<void()>& afterRead) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        FileBuffer buffer;
        const auto allocate = [&](std::size_t size) {
            buffer.data_ = std::make_unique_for_overwrite<std::uint8_t[]>(size);
            buffer.size_ = size;
            return buffer.data_.get();
        };
        if (ReadWholeFile(path, allocate, &stamp, afterRead)) return buffer;
    }
    throw IoError(FileNameOf(path) + " changed while it was being read (is the game running?)");
}

namespace {

// The file a replace writes: a symbolic link's target (the link stays a link, and the target
// gets the new bytes), else the path itself.
fs::path ReplacedFile(const fs::path& path) {
    std::error_code error;
    if (!fs::is_symlink(path, error)) return path;
    const fs::path target = fs::canonical(path, error);
    if (error) throw IoError("Cannot follow the link " + Describe(path) + ": " + error.message());
    return target;
}

#ifndef _WIN32
// Opens a new temporary file that will carry the original's mode and owner, so a replace never
// widens who may read a player's file or hands it to another user. A file that is read-only, or
// whose owner this user cannot keep, is refused before anything is written.
int CreateTemporaryLike(const fs::path& target, const fs::path& temporary) {
    struct stat original {};
    const bool exists = ::stat(target.c_str(), &original) == 0;
    if (exists) {
        if ((original.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
            throw IoError(Describe(target) + " is read-only; it was not changed");
        }
        if (original.st_uid != ::geteuid() && ::geteuid() != 0) {
            throw IoError(Describe(target) + " belongs to another user; it was not changed");
        }
    }
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        const int why = errno;
        const std::string reason = std::strerror(why);
        if (why == EACCES || why == EROFS || why == EPERM) {
            // The file is written beside itself: its folder must take a new file.
            throw IoError("The folder " + Describe(target.parent_path()) + " cannot be written (" + reason + "), so " +
                          Describe(target.filename()) + " cannot be replaced; it was not changed");
        }
        if (why == ENAMETOOLONG) {
            throw IoError(Describe(target) + " has a name too long to write a new copy beside it (" + reason +
                          "); it was not changed");
        }
        throw IoError("Cannot create " + Describe(temporary) + ": " + reason);
    }
    if (exists) {
        const bool kept = ::fchmod(fd, original.st_mode & 07777) == 0 &&
                          (original.st_uid == ::geteuid() && original.st_gid == ::getegid()
                               ? true
                               : ::fchown(fd, original.st_uid, original.st_gid) == 0);
        if (!kept) {
            const std::string why = SystemError();
            ::close(fd);
            throw IoError("Cannot keep the mode and owner of " + Describe(target) + ": " + why);
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    return fd;
}
#endif

}  // namespace

void AtomicReplace(const fs::path& path, std::span<const std::uint8_t> content, const FaultHook& hook) {
    const std::span<const std::uint8_t> whole[1] = {content};
    AtomicReplacePieces(path, whole, hook);
}

void AtomicReplacePieces(const fs::path& path, std::span<const std::span<const std::uint8_t>> pieces,
                         const FaultHook& hook) {
    const fs::path target = ReplacedFile(path);
    const fs::path temporary = TemporaryNameFor(target);
    auto step = [&](ReplaceStep s) {
        if (hook) hook(s, path);
    };
    std::FILE* file = nullptr;
    bool created = false;
    try {
        step(ReplaceStep::CreateTemporary);
#ifdef _WIN32
        const DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            throw IoError(Describe(target) + " is read-only; it was not changed");
        }
        if (!NameLeavesRoomToReplace(target)) {
            throw IoError(Describe(target) + " has a name too long to write a new copy beside it (File name too long); "
                          "it was not changed");
        }
        // The wide name: a narrow one goes through the ANSI code page and loses what it lacks.
        file = ::_wfopen(temporary.c_str(), L"wb");
        if (!file) throw IoError("Cannot create " + Describe(temporary) + ": " + SystemError());
#else
        const int fd = CreateTemporaryLike(target, temporary);
        created = true;
        file = ::fdopen(fd, "wb");
        if (!file) {
            ::close(fd);
            throw IoError("Cannot create " + Describe(temporary) + ": " + SystemError());
        }
#endif
        created = true;

        step(ReplaceStep::Write);
        for (const auto piece : pieces) {
            if (!piece.empty() && std::fwrite(piece.data(), 1, piece.size(), file) != piece.size()) {
                throw IoError("Cannot write " + Describe(temporary) + ": " + SystemError());
            }
        }

        step(ReplaceStep::Flush);
        if (std::fflush(file) != 0) {
            throw IoError("Cannot write " + Describe(temporary) + ": " + SystemError());
        }
#ifdef _WIN32
        _commit(_fileno(file));
#else
        if (::fsync(fileno(file)) != 0) {
            throw IoError("Cannot flush " + Describe(temporary) + ": " + SystemError());
        }
#endif
        std::FILE* closing = file;
        file = nullptr;
        const int closed = std::fclose(closing);
        if (closed != 0) throw IoError("Cannot write " + Describe(temporary));

        step(ReplaceStep::Rename);
#ifdef _WIN32
        if (!MoveFileExW(temporary.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            throw IoError("Cannot replace " + Describe(target));
        }
#else
        if (std::rename(temporary.c_str(), target.c_str()) != 0) {
            throw IoError("Cannot replace " + Describe(target) + ": " + SystemError());
        }
        created = false;
        SyncFolderOf(target);
#endif
    } catch (...) {
        if (file) std::fclose(file);
        if (created) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
        }
        throw;
    }
}

namespace {

// "<file>.<six hexadecimal digits>.tmp", the names AtomicReplace gives its temporaries.
bool IsTemporaryName(std::string_view name) {
    if (name.size() < 12 || !name.ends_with(".tmp") || name[name.size() - 11] != '.') return false;
    for (std::size_t i = name.size() - 10; i < name.size() - 4; ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (!std::isxdigit(c) || std::isupper(c)) return false;
    }
    return true;
}

}  // namespace

std::vector<PathText> RegularFilePathsIn(const fs::path& folder) {
    std::vector<PathText> files;
#ifndef _WIN32
    // The system's own listing: a large neighborhood's character folder holds ten thousand files,
    // and most listings say each one's kind without asking the file system again. Each path is
    // spelled as `folder / name` would be: a separator added unless the folder's text is empty or
    // ends with one.
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) return files;
    PathText prefix = folder.native();
    if (!prefix.empty() && prefix.back() != fs::path::preferred_separator) prefix += fs::path::preferred_separator;
    while (const dirent* item = ::readdir(listing)) {
        const std::string_view name = item->d_name;
        if (name == "." || name == "..") continue;
        PathText path = prefix;
        path += name;
        if (item->d_type != DT_REG) {
            if (item->d_type != DT_UNKNOWN && item->d_type != DT_LNK) continue;
            std::error_code error;
            if (!fs::is_regular_file(fs::path(path), error)) continue;
        }
        files.push_back(std::move(path));
    }
    ::closedir(listing);
#else
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code kind;
        if (it->is_regular_file(kind)) files.push_back(it->path().native());
    }
#endif
    return files;
}

std::vector<fs::path> RegularFilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    for (PathText& path : RegularFilePathsIn(folder)) files.emplace_back(std::move(path));
    return files;
}

std::string FileNameOf(const PathText& path) {
#ifndef _WIN32
    const std::size_t slash = path.rfind('/');
    return slash == PathText::npos ? path : path.substr(slash + 1);
#else
    return fs::path(path).filename().string();
#endif
}

const FileStamp* FileStamps::Find(const fs::path& path) const {
    const auto it = stamps_.find(path.native());
    return it == stamps_.end() ? nullptr : &it->second;
}

std::size_t RemoveLeftoverTemporaries(const fs::path& folder) {
    std::size_t removed = 0;
#ifndef _WIN32
    // Read with the system's own listing: a large neighborhood's character folder holds ten
    // thousand files, and a save looks through it each time; only a name of the pattern costs more
    // than reading it.
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) return 0;
    while (const dirent* item = ::readdir(listing)) {
        if (!IsTemporaryName(item->d_name)) continue;
        const fs::path path = folder / item->d_name;
        std::error_code ignored;
        if (fs::is_regular_file(fs::symlink_status(path, ignored)) && fs::remove(path, ignored)) ++removed;
    }
    ::closedir(listing);
#else
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (!IsTemporaryName(it->path().filename().string())) continue;
        std::error_code ignored;
        if (it->is_regular_file(ignored) && fs::remove(it->path(), ignored)) ++removed;
    }
#endif
    return removed;
}

}  // namespace qh
