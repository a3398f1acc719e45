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

// What a writer did with one entry. A kept entry's size becomes the number of bytes the writer
// appended, which covers every outcome: a copy (the stored bytes), a copy patched in place, a
// replacement (fresh bytes), and a copy with a change of length. A dropped entry leaves the index
// and anything appended for it is discarded.
enum class EntryOutcome { Keep, Drop };

// Called for each entry in index order with the entry's stored (uncompressed) bytes and the image
// so far; the entry's offset is already the image length. The writer appends what the entry
// becomes. A writer that cannot rebuild an entry should copy it rather than drop it.
using EntryWriter = std::function<EntryOutcome(const IndexEntry& entry,
                                               std::span<const std::uint8_t> stored,
                                               PackageImage& image)>;

// Called once after the walk to append new resources: append the bytes to `image` and call
// `add(key)` right after each one.
class ResourceAppender {
public:
    ResourceAppender(PackageImage& image, std::vector<IndexEntry>& entries)
        : image_(image), entries_(entries) {}
    PackageImage& image() { return image_; }
    // Appends a resource with the given content and key at the end of the image and index.
    void Append(const ResourceKey& key, std::span<const std::uint8_t> content);

private:
    PackageImage& image_;
    std::vector<IndexEntry>& entries_;
};
using Appender = std::function<void(ResourceAppender& appender)>;

// The writer that copies every entry unchanged.
EntryOutcome CopyEntry(const IndexEntry& entry, std::span<const std::uint8_t> stored,
                       PackageImage& image);

// Builds the rebuilt image from an expanded package's bytes. Header bytes other than 36 to 59
// are kept; the entry width (20 or 24) is kept, so appended entries of a 20-byte index lose
// their second instance id.
PackageImage RebuildImage(std::span<const std::uint8_t> expanded, const EntryWriter& writer,
                          const Appender& appender = {});

struct RebuildOptions {
    FaultHook hook;  // passed to each atomic replace (tests simulate failures with it)
    // The file as the caller last saw it: if anything else changed it since, or changes it while
    // it is being rebuilt, nothing more is written and IoError names it.
    std::optional<FileStamp> expected;
    // Told the number of index entries once the package is expanded, before the walk.
    std::function<void(std::size_t entries)> onExpanded;
};

// Expands the file in place, rebuilds it and writes the result over it. An error after the
// expansion leaves the file in its expanded form, which the game and the program still read.
void RebuildPackage(const std::filesystem::path& path, const EntryWriter& writer,
                    const Appender& appender, Reporter& reporter,
                    const RebuildOptions& options = {});

}  // namespace qh
