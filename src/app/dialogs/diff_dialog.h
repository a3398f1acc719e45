// What changed between a backup and the neighborhood as it is now, as a tree: households and sims,
// each with its changes in words.
#pragma once

#include <QDialog>
#include <QTreeWidget>

#include "workspace/neighborhood_diff.h"

namespace qh::app {

class DiffDialog : public QDialog {
public:
    DiffDialog(QWidget* parent, const NeighborhoodDiff& diff, const QString& title);
    QTreeWidget* tree() const { return tvDiff_; }

private:
    QTreeWidget* tvDiff_;
};

}  // namespace qh::app
