#include "demo_game.h"

#include "demo_objects.h"
#include "demo_damaged.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "fixture/package_builder.h"
#include "fixture/resource_builders.h"
#include "package/resource_types.h"
#include "platform/file_io.h"
#include "platform/progress.h"
#include "workspace/cloning.h"
#include "workspace/loader.h"
#include "workspace/neighborhood_catalogue.h"

namespace qh::demo {
namespace fs = std::filesystem;

namespace {

void WriteText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    AtomicReplace(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// The installations of a player who bought the base game and seven expansions over the years
// (all but Open For Business), so that every panel has what it shows.
// Later installers of the 64-bit era wrote under Wow6432Node, so both registry views occur.
struct Install {
    const char* key;
    const char* folder;  // under C:\Program Files\EA GAMES
    bool wow64;
};
constexpr Install kInstalls[] = {
    {"The Sims 2", "The Sims 2", false},
    {"The Sims 2 University", "The Sims 2 University", false},
    {"The Sims 2 Nightlife", "The Sims 2 Nightlife", true},
    {"The Sims 2 Pets", "The Sims 2 Pets", true},
    {"The Sims 2 Seasons", "The Sims 2 Seasons", false},
    {"The Sims 2 Bon Voyage", "The Sims 2 Bon Voyage", true},
    {"The Sims 2 FreeTime", "The Sims 2 FreeTime", true},
    {"The Sims 2 Apartment Life", "The Sims 2 Apartment Life", true},
};

// As Wine writes a registry text: backslash and quote escaped, every character beyond ASCII as
// \x and its UTF-16 code unit(s) in hexadecimal.
std::string Escape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (c == '\\' || c == '"') out += '\\';
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        // UTF-8 to a code point (the demo's own texts are valid UTF-8).
        const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        std::uint32_t point = c & (0xFF >> (length + 1));
        for (int k = 1; k < length; ++k) point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += static_cast<std::size_t>(length);
        char unit[16];
        if (point >= 0x10000) {
            point -= 0x10000;
            std::snprintf(unit, sizeof unit, "\\x%04x", 0xD800 + (point >> 10));
            out += unit;
            point = 0xDC00 + (point & 0x3FF);
        }
        std::snprintf(unit, sizeof unit, "\\x%04x", point);
        out += unit;
    }
    return out;
}

std::string KeyLine(const std::string& path) { return "[" + Escape(path) + "] 1700000000\n#time=1da0000000000000\n"; }
std::string Value(const std::string& name, const std::string& text) {
    return "\"" + Escape(name) + "\"=\"" + Escape(text) + "\"\n";
}

std::string Dword(const std::string& name, std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", value);
    return "\"" + Escape(name) + "\"=dword:" + text + "\n";
}

// The Ultimate Collection (Origin) puts the packs in folders of its sub-collections. The names of
// three are known (base, University, Open for Business); the others are laid out as plain pack
// folders, which is all discovery reads of them.
constexpr const char* kUltimateFolders[] = {
    "Double Deluxe\\Base", "University Life\\EP1", "EP2", "Best of Business\\EP3",
    "EP4", "EP5", "EP6", "EP7", "EP8",
};
constexpr const char* kUltimateKeys[] = {
    "The Sims 2", "The Sims 2 University", "The Sims 2 Nightlife", "The Sims 2 Open For Business",
    "The Sims 2 Pets", "The Sims 2 Seasons", "The Sims 2 Bon Voyage", "The Sims 2 FreeTime",
    "The Sims 2 Apartment Life",
};
constexpr const char* kUltimateName = "The Sims\u2122 2 Ultimate Collection";
constexpr const char* kUltimateRoot = "C:\\Program Files (x86)\\Origin Games\\The Sims 2 Ultimate Collection\\";

// The Legacy Collection (Steam): one folder per pack under the game's folder.
constexpr const char* kLegacyPacks[] = {"Base", "EP1", "EP2", "EP3", "EP4", "EP5", "EP6", "EP7", "EP8", "EP9"};
constexpr const char* kLegacyRoot =
    "C:\\Program Files (x86)\\Steam\\steamapps\\common\\The Sims 2 Legacy Collection\\";

std::string Executable(const std::string& pack) { return pack == "Base" ? "Sims2.exe" : "Sims2" + pack + ".exe"; }

std::string MachineHeader() { return "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n"; }

std::string UltimateSystemReg() {
    std::string reg = MachineHeader();
    for (std::size_t i = 0; i < std::size(kUltimateKeys); ++i) {
        const std::string root = std::string("Software\\Wow6432Node\\EA GAMES\\") + kUltimateKeys[i];
        reg += KeyLine(root);
        reg += Value("DisplayName", i == 0 ? std::string(kUltimateName) : std::string(kUltimateKeys[i]));
        reg += Value("Install Dir", std::string(kUltimateRoot) + kUltimateFolders[i]);
        reg += "\n" + KeyLine(root + "\\1.0");
        reg += Value("LanguageName", "English US");
        reg += Dword("Language", 1);
        reg += "\n";
    }
    return reg;
}

std::string SystemReg() {
    std::string reg = MachineHeader();
    for (const Install& install : kInstalls) {
        const std::string root = install.wow64 ? "Software\\Wow6432Node\\EA GAMES\\" : "Software\\EA GAMES\\";
        reg += KeyLine(root + install.key);
        reg += Value("DisplayName", install.key);
        // The game writes the folder without a trailing separator.
        reg += Value("Install Dir", std::string("C:\\Program Files\\EA GAMES\\") + install.folder);
        reg += "\"Language\"=dword:00000409\n";
        reg += "\"EPsInstalled\"=hex:01,00,\\\n  00,00\n\n";
        reg += KeyLine(root + install.key + "\\1.0");
        reg += Value("LanguageName", "English US");
        reg += "\n";
    }
    return reg;
}

std::string UserReg(const DemoOptions& options) {
    std::string reg = "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n";
    if (options.edition == Edition::Legacy) {
        // As the Steam install script writes it: the packs listed, one key per executable.
        const std::string key = "Software\\Electronic Arts\\The Sims 2 Ultimate Collection 25";
        std::string listed;
        for (const char* pack : kLegacyPacks) {
            if (std::string(pack) == "Base") continue;
            listed += (listed.empty() ? "" : ",") + Executable(pack);
        }
        for (const char* stuff : {"SP1", "SP2", "SP4", "SP5", "SP6", "SP7", "SP8"}) listed += "," + Executable(stuff);
        reg += KeyLine(key);
        reg += Value("DisplayName", options.legacyName);
        reg += Value("EPsInstalled", listed);
        for (const char* pack : kLegacyPacks) {
            reg += "\n" + KeyLine(key + "\\" + Executable(pack));
            reg += Value("path", std::string(kLegacyRoot) + pack);
            reg += Dword("Installed", 1);
        }
        reg += "\n" + KeyLine(key + "\\1.0");
        reg += Dword("language", options.legacyLanguage);
    } else {
        const std::string name = options.edition == Edition::Ultimate ? kUltimateName : "The Sims 2";
        reg += KeyLine("Software\\EA GAMES\\The Sims 2");
        reg += Value("DisplayName", name);
        reg += "\n" + KeyLine("Software\\EA GAMES\\The Sims 2\\1.0");
        reg += Value("LanguageName", "English US");
    }
    reg += "\n" + KeyLine("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    reg += Value("Personal", "C:\\users\\player\\Documents");
    reg += "\n" + KeyLine("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders");
    reg += "\"Personal\"=str(2):\"%USERPROFILE%\\\\Documents\"\n";
    return reg;
}

// What a player keeps of other players' sims: a Body Shop sim in SavedSims (the nine resources of
// a body, its picture and its name) and a clone file made from a sim of Pleasant Valley, in the
// folder Create A Clone proposes.
void WriteDemoClones(const DemoGame& game) {
    fixture::PackageBuilder bodyShop;
    int n = 0;
    for (std::uint32_t type : kBodyTypes) {
        if (type == kSimPropertiesType) {
            bodyShop.Add(fixture::Key(type, 1), fixture::PropertySetBuilder()
                                                    .Integer("age", 8)
                                                    .Integer("gender", 1)
                                                    .String("skincolor", "00000000-0000-0000-0000-000000000003")
                                                    .String("haircolor", "00000000-0000-0000-0000-000000000004")
                                                    .String("eyecolor", "00000000-0000-0000-0000-000000000005")
                                                    .Build(), true);
        } else {
            bodyShop.Add(fixture::Key(type, 1), std::string(160, static_cast<char>('K' + n++)) + "Body Shop", true);
        }
    }
    bodyShop.Add(fixture::Key(kCatalogTextType, 1), fixture::TextListBytes({{1, "Rosalind", ""}, {1, "", ""}, {1, "Vane", ""}}), true);
    bodyShop.AddDirectory();
    const fs::path savedSims = game.userData / "SavedSims" / "Rosalind Vane.package";
    fs::create_directories(savedSims.parent_path());
    AtomicReplace(savedSims, bodyShop.Build());

    const fs::path neighborhoods = game.userData / "Neighborhoods";
    SilentReporter quiet;
    NullProgress progress;
    std::vector<Neighborhood> catalogue = ScanNeighborhoods(neighborhoods, 1, quiet, progress);
    for (Neighborhood& neighborhood : catalogue) {
        if (neighborhood.prefix != "N001") continue;
        Workspace ws;
        LoadNeighborhood(ws, neighborhood, neighborhoods, {1}, quiet, progress);
        GameEnvironment env;
        env.hasUniversity = env.hasNightlife = env.hasPets = env.hasSeasons = env.hasBonVoyage = env.hasFreeTime =
            env.hasApartmentLife = true;
        for (const Character& sim : ws.characters) {
            if (sim.firstName != "Ana") continue;
            const fs::path clone = game.prefix / "drive_c" / "users" / "player" / "Documents" / "Bramblesoft" / "Clones" /
                                   CloneFileName(sim);
            fs::create_directories(clone.parent_path());
            AtomicReplace(clone, MakeCloneFile(ws, sim, env, quiet));
        }
    }
}

}  // namespace

std::optional<Edition> EditionNamed(std::string_view name) {
    if (name == "retail") return Edition::Retail;
    if (name == "ultimate") return Edition::Ultimate;
    if (name == "legacy") return Edition::Legacy;
    return std::nullopt;
}

DemoGame WriteDemoGame(const fs::path& root, const DemoOptions& options) {
    DemoGame game;
    game.root = root;
    game.prefix = root / "wineprefix";
    fs::create_directories(game.prefix / "drive_c");
    const std::string machine = options.edition == Edition::Retail     ? SystemReg()
                                : options.edition == Edition::Ultimate ? UltimateSystemReg()
                                                                       : MachineHeader();
    WriteText(game.prefix / "system.reg", machine);
    WriteText(game.prefix / "user.reg", UserReg(options));

    // Wine's drive C: is a link in dosdevices. Windows makes no such links without privileges and
    // reads no Wine prefix, so there the prefix is a plain folder tree (the game's files are
    // reached through the registry or the user data folder itself).
    fs::create_directories(game.prefix / "dosdevices");
#ifndef _WIN32
    std::error_code ignored;
    fs::remove(game.prefix / "dosdevices" / "c:", ignored);
    fs::create_directory_symlink("../drive_c", game.prefix / "dosdevices" / "c:");
#endif

    // On disk the folders are spelt as an installer on a case-sensitive system left them, which
    // is not always how the registry spells them.
    std::vector<fs::path> installs;
    std::string dataFolder = "The Sims 2";
    if (options.edition == Edition::Retail) {
        const fs::path programs = game.prefix / "drive_c" / "Program Files" / "EA Games";
        for (const Install& install : kInstalls) installs.push_back(programs / install.folder);
    } else if (options.edition == Edition::Ultimate) {
        const fs::path programs = game.prefix / "drive_c" / "Program Files (x86)" / "Origin Games" / "The Sims 2 Ultimate Collection";
        for (std::string folder : kUltimateFolders) {
            for (char& c : folder) {
                if (c == '\\') c = '/';
            }
            installs.push_back(programs / folder);
        }
        dataFolder = kUltimateName;
    } else {
        const fs::path programs =
            game.prefix / "drive_c" / "Program Files (x86)" / "Steam" / "steamapps" / "common" / "The Sims 2 Legacy Collection";
        for (const char* pack : kLegacyPacks) installs.push_back(programs / pack);
        dataFolder = options.legacyName;
    }
    for (const fs::path& install : installs) {
        const fs::path objects = install / "TSData" / "Res" / "Objects" / "objects.package";
        fs::create_directories(objects.parent_path());
        AtomicReplace(objects, DemoObjectsPackage());
        // EP9 is Mansion & Garden Stuff, a stuff pack: the catalogue is the last expansion's.
        if (install.filename() != "EP9") game.objectsPackage = objects;
    }

    game.userData = game.prefix / "drive_c" / "users" / "player" / "Documents" / "EA Games" / fs::u8path(dataFolder);
    fs::create_directories(game.userData / "Neighborhoods");
    game.neighborhoods = WriteDemoNeighborhoods(game.userData / "Neighborhoods");
    WriteDemoDownloads(game.userData);
    WriteDemoClones(game);
    if (options.damagedNeighborhood) WriteDamagedNeighborhood(game.userData / "Neighborhoods");
    // A backup the player made of Pleasant Valley once, in the default archive folder.
    const fs::path archive = game.prefix / "drive_c" / "users" / "player" / "Documents" / "Bramblesoft" / "NGBDs";
    // File by file: a recursive copy into an existing folder fails with libstdc++ on Windows.
    const fs::path from = game.userData / "Neighborhoods" / "N001";
    const fs::path to = archive / "N001 03-14-2026 101500";
    fs::create_directories(to);
    for (const auto& entry : fs::recursive_directory_iterator(from)) {
        const fs::path target = to / entry.path().lexically_relative(from);
        if (entry.is_directory()) {
            fs::create_directories(target);
        } else {
            fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
        }
    }
    fs::create_directories(game.prefix / "drive_c" / "users" / "Public");
    return game;
}

}  // namespace qh::demo
