#include "app/panels/neighborhood_panel.h"

#include <QApplication>
#include <QFileDialog>
#include <QProgressDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QVBoxLayout>
#include <ctime>

#include "app/dialogs/check_dialog.h"
#include "app/dialogs/diff_dialog.h"
#include "app/document_io.h"
#include "app/images.h"
#include "package/text_list.h"
#include "workspace/game_session.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "workspace/neighborhood_diff.h"
#include "workspace/neighborhood_picture.h"

namespace qh::app {

namespace {
}  // namespace

NeighborhoodPanel::NeighborhoodPanel(Document& document, PanelContext& context, const PanelRow& row)
    : Panel(document, context, row) {
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* form = new QFormLayout;
    edtNgbdName_ = new QLineEdit(this);
    edtNgbdName_->setObjectName(QStringLiteral("edtNgbdName"));
    edtNgbdName_->setMaxLength(30);
    edtNgbdName_->setProperty("helpTopic", 3011);
    memNgbdDescription_ = new QPlainTextEdit(this);
    memNgbdDescription_->setTabChangesFocus(true);  // Tab moves on, as in every other box
    memNgbdDescription_->setObjectName(QStringLiteral("memNgbdDescription"));
    memNgbdDescription_->setProperty("helpTopic", 3011);
    memNgbdDescription_->setMaximumHeight(120);
    lblVersion_ = new QLabel(QStringLiteral("Version : "), this);
    lblVersion_->setObjectName(QStringLiteral("lblNgbdVersion"));
    form->addRow(QStringLiteral("Neighborhood Name:"), edtNgbdName_);
    form->addRow(QStringLiteral("Description:"), memNgbdDescription_);
    left->addLayout(form);
    left->addWidget(lblVersion_);
    imgNeighborhood_ = new QLabel(this);
    imgNeighborhood_->setObjectName(QStringLiteral("imgNeighborhood"));
    imgNeighborhood_->setMinimumSize(400, 300);
    imgNeighborhood_->setAlignment(Qt::AlignCenter);
    imgNeighborhood_->setContextMenuPolicy(Qt::CustomContextMenu);
    imgNeighborhood_->setProperty("ownMenu", true);
    left->addWidget(imgNeighborhood_);
    left->addStretch();
    layout->addLayout(left, 3);
    tvBackups_ = new QTreeWidget(this);
    tvBackups_->setObjectName(QStringLiteral("tvBackups"));
    tvBackups_->setHeaderHidden(true);
    tvBackups_->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* right = new QVBoxLayout;
    right->addWidget(tvBackups_, 1);
    btnBackup_ = new QPushButton(QStringLiteral("Backup Neighborhood"), this);
    btnBackup_->setObjectName(QStringLiteral("btnBackup"));
    btnBackup_->setToolTip(QStringLiteral("Copy the whole neighborhood folder into the backup folder"));
    right->addWidget(btnBackup_);
    ckOfferBackup_ = new QCheckBox(QStringLiteral("Offer a backup before the day's first save"), this);
    ckOfferBackup_->setObjectName(QStringLiteral("ckOfferBackup"));
    SetTip(ckOfferBackup_, QStringLiteral("Before the first save of a day into a neighborhood with no backup from that day, offer one"));
    right->addWidget(ckOfferBackup_);
    connect(ckOfferBackup_, &QCheckBox::toggled, this, [this](bool on) {
        if (!Filling()) document_.session().settings->SetOfferBackup(on);
    });
    btnChangeBackupLoc_ = new QPushButton(QStringLiteral("Change Backup Location"), this);
    btnChangeBackupLoc_->setObjectName(QStringLiteral("btnChangeBackupLoc"));
    SetTip(btnChangeBackupLoc_, QStringLiteral("Choose the folder the backups are kept in, and move them there"));
    right->addWidget(btnChangeBackupLoc_);
    btnCheckNgbd_ = new QPushButton(QStringLiteral("Check Neighborhood"), this);
    btnCheckNgbd_->setObjectName(QStringLiteral("btnCheckNgbd"));
    SetTip(btnCheckNgbd_, QStringLiteral("Look through the neighborhood's files and records for damage and contradictions "
                                         "that make the game lose sims or households; nothing is changed"));
    right->addWidget(btnCheckNgbd_);
    connect(btnCheckNgbd_, &QPushButton::clicked, this, [this] { btnCheckNgbdClick(); });
    layout->addLayout(right, 2);
    connect(btnBackup_, &QPushButton::clicked, this, [this] { btnBackupClick(); });
    connect(btnChangeBackupLoc_, &QPushButton::clicked, this, [this] { btnChangeBackupLocClick(); });

    connect(edtNgbdName_, &QLineEdit::textEdited, this, [this] { edtNgbdNameKeyUp(); });
    connect(memNgbdDescription_, &QPlainTextEdit::textChanged, this, [this] { memNgbdDescriptionKeyUp(); });
    connect(imgNeighborhood_, &QLabel::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("Replace Image"), this, [this] { ReplaceImage(); });
        menu.addAction(QStringLiteral("Help"), this, [this] { context_.dialogs.ShowHelp(3012); });
        menu.exec(imgNeighborhood_->mapToGlobal(at));
    });
    connect(tvBackups_, &QTreeWidget::itemClicked, this, [](QTreeWidgetItem* item) {
        // Level 0 and 1 open and close with a click; backups themselves do not react.
        if (item->childCount() > 0 || !item->parent()) item->setExpanded(!item->isExpanded());
    });
    connect(tvBackups_, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& at) { TreeMenu(at); });
}

