// quillhaven: the desktop editor.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "app/main_window.h"
#include "app/message_asker.h"
#include "app/paint_times.h"
#include "app/dialogs/game_data_dialog.h"
#include "app/startup.h"
#include "platform/memory_use.h"

namespace {

// Messages in message boxes, as the window shows them.
class MessageBoxReporter final : public qh::Reporter {
public:
    void Report(qh::Severity severity, std::string_view text) override {
        const QString message = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                                    .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (quiet) {
            qWarning("%s", message.toUtf8().constData());
            return;
        }
        if (severity == qh::Severity::Error) {
            QMessageBox::warning(nullptr, QStringLiteral("Quillhaven"), message);
        } else {
            QMessageBox::information(nullptr, QStringLiteral("Quillhaven"), message);
        }
    }
    bool quiet = false;  // a screenshot run shows nothing and waits for nobody
};

}  // namespace

int main(int argc, char** argv) {
    const auto started = std::chrono::steady_clock::now();
    qh::ReuseLargeBlocks();
    // --help and --version print and end before any window system is needed.
    QStringList raw;
    for (int i = 0; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
    if (const auto printed = qh::app::ParseCommandLine(raw).print) {
        std::fputs(printed->c_str(), stdout);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillhaven 2.0"));
    qh::app::CommandLine line = qh::app::ParseCommandLine(QApplication::arguments());
    line.startup.programFolder = qh::app::ProgramDataFolder(QApplication::applicationDirPath());
    // The desktop's own icon when installed, else the one beside the program.
    QApplication::setDesktopFileName(QStringLiteral("org.quillhaven.Quillhaven"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.quillhaven.Quillhaven"),
                                                 QIcon(line.startup.programFolder + QStringLiteral("/quillhaven.png"))));

    MessageBoxReporter reporter;
    reporter.quiet = !line.screenshot.isEmpty() || line.timings;
    qh::app::MessageBoxAsker asker;
    qh::GameSession state;
    qh::app::ImageLibrary images;
    if (line.screenshot.isEmpty() && !line.timings) {
        line.startup.chooseGameData = [&asker](const std::vector<qh::GameEdition>& editions,
                                               const std::string& whereLooked) -> std::optional<qh::app::GameDataChoice> {
            qh::app::GameDataDialog dialog(nullptr, editions, whereLooked);
            if (!asker.Run(dialog)) return std::nullopt;
            return qh::app::GameDataChoice{dialog.ChosenEdition(), dialog.ChosenFolder()};
        };
    }
    if (auto failure = qh::app::PrepareState(state, images, line.startup, reporter)) {
        if (failure->empty()) return 0;  // the player quit when asked where the game's data is
        if (reporter.quiet) {
            std::fprintf(stderr, "quillhaven: %s\n", failure->c_str());
        } else {
            reporter.Error(*failure);
        }
        return 1;
    }
    // The neighborhood the window will show first is read while the window is being built.
    std::unique_ptr<qh::app::NeighborhoodPreload> preload;
    if (const auto first = qh::app::FirstNeighborhood(state, line.startup)) {
        preload = std::make_unique<qh::app::NeighborhoodPreload>(state, *first);
    }
    qh::app::MainWindow window(state, images, reporter, asker, line.startup.programFolder + QStringLiteral("/help"));
    qh::app::PaintTimes* paints = nullptr;
    if (line.timings) {
        paints = new qh::app::PaintTimes(window, started, [&](const std::string& text) {
            std::fprintf(stderr, "%s\n", text.c_str());
            if (paints && paints->loadedFrame()) QTimer::singleShot(0, &window, [] { QApplication::exit(0); });
        });
    }
    if (!qh::app::StartWindow(window, line.startup, std::move(preload))) return 0;
    if (paints) paints->LoadDone();
    if (line.size.isValid()) window.resize(line.size.expandedTo(window.minimumSize()));

    if (!line.screenshot.isEmpty()) {
        if (!line.sim.isEmpty()) {
            const auto sim = qh::FindSimByFile(state.workspace, line.sim.toStdString());
            if (!sim) {
                std::fprintf(stderr, "quillhaven: no sim with the character package %s\n", qPrintable(line.sim));
                return 1;
            }
            window.SelectSim(*sim);
        }
        // The window shows a newly selected sim's panel a moment later; the panel is opened after.
        QTimer::singleShot(150, &window, [&] {
            if (line.panel.isEmpty()) return;
            if (QPushButton* button = window.PanelButton(line.panel)) button->click();
        });
        QTimer::singleShot(450, &window, [&] {
            QApplication::processEvents();
            const bool saved = window.grab().save(line.screenshot, "PNG");
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
