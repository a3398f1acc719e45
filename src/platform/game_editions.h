// The editions of the game players run, and where each keeps the player's data.
//
// The discs of 2004–2008 and the Ultimate Collection (2014) record themselves under
// Software\EA GAMES\The Sims 2… (game_discovery.h). The Legacy Collection (2025, Steam and the EA
// app) records itself in the current user's hive under
//
//   Software\Electronic Arts\The Sims 2 Ultimate Collection 25
//     "DisplayName"   the player's data folder inside Documents\EA Games (localized by some
//                     languages: "Los Sims 2 Legado")
//     "EPsInstalled"  the packs' executables, comma separated: Sims2EP1.exe (University) …
//                     Sims2EP8.exe (Apartment Life), Sims2EP9.exe and Sims2SP<n>.exe (stuff packs)
//     \Sims2.exe, \Sims2EP1.exe, …   "path" (the pack's folder; the base game's ends in \Base)
//                                    and the number "Installed" = 1
//     \1.0            "language": a number of its own (1 English, 2 French, … 19 English UK)
//
// and writes no "Install Dir". Players may also have two editions at once (the discs kept beside
// the Legacy Collection), a link from one data folder to another, or a data folder with no key
// at all (a copied prefix, a repack). Each edition found becomes one GameEdition; the player's
// choice among them is remembered by its data folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/game_discovery.h"
#include "platform/game_environment.h"
#include "platform/registry.h"

namespace qh {

struct GameEdition {
    std::string edition;      // "Legacy Collection", "Ultimate Collection", "retail", "data folder"
    std::string displayName;  // the data folder's name inside EA Games
    std::filesystem::path installFolder;  // the base game's folder; empty when unknown
    std::filesystem::path prefix;         // the Wine prefix it lives in; empty outside Wine
    std::optional<std::filesystem::path> personalFolder;  // the documents folder it was found in
    GameEnvironment env;  // what this edition gives, before the command line's overrides
};

struct EditionSearch {
    std::vector<GameEdition> editions;
    // A registry value passed over, naming its file and the value ("user.reg of …: DisplayName
    // \"..\" …"), and every place looked in, for the message when nothing is found.
    std::vector<std::string> skipped;
    std::vector<std::string> looked;
};

// The Legacy Collection's key, in the current user's hive.
inline constexpr std::string_view kLegacyKey = "Software\\Electronic Arts\\The Sims 2 Ultimate Collection 25";

// The data folder names the editions use (English and localized), for finding a data folder that
// no key names.
std::vector<std::string> KnownDataFolderNames();

// The Legacy Collection's language number as the game's text-list language (the table of
// game_discovery.h); nothing for a number whose language that table has no row for.
std::optional<LanguageInfo> LegacyLanguage(std::uint32_t number);

// The editions one registry records (the Legacy Collection, then the classic keys: retail or
// the Ultimate Collection), then every known data folder in the documents folder that no key
// named. `prefix` is the Wine prefix the registry and paths belong to (empty on Windows).
void FindEditions(const RegistryView* registry, const GamePaths* paths, const std::filesystem::path& prefix,
                  EditionSearch& search);

// Every known data folder holding Neighborhoods in a documents folder, as editions found by their
// folder alone (`origin` says where the documents folder is, for the status line).
void FindDataFolders(const std::filesystem::path& documents, const std::string& origin,
                     const std::filesystem::path& prefix, EditionSearch& search);

// The folder the player chose as the data folder (the one holding Neighborhoods), as an edition
// found by that choice; nothing when it holds no Neighborhoods folder.
void FindChosenFolder(const std::filesystem::path& folder, EditionSearch& search);

// The data folder a folder the player chose stands for: itself when it holds Neighborhoods, its
// parent when it is the Neighborhoods folder. Otherwise nothing, and `refusal` says why.
std::optional<std::filesystem::path> DataFolderOf(const std::filesystem::path& chosen, std::string& refusal);

// Leaves one edition per data folder: a second name for a folder already listed (a link, two keys
// naming one folder) is dropped, so its neighborhoods are listed once.
void DropDuplicateEditions(std::vector<GameEdition>& editions);

// The edition to use: the one whose data folder is `remembered` (the player's last choice), else
// the first whose data folder holds Neighborhoods, else the first. Nothing when there is none.
std::optional<std::size_t> ChooseEdition(const std::vector<GameEdition>& editions,
                                         const std::optional<std::filesystem::path>& remembered);

// One line naming an edition for a chooser: "Legacy Collection: /…/The Sims 2 Legacy".
std::string DescribeEdition(const GameEdition& edition);

}  // namespace qh
