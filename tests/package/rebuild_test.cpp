#include "package/rebuild.h"

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

Bytes FourEntries(std::uint32_t width = 24) {
    PackageBuilder builder(width);
    builder.Add(Key(0x10, 1), "first").Add(Key(0x20, 2), "second", true)
        .Add(Key(0x30, 3), std::string(300, 't'), true).Add(Key(0x40, 4), "fourth");
    return builder.Build();
}

std::vector<std::pair<ResourceKey, std::string>> Resources(const Bytes& package) {
    std::vector<IndexEntry> entries;
    ReadIndex(package, PackageSource::File, entries);
    std::vector<std::pair<ResourceKey, std::string>> out;
    SilentReporter reporter;
    for (const auto& e : entries) {
        Bytes content;
        ExtractResource(package, e, content, reporter);
        out.emplace_back(e.key, std::string(content.begin(), content.end()));
    }
    return out;
}

TEST(RebuildPackage, CopyingEveryEntryGivesTheExpandedForm) {
    test::TempDir dir;
    const auto path = dir.Write("a.package", FourEntries());
    SilentReporter reporter;
    PackageImage expanded;
    ExpandPackageToMemory(path, expanded, reporter);
    RebuildPackage(path, CopyEntry, {}, reporter);
    EXPECT_EQ(ReadFileBytes(path), expanded);
}

TEST(RebuildImage, EveryOutcome) {
    SilentReporter reporter;
    const PackageImage expanded = ExpandImage(FourEntries(), reporter);
    const auto writer = [](const IndexEntry& entry, std::span<const std::uint8_t> stored,
                           PackageImage& image) {
        switch (entry.key.typeId) {
            case 0x10: {  // copy and patch
                const std::size_t at = image.size();
                image.insert(image.end(), stored.begin(), stored.end());
                image[at] = 'F';
                return EntryOutcome::Keep;
            }
            case 0x20:  // drop, even after appending something
                image.push_back('!');
                return EntryOutcome::Drop;
            case 0x30: {  // copy with change of length: head, new bytes, tail
                image.insert(image.end(), stored.begin(), stored.begin() + 2);
                const std::string middle = "-inserted-";
                image.insert(image.end(), middle.begin(), middle.end());
                image.insert(image.end(), stored.end() - 2, stored.end());
                return EntryOutcome::Keep;
            }
            default: {  // replace
                const std::string fresh = "replacement";
                image.insert(image.end(), fresh.begin(), fresh.end());
                return EntryOutcome::Keep;
            }
        }
    };
    const Bytes added = test::ToBytes("appended");
    const PackageImage rebuilt = RebuildImage(expanded, writer, [&](ResourceAppender& append) {
        append.Append(Key(0x50, 5), added);
    });
    const auto resources = Resources(rebuilt);
    ASSERT_EQ(resources.size(), 4u);
    EXPECT_EQ(resources[0].second, "First");
    EXPECT_EQ(resources[1].second, "tt-inserted-tt");
    EXPECT_EQ(resources[2].second, "replacement");
    EXPECT_EQ(resources[3].first, Key(0x50, 5));
    EXPECT_EQ(resources[3].second, "appended");

    std::vector<IndexEntry> entries;
    ReadIndex(rebuilt, PackageSource::File, entries);
    EXPECT_EQ(entries[0].offset, kHeaderSize);
    for (std::size_t i = 1; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].offset, entries[i - 1].offset + entries[i - 1].size);
    }
    const ByteReader header(rebuilt);
    EXPECT_EQ(header.ReadU32(kEntryCountOffset), 4u);
    EXPECT_EQ(header.ReadU32(kIndexOffsetOffset), entries[3].offset + entries[3].size);
    EXPECT_EQ(header.ReadU32(kIndexOffsetOffset) + 4 * 24, rebuilt.size());
}

TEST(RebuildPackage, CarriedAndMadeBytesLandInOrder) {
    // Entries carried as they are (a copy, a copy after something was appended, a rewrite that
    // came out the same) are written from the expanded file; the rest from the writers' bytes.
    // The file must be byte for byte the one image the same rebuild gives.
    test::TempDir dir;
    const std::filesystem::path path = dir.path() / "p.package";
    SilentReporter reporter;
    AtomicReplace(path, ExpandImage(FourEntries(), reporter));
    const auto writer = [](const IndexEntry& entry, std::span<const std::uint8_t> stored, PackageImage& image) {
        switch (entry.key.typeId) {
            case 0x10:  // appended, then copied after all
                image.push_back('!');
                return EntryOutcome::Copy;
            case 0x20:  // rewritten to the same bytes
                image.insert(image.end(), stored.begin(), stored.end());
                return EntryOutcome::Keep;
            case 0x30: {  // a shorter resource
                image.insert(image.end(), stored.begin(), stored.begin() + 1);
                return EntryOutcome::Keep;
            }
            default:
                return CopyEntry(entry, stored, image);
        }
    };
    const Bytes added = test::ToBytes("new");
    const auto appender = [&](ResourceAppender& append) { append.Append(Key(0x50, 5), added); };
    const PackageImage image = RebuildImage(ReadFileBytes(path), writer, appender);
    RebuildPackage(path, writer, appender, reporter);
    const Bytes file = ReadFileBytes(path);
    EXPECT_EQ(file, image);
    const auto resources = Resources(file);
    ASSERT_EQ(resources.size(), 5u);
    EXPECT_EQ(resources[0].second, "first");
    EXPECT_EQ(resources[1].second, "second");
    EXPECT_EQ(resources[2].second, "t");
    EXPECT_EQ(resources[3].second, "fourth");
    EXPECT_EQ(resources[4].second, "new");
}

