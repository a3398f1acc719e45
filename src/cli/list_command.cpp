#include "cli/list_command.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <unordered_map>

#include "cli/cli_support.h"
#include "cli/neighborhood_commands.h"
#include "workspace/character_list.h"
#include "workspace/csv.h"
#include "workspace/neighborhood_check.h"
#include "workspace/sim_filter.h"

namespace qh::cli {

namespace {

struct ListOptions {
    std::string prefix;
    std::vector<std::string> where;
    std::string columns;
    bool csv = false;
    bool json = false;
    bool households = false;
};

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!part.empty()) parts.push_back(part);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return parts;
}

// A cell: text as it is, numbers and flags as JSON writes them, anything larger as JSON.
std::string Cell(const nlohmann::ordered_json& value) {
    if (value.is_null()) return {};
    if (value.is_string()) return value.get<std::string>();
    return value.dump();
}

// A column by its name in the row's JSON; "a.b" reaches into an object ("work.career").
const nlohmann::ordered_json* Column(const nlohmann::ordered_json& row, const std::string& name) {
    const nlohmann::ordered_json* at = &row;
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t dot = name.find('.', start);
        const std::string key = name.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (!at->is_object() || !at->contains(key)) return nullptr;
        at = &(*at)[key];
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return at;
}

}  // namespace

void AddListCommand(CLI::App& app, const GlobalOptions& globals, Reporter& reporter) {
    auto options = std::make_shared<ListOptions>();
    auto* cmd = app.add_subcommand("list", "List the sims (or households) of a neighborhood as CSV or JSON, filtered");
    cmd->add_option("PREFIX", options->prefix, "The neighborhood's prefix, such as N001")->required();
    std::string filters;
    for (const SimFilterField& field : SimFilterFields()) filters += std::string("\n  ") + field.name + ": " + field.values;
    cmd->add_option("--where", options->where, "FIELD=VALUE, each must hold (sims only):" + filters);
    cmd->add_option("--columns", options->columns,
                    "The columns, comma-separated: any field of dump by its name (work.career reaches into an object)");
    cmd->add_flag("--csv", options->csv, "CSV with a header row (the default)");
    cmd->add_flag("--json", options->json, "JSON: an array of rows");
    cmd->add_flag("--households", options->households, "One row per household instead of per sim");
    cmd->callback([options, &globals, &reporter] {
        if (options->csv && options->json) throw UsageError("--csv and --json exclude each other");
        std::vector<SimCondition> conditions;
        for (const std::string& text : options->where) {
            std::string why;
            const auto condition = ParseSimCondition(text, why);
            if (!condition) throw UsageError("--where " + text + ": " + why);
            conditions.push_back(*condition);
        }
        if (options->households && !conditions.empty()) throw UsageError("--where filters sims, not households");
        GameSession session;
        LoadByPrefix(globals, options->prefix, reporter, session);
        const Workspace& ws = session.workspace;
        std::vector<nlohmann::ordered_json> rows;
        std::vector<std::string> columns = Split(options->columns);
        if (options->households) {
            if (columns.empty()) columns = {"instanceId", "label", "lotInstance", "funds", "members"};
            for (const Household& household : ws.households) rows.push_back(HouseholdJson(household));
        } else {
            if (columns.empty()) columns = {"packageFile", "firstName", "lastName", "lifeStage", "familyNumber"};
            // The findings filter needs the check; the other filters only the facts.
            std::vector<std::size_t> withFindings;
            const bool askFindings = std::any_of(conditions.begin(), conditions.end(), [](const SimCondition& c) { return c.field == "findings"; });
            if (askFindings) {
                for (const Finding& f : CheckModel(ws)) {
                    if (f.sim) withFindings.push_back(*f.sim);
                }
            }
            const std::vector<SimFacts> facts = GatherSimFacts(ws, session.env, withFindings);
            std::unordered_map<std::uint32_t, std::vector<NeighborhoodItem>> itemsByOwner;
            for (const NeighborhoodItem& item : ws.simItemList) itemsByOwner[item.owner].push_back(item);
            const SortOrder order = session.settings->Sort();
            for (std::size_t i : SimListOrder(ws, order)) {
                const bool keep = std::all_of(conditions.begin(), conditions.end(),
                                              [&](const SimCondition& c) { return Matches(facts[i], c); });
                if (!keep) continue;
                const Character& sim = ws.characters[i];
                const auto own = itemsByOwner.find(sim.instanceId);
                rows.push_back(CharacterJson(sim, order,
                                             own == itemsByOwner.end() || sim.instanceId == 0
                                                 ? std::span<const NeighborhoodItem>()
                                                 : std::span<const NeighborhoodItem>(own->second),
                                             session.env, FindDna(ws, sim.instanceId)));
            }
        }
        // Every column must name something: a mistyped one is said, not an empty column.
        if (!rows.empty()) {
            for (const std::string& column : columns) {
                if (!Column(rows.front(), column)) throw UsageError("--columns: there is no field \"" + column + "\"");
            }
        }
        if (options->json) {
            nlohmann::ordered_json out = nlohmann::ordered_json::array();
            for (const auto& row : rows) {
                nlohmann::ordered_json picked;
                for (const std::string& column : columns) {
                    const auto* value = Column(row, column);
                    picked[column] = value ? *value : nlohmann::ordered_json();
                }
                out.push_back(picked);
            }
            std::cout << out.dump(2) << '\n';
        } else {
            std::cout << CsvLine(columns);
            for (const auto& row : rows) {
                std::vector<std::string> cells;
                for (const std::string& column : columns) {
                    const auto* value = Column(row, column);
                    cells.push_back(value ? Cell(*value) : std::string());
                }
                std::cout << CsvLine(cells);
            }
        }
        reporter.Info(std::to_string(rows.size()) + " of " +
                      std::to_string(options->households ? ws.households.size() : ws.characters.size()) +
                      (options->households ? " households" : " sims"));
    });
}

}  // namespace qh::cli
