#include "platform/game_editions.h"

#include <array>
#include <set>

#include "platform/paths.h"

namespace qh {
namespace fs = std::filesystem;

namespace {

// The Legacy Collection's language numbers with the language each names, and that language's
// name in the text-list language table (none where the table has no such language).
struct LegacyLanguageRow {
    std::uint32_t number;
    const char* language;
    const char* tableName;
};
constexpr std::array<LegacyLanguageRow, 22> kLegacyLanguages{{
    {1, "English", "english us"},
    {2, "French", "french"},
    {3, "German", "german"},
    {4, "Italian", "italian"},
    {5, "Spanish", "spanish"},
    {6, "Swedish", "swedish"},
    {7, "Finnish", "finnish"},
    {8, "Dutch", "dutch"},
    {9, "Danish", "danish"},
    // The game's text lists have one Portuguese language, which both Portuguese installs read.
    {10, "Brazilian Portuguese", "portuguese"},
    {11, "Czech", nullptr},
    {14, "Japanese", "japanese"},
    {15, "Korean", "korean"},
    {16, "Russian", "russian"},
    {17, "Simplified Chinese", "simplified chinese"},
    {18, "Traditional Chinese", "traditional chinese"},
    {19, "English UK", "english uk"},
    {20, "Polish", "polish"},
    {21, "Thai", "thai"},
    {22, "Norwegian", "norwegian"},
    {23, "Portuguese", "portuguese"},
    {25, "Hungarian", nullptr},
}};

// The expansions by the number of their executable (Sims2EP<n>.exe), in the game's order.
struct LegacyPack {
    const char* executable;
    bool GameEnvironment::*flag;
    const char* flagName;
};
constexpr std::array<LegacyPack, 9> kLegacyPacks{{
    {"Sims2.exe", nullptr, nullptr},
    {"Sims2EP1.exe", &GameEnvironment::hasUniversity, "hasUniversity"},
    {"Sims2EP2.exe", &GameEnvironment::hasNightlife, "hasNightlife"},
    {"Sims2EP3.exe", &GameEnvironment::hasOpenForBusiness, "hasOpenForBusiness"},
    {"Sims2EP4.exe", &GameEnvironment::hasPets, "hasPets"},
    {"Sims2EP5.exe", &GameEnvironment::hasSeasons, "hasSeasons"},
    {"Sims2EP6.exe", &GameEnvironment::hasBonVoyage, "hasBonVoyage"},
    {"Sims2EP7.exe", &GameEnvironment::hasFreeTime, "hasFreeTime"},
    {"Sims2EP8.exe", &GameEnvironment::hasApartmentLife, "hasApartmentLife"},
}};

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

// The Legacy key in the current user's hive (where the game writes it), else in the machine's.
std::optional<std::pair<Hive, std::string>> FindLegacyKey(const RegistryView& registry) {
    const std::string inSoftware(kLegacyKey);
    const std::string wow = "Software\\Wow6432Node\\" + inSoftware.substr(std::string_view("Software\\").size());
    for (const auto& [hive, key] : {std::pair{Hive::CurrentUser, inSoftware}, std::pair{Hive::LocalMachine, inSoftware},
                                    std::pair{Hive::LocalMachine, wow}}) {
        if (registry.KeyExists(hive, key)) return std::pair{hive, key};
    }
    return std::nullopt;
}

std::string Where(const RegistryView& registry, Hive hive, const std::string& key, std::string_view value) {
    return registry.Describe(hive) + ": " + (hive == Hive::LocalMachine ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\") +
           key + " \"" + std::string(value) + "\"";
}

// A number stored as a DWORD or as text.
std::optional<std::uint32_t> ReadNumber(const RegistryView& registry, Hive hive, const std::string& key,
                                        std::string_view name) {
    const auto value = registry.Read(hive, key, name);
    if (!value) return std::nullopt;
    if (value->kind == RegistryValue::Kind::Dword) return value->dword;
    if (value->kind != RegistryValue::Kind::String || value->text.empty() || value->text.size() > 9) return std::nullopt;
    std::uint32_t number = 0;
    for (char c : value->text) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return number;
}

std::optional<GameEdition> LegacyEdition(const RegistryView& registry, const GamePaths* paths, EditionSearch& search) {
    const auto found = FindLegacyKey(registry);
    if (!found) return std::nullopt;
    const auto& [hive, key] = *found;
    GameEdition edition;
    edition.edition = "Legacy Collection";
    GameEnvironment& env = edition.env;
    auto& sources = env.sources;

    // The packs the game lists as installed, and those whose own key says so.
    std::set<std::string> listed;
    if (const auto list = registry.ReadString(hive, key, "EPsInstalled")) {
        std::size_t start = 0;
        while (start <= list->size()) {
            std::size_t end = list->find(',', start);
            if (end == std::string::npos) end = list->size();
            const std::string item = FoldCase(Trimmed(std::string_view(*list).substr(start, end - start)));
            if (!item.empty()) listed.insert(item);
            start = end + 1;
        }
    }
    for (const LegacyPack& pack : kLegacyPacks) {
        const std::string packKey = key + "\\" + pack.executable;
        const bool installedValue = ReadNumber(registry, hive, packKey, "Installed").value_or(0) == 1;
        const bool inList = listed.count(FoldCase(pack.executable)) > 0;
        if (pack.flag && (inList || installedValue)) {
            env.*pack.flag = true;
            sources[pack.flagName] = inList ? Where(registry, hive, key, "EPsInstalled") : Where(registry, hive, packKey, "Installed");
        }
        const auto path = registry.ReadString(hive, packKey, "path");
        if (!path || path->empty()) continue;
        if (pack.flag && !(inList || installedValue)) continue;  // a folder left by a pack taken away
        const fs::path folder = paths ? paths->Map(*path) : fs::u8path(*path);
        if (!IsDirectory(folder)) {
            search.skipped.push_back(Where(registry, hive, packKey, "path") + " is \"" + *path +
                                     "\", a folder that does not exist; it was passed over.");
            continue;
        }
        if (!pack.flag) edition.installFolder = folder;
        // As with the discs, the last pack present gives the objects package: each pack's
        // catalogue holds the ones before it.
        env.objectsPackagePath = ResolveNoCase(folder, "TSData/Res/Objects/objects.package");
        sources["objectsPackagePath"] = Where(registry, hive, packKey, "path");
    }
    if (env.objectsPackagePath.empty()) sources["objectsPackagePath"] = "not found: no pack folder of the Legacy Collection";

    LanguageInfo language;
    sources["languageCode"] = "not found: US English";
    if (const auto number = ReadNumber(registry, hive, key + "\\1.0", "language")) {
        if (const auto known = LegacyLanguage(*number)) {
            language = *known;
            sources["languageCode"] = Where(registry, hive, key + "\\1.0", "language") + " = " + std::to_string(*number);
        } else {
            sources["languageCode"] = Where(registry, hive, key + "\\1.0", "language") + " = " + std::to_string(*number) +
                                      ", a language the game's texts have no entries for: US English";
        }
    }
    env.languageCode = language.code;
    env.uiFontName = language.fontName;
    env.uiCharset = language.charset;
    sources["uiFontName"] = sources["uiCharset"] = "the language table";

    const auto displayName = registry.ReadString(hive, key, "DisplayName");
    sources["userDataFolder"] = "not found: no DisplayName of the Legacy Collection";
    if (displayName && !displayName->empty()) {
        if (!IsPlainName(*displayName)) {
            search.skipped.push_back(Where(registry, hive, key, "DisplayName") + " is \"" + *displayName +
                                     "\", which is not a folder name; it was passed over.");
        } else if (paths) {
            std::string personalSource;
            edition.personalFolder = paths->PersonalFolder(&personalSource);
            if (edition.personalFolder) {
                edition.displayName = *displayName;
                env.userDataFolder = ResolveNoCase(*edition.personalFolder, "EA Games/" + *displayName);
                env.neighborhoodsFolder = ResolveNoCase(env.userDataFolder, "Neighborhoods");
                sources["userDataFolder"] = Where(registry, hive, key, "DisplayName") + " in " + personalSource;
                sources["neighborhoodsFolder"] = "userDataFolder";
            } else {
                sources["userDataFolder"] = "not found: no documents folder";
            }
        }
    }
    return edition;
}

bool HoldsNeighborhoods(const fs::path& userData) {
    return !userData.empty() && IsDirectory(ResolveNoCase(userData, "Neighborhoods"));
}

}  // namespace

std::vector<std::string> KnownDataFolderNames() {
    return {"The Sims 2",
            "The Sims 2 Legacy",
            "The Sims\u2122 2 Ultimate Collection",
            "The Sims 2 Ultimate Collection",
            "Los Sims 2 Legado",
            "Os Sims 2 Legado",
            "Les Sims 2 H\u00e9ritage",
            "Die Sims 2 Verm\u00e4chtnis",
            "De Sims 2 Erfenis"};
}

std::optional<LanguageInfo> LegacyLanguage(std::uint32_t number) {
    for (const LegacyLanguageRow& row : kLegacyLanguages) {
        if (row.number != number) continue;
        if (!row.tableName) return std::nullopt;
        return FindLanguage(row.tableName);
    }
    return std::nullopt;
}

void FindEditions(const RegistryView* registry, const GamePaths* paths, const fs::path& prefix, EditionSearch& search) {
    const std::size_t first = search.editions.size();
    if (registry) {
        search.looked.push_back(registry->Describe(Hive::CurrentUser) + ": HKEY_CURRENT_USER\\" + std::string(kLegacyKey));
        if (auto legacy = LegacyEdition(*registry, paths, search)) search.editions.push_back(std::move(*legacy));

        search.looked.push_back(registry->Describe(Hive::LocalMachine) + ": HKEY_LOCAL_MACHINE\\Software\\EA GAMES\\The Sims 2…");
        GameEnvironment classic = ClassicEnvironment(registry, paths, &search.skipped);
        if (!classic.userDataFolder.empty() || !classic.objectsPackagePath.empty()) {
            GameEdition edition;
            edition.displayName = classic.userDataFolder.filename().string();
            edition.edition = edition.displayName.find("Ultimate Collection") != std::string::npos ? "Ultimate Collection"
                                                                                                   : "retail";
            for (const char* key : {"Software\\EA GAMES\\The Sims 2", "Software\\Wow6432Node\\EA GAMES\\The Sims 2"}) {
                const auto folder = registry->ReadString(Hive::LocalMachine, key, "Install Dir");
                if (!folder || folder->empty()) continue;
                edition.installFolder = paths ? paths->Map(*folder) : fs::u8path(*folder);
                break;
            }
            edition.env = std::move(classic);
            search.editions.push_back(std::move(edition));
        }
    }
    for (std::size_t i = first; i < search.editions.size(); ++i) search.editions[i].prefix = prefix;
    if (paths) {
        std::string source;
        if (const auto documents = paths->PersonalFolder(&source)) {
            for (std::size_t i = first; i < search.editions.size(); ++i) {
                if (!search.editions[i].personalFolder) search.editions[i].personalFolder = documents;
            }
            FindDataFolders(*documents, source, prefix, search);
        }
    }
}

void FindDataFolders(const fs::path& documents, const std::string& origin, const fs::path& prefix,
                     EditionSearch& search) {
    const fs::path eaGames = ResolveNoCase(documents, "EA Games");
    search.looked.push_back((eaGames / "…" / "Neighborhoods").string());
    for (const std::string& name : KnownDataFolderNames()) {
        const fs::path folder = ResolveNoCase(eaGames, name);
        if (!HoldsNeighborhoods(folder)) continue;
        GameEdition edition;
        edition.edition = "data folder";
        edition.displayName = folder.filename().string();
        edition.prefix = prefix;
        edition.personalFolder = documents;
        edition.env.userDataFolder = folder;
        edition.env.neighborhoodsFolder = ResolveNoCase(folder, "Neighborhoods");
        edition.env.sources["userDataFolder"] = "found by its name in " + origin + "; no key of the game names it";
        edition.env.sources["neighborhoodsFolder"] = "userDataFolder";
        edition.env.sources["languageCode"] = "not found: US English";
        edition.env.sources["objectsPackagePath"] = "not found: no installation";
        search.editions.push_back(std::move(edition));
    }
}

std::optional<fs::path> DataFolderOf(const fs::path& chosen, std::string& refusal) {
    refusal.clear();
    if (chosen.empty()) {
        refusal = "Choose the folder that holds Neighborhoods.";
        return std::nullopt;
    }
    if (HoldsNeighborhoods(chosen)) return chosen;
    if (EqualsNoCase(chosen.filename().string(), "Neighborhoods") && IsDirectory(chosen)) return chosen.parent_path();
    refusal = chosen.string() + " holds no Neighborhoods folder. Choose the game's data folder, such as Documents/EA "
              "Games/The Sims 2 or The Sims 2 Legacy.";
    return std::nullopt;
}

void FindChosenFolder(const fs::path& folder, EditionSearch& search) {
    if (!HoldsNeighborhoods(folder)) return;
    GameEdition edition;
    edition.edition = "chosen folder";
    edition.displayName = folder.filename().string();
    edition.env.userDataFolder = folder;
    edition.env.neighborhoodsFolder = ResolveNoCase(folder, "Neighborhoods");
    edition.env.sources["userDataFolder"] = "chosen by the player, remembered in the settings";
    edition.env.sources["neighborhoodsFolder"] = "userDataFolder";
    edition.env.sources["languageCode"] = "not found: US English";
    edition.env.sources["objectsPackagePath"] = "not found: no installation";
    search.editions.push_back(std::move(edition));
}

void DropDuplicateEditions(std::vector<GameEdition>& editions) {
    std::set<fs::path> seen;
    std::vector<GameEdition> kept;
    for (GameEdition& edition : editions) {
        if (!edition.env.userDataFolder.empty()) {
            std::error_code error;
            fs::path same = fs::weakly_canonical(edition.env.userDataFolder, error);
            if (error) same = edition.env.userDataFolder;
            if (!seen.insert(same).second) continue;
        }
        kept.push_back(std::move(edition));
    }
    editions = std::move(kept);
}

std::optional<std::size_t> ChooseEdition(const std::vector<GameEdition>& editions,
                                         const std::optional<fs::path>& remembered) {
    if (editions.empty()) return std::nullopt;
    if (remembered && !remembered->empty()) {
        std::error_code error;
        const fs::path wanted = fs::weakly_canonical(*remembered, error);
        for (std::size_t i = 0; i < editions.size(); ++i) {
            std::error_code ignored;
            const fs::path folder = editions[i].env.userDataFolder;
            if (!folder.empty() && (folder == *remembered || fs::weakly_canonical(folder, ignored) == wanted)) return i;
        }
    }
    for (std::size_t i = 0; i < editions.size(); ++i) {
        if (HoldsNeighborhoods(editions[i].env.userDataFolder)) return i;
    }
    return 0;
}

std::string DescribeEdition(const GameEdition& edition) {
    std::string text = edition.edition + ": " + edition.env.userDataFolder.string();
    if (!edition.prefix.empty()) text += "  (Wine prefix " + edition.prefix.string() + ")";
    return text;
}

}  // namespace qh
