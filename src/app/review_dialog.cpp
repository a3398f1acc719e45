#include "app/review_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

namespace qh::app {

namespace {

// Rows as high as their text wrapped within the view's width: the tree measures a row without
// the width it will get, and would show one line of a longer change.
class WrappingDelegate final : public QStyledItemDelegate {
public:
    explicit WrappingDelegate(QTreeView* view) : QStyledItemDelegate(view), view_(view) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        int depth = 1;
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) ++depth;
        const int width = std::max(80, view_->viewport()->width() - depth * view_->indentation() - 8);
        const QRect text = item.fontMetrics.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, item.text);
        return {width, std::max(QStyledItemDelegate::sizeHint(option, index).height(), text.height() + 4)};
    }

private:
    QTreeView* view_;
};

// Lays the rows out again when the view's width changes.
class ReviewTree final : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QTreeWidget::resizeEvent(event);
        doItemsLayout();
    }
};

}  // namespace

ReviewDialog::ReviewDialog(QWidget* parent, const std::vector<ChangeGroup>& groups) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgReviewChanges"));
    setWindowTitle(QStringLiteral("Quillhaven"));
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QLabel(groups.empty() ? QStringLiteral("There are no unsaved changes.")
                                              : QStringLiteral("\"Save Changes\" will write these changes:"),
                               this);
    caption->setObjectName(QStringLiteral("lblReviewChanges"));
    layout->addWidget(caption);
    tree_ = new ReviewTree(this);
    tree_->setObjectName(QStringLiteral("tvChanges"));
    tree_->setHeaderHidden(true);
    // A change is told in a sentence or two (what a family change did, what a deletion takes with
    // it): wrapped within the dialog's width, never cut off.
    tree_->setWordWrap(true);
    tree_->setTextElideMode(Qt::ElideNone);
    tree_->setUniformRowHeights(false);
    tree_->setItemDelegate(new WrappingDelegate(tree_));
    tree_->header()->setSectionResizeMode(QHeaderView::Stretch);
    tree_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const ChangeGroup& group : groups) {
        auto* node = new QTreeWidgetItem(tree_, {group.target});
        for (const QString& change : group.changes) {
            auto* item = new QTreeWidgetItem(node, {change});
            item->setToolTip(0, change);
        }
        node->setExpanded(true);
    }
    layout->addWidget(tree_);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("btnCloseReview"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(520, 360);
}

}  // namespace qh::app
