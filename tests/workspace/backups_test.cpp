#include "workspace/backups.h"

#include <gtest/gtest.h>

#include <optional>

#include <fstream>
#ifndef _WIN32
#include <unistd.h>
#endif
#include <functional>
#include <map>
#include <set>

#include "fixture/package_builder.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/folder_lock.h"
#include "support/temp_dir.h"
#include "support/platform_only.h"

namespace qh {
namespace {
namespace fs = std::filesystem;

TEST(BackupTree, GroupsBackupsByTheirNeighborhood) {
    test::TempDir dir;
    // Each holds its neighborhood's package, which says whose backup it is, whatever its name.
    for (const char* name : {"N001 01-31-2008 142530", "N001 02-01-2008 090000", "G001 05-05-2009 101010",
                             "n001 03-03-2010 111111", "N001 04-04-2010 121212 replaced",
                             "N001 04-04-2010 121212 replaced-0a1b2c3d", "Old copy 06-06-2010 101010"}) {
        fs::create_directories(dir / name);
        const std::string prefix = std::string(name).starts_with("G") ? "G001" : std::string(name).starts_with("n") ? "n001" : "N001";
        std::ofstream(dir / name / (prefix + "_Neighborhood.package")) << "x";
    }
    // A name whose fourth byte falls inside a character: listed under the package's prefix.
    fs::create_directories(dir / "NÅ€ 07-07-2010 101010");
    std::ofstream(dir / "NÅ€ 07-07-2010 101010" / "G001_Neighborhood.package") << "x";
    // Named as backups, but without a neighborhood package (half deleted) or with two.
    fs::create_directories(dir / "N001 08-08-2010 101010");
    fs::create_directories(dir / "N001 09-09-2010 101010");
    std::ofstream(dir / "N001 09-09-2010 101010" / "N001_Neighborhood.package") << "x";
    std::ofstream(dir / "N001 09-09-2010 101010" / "N002_Neighborhood.package") << "x";
    // Not backups: a folder of the player's, what a killed backup or restore left, a name that
    // only looks like one.
    for (const char* name : {"Old", ".N001 05-05-2010 101010.partial-1a2b3c4d", ".N001 05-05-2010 101010",
                             "N001 5-05-2010 101010", " 05-05-2010 101010", "N001 05-05-2010 10101x"}) {
        fs::create_directories(dir / name);
    }
    std::ofstream(dir / "N001 not a folder.txt") << "x";
    const auto groups = BackupTree(dir.path());
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].text, "G001 - Neighborhood Backups");
    EXPECT_EQ(groups[0].prefix, "G001");
    EXPECT_EQ(groups[0].backups.size(), 2u);
    EXPECT_EQ(groups[1].text.substr(1), "001 - Neighborhood Backups");  // n001 joins it, letter case aside
    EXPECT_EQ(groups[1].backups.size(), 6u);
    EXPECT_EQ(BackupDate("N001 04-04-2010 121212 replaced"), "04-04-2010 121212");
    EXPECT_EQ(BackupDate("Old"), "");
    EXPECT_TRUE(BackupTree(dir / "missing").empty());
}

TEST(BackupTree, ArchiveFolderFromTheSettingOrTheDefault) {
    test::TempDir dir;
    fs::create_directories(dir / "mine");
    EXPECT_EQ(ArchiveFolder((dir / "mine").string(), dir / "Documents"), dir / "mine");
    EXPECT_EQ(ArchiveFolder((dir / "gone").string(), dir / "Documents"), dir / "Documents" / "Bramblesoft" / "NGBDs");
    EXPECT_EQ(ArchiveFolder("", dir / "Documents"), dir / "Documents" / "Bramblesoft" / "NGBDs");
    EXPECT_EQ(NoBackupMessage("Pleasant Valley"),
              "A Backup Copy of Pleasant Valley was not found.\r\n\r\nYou should use the Backup Neighborhood option "
              "prior\r\nto making any changes to this Neighborhood.");
}

