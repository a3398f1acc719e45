#include "app/dialogs/game_data_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace qh::app {
namespace fs = std::filesystem;

GameDataDialog::GameDataDialog(QWidget* parent, const std::vector<GameEdition>& editions, const std::string& whereLooked)
    : QDialog(parent) {
    setObjectName(QStringLiteral("dlgGameData"));
    setWindowTitle(QStringLiteral("The Game's Data"));
    auto* layout = new QVBoxLayout(this);
    const bool none = editions.empty();
    auto* intro = new QLabel(
        none ? QStringLiteral("Unable to continue, Game User Data Not Found.\n\nQuillhaven looked in the places below. "
                              "Choose the folder that holds Neighborhoods (such as Documents/EA Games/The Sims 2 or "
                              "The Sims 2 Legacy), or start Quillhaven with --user-data FOLDER.")
             : QStringLiteral("More than one edition of The Sims 2 was found. Choose the one whose neighborhoods to "
                              "edit, or another folder; Quillhaven remembers the choice."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lstEditions"));
    for (const GameEdition& edition : editions) list_->addItem(QString::fromStdString(DescribeEdition(edition)));
    if (!none) list_->setCurrentRow(0);
    list_->setVisible(!none);
    layout->addWidget(list_);

    auto* row = new QHBoxLayout;
    folder_ = new QLineEdit(this);
    folder_->setObjectName(QStringLiteral("txtDataFolder"));
    folder_->setPlaceholderText(QStringLiteral("Another folder that holds Neighborhoods"));
    folder_->setToolTip(QStringLiteral("The game's data folder: the one holding Neighborhoods, Downloads and SavedSims"));
    auto* browse = new QPushButton(QStringLiteral("Browse\u2026"), this);
    browse->setObjectName(QStringLiteral("btnBrowseDataFolder"));
    browse->setToolTip(QStringLiteral("Choose the game's data folder"));
    row->addWidget(folder_, 1);
    row->addWidget(browse);
    layout->addLayout(row);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("The Game's Data Folder"), folder_->text());
        if (!folder.isEmpty()) folder_->setText(folder);
    });
    // Typing a folder means that folder, not the edition picked in the list.
    connect(folder_, &QLineEdit::textEdited, this, [this] { list_->clearSelection(); });

    if (none && !whereLooked.empty()) {
        auto* looked = new QPlainTextEdit(QString::fromStdString(whereLooked), this);
        looked->setObjectName(QStringLiteral("txtWhereLooked"));
        looked->setReadOnly(true);
        looked->setLineWrapMode(QPlainTextEdit::NoWrap);
        layout->addWidget(looked, 1);
    }
    refusal_ = new QLabel(this);
    refusal_->setObjectName(QStringLiteral("lblRefusal"));
    refusal_->setWordWrap(true);
    refusal_->hide();
    layout->addWidget(refusal_);

    auto* buttons = new QDialogButtonBox(this);
    use_ = buttons->addButton(QStringLiteral("Use"), QDialogButtonBox::AcceptRole);
    use_->setObjectName(QStringLiteral("btnUse"));
    use_->setToolTip(QStringLiteral("Open the neighborhoods of the chosen edition or folder"));
    QPushButton* quit = buttons->addButton(QStringLiteral("Quit"), QDialogButtonBox::RejectRole);
    quit->setObjectName(QStringLiteral("btnQuit"));
    quit->setToolTip(QStringLiteral("End Quillhaven without opening anything"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(720, none ? 480 : 320);
}

void GameDataDialog::accept() {
    chosenFolder_.reset();
    const QString typed = folder_->text().trimmed();
    if (typed.isEmpty()) {
        if (ChosenEdition()) {
            QDialog::accept();
            return;
        }
        refusal_->setText(QStringLiteral("Choose an edition or the folder that holds Neighborhoods."));
        refusal_->show();
        return;
    }
    std::string refusal;
    const auto folder = DataFolderOf(fs::u8path(typed.toStdString()), refusal);
    if (!folder) {
        refusal_->setText(QString::fromStdString(refusal));
        refusal_->show();
        return;
    }
    chosenFolder_ = folder;
    QDialog::accept();
}

std::optional<std::size_t> GameDataDialog::ChosenEdition() const {
    if (chosenFolder_ || list_->count() == 0) return std::nullopt;
    const auto selected = list_->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return static_cast<std::size_t>(list_->row(selected.front()));
}

std::optional<fs::path> GameDataDialog::ChosenFolder() const { return chosenFolder_; }

}  // namespace qh::app