bool NeighborhoodPanel::CanOpen() const {
    // Nothing to show or edit until a neighborhood with sims is loaded.
    return document_.neighborhood() && !document_.workspace().characters.empty();
}

void NeighborhoodPanel::Fill() {
    Neighborhood* n = document_.neighborhood();
    edtNgbdName_->setText(EditedText(n->ngbdName));
    memNgbdDescription_->setPlainText(EditedText(n->ngbdDescription));
    lblVersion_->setText(QStringLiteral("Version : ") + QString::fromStdString(n->versionText));
    ShowPicture();
    ckOfferBackup_->setChecked(document_.session().settings->OfferBackup());
    RebuildBackupTree();
    SelectOwnGroup(false);
}

// The loaded neighborhood's group chosen and opened, and the advice to back it up where it has
// no backup.
void NeighborhoodPanel::SelectOwnGroup(bool warn) {
    Neighborhood* n = document_.neighborhood();
    if (!n) return;
    const QString own = QString::fromStdString(n->prefix) + QStringLiteral(" - Neighborhood Backups");
    QTreeWidgetItem* root = tvBackups_->topLevelItem(0);
    bool found = false;
    for (int i = 0; root && i < root->childCount(); ++i) {
        if (root->child(i)->text(0).compare(own, Qt::CaseInsensitive) == 0) {
            tvBackups_->setCurrentItem(root->child(i));
            root->setExpanded(true);
            root->child(i)->setExpanded(true);
            found = true;
        }
    }
    // On opening the panel, said when the archive holds no backup at all, once per neighborhood
    // and run; after a backup or a delete, whenever the neighborhood has none.
    const bool empty = root && root->childCount() == 0;
    if (warn ? !found : empty && warnedNoBackup_.insert(n->prefix).second) {
        std::string message = NoBackupMessage(TrimText(ToValidUtf8(n->ngbdName)));
        if (document_.session().settings->OfferBackup()) {
            message += "\r\n\r\nQuillhaven offers to back it up before your first save of the day (\"Offer a backup "
                       "before the day's first save\" on this panel).";
        }
        context_.dialogs.reporter().Info(message);
    }
}

std::filesystem::path NeighborhoodPanel::Archive() const {
    return ArchiveFolder(document_.session().settings->ArchiveLoc(), document_.session().personalFolder);
}

void NeighborhoodPanel::btnBackupClick() {
    Neighborhood* n = document_.neighborhood();
    if (!n || Filling()) return;
    context_.status.BeginBusy();
    const BackupResult result = BackupNow(document_.workspace().neighborhoodFolder, Archive(), n->prefix, context_.io.ToTrash(),
                                          context_.status.progress());
    context_.status.EndBusy();
    if (!result.done) context_.dialogs.reporter().Error(result.message);
    if (result.done && !result.message.empty()) context_.dialogs.reporter().Info(result.message);
    RebuildBackupTree();
    SelectOwnGroup(true);
}

void NeighborhoodPanel::RebuildBackupTree() {
    tvBackups_->clear();
    auto* root = new QTreeWidgetItem(tvBackups_, {QStringLiteral("Stored Backups")});
    const auto archive = ArchiveFolder(document_.session().settings->ArchiveLoc(), document_.session().personalFolder);
    for (const BackupGroup& group : BackupTree(archive)) {
        auto* node = new QTreeWidgetItem(root, {QString::fromStdString(group.text)});
        for (const std::string& backup : group.backups) new QTreeWidgetItem(node, {QString::fromStdString(backup)});
    }
    tvBackups_->setCurrentItem(root);
}

