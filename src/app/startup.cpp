#include "app/startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "app/dialogs/neighborhood_dialog.h"
#include "app/main_window.h"
#include "app/panels/about_panel.h"
#include "app/qt_settings.h"
#include "platform/build_info.h"
#include "platform/paths.h"
#include "platform/system_discovery.h"
#include "workspace/backups.h"
#include "workspace/lots_objects.h"

namespace qh::app {

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine line;
    std::vector<std::string> args;
    for (const QString& a : arguments.mid(1)) args.push_back(a.toStdString());
    SharedOptions& shared = line.startup.shared;
    shared.languageSwitch = TakeLanguageSwitch(args);
    auto value = [&](std::size_t& i) -> std::optional<std::string> {
        if (i + 1 >= args.size()) return std::nullopt;
        return args[++i];
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::optional<std::string> v;
        if (a == "--wine-prefix" && (v = value(i))) shared.winePrefix = *v;
        else if (a == "--user-data" && (v = value(i))) shared.userData = *v;
        else if (a == "--objects" && (v = value(i))) shared.objects = *v;
        else if (a == "--language" && (v = value(i))) shared.language = *v;
        else if (a == "--expansions" && (v = value(i))) shared.expansions = *v;
        else if (a == "--settings" && (v = value(i))) shared.settings = *v;
        else if (a == "--screenshot" && (v = value(i))) line.screenshot = QString::fromStdString(*v);
        else if (a == "--panel" && (v = value(i))) line.panel = QString::fromStdString(*v);
        else if (a == "--sim" && (v = value(i))) line.sim = QString::fromStdString(*v);
        else if (a == "--size" && (v = value(i))) {
            const QStringList parts = QString::fromStdString(*v).split(QLatin1Char('x'));
            if (parts.size() == 2) line.size = QSize(parts[0].toInt(), parts[1].toInt());
        }
        else if (a == "--neighborhood" && (v = value(i))) line.startup.neighborhood = QString::fromStdString(*v);
        else if (a == "--timings") line.timings = true;
        else if (a == "--version") line.print = VersionText() + "\n";
        else if (a == "--help" || a == "-h") {
            line.print = VersionText() +
                         ": an editor of The Sims 2 neighborhoods. Run it while the game is closed.\n\n"
                         "Usage: quillhaven [options]\n"
                         "  --wine-prefix DIR    the Wine prefix the game is installed in\n"
                         "  --user-data DIR      the game's user data folder (\"EA Games/The Sims 2\")\n"
                         "  --objects FILE       the game's objects.package\n"
                         "  --expansions LIST    the installed expansions, when they cannot be found\n"
                         "  --language CODE      the game's language (as the game's own /l CODE)\n"
                         "  --settings FILE      the settings file to use instead of the usual one\n"
                         "  --neighborhood PREFIX  open this neighborhood without asking\n"
                         "  --screenshot FILE [--panel CAPTION] [--sim FILE]  render the window into a PNG and end\n"
                         "  --size WxH           the window's size, such as 1400x900\n"
                         "  --timings            print when the window first painted and first showed the\n"
                         "                       neighborhood, and end\n"
                         "  --version            print the version and end\n";
            break;
        }
    }
    if (!line.screenshot.isEmpty() || line.timings) line.startup.askForNeighborhood = false;
    return line;
}

QString ProgramDataFolder(const QString& programFolder) {
    const QDir beside(programFolder);
    if (QFileInfo::exists(beside.filePath(QStringLiteral("Images.rcc")))) return programFolder;
    const QString installed = QDir::cleanPath(beside.filePath(QStringLiteral("../share/quillhaven")));
    if (QFileInfo::exists(QDir(installed).filePath(QStringLiteral("Images.rcc")))) return installed;
    return programFolder;
}

