#include "platform/game_discovery.h"

#include <array>
#include <stdexcept>

#include "platform/game_editions.h"
#include "platform/paths.h"
#include "platform/wine_prefix.h"

#ifdef _WIN32
#include <shlobj.h>
#include <windows.h>
#endif

namespace qh {
namespace fs = std::filesystem;

fs::path WineGamePaths::Map(std::string_view windowsPath) const {
    return MapWindowsPath(prefix_, windowsPath);
}

std::optional<fs::path> WineGamePaths::PersonalFolder(std::string* source) const {
    return WinePersonalFolder(prefix_, registry_, source);
}

#ifdef _WIN32
fs::path WindowsGamePaths::Map(std::string_view windowsPath) const {
    return fs::u8path(windowsPath);
}

std::optional<fs::path> WindowsGamePaths::PersonalFolder(std::string* source) const {
    PWSTR folder = nullptr;
    if (SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &folder) != S_OK) {
        CoTaskMemFree(folder);
        return std::nullopt;
    }
    fs::path path(folder);
    CoTaskMemFree(folder);
    if (source) *source = "the Windows shell's Documents folder";
    return path;
}
#endif

namespace {

constexpr std::string_view kEaGames = "Software\\EA GAMES\\";
constexpr std::string_view kEaGames32 = "Software\\Wow6432Node\\EA GAMES\\";

struct LanguageRow {
    const char* names[2];
    LanguageInfo info;
};

constexpr std::array<LanguageRow, 20> kLanguages{{
    {{"english us", "usenglish"}, {1, "Arial", 0}},
    {{"english uk", "ukenglish"}, {2, "Arial", 0}},
    {{"french", nullptr}, {3, "Arial", 0}},
    {{"german", nullptr}, {4, "Arial", 0}},
    {{"italian", nullptr}, {5, "Arial", 0}},
    {{"spanish", nullptr}, {6, "Arial", 0}},
    {{"dutch", nullptr}, {7, "Arial", 0}},
    {{"danish", nullptr}, {8, "Trebuchet MS", 0}},
    {{"swedish", nullptr}, {9, "Arial", 0}},
    {{"norwegian", nullptr}, {10, "Trebuchet MS", 0}},
    {{"finnish", "finish"}, {11, "Trebuchet MS", 0}},
    {{"hebrew", nullptr}, {12, "Trebuchet MS", 0}},
    {{"russian", nullptr}, {13, "Trebuchet MS", 0}},
    {{"portuguese", nullptr}, {14, "Arial", 0}},
    {{"japanese", nullptr}, {15, "MS Gothic", 128}},
    {{"polish", nullptr}, {16, "Arial", 0}},
    {{"traditional chinese", "chinese traditional"}, {17, "MingLiU", 128}},
    {{"simplified chinese", "chinese simplified"}, {18, "MS Hei", 128}},
    {{"thai", nullptr}, {19, "Angsana New", 128}},
    {{"korean", nullptr}, {20, "Trebuchet MS", 0}},
}};

// A key of the game in either registry view; returns the path under which it exists.
std::optional<std::string> FindGameKey(const RegistryView& registry, Hive hive, std::string_view name) {
    for (std::string_view root : {kEaGames, kEaGames32}) {
        std::string path = std::string(root) + std::string(name);
        if (registry.KeyExists(hive, path)) return path;
    }
    return std::nullopt;
}

std::string HiveName(Hive hive) {
    return hive == Hive::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

std::string Where(const RegistryView& registry, Hive hive, const std::string& key,
                  std::string_view value) {
    return HiveName(hive) + "\\" + key + " \"" + std::string(value) + "\" (" +
           registry.Describe(hive) + ")";
}

bool ParseCode(std::string_view text, int& code) {
    if (text.empty() || text.size() > 3) return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 255) return false;
    code = value;
    return true;
}

struct Installation {
    const char* key;
    const char* alternative;  // tried only when the key is absent
    bool GameEnvironment::*flag;
    const char* flagName;
};

}  // namespace

namespace {

std::optional<LanguageInfo> LanguageNamed(std::string_view languageName) {
    const std::string folded = FoldCase(languageName);
    for (const auto& row : kLanguages) {
        for (const char* name : row.names) {
            if (name && folded == name) return row.info;
        }
    }
    return std::nullopt;
}

}  // namespace

LanguageInfo LanguageFromName(std::string_view languageName) {
    return LanguageNamed(languageName).value_or(LanguageInfo{});
}

std::optional<LanguageInfo> FindLanguage(std::string_view codeOrName) {
    int code = 0;
    if (ParseCode(codeOrName, code)) return LanguageFromCode(code);
    return LanguageNamed(codeOrName);
}

std::vector<std::string> LanguageNames() {
    std::vector<std::string> names;
    for (const auto& row : kLanguages) names.emplace_back(row.names[0]);
    return names;
}

