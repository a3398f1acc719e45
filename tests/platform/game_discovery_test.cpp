#include "platform/game_discovery.h"

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "platform/wine_prefix.h"
#include "platform/wine_registry.h"
#include "support/temp_dir.h"
#include "support/platform_only.h"

namespace qh {
namespace {
namespace fs = std::filesystem;

// Registry text for one hive: keys with their string values.
struct RegText {
    std::string text;
    RegText& Key(const std::string& path) {
        std::string escaped;
        for (char c : path) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
        text += "[" + escaped + "]\n";
        return *this;
    }
    RegText& Value(const std::string& name, const std::string& value) {
        std::string escaped;
        for (char c : value) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
        text += "\"" + name + "\"=\"" + escaped + "\"\n";
        return *this;
    }
};

WineRegistry Registry(const RegText& machine, const RegText& user = {}) {
    return WineRegistry(WineRegistryFile::Parse(machine.text, "system.reg"),
                        WineRegistryFile::Parse(user.text, "user.reg"), "system.reg", "user.reg");
}

// Windows paths as they are; the documents folder fixed.
class FakePaths final : public GamePaths {
public:
    fs::path Map(std::string_view windowsPath) const override { return fs::path(std::string(windowsPath)); }
    std::optional<fs::path> PersonalFolder(std::string* source) const override {
        if (source) *source = "test";
        return fs::path("/docs");
    }
};

RegText Install(RegText reg, const std::string& name, const std::string& folder, bool wow64 = false) {
    return reg.Key(std::string(wow64 ? "Software\\Wow6432Node\\EA GAMES\\" : "Software\\EA GAMES\\") + name)
        .Value("Install Dir", folder);
}

TEST(DiscoverGame, LastInstallationGivesTheObjectsPackage) {
    RegText machine = Install({}, "The Sims 2", "C:\\Games\\TS2\\");
    machine = Install(machine, "The Sims 2 Seasons", "C:\\Games\\Seasons", true);
    const auto registry = Registry(machine);
    FakePaths paths;
    const GameEnvironment env = DiscoverGame(&registry, &paths, {});
    EXPECT_EQ(env.objectsPackagePath, fs::path("C:\\Games\\Seasons\\TSData\\Res\\Objects\\objects.package"));
    EXPECT_TRUE(env.hasSeasons);
    EXPECT_FALSE(env.hasUniversity || env.hasNightlife || env.hasOpenForBusiness || env.hasPets ||
                 env.hasBonVoyage || env.hasFreeTime || env.hasApartmentLife);
    EXPECT_NE(env.sources.at("objectsPackagePath").find("Wow6432Node"), std::string::npos);
}

TEST(DiscoverGame, DeluxeCountsAsNightlifeOnlyWithoutANightlifeKey) {
    const auto deluxe = Registry(Install({}, "The Sims 2 Deluxe", "C:\\Deluxe"));
    FakePaths paths;
    GameEnvironment env = DiscoverGame(&deluxe, &paths, {});
    EXPECT_TRUE(env.hasNightlife);
    EXPECT_EQ(env.objectsPackagePath, fs::path("C:\\Deluxe\\TSData\\Res\\Objects\\objects.package"));

    RegText both = Install({}, "The Sims 2 Deluxe", "C:\\Deluxe");
    both.Key("Software\\EA GAMES\\The Sims 2 Nightlife");  // present, but no folder
    const auto registry = Registry(both);
    env = DiscoverGame(&registry, &paths, {});
    EXPECT_FALSE(env.hasNightlife);
    EXPECT_TRUE(env.objectsPackagePath.empty());
}

TEST(DiscoverGame, DisplayNameAndLanguageFollowTheHiveRule) {
    RegText machine;
    machine.Key("Software\\EA GAMES\\The Sims 2").Value("DisplayName", "Die Sims 2");
    machine.Key("Software\\EA GAMES\\The Sims 2 University\\1.0").Value("LanguageName", "French");
    RegText user;
    user.Key("Software\\EA GAMES\\The Sims 2").Value("DisplayName", "The Sims 2 Ultimate Collection");
    user.Key("Software\\EA GAMES\\The Sims 2\\1.0").Value("LanguageName", "GERMAN");
    user.Key("Software\\EA GAMES\\The Sims 2 Nightlife\\1.0").Value("LanguageName", "Dutch");
    const auto registry = Registry(machine, user);
    FakePaths paths;
    const GameEnvironment env = DiscoverGame(&registry, &paths, {});
    EXPECT_EQ(env.userDataFolder, fs::path("/docs") / "EA Games" / "The Sims 2 Ultimate Collection");
    EXPECT_EQ(env.neighborhoodsFolder, env.userDataFolder / "Neighborhoods");
    // University's key is missing from the user's hive: the machine's hive is used from there
    // on, so the user's Nightlife language is never read.
    EXPECT_EQ(env.languageCode, 3);
    EXPECT_NE(env.sources.at("languageCode").find("University"), std::string::npos);
}

TEST(DiscoverGame, NoDisplayNameMeansNoUserData) {
    const auto registry = Registry(Install({}, "The Sims 2", "C:\\TS2"));
    FakePaths paths;
    EXPECT_TRUE(DiscoverGame(&registry, &paths, {}).userDataFolder.empty());
    DiscoveryOverrides overrides;
    overrides.userData = "/my/data";
    const auto env = DiscoverGame(nullptr, nullptr, overrides);
    EXPECT_EQ(env.userDataFolder, fs::path("/my/data"));
    EXPECT_EQ(env.sources.at("userDataFolder"), "--user-data");
}

TEST(Language, TableAliasesAndOverrides) {
    EXPECT_EQ(LanguageFromName("German").code, 4);
    EXPECT_EQ(LanguageFromName("gErMaN").code, 4);
    EXPECT_STREQ(LanguageFromName("GERMAN").fontName, "Arial");
    EXPECT_EQ(LanguageFromName("finish").code, 11);
    EXPECT_STREQ(LanguageFromName("Finnish").fontName, "Trebuchet MS");
    EXPECT_EQ(LanguageFromName("Chinese Simplified").code, 18);
    EXPECT_EQ(LanguageFromName("Japanese").charset, 128);
    EXPECT_EQ(LanguageFromName("Klingon").code, 1);
    EXPECT_EQ(LanguageFromName("").code, 1);

    // "/l 15" on an English game: Japanese texts, the English font.
    RegText machine;
    machine.Key("Software\\EA GAMES\\The Sims 2\\1.0").Value("LanguageName", "English US");
    const auto registry = Registry(machine);
    DiscoveryOverrides overrides;
    std::vector<std::string> args{"dump", "/L", "15", "N001"};
    overrides.languageSwitch = TakeLanguageSwitch(args);
    EXPECT_EQ(args, (std::vector<std::string>{"dump", "N001"}));
    auto env = DiscoverGame(&registry, nullptr, overrides);
    EXPECT_EQ(env.languageCode, 15);
    EXPECT_EQ(env.uiFontName, "Arial");

    args = {"/l", "japanese"};
    EXPECT_EQ(TakeLanguageSwitch(args), 1);
    EXPECT_TRUE(args.empty());
    args = {"/l"};
    EXPECT_EQ(TakeLanguageSwitch(args), 1);
    args = {"info"};
    EXPECT_EQ(TakeLanguageSwitch(args), std::nullopt);

    overrides = {};
    overrides.language = "15";
    env = DiscoverGame(&registry, nullptr, overrides);
    EXPECT_EQ(env.languageCode, 15);
    EXPECT_EQ(env.uiFontName, "MS Gothic");
}

TEST(ExpansionList, NamesAllAndNone) {
    const auto flags = ParseExpansionList("University, pets,APARTMENTLIFE");
    EXPECT_TRUE(flags.university && flags.pets && flags.apartmentLife);
    EXPECT_FALSE(flags.nightlife || flags.seasons);
    EXPECT_TRUE(ParseExpansionList("all").freeTime);
    EXPECT_FALSE(ParseExpansionList("none").university);
    EXPECT_THROW(ParseExpansionList("university,castaway"), std::invalid_argument);
}

// A prefix on disk: C: through the dosdevices link, folders spelt differently from the registry.
TEST(WinePrefix, MapsPathsThroughTheDriveLinkWithoutRegardToCase) {
    QH_LINUX_ONLY("Wine prefixes");
    test::TempDir dir;
    const fs::path prefix = dir / "pfx";
    const fs::path objects = prefix / "drive_c/Program Files/EA Games/The Sims 2/TSData/Res/objects/Objects.package";
    fs::create_directories(objects.parent_path());
    
    std::ofstream(objects) << "x";
    fs::create_directories(prefix / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix / "dosdevices/c:");

    const fs::path mapped = MapWindowsPath(
        prefix, "C:\\Program Files\\EA GAMES\\The Sims 2\\TSData\\Res\\Objects\\objects.package");
    EXPECT_TRUE(fs::exists(mapped)) << mapped;
    EXPECT_EQ(mapped.filename(), "Objects.package");
    EXPECT_NE(mapped.string().find("/EA Games/The Sims 2/TSData/Res/objects/"), std::string::npos);

    // Without the link, C: is drive_c; a drive the prefix lacks gives a path that does not exist.
    fs::remove(prefix / "dosdevices/c:");
    EXPECT_TRUE(fs::exists(MapWindowsPath(prefix, "c:\\program files\\ea games\\THE SIMS 2")));
    EXPECT_FALSE(fs::exists(MapWindowsPath(prefix, "D:\\Games")));
    EXPECT_EQ(ResolveNoCase(prefix / "drive_c", "Program Files/Missing/Deeper"),
              prefix / "drive_c/Program Files/Missing/Deeper");
}

TEST(WinePrefix, DocumentsFolderFromShellFoldersOrTheUsersFolder) {
    test::TempDir dir;
    const fs::path prefix = dir.path();
    fs::create_directories(prefix / "drive_c/users/Public");
    fs::create_directories(prefix / "drive_c/users/joe/My Documents");
    fs::create_directories(prefix / "drive_c/users/joe/Dokumente");
    RegText user;
    user.Key("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders")
        .Value("Personal", "%USERPROFILE%\\Dokumente");
    auto registry = Registry({}, user);
    std::string source;
    auto folder = WinePersonalFolder(prefix, registry, &source);
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->filename(), "Dokumente");
    EXPECT_NE(source.find("User Shell Folders"), std::string::npos);