// Every file below a folder by its relative path, with its bytes.
std::map<std::string, std::string> Contents(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
        if (!item.is_regular_file()) continue;
        const Bytes bytes = ReadFileBytes(item.path());
        files[fs::relative(item.path(), folder).string()] = std::string(bytes.begin(), bytes.end());
    }
    return files;
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder)) names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A neighborhood package a restore can read: a header and an index of one resource.
std::string Package() {
    const Bytes bytes = fixture::PackageBuilder().Add(fixture::Key(1, 1), "the neighborhood").Build();
    return {bytes.begin(), bytes.end()};
}

// A neighborhood folder with a subfolder, an archive, and a discard that records what it took.
struct Hoods {
    test::TempDir dir;
    fs::path neighborhoods = dir / "Neighborhoods";
    fs::path hood = neighborhoods / "N001";
    fs::path archive = dir / "Archive";
    std::vector<fs::path> discarded;
    bool discardWorks = true;
    DiscardFolder discard = [this](const fs::path& folder) {
        if (!discardWorks) return false;
        discarded.push_back(folder);
        fs::rename(folder, dir / ("trash" + std::to_string(discarded.size())));
        return true;
    };
    NullProgress progress;
    Hoods() {
        fs::create_directories(hood / "Characters");
        fs::create_directories(archive);
        std::ofstream(hood / "N001_Neighborhood.package") << Package();
        std::ofstream(hood / "Characters" / "N001_User00000.package") << "a sim";
        std::ofstream(hood / "Quillhaven.lock") << "held by nobody";
    }
};

TEST(Backups, NamesCopiesAndReplacesABackupOfTheSameSecond) {
    Hoods h;
    std::tm when{};
    when.tm_year = 108, when.tm_mon = 0, when.tm_mday = 31, when.tm_hour = 14, when.tm_min = 25, when.tm_sec = 30;
    const std::string name = BackupFolderName("N001", when);
    EXPECT_EQ(name, "N001 01-31-2008 142530");
    auto result = BackupNeighborhood(h.hood, h.archive, name, h.discard, h.progress);
    ASSERT_TRUE(result.done) << result.message;
    auto expected = Contents(h.hood);
    expected.erase("Quillhaven.lock");  // the editor's own file is not the player's
    EXPECT_EQ(Contents(h.archive / name), expected);
    // A second backup in the same second replaces the first, which is discarded only then.
    std::ofstream(h.hood / "N001_Neighborhood.package", std::ios::app) << " and more";
    result = BackupNeighborhood(h.hood, h.archive, name, h.discard, h.progress);
    ASSERT_TRUE(result.done);
    ASSERT_EQ(h.discarded.size(), 1u);
    EXPECT_EQ(Contents(h.archive / name).at("N001_Neighborhood.package"), Package() + " and more");
    EXPECT_EQ(Names(h.archive), std::vector<std::string>{name});
}

TEST(Backups, AFailedBackupAtAnyStepLeavesTheEarlierBackupAndNoPartialCopy) {
    for (CopyStep failing : {CopyStep::CopyFile, CopyStep::Verify, CopyStep::SetAside, CopyStep::Place}) {
        SCOPED_TRACE(static_cast<int>(failing));
        Hoods h;
        ASSERT_TRUE(BackupNeighborhood(h.hood, h.archive, "N001 x", h.discard, h.progress).done);
        const auto before = Contents(h.archive);
        std::ofstream(h.hood / "N001_Neighborhood.package") << "changed";
        const auto neighborhood = Contents(h.hood);
        const CopyHook hook = [failing](CopyStep step, const fs::path&) {
            if (step == failing) throw IoError("the disk is full");
        };
        const auto result = BackupNeighborhood(h.hood, h.archive, "N001 x", h.discard, h.progress, hook);
        EXPECT_FALSE(result.done);
        EXPECT_EQ(result.message.rfind("Backup Operation Failed.", 0), 0u);
        EXPECT_NE(result.message.find("the disk is full"), std::string::npos);
        EXPECT_EQ(Contents(h.hood), neighborhood);
        EXPECT_EQ(Names(h.archive), std::vector<std::string>{"N001 x"});
        EXPECT_EQ(Contents(h.archive), before);  // the earlier backup, whole
    }
}