LanguageInfo LanguageFromCode(int code) {
    for (const auto& row : kLanguages) {
        if (row.info.code == code) return row.info;
    }
    LanguageInfo info;
    info.code = code;
    return info;
}

std::optional<int> TakeLanguageSwitch(std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (!EqualsNoCase(arguments[i], "/l")) continue;
        int code = 1;
        std::size_t taken = 1;
        if (i + 1 < arguments.size()) {
            int parsed = 0;
            if (ParseCode(arguments[i + 1], parsed)) code = parsed;
            taken = 2;  // the word after "/l" belongs to it, number or not
        }
        arguments.erase(arguments.begin() + static_cast<std::ptrdiff_t>(i),
                        arguments.begin() + static_cast<std::ptrdiff_t>(i + taken));
        return code;
    }
    return std::nullopt;
}

ExpansionFlags InstalledExpansions(const GameEnvironment& env) {
    return ExpansionFlags{env.hasUniversity, env.hasNightlife, env.hasOpenForBusiness, env.hasPets,
                          env.hasSeasons,    env.hasBonVoyage, env.hasFreeTime,        env.hasApartmentLife};
}

ExpansionFlags ParseExpansionList(std::string_view list) {
    ExpansionFlags flags;
    const std::string folded = FoldCase(list);
    if (folded == "none" || folded.empty()) return flags;
    if (folded == "all") return ExpansionFlags{true, true, true, true, true, true, true, true};
    std::size_t start = 0;
    while (start <= folded.size()) {
        std::size_t end = folded.find(',', start);
        if (end == std::string::npos) end = folded.size();
        std::string word = folded.substr(start, end - start);
        word.erase(0, word.find_first_not_of(' '));
        word.erase(word.find_last_not_of(' ') + 1);
        if (word == "university") flags.university = true;
        else if (word == "nightlife") flags.nightlife = true;
        else if (word == "openforbusiness") flags.openForBusiness = true;
        else if (word == "pets") flags.pets = true;
        else if (word == "seasons") flags.seasons = true;
        else if (word == "bonvoyage") flags.bonVoyage = true;
        else if (word == "freetime") flags.freeTime = true;
        else if (word == "apartmentlife") flags.apartmentLife = true;
        else throw std::invalid_argument("unknown expansion \"" + word + "\"");
        start = end + 1;
    }
    return flags;
}