QMenu* NeighborhoodPanel::TreeMenuFor(QTreeWidgetItem* item) {
    tvBackups_->setCurrentItem(item);
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool backup = item->parent() && item->parent()->parent();
    // The commands run once the menu has closed: a restore loads the neighborhood again, and the
    // menu (freed when it closes) must not be on the stack then.
    auto later = [this](void (NeighborhoodPanel::*handler)()) {
        return [this, handler] { QMetaObject::invokeMethod(this, handler, Qt::QueuedConnection); };
    };
    if (backup) {
        menu->addAction(QStringLiteral("Restore"), this, later(&NeighborhoodPanel::RestoreClick));
        menu->addAction(QStringLiteral("Delete"), this, later(&NeighborhoodPanel::DeleteClick));
        menu->addAction(QStringLiteral("Show Path"), this, later(&NeighborhoodPanel::ShowPathClick));
        // A backup of the open neighborhood can be compared with it as it is now.
        const Neighborhood* open = document_.neighborhood();
        const auto held = BackupPrefix(Archive() / std::filesystem::u8path(item->text(0).toStdString()));
        if (open && held && EqualsNoCase(*held, open->prefix)) {
            menu->addAction(QStringLiteral("Compare with Current"), this, later(&NeighborhoodPanel::CompareClick));
        }
    } else {
        menu->addAction(item->isExpanded() ? QStringLiteral("Collapse") : QStringLiteral("Expand"), this,
                        [item] { item->setExpanded(!item->isExpanded()); });
        menu->addAction(QStringLiteral("Show Path"), this, [this] { ShowPathClick(); });
        menu->addAction(QStringLiteral("Help"), this, [this] { context_.dialogs.ShowHelp(3014); });
    }
    return menu;
}

void NeighborhoodPanel::TreeMenu(const QPoint& at) {
    QTreeWidgetItem* item = tvBackups_->itemAt(at);
    if (!item) return;
    TreeMenuFor(item)->popup(tvBackups_->viewport()->mapToGlobal(at));
}

namespace {

// The chosen backup's name, or empty when the chosen node is no backup (level 2).
QString ChosenBackup(QTreeWidget* tree) {
    QTreeWidgetItem* item = tree->currentItem();
    return item && item->parent() && item->parent()->parent() ? item->text(0) : QString();
}

}  // namespace

void NeighborhoodPanel::CompareClick() {
    const QString name = ChosenBackup(tvBackups_);
    if (name.isEmpty()) return;
    const auto& env = document_.session().env;
    Workspace backup;
    context_.status.BeginBusy();
    try {
        LoadNeighborhoodFolder(backup, Archive() / std::filesystem::u8path(name.toStdString()), env.languageCode,
                               context_.dialogs.reporter());
    } catch (const std::exception& error) {
        context_.status.EndBusy();
        context_.dialogs.reporter().Error("The backup " + name.toStdString() + " could not be read: " + Explain(error));
        return;
    }
    // The neighborhood as the editor holds it now, unsaved changes included.
    const NeighborhoodDiff diff = DiffNeighborhoods(backup, document_.workspace(), env);
    context_.status.EndBusy();
    DiffDialog dialog(window(), diff, QStringLiteral("From the backup ") + name + QStringLiteral(" to the neighborhood as it is now:"));
    dialog.setPalette(window()->palette());
    context_.dialogs.asker().Run(dialog);
}

