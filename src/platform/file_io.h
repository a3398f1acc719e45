// Reading whole files and replacing them atomically.
//
// Every file the program rewrites goes through AtomicReplace: the new content is written to a
// temporary file in the same folder, flushed to disk, and renamed over the original. Whatever
// happens meanwhile (a full disk, a crash, the power going off), the original is either left as
// it was or replaced by the complete new content, never by half of it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/errors.h"

namespace qh {

using Bytes = std::vector<std::uint8_t>;

// What a file looked like at one moment: a later difference means something rewrote it.
struct FileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
// The file's size and modification time now (zero for a file that is not there).
FileStamp StampOf(const std::filesystem::path& path);

// Runs `read` on the file with its stamp taken before and compared after, so a file that another
// program replaced while it was being read is noticed: it is read once more, and if it changed
// again IoError names it. Returns the stamp the bytes that were read belong to.
template <typename Read>
FileStamp ReadSteadily(const std::filesystem::path& path, Read&& read);

// A path as the system spells it. Ten thousand std::filesystem::path objects, each taken apart
// into its components when it is made, cost a large neighborhood's load more than reading the
// files themselves: where a path is only opened and remembered, its text is enough.
using PathText = std::filesystem::path::string_type;

// The regular files directly in `folder` (links to them included), in no particular order; none
// when the folder cannot be read. Each is `folder / name`, spelled as that path would be.
std::vector<std::filesystem::path> RegularFilesIn(const std::filesystem::path& folder);
std::vector<PathText> RegularFilePathsIn(const std::filesystem::path& folder);

// The last component of a path's text (the file's name), as RegularFilePathsIn spells paths.
std::string FileNameOf(const PathText& path);

// What each file looked like when it was read, by the text of its path: a path spelled otherwise
// (another separator, a folder named twice) is another file here.
class FileStamps {
public:
    const FileStamp* Find(const std::filesystem::path& path) const;
    void Set(const std::filesystem::path& path, const FileStamp& stamp) { stamps_[path.native()] = stamp; }
    void Set(PathText path, const FileStamp& stamp) { stamps_[std::move(path)] = stamp; }
    void Erase(const std::filesystem::path& path) { stamps_.erase(path.native()); }
    bool empty() const { return stamps_.empty(); }
    std::size_t size() const { return stamps_.size(); }

private:
    std::unordered_map<PathText, FileStamp> stamps_;
};

// Removes the temporaries a replace left in the folder when it was killed before its rename
// (only names of AtomicReplace's own pattern). Returns how many.
std::size_t RemoveLeftoverTemporaries(const std::filesystem::path& folder);

// Flushes a file's or a folder's contents (a folder's: its entries) to disk, so that what a later
// rename publishes is there after a crash or a power cut. Throws IoError naming it.
void FlushToDisk(const std::filesystem::path& fileOrFolder);

// Flushes everything below `folder` (its files, its folders' entries) and the folder's own entry in
// its parent. On Linux one flush of the file system holding it (`syncfs`), which costs what one
// `sync` does however many files were written; elsewhere each file and folder in turn. Throws
// IoError naming what could not be flushed.
void FlushTreeToDisk(const std::filesystem::path& folder);

// Writes a file that must not exist yet (a copy into a folder nobody sees before it is renamed
// into place). Throws std::filesystem::filesystem_error with the system's error (a full disk is
// std::errc::no_space_on_device); a file left half written is removed.
void WriteNewFile(const std::filesystem::path& path, std::span<const std::uint8_t> content);

// Why the file or folder cannot be removed from where it lies, as far as can be told without
// trying: the folder holding it, or a folder inside it, cannot be written. Empty when nothing
// stands in the way that can be seen.
std::string WhyNotRemovable(const std::filesystem::path& item);

// Reads a whole file (opened read-only). Throws IoError naming the file.
Bytes ReadFileBytes(const std::filesystem::path& path);

// A whole file's bytes in memory that was never filled with zeros first: for a package that is
// read only to be walked and written again, where clearing tens of megabytes before the read
// overwrites them costs more than the read.
class FileBuffer {
public:
    FileBuffer() = default;
    std::span<const std::uint8_t> Span() const { return {data_.get(), size_}; }
    std::size_t size() const { return size_; }

private:
    friend FileBuffer ReadFileBuffer(const std::filesystem::path& path);
    friend FileBuffer ReadFileBufferSteadily(const PathText& path, FileStamp& stamp,
                                             const std::function<void()>& afterRead);
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t size_ = 0;
};
// The same reading as ReadFileBytes, into such a buffer.
FileBuffer ReadFileBuffer(const std::filesystem::path& path);
// The same, stamped as ReadSteadily stamps a read, but through the one open file: its stamp is
// taken from it before and after the read, which spares two look-ups of the path for each of ten
// thousand files. A file written to while it was read is read once more, and if it changed again
// IoError names it; a file replaced by another meanwhile is read whole as it was, and `stamp` is
// that of the bytes read (which then differs from the new file's, as a save will notice).
// `afterRead` runs between the read and the stamp after it (for tests).
FileBuffer ReadFileBufferSteadily(const PathText& path, FileStamp& stamp, const std::function<void()>& afterRead = {});
inline FileBuffer ReadFileBufferSteadily(const std::filesystem::path& path, FileStamp& stamp,
                                         const std::function<void()>& afterRead = {}) {
    return ReadFileBufferSteadily(path.native(), stamp, afterRead);
}

// Whether AtomicReplace can write the file: its temporary copy is named as the file and 11
// characters more, which must fit the 255 bytes a file name may have.
bool NameLeavesRoomToReplace(const std::filesystem::path& path);

// The steps of an atomic replace, in order. A fault hook sees each step before it is taken and
// may throw to simulate a failure there; tests use it to prove that nothing is half written.
enum class ReplaceStep { CreateTemporary, Write, Flush, Rename };

using FaultHook = std::function<void(ReplaceStep step, const std::filesystem::path& target)>;

// Replaces (or creates) `path` with `content` as described above. On failure the temporary file
// is removed, the original is untouched, and IoError naming the file is thrown. The new file keeps
// the old one's mode and owner; a read-only file, or one whose owner cannot be kept, is refused;
// a symbolic link keeps being a link and its target receives the content.
void AtomicReplace(const std::filesystem::path& path, std::span<const std::uint8_t> content,
                   const FaultHook& hook = {});
// The same with the content given as pieces written one after another.
void AtomicReplacePieces(const std::filesystem::path& path,
                         std::span<const std::span<const std::uint8_t>> pieces,
                         const FaultHook& hook = {});

template <typename Read>
FileStamp ReadSteadily(const std::filesystem::path& path, Read&& read) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        const FileStamp before = StampOf(path);
        read();
        if (StampOf(path) == before) return before;
    }
    throw IoError(path.filename().string() + " changed while it was being read (is the game running?)");
}

}  // namespace qh
