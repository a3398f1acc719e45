// Rebuilding a package resource by resource.
//
// A package is changed by rebuilding it whole: the file is first expanded in place (so every
// resource is stored uncompressed and the expanded file is itself a valid package), then each
// index entry is handed to a writer that decides what the entry becomes, new resources may be
// appended, and the new image replaces the file in one atomic write.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "package/index.h"
#include "platform/file_io.h"
#include "platform/reporter.h"

namespace qh {

// What a writer did with one entry. A kept entry becomes the bytes the writer appended, which
// covers a copy patched in place, a replacement, and a copy with a change of length; bytes that
// come out the same as the stored ones are carried from the file like a copy. A copied entry is
// carried as it is stored (anything appended for it is discarded), without passing through the
// writer's buffer. A dropped entry leaves the index and anything appended for it is discarded.
enum class EntryOutcome { Keep, Copy, Drop };

// Called for each entry in index order with the entry's stored (uncompressed) bytes and the
// buffer of bytes the writers made so far; the entry's offset is already where it will stand in
// the new file. The writer appends what the entry becomes, or returns Copy. A writer that cannot
// rebuild an entry should copy it rather than drop it.
using EntryWriter = std::function<EntryOutcome(const IndexEntry& entry,
                                               std::span<const std::uint8_t> stored,
                                               PackageImage& image)>;

// A rebuilt package as the pieces of its file in order: runs of the expanded file's bytes that
// are carried as they are, and the bytes the writers made (with the header and the index). A
// save of one change in a large neighborhood writes tens of megabytes of which almost all are
// carried, so they are written straight from the file's image rather than copied into another.
class RebuiltPackage {
public:
    explicit RebuiltPackage(std::span<const std::uint8_t> source) : source_(source) {}
    // Where the next byte will stand in the new file.
    std::size_t size() const { return size_; }
    PackageImage& made() { return made_; }
    // Adds the bytes of `made()` from `start` to its end, or a run of the source.
    void AddMade(std::size_t start);
    void AddCarried(std::span<const std::uint8_t> run);
    // The file's bytes, in order; valid while the source and this object live unchanged.
    std::vector<std::span<const std::uint8_t>> Pieces() const;
    PackageImage Joined() const;

private:
    struct Piece {
        bool made = false;
        std::size_t offset = 0;  // in the source or in made_
        std::size_t length = 0;
    };
    void Add(bool made, std::size_t offset, std::size_t length);
    std::span<const std::uint8_t> source_;
    PackageImage made_;
    std::vector<Piece> pieces_;
    std::size_t size_ = 0;
};

// The new index as it is made: its bytes, laid out as they go into the file, and its count.
struct NewIndex {
    PackageImage bytes;
    std::size_t count = 0;
    std::uint32_t width = 24;  // 20 or 24
    void Add(const IndexEntry& entry);
};

// Called once after the walk to append new resources at the end of the package.
class ResourceAppender {
public:
    ResourceAppender(RebuiltPackage& package, NewIndex& index) : package_(package), index_(index) {}
    // Appends a resource with the given content and key at the end of the package and index.
    void Append(const ResourceKey& key, std::span<const std::uint8_t> content);

private:
    RebuiltPackage& package_;
    NewIndex& index_;
};
using Appender = std::function<void(ResourceAppender& appender)>;

// The writer that carries every entry unchanged.
EntryOutcome CopyEntry(const IndexEntry& entry, std::span<const std::uint8_t> stored,
                       PackageImage& image);

// Rebuilds an expanded package's bytes. Header bytes other than 36 to 59 are kept; the entry
// width (20 or 24) is kept, so appended entries of a 20-byte index lose their second instance id.
// The result refers to `expanded`, which must outlive it. `index`, when given, is the index
// already read from `expanded`, so it is not read again.
RebuiltPackage RebuildPieces(std::span<const std::uint8_t> expanded, const EntryWriter& writer,
                             const Appender& appender = {}, const PackageIndex* index = nullptr);
// The same, as one image.
PackageImage RebuildImage(std::span<const std::uint8_t> expanded, const EntryWriter& writer,
                          const Appender& appender = {});

struct RebuildOptions {
    FaultHook hook;  // passed to each atomic replace (tests simulate failures with it)
    // The file as the caller last saw it: if anything else changed it since, or changes it while
    // it is being rebuilt, nothing more is written and IoError names it.
    std::optional<FileStamp> expected;
    // Told the number of index entries once the package is expanded, before the walk.
    std::function<void(std::size_t entries)> onExpanded;
    // Called after the walk, before the new package is written.
    std::function<void()> onWalked;
};

// Expands the file in place, rebuilds it and writes the result over it. An error after the
// expansion leaves the file in its expanded form, which the game and the program still read.
void RebuildPackage(const std::filesystem::path& path, const EntryWriter& writer,
                    const Appender& appender, Reporter& reporter,
                    const RebuildOptions& options = {});

}  // namespace qh