// A disk that fills up during a backup or a restore is said as a full disk, with where, and
// nothing is lost: the neighborhood and the earlier backup stay whole.
TEST(Backups, AFullDiskIsSaidAsSuchAndLosesNothing) {
    Hoods h;
    ASSERT_TRUE(BackupNeighborhood(h.hood, h.archive, "N001 a", h.discard, h.progress).done);
    const auto neighborhood = Contents(h.hood);
    const auto backup = Contents(h.archive / "N001 a");
    const CopyHook full = [](CopyStep step, const fs::path& subject) {
        if (step == CopyStep::CopyFile) {
            throw fs::filesystem_error("cannot copy", subject, std::make_error_code(std::errc::no_space_on_device));
        }
    };
    const auto backedUp = BackupNeighborhood(h.hood, h.archive, "N001 b", h.discard, h.progress, full);
    EXPECT_FALSE(backedUp.done);
    EXPECT_NE(backedUp.message.find("the disk holding " + h.archive.string() + " is full"), std::string::npos)
        << backedUp.message;
    const auto restored = RestoreBackup(h.archive / "N001 a", h.neighborhoods, "N001", h.discard, h.progress, full);
    EXPECT_FALSE(restored.done);
    EXPECT_NE(restored.message.find("is full"), std::string::npos) << restored.message;
    EXPECT_EQ(Contents(h.hood), neighborhood);
    EXPECT_EQ(Contents(h.archive / "N001 a"), backup);
    EXPECT_EQ(Names(h.archive), std::vector<std::string>{"N001 a"});
    EXPECT_EQ(Names(h.neighborhoods), std::vector<std::string>{"N001"});
}

TEST(Backups, ARestoreReplacesTheNeighborhoodAndDiscardsWhatItHeld) {
    Hoods h;
    ASSERT_TRUE(BackupNeighborhood(h.hood, h.archive, "N001 a", h.discard, h.progress).done);
    const auto backup = Contents(h.archive / "N001 a");
    std::ofstream(h.hood / "N001_Neighborhood.package") << "played on";
    std::ofstream(h.hood / "N001_Lot1.package") << "a new lot";
    const auto played = Contents(h.hood);
    const auto result = RestoreBackup(h.archive / "N001 a", h.neighborhoods, "N001", h.discard, h.progress);
    ASSERT_TRUE(result.done) << result.message;
    EXPECT_TRUE(result.message.empty());
    EXPECT_EQ(Contents(h.hood), backup);
    ASSERT_EQ(h.discarded.size(), 1u);
    EXPECT_EQ(Contents(h.dir / "trash1"), played);  // the old contents, whole, in the trash
    EXPECT_EQ(Contents(h.archive / "N001 a"), backup);
    EXPECT_EQ(Names(h.neighborhoods), std::vector<std::string>{"N001"});  // no temporaries left

    // A neighborhood that is not there at all is simply put there.
    fs::rename(h.hood, h.dir / "gone");
    const auto again = RestoreBackup(h.archive / "N001 a", h.neighborhoods, "N001", h.discard, h.progress);
    ASSERT_TRUE(again.done) << again.message;
    EXPECT_EQ(Contents(h.hood), backup);
}