void NeighborhoodPanel::RestoreClick() {
    const QString name = ChosenBackup(tvBackups_);
    if (name.isEmpty()) {
        context_.dialogs.reporter().Info("You must first select a neighborhood by left clicking on it.");
        return;
    }
    // The neighborhood the backup holds, from its own package, never from its name.
    const auto held = BackupPrefix(Archive() / std::filesystem::u8path(name.toStdString()));
    if (!held) {
        context_.dialogs.reporter().Error("Backup Operation Failed.\r\n" + name.toStdString() +
                                          " holds no neighborhood package (or more than one), so it cannot be "
                                          "restored.\r\nThe neighborhood was left as it was.");
        return;
    }
    const std::string prefix = *held;
    const auto& env = document_.session().env;
    const std::filesystem::path target = env.neighborhoodsFolder / std::filesystem::u8path(prefix);
    // The open neighborhood is loaded again from the backup: its unsaved changes would be lost.
    const Neighborhood* loaded = document_.session().LoadedNeighborhood();
    if (loaded && EqualsNoCase(loaded->prefix, prefix) &&
        !context_.io.MayDiscardChanges(QStringLiteral("Restore the backup without saving them?"))) {
        return;
    }
    if (std::filesystem::exists(target) &&
        !context_.dialogs.asker().AskOkCancel(QStringLiteral("\"") + QString::fromStdString(target.string()) +
                                   QStringLiteral("\" will be restored with the Neighborhood backup selected.\r\n"
                                                  "If you continue it will be replaced.\r\n"))) {
        return;
    }
    const std::filesystem::path archive = Archive();
    const DiscardFolder trash = context_.io.ToTrash();
    const DiscardFolder keep = KeepAsBackup(archive, prefix);
    context_.status.BeginBusy();
    const BackupResult result = RestoreBackup(archive / std::filesystem::u8path(name.toStdString()), env.neighborhoodsFolder,
                                              prefix, [&](const std::filesystem::path& f) { return trash(f) || keep(f); },
                                              context_.status.progress());
    context_.status.EndBusy();
    if (!result.done) {
        context_.dialogs.reporter().Error(result.message);
        return;
    }
    if (!result.message.empty()) context_.dialogs.reporter().Info(result.message);
    context_.io.NeighborhoodRestored(prefix);
}

void NeighborhoodPanel::DeleteClick() {
    const QString name = ChosenBackup(tvBackups_);
    if (name.isEmpty()) {
        context_.dialogs.reporter().Info("You must first select a neighborhood by left clicking on it.");
        return;
    }
    const std::filesystem::path path = Archive() / std::filesystem::u8path(name.toStdString());
    if (!std::filesystem::exists(path)) return;
    if (!context_.dialogs.asker().AskOkCancel(QStringLiteral("If you continue \"") + QString::fromStdString(path.string()) +
                                   QStringLiteral("\" will be deleted.\r\n"))) {
        return;
    }
    const BackupResult result = DeleteBackup(path, context_.io.ToTrash());
    if (!result.done) context_.dialogs.reporter().Error(result.message);
    RebuildBackupTree();
    SelectOwnGroup(true);
}

void NeighborhoodPanel::ShowPathClick() {
    const QString name = ChosenBackup(tvBackups_);
    const std::filesystem::path archive = Archive();
    context_.dialogs.reporter().Info((name.isEmpty() ? archive : archive / std::filesystem::u8path(name.toStdString())).string());
}

void NeighborhoodPanel::btnChangeBackupLocClick() {
    GameSession& session = document_.session();
    std::error_code error;
    std::filesystem::path current;
    const std::string setting = session.settings->ArchiveLoc();
    if (!setting.empty() && std::filesystem::is_directory(std::filesystem::u8path(setting), error)) {
        current = std::filesystem::u8path(setting);
    } else if (session.personalFolder && std::filesystem::is_directory(*session.personalFolder / "Bramblesoft" / "NGBDs", error)) {
        current = *session.personalFolder / "Bramblesoft" / "NGBDs";
    }
    QFileDialog browser(this, QStringLiteral("Change Backup Location"), QString::fromStdString(current.string()));
    browser.setObjectName(QStringLiteral("dlgBackupLocation"));
    browser.setFileMode(QFileDialog::Directory);
    browser.setOption(QFileDialog::ShowDirsOnly);
    if (!context_.dialogs.asker().Run(browser) || browser.selectedFiles().isEmpty()) return;
    const std::filesystem::path chosen = std::filesystem::u8path(browser.selectedFiles().front().toStdString());
    if (const std::string refusal = ArchiveLocationRefusal(chosen, session.env.neighborhoodsFolder); !refusal.empty()) {
        context_.dialogs.reporter().Error(refusal);
        return;
    }
    session.settings->SetArchiveLoc(chosen.string());
    if (!current.empty() && !std::filesystem::equivalent(current, chosen, error)) {
        context_.status.BeginBusy();
        for (const std::string& backup : MovableBackups(current)) {
            if (!context_.dialogs.asker().AskYesNo(QStringLiteral("Would you like to move the Backup \"") + QString::fromStdString(backup) +
                                        QStringLiteral("\" to the new Backup location.\r\n"))) {
                continue;
            }
            const BackupResult moved = MoveBackup(current / std::filesystem::u8path(backup), chosen);
            if (!moved.done) context_.dialogs.reporter().Error(moved.message);
        }
        context_.status.EndBusy();
    }
    Open();
}

