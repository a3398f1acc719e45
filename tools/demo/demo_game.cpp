#include "demo_game.h"

#include "demo_objects.h"

#include <fstream>
#include <string>

#include "fixture/package_builder.h"
#include "platform/file_io.h"

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

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out;
}

std::string KeyLine(const std::string& path) { return "[" + Escape(path) + "] 1700000000\n#time=1da0000000000000\n"; }
std::string Value(const std::string& name, const std::string& text) {
    return "\"" + Escape(name) + "\"=\"" + Escape(text) + "\"\n";
}

std::string SystemReg() {
    std::string reg = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n";
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

std::string UserReg() {
    std::string reg = "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n";
    reg += KeyLine("Software\\EA GAMES\\The Sims 2");
    reg += Value("DisplayName", "The Sims 2");
    reg += "\n" + KeyLine("Software\\EA GAMES\\The Sims 2\\1.0");
    reg += Value("LanguageName", "English US");
    reg += "\n" + KeyLine("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    reg += Value("Personal", "C:\\users\\player\\Documents");
    reg += "\n" + KeyLine("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders");
    reg += "\"Personal\"=str(2):\"%USERPROFILE%\\\\Documents\"\n";
    return reg;
}

}  // namespace

DemoGame WriteDemoGame(const fs::path& root) {
    DemoGame game;
    game.root = root;
    game.prefix = root / "wineprefix";
    fs::create_directories(game.prefix / "drive_c");
    WriteText(game.prefix / "system.reg", SystemReg());
    WriteText(game.prefix / "user.reg", UserReg());

    fs::create_directories(game.prefix / "dosdevices");
    std::error_code ignored;
    fs::remove(game.prefix / "dosdevices" / "c:", ignored);
    fs::create_directory_symlink("../drive_c", game.prefix / "dosdevices" / "c:");

    // On disk the folders are spelt as an installer on a case-sensitive system left them, which
    // is not always how the registry spells them.
    const fs::path programs = game.prefix / "drive_c" / "Program Files" / "EA Games";
    for (const Install& install : kInstalls) {
        const fs::path objects = programs / install.folder / "TSData" / "Res" / "Objects" / "objects.package";
        fs::create_directories(objects.parent_path());
        AtomicReplace(objects, DemoObjectsPackage());
        game.objectsPackage = objects;
    }

    game.userData = game.prefix / "drive_c" / "users" / "player" / "Documents" / "EA Games" / "The Sims 2";
    fs::create_directories(game.userData / "Neighborhoods");
    game.neighborhoods = WriteDemoNeighborhoods(game.userData / "Neighborhoods");
    // A backup the player made of Pleasant Valley once, in the default archive folder.
    const fs::path archive = game.prefix / "drive_c" / "users" / "player" / "Documents" / "Bramblesoft" / "NGBDs";
    fs::create_directories(archive / "N001 03-14-2026 101500");
    fs::copy(game.userData / "Neighborhoods" / "N001", archive / "N001 03-14-2026 101500", fs::copy_options::recursive);
    fs::create_directories(game.prefix / "drive_c" / "users" / "Public");
    return game;
}

}  // namespace qh::demo
