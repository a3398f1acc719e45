// The neighborhood panel: name, description, version, picture and the tree of stored backups.
#pragma once

#include <set>
#include <string>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "app/panels/panel.h"

namespace qh::app {

class NeighborhoodPanel : public Panel {
public:
    NeighborhoodPanel(Document& document, PanelHost& host, const PanelRow& row);
    void RebuildBackupTree();
    QTreeWidget* backupTree() const { return tvBackups_; }

protected:
    bool CanOpen() const override;
    void Fill() override;

private:
    void edtNgbdNameKeyUp();
    void memNgbdDescriptionKeyUp();
    void ShowPicture();
    void ReplaceImage();
    void TreeMenu(const QPoint& at);

    QLineEdit* edtNgbdName_;
    QPlainTextEdit* memNgbdDescription_;
    QLabel* lblVersion_;
    QLabel* imgNeighborhood_;
    QTreeWidget* tvBackups_;
    std::set<std::string> warnedNoBackup_;  // neighborhoods told of their missing backup this run
};

}  // namespace qh::app
