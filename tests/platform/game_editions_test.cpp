#include "platform/game_editions.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/system_discovery.h"
#include "platform/wine_registry.h"
#include "support/temp_dir.h"
#include "support/platform_only.h"

namespace qh {
namespace {
namespace fs = std::filesystem;

// Registry files as Wine writes them, laid out from the editions' facts: keys in brackets with
// doubled backslashes, strings quoted, numbers as dword:, characters beyond ASCII as \xHHHH.
const char* const kUserHeader = "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n";
const char* const kMachineHeader = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n";
const char* const kLegacy = "[Software\\\\Electronic Arts\\\\The Sims 2 Ultimate Collection 25] 1700000000\n";
const char* const kShellFolders =
    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1700000000\n"
    "\"Personal\"=\"C:\\\\users\\\\steamuser\\\\Documents\"\n";

void Write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

// A prefix with the given registry texts, its C: drive and a documents folder.
fs::path Prefix(const fs::path& at, const std::string& user, const std::string& machine = kMachineHeader,
                const char* documents = "Documents") {
    Write(at / "user.reg", user);
    Write(at / "system.reg", machine);
    fs::create_directories(at / "drive_c/users/steamuser" / documents);
    return at;
}

// A pack's folder, "C:\Games\TS2L\<pack>", with its objects package.
std::string Pack(const fs::path& prefix, const std::string& pack) {
    const fs::path objects = prefix / "drive_c/Games/TS2L" / pack / "TSData/Res/Objects/objects.package";
    Write(objects, "DBPF");
    return "C:\\\\Games\\\\TS2L\\\\" + pack;
}

void DataFolder(const fs::path& prefix, const std::string& name, const char* documents = "Documents") {
    fs::create_directories(prefix / "drive_c/users/steamuser" / documents / "EA Games" / fs::u8path(name) / "Neighborhoods");
}

SystemDiscovery Discover(const fs::path& prefix, std::optional<fs::path> remembered = std::nullopt) {
    SystemDiscoveryInput input;
    input.winePrefix = prefix;
    input.remembered = std::move(remembered);
    return DiscoverOnThisSystem(input, {});
}

// A French Legacy Collection with a localized folder name, some packs listed, one marked
// installed by its own key only, one listed whose folder is gone, and an empty list item.
TEST(GameEditions, TheLegacyCollectionIsFoundByItsOwnKey) {
    QH_LINUX_ONLY("Wine and Proton prefixes");
    test::TempDir dir;
    const fs::path prefix = dir / "pfx";
    std::string user = kUserHeader;
    user += kLegacy;
    user += "\"DisplayName\"=\"Les Sims 2 H\\x00e9ritage\"\n";
    user += "\"EPsInstalled\"=\"Sims2EP1.exe,,Sims2EP5.exe, Sims2EP6.exe,Sims2SP1.exe\"\n\n";
    std::string packs = "[Software\\\\Electronic Arts\\\\The Sims 2 Ultimate Collection 25\\\\Sims2.exe] 1\n\"path\"=\"" +
                        Pack(prefix, "Base") + "\"\n\"Installed\"=dword:00000001\n";
    packs += "[Software\\\\Electronic Arts\\\\The Sims 2 Ultimate Collection 25\\\\Sims2EP5.exe] 1\n\"path\"=\"" +
             Pack(prefix, "EP5") + "\"\n\"Installed\"=dword:00000001\n";
    packs += "[Software\\\\Electronic Arts\\\\The Sims 2 Ultimate Collection 25\\\\Sims2EP6.exe] 1\n"
             "\"path\"=\"C:\\\\Games\\\\TS2L\\\\Gone\"\n\"Installed\"=dword:00000001\n";
    packs += "[Software\\\\Electronic Arts\\\\The Sims 2 Ultimate Collection 25\\\\Sims2EP7.exe] 1\n\"path\"=\"" +
             Pack(prefix, "EP7") + "\"\n\"Installed\"=dword:00000001\n";
    packs += "[Software\\\\Electronic Arts\\\\The Sims 2 Ultimate Collection 25\\\\1.0] 1\n\"language\"=dword:00000002\n";
    Prefix(prefix, user + packs + kShellFolders);
    DataFolder(prefix, "Les Sims 2 H\u00e9ritage");

    const SystemDiscovery found = Discover(prefix);
    ASSERT_EQ(found.editions.editions.size(), 1u) << WhereDiscoveryLooked(found);
    const GameEdition& legacy = found.editions.editions[0];
    EXPECT_EQ(legacy.edition, "Legacy Collection");
    EXPECT_EQ(legacy.displayName, "Les Sims 2 H\u00e9ritage");
    EXPECT_EQ(found.env.userDataFolder.filename(), fs::u8path("Les Sims 2 H\u00e9ritage"));
    EXPECT_TRUE(fs::is_directory(found.env.neighborhoodsFolder));
    EXPECT_EQ(found.env.languageCode, 3);  // French in the game's text lists
    // Listed (EP1, EP5, EP6) or installed by its own key (EP7); nothing else.
    EXPECT_TRUE(found.env.hasUniversity && found.env.hasSeasons && found.env.hasBonVoyage && found.env.hasFreeTime);
    EXPECT_FALSE(found.env.hasNightlife || found.env.hasOpenForBusiness || found.env.hasPets || found.env.hasApartmentLife);
    // The last pack present gives the objects; the one whose folder is gone is said and passed over.
    EXPECT_EQ(found.env.objectsPackagePath, prefix / "drive_c/Games/TS2L/EP7/TSData/Res/Objects/objects.package");
    EXPECT_EQ(legacy.installFolder, prefix / "drive_c/Games/TS2L/Base");
    ASSERT_EQ(found.editions.skipped.size(), 1u);
    EXPECT_NE(found.editions.skipped[0].find("user.reg"), std::string::npos);
    EXPECT_NE(found.editions.skipped[0].find("Gone"), std::string::npos);
}

TEST(GameEditions, LanguageNumbersMapOntoTheGamesTextLanguages) {
    EXPECT_EQ(LegacyLanguage(1)->code, 1);
    EXPECT_EQ(LegacyLanguage(19)->code, 2);   // English UK
    EXPECT_EQ(LegacyLanguage(5)->code, 6);    // Spanish
    EXPECT_EQ(LegacyLanguage(6)->code, 9);    // Swedish
    EXPECT_EQ(LegacyLanguage(8)->code, 7);    // Dutch
    EXPECT_EQ(LegacyLanguage(14)->code, 15);  // Japanese
    EXPECT_EQ(LegacyLanguage(14)->charset, 128);
    EXPECT_EQ(LegacyLanguage(17)->code, 18);  // Simplified Chinese
    EXPECT_EQ(LegacyLanguage(18)->code, 17);  // Traditional Chinese
    EXPECT_EQ(LegacyLanguage(10)->code, 14);  // both Portuguese installs read the one Portuguese
    EXPECT_EQ(LegacyLanguage(23)->code, 14);
    // Czech and Hungarian have no entries in the game's text lists; unknown numbers neither.
    EXPECT_FALSE(LegacyLanguage(11));
    EXPECT_FALSE(LegacyLanguage(25));
    EXPECT_FALSE(LegacyLanguage(12));
    EXPECT_FALSE(LegacyLanguage(0));
}

// A DisplayName that would lead out of the documents folder is never followed, and said with
// the file and the value; nothing is created anywhere.
TEST(GameEditions, ADisplayNameThatIsNoFolderNameIsPassedOver) {
    for (const std::string name : {"..", "..\\\\..\\\\Windows", "/etc", "C:\\\\Windows", ""}) {
        test::TempDir dir;
        const fs::path prefix = dir / "pfx";
        std::string user = kUserHeader;
        user += kLegacy;
        user += "\"DisplayName\"=\"" + name + "\"\n";
        user += kShellFolders;
        std::string machine = kMachineHeader;
        machine += "[Software\\\\EA GAMES\\\\The Sims 2] 1\n\"DisplayName\"=\"" + name + "\"\n";
        Prefix(prefix, user, machine);
        const SystemDiscovery found = Discover(prefix);
        EXPECT_TRUE(found.env.userDataFolder.empty()) << name;
        if (!name.empty()) {
            ASSERT_EQ(found.editions.skipped.size(), 2u) << name;
            EXPECT_NE(found.editions.skipped[0].find("user.reg"), std::string::npos);
            EXPECT_NE(found.editions.skipped[1].find("system.reg"), std::string::npos);
        }
        std::size_t files = 0;
        for (auto it = fs::recursive_directory_iterator(dir.path()); it != fs::recursive_directory_iterator(); ++it) ++files;
        EXPECT_EQ(files, 7u) << "the prefix's two registry files and its folders down to Documents, nothing more";
    }
}

// The discs kept beside the Legacy Collection in one prefix: both data folders are offered, the
// remembered one is used. With "The Sims 2" a link to the Legacy folder, its neighborhoods are
// listed once.
TEST(GameEditions, TwoEditionsAreBothOfferedAndALinkedFolderOnce) {
    QH_LINUX_ONLY("Wine and Proton prefixes");
    test::TempDir dir;
    const fs::path prefix = dir / "pfx";
    std::string user = kUserHeader;
    user += kLegacy;
    user += "\"DisplayName\"=\"The Sims 2 Legacy\"\n";
    user += "[Software\\\\EA GAMES\\\\The Sims 2] 1\n\"DisplayName\"=\"The Sims 2\"\n";
    user += kShellFolders;
    std::string machine = kMachineHeader;
    machine += "[Software\\\\EA GAMES\\\\The Sims 2] 1\n\"Install Dir\"=\"C:\\\\Program Files\\\\EA GAMES\\\\The Sims 2\"\n";
    Prefix(prefix, user, machine);
    DataFolder(prefix, "The Sims 2 Legacy");
    DataFolder(prefix, "The Sims 2");

    SystemDiscovery found = Discover(prefix);
    ASSERT_EQ(found.editions.editions.size(), 2u) << WhereDiscoveryLooked(found);
    EXPECT_EQ(found.editions.editions[0].edition, "Legacy Collection");
    EXPECT_EQ(found.editions.editions[1].edition, "retail");
    EXPECT_EQ(found.chosen, 0u);
    found = Discover(prefix, found.editions.editions[1].env.userDataFolder);
    EXPECT_EQ(found.chosen, 1u);
    EXPECT_EQ(found.env.userDataFolder.filename(), "The Sims 2");

    const fs::path documents = prefix / "drive_c/users/steamuser/Documents/EA Games";
    fs::remove_all(documents / "The Sims 2");
    fs::create_directory_symlink("The Sims 2 Legacy", documents / "The Sims 2");
    found = Discover(prefix);
    ASSERT_EQ(found.editions.editions.size(), 1u);
    EXPECT_EQ(found.editions.editions[0].edition, "Legacy Collection");
}

// Steam keeps the Legacy Collection's prefix beside the library that holds the game, which may be
// one Steam lists only in libraryfolders.vdf; older prefixes name the documents "My Documents".
TEST(GameEditions, ALegacyPrefixInALibraryListedOnlyByLibraryFolders) {
    QH_LINUX_ONLY("Wine and Proton prefixes");
    test::TempDir dir;
    const fs::path home = dir / "home";
    const fs::path library = dir / "mnt" / "games";
    Write(home / ".steam/steam/steamapps/libraryfolders.vdf",
          "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + (home / ".steam/steam").string() +
              "\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + library.string() + "\"\n\t}\n}\n");
    const fs::path prefix = library / "steamapps/compatdata/3314070/pfx";
    std::string user = kUserHeader;
    user += kLegacy;
    user += "\"DisplayName\"=\"Los Sims 2 Legado\"\n";
    Prefix(prefix, user, kMachineHeader, "My Documents");
    DataFolder(prefix, "Los Sims 2 Legado", "My Documents");
    // A prefix of another game beside it, holding nothing of this one.
    Prefix(library / "steamapps/compatdata/440/pfx", kUserHeader);

    SystemDiscoveryInput input;
    input.home = home;
    const SystemDiscovery found = DiscoverOnThisSystem(input, {});
    ASSERT_EQ(found.editions.editions.size(), 1u) << WhereDiscoveryLooked(found);
    EXPECT_EQ(found.editions.editions[0].edition, "Legacy Collection");
    EXPECT_EQ(found.env.userDataFolder, prefix / "drive_c/users/steamuser/My Documents/EA Games/Los Sims 2 Legado");
    EXPECT_EQ(found.prefixes.chosen, prefix);
    EXPECT_NE(WhereDiscoveryLooked(found).find("compatdata/440"), std::string::npos) << "the passed-over prefix is said";
}

// No key at all, but a data folder in a prefix or in the home folder: used, and said how.
TEST(GameEditions, ADataFolderWithoutAKeyIsFoundByItsName) {
    QH_LINUX_ONLY("Wine and Proton prefixes");
    test::TempDir dir;
    const fs::path home = dir / "home";
    const fs::path prefix = home / ".wine";
    Prefix(prefix, std::string(kUserHeader) + kShellFolders);
    DataFolder(prefix, "The Sims 2 Ultimate Collection");
    fs::create_directories(home / "Documents/EA Games/The Sims 2 Legacy/Neighborhoods");

    SystemDiscoveryInput input;
    input.home = home;
    const SystemDiscovery found = DiscoverOnThisSystem(input, {});
    ASSERT_EQ(found.editions.editions.size(), 2u) << WhereDiscoveryLooked(found);
    EXPECT_EQ(found.editions.editions[0].edition, "data folder");
    EXPECT_EQ(found.env.userDataFolder.filename(), "The Sims 2 Ultimate Collection");
    EXPECT_NE(found.env.sources.at("userDataFolder").find("no key"), std::string::npos);
    EXPECT_EQ(found.editions.editions[1].env.userDataFolder, home / "Documents/EA Games/The Sims 2 Legacy");

    // A folder the player chose once is offered, and used, on the next start.
    fs::create_directories(dir / "elsewhere/Neighborhoods");
    const SystemDiscovery again = [&] {
        SystemDiscoveryInput remembered = input;
        remembered.remembered = dir / "elsewhere";
        return DiscoverOnThisSystem(remembered, {});
    }();
    ASSERT_TRUE(again.chosen);
    EXPECT_EQ(again.editions.editions[*again.chosen].edition, "chosen folder");
    EXPECT_EQ(again.env.userDataFolder, dir / "elsewhere");
}

// A damaged registry file passes its prefix over with the file's name; discovery goes on.
TEST(GameEditions, ADamagedRegistryFileIsSaidAndPassedOver) {
    test::TempDir dir;
    const fs::path prefix = dir / "pfx";
    Prefix(prefix, std::string(kUserHeader) + kLegacy + "\"DisplayName\"=\"The Sims 2 Legacy\n[\n", kMachineHeader);
    SystemDiscovery found;
    ASSERT_NO_THROW(found = Discover(prefix));
    EXPECT_TRUE(found.env.userDataFolder.empty());
    const std::string said = WhereDiscoveryLooked(found);
    EXPECT_NE(said.find("user.reg"), std::string::npos) << said;
}

}  // namespace
}  // namespace qh