TEST(Backups, AnInterruptedRestoreLosesNothing) {
    for (CopyStep failing : {CopyStep::CopyFile, CopyStep::Verify, CopyStep::SetAside, CopyStep::Place}) {
        SCOPED_TRACE(static_cast<int>(failing));
        Hoods h;
        ASSERT_TRUE(BackupNeighborhood(h.hood, h.archive, "N001 a", h.discard, h.progress).done);
        std::ofstream(h.hood / "N001_Neighborhood.package") << "played on";
        const auto played = Contents(h.hood);
        const auto backup = Contents(h.archive / "N001 a");
        const CopyHook hook = [failing](CopyStep step, const fs::path&) {
            if (step == failing) throw IoError("copy failed");
        };
        const auto result = RestoreBackup(h.archive / "N001 a", h.neighborhoods, "N001", h.discard, h.progress, hook);
        EXPECT_FALSE(result.done);
        EXPECT_EQ(result.message.rfind("Backup Operation Failed.", 0), 0u);
        EXPECT_EQ(Contents(h.hood), played);
        EXPECT_EQ(Contents(h.archive / "N001 a"), backup);
        EXPECT_EQ(Names(h.neighborhoods), std::vector<std::string>{"N001"});
        EXPECT_TRUE(h.discarded.empty());
    }
    // The old contents cannot be discarded: the restore stands, and they are kept beside it.
    Hoods h;
    ASSERT_TRUE(BackupNeighborhood(h.hood, h.archive, "N001 a", h.discard, h.progress).done);
    std::ofstream(h.hood / "N001_Neighborhood.package") << "played on";
    const auto played = Contents(h.hood);
    h.discardWorks = false;
    const auto result = RestoreBackup(h.archive / "N001 a", h.neighborhoods, "N001", h.discard, h.progress);
    EXPECT_TRUE(result.done);
    ASSERT_FALSE(result.keptAt.empty());
    EXPECT_EQ(Contents(result.keptAt), played);
    EXPECT_NE(result.message.find(result.keptAt.string()), std::string::npos);
}

// What a restore takes from the backup's own package, and what it refuses before anything is
// replaced: a backup named "N001 old copy" that holds N002 restores N002; one that lost its
// package, holds two, holds a damaged one, or is asked to stand for another neighborhood
// leaves every neighborhood as it was.
TEST(Backups, ARestoreTakesTheNeighborhoodFromTheBackupsPackageAndRequiresIt) {
    Hoods h;
    ASSERT_TRUE(BackupNeighborhood(h.hood, h.archive, "N001 a", h.discard, h.progress).done);
    const fs::path copy = h.archive / "N001 old copy 01-01-2010 101010";
    fs::create_directories(copy);
    std::ofstream(copy / "n002_neighborhood.package") << Package();
    EXPECT_EQ(BackupPrefix(copy), std::optional<std::string>("n002"));
    EXPECT_EQ(BackupPrefix(h.archive / "N001 a"), std::optional<std::string>("N001"));
    const auto hood = Contents(h.hood);

    auto refused = [&](const fs::path& backup, const std::string& prefix, const std::string& why) {
        SCOPED_TRACE(backup.filename().string() + " as " + prefix);
        const auto result = RestoreBackup(backup, h.neighborhoods, prefix, h.discard, h.progress);
        EXPECT_FALSE(result.done);
        EXPECT_EQ(result.message.rfind("Backup Operation Failed.", 0), 0u);
        EXPECT_NE(result.message.find(why), std::string::npos) << result.message;
        EXPECT_EQ(Contents(h.hood), hood);
        EXPECT_EQ(Names(h.neighborhoods), std::vector<std::string>{"N001"});
        EXPECT_TRUE(h.discarded.empty());
    };
    refused(copy, "N001", "is a backup of n002");
    const fs::path halfDeleted = h.archive / "N001 02-02-2010 101010";
    fs::create_directories(halfDeleted / "Characters");
    refused(halfDeleted, "N001", "holds no neighborhood package");
    const fs::path two = h.archive / "N001 03-03-2010 101010";
    fs::create_directories(two);
    std::ofstream(two / "N001_Neighborhood.package") << Package();
    std::ofstream(two / "N003_Neighborhood.package") << Package();
    refused(two, "N001", "holds no neighborhood package (or more than one)");
    const fs::path damaged = h.archive / "N001 04-04-2010 101010";
    fs::create_directories(damaged);
    std::ofstream(damaged / "N001_Neighborhood.package") << "not a package";
    refused(damaged, "N001", "cannot be read");

    const auto restored = RestoreBackup(copy, h.neighborhoods, *BackupPrefix(copy), h.discard, h.progress);
    ASSERT_TRUE(restored.done) << restored.message;
    EXPECT_EQ(Contents(h.neighborhoods / "n002"), Contents(copy));
    EXPECT_EQ(Contents(h.hood), hood);  // N001 untouched
}