TEST(RebuildImage, TwentyByteIndexStaysTwentyAfterAppends) {
    SilentReporter reporter;
    const PackageImage expanded = ExpandImage(FourEntries(20), reporter);
    const Bytes added = test::ToBytes("new");
    const PackageImage rebuilt = RebuildImage(expanded, CopyEntry, [&](ResourceAppender& append) {
        append.Append(Key(0x60, 6, 0xFFFFFFFF, 0x1234), added);
    });
    std::vector<IndexEntry> entries;
    EXPECT_EQ(ReadIndex(rebuilt, PackageSource::File, entries), 20u);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[4].key.instance2Id, 0u);
    EXPECT_EQ(ByteReader(rebuilt).ReadU32(kIndexSizeOffset), 100u);
}

TEST(RebuildImage, HeaderOutsideTheIndexFieldsIsKept) {
    Bytes package = FourEntries();
    for (std::size_t i = 0; i < kHeaderSize; ++i) {
        if (i < 36 || i >= 60) package[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    SilentReporter reporter;
    const PackageImage rebuilt = RebuildImage(ExpandImage(package, reporter), CopyEntry);
    EXPECT_TRUE(std::equal(rebuilt.begin(), rebuilt.begin() + 36, package.begin()));
    EXPECT_TRUE(std::equal(rebuilt.begin() + 60, rebuilt.begin() + 96, package.begin() + 60));
}

TEST(RebuildPackage, APackageWithNothingCompressedIsItsOwnImageAndIsNotRewrittenFirst) {
    test::TempDir dir;
    PackageBuilder builder(24);
    builder.Add(Key(0x10, 1), "first").Add(Key(0x20, 2), std::string(50, 's'));
    const Bytes plain = builder.Build();
    const auto path = dir.Write("plain.package", plain);
    SilentReporter reporter;
    int replaces = 0;
    const auto counting = [&](ReplaceStep step, const std::filesystem::path&) { replaces += step == ReplaceStep::Rename; };
    EXPECT_EQ(ExpandPackage(path, reporter, counting), plain);
    EXPECT_EQ(replaces, 0);
    // Content that looks compressed (the game decodes it even unlisted) takes the full expansion.
    const auto looks = dir.Write("looks.package", FourEntries());
    PackageImage expanded;
    ExpandPackageToMemory(looks, expanded, reporter);
    EXPECT_EQ(ExpandPackage(looks, reporter, counting), expanded);
    EXPECT_EQ(replaces, 1);

    // Nothing compressed, but the index lists the second resource first (the offset and size
    // fields, bytes 16 to 23 of each 24-byte entry, swapped): not the form an expansion gives, so
    // it is expanded, and its expansion then stays as it is.
    Bytes swapped = plain;
    const std::size_t index = ByteReader(swapped).ReadU32(kIndexOffsetOffset);
    std::swap_ranges(swapped.begin() + static_cast<std::ptrdiff_t>(index + 16),
                     swapped.begin() + static_cast<std::ptrdiff_t>(index + 24),
                     swapped.begin() + static_cast<std::ptrdiff_t>(index + 24 + 16));
    const auto odd = dir.Write("odd.package", swapped);
    const PackageImage once = ExpandPackage(odd, reporter, counting);
    EXPECT_EQ(replaces, 2);
    EXPECT_NE(once, swapped);
    EXPECT_EQ(ReadFileBytes(odd), once);
    EXPECT_EQ(ExpandImage(once, reporter), once);
    EXPECT_EQ(Resources(once), Resources(swapped));
}

TEST(RebuildPackage, FailingWriterLeavesTheExpandedPackage) {
    test::TempDir dir;
    const auto path = dir.Write("b.package", FourEntries());
    SilentReporter reporter;
    PackageImage expanded;
    ExpandPackageToMemory(path, expanded, reporter);
    const auto failing = [](const IndexEntry& entry, std::span<const std::uint8_t>,
                            PackageImage&) -> EntryOutcome {
        if (entry.key.typeId == 0x30) throw FormatError("cannot rebuild this one");
        return EntryOutcome::Keep;
    };
    EXPECT_THROW(RebuildPackage(path, failing, {}, reporter), FormatError);
    EXPECT_EQ(ReadFileBytes(path), expanded);
}

TEST(RebuildPackage, InterruptedReplaceLeavesAReadablePackage) {
    // Fail at every step of both file replacements; afterwards the file is always either the
    // original, the expanded form or the rebuilt one, and no temporary file is left behind.
    const Bytes original = FourEntries();
    SilentReporter reporter;
    const PackageImage expanded = ExpandImage(original, reporter);
    for (int failAt = 0; failAt < 8; ++failAt) {
        test::TempDir dir;
        const auto path = dir.Write("c.package", original);
        int step = 0;
        RebuildOptions options;
        options.hook = [&](ReplaceStep, const std::filesystem::path&) {
            if (step++ == failAt) throw IoError("simulated failure");
        };
        try {
            RebuildPackage(path, CopyEntry, {}, reporter, options);
        } catch (const IoError&) {
        }
        const Bytes now = ReadFileBytes(path);
        EXPECT_TRUE(now == original || now == expanded) << "failing at step " << failAt;
        EXPECT_EQ(Resources(now), Resources(original));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                                std::filesystem::directory_iterator()),
                  1);
    }
}

}  // namespace
}  // namespace qh
