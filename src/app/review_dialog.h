// The list of unsaved changes: what a save would write, grouped by sim and the neighborhood.
#pragma once

#include <QDialog>
#include <QTreeWidget>
#include <vector>

#include "app/document.h"

namespace qh::app {

class ReviewDialog final : public QDialog {
public:
    ReviewDialog(QWidget* parent, const std::vector<ChangeGroup>& groups);
    QTreeWidget* tree() const { return tree_; }

private:
    QTreeWidget* tree_;
};

}  // namespace qh::app
