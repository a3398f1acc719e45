#include "app/panels/neighborhood_panel.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QVBoxLayout>

#include "app/images.h"
#include "package/text_list.h"
#include "platform/file_io.h"
#include "workspace/backups.h"
#include "workspace/neighborhood_picture.h"

namespace qh::app {

namespace {
QString Decode(const std::string& utf8) { return QString::fromStdString(ToValidUtf8(utf8)).trimmed(); }
}  // namespace

NeighborhoodPanel::NeighborhoodPanel(Document& document, PanelHost& host, const PanelRow& row)
    : Panel(document, host, row) {
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* form = new QFormLayout;
    edtNgbdName_ = new QLineEdit(this);
    edtNgbdName_->setObjectName(QStringLiteral("edtNgbdName"));
    edtNgbdName_->setMaxLength(30);
    edtNgbdName_->setProperty("helpTopic", 3011);
    memNgbdDescription_ = new QPlainTextEdit(this);
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
    layout->addWidget(tvBackups_, 2);

    connect(edtNgbdName_, &QLineEdit::textEdited, this, [this] { edtNgbdNameKeyUp(); });
    connect(memNgbdDescription_, &QPlainTextEdit::textChanged, this, [this] { memNgbdDescriptionKeyUp(); });
    connect(imgNeighborhood_, &QLabel::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("Replace Image"), this, [this] { ReplaceImage(); });
        menu.addAction(QStringLiteral("Help"), this, [this] { host_.ShowHelp(3012); });
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
    edtNgbdName_->setText(Decode(n->ngbdName));
    memNgbdDescription_->setPlainText(Decode(n->ngbdDescription));
    lblVersion_->setText(QStringLiteral("Version : ") + QString::fromStdString(n->versionText));
    ShowPicture();
    RebuildBackupTree();
    const QString own = QString::fromStdString(n->prefix) + QStringLiteral(" - Neighborhood Backups");
    QTreeWidgetItem* root = tvBackups_->topLevelItem(0);
    for (int i = 0; root && i < root->childCount(); ++i) {
        if (root->child(i)->text(0).compare(own, Qt::CaseInsensitive) == 0) {
            tvBackups_->setCurrentItem(root->child(i));
            root->setExpanded(true);
            root->child(i)->setExpanded(true);
        }
    }
    // Said once per neighborhood and run, not at every return to the panel.
    if (root && root->childCount() == 0 && warnedNoBackup_.insert(n->prefix).second) {
        host_.reporter().Info(NoBackupMessage(n->ngbdName));
    }
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

void NeighborhoodPanel::TreeMenu(const QPoint& at) {
    QTreeWidgetItem* item = tvBackups_->itemAt(at);
    if (!item) return;
    tvBackups_->setCurrentItem(item);
    QMenu menu(this);
    const bool backup = item->parent() && item->parent()->parent();
    if (backup) {
        // Restoring, deleting and locating backups come with the backup commands.
        menu.addAction(QStringLiteral("Restore"))->setEnabled(false);
        menu.addAction(QStringLiteral("Delete"))->setEnabled(false);
        menu.addAction(QStringLiteral("Show Path"))->setEnabled(false);
    } else {
        menu.addAction(item->isExpanded() ? QStringLiteral("Collapse") : QStringLiteral("Expand"), this,
                       [item] { item->setExpanded(!item->isExpanded()); });
        menu.addAction(QStringLiteral("Show Path"))->setEnabled(false);
        menu.addAction(QStringLiteral("Help"), this, [this] { host_.ShowHelp(3014); });
    }
    menu.exec(tvBackups_->viewport()->mapToGlobal(at));
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
    if (!host_.asker().AskOkCancel(
            QStringLiteral("If you continue the currently assigned neighborhood image will be replaced.\r\nClick OK to continue.\r\n"))) {
        return;
    }
    try {
        ReplaceNeighborhoodPicture(NeighborhoodPicturePath(document_.workspace().neighborhoodFolder, n->prefix),
                                   file.toStdString());
    } catch (const std::exception& error) {
        host_.reporter().Error(error.what());
    }
    ShowPicture();
}

}  // namespace qh::app
