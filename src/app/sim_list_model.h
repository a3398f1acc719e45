// The character selector's rows: the sims of the workspace by label, in the stored format.
//
// The workspace keeps its sims in load order; this model is the view's order over their indices.
// A rename moves one row to its new place (the selector keeps its selection through the move)
// instead of sorting the whole list again.
#pragma once

#include <QAbstractListModel>
#include <vector>

#include "workspace/character_list.h"
#include "workspace/model.h"

namespace qh::app {

class SimListModel final : public QAbstractListModel {
public:
    explicit SimListModel(const Workspace& workspace, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    SortOrder order() const { return order_; }
    // Every row again, in the format.
    void Reset(SortOrder order);
    // No rows, while the workspace is being replaced.
    void Clear();
    // The sim's label changed: its row moves to its place.
    void Relabel(std::size_t sim);

    // The sim of a row, and the row of a sim (-1 when none).
    std::optional<std::size_t> SimAt(int row) const;
    int RowOf(std::size_t sim) const;

private:
    const Workspace& workspace_;
    SortOrder order_ = SortOrder::First;
    std::vector<std::size_t> rows_;
};

}  // namespace qh::app
