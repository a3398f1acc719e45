#include "platform/file_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "platform/errors.h"
#include "platform/folder_lock.h"
#include "platform/trash.h"
#include "support/platform_only.h"
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

// A copy is written only where nothing is: an existing file is never overwritten by it, and a
// failure is the system's error, so a full disk can be told as such.
TEST(WriteNewFile, WritesWhereNothingIsAndNeverOverAFile) {
    test::TempDir dir;
    const auto path = dir / "copy.package";
    WriteNewFile(path, test::ToBytes("copied"));
    EXPECT_EQ(ReadFileBytes(path), test::ToBytes("copied"));
    try {
        WriteNewFile(path, test::ToBytes("other"));
        FAIL() << "expected a refusal";
    } catch (const std::filesystem::filesystem_error& error) {
        EXPECT_EQ(error.code(), std::errc::file_exists);
    }
    EXPECT_EQ(ReadFileBytes(path), test::ToBytes("copied"));
    WriteNewFile(dir / "empty", {});
    EXPECT_EQ(std::filesystem::file_size(dir / "empty"), 0u);
    EXPECT_THROW(WriteNewFile(dir / "no such folder" / "x", test::ToBytes("x")), std::filesystem::filesystem_error);
    // A whole tree flushed at once; a folder that is not there is named.
    std::filesystem::create_directories(dir / "tree" / "Characters");
    WriteNewFile(dir / "tree" / "Characters" / "a.package", test::ToBytes("a"));
    EXPECT_NO_THROW(FlushTreeToDisk(dir / "tree"));
    try {
        FlushTreeToDisk(dir / "gone");
        FAIL() << "expected IoError";
    } catch (const std::exception& error) {
        EXPECT_NE(std::string(error.what()).find("gone"), std::string::npos) << error.what();
    }
}

// A name so long that the copy written beside it (11 characters more) cannot be named: said as
// such, the file unchanged, and known beforehand.
TEST(AtomicReplace, ANameTooLongForTheCopyBesideItIsSaidAndKnownBeforehand) {
    test::TempDir dir;
    const auto path = dir / (std::string(240, 'n') + ".package");  // 248 bytes: room for the file alone
    std::ofstream(path) << "old";
    EXPECT_FALSE(NameLeavesRoomToReplace(path));
    EXPECT_TRUE(NameLeavesRoomToReplace(dir / (std::string(236, 'n') + ".package")));
    try {
        AtomicReplace(path, test::ToBytes("new"));
        FAIL() << "expected IoError";
    } catch (const IoError& error) {
        EXPECT_NE(std::string(error.what()).find("name too long"), std::string::npos) << error.what();
    }
    EXPECT_EQ(ReadFileBytes(path), test::ToBytes("old"));
}

// A folder that cannot be written (a read-only disk, or one of another user's) is said as such,
// not as another program's save. The superuser writes any folder, so this runs for others only.
TEST(AtomicReplace, AFolderThatCannotBeWrittenIsSaidAsSuch) {
#ifndef _WIN32
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write any folder";
    test::TempDir dir;
    const auto path = dir / "x.package";
    std::ofstream(path) << "old";
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    std::string what;
    try {
        AtomicReplace(path, test::ToBytes("new"));
    } catch (const IoError& error) {
        what = error.what();
    }
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    EXPECT_NE(what.find("cannot be written"), std::string::npos) << what;
    EXPECT_EQ(ReadFileBytes(path), test::ToBytes("old"));
#endif
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

// A folder or a pipe where a package should be is refused with its name: never read as a file of
// some enormous length, never waited on for a writer that does not come.
TEST(ReadFileBytes, WhatIsNoFileIsRefused) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "N001_User00001.package");
    std::vector<std::filesystem::path> odd{dir / "N001_User00001.package"};
#ifndef _WIN32
    ASSERT_EQ(::mkfifo((dir / "N001_User00002.package").c_str(), 0600), 0);
    odd.push_back(dir / "N001_User00002.package");
#endif
    for (const auto& path : odd) {
        for (bool buffer : {false, true}) {
            try {
                buffer ? static_cast<void>(ReadFileBuffer(path)) : static_cast<void>(ReadFileBytes(path));
                ADD_FAILURE() << path << " was read";
            } catch (const IoError& error) {
                EXPECT_NE(std::string(error.what()).find(path.filename().string()), std::string::npos) << error.what();
            }
        }
    }
    // A file, empty or not, reads the same either way.
    for (const Bytes& content : {Bytes{}, Bytes{1, 2, 3, 0, 255}}) {
        const auto file = dir.Write("N001_User00003.package", content);
        EXPECT_EQ(ReadFileBytes(file), content);
        const FileBuffer buffer = ReadFileBuffer(file);
        EXPECT_EQ(Bytes(buffer.Span().begin(), buffer.Span().end()), content);
    }
}