// Every copied file and folder is flushed to disk before the rename that publishes a backup, and
// before a restore moves the neighborhood away: a power cut after the rename cannot leave a
// backup or a neighborhood of empty files. One flush covers the whole copy, after the last file.
TEST(Backups, EveryCopiedFileAndFolderIsFlushedBeforeTheCopyIsPublished) {
    Hoods h;
    for (const bool restore : {false, true}) {
        SCOPED_TRACE(restore ? "restore" : "backup");
        std::vector<std::pair<CopyStep, fs::path>> steps;
        const CopyHook record = [&](CopyStep step, const fs::path& subject) { steps.emplace_back(step, subject); };
        const auto result = restore ? RestoreBackup(h.archive / "N001 a", h.neighborhoods, "N001", h.discard, h.progress, record)
                                    : BackupNeighborhood(h.hood, h.archive, "N001 a", h.discard, h.progress, record);
        ASSERT_TRUE(result.done) << result.message;
        std::vector<fs::path> copied;
        std::size_t lastCopy = 0;
        std::size_t publishing = steps.size();
        std::optional<std::size_t> flush;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const auto& [step, subject] = steps[i];
            if (step == CopyStep::Verify) copied.push_back(subject), lastCopy = i;
            if ((step == CopyStep::SetAside || step == CopyStep::Place) && publishing == steps.size()) publishing = i;
            if (step == CopyStep::Flush && !flush) flush = i;
        }
        ASSERT_FALSE(copied.empty());
        ASSERT_TRUE(flush.has_value());
        EXPECT_GT(*flush, lastCopy);
        EXPECT_LT(*flush, publishing);
        // What was flushed holds every copied file (and so every folder of the copy).
        for (const fs::path& file : copied) {
            const fs::path inside = file.lexically_relative(steps[*flush].second);
            EXPECT_TRUE(!inside.empty() && *inside.begin() != "..") << file << " outside " << steps[*flush].second;
        }
    }
}

// What a kill at one step leaves: the neighborhoods and archive folders copied as they are at
// that step, the work stopped there, and the copies put in place of the originals, as after a
// kill -9 and a new start.
struct Killed {
    Hoods h;
    void At(CopyStep when, const std::function<void(const CopyHook&)>& work) {
        const fs::path frozen = h.dir / "frozen";
        const CopyHook kill = [&](CopyStep step, const fs::path&) {
            if (step != when || fs::exists(frozen)) return;
            fs::create_directories(frozen);
            fs::copy(h.neighborhoods, frozen / "Neighborhoods", fs::copy_options::recursive);
            fs::copy(h.archive, frozen / "Archive", fs::copy_options::recursive);
            throw IoError("killed");
        };
        work(kill);
        ASSERT_TRUE(fs::exists(frozen)) << "the work never reached the step";
        fs::remove_all(h.neighborhoods);
        fs::remove_all(h.archive);
        fs::rename(frozen / "Neighborhoods", h.neighborhoods);
        fs::rename(frozen / "Archive", h.archive);
    }
    std::vector<std::string> Hidden(const fs::path& folder) {
        std::vector<std::string> names;
        for (const std::string& name : Names(folder)) {
            if (name.front() == '.') names.push_back(name);
        }
        return names;
    }
};

