// The package container's header and index.
//
// A package starts with a 96-byte header. The program reads only the three fields that locate the
// index (entry count at 36, index offset at 40, index size at 44) and on rebuild writes those and
// the three hole-index fields (48, 52, 56); every other header byte is carried through unchanged.
// All integers are little-endian.
#pragma once

#include <cstdint>
#include <functional>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "package/guid.h"
#include "platform/file_io.h"

namespace qh {

inline constexpr std::size_t kHeaderSize = 96;
inline constexpr std::size_t kEntryCountOffset = 36;
inline constexpr std::size_t kIndexOffsetOffset = 40;
inline constexpr std::size_t kIndexSizeOffset = 44;
inline constexpr std::size_t kHoleCountOffset = 48;
inline constexpr std::size_t kHoleOffsetOffset = 52;
inline constexpr std::size_t kHoleSizeOffset = 56;

// A whole package held in memory: header, resource data, index.
using PackageImage = Bytes;

struct ResourceKey {
    std::uint32_t typeId = 0;
    std::uint32_t groupId = 0;
    std::uint32_t instanceId = 0;
    std::uint32_t instance2Id = 0;  // 0 for 20-byte index entries

    friend bool operator==(const ResourceKey&, const ResourceKey&) = default;
};

struct IndexEntry {
    ResourceKey key;
    std::uint32_t offset = 0;  // position of the stored bytes in the package or its image
    std::uint32_t size = 0;    // number of stored bytes (the compressed length if compressed)

    friend bool operator==(const IndexEntry&, const IndexEntry&) = default;
};

// Where the bytes given to ReadIndex come from. An index read from a file drops entries whose
// offset is at or beyond the end of the file (the game leaves such stale entries behind); an image
// built by the program itself keeps every entry.
enum class PackageSource { File, Image };

// Reads the index into `entries` (emptied first) and returns the entry width: the index size
// divided by the entry count, 0 when either is 0. Only widths 20 and 24 are understood; any other
// width yields an empty list but is still returned (callers treat only 0 as an index error).
// A truncated header or index, and an index size that is not a whole number of 20- or 24-byte
// entries, throw FormatError.
std::uint32_t ReadIndex(std::span<const std::uint8_t> package, PackageSource source,
                        std::vector<IndexEntry>& entries);

// An index as ReadIndex reads it, with its width.
struct PackageIndex {
    std::vector<IndexEntry> entries;
    std::uint32_t width = 0;
};

// A package read in part: its index, as ReadIndex reads it from the whole file, and the stored
// bytes of the entries `wanted` picks (at most `limit` bytes each), packed into `bytes` with the
// picked entries' offsets pointing there. The rest of the file is never read, so listing the
// neighborhoods costs the same for a small package and a huge one. Throws IoError when the file
// cannot be read, FormatError when its header or index is cut short.
struct PackageExcerpt {
    std::uint32_t width = 0;           // ReadIndex's result: 0, or not 20 or 24, for no usable index
    std::vector<IndexEntry> entries;   // every entry, at its offset in the file
    std::vector<IndexEntry> picked;    // the wanted ones, at their offset in `bytes`
    std::vector<std::uint8_t> bytes;
};
PackageExcerpt ReadPackageExcerpt(const std::filesystem::path& path,
                                  const std::function<bool(const IndexEntry&)>& wanted, std::size_t limit);

// Renders `count` bytes at `position` as upper-case hexadecimal. With `reversed`, each byte's
// digits go in front of the text so far, so a little-endian u32 reads as its value ("CBE750E0"
// for E0 50 E7 CB); without, digits follow byte order.
std::string ReadHexBytes(std::span<const std::uint8_t> bytes, std::size_t position,
                         std::size_t count, bool reversed);

// Writes the low `width` bytes (at most 4) of `value` at `position` unless they already hold it,
// then verifies by reading them back. Returns false instead of throwing when the position is out
// of range or the width is not 1 to 4.
bool WriteChecked(std::span<std::uint8_t> bytes, std::uint32_t value, std::size_t position,
                  int width);

// Appends the index for `entries` in the given width (20 omits the second instance id).
void AppendIndex(PackageImage& image, const std::vector<IndexEntry>& entries,
                 std::uint32_t entryWidth);
// Appends one entry so.
void AppendIndexEntry(PackageImage& image, const IndexEntry& entry, std::uint32_t entryWidth);

// Sets the header's index fields for an index of `count` entries at `indexOffset` (and an empty
// hole index). Throws FormatError when the header is short or the offset passes 4 GiB.
void SetIndexFields(std::span<std::uint8_t> header, std::size_t indexOffset, std::size_t count,
                    std::uint32_t entryWidth);

// Ends a package image whose resources are all in place: sets the index offset to the image's
// end, appends the index, and sets the entry count, the index size and an empty hole index.
// Throws FormatError when the header cannot be patched or the image passes 4 GiB.
void FinishPackageImage(PackageImage& image, const std::vector<IndexEntry>& entries,
                        std::uint32_t entryWidth);

}  // namespace qh