void NeighborhoodPanel::btnCheckNgbdClick() {
    const Workspace& ws = document_.workspace();
    const Neighborhood* n = document_.neighborhood();
    if (!n) return;
    // Reading every package takes a while in a large neighborhood: it shows its progress, keeps
    // the window painting, and can be cancelled.
    QProgressDialog progress(QStringLiteral("Checking the neighborhood's files"), QStringLiteral("Cancel"), 0,
                             static_cast<int>(ws.characters.size() + 1), window());
    progress.setObjectName(QStringLiteral("dlgCheckProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    bool cancelled = false;
    std::vector<Finding> findings = CheckPackages(ws, [&](std::size_t done, std::size_t) {
        progress.setValue(static_cast<int>(done));
        QApplication::processEvents();
        cancelled = progress.wasCanceled();
        return !cancelled;
    });
    progress.close();
    if (cancelled) return;
    std::vector<Finding> model = CheckModel(ws);
    findings.insert(findings.end(), model.begin(), model.end());
    const QString title = QString::fromStdString(n->Text());
    const QString folder = QString::fromStdString(Archive().string());
    CheckDialog dialog(window(), std::move(findings), title, folder, context_.dialogs.asker(), context_.dialogs.reporter());
    dialog.setPalette(window()->palette());
    if (context_.dialogs.asker().Run(dialog) && dialog.ChosenSim()) context_.selection.SelectSim(*dialog.ChosenSim());
}

void NeighborhoodPanel::edtNgbdNameKeyUp() {
    if (Filling()) return;
    const std::string name = edtNgbdName_->text().toStdString();
    document_.EditNeighborhood(QStringLiteral("rename"), [&](Neighborhood& n) { SetNeighborhoodName(n, name); },
                               QStringLiteral("ngbdName"));
}

void NeighborhoodPanel::memNgbdDescriptionKeyUp() {
    if (Filling()) return;
    const std::string description = memNgbdDescription_->toPlainText().left(1000).toStdString();
    document_.EditNeighborhood(QStringLiteral("description"),
                               [&](Neighborhood& n) { SetNeighborhoodDescription(n, description); },
                               QStringLiteral("ngbdDescription"));
}

void NeighborhoodPanel::ShowPicture() {
    Neighborhood* n = document_.neighborhood();
    imgNeighborhood_->clear();
    if (!n) return;
    const auto path = NeighborhoodPicturePath(document_.workspace().neighborhoodFolder, n->prefix);
    try {
        imgNeighborhood_->setPixmap(QPixmap::fromImage(ToQImage(DecodePng(ReadFileBytes(path)))));
    } catch (const std::exception&) {
        // No picture (or none that can be read): a word in its place on how to give it one.
        imgNeighborhood_->setText(QStringLiteral("This neighborhood has no picture.\n\nRight-click here and choose "
                                                 "\"Replace Image\" to give it one."));
        imgNeighborhood_->setWordWrap(true);
        imgNeighborhood_->setAlignment(Qt::AlignCenter);
    }
}

void NeighborhoodPanel::ReplaceImage() {
    Neighborhood* n = document_.neighborhood();
    if (!n) return;
    const QString file = QFileDialog::getOpenFileName(
        this, QStringLiteral("Replace Image"), QString(),
        QStringLiteral("All (*.png *.jpg *.jpeg *.bmp);;Portable Network Graphics (*.png);;JPEG Image File (*.jpg);;"
                       "JPEG Image File (*.jpeg);;Bitmap Files (*.bmp)"));
    if (file.isEmpty() || !QFile::exists(file)) return;
    if (!context_.dialogs.asker().AskOkCancel(
            QStringLiteral("If you continue the currently assigned neighborhood image will be replaced.\r\nClick OK to continue.\r\n"))) {
        return;
    }
    try {
        ReplaceNeighborhoodPicture(NeighborhoodPicturePath(document_.workspace().neighborhoodFolder, n->prefix),
                                   file.toStdString());
    } catch (const std::exception& error) {
        context_.dialogs.reporter().Error(error.what());
    }
    ShowPicture();
}

}  // namespace qh::app