GameEnvironment ClassicEnvironment(const RegistryView* registry, const GamePaths* paths, std::vector<std::string>* skipped) {
    GameEnvironment env;
    auto& sources = env.sources;

    // Installations, in the game's order: each one found takes over the objects package, so the
    // last installed expansion's catalogue (which includes the earlier ones) is used.
    static const Installation kInstallations[] = {
        {"The Sims 2", nullptr, nullptr, nullptr},
        {"The Sims 2 University", nullptr, &GameEnvironment::hasUniversity, "hasUniversity"},
        {"The Sims 2 Nightlife", "The Sims 2 Deluxe", &GameEnvironment::hasNightlife, "hasNightlife"},
        {"The Sims 2 Open For Business", nullptr, &GameEnvironment::hasOpenForBusiness, "hasOpenForBusiness"},
        {"The Sims 2 Pets", nullptr, &GameEnvironment::hasPets, "hasPets"},
        {"The Sims 2 Seasons", nullptr, &GameEnvironment::hasSeasons, "hasSeasons"},
        {"The Sims 2 Bon Voyage", nullptr, &GameEnvironment::hasBonVoyage, "hasBonVoyage"},
        {"The Sims 2 FreeTime", nullptr, &GameEnvironment::hasFreeTime, "hasFreeTime"},
        {"The Sims 2 Apartment Life", nullptr, &GameEnvironment::hasApartmentLife, "hasApartmentLife"},
    };
    if (registry) {
        for (const auto& install : kInstallations) {
            auto key = FindGameKey(*registry, Hive::LocalMachine, install.key);
            if (!key && install.alternative) key = FindGameKey(*registry, Hive::LocalMachine, install.alternative);
            if (!key) continue;
            auto folder = registry->ReadString(Hive::LocalMachine, *key, "Install Dir");
            if (!folder) continue;
            const std::string where = Where(*registry, Hive::LocalMachine, *key, "Install Dir");
            if (install.flag) {
                env.*install.flag = true;
                sources[install.flagName] = where;
            }
            // The value is used as the game wrote it, but a missing separator would make a path
            // that cannot exist, so one is added.
            std::string text = *folder;
            if (!text.empty() && text.back() != '\\' && text.back() != '/') text += '\\';
            text += "TSData\\Res\\Objects\\objects.package";
            env.objectsPackagePath = paths ? paths->Map(text) : fs::path(text);
            sources["objectsPackagePath"] = where;
        }
    }

    // The player's data folder is named by the base game's DisplayName, in the current user's
    // hive first. The language keys are then read in the hive that gave the name, falling back to
    // the machine's hive for good once a key is missing there.
    Hive inUse = Hive::LocalMachine;
    std::optional<std::string> displayName;
    std::string displaySource;
    if (registry) {
        for (Hive hive : {Hive::CurrentUser, Hive::LocalMachine}) {
            if (auto key = FindGameKey(*registry, hive, "The Sims 2")) {
                displayName = registry->ReadString(hive, *key, "DisplayName");
                if (displayName && !displayName->empty() && !IsPlainName(*displayName)) {
                    // A name that would lead out of the documents folder is never followed.
                    if (skipped) {
                        skipped->push_back(Where(*registry, hive, *key, "DisplayName") + " is \"" + *displayName +
                                           "\", which is not a folder name; it was passed over.");
                    }
                    displayName.reset();
                    continue;
                }
                if (displayName && !displayName->empty()) {
                    inUse = hive;
                    displaySource = Where(*registry, hive, *key, "DisplayName");
                    break;
                }
                displayName.reset();
            }
        }
    }

    std::optional<std::string> languageName;
    if (registry) {
        for (const char* name : {"The Sims 2\\1.0", "The Sims 2 University\\1.0",
                                 "The Sims 2 Nightlife\\1.0", "The Sims 2 Open For Business\\1.0"}) {
            auto key = FindGameKey(*registry, inUse, name);
            if (!key && inUse != Hive::LocalMachine) {
                inUse = Hive::LocalMachine;
                key = FindGameKey(*registry, inUse, name);
            }
            if (!key) continue;
            if (auto value = registry->ReadString(inUse, *key, "LanguageName")) {
                languageName = *value;
                sources["languageCode"] = Where(*registry, inUse, *key, "LanguageName");
            }
        }
    }

    if (displayName && paths) {
        std::string personalSource;
        if (auto personal = paths->PersonalFolder(&personalSource)) {
            env.userDataFolder = ResolveNoCase(*personal, "EA Games\\" + *displayName);
            sources["userDataFolder"] = displaySource + " in " + personalSource;
        } else {
            sources["userDataFolder"] = "not found: no documents folder";
        }
    } else {
        sources["userDataFolder"] = "not found: no DisplayName of The Sims 2";
    }
    if (!env.userDataFolder.empty()) {
        env.neighborhoodsFolder = ResolveNoCase(env.userDataFolder, "Neighborhoods");
        sources["neighborhoodsFolder"] = "userDataFolder";
    }
    const LanguageInfo language = LanguageFromName(languageName.value_or(""));
    env.languageCode = language.code;
    env.uiFontName = language.fontName;
    env.uiCharset = language.charset;
    sources["uiFontName"] = sources["uiCharset"] = "the language table";
    if (!sources.count("languageCode")) sources["languageCode"] = "not found: US English";
    if (env.objectsPackagePath.empty()) sources["objectsPackagePath"] = "not found: no installation";
    return env;
}

void ApplyOverrides(GameEnvironment& env, const DiscoveryOverrides& overrides) {
    auto& sources = env.sources;
    if (overrides.userData) {
        env.userDataFolder = *overrides.userData;
        sources["userDataFolder"] = "--user-data";
        env.neighborhoodsFolder = ResolveNoCase(env.userDataFolder, "Neighborhoods");
        sources["neighborhoodsFolder"] = "userDataFolder";
    }
    if (overrides.objects) {
        env.objectsPackagePath = *overrides.objects;
        sources["objectsPackagePath"] = "--objects";
    }
    if (overrides.expansions) {
        const ExpansionFlags& f = *overrides.expansions;
        env.hasUniversity = f.university;
        env.hasNightlife = f.nightlife;
        env.hasOpenForBusiness = f.openForBusiness;
        env.hasPets = f.pets;
        env.hasSeasons = f.seasons;
        env.hasBonVoyage = f.bonVoyage;
        env.hasFreeTime = f.freeTime;
        env.hasApartmentLife = f.apartmentLife;
        for (const char* name : {"hasUniversity", "hasNightlife", "hasOpenForBusiness", "hasPets",
                                 "hasSeasons", "hasBonVoyage", "hasFreeTime", "hasApartmentLife"}) {
            sources[name] = "--expansions";
        }
    }
    if (overrides.language) {
        const LanguageInfo language = FindLanguage(*overrides.language).value_or(LanguageInfo{});
        env.languageCode = language.code;
        env.uiFontName = language.fontName;
        env.uiCharset = language.charset;
        sources["languageCode"] = "--language";
    }
    // "/l" changes which texts are read, not the font chosen for the window.
    if (overrides.languageSwitch) {
        env.languageCode = *overrides.languageSwitch;
        sources["languageCode"] = "/l";
    }
}

GameEnvironment DiscoverGame(const RegistryView* registry, const GamePaths* paths,
                             const DiscoveryOverrides& overrides) {
    GameEnvironment env = ClassicEnvironment(registry, paths, nullptr);
    ApplyOverrides(env, overrides);
    return env;
}

}  // namespace qh
