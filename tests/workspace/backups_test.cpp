#include "workspace/backups.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace qh {
namespace {
namespace fs = std::filesystem;

TEST(BackupTree, GroupsBackupsByTheirNeighborhood) {
    test::TempDir dir;
    for (const char* name : {"N001 01-31-2008 142530", "N001 02-01-2008 090000", "G001 05-05-2009 101010", "Old", "n001 03-03-2010 111111"}) {
        fs::create_directories(dir / name);
    }
    std::ofstream(dir / "N001 not a folder.txt") << "x";
    const auto groups = BackupTree(dir.path());
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].text, "G001 - Neighborhood Backups");
    EXPECT_EQ(groups[0].backups.size(), 1u);
    EXPECT_EQ(groups[1].text, "N001 - Neighborhood Backups");  // n001 joins it, letter case aside
    EXPECT_EQ(groups[1].backups.size(), 3u);
    EXPECT_EQ(groups[2].text, "Old - Neighborhood Backups");
    EXPECT_TRUE(BackupTree(dir / "missing").empty());
}

TEST(BackupTree, ArchiveFolderFromTheSettingOrTheDefault) {
    test::TempDir dir;
    fs::create_directories(dir / "mine");
    EXPECT_EQ(ArchiveFolder((dir / "mine").string(), dir / "Documents"), dir / "mine");
    EXPECT_EQ(ArchiveFolder((dir / "gone").string(), dir / "Documents"), dir / "Documents" / "Bramblesoft" / "NGBDs");
    EXPECT_EQ(ArchiveFolder("", dir / "Documents"), dir / "Documents" / "Bramblesoft" / "NGBDs");
    EXPECT_EQ(NoBackupMessage("Pleasant Valley"),
              "A Backup Copy of Pleasant Valley was not found.\r\n\r\nYou should make a copy of the neighborhood's "
              "folder\r\nbefore making any changes to this Neighborhood.");
}

}  // namespace
}  // namespace qh
