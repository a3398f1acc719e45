// Where the player's data is, when start-up cannot tell by itself: more than one edition of the
// game was found (the discs kept beside the Legacy Collection), or none. The dialog lists the
// editions found, lets the player pick another folder, and says where discovery looked.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/game_editions.h"

namespace qh::app {

class GameDataDialog : public QDialog {
public:
    // `editions` may be empty (nothing found); `whereLooked` is shown when it is.
    GameDataDialog(QWidget* parent, const std::vector<GameEdition>& editions, const std::string& whereLooked);

    // The edition picked, or nothing when the player typed or chose a folder instead.
    std::optional<std::size_t> ChosenEdition() const;
    // The data folder chosen (the one holding Neighborhoods), when the player named one.
    std::optional<std::filesystem::path> ChosenFolder() const;

    QListWidget* list() const { return list_; }
    QLineEdit* folderBox() const { return folder_; }
    QPushButton* useButton() const { return use_; }
    QLabel* refusal() const { return refusal_; }

    void accept() override;

private:
    QListWidget* list_;
    QLineEdit* folder_;
    QPushButton* use_;
    QLabel* refusal_;
    std::optional<std::filesystem::path> chosenFolder_;
};

}  // namespace qh::app
