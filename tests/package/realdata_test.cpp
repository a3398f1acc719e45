// Every reader of the package layer on package files made by others.
#include <gtest/gtest.h>

#include <filesystem>

#include "package/extract.h"
#include "package/rebuild.h"
#include "support/temp_dir.h"

namespace qh {
namespace {

std::vector<std::filesystem::path> RealPackages() {
    std::vector<std::filesystem::path> files;
    const std::filesystem::path folder = QH_REALDATA_DIR;
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) return files;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        if (item.path().extension() == ".package") files.push_back(item.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(RealPackages, ReadExtractExpandAndRebuild) {
    const auto files = RealPackages();
    if (files.empty()) GTEST_SKIP() << "no real package files beside the project";
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        const Bytes original = ReadFileBytes(path);
        std::vector<IndexEntry> entries;
        const std::uint32_t width = ReadIndex(original, PackageSource::File, entries);
        ASSERT_TRUE(width == 20 || width == 24) << width;
        ASSERT_FALSE(entries.empty());

        RecordingReporter reporter;
        std::vector<Bytes> contents;
        std::size_t directories = 0;
        for (const IndexEntry& entry : entries) {
            if (entry.key.typeId == kCompressedDirectoryType) {
                ++directories;
                continue;
            }
            Bytes content;
            EXPECT_TRUE(ExtractResource(original, entry, content, reporter))
                << HexId(entry.key.typeId) << " " << HexId(entry.key.instanceId);
            contents.push_back(std::move(content));
        }
        EXPECT_TRUE(reporter.messages.empty());

        const PackageImage image = ExpandImage(original, reporter);
        std::vector<IndexEntry> expanded;
        EXPECT_EQ(ReadIndex(image, PackageSource::Image, expanded), width);
        ASSERT_EQ(expanded.size(), contents.size() + (directories > 0 ? directories - 1 : 0));
        for (std::size_t i = 0; i < contents.size(); ++i) {
            Bytes content;
            ASSERT_TRUE(ExtractResource(image, expanded[i], content, reporter));
            EXPECT_EQ(content, contents[i]);
            EXPECT_FALSE(IsCompressedEntry(image, expanded[i]));
        }
        EXPECT_EQ(ExpandImage(image, reporter), image);

        test::TempDir dir;
        const auto copy = dir.Write(path.filename().string(), original);
        RebuildPackage(copy, CopyEntry, {}, reporter);
        EXPECT_EQ(ReadFileBytes(copy), image);
    }
}

}  // namespace
}  // namespace qh
