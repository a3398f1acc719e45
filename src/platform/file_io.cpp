#include "platform/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

#include "platform/errors.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace qh {
namespace fs = std::filesystem;

namespace {

std::string Describe(const fs::path& path) { return "\"" + path.string() + "\""; }

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
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
#endif

}  // namespace

FileStamp StampOf(const fs::path& path) {
    std::error_code error;
    FileStamp stamp;
    stamp.size = fs::file_size(path, error);
    if (error) stamp.size = 0;
    stamp.modified = fs::last_write_time(path, error);
    return stamp;
}

Bytes ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw IoError("Cannot open " + Describe(path) + " for reading");
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    if (length < 0) throw IoError("Cannot read " + Describe(path));
    in.seekg(0, std::ios::beg);
    Bytes bytes(static_cast<std::size_t>(length));
    if (length > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), length)) {
        throw IoError("Cannot read " + Describe(path));
    }
    return bytes;
}

void AtomicReplace(const fs::path& path, std::span<const std::uint8_t> content,
                   const FaultHook& hook) {
    const fs::path temporary = TemporaryNameFor(path);
    auto step = [&](ReplaceStep s) {
        if (hook) hook(s, path);
    };
    std::FILE* file = nullptr;
    try {
        step(ReplaceStep::CreateTemporary);
        file = std::fopen(temporary.string().c_str(), "wb");
        if (!file) throw IoError("Cannot create " + Describe(temporary) + ": " + SystemError());

        step(ReplaceStep::Write);
        if (!content.empty() &&
            std::fwrite(content.data(), 1, content.size(), file) != content.size()) {
            throw IoError("Cannot write " + Describe(temporary) + ": " + SystemError());
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
        const int closed = std::fclose(file);
        file = nullptr;
        if (closed != 0) throw IoError("Cannot write " + Describe(temporary));

        step(ReplaceStep::Rename);
#ifdef _WIN32
        if (!MoveFileExW(temporary.c_str(), path.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            throw IoError("Cannot replace " + Describe(path));
        }
#else
        if (std::rename(temporary.c_str(), path.c_str()) != 0) {
            throw IoError("Cannot replace " + Describe(path) + ": " + SystemError());
        }
        SyncFolderOf(path);
#endif
    } catch (...) {
        if (file) std::fclose(file);
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw;
    }
}

}  // namespace qh
