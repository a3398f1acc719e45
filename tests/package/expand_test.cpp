#include <gtest/gtest.h>

#include "fixture/package_builder.h"
#include "package/byte_reader.h"
#include "package/extract.h"
#include "platform/errors.h"
#include "support/temp_dir.h"

namespace qh {
namespace {

using fixture::Key;
using fixture::PackageBuilder;

std::string Text(std::size_t n, char seed) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>(seed + (i * i / 7) % 5);
    return s;
}

PackageBuilder Sample(std::uint32_t width = 24) {
    PackageBuilder builder(width);
    builder.Add(Key(0xAACE2EFB, 1), Text(400, 'a'), true)
        .Add(Key(0x43545353, 2), "plain text list")
        .AddHole(32)
        .Add(Key(0x4E474248, 3), Text(2000, 'k'), true)
        .AddDirectory();
    return builder;
}

struct Contents {
    std::vector<IndexEntry> entries;
    std::vector<std::string> content;
};

Contents Read(const Bytes& package, PackageSource source) {
    Contents c;
    ReadIndex(package, source, c.entries);
    SilentReporter reporter;
    for (const auto& e : c.entries) {
        Bytes out;
        ExtractResource(package, e, out, reporter);
        c.content.emplace_back(out.begin(), out.end());
    }
    return c;
}

TEST(ExpandImage, StoresEverythingUncompressedBackToBackWithoutTheDirectory) {
    const Bytes original = Sample().Build();
    RecordingReporter reporter;
    const PackageImage image = ExpandImage(original, reporter);
    EXPECT_TRUE(reporter.messages.empty());

    const Contents before = Read(original, PackageSource::File);
    const Contents after = Read(image, PackageSource::Image);
    ASSERT_EQ(before.entries.size(), 4u);
    ASSERT_EQ(after.entries.size(), 3u);
    EXPECT_EQ(ByteReader(image).ReadU32(kEntryCountOffset), 3u);
    EXPECT_EQ(ByteReader(image).ReadU32(kIndexSizeOffset), 72u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(after.entries[i].key, before.entries[i].key);
        EXPECT_EQ(after.content[i], before.content[i]);
        EXPECT_FALSE(IsCompressedEntry(image, after.entries[i]));
    }
    EXPECT_EQ(after.entries[0].offset, kHeaderSize);
    EXPECT_EQ(after.entries[1].offset, after.entries[0].offset + after.entries[0].size);
    EXPECT_EQ(after.entries[2].offset, after.entries[1].offset + after.entries[1].size);
    const ByteReader header(image);
    EXPECT_EQ(header.ReadU32(kIndexOffsetOffset), after.entries[2].offset + after.entries[2].size);
    EXPECT_EQ(header.ReadU32(kHoleCountOffset), 0u);
    EXPECT_EQ(header.ReadU32(kHoleOffsetOffset), 0u);
    EXPECT_EQ(header.ReadU32(kHoleSizeOffset), 0u);
    // Header bytes the program does not own are carried through.
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 36, original.begin()));
    EXPECT_TRUE(std::equal(image.begin() + 60, image.begin() + 96, original.begin() + 60));
}

TEST(ExpandImage, IsStableAndKeepsEveryEntryWithoutADirectory) {
    PackageBuilder builder(20);
    builder.Add(Key(1, 1), Text(300, 'q'), true).Add(Key(2, 2), "two");
    const Bytes original = builder.Build();
    SilentReporter reporter;
    const PackageImage once = ExpandImage(original, reporter);
    EXPECT_EQ(ByteReader(once).ReadU32(kEntryCountOffset), 2u);
    EXPECT_EQ(ByteReader(once).ReadU32(kIndexSizeOffset), 40u);
    EXPECT_EQ(ExpandImage(once, reporter), once);
}