TEST(Backups, AStartPutsRightWhatAKilledRestoreOrBackupLeft) {
    {
        SCOPED_TRACE("a restore killed between its two renames");
        Killed k;
        ASSERT_TRUE(BackupNeighborhood(k.h.hood, k.h.archive, "N001 01-01-2010 101010", k.h.discard, k.h.progress).done);
        std::ofstream(k.h.hood / "N001_Lot1.package") << "played on";
        const auto played = Contents(k.h.hood);
        k.At(CopyStep::Place, [&](const CopyHook& hook) {
            RestoreBackup(k.h.archive / "N001 01-01-2010 101010", k.h.neighborhoods, "N001", k.h.discard, k.h.progress, hook);
        });
        ASSERT_FALSE(fs::exists(k.h.hood));  // no neighborhood: what the player would find
        ASSERT_FALSE(k.Hidden(k.h.neighborhoods).empty());
        const auto said = RecoverInterruptedWork(k.h.neighborhoods, k.h.archive);
        ASSERT_EQ(said.size(), 2u);  // the neighborhood put back, the verified copy removed
        EXPECT_TRUE(std::any_of(said.begin(), said.end(), [](const std::string& text) {
            return text.find("put back as it was") != std::string::npos;
        }));
        EXPECT_EQ(Contents(k.h.hood), played);
        EXPECT_TRUE(k.Hidden(k.h.neighborhoods).empty());
        EXPECT_TRUE(RecoverInterruptedWork(k.h.neighborhoods, k.h.archive).empty());  // nothing more to do
    }
    {
        SCOPED_TRACE("a restore killed after the backup was in place");
        Killed k;
        ASSERT_TRUE(BackupNeighborhood(k.h.hood, k.h.archive, "N001 01-01-2010 101010", k.h.discard, k.h.progress).done);
        const auto backup = Contents(k.h.hood);
        std::ofstream(k.h.hood / "N001_Lot1.package") << "played on";
        const auto played = Contents(k.h.hood);
        k.At(CopyStep::Discard, [&](const CopyHook& hook) {
            RestoreBackup(k.h.archive / "N001 01-01-2010 101010", k.h.neighborhoods, "N001", k.h.discard, k.h.progress, hook);
        });
        const auto said = RecoverInterruptedWork(k.h.neighborhoods, k.h.archive);
        ASSERT_EQ(said.size(), 1u);
        EXPECT_EQ(Contents(k.h.hood), backup);
        EXPECT_TRUE(k.Hidden(k.h.neighborhoods).empty());
        // What the restore replaced is a backup now, listed and restorable.
        const auto groups = BackupTree(k.h.archive);
        ASSERT_EQ(groups.size(), 1u);
        ASSERT_EQ(groups[0].backups.size(), 2u);
        EXPECT_NE(groups[0].backups[1].find(" replaced"), std::string::npos);
        EXPECT_EQ(Contents(k.h.archive / groups[0].backups[1]), played);
    }
    {
        SCOPED_TRACE("a backup killed while it copied");
        Killed k;
        k.At(CopyStep::Verify, [&](const CopyHook& hook) {
            BackupNeighborhood(k.h.hood, k.h.archive, "N001 01-01-2010 101010", k.h.discard, k.h.progress, hook);
        });
        ASSERT_EQ(k.Hidden(k.h.archive).size(), 1u);
        EXPECT_TRUE(BackupTree(k.h.archive).empty());  // never listed as a backup
        const auto said = RecoverInterruptedWork(k.h.neighborhoods, k.h.archive);
        ASSERT_EQ(said.size(), 1u);
        EXPECT_TRUE(k.Hidden(k.h.archive).empty());
    }
    {
        SCOPED_TRACE("a restore running in another program");
        Killed k;
        ASSERT_TRUE(BackupNeighborhood(k.h.hood, k.h.archive, "N001 01-01-2010 101010", k.h.discard, k.h.progress).done);
        k.At(CopyStep::Place, [&](const CopyHook& hook) {
            RestoreBackup(k.h.archive / "N001 01-01-2010 101010", k.h.neighborhoods, "N001", k.h.discard, k.h.progress, hook);
        });
        // The other program took the lock while the folder was there, and holds it on.
        std::string holder;
        fs::create_directories(k.h.hood);
        auto running = FolderLock::Acquire(k.h.hood, "another editor", std::chrono::milliseconds(0), holder);
        fs::remove(k.h.hood);
        ASSERT_TRUE(running);
        EXPECT_TRUE(RecoverInterruptedWork(k.h.neighborhoods, k.h.archive).empty());
        EXPECT_FALSE(k.Hidden(k.h.neighborhoods).empty());
    }
}

