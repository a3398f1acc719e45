// The character selector's rows as the search box filters them: a proxy over the sim list that
// keeps its order and shows the sims the query matches. The facts it matches against are the
// core's (workspace/sim_filter.h), gathered once per load and again after a change while a query
// is in use.
#pragma once

#include <QSortFilterProxyModel>
#include <vector>

#include "app/sim_list_model.h"
#include "platform/game_environment.h"
#include "workspace/sim_filter.h"

namespace qh::app {

class SimFilterModel final : public QSortFilterProxyModel {
public:
    SimFilterModel(SimListModel& sims, const Workspace& workspace, const GameEnvironment& env, QObject* parent = nullptr);

    // The search box's text; an empty one shows every sim.
    void SetQuery(const QString& text);
    bool Filtering() const { return !query_.Empty(); }
    // The sims changed (a load, an edit): the facts are gathered again when the query is next
    // applied. An edit does not filter the list again by itself, so a sim being edited never
    // leaves the list under the player's hands.
    void FactsChanged();

    std::optional<std::size_t> SimAt(int row) const;
    int RowOf(std::size_t sim) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    void Gather() const;
    SimListModel& sims_;
    const Workspace& workspace_;
    const GameEnvironment& env_;
    SimQuery query_;
    std::vector<std::size_t> withFindings_;
    mutable std::vector<SimFacts> facts_;
    mutable bool stale_ = true;
};

}  // namespace qh::app
