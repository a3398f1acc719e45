// Start-up: from discovery to the first neighborhood loaded, in the game's order, ending the
// program when the game's data cannot be reached.
#pragma once

#include <QSize>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/images.h"
#include "app/neighborhood_preload.h"
#include "platform/game_discovery.h"
#include "workspace/game_session.h"

namespace qh::app {

class MainWindow;

// What the player chose when start-up could not tell where the game's data is: an edition found,
// or a folder.
struct GameDataChoice {
    std::optional<std::size_t> edition;
    std::optional<std::filesystem::path> folder;
};
// Asks the player (the editions found, which may be none, and where discovery looked); nothing
// when the player quits.
using GameDataChooser =
    std::function<std::optional<GameDataChoice>(const std::vector<GameEdition>& editions, const std::string& whereLooked)>;

struct StartupOptions {
    SharedOptions shared;        // the options the command-line tool takes too; no --settings:
                                 // QSettings' own place
    QString programFolder;       // where Images.rcc and the help pages are
    bool askForNeighborhood = true;  // false: answer the dialog with the preselection
    QString neighborhood;        // the neighborhood to preselect instead of "NGBD"
    // Asked when more than one edition is found and none was chosen before, and when no data is
    // found; null: never asked (the first edition with neighborhoods is used).
    GameDataChooser chooseGameData;
};

// Parses the program's command line (the game's "/l CODE" included). Unknown arguments are
// ignored as the game's own launcher would; the shared options are checked when they are used.
struct CommandLine {
    StartupOptions startup;
    QString screenshot;  // --screenshot FILE
    QString panel;       // --panel CAPTION
    QString sim;         // --sim FILE: the sim selected for the screenshot
    QSize size;          // --size WxH: the window's size (at least the designed one)
    // --timings: when the window first painted and first painted the loaded neighborhood, on
    // standard error; the program then ends.
    bool timings = false;
    // --help or --version: printed on standard output, and the program ends.
    std::optional<std::string> print;
};
CommandLine ParseCommandLine(const QStringList& arguments);

// Where the editor's own files (Images.rcc, the help pages, its icon) are: beside the program when
// it runs from its build folder or a Windows folder, else in the installed layout's
// share/quillhaven beside bin; the program's folder when neither holds them (the start then says
// the picture library is missing).
QString ProgramDataFolder(const QString& programFolder);

// Steps before the window exists: settings, the picture library, discovery, the catalogue.
// Returns the message to end with, empty when the player quit when asked for the game's data, or
// nothing (a shared option the program cannot use ends it with the message that names it, as the
// command-line tool refuses it).
std::optional<std::string> PrepareState(GameSession& state, ImageLibrary& images, const StartupOptions& options,
                                        Reporter& reporter);

// The catalogue entry the window loads first when the player is not asked (the one named, else the
// one the settings remember, else the first); nothing when the player is asked or there is none.
std::optional<std::size_t> FirstNeighborhood(const GameSession& state, const StartupOptions& options);

// Steps with the window: the scheme, the dialog, the object catalogue and the first load (taken
// from `preload` when it loads the neighborhood chosen). Returns false when the program is to end
// (the dialog cancelled).
bool StartWindow(MainWindow& window, const StartupOptions& options,
                 std::unique_ptr<NeighborhoodPreload> preload = nullptr);

}  // namespace qh::app