TEST(ExpandImage, SecondDirectoryIsReportedAndLeftOut) {
    PackageBuilder builder;
    builder.Add(Key(5, 4), Text(300, 'd'), true).AddDirectory().Add(Key(5, 5), Text(500, 'c'), true).AddDirectory();
    RecordingReporter reporter;
    const PackageImage image = ExpandImage(builder.Build(), reporter);
    EXPECT_EQ(reporter.Texts(), std::vector<std::string>{"Decompression List Error, Exists"});
    std::vector<IndexEntry> entries;
    ReadIndex(image, PackageSource::Image, entries);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].key.instanceId, 5u);
    // Its bytes are left out too: the expanded file is packed, and expanding it again changes
    // nothing.
    EXPECT_EQ(entries[1].offset, entries[0].offset + entries[0].size);
    SilentReporter quiet;
    EXPECT_EQ(ExpandImage(image, quiet), image);
}

TEST(ExpandImage, AStreamAsLongAsItsContentIsDecodedOnlyWhereTheDirectoryListsIt) {
    // 18 stored bytes: the compressed size, the QFS signature 10 FB, a decoded length of 18
    // (24-bit, high byte first), then codes making 18 bytes: "ABCD" as literals (E0), ten bytes
    // copied from four back (1C 03), four more from four back (04 03). A length equal to the stored
    // size says "not compressed" unless the directory lists the resource.
    const std::string stream{18, 0, 0, 0, 0x10, static_cast<char>(0xFB), 0, 0, 18,
                             static_cast<char>(0xE0), 'A', 'B', 'C', 'D', 0x1C, 0x03, 0x04, 0x03};
    ASSERT_EQ(stream.size(), 18u);
    for (const std::uint32_t width : {20u, 24u}) {
        // The directory lists (7, 1) only; its record is the key, then the decoded size.
        Bytes directory;
        for (const std::uint32_t word : {7u, 0xFFFFFFFFu, 1u}) {
            for (int shift = 0; shift < 32; shift += 8) directory.push_back(static_cast<std::uint8_t>(word >> shift));
        }
        if (width == 24) directory.insert(directory.end(), 4, 0);
        directory.insert(directory.end(), {18, 0, 0, 0});
        PackageBuilder builder(width);
        builder.Add(Key(7, 2), stream).Add(Key(7, 1), stream).Add(Key(0xE86B1EEF, 0x286B1F03, 0xE86B1EEF), directory);
        RecordingReporter reporter;
        const Contents expanded = Read(ExpandImage(builder.Build(), reporter), PackageSource::Image);
        EXPECT_TRUE(reporter.messages.empty()) << width;
        ASSERT_EQ(expanded.entries.size(), 2u) << width;
        EXPECT_EQ(expanded.content[0], stream) << "unlisted: stored as it is, " << width;
        EXPECT_EQ(expanded.content[1], "ABCDABCDABCDABCDAB") << "listed: decoded, " << width;
    }
}

TEST(ExpandPackage, ReplacesTheFileAndLeavesAnExpandedOneAlone) {
    test::TempDir dir;
    const auto path = dir.Write("N001_Neighborhood.package", Sample().Build());
    SilentReporter reporter;
    PackageImage inMemory;
    ExpandPackageToMemory(path, inMemory, reporter);
    EXPECT_EQ(ReadFileBytes(path), Sample().Build());  // to memory: file unchanged

    ExpandPackage(path, reporter);
    EXPECT_EQ(ReadFileBytes(path), inMemory);
    const auto time = std::filesystem::last_write_time(path);
    ExpandPackage(path, reporter);
    EXPECT_EQ(std::filesystem::last_write_time(path), time);
}

