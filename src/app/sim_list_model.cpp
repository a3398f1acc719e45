#include "app/sim_list_model.h"

#include <algorithm>

namespace qh::app {

SimListModel::SimListModel(const Workspace& workspace, QObject* parent)
    : QAbstractListModel(parent), workspace_(workspace) {}

int SimListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant SimListModel::data(const QModelIndex& index, int role) const {
    const auto sim = SimAt(index.row());
    if (!sim || *sim >= workspace_.characters.size() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return QString::fromStdString(CharacterListText(workspace_.characters[*sim], order_));
}

void SimListModel::Clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void SimListModel::Reset(SortOrder order) {
    beginResetModel();
    order_ = order;
    rows_ = SimListOrder(workspace_, order);
    endResetModel();
}

void SimListModel::Relabel(std::size_t sim) {
    const int row = RowOf(sim);
    if (row < 0) return;
    // Where the row belongs among the others.
    std::vector<std::size_t> others = rows_;
    others.erase(others.begin() + row);
    const auto place = std::lower_bound(others.begin(), others.end(), sim, [&](std::size_t a, std::size_t b) {
        return SimListLess(workspace_, order_, a, b);
    });
    const int target = static_cast<int>(place - others.begin());
    if (target != row) {
        // Qt counts the destination before the move: past the row itself, one more.
        beginMoveRows({}, row, row, {}, target > row ? target + 1 : target);
        rows_ = std::move(others);
        rows_.insert(rows_.begin() + target, sim);
        endMoveRows();
    }
    const QModelIndex changed = index(target);
    emit dataChanged(changed, changed);
}

std::optional<std::size_t> SimListModel::SimAt(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return std::nullopt;
    return rows_[static_cast<std::size_t>(row)];
}

int SimListModel::RowOf(std::size_t sim) const {
    const auto it = std::find(rows_.begin(), rows_.end(), sim);
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

}  // namespace qh::app