// A stamp tells a rewrite of the same length by its time (to the microsecond here), and a file
// that is gone from an empty one.
TEST(StampOf, SizeAndTimeOfTheFileOrNothing) {
    test::TempDir dir;
    const auto path = dir / "N001_User00001.package";
    AtomicReplace(path, Bytes{1, 2, 3});
    const auto at = std::filesystem::last_write_time(path);
    const FileStamp first = StampOf(path);
    EXPECT_EQ(first.size, 3u);
    EXPECT_EQ(first, StampOf(path));
    AtomicReplace(path, Bytes{4, 5, 6});
#ifdef _WIN32
    const auto later = at + std::chrono::seconds(2);  // what Wine's file times keep
#else
    const auto later = at + std::chrono::microseconds(1);
#endif
    std::filesystem::last_write_time(path, later);
    EXPECT_NE(StampOf(path), first);
    std::filesystem::last_write_time(path, at);
    EXPECT_EQ(StampOf(path), first);

    const FileStamp gone = StampOf(dir / "N001_User00002.package");
    EXPECT_EQ(gone.size, 0u);
    AtomicReplace(dir / "empty.package", Bytes{});
    EXPECT_NE(StampOf(dir / "empty.package"), gone);
    EXPECT_EQ(StampOf(dir.path()).size, 0u) << "a folder has no length of its own";
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

TEST(ReadFileBufferSteadily, AFileWrittenDuringTheReadIsReadAgainAndOneReplacedIsReadAsItWas) {
    test::TempDir dir;
    const auto path = dir / "N001_User00001.package";
    AtomicReplace(path, Bytes{1, 2, 3});
    const auto bytesOf = [](const FileBuffer& buffer) { return Bytes(buffer.Span().begin(), buffer.Span().end()); };
    FileStamp stamp;
    EXPECT_EQ(bytesOf(ReadFileBufferSteadily(path, stamp)), (Bytes{1, 2, 3}));
    EXPECT_EQ(stamp, StampOf(path));

    // The game writes into the file itself while it is read: read once more.
    const auto append = [&] {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out.put(9);
    };
    int reads = 0;
    const FileBuffer again = ReadFileBufferSteadily(path, stamp, [&] {
        if (++reads == 1) append();
    });
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(bytesOf(again), (Bytes{1, 2, 3, 9}));
    EXPECT_EQ(stamp, StampOf(path));
    try {
        ReadFileBufferSteadily(path, stamp, append);
        ADD_FAILURE() << "a file that never holds still is an error";
    } catch (const IoError& error) {
        EXPECT_NE(std::string(error.what()).find("N001_User00001.package"), std::string::npos);
    }
#ifndef _WIN32
    // Replaced by a new file while the old one is read: the old one is read whole, and its stamp
    // is not the new file's, so a save of what was read finds the file changed.
    const Bytes before = ReadFileBytes(path);
    const FileStamp stampBefore = StampOf(path);
    const FileBuffer old = ReadFileBufferSteadily(path, stamp, [&] { AtomicReplace(path, Bytes{7}); });
    EXPECT_EQ(bytesOf(old), before);
    EXPECT_EQ(stamp, stampBefore);
    EXPECT_NE(stamp, StampOf(path));
#endif
    EXPECT_THROW(ReadFileBufferSteadily(dir / "gone.package", stamp), IoError);
    EXPECT_THROW(ReadFileBufferSteadily(dir.path(), stamp), IoError);
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
    // A folder that is not there is no lock.
    EXPECT_FALSE(FolderLock::Acquire(dir / "missing", "x", std::chrono::milliseconds(0), holder).has_value());
}

namespace fs = std::filesystem;

TEST(FolderLock, NothingOfOursStaysInTheFolderAndTheLockFollowsThePath) {
    QH_LINUX_ONLY("symbolic links made without privileges");
    test::TempDir dir;
    const fs::path hood = dir / "N001";
    fs::create_directories(hood);
    std::ofstream(hood / "N001_Neighborhood.package") << "x";
    std::ofstream(hood / "Quillhaven.lock") << "an earlier version's, held by nobody";
    std::string holder;
    {
        auto lock = FolderLock::Acquire(hood, "editor", std::chrono::milliseconds(0), holder);
        ASSERT_TRUE(lock.has_value());
        EXPECT_TRUE(fs::exists(LockFileOf(hood)));
        EXPECT_NE(LockFileOf(hood).parent_path(), hood);
        // The folder holds the player's file alone, the old lock file gone.
        std::vector<fs::path> names;
        for (const auto& item : fs::directory_iterator(hood)) names.push_back(item.path().filename());
        EXPECT_EQ(names, std::vector<fs::path>{"N001_Neighborhood.package"});
        // Another spelling of the same folder, or a link to it, is the same lock.
        fs::create_directory_symlink(hood, dir / "link");
        EXPECT_EQ(LockFileOf(dir / "." / "N001" / ""), LockFileOf(hood));
        EXPECT_FALSE(FolderLock::Acquire(dir / "link", "other", std::chrono::milliseconds(0), holder).has_value());
        EXPECT_EQ(holder.rfind("editor (process ", 0), 0u) << holder;
        // A folder renamed away while held (a restore) leaves the name locked, not the folder.
        fs::rename(hood, dir / "aside");
        fs::create_directories(hood);
        EXPECT_FALSE(FolderLock::Acquire(hood, "other", std::chrono::milliseconds(0), holder).has_value());
        EXPECT_TRUE(FolderLock::Acquire(dir / "aside", "other", std::chrono::milliseconds(0), holder).has_value());
    }
    EXPECT_FALSE(fs::exists(LockFileOf(hood)));  // released and removed
}

#ifndef _WIN32
TEST(FolderLock, AKilledHolderLeavesTheFolderFree) {
    test::TempDir dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::string ignored;
        auto lock = FolderLock::Acquire(dir.path(), "killed editor", std::chrono::milliseconds(0), ignored);
        const char byte = lock ? 'y' : 'n';
        (void)!::write(ready[1], &byte, 1);
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 'y');
    std::string holder;
    EXPECT_FALSE(FolderLock::Acquire(dir.path(), "editor", std::chrono::milliseconds(0), holder).has_value());
    EXPECT_NE(holder.find("killed editor"), std::string::npos);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_TRUE(FolderLock::Acquire(dir.path(), "editor", std::chrono::milliseconds(0), holder).has_value());
}
#endif

}  // namespace
}  // namespace qh

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