TEST(ExpandPackage, RefusesAnIndexItCannotReadAndLeavesTheFile) {
    test::TempDir dir;
    Bytes package = Sample().Build();
    StoreU32(package, kIndexSizeOffset, 4 * 28);  // four entries of 28 bytes
    const auto path = dir.Write("odd.package", package);
    SilentReporter reporter;
    try {
        ExpandPackage(path, reporter);
        FAIL() << "expected FormatError";
    } catch (const FormatError& error) {
        EXPECT_NE(std::string(error.what()).find("odd.package"), std::string::npos);
    }
    EXPECT_EQ(ReadFileBytes(path), package);
    // In memory the image simply has no entries, which its reader treats as an index error.
    PackageImage image;
    ExpandPackageToMemory(path, image, reporter);
    std::vector<IndexEntry> entries;
    EXPECT_EQ(ReadIndex(image, PackageSource::Image, entries), 0u);
}

TEST(ExpandPackage, TruncatedFileNamesTheFileAndChangesNothing) {
    test::TempDir dir;
    Bytes package = Sample().Build();
    package.resize(150);
    const auto path = dir.Write("N002_Neighborhood.package", package);
    SilentReporter reporter;
    try {
        ExpandPackage(path, reporter);
        FAIL() << "expected FormatError";
    } catch (const FormatError& error) {
        EXPECT_NE(std::string(error.what()).find("N002_Neighborhood.package"), std::string::npos);
    }
    EXPECT_EQ(ReadFileBytes(path), package);
}

TEST(ExpandImage, EntriesSharingOneStreamCannotBlowThePackageUp) {
    // One small stream that decodes to 64 KiB, and a hundred index entries pointing at it: 6 MiB
    // from a few kilobytes. With a limit of 1 MiB the expansion is refused instead.
    Bytes stream = {0, 0, 0, 0, 0x10, 0xFB, 0x01, 0x00, 0x00, 0xE0, 'a', 'b', 'c', 'd'};
    std::size_t produced = 4;
    while (produced + 1028 <= 0x10000) {
        // A four-byte code repeating 1028 bytes from 4 back.
        for (std::uint8_t byte : {std::uint8_t{0xCC}, std::uint8_t{0x00}, std::uint8_t{0x03}, std::uint8_t{0xFF}}) stream.push_back(byte);
        produced += 1028;
    }
    const std::size_t rest = 0x10000 - produced;
    stream.push_back(static_cast<std::uint8_t>(0xC0 | (((rest - 5) >> 8) << 2)));
    stream.push_back(0x00);
    stream.push_back(0x03);
    stream.push_back(static_cast<std::uint8_t>((rest - 5) & 0xFF));
    stream.push_back(0xFC);
    Bytes package = fixture::PackageBuilder().Add(fixture::Key(1, 1), stream).Build();
    std::vector<IndexEntry> entries;
    const std::uint32_t width = ReadIndex(package, PackageSource::File, entries);
    for (std::uint32_t i = 2; i <= 100; ++i) {
        IndexEntry copy = entries[0];
        copy.key.instanceId = i;
        entries.push_back(copy);
    }
    // The index rewritten with the shared entries, after the resources.
    const std::size_t indexAt = package.size();
    for (const IndexEntry& entry : entries) {
        for (std::uint32_t word : {entry.key.typeId, entry.key.groupId, entry.key.instanceId, entry.key.instance2Id,
                                   entry.offset, entry.size}) {
            AppendU32(package, word);
        }
    }
    StoreU32(package, kEntryCountOffset, static_cast<std::uint32_t>(entries.size()));
    StoreU32(package, kIndexOffsetOffset, static_cast<std::uint32_t>(indexAt));
    StoreU32(package, kIndexSizeOffset, static_cast<std::uint32_t>(entries.size() * width));
    RecordingReporter reporter;
    ExpansionFaults faults;
    const PackageImage whole = ExpandImage(package, reporter, nullptr, &faults, std::size_t{16} << 20);
    EXPECT_TRUE(faults.undecodable.empty());
    EXPECT_GT(whole.size(), std::size_t{100} * 0x10000);
    EXPECT_THROW(ExpandImage(package, reporter, nullptr, nullptr, std::size_t{1} << 20), FormatError);
}

}  // namespace
}  // namespace qh
