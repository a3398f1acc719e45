#include "app/sim_filter_model.h"

#include <algorithm>

#include "workspace/neighborhood_check.h"

namespace qh::app {

SimFilterModel::SimFilterModel(SimListModel& sims, const Workspace& workspace, const GameEnvironment& env, QObject* parent)
    : QSortFilterProxyModel(parent), sims_(sims), workspace_(workspace), env_(env) {
    setSourceModel(&sims_);
}

void SimFilterModel::SetQuery(const QString& text) {
    query_ = ParseSimQuery(text.toStdString());
    // "findings:" asks the neighborhood check, run on the model as it is now.
    const bool askFindings = std::any_of(query_.conditions.begin(), query_.conditions.end(),
                                         [](const SimCondition& c) { return c.field == "findings"; });
    if (askFindings) {
        withFindings_.clear();
        for (const Finding& f : CheckModel(workspace_)) {
            if (f.sim) withFindings_.push_back(*f.sim);
        }
    }
    stale_ = true;
    invalidateFilter();
}

void SimFilterModel::FactsChanged() { stale_ = true; }

void SimFilterModel::Gather() const {
    if (!stale_ && facts_.size() == workspace_.characters.size()) return;
    facts_ = GatherSimFacts(workspace_, env_, withFindings_);
    stale_ = false;
}

bool SimFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    if (query_.Empty()) return true;
    const auto sim = sims_.SimAt(sourceRow);
    if (!sim) return false;
    Gather();
    return *sim < facts_.size() && Matches(facts_[*sim], query_);
}

std::optional<std::size_t> SimFilterModel::SimAt(int row) const {
    if (row < 0 || row >= rowCount()) return std::nullopt;
    return sims_.SimAt(mapToSource(index(row, 0)).row());
}

int SimFilterModel::RowOf(std::size_t sim) const {
    const int source = sims_.RowOf(sim);
    if (source < 0) return -1;
    return mapFromSource(sims_.index(source, 0)).row();
}

}  // namespace qh::app