    auto empty = Registry({}, {});
    folder = WinePersonalFolder(prefix, empty, &source);
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->filename(), "My Documents");
}

TEST(WinePrefix, SearchTakesEveryPrefixWithTheGameAndChoosesTheFirst) {
    QH_LINUX_ONLY("Wine prefixes");
    test::TempDir home;
    auto makePrefix = [](const fs::path& prefix, bool withGame) {
        fs::create_directories(prefix);
        std::ofstream(prefix / "system.reg")
            << "WINE REGISTRY Version 2\n"
            << (withGame ? "[Software\\\\Wow6432Node\\\\EA Games\\\\The Sims 2] 1\n" : "[Software\\\\Other]\n");
    };
    const fs::path library = home / "mnt/games/SteamLibrary";
    makePrefix(home / ".local/share/Steam/steamapps/compatdata/100/pfx", false);
    makePrefix(library / "steamapps/compatdata/3314060/pfx", true);
    makePrefix(home / ".wine", true);
    fs::create_directories(home / ".local/share/Steam/steamapps");
    std::ofstream(home / ".local/share/Steam/steamapps/libraryfolders.vdf")
        << "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" << library.string()
        << "\"\n\t\t\"label\"\t\t\"\"\n\t}\n}\n";

    PrefixSearchInput input;
    input.home = home.path();
    auto search = FindWinePrefix(input);
    ASSERT_TRUE(search.chosen);
    EXPECT_EQ(*search.chosen, library / "steamapps/compatdata/3314060/pfx");
    bool passedOver = false;
    for (const auto& c : search.considered) {
        if (c.path == home / ".local/share/Steam/steamapps/compatdata/100/pfx") {
            passedOver = !c.taken && c.reason.rfind("no keys of The Sims 2", 0) == 0;
        }
    }
    EXPECT_TRUE(passedOver);
    EXPECT_EQ(search.taken, (std::vector<fs::path>{library / "steamapps/compatdata/3314060/pfx", home / ".wine"}));

    input.winePrefixVariable = (home / "elsewhere").string();
    search = FindWinePrefix(input);
    EXPECT_EQ(*search.chosen, home / "elsewhere");
    input.explicitPrefix = home / "given";
    EXPECT_EQ(*FindWinePrefix(input).chosen, home / "given");
}

}  // namespace
}  // namespace qh
