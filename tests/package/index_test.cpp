#include "package/index.h"

#include <gtest/gtest.h>

#include "fixture/package_builder.h"
#include "package/byte_reader.h"
#include "platform/errors.h"
#include "support/temp_dir.h"

namespace qh {
namespace {

using fixture::Key;
using fixture::PackageBuilder;

Bytes HeaderOnly(std::uint32_t count, std::uint32_t offset, std::uint32_t size, std::size_t total) {
    Bytes bytes(std::max<std::size_t>(total, kHeaderSize), 0);
    StoreU32(bytes, kEntryCountOffset, count);
    StoreU32(bytes, kIndexOffsetOffset, offset);
    StoreU32(bytes, kIndexSizeOffset, size);
    return bytes;
}

TEST(ReadIndex, WidthComesFromSizeOverCount) {
    std::vector<IndexEntry> entries{IndexEntry{}};  // emptied first
    EXPECT_EQ(ReadIndex(HeaderOnly(0, 96, 72, 200), PackageSource::File, entries), 0u);
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(ReadIndex(HeaderOnly(3, 96, 0, 200), PackageSource::File, entries), 0u);
    EXPECT_EQ(ReadIndex(HeaderOnly(3, 96, 84, 200), PackageSource::File, entries), 28u);
    EXPECT_TRUE(entries.empty());
}

TEST(ReadIndex, ReadsBothWidths) {
    for (std::uint32_t width : {20u, 24u}) {
        PackageBuilder builder(width);
        builder.Add(Key(0xAACE2EFB, 1, 0xFFFFFFFF, 7), "alpha")
            .Add(Key(0x43545353, 2), "beta")
            .Add(Key(0x53545223, 3), "gamma");
        const Bytes package = builder.Build();
        std::vector<IndexEntry> entries;
        ASSERT_EQ(ReadIndex(package, PackageSource::File, entries), width);
        ASSERT_EQ(entries.size(), 3u);
        EXPECT_EQ(entries[0].key.typeId, 0xAACE2EFBu);
        EXPECT_EQ(entries[0].key.instance2Id, width == 24 ? 7u : 0u);
        EXPECT_EQ(entries[1].key.instanceId, 2u);
        EXPECT_EQ(entries[2].offset, kHeaderSize + 9);
        EXPECT_EQ(entries[2].size, 5u);
    }
}

TEST(ReadIndex, FileDropsEntriesAtOrPastTheEndButImageKeepsThem) {
    PackageBuilder builder;
    builder.Add(Key(1, 1), "x").Add(Key(2, 2), "y");
    Bytes package = builder.Build();
    const auto indexOffset = ByteReader(package).ReadU32(kIndexOffsetOffset);
    const auto length = static_cast<std::uint32_t>(package.size());
    StoreU32(package, indexOffset + 16, length);       // first entry's offset = file length
    StoreU32(package, indexOffset + 24 + 16, length - 1);  // second one byte before the end

    std::vector<IndexEntry> entries;
    ReadIndex(package, PackageSource::File, entries);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].key.typeId, 2u);
    ReadIndex(package, PackageSource::Image, entries);
    EXPECT_EQ(entries.size(), 2u);
}

TEST(ReadIndex, TruncatedHeaderOrIndexThrows) {
    std::vector<IndexEntry> entries;
    EXPECT_THROW(ReadIndex(Bytes(30, 0), PackageSource::File, entries), FormatError);
    // Claims four billion 24-byte entries: refused before anything is allocated.
    EXPECT_THROW(ReadIndex(HeaderOnly(0x08000000, 96, 0xC0000000, 200), PackageSource::File, entries),
                 FormatError);
    Bytes package = PackageBuilder().Add(Key(1, 1), "abc").Build();
    package.resize(package.size() - 1);
    try {
        ReadIndex(package, PackageSource::File, entries);
        FAIL() << "expected FormatError";
    } catch (const FormatError& error) {
        EXPECT_NE(std::string(error.what()).find("index"), std::string::npos) << error.what();
    }
}

