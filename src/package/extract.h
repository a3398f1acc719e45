// Getting at a resource's content, and expanding whole packages.
//
// Expanding a package stores every resource uncompressed, back to back right after the header,
// in index order, and drops the compressed-resource directory (type 0xE86B1EEF): after expansion
// nothing is compressed, so the directory would only be wrong. The program never writes
// compressed data.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "package/index.h"
#include "package/resource_types.h"
#include "platform/file_io.h"
#include "platform/reporter.h"

namespace qh {

// Appends the content of `entry` (decoded when compressed) to `destination`. Returns false, after
// reporting "Decompression Error", when the decoded length differs from the declared one (the
// destination then keeps what was decoded) or the codes cannot be decoded (it keeps nothing of
// them). Stored bytes outside `source` throw FormatError.
// `listedCompressed` says the package's compressed-resource directory lists the entry: its bytes
// are then decoded whenever they carry the QFS signature, even when the declared length happens
// to equal the stored size.
bool ExtractResource(std::span<const std::uint8_t> source, const IndexEntry& entry,
                     Bytes& destination, Reporter& reporter, bool listedCompressed = false);

// The resources a package's compressed-resource directory lists: its last directory entry's
// keys (type, group, instance, and with 24-byte entries the second instance), as the expansion
// takes them. Every reader of a file asks it, so a stream is decoded or not by one rule, whether
// the program expands the package, reads one resource of it, or extracts one on the command line.
class CompressedListing {
public:
    CompressedListing() = default;
    // `entries` may be any of the package's entries (at their offsets in `package`); a directory
    // whose stored bytes lie outside it lists nothing.
    static CompressedListing Of(std::span<const std::uint8_t> package, std::span<const IndexEntry> entries,
                                std::uint32_t width);
    bool Lists(const ResourceKey& key) const;

private:
    std::vector<ResourceKey> keys_;  // sorted
};

// The content of an entry: decoded when read from a file (a stream the package's directory lists
// whenever it carries the QFS signature, see ExtractResource), as stored when read from an
// expanded image (which holds nothing compressed: content that happens to start like compressed
// data must not be decoded twice). Nothing, after "Decompression Error", when decoding fails.
std::optional<Bytes> ReadResource(std::span<const std::uint8_t> package, const IndexEntry& entry,
                                  PackageSource source, Reporter& reporter,
                                  const CompressedListing& listing = CompressedListing());

// True when the entry's stored bytes are QFS-compressed (signature and a declared length that
// differs from the entry's size).
bool IsCompressedEntry(std::span<const std::uint8_t> source, const IndexEntry& entry);

// No neighborhood the game writes comes near this once expanded; a package that claims more (index
// entries sharing one compressed stream, say) is refused rather than filling memory and disk.
inline constexpr std::size_t kExpandedImageLimit = std::size_t{512} << 20;

// What an expansion found wrong with the package's resources.
struct ExpansionFaults {
    std::vector<std::string> undecodable;  // "resource TYPE INSTANCE", each that failed to decode
    std::size_t entriesOutside = 0;        // index entries pointing past the end of the file
};

// Builds the expanded form of the package held in `file` (its bytes as read from disk).
// `entryWidth` receives the index width. Reports "Decompression List Error, Exists" for a second
// directory entry and "Decompression Error" for a resource that decodes to the wrong length (its
// decoded bytes are stored all the same, and `faults` names it). An image that would pass
// `limit` throws FormatError.
PackageImage ExpandImage(std::span<const std::uint8_t> file, Reporter& reporter,
                         std::uint32_t* entryWidth = nullptr, ExpansionFaults* faults = nullptr,
                         std::size_t limit = kExpandedImageLimit);

// Writes the expanded form of the file into `image` (emptied first); the file is not changed.
// Returns what was wrong with its resources (a package with any is read, never rewritten).
ExpansionFaults ExpandPackageToMemory(const std::filesystem::path& path, PackageImage& image,
                                      Reporter& reporter);

// Replaces the file by its expanded form, atomically. A package whose index the program cannot
// read (entries present but a width other than 20 or 24), in which a resource fails to decode, or
// whose index has entries pointing past the end of the file, is refused with FormatError and left
// as it was: rewriting it would make the damage (or the loss of those entries) permanent. Returns the expanded image, which is what
// the file now holds.
PackageImage ExpandPackage(const std::filesystem::path& path, Reporter& reporter,
                   const FaultHook& hook = {});

// The same for the file's bytes already read: nothing when they are already their own expanded
// image (the file is left alone; `index`, when given, then receives the index the check read),
// else the expanded image, which the file now holds.
std::optional<PackageImage> ExpandPackageRead(std::span<const std::uint8_t> file, const std::filesystem::path& path,
                                              Reporter& reporter, const FaultHook& hook = {},
                                              PackageIndex* index = nullptr);

// The expanded image for a file already read, with the same refusal as ExpandPackage.
PackageImage ExpandForRewrite(std::span<const std::uint8_t> file,
                              const std::filesystem::path& path, Reporter& reporter);

}  // namespace qh
