#include "app/review_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qh::app {

ReviewDialog::ReviewDialog(QWidget* parent, const std::vector<ChangeGroup>& groups) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgReviewChanges"));
    setWindowTitle(QStringLiteral("Quillhaven"));
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QLabel(groups.empty() ? QStringLiteral("There are no unsaved changes.")
                                              : QStringLiteral("\"Save Changes\" will write these changes:"),
                               this);
    caption->setObjectName(QStringLiteral("lblReviewChanges"));
    layout->addWidget(caption);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("tvChanges"));
    tree_->setHeaderHidden(true);
    for (const ChangeGroup& group : groups) {
        auto* node = new QTreeWidgetItem(tree_, {group.target});
        for (const QString& change : group.changes) new QTreeWidgetItem(node, {change});
        node->setExpanded(true);
    }
    layout->addWidget(tree_);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("btnCloseReview"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(420, 360);
}

}  // namespace qh::app