// A size that is not a whole number of entries. Thirty 24-byte entries under a count of 29 divide
// to a width of 24: read as such, the last entry would be lost and a save would drop its resource.
// Refused instead, in the whole-file reader and in the excerpt the catalogue reads.
TEST(ReadIndex, ASizeThatIsNotAWholeNumberOfEntriesIsAnIndexError) {
    test::TempDir dir;
    PackageBuilder builder(24);
    for (std::uint32_t i = 0; i < 30; ++i) builder.Add(Key(i + 1, i), "x");
    const Bytes whole = builder.Build();
    std::vector<IndexEntry> entries;
    ASSERT_EQ(ReadIndex(whole, PackageSource::File, entries), 24u);
    ASSERT_EQ(entries.size(), 30u);
    for (const auto& [count, size] : {std::pair{29u, 720u}, std::pair{30u, 721u}, std::pair{30u, 719u + 30u}}) {
        Bytes package = whole;
        StoreU32(package, kEntryCountOffset, count);
        StoreU32(package, kIndexSizeOffset, size);
        EXPECT_THROW(ReadIndex(package, PackageSource::File, entries), FormatError) << count << " in " << size;
        const auto path = dir / "odd.package";
        AtomicReplace(path, package);
        EXPECT_THROW(ReadPackageExcerpt(path, [](const IndexEntry&) { return true; }, 100), FormatError) << size;
    }
}

TEST(ReadHexBytes, ReversedReadsLittleEndianValues) {
    const Bytes bytes{0xFB, 0x2E, 0xCE, 0xAA, 0x00, 0x01, 0x2C};
    EXPECT_EQ(ReadHexBytes(bytes, 0, 4, true), "AACE2EFB");
    EXPECT_EQ(ReadHexBytes(bytes, 4, 3, false), "00012C");
    EXPECT_EQ(HexId(0xCBE750E0), "CBE750E0");
    EXPECT_THROW(ReadHexBytes(bytes, 5, 3, false), FormatError);
}

TEST(WriteChecked, WritesVerifiesAndRefusesOutOfRange) {
    Bytes bytes{1, 2, 3, 4, 5};
    EXPECT_TRUE(WriteChecked(bytes, 0x04030201, 0, 4));
    EXPECT_EQ(bytes, (Bytes{1, 2, 3, 4, 5}));
    EXPECT_TRUE(WriteChecked(bytes, 0xAABB, 3, 2));
    EXPECT_EQ(bytes, (Bytes{1, 2, 3, 0xBB, 0xAA}));
    EXPECT_TRUE(WriteChecked(bytes, 0x1FF, 0, 1));  // only the low byte counts
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_FALSE(WriteChecked(bytes, 7, 3, 4));
    EXPECT_FALSE(WriteChecked(bytes, 7, 0, 5));
    EXPECT_FALSE(WriteChecked(bytes, 7, static_cast<std::size_t>(-1), 2));
}

TEST(ReadPackageExcerpt, ReadsTheIndexAndOnlyThePickedResources) {
    test::TempDir dir;
    fixture::PackageBuilder builder;
    builder.Add(fixture::Key(0x43545353, 1), std::string("names"));
    builder.Add(fixture::Key(7, 1), std::string(200000, 'x'));  // never read
    builder.Add(fixture::Key(0x43545353, 2), std::string("second names"));
    Bytes package = builder.Build();
    const auto path = dir.Write("N001_Neighborhood.package", package);
    std::vector<IndexEntry> whole;
    ASSERT_EQ(ReadIndex(package, PackageSource::File, whole), 24u);

    const PackageExcerpt excerpt =
        ReadPackageExcerpt(path, [](const IndexEntry& e) { return e.key.typeId == 0x43545353; }, 100);
    EXPECT_EQ(excerpt.width, 24u);
    EXPECT_EQ(excerpt.entries, whole);  // the index as read from the whole file
    ASSERT_EQ(excerpt.picked.size(), 2u);
    EXPECT_EQ(std::string(excerpt.bytes.begin(), excerpt.bytes.end()), "namessecond names");
    EXPECT_EQ(excerpt.picked[1].offset, 5u);
    // A wanted resource larger than the limit is left out.
    EXPECT_TRUE(ReadPackageExcerpt(path, [](const IndexEntry& e) { return e.key.typeId == 7; }, 100).picked.empty());
    // An index cut short is a FormatError, as it is for ReadIndex.
    package.resize(package.size() - 10);
    dir.Write("N001_Neighborhood.package", package);
    EXPECT_THROW(ReadPackageExcerpt(path, [](const IndexEntry&) { return true; }, 100), FormatError);
}

}  // namespace
}  // namespace qh