std::optional<std::string> PrepareState(GameSession& state, ImageLibrary& images, const StartupOptions& options,
                                        Reporter& reporter) {
    if (!options.shared.settings) {
        state.settings = std::make_unique<QtSettings>();
    } else {
        state.settings = std::make_unique<QtSettings>(QString::fromStdString(options.shared.settings->string()));
    }
    state.colorScheme = state.settings->ColorScheme();
    if (!images.Load(options.programFolder)) return "Bad DLL Load";
    try {
        DiscoverGame(state, options.shared);
    } catch (const std::exception& error) {
        return error.what();
    }
    // A registry value or file discovery passed over is said, naming the file.
    for (const std::string& skipped : state.editions.skipped) reporter.Warning(skipped);
    // What the player chose is used from now on, and remembered for the next start.
    auto apply = [&](const GameDataChoice& choice) {
        if (choice.folder) {
            EditionSearch chosen;
            FindChosenFolder(*choice.folder, chosen);
            if (chosen.editions.empty()) return;
            state.editions.editions.push_back(std::move(chosen.editions.front()));
            UseEdition(state, state.editions.editions.size() - 1, options.shared);
        } else if (choice.edition && *choice.edition < state.editions.editions.size()) {
            UseEdition(state, *choice.edition, options.shared);
        } else {
            return;
        }
        state.settings->SetUserData(Utf8Text(state.env.userDataFolder));
    };
    const bool named = options.shared.userData.has_value();
    if (!named && options.chooseGameData && state.editions.editions.size() > 1 && state.settings->UserData().empty()) {
        const auto choice = options.chooseGameData(state.editions.editions, state.whereLooked);
        if (!choice) return std::string();
        apply(*choice);
    }
    for (;;) {
        state.catalogue.clear();
        if (!state.env.neighborhoodsFolder.empty()) {
            // What a killed backup or restore left is put right before anything is listed.
            for (const std::string& said : RecoverInterruptedWork(
                     state.env.neighborhoodsFolder, ArchiveFolder(state.settings->ArchiveLoc(), state.personalFolder))) {
                reporter.Info(said);
            }
            try {
                NullProgress progress;
                state.catalogue = ScanNeighborhoods(state.env.neighborhoodsFolder, state.env.languageCode, reporter, progress);
            } catch (const std::exception&) {
                return "Unable to access game neighborhood files. Please close the game or any applications that may "
                       "currently be using them and then restart this program.";
            }
        }
        if (!state.catalogue.empty()) return std::nullopt;
        if (named || !options.chooseGameData) return "Unable to continue, Game User Data Not Found.";
        // Nothing found: the player is shown where discovery looked and may name the folder.
        std::vector<GameEdition> none;
        const auto choice = options.chooseGameData(none, state.whereLooked);
        if (!choice || !choice->folder) return std::string();
        apply(*choice);
    }
}

namespace {

// The neighborhood offered first: the one named, else the one the settings remember.
std::string Preselected(const GameSession& state, const StartupOptions& options) {
    return options.neighborhood.isEmpty() ? state.settings->Ngbd() : options.neighborhood.toStdString();
}

}  // namespace

std::optional<std::size_t> FirstNeighborhood(const GameSession& state, const StartupOptions& options) {
    if (options.askForNeighborhood || state.catalogue.empty()) return std::nullopt;
    const std::string preselect = Preselected(state, options);
    for (std::size_t i = 0; i < state.catalogue.size(); ++i) {
        if (state.catalogue[i].prefix == preselect) return i;
    }
    return 0;
}

bool StartWindow(MainWindow& window, const StartupOptions& options, std::unique_ptr<NeighborhoodPreload> preload) {
    GameSession& state = window.session();
    auto* about = static_cast<AboutPanel*>(window.PanelNamed(QStringLiteral("pnlAbout")));
    about->SetCaption(VersionCaption());
    about->SelectScheme(state.colorScheme);
    about->Open();
    window.advancedBox()->setChecked(state.settings->Advanced());

    const std::string preselect = Preselected(state, options);
    int chosen = -1;
    if (options.askForNeighborhood) {
        window.hide();
        NeighborhoodDialog dialog(&window, state.catalogue, state.env.neighborhoodsFolder, preselect,
                                  [&window](int topic) { window.ShowHelp(topic); });
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
        if (dialog.exec() != QDialog::Accepted) return false;
        chosen = dialog.Chosen();
    } else if (const auto first = FirstNeighborhood(state, options)) {
        chosen = static_cast<int>(*first);
    }
    if (chosen < 0) chosen = 0;
    window.show();

    window.BeginBusy();
    try {
        state.objectCatalogue = LoadObjectCatalogue(state.env.objectsPackagePath, window.reporter(), window);
    } catch (const std::exception& error) {
        window.reporter().Error(error.what());
    }
    window.EndBusy();
    window.FillNeighborhoodSelector(QString::fromStdString(state.catalogue[static_cast<std::size_t>(chosen)].prefix));
    window.io().SetPreload(std::move(preload));
    window.LoadSelectedNeighborhood();
    window.ApplyAdvancedMode();
    // A data folder no key of the game names: the player sees how it was found.
    if (const std::string status = DataFolderStatus(state); !status.empty()) window.SetStatus(status);
    return true;
}

}  // namespace qh::app
