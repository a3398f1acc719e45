// The neighborhood panel: name, description, version, picture and the tree of stored backups.
#pragma once

#include <set>
#include <string>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>

#include "app/panels/panel.h"
#include "workspace/backups.h"

namespace qh::app {

class NeighborhoodPanel : public Panel {
public:
    NeighborhoodPanel(Document& document, PanelContext& context, const PanelRow& row);
    void RebuildBackupTree();
    QTreeWidget* backupTree() const { return tvBackups_; }
    // The menu of a node of the backups tree (Restore, Delete, Show Path; or Expand, Show Path,
    // Help), shown by a right click; it deletes itself once closed.
    QMenu* TreeMenuFor(QTreeWidgetItem* item);

protected:
    bool CanOpen() const override;
    void Fill() override;

private:
    void edtNgbdNameKeyUp();
    void memNgbdDescriptionKeyUp();
    void ShowPicture();
    void ReplaceImage();
    void TreeMenu(const QPoint& at);
    void btnBackupClick();       // "Backup Neighborhood"
    void RestoreClick();
    void DeleteClick();
    void ShowPathClick();
    void btnChangeBackupLocClick();
    void btnCheckNgbdClick();    // "Check Neighborhood"
    void CompareClick();         // "Compare with Current"
    void SelectOwnGroup(bool warn);
    std::filesystem::path Archive() const;

    QLineEdit* edtNgbdName_;
    QPlainTextEdit* memNgbdDescription_;
    QLabel* lblVersion_;
    QLabel* imgNeighborhood_;
    QTreeWidget* tvBackups_;
    QPushButton* btnBackup_;
    QPushButton* btnChangeBackupLoc_;
    QPushButton* btnCheckNgbd_;
    QCheckBox* ckOfferBackup_;
    std::set<std::string> warnedNoBackup_;  // neighborhoods told of their missing backup this run
};

}  // namespace qh::app
