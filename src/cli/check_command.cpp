#include "cli/check_command.h"

#include <iostream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/cli_support.h"
#include "cli/neighborhood_commands.h"
#include "workspace/neighborhood_check.h"

namespace qh::cli {

namespace {

struct CheckOptions {
    std::string prefix;
    bool json = false;
};

nlohmann::ordered_json FindingJson(const Finding& f, const Workspace& ws) {
    nlohmann::ordered_json out{{"severity", SeverityName(f.severity)}, {"check", f.check}, {"subject", f.subject},
                               {"meaning", f.meaning},                {"fix", f.fix}};
    if (f.sim && *f.sim < ws.characters.size()) out["sim"] = ws.characters[*f.sim].packageFile;
    return out;
}

}  // namespace

void AddCheckCommand(CLI::App& app, const GlobalOptions& globals, Reporter& reporter) {
    auto options = std::make_shared<CheckOptions>();
    auto* cmd = app.add_subcommand("check", "Check a neighborhood for damage and contradictions; writes nothing");
    cmd->add_option("PREFIX", options->prefix, "The neighborhood's prefix, such as N001")->required();
    cmd->add_flag("--json", options->json, "Print the findings as JSON");
    cmd->callback([options, &globals, &reporter] {
        GameSession session;
        try {
            LoadByPrefix(globals, options->prefix, reporter, session);
        } catch (const std::exception& error) {
            std::cerr << "quillhaven-cli: " << error.what() << '\n';
            throw ExitStatus(2);
        }
        const Workspace& ws = session.workspace;
        if (ws.packagePath.empty() || (ws.characters.empty() && ws.descriptionList.empty() && ws.households.empty())) {
            std::cerr << "quillhaven-cli: the neighborhood " << options->prefix << " could not be read\n";
            throw ExitStatus(2);
        }
        const std::vector<Finding> findings = CheckNeighborhood(ws);
        std::size_t serious = 0;
        for (const Finding& f : findings) serious += f.severity != FindingSeverity::Notice;
        if (options->json) {
            nlohmann::ordered_json counts{{"damaged", 0}, {"inconsistent", 0}, {"notice", 0}};
            nlohmann::ordered_json groups = nlohmann::ordered_json::object();
            for (const Finding& f : findings) {
                counts[SeverityName(f.severity)] = counts[SeverityName(f.severity)].get<int>() + 1;
                groups[f.check].push_back(FindingJson(f, ws));
            }
            std::cout << nlohmann::ordered_json{{"neighborhood", options->prefix}, {"counts", counts}, {"findings", groups}}.dump(2)
                      << '\n';
        } else {
            std::cout << FindingsReport(findings, "Check of " + options->prefix);
        }
        if (serious > 0) throw ExitStatus(1);
    });
}

}  // namespace qh::cli
