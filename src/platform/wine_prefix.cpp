#include "platform/wine_prefix.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/game_editions.h"
#include "platform/paths.h"

namespace qh {
namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<fs::path> Subfolders(const fs::path& folder) {
    std::vector<fs::path> out;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (IsDirectory(it->path())) out.push_back(it->path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

// "prefix: /home/x/Games/the-sims-2" lines of Lutris game configurations.
std::vector<fs::path> LutrisConfiguredPrefixes(const fs::path& folder) {
    std::vector<fs::path> out;
    std::error_code error;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".yml") files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::istringstream lines(ReadText(file));
        std::string line;
        while (std::getline(lines, line)) {
            const auto at = line.find("prefix:");
            if (at == std::string::npos) continue;
            std::string value = line.substr(at + 7);
            value.erase(0, value.find_first_not_of(" \t'\""));
            value.erase(value.find_last_not_of(" \t\r'\"") + 1);
            if (!value.empty()) out.emplace_back(value);
        }
    }
    return out;
}

}  // namespace

std::vector<fs::path> ParseSteamLibraryFolders(std::string_view vdf) {
    std::vector<fs::path> out;
    std::istringstream lines{std::string(vdf)};
    std::string line;
    while (std::getline(lines, line)) {
        // "path"		"/mnt/games/SteamLibrary"
        std::vector<std::string> quoted;
        std::string current;
        bool inside = false;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (inside && c == '\\' && i + 1 < line.size()) {
                current += line[++i];
            } else if (c == '"') {
                if (inside) quoted.push_back(current);
                current.clear();
                inside = !inside;
            } else if (inside) {
                current += c;
            }
        }
        if (quoted.size() == 2 && EqualsNoCase(quoted[0], "path") && !quoted[1].empty()) {
            out.emplace_back(quoted[1]);
        }
    }
    return out;
}

