// The neighborhood panel: name, description, version, picture and the tree of stored backups.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "app/panels/panel.h"

namespace qh::app {

class NeighborhoodPanel : public Panel {
public:
    explicit NeighborhoodPanel(MainWindow& window);
    void Open() override;
    void RebuildBackupTree();
    QTreeWidget* backupTree() const { return tvBackups_; }

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
    bool filling_ = false;
};

}  // namespace qh::app