// Players move "Characters" (or single packages) to another disk and leave links: a backup copies
// what the links lead to, never the links, so its restore brings the sims back; nothing is written
// outside the archive and the neighborhoods; links that lead back into themselves are refused.
TEST(Backups, LinksAreFollowedAndCopiedAsWhatTheyLeadTo) {
    QH_LINUX_ONLY("symbolic links made without privileges");
    Hoods h;
    const fs::path elsewhere = h.dir / "OtherDisk";
    fs::create_directories(elsewhere);
    fs::rename(h.hood / "Characters", elsewhere / "Characters");
    fs::create_directory_symlink(elsewhere / "Characters", h.hood / "Characters");
    std::ofstream(elsewhere / "N001_Lot1.package") << "a lot kept elsewhere";
    fs::create_symlink(elsewhere / "N001_Lot1.package", h.hood / "N001_Lot1.package");
    const auto outside = Contents(elsewhere);

    const auto made = BackupNeighborhood(h.hood, h.archive, "N001 a", h.discard, h.progress);
    ASSERT_TRUE(made.done) << made.message;
    const fs::path backup = h.archive / "N001 a";
    EXPECT_FALSE(fs::is_symlink(backup / "Characters"));
    EXPECT_FALSE(fs::is_symlink(backup / "N001_Lot1.package"));
    EXPECT_EQ(Contents(backup).at("Characters/N001_User00000.package"), "a sim");
    EXPECT_EQ(Contents(backup).at("N001_Lot1.package"), "a lot kept elsewhere");

    const auto restored = RestoreBackup(backup, h.neighborhoods, "N001", h.discard, h.progress);
    ASSERT_TRUE(restored.done) << restored.message;
    EXPECT_EQ(Contents(h.hood).at("Characters/N001_User00000.package"), "a sim");
    EXPECT_EQ(Contents(elsewhere), outside);  // the other disk untouched

    fs::create_directory_symlink(h.hood, h.hood / "Characters" / "loop");
    const auto looped = BackupNeighborhood(h.hood, h.archive, "N001 b", h.discard, h.progress);
    EXPECT_FALSE(looped.done);
    EXPECT_NE(looped.message.find("lead back into themselves"), std::string::npos) << looped.message;
    EXPECT_FALSE(fs::exists(h.archive / "N001 b"));
}

// A backup folder inside the neighborhoods would be copied into each backup of its neighborhood,
// each holding the ones before it: refused when it is chosen, and by the backup itself.
TEST(Backups, ABackupFolderInsideTheNeighborhoodsIsRefused) {
    Hoods h;
    EXPECT_NE(ArchiveLocationRefusal(h.hood / "Backups", h.neighborhoods), "");
    EXPECT_NE(ArchiveLocationRefusal(h.neighborhoods, h.neighborhoods), "");
    EXPECT_EQ(ArchiveLocationRefusal(h.archive, h.neighborhoods), "");
    const fs::path inside = h.hood / "Backups";
    const auto result = BackupNeighborhood(h.hood, inside, "N001 a", h.discard, h.progress);
    EXPECT_FALSE(result.done);
    EXPECT_NE(result.message.find("inside the neighborhood"), std::string::npos) << result.message;
    EXPECT_FALSE(fs::exists(inside / "N001 a"));
}