namespace {

std::string Folded(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

bool PrefixHoldsGame(const fs::path& prefix) {
    const std::string machine = Folded(ReadText(prefix / "system.reg"));
    return machine.find("[software\\\\ea games\\\\the sims 2") != std::string::npos ||
           machine.find("[software\\\\wow6432node\\\\ea games\\\\the sims 2") != std::string::npos;
}

bool PrefixHoldsLegacyCollection(const fs::path& prefix) {
    // The key's name as Wine writes it in user.reg: backslashes doubled.
    std::string key = "[" + Folded(std::string(kLegacyKey));
    std::string escaped;
    for (char c : key) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return Folded(ReadText(prefix / "user.reg")).find(escaped) != std::string::npos;
}

std::optional<fs::path> PrefixDataFolder(const fs::path& prefix) {
    for (const auto& user : Subfolders(prefix / "drive_c/users")) {
        for (const char* documents : {"Documents", "My Documents"}) {
            const fs::path eaGames = ResolveNoCase(user, std::string(documents) + "/EA Games");
            for (const std::string& name : KnownDataFolderNames()) {
                const fs::path folder = ResolveNoCase(eaGames, name);
                if (IsDirectory(ResolveNoCase(folder, "Neighborhoods"))) return folder;
            }
        }
    }
    return std::nullopt;
}

PrefixSearch FindWinePrefix(const PrefixSearchInput& input) {
    PrefixSearch search;
    auto take = [&](const fs::path& path, const std::string& origin, const std::string& reason) {
        search.considered.push_back({path, origin, true, reason});
        search.chosen = path;
        search.taken.push_back(path);
    };
    if (input.explicitPrefix) {
        take(*input.explicitPrefix, "--wine-prefix", "given on the command line");
        return search;
    }
    if (input.winePrefixVariable && !input.winePrefixVariable->empty()) {
        take(fs::path(*input.winePrefixVariable), "WINEPREFIX", "given by $WINEPREFIX");
        return search;
    }

    std::vector<std::pair<fs::path, std::string>> candidates;
    const fs::path& home = input.home;
    std::vector<fs::path> steamRoots = {home / ".steam/steam", home / ".local/share/Steam",
                                        home / ".var/app/com.valvesoftware.Steam/.local/share/Steam"};
    std::vector<fs::path> libraries;
    for (const auto& root : steamRoots) {
        libraries.push_back(root);
        for (const auto& library : ParseSteamLibraryFolders(ReadText(root / "steamapps/libraryfolders.vdf"))) {
            libraries.push_back(library);
        }
    }
    for (const auto& library : libraries) {
        for (const auto& app : Subfolders(library / "steamapps/compatdata")) {
            candidates.emplace_back(app / "pfx", "Steam");
        }
    }
    for (const auto& folder : {home / ".config/lutris/games", home / ".local/share/lutris/games"}) {
        for (const auto& prefix : LutrisConfiguredPrefixes(folder)) candidates.emplace_back(prefix, "Lutris");
    }
    for (const auto& prefix : Subfolders(home / "Games")) candidates.emplace_back(prefix, "Lutris");
    for (const auto& folder : {home / ".local/share/bottles/bottles",
                               home / ".var/app/com.usebottles.bottles/data/bottles/bottles"}) {
        for (const auto& prefix : Subfolders(folder)) candidates.emplace_back(prefix, "Bottles");
    }
    candidates.emplace_back(home / ".wine", "~/.wine");

    // Every prefix that holds a game or its data is taken: a player may run the discs in one and
    // the Legacy Collection in another. The first taken is the one the other programs' tools use.
    std::set<fs::path> seen;
    for (const auto& [path, origin] : candidates) {
        std::error_code error;
        const fs::path canonical = fs::weakly_canonical(path, error);
        if (!seen.insert(error ? path : canonical).second) continue;  // one Steam folder, two names
        if (!fs::exists(path / "system.reg", error)) {
            search.considered.push_back({path, origin, false, "no system.reg"});
            continue;
        }
        std::string reason;
        if (PrefixHoldsLegacyCollection(path)) {
            reason = "holds the key of The Sims 2 Legacy Collection";
        } else if (PrefixHoldsGame(path)) {
            reason = "holds the keys of The Sims 2";
        } else if (const auto folder = PrefixDataFolder(path)) {
            reason = "holds a data folder of the game (" + folder->filename().string() + "), without its keys";
        } else {
            search.considered.push_back({path, origin, false, "no keys of The Sims 2 and no data folder of it"});
            continue;
        }
        search.considered.push_back({path, origin, true, reason});
        search.taken.push_back(path);
        if (!search.chosen) search.chosen = path;
    }
    return search;
}

fs::path MapWindowsPath(const fs::path& prefix, std::string_view windowsPath) {
    std::string_view rest = windowsPath;
    fs::path root;
    if (rest.size() >= 2 && rest[1] == ':') {
        char drive = rest[0];
        if (drive >= 'A' && drive <= 'Z') drive = static_cast<char>(drive - 'A' + 'a');
        const fs::path link = prefix / "dosdevices" / (std::string(1, drive) + ":");
        std::error_code error;
        if (fs::exists(link, error)) {
            root = link;
        } else if (drive == 'c') {
            root = prefix / "drive_c";
        } else {
            root = link;  // a drive the prefix does not have: a path that does not exist
        }
        rest.remove_prefix(2);
    } else {
        root = prefix / "drive_c";
    }
    return ResolveNoCase(root, rest);
}

std::optional<fs::path> WinePersonalFolder(const fs::path& prefix, const RegistryView& registry,
                                           std::string* source) {
    // The user Wine created the prefix for: the one folder under drive_c/users that is not
    // Public, preferring the current login name and Proton's "steamuser".
    const fs::path users = prefix / "drive_c/users";
    std::vector<std::string> names;
    for (const auto& folder : Subfolders(users)) {
        const std::string name = folder.filename().string();
        if (!EqualsNoCase(name, "Public") && !EqualsNoCase(name, "Default")) names.push_back(name);
    }
    std::string user;
    const char* login = std::getenv("USER");
    for (const auto& name : names) {
        if ((login && name == login) || name == "steamuser") user = name;
    }
    if (user.empty() && !names.empty()) user = names.front();

    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
    for (const char* folders : {"Shell Folders", "User Shell Folders"}) {
        auto value = registry.ReadString(Hive::CurrentUser, key + folders, "Personal");
        if (!value || value->empty()) continue;
        std::string text = *value;
        const std::string profile = "%USERPROFILE%";
        if (auto at = FoldCase(text).find(FoldCase(profile)); at != std::string::npos) {
            text.replace(at, profile.size(), "C:\\users\\" + user);
        }
        const fs::path mapped = MapWindowsPath(prefix, text);
        if (IsDirectory(mapped)) {
            if (source) *source = registry.Describe(Hive::CurrentUser) + ": " + key + folders + " Personal";
            return mapped;
        }
    }
    if (user.empty()) return std::nullopt;
    for (const char* documents : {"Documents", "My Documents"}) {
        const fs::path folder = ResolveNoCase(users / user, documents);
        if (IsDirectory(folder)) {
            if (source) *source = "the documents folder of " + user + " in the prefix";
            return folder;
        }
    }
    return std::nullopt;
}

}  // namespace qh