namespace qh {
namespace {

mode_t ModeOf(const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(AtomicReplace, KeepsModeOwnerAndLinksAndRefusesReadOnlyFiles) {
    test::TempDir dir;
    const auto path = dir / "N001_Neighborhood.package";
    AtomicReplace(path, Bytes{1});
    for (mode_t mode : {0600, 0640}) {
        ::chmod(path.c_str(), mode);
        AtomicReplace(path, Bytes{2});
        EXPECT_EQ(ModeOf(path), mode);
    }
    if (::geteuid() == 0) {  // only root can hand a file to another user to try this
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
        AtomicReplace(path, Bytes{3});
        struct stat info {};
        ::stat(path.c_str(), &info);
        EXPECT_EQ(info.st_uid, 65534u);
        EXPECT_EQ(info.st_gid, 65534u);
    }
    ::chmod(path.c_str(), 0444);
    try {
        AtomicReplace(path, Bytes{4});
        ADD_FAILURE() << "a read-only file is not replaced";
    } catch (const IoError& error) {
        EXPECT_NE(std::string(error.what()).find("read-only"), std::string::npos);
    }
    EXPECT_EQ(ReadFileBytes(path), ::geteuid() == 0 ? Bytes{3} : Bytes{2});
    ::chmod(path.c_str(), 0644);

    // A package that is a link to the real file: the link stays, the file gets the bytes.
    const auto real = dir / "real.package";
    AtomicReplace(real, Bytes{7});
    const auto link = dir / "link.package";
    std::filesystem::create_symlink(real, link);
    AtomicReplace(link, Bytes{8, 9});
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(real), (Bytes{8, 9}));
    int temporaries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) temporaries += entry.path().extension() == ".tmp";
    EXPECT_EQ(temporaries, 0);
}

TEST(RegularFilesIn, FilesAndLinksToFilesButNoFolderOrBrokenLink) {
    test::TempDir dir;
    AtomicReplace(dir / "N001_User00001.package", Bytes{1});
    AtomicReplace(dir / "notes.txt", Bytes{2});
    std::filesystem::create_directory(dir / "N001_User00002.package");
    std::filesystem::create_symlink(dir / "notes.txt", dir / "link.package");
    std::filesystem::create_directory_symlink(dir / "N001_User00002.package", dir / "folder link.package");
    std::filesystem::create_symlink(dir / "gone", dir / "broken.package");
    auto files = RegularFilesIn(dir.path());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::filesystem::path>{dir / "N001_User00001.package", dir / "link.package",
                                                         dir / "notes.txt"}));
    EXPECT_TRUE(RegularFilesIn(dir / "no such folder").empty());
    EXPECT_TRUE(RegularFilesIn(dir / "notes.txt").empty());

    // As text, each path is spelled as `folder / name` is, so that a stamp remembered under the
    // listed text is found again under the path a save makes; the name is the last component.
    for (const std::filesystem::path& folder : {dir.path(), dir.path() / ""}) {
        auto texts = RegularFilePathsIn(folder);
        std::sort(texts.begin(), texts.end());
        ASSERT_EQ(texts.size(), 3u);
        EXPECT_EQ(texts[0], (folder / "N001_User00001.package").native());
        EXPECT_EQ(texts[2], (dir / "notes.txt").native());
        EXPECT_EQ(FileNameOf(texts[0]), "N001_User00001.package");
        FileStamps stamps;
        stamps.Set(texts[0], FileStamp{7, {}});
        ASSERT_NE(stamps.Find(dir / "N001_User00001.package"), nullptr);
        EXPECT_EQ(stamps.Find(dir / "N001_User00001.package")->size, 7u);
        EXPECT_EQ(stamps.Find(dir / "notes.txt"), nullptr);
        stamps.Erase(dir / "N001_User00001.package");
        EXPECT_TRUE(stamps.empty());
    }
}

