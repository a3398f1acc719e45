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
    const auto less = [&](std::size_t a, std::size_t b) { return SimListLess(workspace_, order_, a, b); };
    const std::size_t at = static_cast<std::size_t>(row);
    // Most edits leave the label where it was: it still sorts between its neighbours.
    const bool inPlace = (at == 0 || less(rows_[at - 1], sim)) && (at + 1 == rows_.size() || less(sim, rows_[at + 1]));
    int target = row;
    if (!inPlace) {
        // Its place among the others: the rows before it and after it are each still sorted.
        const auto before = std::lower_bound(rows_.begin(), rows_.begin() + row, sim, less);
        const auto after = std::lower_bound(rows_.begin() + row + 1, rows_.end(), sim, less);
        target = before != rows_.begin() + row ? static_cast<int>(before - rows_.begin())
                                               : static_cast<int>(after - rows_.begin()) - 1;
        // Qt counts the destination before the move: past the row itself, one more.
        beginMoveRows({}, row, row, {}, target > row ? target + 1 : target);
        rows_.erase(rows_.begin() + row);
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