TEST(Backups, MovingABackupCopiesVerifiesAndOnlyThenRemovesTheOriginal) {
    Hoods h;
    ASSERT_TRUE(BackupNeighborhood(h.hood, h.archive, "N001 a", h.discard, h.progress).done);
    fs::create_directories(h.archive / "N002 no package");
    EXPECT_EQ(MovableBackups(h.archive), std::vector<std::string>{"N001 a"});
    const auto backup = Contents(h.archive / "N001 a");
    const fs::path next = h.dir / "Next";
    const CopyHook failing = [](CopyStep step, const fs::path&) {
        if (step == CopyStep::Verify) throw IoError("bad copy");
    };
    auto moved = MoveBackup(h.archive / "N001 a", next, failing);
    EXPECT_FALSE(moved.done);
    EXPECT_EQ(moved.message.rfind("Backup Move Failed.", 0), 0u);
    EXPECT_EQ(Contents(h.archive / "N001 a"), backup);
    EXPECT_TRUE(fs::is_empty(next));
    moved = MoveBackup(h.archive / "N001 a", next);
    ASSERT_TRUE(moved.done);
    EXPECT_EQ(Contents(next / "N001 a"), backup);
    EXPECT_FALSE(fs::exists(h.archive / "N001 a"));
}

TEST(Backups, WithoutATrashTheReplacedNeighborhoodBecomesABackup) {
    Hoods h;
    const auto played = Contents(h.hood);
    const std::string made = "N001 01-02-2026 030405";
    ASSERT_TRUE(BackupNeighborhood(h.hood, h.archive, made, h.discard, h.progress).done);
    const auto result = RestoreBackup(h.archive / made, h.neighborhoods, "N001", KeepAsBackup(h.archive, "N001"), h.progress);
    ASSERT_TRUE(result.done) << result.message;
    const auto groups = BackupTree(h.archive);
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups[0].backups.size(), 2u);
    EXPECT_EQ(groups[0].backups[0], made);
    ASSERT_TRUE(groups[0].backups[1].ends_with(" replaced"));
    auto replaced = Contents(h.archive / groups[0].backups[1]);  // "N001 <today> replaced", whole
    EXPECT_EQ(replaced.count("Quillhaven.lock"), 0u);  // the lock is not in the neighborhood's folder
    auto expected = played;
    expected.erase("Quillhaven.lock");
    EXPECT_EQ(replaced, expected);
    // Deleting: the discard's refusal is said.
    h.discardWorks = false;
    const std::string refused = DeleteBackup(h.archive / made, h.discard).message;
    EXPECT_EQ(refused.rfind("Delete Operation Failed.\r\n", 0), 0u) << refused;
    EXPECT_NE(refused.find((h.archive / made).string() + " could not be removed"), std::string::npos) << refused;
#ifndef _WIN32
    if (::geteuid() != 0) {  // the superuser may write any folder
        fs::permissions(h.archive, fs::perms::owner_write, fs::perm_options::remove);
        const std::string why = DeleteBackup(h.archive / made, h.discard).message;
        fs::permissions(h.archive, fs::perms::owner_write, fs::perm_options::add);
        EXPECT_NE(why.find(h.archive.string() + "\" cannot be written"), std::string::npos) << why;
    }
#endif
    h.discardWorks = true;
    EXPECT_TRUE(DeleteBackup(h.archive / made, h.discard).done);
    EXPECT_FALSE(fs::exists(h.archive / made));
}

}  // namespace
}  // namespace qh