TEST(AtomicReplace, LeftoverTemporariesOfAKilledSaveAreRemovedAndNothingElse) {
    test::TempDir dir;
    for (const char* name : {"N001_Neighborhood.package.a1b2c3.tmp", "N001_User00001.package.00ff00.tmp",
                             "notes.tmp", "N001_Neighborhood.package.A1B2C3.tmp", "x.package.a1b2c.tmp"}) {
        AtomicReplace(dir / name, Bytes{1});
    }
    // A folder named as a temporary is not one.
    std::filesystem::create_directory(dir / "Characters.package.abcdef.tmp");
    // Made through AtomicReplace themselves, so their own temporaries are gone already.
    EXPECT_EQ(RemoveLeftoverTemporaries(dir.path()), 2u);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Characters.package.abcdef.tmp"));
    EXPECT_EQ(RemoveLeftoverTemporaries(dir / "no such folder"), 0u);
    EXPECT_TRUE(std::filesystem::exists(dir / "notes.tmp"));
    EXPECT_TRUE(std::filesystem::exists(dir / "N001_Neighborhood.package.A1B2C3.tmp"));
    EXPECT_TRUE(std::filesystem::exists(dir / "x.package.a1b2c.tmp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "N001_User00001.package.00ff00.tmp"));
}

}  // namespace
}  // namespace qh
#endif

namespace qh {
namespace {

TEST(Trash, OnlyAMoveIntoATrashFolderCountsAndAnythingElseIsPutBack) {
    QH_LINUX_ONLY("the freedesktop trash's folders");
    test::TempDir dir;
#ifndef _WIN32
    // The home trash is made first: the test's own, never the player's.
    const char* before = std::getenv("XDG_DATA_HOME");
    const std::string saved = before ? before : "";
    ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    struct Restore {
        std::string value;
        bool had;
        ~Restore() { had ? ::setenv("XDG_DATA_HOME", value.c_str(), 1) : ::unsetenv("XDG_DATA_HOME"); }
    } restore{saved, before != nullptr};
#endif
    const std::filesystem::path item = dir / "N001 01-02-2026 030405";
    std::filesystem::create_directories(item);
    std::ofstream(item / "N001_Neighborhood.package") << "x";
    // A system call that moves it into the current folder's "files" (what Qt does without a home
    // trash) is undone.
    const auto stray = MoveToTrashChecked(item, [&](const std::filesystem::path& what) {
        std::filesystem::create_directories(dir / "files");
        std::filesystem::rename(what, dir / "files" / what.filename());
        return std::optional<std::filesystem::path>(dir / "files" / what.filename());
    });
    EXPECT_FALSE(stray.has_value());
    EXPECT_TRUE(std::filesystem::exists(item / "N001_Neighborhood.package"));
    // One that says it moved nothing leaves it too.
    EXPECT_FALSE(MoveToTrashChecked(item, [](const std::filesystem::path&) { return std::nullopt; }).has_value());
    EXPECT_TRUE(std::filesystem::exists(item));
    // Into a trash folder: taken.
    const auto trashed = MoveToTrashChecked(item, [&](const std::filesystem::path& what) {
        const auto target = dir / "data" / "Trash" / "files" / what.filename();
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::rename(what, target);
        return std::optional<std::filesystem::path>(target);
    });
    ASSERT_TRUE(trashed.has_value());
    EXPECT_FALSE(std::filesystem::exists(item));
    EXPECT_TRUE(std::filesystem::exists(*trashed / "N001_Neighborhood.package"));

#ifndef _WIN32
    EXPECT_TRUE(std::filesystem::is_directory(dir / "data" / "Trash" / "info"));
#endif
    EXPECT_TRUE(LiesInTrashFolder("/media/disk/.Trash-1000/files/x"));
    EXPECT_TRUE(LiesInTrashFolder("/home/p/.local/share/Trash/files/x"));
    EXPECT_FALSE(LiesInTrashFolder("/home/p/files/x"));
    EXPECT_FALSE(LiesInTrashFolder("files/x"));
}

}  // namespace
}  // namespace qh
