#include "app/dialogs/diff_dialog.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "app/widgets.h"

namespace qh::app {

DiffDialog::DiffDialog(QWidget* parent, const NeighborhoodDiff& diff, const QString& title) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgCompare"));
    setWindowTitle(QStringLiteral("Compare with Current"));
    resize(700, 500);
    auto* layout = new QVBoxLayout(this);
    auto* heading = NamedLabel(this, QStringLiteral("lblCompareTitle"), title);
    heading->setWordWrap(true);
    layout->addWidget(heading);
    tvDiff_ = new QTreeWidget(this);
    tvDiff_->setObjectName(QStringLiteral("tvDiff"));
    tvDiff_->setHeaderHidden(true);
    auto add = [this](const QString& caption, const std::vector<DiffGroup>& groups) {
        if (groups.empty()) return;
        auto* top = new QTreeWidgetItem(tvDiff_, {caption});
        for (const DiffGroup& group : groups) {
            auto* who = new QTreeWidgetItem(top, {QString::fromStdString(group.who)});
            for (const std::string& line : group.changes) new QTreeWidgetItem(who, {QString::fromStdString(line)});
        }
    };
    add(QStringLiteral("Households"), diff.households);
    add(QStringLiteral("Sims"), diff.sims);
    if (diff.unreadChanged > 0) {
        QString files;
        for (const std::string& file : diff.unreadFiles) files += (files.isEmpty() ? QString() : QStringLiteral(", ")) + QString::fromStdString(file);
        new QTreeWidgetItem(tvDiff_, {QStringLiteral("Resources without a reader that changed: %1 (in %2)").arg(diff.unreadChanged).arg(files)});
    }
    if (diff.Empty()) new QTreeWidgetItem(tvDiff_, {QStringLiteral("No changes.")});
    tvDiff_->expandAll();
    layout->addWidget(tvDiff_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

}  // namespace qh::app
