#include "platform/file_io.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/folder_lock.h"
#include "support/temp_dir.h"

namespace qh {
namespace {

std::size_t FilesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                  std::filesystem::directory_iterator()));
}

TEST(AtomicReplace, WritesNewAndReplacesExistingFiles) {
    test::TempDir dir;
    const auto path = dir / "file.package";
    AtomicReplace(path, test::ToBytes("first"));
    EXPECT_EQ(ReadFileBytes(path), test::ToBytes("first"));
    AtomicReplace(path, test::ToBytes("second, longer"));
    EXPECT_EQ(ReadFileBytes(path), test::ToBytes("second, longer"));
    AtomicReplace(path, {});
    EXPECT_TRUE(ReadFileBytes(path).empty());
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(AtomicReplace, FailureAtAnyStepKeepsTheOriginalAndNoTemporary) {
    for (ReplaceStep failing : {ReplaceStep::CreateTemporary, ReplaceStep::Write,
                                ReplaceStep::Flush, ReplaceStep::Rename}) {
        test::TempDir dir;
        const auto path = dir.Write("keep.package", test::ToBytes("original"));
        const FaultHook hook = [&](ReplaceStep step, const std::filesystem::path&) {
            if (step == failing) throw IoError("simulated");
        };
        EXPECT_THROW(AtomicReplace(path, test::ToBytes("replacement"), hook), IoError);
        EXPECT_EQ(ReadFileBytes(path), test::ToBytes("original"));
        EXPECT_EQ(FilesIn(dir.path()), 1u);
    }
}

TEST(AtomicReplace, UnwritableFolderNamesTheFile) {
    test::TempDir dir;
    const auto path = dir / "missing-folder" / "x.package";
    try {
        AtomicReplace(path, test::ToBytes("x"));
        FAIL() << "expected IoError";
    } catch (const IoError& error) {
        EXPECT_NE(std::string(error.what()).find("x.package"), std::string::npos);
    }
}

TEST(ReadFileBytes, MissingFileNamesIt) {
    test::TempDir dir;
    try {
        ReadFileBytes(dir / "absent.package");
        FAIL() << "expected IoError";
    } catch (const IoError& error) {
        EXPECT_NE(std::string(error.what()).find("absent.package"), std::string::npos);
    }
}

TEST(ReadSteadily, AFileReplacedDuringTheReadIsReadAgainAndOneThatKeepsChangingIsAnError) {
    test::TempDir dir;
    const auto path = dir / "N001_Neighborhood.package";
    AtomicReplace(path, Bytes{1, 2, 3});
    int reads = 0;
    Bytes seen;
    const FileStamp stamp = ReadSteadily(path, [&] {
        seen = ReadFileBytes(path);
        if (++reads == 1) AtomicReplace(path, Bytes{4, 5, 6, 7});  // the game saves meanwhile
    });
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(seen, (Bytes{4, 5, 6, 7}));
    EXPECT_EQ(stamp, StampOf(path));
    Bytes grow{1};
    try {
        ReadSteadily(path, [&] {
            grow.push_back(1);
            AtomicReplace(path, grow);
        });
        ADD_FAILURE() << "a file that never holds still is an error";
    } catch (const IoError& error) {
        EXPECT_NE(std::string(error.what()).find("N001_Neighborhood.package"), std::string::npos);
    }
}

}  // namespace
}  // namespace qh

namespace qh {
namespace {

TEST(FolderLock, OneHolderAtATimeAndTheOtherLearnsWho) {
    test::TempDir dir;
    std::string holder;
    auto first = FolderLock::Acquire(dir.path(), "first editor", std::chrono::milliseconds(0), holder);
    ASSERT_TRUE(first.has_value());
    EXPECT_TRUE(holder.empty());
    auto second = FolderLock::Acquire(dir.path(), "second editor", std::chrono::milliseconds(120), holder);
    EXPECT_FALSE(second.has_value());
    EXPECT_EQ(holder.rfind("first editor (process ", 0), 0u) << holder;
    first.reset();  // released: the next one gets it
    const auto third = FolderLock::Acquire(dir.path(), "second editor", std::chrono::milliseconds(0), holder);
    EXPECT_TRUE(third.has_value());
    // A folder that cannot hold the lock file is no lock.
    EXPECT_FALSE(FolderLock::Acquire(dir / "missing", "x", std::chrono::milliseconds(0), holder).has_value());
}

}  // namespace
}  // namespace qh
